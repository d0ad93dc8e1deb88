// Enhanced-metafile decoder: walks an EMF image record by record, checks its structure and
// gives every record it knows a typed, bounds-checked view.
//
//   emf::DecodeResult r = emf::DecodeEmf(bytes, size);
//   if (!r.ok()) for (auto& p : r.problems) puts(p.ToString().c_str());
//   for (const emf::Record& rec : r.records)
//     if (auto* poly = rec.As<emf::Poly>()) DrawPolyline(poly->points);
//
// Guarantees: it never throws on bad input (only std::bad_alloc can escape), never reads outside
// the buffer, and every allocation is bounded by the size of the input: counts inside records
// are checked against the record before anything is allocated for them. The worst case, a file
// of 8-byte records, takes about 25 times the input size (one Record of ~200 bytes each).
//
// Views are made for replay: points are always int32 pairs whether the record stored 16- or
// 32-bit points; strings are UTF-16 as stored; colours are raw COLORREFs (0x00BBGGRR, a
// palette index keeps its 0x01 high byte). One view type serves every record with the same
// layout, so the record's `type` tells which call it was (e.g. `PointValue` is MOVETOEX, LINETO
// and every SET*ORGEX/SET*EXTEX; `Value` every record with one 32-bit parameter).
//
// A record that is too short for its type, or whose counts or offsets reach past its end,
// is kept as `Raw` and produces a problem; decoding goes on with the next record. A record
// whose Size is unusable (below 8, not a multiple of 4, past the end of the data) ends the walk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "platform/emf/emf_records.h"

namespace tamvel::emf {

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// RECTL as stored: which edges are inclusive depends on the record (bounds and frame are
// inclusive-inclusive; clip rectangles and region rectangles exclude right and bottom).
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Extent {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const Extent&, const Extent&) = default;
};

