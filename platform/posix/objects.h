// The GDI object kinds of the stand-in. Creation calls copy what they are given, so an object
// never refers to caller memory or to another handle (a pattern brush keeps its own copy of
// the bitmap bits).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/posix/gdi_object.h"
#include "platform/posix/image_buffer.h"

namespace tamvel::posix {

struct Pen final : GdiObject {
  static constexpr ObjectKind kKind = ObjectKind::kPen;
  ObjectKind Kind() const override { return kKind; }
  DWORD Win32Type() const override { return extended ? OBJ_EXTPEN : OBJ_PEN; }
  std::vector<uint8_t> EncodeCreateRecord(uint32_t index, const Dc &dc) const override;

  bool extended = false;   // made by ExtCreatePen
  DWORD style = PS_SOLID;  // LOGPEN style, or the full ExtCreatePen style
  LONG width = 0;          // logical units; 0 is one device pixel
  COLORREF colour = 0;
  UINT brush_style = BS_SOLID;
  uintptr_t hatch = 0;
  std::vector<DWORD> style_entries;  // PS_USERSTYLE dash lengths

  DWORD LineStyle() const { return style & PS_STYLE_MASK; }
  bool IsNull() const { return LineStyle() == PS_NULL; }
  // True when the pen is drawn with its logical width (ExtCreatePen PS_GEOMETRIC, or a
  // CreatePenIndirect pen wider than one device pixel at `x_scale` device pixels per unit).
  bool IsGeometric(double x_scale) const;
  // Width in device pixels at `x_scale`, at least 1.
  double DeviceWidth(double x_scale) const;
  // The line style as dash and gap lengths in device pixels at `x_scale`, dash first; empty
  // for a solid line. Cosmetic pens use GDI's pixel patterns, geometric ones multiples of
  // their width; a CreatePenIndirect pen wider than a pixel is solid, as in GDI.
  std::vector<double> DevicePattern(double x_scale) const;
};

struct Brush final : GdiObject {
  static constexpr ObjectKind kKind = ObjectKind::kBrush;
  ObjectKind Kind() const override { return kKind; }
  DWORD Win32Type() const override { return OBJ_BRUSH; }
  std::vector<uint8_t> EncodeCreateRecord(uint32_t index, const Dc &dc) const override;

  UINT style = BS_SOLID;
  COLORREF colour = 0;
  uintptr_t hatch = 0;
  // BS_PATTERN: a 1-bpp bitmap, top-down rows padded to 16 bits as CreateBitmap takes them;
  // 0 bits paint in the text colour, 1 bits in the background colour.
  int pattern_width = 0;
  int pattern_height = 0;
  std::vector<uint8_t> pattern_bits;
};

struct Bitmap final : GdiObject {
  static constexpr ObjectKind kKind = ObjectKind::kBitmap;
  ObjectKind Kind() const override { return kKind; }
  DWORD Win32Type() const override { return OBJ_BITMAP; }

  int width = 0;
  int height = 0;
  int planes = 1;
  int bits_per_pixel = 1;
  std::vector<uint8_t> bits;  // top-down, each row padded to a multiple of 16 bits
  size_t RowBytes() const { return RowBytesFor(width, bits_per_pixel); }
  static size_t RowBytesFor(int width, int bits_per_pixel) {
    return (static_cast<size_t>(width) * bits_per_pixel + 15) / 16 * 2;
  }
};

struct Font final : GdiObject {
  static constexpr ObjectKind kKind = ObjectKind::kFont;
  ObjectKind Kind() const override { return kKind; }
  DWORD Win32Type() const override { return OBJ_FONT; }
  std::vector<uint8_t> EncodeCreateRecord(uint32_t index, const Dc &dc) const override;

  LOGFONTA log{};  // face name always NUL-terminated
};

// A region: y-x banded device rectangles, right/bottom exclusive, sorted top-to-bottom then
// left-to-right, non-overlapping. The region calls live with the clipping code.
struct Region final : GdiObject {
  static constexpr ObjectKind kKind = ObjectKind::kRegion;
  ObjectKind Kind() const override { return kKind; }
  DWORD Win32Type() const override { return OBJ_REGION; }

  std::vector<RECT> rects;
};

struct Palette final : GdiObject {
  static constexpr ObjectKind kKind = ObjectKind::kPalette;
  ObjectKind Kind() const override { return kKind; }
  DWORD Win32Type() const override { return OBJ_PAL; }
  std::vector<uint8_t> EncodeCreateRecord(uint32_t index, const Dc &dc) const override;

  std::vector<PALETTEENTRY> entries;
};

// A finished enhanced metafile: the complete file image, validated when it was loaded. Images
// never change, so copies of a metafile share one.
struct Metafile final : GdiObject {
  static constexpr ObjectKind kKind = ObjectKind::kMetafile;
  ObjectKind Kind() const override { return kKind; }
  DWORD Win32Type() const override { return OBJ_ENHMETAFILE; }

  std::shared_ptr<const ImageBuffer> image;
  std::span<const uint8_t> bytes() const { return image->bytes(); }
  ENHMETAHEADER Header() const;  // the 108-byte form, zero-filled past a shorter header
};

// The stock object with GetStockObject index `id`, or null for an unknown index.
std::shared_ptr<GdiObject> StockObject(int id);

// The colour a COLORREF stands for with `palette` selected: PALETTEINDEX takes the entry's RGB
// (out-of-range indexes the first entry), PALETTERGB drops its flag byte.
COLORREF ResolveColour(COLORREF colour, const Palette *palette);

}  // namespace tamvel::posix
