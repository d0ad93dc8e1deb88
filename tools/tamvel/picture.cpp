#include "tools/tamvel/picture.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace tamvel::tool {
namespace {

// A frame of a metre or more a side is almost surely damage, and the pages would be huge.
constexpr double kMaxFrameMm = 100000;

bool Fail(std::string &error, std::string reason) {
  error = std::move(reason);
  return false;
}

}  // namespace

const char *Extension(Format format) {
  switch (format) {
    case Format::kPdf:
      return ".pdf";
    case Format::kSvg:
      return ".svg";
    default:
      return ".png";
  }
}

Picture::~Picture() {
  if (metafile_ != nullptr) DeleteEnhMetaFile(metafile_);
}

bool Picture::Open(const InputFile &file, std::string &error) {
  const emf::Rect &frame = file.decoded.header()->frame;
  width_mm_ = (static_cast<double>(frame.right) - frame.left) / 100.0;
  height_mm_ = (static_cast<double>(frame.bottom) - frame.top) / 100.0;
  if (!(width_mm_ > 0 && height_mm_ > 0 && width_mm_ < kMaxFrameMm && height_mm_ < kMaxFrameMm)) {
    return Fail(error, "the picture frame has no area (or is larger than 100 m)");
  }
  const std::vector<uint8_t> image = ReadableImage(file);
  metafile_ = SetEnhMetaFileBits(static_cast<UINT>(image.size()), image.data());
  return metafile_ != nullptr || Fail(error, "the player cannot read the header");
}

bool DrawPicture(const Picture &picture, Format format, int width, int height, bool antialias,
                 const std::string &path, std::string &error) {
  RECT rect{0, 0, width, height};
  TAMVEL_HDC dc = format == Format::kSvg ? TamvelCreateSvgDC(path.c_str(), width, height)
                                         : TamvelCreateImageDC(width, height);
  if (dc == nullptr) {
    return Fail(error, "cannot make a picture of " + std::to_string(width) + " x " +
                           std::to_string(height) + " pixels" +
                           (format == Format::kPng ? " (at most 32767 a side, 64 million in all)"
                                                   : " (at most 32767 a side)"));
  }
  if (format == Format::kPng && antialias) TamvelSetImageAntialias(dc, 1);
  bool ok =
      PlayEnhMetaFile(dc, picture.metafile(), &rect) != FALSE || Fail(error, "playback failed");
  if (ok && format == Format::kPng && TamvelSaveImageDC(dc, path.c_str()) != 0) {
    ok = Fail(error, "the PNG image could not be made");
  }
  if (TamvelDeleteDC(dc) != 0 && ok) ok = Fail(error, "the SVG drawing could not be made");
  return ok;
}

PdfBook::PdfBook(std::string path, const Paper *paper, double dpi)
    : path_(std::move(path)),
      has_paper_(paper != nullptr),
      paper_(paper ? *paper : Paper{}),
      dpi_(static_cast<int>(std::lround(std::clamp(dpi, 10.0, 4800.0)))) {}

PdfBook::~PdfBook() {
  if (printer_ != nullptr) TamvelDeleteDC(printer_);
}

bool PdfBook::AddPage(const Picture &picture, std::string &error) {
  if (printer_ == nullptr) {
    // The paper is settled by the first picture.
    paper_ = has_paper_ ? TurnedFor(paper_, picture.width_mm(), picture.height_mm())
                        : Paper{picture.width_mm(), picture.height_mm(), false};
    printer_ = TamvelCreatePrinterDC(path_.c_str(), paper_.width_mm, paper_.height_mm, dpi_, 0, 0);
    if (printer_ == nullptr) return Fail(error, "cannot make the PDF file");
  } else {
    TamvelEndPrinterPage(printer_);
  }
  ++pages_;
  const PagePlacement place =
      PlaceOnPaper(picture.width_mm(), picture.height_mm(), paper_.width_mm, paper_.height_mm,
                   GetDeviceCaps(printer_, HORZRES), GetDeviceCaps(printer_, VERTRES));
  RECT rect{place.left, place.top, place.right, place.bottom};
  return PlayEnhMetaFile(printer_, picture.metafile(), &rect) != FALSE ||
         Fail(error, "playback failed");
}

bool PdfBook::Finish(std::string &error) {
  if (printer_ == nullptr) return Fail(error, "no page to write");
  const int32_t status = TamvelDeleteDC(std::exchange(printer_, nullptr));
  return status == 0 || Fail(error, "the PDF file could not be completed");
}

}  // namespace tamvel::tool