// One LOGPALETTE entry as stored (red, green, blue, flags).
struct PaletteEntry {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t flags = 0;
  friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

// XFORM: x' = x*m11 + y*m21 + dx, y' = x*m12 + y*m22 + dy.
struct Xform {
  float m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
};

// A device-independent bitmap carried by a record (pattern brushes, pens).
struct Dib {
  uint32_t header_size = 0;  // biSize; 0 when the record has no bitmap
  int32_t width = 0;
  int32_t height = 0;  // positive: bottom-up rows
  uint16_t planes = 0;
  uint16_t bit_count = 0;
  uint32_t compression = 0;
  uint32_t size_image = 0;
  uint32_t colors_used = 0;
  std::vector<uint32_t> colors;  // colour table after the header, as RGBQUAD dwords
  std::vector<uint8_t> bits;
};

// --- Record views -----------------------------------------------------------------------

// Unknown record types, and known ones that failed their checks. The bytes are in
// DecodeResult::RecordBytes().
struct Raw {};

// EMR_BEGINPATH, ENDPATH, CLOSEFIGURE, SAVEDC, REALIZEPALETTE, ABORTPATH, FLATTENPATH,
// WIDENPATH, SETMETARGN: records without parameters.
struct Empty {};

// EMR_HEADER with every field of the 108-byte form; fields the stored form lacks stay 0.
struct Header {
  Rect bounds;  // reference-device pixels, inclusive
  Rect frame;   // 0.01 mm, inclusive
  uint32_t signature = 0;
  uint32_t version = 0;
  uint32_t bytes = 0;
  uint32_t records = 0;
  uint16_t handles = 0;
  uint16_t reserved = 0;
  uint32_t description_chars = 0;  // nDescription, in UTF-16 units, NULs included
  uint32_t description_offset = 0;
  uint32_t palette_entries = 0;
  Extent device;       // pixels
  Extent millimeters;  // mm
  uint32_t pixel_format_size = 0;
  uint32_t pixel_format_offset = 0;
  uint32_t opengl = 0;
  Extent micrometers;
  uint32_t form_size = 0;  // 88, 100 or 108: how many header bytes are fields
  // nDescription units exactly as stored, embedded and final NULs included.
  std::u16string description;
  // The description split at its NULs, trailing empty parts dropped: {application, title}.
  std::vector<std::u16string> description_parts;
};

// EMR_EOF with the metafile palette.
struct Eof {
  std::vector<PaletteEntry> palette;
  uint32_t palette_offset = 0;
  uint32_t size_last = 0;
};

// One 32-bit parameter: SETMAPMODE, SETBKMODE, SETPOLYFILLMODE, SETROP2, SETSTRETCHBLTMODE,
// SETTEXTALIGN, SETICMMODE, SETLAYOUT, SETARCDIRECTION, SETMAPPERFLAGS, SETTEXTCOLOR,
// SETBKCOLOR (a COLORREF), SELECTOBJECT, DELETEOBJECT, SELECTPALETTE (an object index or
// kStockObjectFlag|id), SELECTCLIPPATH (a region mode), RESTOREDC (AsInt(): a relative level,
// usually -1) and SETMITERLIMIT (AsFloat(): writers store a FLOAT).
struct Value {
  uint32_t value = 0;
  int32_t AsInt() const { return static_cast<int32_t>(value); }
  float AsFloat() const;
};

// MOVETOEX, LINETO, SETWINDOWORGEX, SETVIEWPORTORGEX, SETBRUSHORGEX (x, y) and
// SETWINDOWEXTEX, SETVIEWPORTEXTEX (cx, cy in x, y); SETPIXELV's colour is not kept.
struct PointValue {
  Point point;
};

// ELLIPSE, RECTANGLE (box), INTERSECTCLIPRECT, EXCLUDECLIPRECT (logical, right/bottom
// exclusive) and the Bounds of FILLPATH, STROKEPATH, STROKEANDFILLPATH.
struct RectValue {
  Rect rect;
};

// ROUNDRECT: the box and the width and height of the ellipse that rounds its corners.
struct RoundRectValue {
  Rect box;
  Extent corner;
};

// ARC, ARCTO, CHORD, PIE: the box and the two radial end points.
struct ArcValue {
  Rect box;
  Point start;
  Point end;
};

// POLYLINE, POLYGON, POLYLINETO, POLYBEZIER, POLYBEZIERTO in both the 16-bit (…16 types) and
// the 32-bit form.
struct Poly {
  Rect bounds;
  bool short_points = false;  // stored as int16 pairs
  std::vector<Point> points;
};

// POLYPOLYLINE, POLYPOLYGON (16 and 32 bit): `counts[i]` points per figure, all figures'
// points one after the other in `points` (the counts add up to points.size()).
struct PolyPoly {
  Rect bounds;
  bool short_points = false;
  std::vector<uint32_t> counts;
  std::vector<Point> points;
};

// EMR_CREATEPEN (LOGPEN).
struct Pen {
  uint32_t index = 0;
  uint32_t style = 0;
  int32_t width = 0;  // lopnWidth.x, logical units; 0 = one pixel
  int32_t width_y = 0;
  uint32_t color = 0;
};

// EMR_EXTCREATEPEN (EXTLOGPEN32, optional DIB for pattern pens).
struct ExtPen {
  uint32_t index = 0;
  uint32_t style = 0;  // PS_GEOMETRIC | end cap | join | line style
  uint32_t width = 0;
  uint32_t brush_style = 0;
  uint32_t color = 0;
  uint32_t hatch = 0;
  std::vector<uint32_t> style_entries;  // PS_USERSTYLE dash lengths
  Dib dib;
};

// EMR_CREATEBRUSHINDIRECT (LOGBRUSH32).
struct Brush {
  uint32_t index = 0;
  uint32_t style = 0;  // BS_SOLID 0, BS_NULL 1, BS_HATCHED 2
  uint32_t color = 0;
  uint32_t hatch = 0;
};

// EMR_CREATEMONOBRUSH and EMR_CREATEDIBPATTERNBRUSHPT.
struct PatternBrush {
  uint32_t index = 0;
  uint32_t usage = 0;  // DIB_RGB_COLORS 0, DIB_PAL_COLORS 1, 2 = mono without colours
  Dib dib;
};

struct LogFont {
  int32_t height = 0;
  int32_t width = 0;
  int32_t escapement = 0;
  int32_t orientation = 0;
  int32_t weight = 0;
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strike_out = 0;
  uint8_t charset = 0;
  uint8_t out_precision = 0;
  uint8_t clip_precision = 0;
  uint8_t quality = 0;
  uint8_t pitch_and_family = 0;
  std::u16string face;  // up to the first NUL, at most 32 units
};

// EMR_EXTCREATEFONTINDIRECTW: LOGFONTW, plus the names of the LogFontExDv form (368 bytes).
struct Font {
  uint32_t index = 0;
  uint32_t elw_size = 0;  // bytes after ihFont: 92 (LogFont), 320 (Panose), ≥ 348 (ExDv)
  LogFont font;
  std::u16string full_name;  // ExDv and Panose forms; empty otherwise
  std::u16string style;
  std::u16string script;  // ExDv form only
};

// EMR_EXTTEXTOUTW and EMR_EXTTEXTOUTA (EMRTEXT).
struct Text {
  bool wide = true;  // …W: `text` holds the string; …A: `bytes` does
  Rect bounds;
  uint32_t graphics_mode = 0;
  float ex_scale = 0;
  float ey_scale = 0;
  Point reference;       // logical units
  uint32_t options = 0;  // ETO_* flags
  Rect rectangle;        // only meaningful when options has ETO_OPAQUE/ETO_CLIPPED
  std::u16string text;
  std::string bytes;
  std::vector<int32_t> dx;  // empty when the record has none (offDx 0)
};

// EMR_EXTSELECTCLIPRGN: mode (RGN_AND 1, OR 2, XOR 3, DIFF 4, COPY 5) and the region's
// rectangles in reference-device pixels; `has_region` false for cbRgnData 0 (reset).
struct ClipRegion {
  uint32_t mode = 0;
  bool has_region = false;
  Rect bound;
  std::vector<Rect> rects;
};

// EMR_CREATEPALETTE (LOGPALETTE).
struct Palette {
  uint32_t index = 0;
  uint16_t version = 0;  // 0x300
  std::vector<PaletteEntry> entries;
};

// EMR_SETPALETTEENTRIES.
struct PaletteEntries {
  uint32_t index = 0;
  uint32_t start = 0;
  std::vector<PaletteEntry> entries;
};

// EMR_RESIZEPALETTE.
struct PaletteSize {
  uint32_t index = 0;
  uint32_t count = 0;
};

// EMR_SCALEVIEWPORTEXTEX and EMR_SCALEWINDOWEXTEX: each extent becomes extent * num / denom.
struct ExtentScale {
  int32_t x_num = 1, x_denom = 1, y_num = 1, y_denom = 1;
};

// EMR_SETWORLDTRANSFORM (mode 0) and EMR_MODIFYWORLDTRANSFORM (MWT_IDENTITY 1,
// LEFTMULTIPLY 2, RIGHTMULTIPLY 3, SET 4).
struct WorldTransform {
  Xform xform;
  uint32_t mode = 0;
};

// EMR_GDICOMMENT: the comment bytes (the first dword of public comments is an identifier).
struct Comment {
  std::vector<uint8_t> data;
};

// EMR_BITBLT and EMR_STRETCHDIBITS: placement, raster operation and the bitmap (`dib`,
// header_size 0 for a BITBLT that only paints with the brush).
struct Blit {
  Rect bounds;
  Point dest;
  Extent dest_size;
  Point source;
  Extent source_size;  // STRETCHDIBITS only
  uint32_t rop = 0;
  uint32_t usage = 0;
  uint32_t bk_color = 0;  // BITBLT only
  Xform source_xform;     // BITBLT only
  uint32_t bmi_offset = 0, bmi_size = 0, bits_offset = 0, bits_size = 0;
  Dib dib;
};

// Every view; std::visit over a record's body with an overload for each is how the player,
// the text forms and the object checks take records apart, so a new view that one of them
// does not handle does not compile.
using Body =
    std::variant<Raw, Empty, Header, Eof, Value, PointValue, RectValue, RoundRectValue, ArcValue,
                 Poly, PolyPoly, Pen, ExtPen, Brush, PatternBrush, Font, Text, ClipRegion, Palette,
                 PaletteEntries, PaletteSize, WorldTransform, ExtentScale, Comment, Blit>;

struct Record {
  uint32_t type = 0;
  uint32_t size = 0;
  size_t offset = 0;  // from the start of the data
  Body body;

