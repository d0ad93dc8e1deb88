#include "platform/posix/cairo_device.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/posix/dc.h"
#include "platform/posix/objects.h"
#include "platform/posix/safe_file.h"
#include "platform/posix/text.h"

namespace tamvel::posix {

namespace {

// Raster images larger than this are refused rather than allocated.
constexpr int64_t kMaxImagePixels = 64LL * 1024 * 1024;
constexpr int kMaxSurfaceSide = 32767;

// Cairo's output stream into an AtomicFile; a failed write puts the surface in error.
cairo_status_t WriteToFile(void *closure, const unsigned char *data, unsigned int length) {
  return static_cast<AtomicFile *>(closure)->Write(std::span<const uint8_t>(data, length))
             ? CAIRO_STATUS_SUCCESS
             : CAIRO_STATUS_WRITE_ERROR;
}

// The output file of a PDF or SVG surface: null when it cannot be started.
std::unique_ptr<AtomicFile> StartOutputFile(const std::string &path) {
  auto file = std::make_unique<AtomicFile>();
  return file->Open(path, 0666) ? std::move(file) : nullptr;
}

}  // namespace

CairoDevice::CairoDevice(Surface kind, cairo_surface_t *surface, const Geometry &geometry,
                         std::unique_ptr<AtomicFile> file)
    : kind_(kind),
      surface_(surface),
      geometry_(geometry),
      file_(std::move(file)),
      pixels_(kind == Surface::kImage ? surface : nullptr) {
  cr_ = cairo_create(surface_);
  // Device pixels to surface units: PDF points (1/72 inch) and SVG points (1/96 inch drawn
  // at 0.75 point per pixel); the printer's device origin is the printable area's corner.
  if (kind_ == Surface::kPrinter) {
    cairo_scale(cr_, 72.0 / geometry_.dpi, 72.0 / geometry_.dpi);
    cairo_translate(cr_, geometry_.offset_x_px, geometry_.offset_y_px);
    ClipToPrintableArea();
  } else if (kind_ == Surface::kSvg) {
    cairo_scale(cr_, 0.75, 0.75);
  }
}

CairoDevice::CairoDevice(cairo_t *borrowed, const Geometry &geometry)
    : kind_(Surface::kPrinter),
      surface_(cairo_surface_reference(cairo_get_target(borrowed))),
      cr_(cairo_reference(borrowed)),
      geometry_(geometry),
      borrowed_(true) {
  cairo_save(cr_);
  cairo_scale(cr_, 72.0 / geometry_.dpi, 72.0 / geometry_.dpi);
  cairo_translate(cr_, geometry_.offset_x_px, geometry_.offset_y_px);
  ClipToPrintableArea();
}

// Nothing lands outside the printable area: one clip under everything (not one per stroke),
// and none at all where the printable area is the whole paper.
void CairoDevice::ClipToPrintableArea() {
  const Geometry &g = geometry_;
  if (g.PrintableWidth() == g.width_px && g.PrintableHeight() == g.height_px) return;
  cairo_rectangle(cr_, 0, 0, g.PrintableWidth(), g.PrintableHeight());
  cairo_clip(cr_);
}

CairoDevice::~CairoDevice() {
  Finish();
  if (cr_) cairo_destroy(cr_);
  if (surface_) cairo_surface_destroy(surface_);
}

ReferenceDevice CairoDevice::ReferenceFor(int dpi) {
  // 5 inches in pixels against 127 mm: the metric modes come out exact at any resolution.
  ReferenceDevice reference;
  reference.pixels = {5 * dpi, 5 * dpi};
  reference.millimetres = {127, 127};
  reference.dpi_x = dpi;
  reference.dpi_y = dpi;
  return reference;
}

HDC CairoDevice::CreateImageDc(int width_px, int height_px) {
  if (width_px < 1 || height_px < 1 || width_px > kMaxSurfaceSide || height_px > kMaxSurfaceSide ||
      static_cast<int64_t>(width_px) * height_px > kMaxImagePixels) {
    return nullptr;
  }
  cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width_px, height_px);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  cairo_t *cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_destroy(cr);
  HDC dc = CreateImageDc(surface);
  cairo_surface_destroy(surface);
  return dc;
}

