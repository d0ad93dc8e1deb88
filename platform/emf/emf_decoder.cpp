#include "platform/emf/emf_decoder.h"

#include <cstring>
#include <memory>
#include <utility>

#include "platform/emf/number_text.h"

namespace tamvel::emf {
namespace {

constexpr uint32_t kBaseHeaderSize = 88;         // without the pixel-format and micrometre fields
constexpr uint32_t kHeaderExtension1Size = 100;  // with the pixel-format fields
constexpr uint32_t kBitmapInfoHeaderSize = 40;
constexpr uint32_t kRegionHeaderSize = 32;
constexpr uint32_t kLogFontSize = 92;
constexpr uint32_t kFaceChars = 32;
constexpr uint32_t kFullNameChars = 64;
constexpr uint32_t kStyleChars = 32;
constexpr uint32_t kScriptChars = 32;
constexpr uint32_t kEtoNoRect = 0x100;
constexpr uint32_t kEtoPdy = 0x2000;
constexpr uint32_t kHighestStockObject = 19;  // DC_PEN
constexpr uint32_t kDefaultPalette = 15;

// Little-endian reads inside one record. Callers check sizes first; the reads check again and
// give 0 rather than reach outside the record.
class Fields {
 public:
  Fields(const uint8_t* data, uint32_t size) : data_(data), size_(size) {}

  uint32_t size() const { return size_; }
  bool Has(uint64_t offset, uint64_t length) const { return offset + length <= size_; }

  uint8_t U8(uint32_t off) const { return Has(off, 1) ? data_[off] : 0; }
  uint16_t U16(uint32_t off) const {
    return Has(off, 2) ? static_cast<uint16_t>(data_[off] | (data_[off + 1] << 8)) : 0;
  }
  uint32_t U32(uint32_t off) const {
    if (!Has(off, 4)) return 0;
    return static_cast<uint32_t>(data_[off]) | (static_cast<uint32_t>(data_[off + 1]) << 8) |
           (static_cast<uint32_t>(data_[off + 2]) << 16) |
           (static_cast<uint32_t>(data_[off + 3]) << 24);
  }
  int16_t I16(uint32_t off) const { return static_cast<int16_t>(U16(off)); }
  int32_t I32(uint32_t off) const { return static_cast<int32_t>(U32(off)); }
  float F32(uint32_t off) const {
    uint32_t bits = U32(off);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  Point PointAt(uint32_t off) const { return {I32(off), I32(off + 4)}; }
  Point Point16At(uint32_t off) const { return {I16(off), I16(off + 2)}; }
  Extent ExtentAt(uint32_t off) const { return {I32(off), I32(off + 4)}; }
  Rect RectAt(uint32_t off) const { return {I32(off), I32(off + 4), I32(off + 8), I32(off + 12)}; }
  Xform XformAt(uint32_t off) const {
    return {F32(off), F32(off + 4), F32(off + 8), F32(off + 12), F32(off + 16), F32(off + 20)};
  }
  PaletteEntry EntryAt(uint32_t off) const {
    return {U8(off), U8(off + 1), U8(off + 2), U8(off + 3)};
  }
  // `count` UTF-16 units; the caller has checked they fit.
  std::u16string Utf16At(uint32_t off, uint32_t count) const {
    std::u16string out;
    out.reserve(count);
    for (uint32_t i = 0; i < count; ++i) out.push_back(static_cast<char16_t>(U16(off + 2 * i)));
    return out;
  }
  // A fixed-size WCHAR array, up to its first NUL.
  std::u16string FixedUtf16At(uint32_t off, uint32_t max_chars) const {
    std::u16string out;
    for (uint32_t i = 0; i < max_chars && Has(off + 2 * i, 2); ++i) {
      char16_t c = static_cast<char16_t>(U16(off + 2 * i));
      if (c == 0) break;
      out.push_back(c);
    }
    return out;
  }
  std::vector<uint8_t> BytesAt(uint32_t off, uint32_t count) const {
    if (!Has(off, count)) return {};
    return std::vector<uint8_t>(data_ + off, data_ + off + count);
  }

 private:
  const uint8_t* data_;
  uint32_t size_;
};

// Collects the problems of one decode, tagged with the record being looked at.
class Reporter {
 public:
  explicit Reporter(std::vector<Problem>& problems) : problems_(problems) {}
  void At(size_t index, size_t offset) {
    index_ = index;
    offset_ = offset;
  }
  void Report(std::string message) { problems_.push_back({index_, offset_, std::move(message)}); }
  size_t count() const { return problems_.size(); }

 private:
  std::vector<Problem>& problems_;
  size_t index_ = 0;
  size_t offset_ = 0;
};

std::string TypeLabel(uint32_t type) {
  const char* name = RecordName(type);
  return name ? std::string(name) : "record type " + Num(type);
}

// Checks one part of a record against the record's size, reporting what does not fit.
class RecordChecker {
 public:
  RecordChecker(uint32_t type, const Fields& f, Reporter& reporter)
      : type_(type), f_(f), reporter_(reporter) {}

