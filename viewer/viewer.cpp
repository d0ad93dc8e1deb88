// `tamvel view FILE.emf...`: the pages as thumbnails and one page large, with zoom (fit page,
// fit width, 1:1, Ctrl+wheel, + and -), pan (drag), next and previous page, reload when a
// file changes, export, print, copy and drop.
#include "viewer/viewer.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "viewer/modes.h"

namespace tamvel::viewer {
namespace {

constexpr int kThumbnailWidth = 120;
constexpr double kMinScale = 0.05, kMaxScale = 8.0;
constexpr double kMaxPixels = 40e6;  // the largest page drawn at once
constexpr int kFitMargin = 16;       // free view pixels around a fitted page

const char *kStyle =
    ".tamvel-page-view { background: #5f676e; }\n"
    ".tamvel-thumbnail-name { font-size: smaller; }\n";

GtkWidget *Button(const char *label, const char *tip, GCallback action, Viewer *viewer) {
  GtkWidget *button = gtk_button_new_with_label(label);
  gtk_widget_set_tooltip_text(button, tip);
  gtk_widget_set_focusable(button, FALSE);
  g_signal_connect_swapped(button, "clicked", action, viewer);
  return button;
}

GtkWidget *Toolbar(Viewer &viewer) {
  GtkWidget *bar = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 4);
  gtk_widget_set_margin_start(bar, 4);
  gtk_widget_set_margin_end(bar, 4);
  gtk_widget_set_margin_top(bar, 4);
  gtk_widget_set_margin_bottom(bar, 4);
  struct Item {
    const char *label, *tip;
    void (*action)(Viewer *);
  };
  const Item items[] = {
      {"Open…", "Open metafiles (Ctrl+O)", [](Viewer *v) { OpenFiles(*v); }},
      {"◀", "Previous page (Page Up)", [](Viewer *v) { ShowPage(*v, v->current - 1); }},
      {"▶", "Next page (Page Down)", [](Viewer *v) { ShowPage(*v, v->current + 1); }},
      {"Fit page", "Fit the page (F)", [](Viewer *v) { SetZoom(*v, Zoom::kFitPage, 1); }},
      {"Fit width", "Fit the width (W)", [](Viewer *v) { SetZoom(*v, Zoom::kFitWidth, 1); }},
      {"1:1", "Actual size, 96 dpi (1)", [](Viewer *v) { SetZoom(*v, Zoom::kScale, 1); }},
      {"Export…", "Export the page as PNG, PDF or SVG (Ctrl+S)",
       [](Viewer *v) { ExportCurrent(*v); }},
      {"Print…", "Print the pages (Ctrl+P)", [](Viewer *v) { PrintPages(*v); }},
      {"Copy", "Copy the page (Ctrl+C)", [](Viewer *v) { CopyCurrent(*v); }},
  };
  for (const Item &item : items) {
    gtk_box_append(GTK_BOX(bar), Button(item.label, item.tip, G_CALLBACK(item.action), &viewer));
  }
  viewer.status = gtk_label_new("");
  gtk_widget_set_hexpand(viewer.status, TRUE);
  gtk_label_set_xalign(GTK_LABEL(viewer.status), 1.0);
  gtk_box_append(GTK_BOX(bar), viewer.status);
  return bar;
}

// A fitted page follows the size of the view; checked before each frame's layout, where a
// new picture size is taken in the same frame.
gboolean FollowViewSize(GtkWidget *scroller, GdkFrameClock *, gpointer data) {
  Viewer &viewer = *static_cast<Viewer *>(data);
  if (viewer.zoom != Zoom::kScale && gtk_widget_get_width(scroller) > 0 &&
      (gtk_widget_get_width(scroller) != viewer.fitted_width ||
       gtk_widget_get_height(scroller) != viewer.fitted_height)) {
    Redraw(viewer);
  }
  return G_SOURCE_CONTINUE;
}

GtkWidget *PageView(Viewer &viewer) {
  viewer.picture = gtk_picture_new();
  gtk_picture_set_can_shrink(GTK_PICTURE(viewer.picture), FALSE);
  gtk_widget_set_halign(viewer.picture, GTK_ALIGN_CENTER);
  gtk_widget_set_valign(viewer.picture, GTK_ALIGN_CENTER);
  viewer.scroller = gtk_scrolled_window_new();
  gtk_widget_add_css_class(viewer.scroller, "tamvel-page-view");
  gtk_widget_set_hexpand(viewer.scroller, TRUE);
  gtk_widget_set_vexpand(viewer.scroller, TRUE);
  gtk_scrolled_window_set_child(GTK_SCROLLED_WINDOW(viewer.scroller), viewer.picture);
  gtk_widget_add_tick_callback(viewer.scroller, FollowViewSize, &viewer, nullptr);

  return viewer.scroller;
}

GtkWidget *ThumbnailRow(const Page &page, int index) {
  GtkWidget *box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 2);
  gtk_widget_set_margin_top(box, 6);
  gtk_widget_set_margin_bottom(box, 6);
  GtkWidget *picture = gtk_picture_new();
  SetThumbnail(picture, page);
  gtk_picture_set_can_shrink(GTK_PICTURE(picture), FALSE);
  const std::string label = std::to_string(index + 1) + "  " + page.Name();
  GtkWidget *name = gtk_label_new(label.c_str());
  gtk_label_set_ellipsize(GTK_LABEL(name), PANGO_ELLIPSIZE_MIDDLE);
  gtk_label_set_max_width_chars(GTK_LABEL(name), 18);
  gtk_widget_add_css_class(name, "tamvel-thumbnail-name");
  gtk_box_append(GTK_BOX(box), picture);
  gtk_box_append(GTK_BOX(box), name);
  return box;
}