HDC CairoDevice::CreateImageDc(cairo_surface_t *image) {
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_get_type(image) != CAIRO_SURFACE_TYPE_IMAGE) {
    return nullptr;
  }
  Geometry geometry;
  geometry.width_px = cairo_image_surface_get_width(image);
  geometry.height_px = cairo_image_surface_get_height(image);
  return CreateDcHandle(
      std::make_unique<CairoDevice>(Surface::kImage, cairo_surface_reference(image), geometry),
      ReferenceFor(96));
}

HDC CairoDevice::CreatePrinterDc(const std::string &pdf_path, double paper_width_mm,
                                 double paper_height_mm, int dpi, int offset_x_px,
                                 int offset_y_px) {
  Geometry margins;
  margins.dpi = dpi;
  margins.offset_x_px = margins.margin_right_px = offset_x_px;
  margins.offset_y_px = margins.margin_bottom_px = offset_y_px;
  return CreatePrinterDc(pdf_path, paper_width_mm, paper_height_mm, margins);
}

HDC CairoDevice::CreatePrinterDc(const std::string &pdf_path, double paper_width_mm,
                                 double paper_height_mm, const Geometry &margins_at_dpi) {
  Geometry geometry = margins_at_dpi;
  const int dpi = geometry.dpi;
  if (!(paper_width_mm > 0 && paper_height_mm > 0 && paper_width_mm <= 10000 &&
        paper_height_mm <= 10000) ||
      dpi < 10 || dpi > 4800) {
    return nullptr;
  }
  geometry.width_px = static_cast<int>(std::lround(paper_width_mm / 25.4 * dpi));
  geometry.height_px = static_cast<int>(std::lround(paper_height_mm / 25.4 * dpi));
  if (std::min({geometry.offset_x_px, geometry.offset_y_px, geometry.margin_right_px,
                geometry.margin_bottom_px}) < 0 ||
      geometry.PrintableWidth() < 1 || geometry.PrintableHeight() < 1) {
    return nullptr;
  }
  std::unique_ptr<AtomicFile> file = StartOutputFile(pdf_path);
  if (!file) return nullptr;
  cairo_surface_t *surface = cairo_pdf_surface_create_for_stream(
      WriteToFile, file.get(), paper_width_mm / 25.4 * 72.0, paper_height_mm / 25.4 * 72.0);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  return CreateDcHandle(
      std::make_unique<CairoDevice>(Surface::kPrinter, surface, geometry, std::move(file)),
      ReferenceFor(dpi));
}

HDC CairoDevice::CreateSvgDc(const std::string &svg_path, int width_px, int height_px) {
  if (width_px < 1 || height_px < 1 || width_px > kMaxSurfaceSide || height_px > kMaxSurfaceSide) {
    return nullptr;
  }
  std::unique_ptr<AtomicFile> file = StartOutputFile(svg_path);
  if (!file) return nullptr;
  cairo_surface_t *surface = cairo_svg_surface_create_for_stream(WriteToFile, file.get(),
                                                                 width_px * 0.75, height_px * 0.75);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  Geometry geometry{width_px, height_px, 96, 0, 0};
  return CreateDcHandle(
      std::make_unique<CairoDevice>(Surface::kSvg, surface, geometry, std::move(file)),
      ReferenceFor(96));
}

