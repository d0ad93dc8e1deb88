// Creation and deletion of pens, brushes, bitmaps and fonts; GetObjectType.
#include "platform/posix/objects.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/posix/dc.h"
#include "platform/posix/handles.h"
#include "platform/posix/recorder.h"

namespace tamvel::posix {

namespace {

// Dash patterns of the styles: device pixels for cosmetic pens, multiples of the width for
// geometric ones.
constexpr std::array<double, 2> kCosmeticDash{18, 6};
constexpr std::array<double, 2> kCosmeticDot{3, 3};
constexpr std::array<double, 4> kCosmeticDashDot{9, 6, 3, 6};
constexpr std::array<double, 6> kCosmeticDashDotDot{9, 3, 3, 3, 3, 3};
constexpr std::array<double, 2> kGeometricDash{3, 1};
constexpr std::array<double, 2> kGeometricDot{1, 1};
constexpr std::array<double, 4> kGeometricDashDot{3, 1, 1, 1};
constexpr std::array<double, 6> kGeometricDashDotDot{3, 1, 1, 1, 1, 1};
constexpr size_t kMaxStyleEntries = 64;

}  // namespace

bool Pen::IsGeometric(double x_scale) const {
  if (extended) return (style & PS_TYPE_MASK) == PS_GEOMETRIC;
  return std::fabs(width * x_scale) > 1.0;
}

double Pen::DeviceWidth(double x_scale) const {
  if (extended && (style & PS_TYPE_MASK) != PS_GEOMETRIC) return 1.0;
  double w = std::fabs(width * x_scale);
  return w < 1.0 ? 1.0 : w;
}

std::vector<double> Pen::DevicePattern(double x_scale) const {
  const bool geometric = IsGeometric(x_scale);
  if (!extended && geometric) return {};
  std::vector<double> dashes;
  auto use = [&](auto const &cosmetic, auto const &multiples) {
    if (geometric) {
      for (double d : multiples) dashes.push_back(d * DeviceWidth(x_scale));
    } else {
      dashes.assign(cosmetic.begin(), cosmetic.end());
    }
  };
  switch (LineStyle()) {
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
      for (DWORD entry : style_entries) dashes.push_back(geometric ? entry * x_scale : entry);
      break;
    default:
      break;
  }
  const bool any_positive =
      std::any_of(dashes.begin(), dashes.end(), [](double d) { return d > 0; });
  if (!any_positive || dashes.size() > kMaxStyleEntries) dashes.clear();
  return dashes;
}

COLORREF ResolveColour(COLORREF colour, const Palette *palette) {
  if (colour >> 24 != 0x01) return colour & 0x00FFFFFF;  // RGB, or PALETTERGB's RGB
  if (!palette || palette->entries.empty()) return 0;
  const size_t index = colour & 0xFFFF;
  const PALETTEENTRY &e = palette->entries[index < palette->entries.size() ? index : 0];
  return RGB(e.peRed, e.peGreen, e.peBlue);
}

ENHMETAHEADER Metafile::Header() const {
  ENHMETAHEADER header{};
  const std::span<const uint8_t> image = bytes();
  std::memcpy(&header, image.data(), std::min(image.size(), sizeof header));
  if (header.nSize < sizeof header) {
    // Shorter header forms: clear what belongs to the records behind them.
    std::memset(reinterpret_cast<uint8_t *>(&header) + header.nSize, 0,
                sizeof header - header.nSize);
  }
  return header;
}

}  // namespace tamvel::posix

using namespace tamvel::posix;

namespace {

bool ValidPenStyle(DWORD style) { return (style & PS_STYLE_MASK) <= PS_INSIDEFRAME; }

}  // namespace