  // The typed view, or nullptr when this record has another (or no) view.
  template <typename T>
  const T* As() const {
    return std::get_if<T>(&body);
  }
  bool IsRaw() const { return std::holds_alternative<Raw>(body); }
};

struct Problem {
  size_t record_index = 0;  // 0 is the header; records.size() for "after the last record"
  size_t offset = 0;
  std::string message;
  // "record 17 at offset 0x1c4: size 12 runs past the end of the file"
  std::string ToString() const;
};

struct DecodeResult {
  std::vector<uint8_t> bytes;  // a copy of the decoded data
  std::vector<Record> records;
  std::vector<Problem> problems;

  bool ok() const { return problems.empty(); }
  // The header view, or nullptr when the data does not start with a usable header.
  const Header* header() const;
  // The bytes of one record (Type and Size included).
  const uint8_t* RecordBytes(const Record& record) const { return bytes.data() + record.offset; }
};

DecodeResult DecodeEmf(const uint8_t* data, size_t size);

// The same walk for a reader that uses each record once (the player): `visit` gets the records
// in order, the header first (offsets from `data`, which must stay valid), and returns false to
// stop. Nothing is copied or kept, and problems are not reported. False when `data` does not
// start with a header.
bool ForEachRecord(const uint8_t* data, size_t size,
                   const std::function<bool(const Record&)>& visit);

// "EMR_POLYLINE16" (the list of emf_records.h), or nullptr for a type not in the list.
const char* RecordName(uint32_t type);

}  // namespace tamvel::emf
