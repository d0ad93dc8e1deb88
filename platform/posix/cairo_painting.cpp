// How the painting devices stroke and fill: pens and brushes as cairo sources, and the
// geometry on the device grid.
//
// Raster images are crisp like GDI's unless anti-aliasing is asked for: every point lands on
// a whole device pixel (rounded as GDI rounds), fills light the pixels whose centres they
// cover, and one-pixel pens light one pixel per step (thin_lines.h) in full colour. Wide pens
// and text keep cairo's smooth edges. PDF and SVG output keeps exact coordinates.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/posix/cairo_device.h"
#include "platform/posix/dc.h"
#include "platform/posix/objects.h"
#include "platform/posix/thin_lines.h"

namespace tamvel::posix {

namespace {

// 8x8 hatch patterns, one byte per row, the leftmost pixel in the high bit.
constexpr uint8_t kHatchRows[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},  // HS_HORIZONTAL
    {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10},  // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // HS_FDIAGONAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // HS_BDIAGONAL
    {0x10, 0x10, 0x10, 0xFF, 0x10, 0x10, 0x10, 0x10},  // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // HS_DIAGCROSS
};

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

cairo_line_cap_t CapOf(const Pen &pen, bool geometric) {
  if (!geometric) return CAIRO_LINE_CAP_BUTT;  // a cosmetic line stops at its last pixel
  if (!pen.extended) return CAIRO_LINE_CAP_ROUND;
  switch (pen.style & PS_ENDCAP_MASK) {
    case PS_ENDCAP_SQUARE:
      return CAIRO_LINE_CAP_SQUARE;
    case PS_ENDCAP_FLAT:
      return CAIRO_LINE_CAP_BUTT;
    default:
      return CAIRO_LINE_CAP_ROUND;
  }
}

cairo_line_join_t JoinOf(const Pen &pen, bool geometric) {
  if (!pen.extended || !geometric) return CAIRO_LINE_JOIN_ROUND;
  switch (pen.style & PS_JOIN_MASK) {
    case PS_JOIN_BEVEL:
      return CAIRO_LINE_JOIN_BEVEL;
    case PS_JOIN_MITER:
      return CAIRO_LINE_JOIN_MITER;
    default:
      return CAIRO_LINE_JOIN_ROUND;
  }
}

// GDI keeps the round or square caps of a dash inside its length, where cairo adds them
// outside: every dash gives up a width to the gap after it, and a dot keeps a sliver of
// length so that cairo still draws its caps.
void CapsInsideDashes(std::vector<double> &dashes, double width) {
  constexpr double kSliver = 0.01;
  for (size_t i = 0; i + 1 < dashes.size(); i += 2) {
    const double given = std::clamp(dashes[i] - kSliver, 0.0, width);
    dashes[i] -= given;
    dashes[i + 1] += given;
  }
}

// GDI rounds device coordinates half up.
double Snap(double v) { return std::floor(v + 0.5); }

// The colour a pen or brush paints in: palette entries resolved, the raster operation
// applied (the operators of Begin do the rest).
COLORREF PaintedColour(const Dc &dc, COLORREF colour) {
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
  return c;
}

}  // namespace