  bool MinSize(uint32_t needed) {
    if (f_.size() >= needed) return true;
    reporter_.Report("size " + Num(f_.size()) + " is too small for " + TypeLabel(type_) +
                     " (needs " + Num(needed) + ")");
    return false;
  }
  // `what` occupies `count` items of `item_size` bytes at `offset`.
  bool Fits(const char* what, uint64_t offset, uint64_t count, uint64_t item_size) {
    uint64_t length = count * item_size;  // counts are 32-bit, sizes tiny: no overflow
    if (f_.Has(offset, length)) return true;
    reporter_.Report(std::string(what) + " (" + Num(count) + (item_size == 1 ? " bytes" : "") +
                     " at offset " + Num(offset) + ") runs past the end of the record (size " +
                     Num(f_.size()) + ")");
    return false;
  }
  void Report(std::string message) { reporter_.Report(std::move(message)); }

 private:
  uint32_t type_;
  const Fields& f_;
  Reporter& reporter_;
};

bool IsStock(uint32_t handle) { return (handle & kStockObjectFlag) != 0; }

// Tracks the object table so that indices can be checked as records create, select and
// delete objects.
class ObjectTable {
 public:
  explicit ObjectTable(uint32_t handles) : used_(handles, 0) {}

  void Create(uint32_t index, Reporter& r) {
    if (!InTable(index, "creates", r)) return;
    if (used_[index]) r.Report("creates object " + Num(index) + " while that slot is still in use");
    used_[index] = 1;
  }
  void Use(uint32_t index, const char* verb, Reporter& r) {
    if (IsStock(index)) {
      uint32_t id = index & ~kStockObjectFlag;
      if (id > kHighestStockObject)
        r.Report(std::string(verb) + " unknown stock object " + Hex(index));
      return;
    }
    if (!InTable(index, verb, r)) return;
    if (!used_[index]) {
      r.Report(std::string(verb) + " object " + Num(index) + ", which does not exist");
    }
  }
  void Delete(uint32_t index, Reporter& r) {
    if (IsStock(index)) {
      r.Report("deletes stock object " + Hex(index));
      return;
    }
    Use(index, "deletes", r);
    if (index < used_.size()) used_[index] = 0;
  }

 private:
  bool InTable(uint32_t index, const char* verb, Reporter& r) {
    if (index == 0) {
      r.Report(std::string(verb) + " object 0, which is reserved");
      return false;
    }
    if (index >= used_.size()) {
      r.Report(std::string(verb) + " object " + Num(index) +
               " outside the object table (nHandles " + Num(used_.size()) + ")");
      return false;
    }
    return true;
  }

  std::vector<uint8_t> used_;
};

// Reads the DIB that a record locates with (offBmi, cbBmi, offBits, cbBits) at `fields_at`.
bool ReadDib(const Fields& f, RecordChecker& check, uint32_t fields_at, Dib& dib) {
  uint32_t off_bmi = f.U32(fields_at), cb_bmi = f.U32(fields_at + 4);
  uint32_t off_bits = f.U32(fields_at + 8), cb_bits = f.U32(fields_at + 12);
  if (!check.Fits("bitmap info", off_bmi, cb_bmi, 1) ||
      !check.Fits("bitmap bits", off_bits, cb_bits, 1)) {
    return false;
  }
  if (cb_bmi == 0) return true;
  if (cb_bmi < kBitmapInfoHeaderSize) {
    check.Report("bitmap info of " + Num(cb_bmi) + " bytes is shorter than a BITMAPINFOHEADER");
    return false;
  }
  dib.header_size = f.U32(off_bmi);
  if (dib.header_size < kBitmapInfoHeaderSize || dib.header_size > cb_bmi) {
    check.Report("bitmap header size " + Num(dib.header_size) + " does not fit its " + Num(cb_bmi) +
                 " bytes");
    return false;
  }
  dib.width = f.I32(off_bmi + 4);
  dib.height = f.I32(off_bmi + 8);
  dib.planes = f.U16(off_bmi + 12);
  dib.bit_count = f.U16(off_bmi + 14);
  dib.compression = f.U32(off_bmi + 16);
  dib.size_image = f.U32(off_bmi + 20);
  dib.colors_used = f.U32(off_bmi + 32);
  uint32_t color_count = (cb_bmi - dib.header_size) / 4;
  dib.colors.reserve(color_count);
  for (uint32_t i = 0; i < color_count; ++i)
    dib.colors.push_back(f.U32(off_bmi + dib.header_size + 4 * i));
  dib.bits = f.BytesAt(off_bits, cb_bits);
  return true;
}

Body DecodeHeader(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(kBaseHeaderSize)) return Raw{};
  Header h;
  h.bounds = f.RectAt(8);
  h.frame = f.RectAt(24);
  h.signature = f.U32(40);
  h.version = f.U32(44);
  h.bytes = f.U32(48);
  h.records = f.U32(52);
  h.handles = f.U16(56);
  h.reserved = f.U16(58);
  h.description_chars = f.U32(60);
  h.description_offset = f.U32(64);
  h.palette_entries = f.U32(68);
  h.device = f.ExtentAt(72);
  h.millimeters = f.ExtentAt(80);
  // The stored form is told apart by where the fields end: at the description when there is
  // one, else at the end of the record.
  uint32_t fields_end = f.size();
  if (h.description_offset != 0 && h.description_offset < fields_end)
    fields_end = h.description_offset;
  h.form_size = fields_end >= kHeaderSize             ? kHeaderSize
                : fields_end >= kHeaderExtension1Size ? kHeaderExtension1Size
                                                      : kBaseHeaderSize;
  if (h.form_size >= kHeaderExtension1Size) {
    h.pixel_format_size = f.U32(88);
    h.pixel_format_offset = f.U32(92);
    h.opengl = f.U32(96);
  }
  if (h.form_size >= kHeaderSize) h.micrometers = f.ExtentAt(100);

