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

// Dash patterns GDI uses for styled pens: device pixels for cosmetic pens, multiples of the
// width for geometric pens.
constexpr std::array<double, 2> kCosmeticDash{18, 6};
constexpr std::array<double, 2> kCosmeticDot{3, 3};
constexpr std::array<double, 4> kCosmeticDashDot{9, 6, 3, 6};
constexpr std::array<double, 6> kCosmeticDashDotDot{9, 3, 3, 3, 3, 3};
constexpr std::array<double, 2> kGeometricDash{3, 1};
constexpr std::array<double, 2> kGeometricDot{1, 1};
constexpr std::array<double, 4> kGeometricDashDot{3, 1, 1, 1};
constexpr std::array<double, 6> kGeometricDashDotDot{3, 1, 1, 1, 1, 1};

// 8x8 hatch patterns, one byte per row, the leftmost pixel in the high bit.
constexpr uint8_t kHatchRows[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},  // HS_HORIZONTAL
    {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10},  // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // HS_FDIAGONAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // HS_BDIAGONAL
    {0x10, 0x10, 0x10, 0xFF, 0x10, 0x10, 0x10, 0x10},  // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // HS_DIAGCROSS
};

struct Rgb {
  double r, g, b;
};
Rgb ToRgb(COLORREF c) { return {GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0}; }

uint32_t ToArgb(COLORREF c) {
  return 0xFF000000u | (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) |
         GetBValue(c);
}