void RowSelected(GtkListBox *, GtkListBoxRow *row, Viewer *viewer) {
  if (row != nullptr) ShowPage(*viewer, gtk_list_box_row_get_index(row));
}

void BuildWindow(Viewer &viewer) {
  GtkCssProvider *css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(css, kStyle, -1);
  gtk_style_context_add_provider_for_display(gdk_display_get_default(), GTK_STYLE_PROVIDER(css),
                                             GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(css);

  viewer.window = gtk_window_new();
  gtk_window_set_title(GTK_WINDOW(viewer.window), "tamvel view");
  gtk_window_set_default_size(GTK_WINDOW(viewer.window), 1100, 900);
  viewer.thumbnails = gtk_list_box_new();
  g_signal_connect(viewer.thumbnails, "row-selected", G_CALLBACK(RowSelected), &viewer);
  GtkWidget *side = gtk_scrolled_window_new();
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(side), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
  gtk_scrolled_window_set_child(GTK_SCROLLED_WINDOW(side), viewer.thumbnails);
  gtk_widget_set_size_request(side, kThumbnailWidth + 40, -1);

  GtkWidget *panes = gtk_paned_new(GTK_ORIENTATION_HORIZONTAL);
  gtk_paned_set_start_child(GTK_PANED(panes), side);
  gtk_paned_set_end_child(GTK_PANED(panes), PageView(viewer));
  gtk_paned_set_resize_start_child(GTK_PANED(panes), FALSE);
  gtk_paned_set_shrink_start_child(GTK_PANED(panes), FALSE);
  GtkWidget *column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  gtk_box_append(GTK_BOX(column), Toolbar(viewer));
  gtk_box_append(GTK_BOX(column), panes);
  gtk_window_set_child(GTK_WINDOW(viewer.window), column);

  ConnectInput(viewer);
  g_signal_connect_swapped(viewer.window, "close-request", G_CALLBACK(+[](Viewer *v) {
                             v->closed = true;
                             return TRUE;
                           }),
                           &viewer);
  AcceptDrops(viewer);
}

// The scale a fit mode comes to for the current view size.
double FittedScale(Viewer &viewer, const Page &page) {
  viewer.fitted_width = gtk_widget_get_width(viewer.scroller);
  viewer.fitted_height = gtk_widget_get_height(viewer.scroller);
  const double width = page.width_mm() / 25.4 * 96, height = page.height_mm() / 25.4 * 96;
  const double by_width = std::max(1, viewer.fitted_width - kFitMargin) / width;
  if (viewer.zoom == Zoom::kFitWidth || viewer.fitted_height <= 0) return by_width;
  return std::min(by_width, std::max(1, viewer.fitted_height - kFitMargin) / height);
}

}  // namespace

void SetThumbnail(GtkWidget *picture, const Page &page) {
  if (GdkTexture *texture = page.Render(kThumbnailWidth / (page.width_mm() / 25.4))) {
    gtk_picture_set_paintable(GTK_PICTURE(picture), GDK_PAINTABLE(texture));
    g_object_unref(texture);
  }
}

void SetStatus(Viewer &viewer, const std::string &text) {
  gtk_label_set_text(GTK_LABEL(viewer.status), text.c_str());
}