  if (h.signature != kSignature) check.Report("signature " + Hex(h.signature) + " is not \" EMF\"");
  if (h.version != kVersion) check.Report("version " + Hex(h.version) + " is not 0x10000");
  if (h.handles == 0) check.Report("nHandles is 0 (index 0 is reserved, so it must be at least 1)");
  if (h.reserved != 0) check.Report("sReserved is " + Num(h.reserved) + ", not 0");
  if (h.description_chars != 0) {
    if (h.description_offset < kBaseHeaderSize) {
      check.Report("description offset " + Num(h.description_offset) +
                   " lies inside the header fields");
    } else if (check.Fits("description", h.description_offset, h.description_chars, 2)) {
      h.description = f.Utf16At(h.description_offset, h.description_chars);
      std::u16string part;
      for (char16_t c : h.description) {
        if (c == 0) {
          h.description_parts.push_back(part);
          part.clear();
        } else {
          part.push_back(c);
        }
      }
      if (!part.empty()) h.description_parts.push_back(part);
      while (!h.description_parts.empty() && h.description_parts.back().empty()) {
        h.description_parts.pop_back();
      }
    }
  }
  if (h.pixel_format_size != 0) {
    check.Fits("pixel format", h.pixel_format_offset, h.pixel_format_size, 1);
  }
  return h;
}

Body DecodeEof(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(20)) return Raw{};
  Eof eof;
  uint32_t count = f.U32(8);
  eof.palette_offset = f.U32(12);
  eof.size_last = f.U32(f.size() - 4);
  if (eof.size_last != f.size()) {
    check.Report("nSizeLast " + Num(eof.size_last) + " differs from the record size " +
                 Num(f.size()));
  }
  if (count != 0) {
    // The entries must end before nSizeLast.
    if (uint64_t{eof.palette_offset} + uint64_t{count} * 4 > f.size() - 4) {
      check.Report("palette (" + Num(count) + " entries at offset " + Num(eof.palette_offset) +
                   ") runs past the end of the record (size " + Num(f.size()) + ")");
      return Raw{};
    }
    eof.palette.reserve(count);
    for (uint32_t i = 0; i < count; ++i)
      eof.palette.push_back(f.EntryAt(eof.palette_offset + 4 * i));
  }
  return eof;
}

Body DecodePoly(const Fields& f, RecordChecker& check, bool short_points) {
  if (!check.MinSize(28)) return Raw{};
  Poly poly;
  poly.bounds = f.RectAt(8);
  poly.short_points = short_points;
  uint32_t count = f.U32(24);
  uint32_t point_size = short_points ? 4 : 8;
  if (!check.Fits("points", 28, count, point_size)) return Raw{};
  poly.points.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t at = 28 + i * point_size;
    poly.points.push_back(short_points ? f.Point16At(at) : f.PointAt(at));
  }
  return poly;
}

Body DecodePolyPoly(const Fields& f, RecordChecker& check, bool short_points) {
  if (!check.MinSize(32)) return Raw{};
  PolyPoly poly;
  poly.bounds = f.RectAt(8);
  poly.short_points = short_points;
  uint32_t figures = f.U32(24);
  uint32_t count = f.U32(28);
  uint32_t point_size = short_points ? 4 : 8;
  if (!check.Fits("figure counts", 32, figures, 4)) return Raw{};
  uint64_t points_at = 32 + uint64_t{figures} * 4;
  if (!check.Fits("points", points_at, count, point_size)) return Raw{};
  uint64_t total = 0;
  poly.counts.reserve(figures);
  for (uint32_t i = 0; i < figures; ++i) {
    poly.counts.push_back(f.U32(32 + 4 * i));
    total += poly.counts.back();
  }
  if (total != count) {
    check.Report("figure counts add up to " + Num(total) + ", but cpts is " + Num(count));
    return Raw{};
  }
  poly.points.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t at = static_cast<uint32_t>(points_at) + i * point_size;
    poly.points.push_back(short_points ? f.Point16At(at) : f.PointAt(at));
  }
  return poly;
}

Body DecodeExtPen(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(52)) return Raw{};
  ExtPen pen;
  pen.index = f.U32(8);
  pen.style = f.U32(28);
  pen.width = f.U32(32);
  pen.brush_style = f.U32(36);
  pen.color = f.U32(40);
  pen.hatch = f.U32(44);
  uint32_t entries = f.U32(48);
  if (!check.Fits("style entries", 52, entries, 4)) return Raw{};
  pen.style_entries.reserve(entries);
  for (uint32_t i = 0; i < entries; ++i) pen.style_entries.push_back(f.U32(52 + 4 * i));
  if (!ReadDib(f, check, 12, pen.dib)) return Raw{};
  return pen;
}

Body DecodePatternBrush(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(32)) return Raw{};
  PatternBrush brush;
  brush.index = f.U32(8);
  brush.usage = f.U32(12);
  if (!ReadDib(f, check, 16, brush.dib)) return Raw{};
  return brush;
}