HDC CairoDevice::CreateContextDc(cairo_t *page, double paper_width_mm, double paper_height_mm,
                                 int dpi) {
  if (page == nullptr || cairo_status(page) != CAIRO_STATUS_SUCCESS || dpi < 10 || dpi > 4800 ||
      !(paper_width_mm > 0 && paper_height_mm > 0 && paper_width_mm <= 10000 &&
        paper_height_mm <= 10000)) {
    return nullptr;
  }
  Geometry geometry;
  geometry.dpi = dpi;
  geometry.width_px = static_cast<int>(std::lround(paper_width_mm / 25.4 * dpi));
  geometry.height_px = static_cast<int>(std::lround(paper_height_mm / 25.4 * dpi));
  return CreateDcHandle(std::make_unique<CairoDevice>(page, geometry), ReferenceFor(dpi));
}

CairoDevice *CairoDevice::Of(HDC hdc) {
  Dc *dc = LookupDc(hdc);
  return dc ? dynamic_cast<CairoDevice *>(&dc->device()) : nullptr;
}

bool CairoDevice::SavePng(const std::string &path) {
  if (kind_ != Surface::kImage || finished_) return false;
  StrokeRun();
  pixels_.Publish();
  cairo_surface_flush(surface_);
  return WritePngFile(surface_, path);
}

bool WritePngFile(cairo_surface_t *surface, const std::string &path) {
  AtomicFile file;
  return file.Open(path, 0666) &&
         cairo_surface_write_to_png_stream(surface, WriteToFile, &file) == CAIRO_STATUS_SUCCESS &&
         file.Commit();
}

void CairoDevice::EndPage() {
  StrokeRun();
  if (kind_ == Surface::kPrinter && !finished_ && !borrowed_) cairo_show_page(cr_);
}

bool CairoDevice::Finish() {
  StrokeRun();
  pixels_.Publish();
  if (finished_ || !surface_) return written_;
  finished_ = true;
  if (borrowed_) {
    cairo_restore(cr_);
    written_ = true;
  } else if (!file_) {
    written_ = true;  // an image: saved by SavePng, if at all
  } else {
    // Drawing that cairo stopped (its context in error) is a picture not completely written.
    const bool drawn = cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
    cairo_surface_finish(surface_);
    written_ = drawn && cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS && file_->Commit();
    file_->Abandon();  // nothing left under the name when it failed
  }
  if (finisher_) written_ = finisher_(written_);
  return written_;
}

int CairoDevice::DeviceCaps(int index) const {
  const Geometry &g = geometry_;
  const bool printer = kind_ == Surface::kPrinter;
  const int width = printer ? g.PrintableWidth() : g.width_px;
  const int height = printer ? g.PrintableHeight() : g.height_px;
  switch (index) {
    case TECHNOLOGY:
      return printer ? DT_RASPRINTER : DT_RASDISPLAY;
    case HORZRES:
      return width;
    case VERTRES:
      return height;
    case HORZSIZE:
      return static_cast<int>(std::lround(width * 25.4 / g.dpi));
    case VERTSIZE:
      return static_cast<int>(std::lround(height * 25.4 / g.dpi));
    case LOGPIXELSX:
    case LOGPIXELSY:
      return g.dpi;
    case PHYSICALWIDTH:
      return printer ? g.width_px : 0;
    case PHYSICALHEIGHT:
      return printer ? g.height_px : 0;
    case PHYSICALOFFSETX:
      return printer ? g.offset_x_px : 0;
    case PHYSICALOFFSETY:
      return printer ? g.offset_y_px : 0;
    default:
      return Device::DeviceCaps(index);
  }
}

// ------------------------------------------------------------------------ painting ----

namespace {

// How cairo paints a raster operation's colour (SetColour gives the colour).
cairo_operator_t OperatorOf(int rop2) {
  switch (rop2) {
    case R2_XORPEN:
    case R2_NOT:
    case R2_NOTXORPEN:
      return CAIRO_OPERATOR_DIFFERENCE;
    case R2_MASKPEN:
      return CAIRO_OPERATOR_MULTIPLY;
    case R2_MERGEPEN:
      return CAIRO_OPERATOR_LIGHTEN;
    default:
      return CAIRO_OPERATOR_OVER;
  }
}

}  // namespace