void CairoDevice::SetColour(const Dc &dc, COLORREF colour) {
  const COLORREF c = PaintedColour(dc, colour);
  cairo_set_source_rgb(cr_, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

bool CairoDevice::SetUpPen(const Dc &dc, double *shift) {
  const Pen *pen = dc.state.pen.get();
  if (!pen || pen->IsNull()) return false;
  const double x_scale = std::fabs(ScaleX(dc.state.mapping));
  const bool geometric = pen->IsGeometric(x_scale);
  double width = geometric ? pen->DeviceWidth(x_scale) : 1.0;
  if (Crisp()) width = std::max(1.0, std::round(width));  // GDI's pens are whole pixels wide
  SetColour(dc, pen->colour);
  cairo_set_line_width(cr_, width);
  cairo_set_miter_limit(cr_, 10.0);
  const cairo_line_cap_t cap = CapOf(*pen, geometric);
  cairo_set_line_cap(cr_, cap);
  cairo_set_line_join(cr_, JoinOf(*pen, geometric));
  std::vector<double> dashes = pen->DevicePattern(x_scale);
  if (cap != CAIRO_LINE_CAP_BUTT) CapsInsideDashes(dashes, width);
  if (!dashes.empty()) cairo_set_dash(cr_, dashes.data(), static_cast<int>(dashes.size()), 0);
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

bool CairoDevice::Crisp() const { return kind_ == Surface::kImage && !antialias_; }

void CairoDevice::ToSurface(const Dc &dc, POINT p, double *x, double *y) const {
  LogicalToDevice(dc.state.mapping, p.x, p.y, *x, *y);
  if (Crisp()) *x = Snap(*x), *y = Snap(*y);
}

void CairoDevice::AddFigure(const Dc &dc, const Figure &figure, double shift) {
  bool first = true;
  for (const POINT &p : figure.points) {
    double x, y;
    ToSurface(dc, p, &x, &y);
    if (first) {
      cairo_move_to(cr_, x + shift, y + shift);
      first = false;
    } else {
      cairo_line_to(cr_, x + shift, y + shift);
    }
  }
  if (figure.closed && !first) cairo_close_path(cr_);
}

bool CairoDevice::IsThinPen(const Dc &dc) const {
  const Pen *pen = dc.state.pen.get();
  if (!Crisp() || !pen || pen->IsNull()) return false;
  const double x_scale = std::fabs(ScaleX(dc.state.mapping));
  return !pen->IsGeometric(x_scale) || std::lround(pen->DeviceWidth(x_scale)) <= 1;
}

void CairoDevice::Stroke(Dc &dc, std::span<const Figure> figures) {
  if (dc.path_open) return;
  if (IsThinPen(dc)) return StrokeThin(dc, figures);
  if (!Begin(dc)) return;
  double shift = 0;
  if (Crisp()) cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  if (SetUpPen(dc, &shift)) {
    for (const Figure &figure : figures) AddFigure(dc, figure, shift);
    cairo_stroke(cr_);
  }
  End();
}

LineStyle &CairoDevice::ThinStyleOf(const Dc &dc) {
  const Pen &pen = *dc.state.pen;
  const double x_scale = std::fabs(ScaleX(dc.state.mapping));
  // A pen never changes: its serial and the scale name its pattern.
  if (pen.serial == 0 || pen.serial != thin_style_.pen || x_scale != thin_style_.x_scale) {
    std::vector<uint32_t> lengths;
    for (double d : pen.DevicePattern(x_scale)) {
      lengths.push_back(static_cast<uint32_t>(std::clamp(std::lround(d), 0L, 1L << 20)));
    }
    thin_style_ = {pen.serial, x_scale, LineStyle(std::move(lengths))};
  }
  return thin_style_.style;
}

void CairoDevice::CollectThinRuns(const Dc &dc, std::span<const Figure> figures) {
  LineStyle &style = ThinStyleOf(dc);
  const RECT bounds{0, 0, geometry_.width_px, geometry_.height_px};
  thin_runs_.clear();
  for (const Figure &figure : figures) {
    thin_points_.clear();
    for (const POINT &p : figure.points) {
      double x, y;
      ToSurface(dc, p, &x, &y);
      thin_points_.push_back({RoundToLong(x), RoundToLong(y)});
    }
    AppendThinLinePixels(thin_points_, figure.closed, style, bounds, thin_runs_);
  }
}

// One-pixel lines light whole pixels; the gaps of a styled pen take the background colour
// when the background mode is opaque, as GDI paints them. In an opaque colour on an image
// they go straight into its pixels (a page of short lines would spend its time in cairo's
// painting steps), otherwise through cairo.
void CairoDevice::StrokeThin(Dc &dc, std::span<const Figure> figures) {
  CollectThinRuns(dc, figures);
  if (thin_runs_.empty()) return;
  const bool direct = PaintsDirectly(dc);
  if (direct) {
    StrokeRun();  // what was drawn before comes first
    if (!Paints(dc)) return;
  } else if (!Begin(dc)) {
    return;
  } else {
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  }
  auto paint = [&](bool ink, COLORREF colour) {
    if (direct)
      return pixels_.Paint(thin_runs_, ink, ToArgb(PaintedColour(dc, colour)), dc.state.clip);
    bool any = false;
    for (const PixelRun &run : thin_runs_) {
      if (run.ink != ink) continue;
      cairo_rectangle(cr_, run.x, run.y, run.width, run.height);
      any = true;
    }
    if (!any) return;
    SetColour(dc, colour);
    cairo_fill(cr_);
  };
  if (dc.state.bk_mode == OPAQUE) paint(false, dc.state.bk_colour);
  paint(true, dc.state.pen->colour);
  if (!direct) return End();
  if (painted_) {
    pixels_.Publish();  // an observer may read the pixels
    painted_();
  }
}

void CairoDevice::Fill(Dc &dc, std::span<const Figure> figures) {
  if (dc.path_open || !Begin(dc)) return;
  if (SetUpBrush(dc)) {
    // GDI lights the pixels whose top-left corners lie inside (right and bottom edges left
    // out); cairo without anti-aliasing samples pixel centres: just under half a pixel of
    // shift turns the one rule into the other.
    const double shift = Crisp() ? 0.5 - 1.0 / 64 : 0.0;
    if (Crisp()) cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    for (const Figure &figure : figures) AddFigure(dc, {figure.points, true}, shift);
    cairo_set_fill_rule(cr_, dc.state.poly_fill_mode == WINDING ? CAIRO_FILL_RULE_WINDING
                                                                : CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr_);
  }
  End();
}

}  // namespace tamvel::posix