Body DecodeFont(const Fields& f, RecordChecker& check) {
  constexpr uint32_t kElw = 12;
  if (!check.MinSize(kElw + kLogFontSize)) return Raw{};
  Font font;
  font.index = f.U32(8);
  font.elw_size = f.size() - kElw;
  LogFont& lf = font.font;
  lf.height = f.I32(kElw);
  lf.width = f.I32(kElw + 4);
  lf.escapement = f.I32(kElw + 8);
  lf.orientation = f.I32(kElw + 12);
  lf.weight = f.I32(kElw + 16);
  lf.italic = f.U8(kElw + 20);
  lf.underline = f.U8(kElw + 21);
  lf.strike_out = f.U8(kElw + 22);
  lf.charset = f.U8(kElw + 23);
  lf.out_precision = f.U8(kElw + 24);
  lf.clip_precision = f.U8(kElw + 25);
  lf.quality = f.U8(kElw + 26);
  lf.pitch_and_family = f.U8(kElw + 27);
  lf.face = f.FixedUtf16At(kElw + 28, kFaceChars);
  // The Panose and ExDv forms both continue with the full name and the style.
  uint32_t full_name_at = kElw + kLogFontSize;
  uint32_t style_at = full_name_at + 2 * kFullNameChars;
  uint32_t script_at = style_at + 2 * kStyleChars;
  if (f.Has(style_at, 2 * kStyleChars)) {
    font.full_name = f.FixedUtf16At(full_name_at, kFullNameChars);
    font.style = f.FixedUtf16At(style_at, kStyleChars);
  }
  // Only the ExDv form (elw larger than a LogFontPanose) has a script name.
  constexpr uint32_t kLogFontPanoseSize = 320;
  if (font.elw_size > kLogFontPanoseSize && f.Has(script_at, 2 * kScriptChars)) {
    font.script = f.FixedUtf16At(script_at, kScriptChars);
  }
  return font;
}

Body DecodeText(const Fields& f, RecordChecker& check, bool wide) {
  if (!check.MinSize(60)) return Raw{};
  Text text;
  text.wide = wide;
  text.bounds = f.RectAt(8);
  text.graphics_mode = f.U32(24);
  text.ex_scale = f.F32(28);
  text.ey_scale = f.F32(32);
  text.reference = f.PointAt(36);
  uint32_t chars = f.U32(44);
  uint32_t string_at = f.U32(48);
  text.options = f.U32(52);
  uint32_t dx_field = 56;
  if ((text.options & kEtoNoRect) == 0) {
    if (!check.MinSize(76)) return Raw{};
    text.rectangle = f.RectAt(56);
    dx_field = 72;
  }
  uint32_t dx_at = f.U32(dx_field);
  if (!check.Fits("string", string_at, chars, wide ? 2 : 1)) return Raw{};
  uint64_t dx_count = uint64_t{chars} * ((text.options & kEtoPdy) ? 2 : 1);
  if (dx_at != 0 && !check.Fits("Dx array", dx_at, dx_count, 4)) return Raw{};
  if (wide) {
    text.text = f.Utf16At(string_at, chars);
  } else {
    std::vector<uint8_t> bytes = f.BytesAt(string_at, chars);
    text.bytes.assign(bytes.begin(), bytes.end());
  }
  if (dx_at != 0) {
    text.dx.reserve(dx_count);
    for (uint64_t i = 0; i < dx_count; ++i)
      text.dx.push_back(f.I32(static_cast<uint32_t>(dx_at + 4 * i)));
  }
  return text;
}

Body DecodeClipRegion(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(16)) return Raw{};
  ClipRegion clip;
  uint32_t data_size = f.U32(8);
  clip.mode = f.U32(12);
  if (data_size == 0) return clip;
  if (!check.Fits("region data", 16, data_size, 1)) return Raw{};
  if (data_size < kRegionHeaderSize) {
    check.Report("region data of " + Num(data_size) + " bytes is shorter than its header");
    return Raw{};
  }
  clip.has_region = true;
  uint32_t rect_count = f.U32(24);
  clip.bound = f.RectAt(32);
  uint64_t rects_at = 16 + kRegionHeaderSize;
  if (uint64_t{rect_count} * 16 > data_size - kRegionHeaderSize) {
    check.Report("region rectangles (" + Num(rect_count) + ") run past cbRgnData " +
                 Num(data_size));
    return Raw{};
  }
  clip.rects.reserve(rect_count);
  for (uint32_t i = 0; i < rect_count; ++i)
    clip.rects.push_back(f.RectAt(static_cast<uint32_t>(rects_at + 16 * i)));
  return clip;
}

std::vector<PaletteEntry> ReadEntries(const Fields& f, uint32_t at, uint32_t count) {
  std::vector<PaletteEntry> entries;
  entries.reserve(count);
  for (uint32_t i = 0; i < count; ++i) entries.push_back(f.EntryAt(at + 4 * i));
  return entries;
}

Body DecodePalette(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(16)) return Raw{};
  Palette palette;
  palette.index = f.U32(8);
  palette.version = f.U16(12);
  uint16_t count = f.U16(14);
  if (!check.Fits("palette entries", 16, count, 4)) return Raw{};
  palette.entries = ReadEntries(f, 16, count);
  return palette;
}

Body DecodePaletteEntries(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(20)) return Raw{};
  PaletteEntries set;
  set.index = f.U32(8);
  set.start = f.U32(12);
  uint32_t count = f.U32(16);
  if (!check.Fits("palette entries", 20, count, 4)) return Raw{};
  set.entries = ReadEntries(f, 20, count);
  return set;
}

Body DecodeComment(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(12)) return Raw{};
  uint32_t count = f.U32(8);
  if (!check.Fits("comment data", 12, count, 1)) return Raw{};
  return Comment{f.BytesAt(12, count)};
}

