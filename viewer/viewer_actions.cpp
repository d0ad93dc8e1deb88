// The viewer's actions: export, print, copy, open, drop, and reload when a file changes.
#include <algorithm>
#include <string>

#include "include/tamvel_linux.h"
#include "platform/posix/cairo_device.h"
#include "platform/posix/desktop_handoff.h"
#include "viewer/viewer.h"

namespace tamvel::viewer {
namespace {

constexpr int kPrintDpi = 600;
constexpr guint kReloadDelayMs = 200;  // a writer's burst of changes becomes one reload

Page *CurrentPage(Viewer &viewer) {
  if (viewer.current < 0 || viewer.current >= static_cast<int>(viewer.pages.size())) {
    return nullptr;
  }
  return viewer.pages[viewer.current].get();
}

std::string PathOf(GFile *file) {
  char *path = g_file_get_path(file);
  std::string result = path ? path : "";
  g_free(path);
  return result;
}

void ExportChosen(GtkNativeDialog *dialog, int response, Viewer *viewer) {
  GFile *file = gtk_file_chooser_get_file(GTK_FILE_CHOOSER(dialog));
  if (response == GTK_RESPONSE_ACCEPT && file != nullptr) {
    std::string path = PathOf(file);
    if (!g_str_has_suffix(path.c_str(), ".pdf") && !g_str_has_suffix(path.c_str(), ".svg") &&
        !g_str_has_suffix(path.c_str(), ".png")) {
      path += ".png";
    }
    Page *page = CurrentPage(*viewer);
    SetStatus(*viewer,
              page && page->Export(path) ? "exported " + path : "could not export " + path);
  }
  if (file) g_object_unref(file);
  g_object_unref(dialog);
}

void Opened(GtkNativeDialog *dialog, int response, Viewer *viewer) {
  if (response == GTK_RESPONSE_ACCEPT) {
    GListModel *files = gtk_file_chooser_get_files(GTK_FILE_CHOOSER(dialog));
    std::vector<std::string> paths;
    for (guint i = 0; i < g_list_model_get_n_items(files); ++i) {
      auto *file = static_cast<GFile *>(g_list_model_get_item(files, i));
      paths.push_back(PathOf(file));
      g_object_unref(file);
    }
    g_object_unref(files);
    AddFiles(*viewer, paths);
  }
  g_object_unref(dialog);
}

void AddFilter(GtkFileChooser *chooser, const char *name, const char *pattern) {
  GtkFileFilter *filter = gtk_file_filter_new();
  gtk_file_filter_set_name(filter, name);
  gtk_file_filter_add_pattern(filter, pattern);
  gtk_file_chooser_add_filter(chooser, filter);
  g_object_unref(filter);
}

// Every page is printed at true size on paper of its own frame, whatever the printer.
void PrintPageSetup(GtkPrintOperation *, GtkPrintContext *, int index, GtkPageSetup *setup,
                    Viewer *viewer) {
  const Page &page = *viewer->pages[index];
  GtkPaperSize *paper = gtk_paper_size_new_custom("tamvel-page", page.Name().c_str(),
                                                  page.width_mm(), page.height_mm(), GTK_UNIT_MM);
  gtk_page_setup_set_paper_size(setup, paper);
  gtk_page_setup_set_orientation(setup, GTK_PAGE_ORIENTATION_PORTRAIT);
  gtk_paper_size_free(paper);
}

void PrintPage(GtkPrintOperation *, GtkPrintContext *context, int index, Viewer *viewer) {
  const Page &page = *viewer->pages[index];
  HDC printer = posix::CairoDevice::CreateContextDc(gtk_print_context_get_cairo_context(context),
                                                    page.width_mm(), page.height_mm(), kPrintDpi);
  if (printer == nullptr) return;
  page.PlayOnPrinter(printer, kPrintDpi);
  TamvelDeleteDC(printer);
}

void Reload(Viewer &viewer) {
  viewer.reload_source = 0;
  int row = 0;
  for (const auto &page : viewer.pages) {
    GtkListBoxRow *thumbnail = gtk_list_box_get_row_at_index(GTK_LIST_BOX(viewer.thumbnails), row);
    if (page->Load() && thumbnail) {
      GtkWidget *picture = gtk_widget_get_first_child(gtk_list_box_row_get_child(thumbnail));
      SetThumbnail(picture, *page);
    }
    ++row;
  }
  Redraw(viewer);
}

}  // namespace

void ExportCurrent(Viewer &viewer) {
  Page *page = CurrentPage(viewer);
  if (page == nullptr) return;
  GtkFileChooserNative *dialog =
      gtk_file_chooser_native_new("Export the page", GTK_WINDOW(viewer.window),
                                  GTK_FILE_CHOOSER_ACTION_SAVE, "_Export", "_Cancel");
  GtkFileChooser *chooser = GTK_FILE_CHOOSER(dialog);
  std::string name = page->Name();
  name = name.substr(0, name.rfind('.')) + ".png";
  gtk_file_chooser_set_current_name(chooser, name.c_str());
  AddFilter(chooser, "PNG image (96 dpi)", "*.png");
  AddFilter(chooser, "PDF document (true size)", "*.pdf");
  AddFilter(chooser, "SVG drawing", "*.svg");
  g_signal_connect(dialog, "response", G_CALLBACK(ExportChosen), &viewer);
  gtk_native_dialog_show(GTK_NATIVE_DIALOG(dialog));
}

void PrintPages(Viewer &viewer) {
  if (viewer.pages.empty()) return;
  GtkPrintOperation *operation = gtk_print_operation_new();
  gtk_print_operation_set_n_pages(operation, static_cast<int>(viewer.pages.size()));
  gtk_print_operation_set_current_page(operation, std::max(0, viewer.current));
  gtk_print_operation_set_use_full_page(operation, TRUE);
  gtk_print_operation_set_unit(operation, GTK_UNIT_POINTS);
  gtk_print_operation_set_job_name(operation, viewer.pages[0]->Name().c_str());
  GtkPageSetup *setup = gtk_page_setup_new();
  PrintPageSetup(operation, nullptr, std::max(0, viewer.current), setup, &viewer);
  gtk_print_operation_set_default_page_setup(operation, setup);
  g_object_unref(setup);
  g_signal_connect(operation, "request-page-setup", G_CALLBACK(PrintPageSetup), &viewer);
  g_signal_connect(operation, "draw-page", G_CALLBACK(PrintPage), &viewer);
  GError *error = nullptr;
  const GtkPrintOperationResult result = gtk_print_operation_run(
      operation, GTK_PRINT_OPERATION_ACTION_PRINT_DIALOG, GTK_WINDOW(viewer.window), &error);
  if (result == GTK_PRINT_OPERATION_RESULT_ERROR) {
    SetStatus(viewer, std::string("printing failed: ") + (error ? error->message : "?"));
  } else if (result == GTK_PRINT_OPERATION_RESULT_APPLY) {
    SetStatus(viewer, "sent to the printer");
  }
  if (error) g_error_free(error);
  g_object_unref(operation);
}

void CopyCurrent(Viewer &viewer) {
  Page *page = CurrentPage(viewer);
  if (page == nullptr) return;
  // The clipboard owner outlives the viewer, as the library's does.
  SetStatus(viewer, posix::desktop::OfferToClipboard(page->Bytes()) ? "copied" : "could not copy");
}

void OpenFiles(Viewer &viewer) {
  GtkFileChooserNative *dialog =
      gtk_file_chooser_native_new("Open metafiles", GTK_WINDOW(viewer.window),
                                  GTK_FILE_CHOOSER_ACTION_OPEN, "_Open", "_Cancel");
  gtk_file_chooser_set_select_multiple(GTK_FILE_CHOOSER(dialog), TRUE);
  AddFilter(GTK_FILE_CHOOSER(dialog), "Enhanced metafiles", "*.[eE][mM][fF]");
  g_signal_connect(dialog, "response", G_CALLBACK(Opened), &viewer);
  gtk_native_dialog_show(GTK_NATIVE_DIALOG(dialog));
}

void WatchFile(Viewer &viewer, const Page &page) {
  GFile *file = g_file_new_for_path(page.path().c_str());
  GFileMonitor *monitor = g_file_monitor_file(file, G_FILE_MONITOR_WATCH_MOVES, nullptr, nullptr);
  g_object_unref(file);
  if (monitor == nullptr) return;
  g_signal_connect(monitor, "changed",
                   G_CALLBACK(+[](GFileMonitor *, GFile *, GFile *, GFileMonitorEvent, Viewer *v) {
                     if (v->reload_source) g_source_remove(v->reload_source);
                     v->reload_source = g_timeout_add(
                         kReloadDelayMs,
                         +[](gpointer data) {
                           Reload(*static_cast<Viewer *>(data));
                           return G_SOURCE_REMOVE;
                         },
                         v);
                   }),
                   &viewer);
  viewer.monitors.push_back(monitor);
}

void AcceptDrops(Viewer &viewer) {
  GtkDropTarget *target = gtk_drop_target_new(GDK_TYPE_FILE_LIST, GDK_ACTION_COPY);
  g_signal_connect(
      target, "drop",
      G_CALLBACK(+[](GtkDropTarget *, const GValue *value, double, double, Viewer *v) -> gboolean {
        std::vector<std::string> paths;
        for (GSList *item = static_cast<GSList *>(g_value_get_boxed(value)); item;
             item = item->next) {
          paths.push_back(PathOf(G_FILE(item->data)));
        }
        AddFiles(*v, paths);
        return !paths.empty();
      }),
      &viewer);
  gtk_widget_add_controller(viewer.window, GTK_EVENT_CONTROLLER(target));
}

}  // namespace tamvel::viewer
