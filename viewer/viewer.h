// The viewer window: thumbnails of the pages on the left, one page large on the right.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <vector>

#include "viewer/pages.h"

namespace tamvel::viewer {

enum class Zoom { kFitPage, kFitWidth, kScale };

struct Viewer {
  std::vector<std::unique_ptr<Page>> pages;
  std::vector<GFileMonitor *> monitors;  // one per page: reload when the file changes
  int current = -1;
  Zoom zoom = Zoom::kFitPage;
  double scale = 1.0;  // 1 is 1:1 (96 dpi); in the fit modes, what the fit came to
  int fitted_width = 0, fitted_height = 0;  // the view size the fit was made for
  guint reload_source = 0;

  GtkWidget *window = nullptr;
  GtkWidget *thumbnails = nullptr;  // GtkListBox, a row per page
  GtkWidget *scroller = nullptr;
  GtkWidget *picture = nullptr;
  GtkWidget *status = nullptr;
  double drag_x = 0, drag_y = 0;  // scroll position where a pan started
  bool closed = false;
};

// Opens the files (those that are no metafile are reported and left out) and adds them.
void AddFiles(Viewer &viewer, const std::vector<std::string> &files);
void ShowPage(Viewer &viewer, int index);
void SetZoom(Viewer &viewer, Zoom zoom, double scale);
// Draws the current page again at the zoom in force (after a resize, a reload).
void Redraw(Viewer &viewer);
void SetStatus(Viewer &viewer, const std::string &text);
// Shows the page small in a thumbnail's picture.
void SetThumbnail(GtkWidget *picture, const Page &page);

// Keys on the window, the wheel and panning on the page view (viewer_input.cpp).
void ConnectInput(Viewer &viewer);

// The actions behind the toolbar and the keys (viewer_actions.cpp).
void ExportCurrent(Viewer &viewer);
void PrintPages(Viewer &viewer);
void CopyCurrent(Viewer &viewer);
void OpenFiles(Viewer &viewer);
void WatchFile(Viewer &viewer, const Page &page);
void AcceptDrops(Viewer &viewer);

}  // namespace tamvel::viewer