Body DecodeBlit(uint32_t type, const Fields& f, RecordChecker& check) {
  Blit blit;
  blit.bounds = f.RectAt(8);
  blit.dest = f.PointAt(24);
  uint32_t bmi_fields;
  if (type == EMR_BITBLT) {
    if (!check.MinSize(100)) return Raw{};
    blit.dest_size = f.ExtentAt(32);
    blit.rop = f.U32(40);
    blit.source = f.PointAt(44);
    blit.source_xform = f.XformAt(52);
    blit.bk_color = f.U32(76);
    blit.usage = f.U32(80);
    bmi_fields = 84;
  } else {
    if (!check.MinSize(80)) return Raw{};
    blit.source = f.PointAt(32);
    blit.source_size = f.ExtentAt(40);
    blit.usage = f.U32(64);
    blit.rop = f.U32(68);
    blit.dest_size = f.ExtentAt(72);
    bmi_fields = 48;
  }
  blit.bmi_offset = f.U32(bmi_fields);
  blit.bmi_size = f.U32(bmi_fields + 4);
  blit.bits_offset = f.U32(bmi_fields + 8);
  blit.bits_size = f.U32(bmi_fields + 12);
  if (!ReadDib(f, check, bmi_fields, blit.dib)) return Raw{};
  return blit;
}

Body DecodeBody(uint32_t type, const Fields& f, RecordChecker& check) {
  switch (type) {
    case EMR_HEADER:
      return DecodeHeader(f, check);
    case EMR_EOF:
      return DecodeEof(f, check);

    case EMR_BEGINPATH:
    case EMR_ENDPATH:
    case EMR_CLOSEFIGURE:
    case EMR_SAVEDC:
    case EMR_REALIZEPALETTE:
    case EMR_ABORTPATH:
    case EMR_FLATTENPATH:
    case EMR_WIDENPATH:
    case EMR_SETMETARGN:
      return Empty{};

    case EMR_SETMAPMODE:
    case EMR_SETBKMODE:
    case EMR_SETPOLYFILLMODE:
    case EMR_SETROP2:
    case EMR_SETSTRETCHBLTMODE:
    case EMR_SETTEXTALIGN:
    case EMR_SETICMMODE:
    case EMR_SETLAYOUT:
    case EMR_SETARCDIRECTION:
    case EMR_SETMAPPERFLAGS:
    case EMR_SETTEXTCOLOR:
    case EMR_SETBKCOLOR:
    case EMR_SELECTOBJECT:
    case EMR_DELETEOBJECT:
    case EMR_SELECTPALETTE:
    case EMR_SELECTCLIPPATH:
    case EMR_RESTOREDC:
    case EMR_SETMITERLIMIT:
      if (!check.MinSize(12)) return Raw{};
      return Value{f.U32(8)};

    case EMR_MOVETOEX:
    case EMR_LINETO:
    case EMR_SETWINDOWORGEX:
    case EMR_SETVIEWPORTORGEX:
    case EMR_SETBRUSHORGEX:
    case EMR_SETWINDOWEXTEX:
    case EMR_SETVIEWPORTEXTEX:
    case EMR_SETPIXELV:
      if (!check.MinSize(type == EMR_SETPIXELV ? 20 : 16)) return Raw{};
      return PointValue{f.PointAt(8)};

    case EMR_ELLIPSE:
    case EMR_RECTANGLE:
    case EMR_INTERSECTCLIPRECT:
    case EMR_EXCLUDECLIPRECT:
    case EMR_FILLPATH:
    case EMR_STROKEPATH:
    case EMR_STROKEANDFILLPATH:
      if (!check.MinSize(24)) return Raw{};
      return RectValue{f.RectAt(8)};

    case EMR_ARC:
    case EMR_ARCTO:
    case EMR_CHORD:
    case EMR_PIE:
      if (!check.MinSize(40)) return Raw{};
      return ArcValue{f.RectAt(8), f.PointAt(24), f.PointAt(32)};

    case EMR_POLYLINE:
    case EMR_POLYGON:
    case EMR_POLYLINETO:
    case EMR_POLYBEZIER:
    case EMR_POLYBEZIERTO:
      return DecodePoly(f, check, false);
    case EMR_POLYLINE16:
    case EMR_POLYGON16:
    case EMR_POLYLINETO16:
    case EMR_POLYBEZIER16:
    case EMR_POLYBEZIERTO16:
      return DecodePoly(f, check, true);
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYGON:
      return DecodePolyPoly(f, check, false);
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON16:
      return DecodePolyPoly(f, check, true);

    case EMR_CREATEPEN:
      if (!check.MinSize(28)) return Raw{};
      return Pen{f.U32(8), f.U32(12), f.I32(16), f.I32(20), f.U32(24)};
    case EMR_EXTCREATEPEN:
      return DecodeExtPen(f, check);
    case EMR_CREATEBRUSHINDIRECT:
      if (!check.MinSize(24)) return Raw{};
      return Brush{f.U32(8), f.U32(12), f.U32(16), f.U32(20)};
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT:
      return DecodePatternBrush(f, check);
    case EMR_EXTCREATEFONTINDIRECTW:
      return DecodeFont(f, check);

    case EMR_EXTTEXTOUTW:
      return DecodeText(f, check, true);
    case EMR_EXTTEXTOUTA:
      return DecodeText(f, check, false);

    case EMR_EXTSELECTCLIPRGN:
      return DecodeClipRegion(f, check);

    case EMR_CREATEPALETTE:
      return DecodePalette(f, check);
    case EMR_SETPALETTEENTRIES:
      return DecodePaletteEntries(f, check);
    case EMR_RESIZEPALETTE:
      if (!check.MinSize(16)) return Raw{};
      return PaletteSize{f.U32(8), f.U32(12)};

    case EMR_SETWORLDTRANSFORM:
      if (!check.MinSize(32)) return Raw{};
      return WorldTransform{f.XformAt(8), 0};
    case EMR_MODIFYWORLDTRANSFORM:
      if (!check.MinSize(36)) return Raw{};
      return WorldTransform{f.XformAt(8), f.U32(32)};
    case EMR_SCALEVIEWPORTEXTEX:
    case EMR_SCALEWINDOWEXTEX:
      if (!check.MinSize(24)) return Raw{};
      return ExtentScale{f.I32(8), f.I32(12), f.I32(16), f.I32(20)};

    case EMR_GDICOMMENT:
      return DecodeComment(f, check);
    case EMR_BITBLT:
    case EMR_STRETCHDIBITS:
      return DecodeBlit(type, f, check);
    default:
      return Raw{};
  }
}