bool CairoDevice::Paints(const Dc &dc) const { return !finished_ && dc.state.rop2 != R2_NOP; }

bool CairoDevice::PaintsDirectly(const Dc &dc) const {
  return direct_pixels_ && pixels_.writable() && Crisp() &&
         OperatorOf(dc.state.rop2) == CAIRO_OPERATOR_OVER &&
         cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
}

bool CairoDevice::Begin(Dc &dc) {
  StrokeRun();  // what was drawn before comes first
  pixels_.Publish();
  if (!Paints(dc)) return false;
  cairo_save(cr_);
  cairo_new_path(cr_);
  if (dc.state.clip) {
    for (const RECT &r : *dc.state.clip) {
      cairo_rectangle(cr_, r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    cairo_clip(cr_);  // an empty clip list clips everything away
  }
  cairo_set_operator(cr_, OperatorOf(dc.state.rop2));
  return true;
}

void CairoDevice::End() {
  cairo_new_path(cr_);
  cairo_restore(cr_);
  if (painted_) painted_();
}

namespace {

constexpr size_t kMaxRunSegments = 1 << 16;  // bounds the path cairo holds at once

// Raster operations that paint an opaque colour over the destination: a segment painted
// twice looks as if painted once, so a run of them can be one stroke.
bool PaintsOpaque(int rop2) {
  switch (rop2) {
    case R2_COPYPEN:
    case R2_NOTCOPYPEN:
    case R2_BLACK:
    case R2_WHITE:
      return true;
    default:
      return false;
  }
}

bool SameClip(const std::optional<std::vector<RECT>> &a,
              const std::optional<std::vector<RECT>> &b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || (a->size() == b->size() &&
                (a->empty() || std::memcmp(a->data(), b->data(), a->size() * sizeof(RECT)) == 0));
}

uint64_t SerialOf(const GdiObject *object) { return object ? object->serial : 0; }

}  // namespace

bool CairoDevice::ContinuesRun(const Dc &dc) const {
  return run_.open && run_.segments < kMaxRunSegments && run_.pen == SerialOf(dc.state.pen.get()) &&
         run_.palette == SerialOf(dc.state.palette.get()) && run_.rop2 == dc.state.rop2 &&
         run_.x_scale == ScaleX(dc.state.mapping) && SameClip(run_clip_, dc.state.clip);
}

void CairoDevice::StrokeRun() {
  if (!run_.open) return;
  run_.open = false;
  cairo_stroke(cr_);
  End();
}

void CairoDevice::LineTo(Dc &dc, POINT from, POINT to) {
  // Runs on vector surfaces and smooth images. A crisp image lights whole pixels line by
  // line, and a window shows each line as it is drawn.
  if (dc.path_open) return;
  if (!PaintsOpaque(dc.state.rop2) || painted_ || Crisp()) {
    const POINT points[2] = {from, to};
    const Figure figure{points, false};
    return Stroke(dc, {&figure, 1});
  }
  if (!ContinuesRun(dc)) {
    StrokeRun();
    double shift = 0;
    if (!Begin(dc)) return;
    if (!SetUpPen(dc, &shift)) return End();
    const Pen &pen = *dc.state.pen;
    const double x_scale = ScaleX(dc.state.mapping);
    // Round caps and joins cover the same pixels joined or apart; a cosmetic line is one.
    const bool round = cairo_get_line_cap(cr_) == CAIRO_LINE_CAP_ROUND &&
                       cairo_get_line_join(cr_) == CAIRO_LINE_JOIN_ROUND;
    const bool joins =
        pen.LineStyle() == PS_SOLID && (round || !pen.IsGeometric(std::fabs(x_scale)));
    run_ = {true,  pen.serial, SerialOf(dc.state.palette.get()), dc.state.rop2, x_scale, shift, 0,
            joins, to};
    run_clip_ = dc.state.clip;
    run_mapping_ = dc.state.mapping;
  }
  double x, y;
  const bool continues = run_.joins && run_.segments > 0 && from.x == run_.last.x &&
                         from.y == run_.last.y &&
                         std::memcmp(&run_mapping_, &dc.state.mapping, sizeof run_mapping_) == 0;
  if (!continues) {
    LogicalToDevice(dc.state.mapping, from.x, from.y, x, y);
    cairo_move_to(cr_, x + run_.shift, y + run_.shift);
  }
  LogicalToDevice(dc.state.mapping, to.x, to.y, x, y);
  cairo_line_to(cr_, x + run_.shift, y + run_.shift);
  run_.last = to;
  run_mapping_ = dc.state.mapping;
  ++run_.segments;
}

void CairoDevice::Polyline(Dc &dc, std::span<const POINT> points) {
  if (points.size() < 2) return;
  const Figure figure{points, false};
  Stroke(dc, {&figure, 1});
}

void CairoDevice::PolyPolyline(Dc &dc, std::span<const POINT> points,
                               std::span<const DWORD> counts) {
  std::vector<Figure> figures;
  size_t at = 0;
  for (DWORD count : counts) {
    if (count > points.size() - at) break;
    figures.push_back({points.subspan(at, count), false});
    at += count;
  }
  Stroke(dc, figures);
}

void CairoDevice::Polygon(Dc &dc, std::span<const POINT> points) {
  if (points.size() < 2) return;
  const Figure figure{points, true};
  Fill(dc, {&figure, 1});
  Stroke(dc, {&figure, 1});
}

void CairoDevice::StrokePath(Dc &dc) {
  std::vector<Figure> figures;
  for (const PathFigure &figure : dc.path) figures.push_back({figure.points, figure.closed});
  Stroke(dc, figures);
}

void CairoDevice::DrawText(Dc &dc, const TextRun &run) {
  if (dc.path_open || !Begin(dc)) return;
  PaintTextRun(cr_, dc, run, [&](COLORREF colour) { SetColour(dc, colour); });
  End();
}

void CairoDevice::DrawImage(Dc &dc, const POINT (&corners)[3], const ImagePixels &image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.argb.size() < static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) {
    return;
  }
  cairo_surface_t *tile =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
  if (cairo_surface_status(tile) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(tile);
    return;
  }
  cairo_surface_flush(tile);
  unsigned char *data = cairo_image_surface_get_data(tile);
  const int stride = cairo_image_surface_get_stride(tile);
  for (int y = 0; y < image.height; ++y) {
    std::memcpy(data + static_cast<size_t>(y) * stride,
                image.argb.data() + static_cast<size_t>(y) * image.width,
                static_cast<size_t>(image.width) * 4);
  }
  cairo_surface_mark_dirty(tile);
  // Image space (0..width, 0..height) onto the device parallelogram of the three corners.
  const POINT origin = dc.ToDevice(corners[0]);
  const POINT right = dc.ToDevice(corners[1]);
  const POINT down = dc.ToDevice(corners[2]);
  cairo_matrix_t placement;
  cairo_matrix_init(&placement, double(right.x - origin.x) / image.width,
                    double(right.y - origin.y) / image.width,
                    double(down.x - origin.x) / image.height,
                    double(down.y - origin.y) / image.height, origin.x, origin.y);
  cairo_matrix_t inverse = placement;
  if (cairo_matrix_invert(&inverse) == CAIRO_STATUS_SUCCESS && Begin(dc)) {
    cairo_transform(cr_, &placement);
    cairo_set_source_surface(cr_, tile, 0, 0);
    // Whole source pixels, as GDI stretches (no smoothing unless asked for halftone).
    cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cr_, 0, 0, image.width, image.height);
    cairo_fill(cr_);
    End();
  }
  cairo_surface_destroy(tile);
}

}  // namespace tamvel::posix
