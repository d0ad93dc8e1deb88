// The viewer's pages: metafile files opened with the library, drawn by its own player at a
// size derived exactly as `tamvel render` derives it, so that what the viewer shows at a
// given width is what `tamvel render --width` writes.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "platform/win32.h"

namespace tamvel::viewer {

class Page {
 public:
  explicit Page(std::string path) : path_(std::move(path)) {}
  ~Page();
  Page(const Page &) = delete;
  Page &operator=(const Page &) = delete;

  // (Re)reads the file; false (the page as it was) when it is not a readable metafile with a
  // frame, for example while a writer is still writing it.
  bool Load();
  bool loaded() const { return metafile_ != nullptr; }
  const std::string &path() const { return path_; }
  std::string Name() const;  // the file name without its folder
  double width_mm() const { return width_mm_; }
  double height_mm() const { return height_mm_; }

  // The pixel size at `dpi`, rounded as `tamvel render` rounds it.
  void PixelSize(double dpi, int *width, int *height) const;
  // The page drawn at `dpi` (96 is 1:1); null when it cannot be drawn.
  GdkTexture *Render(double dpi) const;
  // Writes the page to a .png (96 dpi), .pdf (true size) or .svg file; false on failure.
  bool Export(const std::string &path) const;
  // The metafile's bytes (what the clipboard gets as image/emf).
  std::vector<uint8_t> Bytes() const;
  // Plays the page at true size onto a printer DC whose pixels are `dpi` per inch.
  bool PlayOnPrinter(HDC printer, double dpi) const;

 private:
  std::string path_;
  HENHMETAFILE metafile_ = nullptr;
  double width_mm_ = 0;
  double height_mm_ = 0;
};

// The PNG and SVG forms of a metafile for the clipboard; false when it cannot be drawn.
bool ClipboardForms(const std::vector<uint8_t> &emf, GBytes **png, GBytes **svg);

}  // namespace tamvel::viewer