// Object-table bookkeeping for the records that create, select or delete objects.
void TrackObjects(uint32_t type, const Body& body, ObjectTable& table, Reporter& r) {
  auto created = [&](uint32_t index) { table.Create(index, r); };
  if (auto* v = std::get_if<Value>(&body)) {
    if (type == EMR_SELECTOBJECT) table.Use(v->value, "selects", r);
    if (type == EMR_DELETEOBJECT) table.Delete(v->value, r);
    if (type == EMR_SELECTPALETTE) {
      if (IsStock(v->value) && (v->value & ~kStockObjectFlag) != kDefaultPalette) {
        r.Report("selects stock object " + Hex(v->value) + " as a palette");
      } else {
        table.Use(v->value, "selects", r);
      }
    }
  } else if (auto* pen = std::get_if<Pen>(&body)) {
    created(pen->index);
  } else if (auto* ext_pen = std::get_if<ExtPen>(&body)) {
    created(ext_pen->index);
  } else if (auto* brush = std::get_if<Brush>(&body)) {
    created(brush->index);
  } else if (auto* pattern = std::get_if<PatternBrush>(&body)) {
    created(pattern->index);
  } else if (auto* font = std::get_if<Font>(&body)) {
    created(font->index);
  } else if (auto* palette = std::get_if<Palette>(&body)) {
    created(palette->index);
  } else if (auto* entries = std::get_if<PaletteEntries>(&body)) {
    table.Use(entries->index, "changes", r);
  } else if (auto* resize = std::get_if<PaletteSize>(&body)) {
    table.Use(resize->index, "resizes", r);
  }
}

// Where a walk over the records ended.
struct WalkEnd {
  size_t offset = 0;  // of the first byte not walked
  size_t count = 0;   // records decoded
  bool eof_seen = false;
};

// Decodes the records of `bytes` in order and hands each to `take` (false stops the walk);
// stops at a record whose size is unusable. The first record must be a header.
template <typename Take>
WalkEnd WalkRecords(const uint8_t* bytes, size_t size, Reporter& reporter, Take take) {
  WalkEnd end;
  std::unique_ptr<ObjectTable> objects;
  while (end.offset < size) {
    const size_t index = end.count;
    const size_t offset = end.offset;
    reporter.At(index, offset);
    size_t left = size - offset;
    if (left < 8) {
      reporter.Report("only " + Num(left) + " bytes are left, too few for a record");
      break;
    }
    Fields head(bytes + offset, 8);
    uint32_t type = head.U32(0);
    uint32_t record_size = head.U32(4);
    if (record_size < 8) {
      reporter.Report("size " + Num(record_size) + " is smaller than a record's 8-byte head");
      break;
    }
    if (record_size % 4 != 0) {
      reporter.Report("size " + Num(record_size) + " is not a multiple of 4");
      break;
    }
    if (record_size > left) {
      reporter.Report("size " + Num(record_size) + " runs past the end of the file");
      break;
    }
    if (end.eof_seen) reporter.Report(TypeLabel(type) + " follows EMR_EOF");
    if (index > 0 && type == EMR_HEADER) reporter.Report("a second EMR_HEADER");

    Fields fields(bytes + offset, record_size);
    RecordChecker check(type, fields, reporter);
    Record record{type, record_size, offset, DecodeBody(type, fields, check)};
    if (index == 0) {
      const Header* header = record.As<Header>();
      objects = std::make_unique<ObjectTable>(header ? header->handles : 0);
    } else if (objects) {
      TrackObjects(type, record.body, *objects, reporter);
    }
    if (type == EMR_EOF) end.eof_seen = true;
    end.offset += record_size;
    ++end.count;
    if (!take(std::move(record))) break;
  }
  return end;
}

// The start every walk checks: enough bytes for a record, and a header first.
bool StartsLikeEmf(const uint8_t* bytes, size_t size, Reporter& reporter) {
  if (size < 8) {
    reporter.Report("the data is " + Num(size) + " bytes long, too short for an enhanced metafile");
    return false;
  }
  Fields first(bytes, 8);
  if (first.U32(0) != EMR_HEADER) {
    reporter.Report("not an enhanced metafile: the first record has type " + Num(first.U32(0)) +
                    ", not EMR_HEADER");
    return false;
  }
  return true;
}

}  // namespace

