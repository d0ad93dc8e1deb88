// The viewer's keys, the wheel and panning with the mouse.
#include <cmath>

#include "viewer/viewer.h"

namespace tamvel::viewer {
namespace {

// Keys: the ones a viewer is expected to have.
gboolean KeyPressed(GtkEventControllerKey *, guint key, guint, GdkModifierType state,
                    Viewer *viewer) {
  Viewer &v = *viewer;
  if (state & GDK_CONTROL_MASK) {
    switch (key) {
      case GDK_KEY_c:
        CopyCurrent(v);
        return TRUE;
      case GDK_KEY_p:
        PrintPages(v);
        return TRUE;
      case GDK_KEY_s:
      case GDK_KEY_e:
        ExportCurrent(v);
        return TRUE;
      case GDK_KEY_o:
        OpenFiles(v);
        return TRUE;
      case GDK_KEY_q:
      case GDK_KEY_w:
        v.closed = true;
        return TRUE;
      default:
        return FALSE;
    }
  }
  switch (key) {
    case GDK_KEY_Page_Down:
    case GDK_KEY_n:
    case GDK_KEY_Right:
    case GDK_KEY_space:
      ShowPage(v, v.current + 1);
      return TRUE;
    case GDK_KEY_Page_Up:
    case GDK_KEY_p:
    case GDK_KEY_Left:
    case GDK_KEY_BackSpace:
      ShowPage(v, v.current - 1);
      return TRUE;
    case GDK_KEY_Home:
      ShowPage(v, 0);
      return TRUE;
    case GDK_KEY_End:
      ShowPage(v, static_cast<int>(v.pages.size()) - 1);
      return TRUE;
    case GDK_KEY_f:
      SetZoom(v, Zoom::kFitPage, 1);
      return TRUE;
    case GDK_KEY_w:
      SetZoom(v, Zoom::kFitWidth, 1);
      return TRUE;
    case GDK_KEY_1:
    case GDK_KEY_KP_1:
      SetZoom(v, Zoom::kScale, 1);
      return TRUE;
    case GDK_KEY_plus:
    case GDK_KEY_equal:
    case GDK_KEY_KP_Add:
      SetZoom(v, Zoom::kScale, v.scale * 1.25);
      return TRUE;
    case GDK_KEY_minus:
    case GDK_KEY_KP_Subtract:
      SetZoom(v, Zoom::kScale, v.scale / 1.25);
      return TRUE;
    case GDK_KEY_F5:
    case GDK_KEY_r:
      Redraw(v);
      return TRUE;
    case GDK_KEY_q:
    case GDK_KEY_Escape:
      v.closed = true;
      return TRUE;
    default:
      return FALSE;
  }
}

// Ctrl+wheel zooms; the wheel alone scrolls.
gboolean Scrolled(GtkEventControllerScroll *controller, double, double dy, Viewer *viewer) {
  GdkModifierType state =
      gtk_event_controller_get_current_event_state(GTK_EVENT_CONTROLLER(controller));
  if (!(state & GDK_CONTROL_MASK) || dy == 0) return FALSE;
  SetZoom(*viewer, Zoom::kScale, viewer->scale * std::pow(1.1, -dy));
  return TRUE;
}

void PanBegin(GtkGestureDrag *, double, double, Viewer *viewer) {
  GtkScrolledWindow *scroller = GTK_SCROLLED_WINDOW(viewer->scroller);
  viewer->drag_x = gtk_adjustment_get_value(gtk_scrolled_window_get_hadjustment(scroller));
  viewer->drag_y = gtk_adjustment_get_value(gtk_scrolled_window_get_vadjustment(scroller));
}

void PanUpdate(GtkGestureDrag *, double dx, double dy, Viewer *viewer) {
  GtkScrolledWindow *scroller = GTK_SCROLLED_WINDOW(viewer->scroller);
  gtk_adjustment_set_value(gtk_scrolled_window_get_hadjustment(scroller), viewer->drag_x - dx);
  gtk_adjustment_set_value(gtk_scrolled_window_get_vadjustment(scroller), viewer->drag_y - dy);
}

}  // namespace

void ConnectInput(Viewer &viewer) {
  GtkEventController *keys = gtk_event_controller_key_new();
  // Before the list and the scroller, which bind the page keys to scrolling.
  gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
  g_signal_connect(keys, "key-pressed", G_CALLBACK(KeyPressed), &viewer);
  gtk_widget_add_controller(viewer.window, keys);

  GtkEventController *wheel = gtk_event_controller_scroll_new(GTK_EVENT_CONTROLLER_SCROLL_VERTICAL);
  gtk_event_controller_set_propagation_phase(wheel, GTK_PHASE_CAPTURE);
  g_signal_connect(wheel, "scroll", G_CALLBACK(Scrolled), &viewer);
  gtk_widget_add_controller(viewer.scroller, wheel);
  GtkGesture *pan = gtk_gesture_drag_new();
  g_signal_connect(pan, "drag-begin", G_CALLBACK(PanBegin), &viewer);
  g_signal_connect(pan, "drag-update", G_CALLBACK(PanUpdate), &viewer);
  gtk_widget_add_controller(viewer.scroller, GTK_EVENT_CONTROLLER(pan));
}

}  // namespace tamvel::viewer
