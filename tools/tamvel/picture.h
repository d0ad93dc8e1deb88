// Drawing input metafiles with the library's own player: one picture into a PNG image or an
// SVG drawing, or pictures as the pages of one PDF. Everything is drawn into files of the
// scratch folder (output.h); a false result comes with the reason in `error`.
#pragma once

#include <string>

#include "include/tamvel_linux.h"
#include "platform/win32.h"
#include "tools/tamvel/input.h"
#include "tools/tamvel/paper.h"

namespace tamvel::tool {

enum class Format { kPng, kPdf, kSvg };

// ".png", ".pdf" or ".svg".
const char *Extension(Format format);

// A metafile ready to play: the readable records of an input, and its picture frame.
class Picture {
 public:
  Picture() = default;
  ~Picture();
  Picture(const Picture &) = delete;
  Picture &operator=(const Picture &) = delete;

  // False with the reason when the frame has no area or the player refuses the records.
  bool Open(const InputFile &file, std::string &error);

  HENHMETAFILE metafile() const { return metafile_; }
  double width_mm() const { return width_mm_; }
  double height_mm() const { return height_mm_; }

 private:
  HENHMETAFILE metafile_ = nullptr;
  double width_mm_ = 0;
  double height_mm_ = 0;
};

// Plays the picture over a width x height pixel PNG image or SVG drawing (`format`) written
// to `path`. PNG images are crisp as GDI paints them, or smooth with `antialias`.
bool DrawPicture(const Picture &picture, Format format, int width, int height, bool antialias,
                 const std::string &path, std::string &error);

// A PDF of one page per picture, written to `path` by Finish. The paper is `paper` (turned
// to the first picture), or the first picture's frame when no paper is given; each picture
// is placed on it by PlaceOnPaper.
class PdfBook {
 public:
  PdfBook(std::string path, const Paper *paper, double dpi);
  ~PdfBook();
  PdfBook(const PdfBook &) = delete;
  PdfBook &operator=(const PdfBook &) = delete;

  bool AddPage(const Picture &picture, std::string &error);
  // Completes the file; false when it could not be completed or has no page.
  bool Finish(std::string &error);

 private:
  std::string path_;
  bool has_paper_ = false;
  Paper paper_;
  int dpi_;
  TAMVEL_HDC printer_ = nullptr;
  int pages_ = 0;
};

}  // namespace tamvel::tool