// An 8x8 (or w x h) repeating pattern in device pixels: `set(x, y)` pixels in `ink`, the
// others in `paper` or left transparent.
template <typename IsInk>
cairo_pattern_t *MakeBitmapPattern(int width, int height, IsInk is_ink, COLORREF ink,
                                   COLORREF paper, bool opaque) {
  cairo_surface_t *tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(tile) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(tile);
    return nullptr;
  }
  cairo_surface_flush(tile);
  unsigned char *data = cairo_image_surface_get_data(tile);
  const int stride = cairo_image_surface_get_stride(tile);
  for (int y = 0; y < height; ++y) {
    auto *row = reinterpret_cast<uint32_t *>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < width; ++x) {
      if (is_ink(x, y)) {
        row[x] = ToArgb(ink);
      } else {
        row[x] = opaque ? ToArgb(paper) : 0u;
      }
    }
  }
  cairo_surface_mark_dirty(tile);
  cairo_pattern_t *pattern = cairo_pattern_create_for_surface(tile);
  cairo_surface_destroy(tile);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
  return pattern;
}

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
    : kind_(kind), surface_(surface), geometry_(geometry), file_(std::move(file)) {
  cr_ = cairo_create(surface_);
  // Device pixels to surface units: PDF points (1/72 inch) and SVG points (1/96 inch drawn
  // at 0.75 point per pixel); the printer's device origin is the printable area's corner.
  if (kind_ == Surface::kPrinter) {
    cairo_scale(cr_, 72.0 / geometry_.dpi, 72.0 / geometry_.dpi);
    cairo_translate(cr_, geometry_.offset_x_px, geometry_.offset_y_px);
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
  if (kind_ == Surface::kPrinter && !finished_ && !borrowed_) cairo_show_page(cr_);
}

bool CairoDevice::Finish() {
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

bool CairoDevice::Begin(Dc &dc) {
  if (finished_ || dc.state.rop2 == R2_NOP) return false;
  cairo_save(cr_);
  cairo_new_path(cr_);
  if (kind_ == Surface::kPrinter) {
    // Nothing lands outside the printable area.
    cairo_rectangle(cr_, 0, 0, geometry_.PrintableWidth(), geometry_.PrintableHeight());
    cairo_clip(cr_);
  }
  if (dc.state.clip) {
    for (const RECT &r : *dc.state.clip) {
      cairo_rectangle(cr_, r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    cairo_clip(cr_);  // an empty clip list clips everything away
  }
  switch (dc.state.rop2) {
    case R2_XORPEN:
    case R2_NOT:
    case R2_NOTXORPEN:
      cairo_set_operator(cr_, CAIRO_OPERATOR_DIFFERENCE);
      break;
    case R2_MASKPEN:
      cairo_set_operator(cr_, CAIRO_OPERATOR_MULTIPLY);
      break;
    case R2_MERGEPEN:
      cairo_set_operator(cr_, CAIRO_OPERATOR_LIGHTEN);
      break;
    default:
      cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
      break;
  }
  return true;
}

void CairoDevice::End() {
  cairo_new_path(cr_);
  cairo_restore(cr_);
  if (painted_) painted_();
}

void CairoDevice::SetColour(const Dc &dc, COLORREF colour) {
  COLORREF c = ResolveColour(colour, dc.state.palette.get());
  switch (dc.state.rop2) {
    case R2_BLACK:
      c = 0;
      break;
    case R2_WHITE:
    case R2_NOT:
      c = 0xFFFFFF;
      break;
    case R2_NOTCOPYPEN:
    case R2_NOTXORPEN:
      c = ~c & 0xFFFFFF;
      break;
    default:
      break;
  }
  Rgb rgb = ToRgb(c);
  cairo_set_source_rgb(cr_, rgb.r, rgb.g, rgb.b);
}

bool CairoDevice::SetUpPen(const Dc &dc, double *shift) {
  const Pen *pen = dc.state.pen.get();
  if (!pen || pen->IsNull()) return false;
  const double x_scale = std::fabs(ScaleX(dc.state.mapping));
  const bool geometric = pen->IsGeometric(x_scale);
  const double width = geometric ? std::max(1.0, pen->DeviceWidth(x_scale)) : 1.0;
  SetColour(dc, pen->colour);
  cairo_set_line_width(cr_, width);
  cairo_set_miter_limit(cr_, 10.0);

  cairo_line_cap_t cap = CAIRO_LINE_CAP_ROUND;
  cairo_line_join_t join = CAIRO_LINE_JOIN_ROUND;
  if (pen->extended && geometric) {
    switch (pen->style & PS_ENDCAP_MASK) {
      case PS_ENDCAP_SQUARE:
        cap = CAIRO_LINE_CAP_SQUARE;
        break;
      case PS_ENDCAP_FLAT:
        cap = CAIRO_LINE_CAP_BUTT;
        break;
      default:
        break;
    }
    switch (pen->style & PS_JOIN_MASK) {
      case PS_JOIN_BEVEL:
        join = CAIRO_LINE_JOIN_BEVEL;
        break;
      case PS_JOIN_MITER:
        join = CAIRO_LINE_JOIN_MITER;
        break;
      default:
        break;
    }
  } else if (!geometric) {
    cap = CAIRO_LINE_CAP_BUTT;  // a cosmetic line stops at its last pixel
  }
  cairo_set_line_cap(cr_, cap);
  cairo_set_line_join(cr_, join);

  // Styles: a wide pen made by CreatePenIndirect is always drawn solid, as GDI does.
  std::vector<double> dashes;
  const bool styled_allowed = pen->extended || width <= 1.0;
  const double unit = geometric && pen->extended ? width : 1.0;
  auto use = [&](auto const &cosmetic, auto const &geometric_pattern) {
    if (geometric && pen->extended) {
      for (double d : geometric_pattern) dashes.push_back(d * unit);
    } else {
      dashes.assign(cosmetic.begin(), cosmetic.end());
    }
  };
  if (styled_allowed) {
    switch (pen->LineStyle()) {
      case PS_DASH:
        use(kCosmeticDash, kGeometricDash);
        break;
      case PS_DOT:
        use(kCosmeticDot, kGeometricDot);
        break;
      case PS_DASHDOT:
        use(kCosmeticDashDot, kGeometricDashDot);
        break;
      case PS_DASHDOTDOT:
        use(kCosmeticDashDotDot, kGeometricDashDotDot);
        break;
      case PS_ALTERNATE:
        dashes = {1, 1};
        break;
      case PS_USERSTYLE:
        for (DWORD entry : pen->style_entries) {
          dashes.push_back(geometric ? entry * x_scale : static_cast<double>(entry));
        }
        break;
      default:
        break;
    }
  }
  bool any_positive = false;
  for (double d : dashes) any_positive = any_positive || d > 0;
  if (!dashes.empty() && any_positive && dashes.size() <= 64) {
    cairo_set_dash(cr_, dashes.data(), static_cast<int>(dashes.size()), 0);
  }
  // Odd widths on a raster sit on pixel centres, as GDI lights whole pixels.
  const long rounded = std::lround(width);
  *shift = (kind_ == Surface::kImage && rounded % 2 == 1) ? 0.5 : 0.0;
  return true;
}

bool CairoDevice::SetUpBrush(const Dc &dc) {
  const Brush *brush = dc.state.brush.get();
  if (!brush || brush->style == BS_NULL) return false;
  const Palette *palette = dc.state.palette.get();
  if (brush->style == BS_HATCHED && brush->hatch <= HS_DIAGCROSS) {
    const uint8_t *rows = kHatchRows[brush->hatch];
    cairo_pattern_t *pattern = MakeBitmapPattern(
        8, 8, [rows](int x, int y) { return (rows[y] & (0x80 >> x)) != 0; },
        ResolveColour(brush->colour, palette), ResolveColour(dc.state.bk_colour, palette),
        dc.state.bk_mode == OPAQUE);
    if (!pattern) return false;
    cairo_set_source(cr_, pattern);
    cairo_pattern_destroy(pattern);
    return true;
  }
  if (brush->style == BS_PATTERN && brush->pattern_width > 0 && brush->pattern_height > 0 &&
      brush->pattern_width <= 256 && brush->pattern_height <= 256) {
    // 0 bits in the text colour, 1 bits in the background colour; rows padded to 16 bits.
    const size_t row_bytes = Bitmap::RowBytesFor(brush->pattern_width, 1);
    const std::vector<uint8_t> &bits = brush->pattern_bits;
    auto is_text = [&](int x, int y) {
      size_t at = static_cast<size_t>(y) * row_bytes + static_cast<size_t>(x) / 8;
      return at >= bits.size() || (bits[at] & (0x80 >> (x % 8))) == 0;
    };
    cairo_pattern_t *pattern =
        MakeBitmapPattern(brush->pattern_width, brush->pattern_height, is_text,
                          ResolveColour(dc.state.text_colour, palette),
                          ResolveColour(dc.state.bk_colour, palette), true);
    if (!pattern) return false;
    cairo_set_source(cr_, pattern);
    cairo_pattern_destroy(pattern);
    return true;
  }
  SetColour(dc, brush->colour);
  return true;
}

void CairoDevice::AddFigure(const Dc &dc, const Figure &figure, double shift) {
  bool first = true;
  for (const POINT &p : figure.points) {
    double x, y;
    LogicalToDevice(dc.state.mapping, p.x, p.y, x, y);
    if (first) {
      cairo_move_to(cr_, x + shift, y + shift);
      first = false;
    } else {
      cairo_line_to(cr_, x + shift, y + shift);
    }
  }
  if (figure.closed && !first) cairo_close_path(cr_);
}

void CairoDevice::Stroke(Dc &dc, std::span<const Figure> figures) {
  if (!Begin(dc)) return;
  double shift = 0;
  if (SetUpPen(dc, &shift)) {
    for (const Figure &figure : figures) AddFigure(dc, figure, shift);
    cairo_stroke(cr_);
  }
  End();
}

void CairoDevice::Fill(Dc &dc, std::span<const Figure> figures) {
  if (!Begin(dc)) return;
  if (SetUpBrush(dc)) {
    for (const Figure &figure : figures) AddFigure(dc, {figure.points, true}, 0.0);
    cairo_set_fill_rule(cr_, dc.state.poly_fill_mode == WINDING ? CAIRO_FILL_RULE_WINDING
                                                                : CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr_);
  }
  End();
}

void CairoDevice::LineTo(Dc &dc, POINT from, POINT to) {
  const POINT points[2] = {from, to};
  const Figure figure{points, false};
  Stroke(dc, {&figure, 1});
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
  if (!Begin(dc)) return;
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