HPEN CreatePenIndirect(const LOGPEN *log) {
  if (!log || !ValidPenStyle(log->lopnStyle)) return nullptr;
  // As GDI does: every null pen is the stock one, so a recording selects it by its stock id.
  if ((log->lopnStyle & PS_STYLE_MASK) == PS_NULL)
    return static_cast<HPEN>(GetStockObject(NULL_PEN));
  auto pen = std::make_shared<Pen>();
  pen->style = log->lopnStyle & PS_STYLE_MASK;
  pen->width = log->lopnWidth.x < 0 ? 0 : log->lopnWidth.x;
  pen->colour = log->lopnColor;
  return AddHandle<HPEN>(std::move(pen));
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH *brush, DWORD style_count,
                  const DWORD *style_entries) {
  const bool geometric = (style & PS_TYPE_MASK) == PS_GEOMETRIC;
  const bool user_style = (style & PS_STYLE_MASK) == PS_USERSTYLE;
  if (!brush || (style & PS_TYPE_MASK) > PS_GEOMETRIC) return nullptr;
  if ((style & PS_STYLE_MASK) > PS_ALTERNATE) return nullptr;
  if (!geometric && width != 1) return nullptr;  // cosmetic pens are one pixel wide
  if (width > static_cast<DWORD>(std::numeric_limits<LONG>::max())) return nullptr;
  if (user_style ? (style_count == 0 || style_count > 16 || !style_entries) : style_count != 0)
    return nullptr;
  if (brush->lbStyle != BS_SOLID && brush->lbStyle != BS_NULL && brush->lbStyle != BS_HATCHED)
    return nullptr;
  auto pen = std::make_shared<Pen>();
  pen->extended = true;
  pen->style = style;
  pen->width = static_cast<LONG>(width);
  pen->colour = brush->lbColor;
  pen->brush_style = brush->lbStyle;
  pen->hatch = brush->lbHatch;
  if (user_style) pen->style_entries.assign(style_entries, style_entries + style_count);
  return AddHandle<HPEN>(std::move(pen));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH *log) {
  if (!log) return nullptr;
  // As GDI does: every hollow brush is the stock null brush.
  if (log->lbStyle == BS_NULL) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  auto brush = std::make_shared<Brush>();
  brush->style = log->lbStyle;
  brush->colour = log->lbColor;
  brush->hatch = log->lbHatch;
  switch (log->lbStyle) {
    case BS_SOLID:
    case BS_NULL:
      break;
    case BS_HATCHED:
      if (log->lbHatch > HS_DIAGCROSS) return nullptr;
      break;
    case BS_PATTERN: {
      // Only monochrome pattern bitmaps: the brush keeps its own copy of the bits.
      auto bitmap = std::static_pointer_cast<Bitmap>(
          LookupObject(static_cast<uint32_t>(log->lbHatch), ObjectKind::kBitmap));
      if (!bitmap || bitmap->bits_per_pixel != 1 || bitmap->planes != 1) return nullptr;
      brush->pattern_width = bitmap->width;
      brush->pattern_height = bitmap->height;
      brush->pattern_bits = bitmap->bits;
      brush->hatch = 0;
      break;
    }
    default:
      return nullptr;
  }
  return AddHandle<HBRUSH>(std::move(brush));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bits_per_pixel, const void *bits) {
  constexpr size_t kMaxBytes = size_t{1} << 28;
  if (width < 0 || height < 0 || planes != 1 || bits_per_pixel == 0 || bits_per_pixel > 32)
    return nullptr;
  if (width == 0 || height == 0) {  // GDI answers with a 1x1 monochrome bitmap
    width = height = 1;
    bits_per_pixel = 1;
    bits = nullptr;
  }
  size_t row = Bitmap::RowBytesFor(width, static_cast<int>(bits_per_pixel));
  if (row > kMaxBytes / static_cast<size_t>(height)) return nullptr;
  auto bitmap = std::make_shared<Bitmap>();
  bitmap->width = width;
  bitmap->height = height;
  bitmap->bits_per_pixel = static_cast<int>(bits_per_pixel);
  const auto *source = static_cast<const uint8_t *>(bits);
  if (source) {
    bitmap->bits.assign(source, source + row * height);
  } else {
    bitmap->bits.assign(row * height, 0);
  }
  return AddHandle<HBITMAP>(std::move(bitmap));
}

HFONT CreateFontIndirectA(const LOGFONTA *log) {
  if (!log) return nullptr;
  auto font = std::make_shared<Font>();
  font->log = *log;
  font->log.lfFaceName[LF_FACESIZE - 1] = '\0';
  return AddHandle<HFONT>(std::move(font));
}

BOOL DeleteObject(HGDIOBJ handle) {
  auto object = LookupAnyObject(ValueOf(handle));
  if (!object) return FALSE;
  if (object->IsStock()) return TRUE;
  switch (object->Kind()) {
    case ObjectKind::kPen:
    case ObjectKind::kBrush:
    case ObjectKind::kFont:
    case ObjectKind::kPalette:
      // Recordings that hold the object in their object table write EMR_DELETEOBJECT.
      ForEachDc([&](Dc &dc) {
        if (MetafileRecorder *recorder = dc.Recorder()) recorder->ForgetObject(*object);
      });
      break;
    case ObjectKind::kBitmap:
    case ObjectKind::kRegion:
      break;
    default:
      return FALSE;  // DCs, metafiles, windows have their own calls
  }
  return RemoveObject(object->handle) ? TRUE : FALSE;
}

DWORD GetObjectType(HGDIOBJ handle) {
  auto object = LookupAnyObject(ValueOf(handle));
  return object ? object->Win32Type() : 0;
}