void Redraw(Viewer &viewer) {
  if (viewer.current < 0 || viewer.current >= static_cast<int>(viewer.pages.size())) {
    gtk_picture_set_paintable(GTK_PICTURE(viewer.picture), nullptr);
    SetStatus(viewer, "Drop metafiles here or open them (Ctrl+O)");
    return;
  }
  const Page &page = *viewer.pages[viewer.current];
  double scale = viewer.zoom == Zoom::kScale ? viewer.scale : FittedScale(viewer, page);
  const double pixels_at_1 = (page.width_mm() / 25.4 * 96) * (page.height_mm() / 25.4 * 96);
  scale = std::clamp(scale, kMinScale, std::min(kMaxScale, std::sqrt(kMaxPixels / pixels_at_1)));
  viewer.scale = scale;
  // A fitted page is drawn at a whole width, as `tamvel render --width` draws it.
  double dpi = 96 * scale;
  if (viewer.zoom != Zoom::kScale)
    dpi = std::floor(page.width_mm() / 25.4 * dpi) / (page.width_mm() / 25.4);
  GdkTexture *texture = page.Render(dpi);
  gtk_picture_set_paintable(GTK_PICTURE(viewer.picture),
                            texture ? GDK_PAINTABLE(texture) : nullptr);
  if (texture) g_object_unref(texture);
  char text[160];
  std::snprintf(text, sizeof text, "page %d of %zu   %.0f × %.0f mm   %.0f%%", viewer.current + 1,
                viewer.pages.size(), page.width_mm(), page.height_mm(), scale * 100);
  SetStatus(viewer, text);
  const std::string title = page.Name() + " – tamvel view";
  gtk_window_set_title(GTK_WINDOW(viewer.window), title.c_str());
}

void ShowPage(Viewer &viewer, int index) {
  if (index < 0 || index >= static_cast<int>(viewer.pages.size())) return;
  viewer.current = index;
  GtkListBoxRow *row = gtk_list_box_get_row_at_index(GTK_LIST_BOX(viewer.thumbnails), index);
  if (row != gtk_list_box_get_selected_row(GTK_LIST_BOX(viewer.thumbnails))) {
    gtk_list_box_select_row(GTK_LIST_BOX(viewer.thumbnails), row);  // comes back here
  }
  Redraw(viewer);
  GtkScrolledWindow *scroller = GTK_SCROLLED_WINDOW(viewer.scroller);
  gtk_adjustment_set_value(gtk_scrolled_window_get_hadjustment(scroller), 0);
  gtk_adjustment_set_value(gtk_scrolled_window_get_vadjustment(scroller), 0);
}

void SetZoom(Viewer &viewer, Zoom zoom, double scale) {
  viewer.zoom = zoom;
  viewer.scale = scale;
  Redraw(viewer);
}

void AddFiles(Viewer &viewer, const std::vector<std::string> &files) {
  const int first_new = static_cast<int>(viewer.pages.size());
  for (const std::string &file : files) {
    auto page = std::make_unique<Page>(file);
    if (!page->Load()) {
      std::fprintf(stderr, "tamvel view: %s: not a readable enhanced metafile\n", file.c_str());
      continue;
    }
    GtkWidget *row = ThumbnailRow(*page, static_cast<int>(viewer.pages.size()));
    gtk_list_box_append(GTK_LIST_BOX(viewer.thumbnails), row);
    WatchFile(viewer, *page);
    viewer.pages.push_back(std::move(page));
  }
  if (first_new < static_cast<int>(viewer.pages.size())) ShowPage(viewer, first_new);
}

int RunViewer(const std::vector<std::string> &files, const std::string &library_folder,
              int answer_fd) {
  if (!gtk_init_check()) {
    std::fprintf(stderr, "tamvel view: no display (DISPLAY or WAYLAND_DISPLAY)\n");
    return 1;
  }
  Viewer viewer;
  BuildWindow(viewer);
  gtk_window_present(GTK_WINDOW(viewer.window));
  AddFiles(viewer, files);
  Redraw(viewer);
  // Started with files none of which opens: nothing to show.
  const bool any = !viewer.pages.empty() || files.empty();
  if (any) Answer(answer_fd);
  while (!viewer.closed && any) g_main_context_iteration(nullptr, TRUE);
  for (GFileMonitor *monitor : viewer.monitors) g_object_unref(monitor);
  gtk_window_destroy(GTK_WINDOW(viewer.window));
  if (!library_folder.empty()) {
    for (const std::string &file : files) unlink(file.c_str());
    rmdir(library_folder.c_str());
  }
  return any ? 0 : 1;
}

}  // namespace tamvel::viewer