float Value::AsFloat() const {
  float f;
  std::memcpy(&f, &value, sizeof f);
  return f;
}

std::string Problem::ToString() const {
  return "record " + Num(record_index) + " at offset " + Hex(offset) + ": " + message;
}

const Header* DecodeResult::header() const {
  return records.empty() ? nullptr : records.front().As<Header>();
}

DecodeResult DecodeEmf(const uint8_t* data, size_t size) {
  DecodeResult result;
  if (data == nullptr) size = 0;
  if (size != 0) result.bytes.assign(data, data + size);
  Reporter reporter(result.problems);
  const uint8_t* bytes = result.bytes.data();
  if (!StartsLikeEmf(bytes, size, reporter)) return result;
  const WalkEnd end = WalkRecords(bytes, size, reporter, [&](Record&& record) {
    result.records.push_back(std::move(record));
    return true;
  });
  const bool eof_seen = end.eof_seen;
  const size_t offset = end.offset;

  reporter.At(0, 0);
  const Header* header = result.header();
  if (header != nullptr) {
    if (header->bytes != size) {
      reporter.Report("header nBytes " + Num(header->bytes) + " differs from the data length " +
                      Num(size));
    }
    if (header->records != result.records.size()) {
      reporter.Report("header nRecords " + Num(header->records) + " differs from the " +
                      Num(result.records.size()) + " records found");
    }
  }
  const Record* last = result.records.empty() ? nullptr : &result.records.back();
  if (!eof_seen) {
    reporter.At(result.records.size(), offset);
    reporter.Report("the file ends without an EMR_EOF record");
  } else if (last->type == EMR_EOF && header != nullptr) {
    const Eof* eof = last->As<Eof>();
    if (eof != nullptr && eof->palette.size() != header->palette_entries) {
      reporter.At(result.records.size() - 1, last->offset);
      reporter.Report("EMR_EOF holds " + Num(eof->palette.size()) +
                      " palette entries, header nPalEntries says " + Num(header->palette_entries));
    }
  }
  return result;
}

bool ForEachRecord(const uint8_t* data, size_t size,
                   const std::function<bool(const Record&)>& visit) {
  std::vector<Problem> problems;  // not kept: the caller skips what it cannot use
  Reporter reporter(problems);
  if (data == nullptr || !StartsLikeEmf(data, size, reporter)) return false;
  WalkRecords(data, size, reporter, [&](Record&& record) {
    problems.clear();
    return visit(record);
  });
  return true;
}

const char* RecordName(uint32_t type) {
  switch (type) {
#define TAMVEL_EMF_NAME(name) \
  case name:                  \
    return #name;
    TAMVEL_EMF_NAME(EMR_HEADER)
    TAMVEL_EMF_NAME(EMR_POLYBEZIER)
    TAMVEL_EMF_NAME(EMR_POLYGON)
    TAMVEL_EMF_NAME(EMR_POLYLINE)
    TAMVEL_EMF_NAME(EMR_POLYBEZIERTO)
    TAMVEL_EMF_NAME(EMR_POLYLINETO)
    TAMVEL_EMF_NAME(EMR_POLYPOLYLINE)
    TAMVEL_EMF_NAME(EMR_POLYPOLYGON)
    TAMVEL_EMF_NAME(EMR_SETWINDOWEXTEX)
    TAMVEL_EMF_NAME(EMR_SETWINDOWORGEX)
    TAMVEL_EMF_NAME(EMR_SETVIEWPORTEXTEX)
    TAMVEL_EMF_NAME(EMR_SETVIEWPORTORGEX)
    TAMVEL_EMF_NAME(EMR_SETBRUSHORGEX)
    TAMVEL_EMF_NAME(EMR_EOF)
    TAMVEL_EMF_NAME(EMR_SETPIXELV)
    TAMVEL_EMF_NAME(EMR_SETMAPPERFLAGS)
    TAMVEL_EMF_NAME(EMR_SETMAPMODE)
    TAMVEL_EMF_NAME(EMR_SETBKMODE)
    TAMVEL_EMF_NAME(EMR_SETPOLYFILLMODE)
    TAMVEL_EMF_NAME(EMR_SETROP2)
    TAMVEL_EMF_NAME(EMR_SETSTRETCHBLTMODE)
    TAMVEL_EMF_NAME(EMR_SETTEXTALIGN)
    TAMVEL_EMF_NAME(EMR_SETCOLORADJUSTMENT)
    TAMVEL_EMF_NAME(EMR_SETTEXTCOLOR)
    TAMVEL_EMF_NAME(EMR_SETBKCOLOR)
    TAMVEL_EMF_NAME(EMR_OFFSETCLIPRGN)
    TAMVEL_EMF_NAME(EMR_MOVETOEX)
    TAMVEL_EMF_NAME(EMR_SETMETARGN)
    TAMVEL_EMF_NAME(EMR_EXCLUDECLIPRECT)
    TAMVEL_EMF_NAME(EMR_INTERSECTCLIPRECT)
    TAMVEL_EMF_NAME(EMR_SCALEVIEWPORTEXTEX)
    TAMVEL_EMF_NAME(EMR_SCALEWINDOWEXTEX)
    TAMVEL_EMF_NAME(EMR_SAVEDC)
    TAMVEL_EMF_NAME(EMR_RESTOREDC)
    TAMVEL_EMF_NAME(EMR_SETWORLDTRANSFORM)
    TAMVEL_EMF_NAME(EMR_MODIFYWORLDTRANSFORM)
    TAMVEL_EMF_NAME(EMR_SELECTOBJECT)
    TAMVEL_EMF_NAME(EMR_CREATEPEN)
    TAMVEL_EMF_NAME(EMR_CREATEBRUSHINDIRECT)
    TAMVEL_EMF_NAME(EMR_DELETEOBJECT)
    TAMVEL_EMF_NAME(EMR_ANGLEARC)
    TAMVEL_EMF_NAME(EMR_ELLIPSE)
    TAMVEL_EMF_NAME(EMR_RECTANGLE)
    TAMVEL_EMF_NAME(EMR_ROUNDRECT)
    TAMVEL_EMF_NAME(EMR_ARC)
    TAMVEL_EMF_NAME(EMR_CHORD)
    TAMVEL_EMF_NAME(EMR_PIE)
    TAMVEL_EMF_NAME(EMR_SELECTPALETTE)
    TAMVEL_EMF_NAME(EMR_CREATEPALETTE)
    TAMVEL_EMF_NAME(EMR_SETPALETTEENTRIES)
    TAMVEL_EMF_NAME(EMR_RESIZEPALETTE)
    TAMVEL_EMF_NAME(EMR_REALIZEPALETTE)
    TAMVEL_EMF_NAME(EMR_EXTFLOODFILL)
    TAMVEL_EMF_NAME(EMR_LINETO)
    TAMVEL_EMF_NAME(EMR_ARCTO)
    TAMVEL_EMF_NAME(EMR_POLYDRAW)
    TAMVEL_EMF_NAME(EMR_SETARCDIRECTION)
    TAMVEL_EMF_NAME(EMR_SETMITERLIMIT)
    TAMVEL_EMF_NAME(EMR_BEGINPATH)
    TAMVEL_EMF_NAME(EMR_ENDPATH)
    TAMVEL_EMF_NAME(EMR_CLOSEFIGURE)
    TAMVEL_EMF_NAME(EMR_FILLPATH)
    TAMVEL_EMF_NAME(EMR_STROKEANDFILLPATH)
    TAMVEL_EMF_NAME(EMR_STROKEPATH)
    TAMVEL_EMF_NAME(EMR_FLATTENPATH)
    TAMVEL_EMF_NAME(EMR_WIDENPATH)
    TAMVEL_EMF_NAME(EMR_SELECTCLIPPATH)
    TAMVEL_EMF_NAME(EMR_ABORTPATH)
    TAMVEL_EMF_NAME(EMR_GDICOMMENT)
    TAMVEL_EMF_NAME(EMR_FILLRGN)
    TAMVEL_EMF_NAME(EMR_FRAMERGN)
    TAMVEL_EMF_NAME(EMR_INVERTRGN)
    TAMVEL_EMF_NAME(EMR_PAINTRGN)
    TAMVEL_EMF_NAME(EMR_EXTSELECTCLIPRGN)
    TAMVEL_EMF_NAME(EMR_BITBLT)
    TAMVEL_EMF_NAME(EMR_STRETCHBLT)
    TAMVEL_EMF_NAME(EMR_MASKBLT)
    TAMVEL_EMF_NAME(EMR_PLGBLT)
    TAMVEL_EMF_NAME(EMR_SETDIBITSTODEVICE)
    TAMVEL_EMF_NAME(EMR_STRETCHDIBITS)
    TAMVEL_EMF_NAME(EMR_EXTCREATEFONTINDIRECTW)
    TAMVEL_EMF_NAME(EMR_EXTTEXTOUTA)
    TAMVEL_EMF_NAME(EMR_EXTTEXTOUTW)
    TAMVEL_EMF_NAME(EMR_POLYBEZIER16)
    TAMVEL_EMF_NAME(EMR_POLYGON16)
    TAMVEL_EMF_NAME(EMR_POLYLINE16)
    TAMVEL_EMF_NAME(EMR_POLYBEZIERTO16)
    TAMVEL_EMF_NAME(EMR_POLYLINETO16)
    TAMVEL_EMF_NAME(EMR_POLYPOLYLINE16)
    TAMVEL_EMF_NAME(EMR_POLYPOLYGON16)
    TAMVEL_EMF_NAME(EMR_POLYDRAW16)
    TAMVEL_EMF_NAME(EMR_CREATEMONOBRUSH)
    TAMVEL_EMF_NAME(EMR_CREATEDIBPATTERNBRUSHPT)
    TAMVEL_EMF_NAME(EMR_EXTCREATEPEN)
    TAMVEL_EMF_NAME(EMR_POLYTEXTOUTA)
    TAMVEL_EMF_NAME(EMR_POLYTEXTOUTW)
    TAMVEL_EMF_NAME(EMR_SETICMMODE)
    TAMVEL_EMF_NAME(EMR_CREATECOLORSPACE)
    TAMVEL_EMF_NAME(EMR_SETCOLORSPACE)
    TAMVEL_EMF_NAME(EMR_DELETECOLORSPACE)
    TAMVEL_EMF_NAME(EMR_SETLAYOUT)
#undef TAMVEL_EMF_NAME
    default:
      return nullptr;
  }
}

}  // namespace tamvel::emf
