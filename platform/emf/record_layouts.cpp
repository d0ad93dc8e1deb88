// The record readers, one per layout named in the record list (TAMVEL_EMF_RECORD_TYPES):
// each checks its record's size, counts and offsets before it reads or allocates.
#include "platform/emf/record_reading.h"

namespace tamvel::emf::reading {
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

Body DecodeBlit(bool stretch, const Fields& f, RecordChecker& check) {
  Blit blit;
  blit.bounds = f.RectAt(8);
  blit.dest = f.PointAt(24);
  uint32_t bmi_fields;
  if (!stretch) {
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

// The readers the record list names by layout (TAMVEL_EMF_RECORD_TYPES), one per layout.
Body DecodeUndecoded(const Fields&, RecordChecker&) { return Raw{}; }
Body DecodeEmpty(const Fields&, RecordChecker&) { return Empty{}; }

Body DecodeValue(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(12)) return Raw{};
  return Value{f.U32(8)};
}

Body DecodePointValue(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(16)) return Raw{};
  return PointValue{f.PointAt(8)};
}

Body DecodePixelV(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(20)) return Raw{};  // the point and a colour that is not kept
  return PointValue{f.PointAt(8)};
}

Body DecodeRectValue(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(24)) return Raw{};
  return RectValue{f.RectAt(8)};
}

Body DecodeRoundRect(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(32)) return Raw{};
  return RoundRectValue{f.RectAt(8), f.ExtentAt(24)};
}

Body DecodeArcValue(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(40)) return Raw{};
  return ArcValue{f.RectAt(8), f.PointAt(24), f.PointAt(32)};
}

Body DecodePoly32(const Fields& f, RecordChecker& check) { return DecodePoly(f, check, false); }
Body DecodePoly16(const Fields& f, RecordChecker& check) { return DecodePoly(f, check, true); }
Body DecodePolyPoly32(const Fields& f, RecordChecker& check) {
  return DecodePolyPoly(f, check, false);
}
Body DecodePolyPoly16(const Fields& f, RecordChecker& check) {
  return DecodePolyPoly(f, check, true);
}

Body DecodePen(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(28)) return Raw{};
  return Pen{f.U32(8), f.U32(12), f.I32(16), f.I32(20), f.U32(24)};
}

Body DecodeBrush(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(24)) return Raw{};
  return Brush{f.U32(8), f.U32(12), f.U32(16), f.U32(20)};
}

Body DecodeTextW(const Fields& f, RecordChecker& check) { return DecodeText(f, check, true); }
Body DecodeTextA(const Fields& f, RecordChecker& check) { return DecodeText(f, check, false); }

Body DecodePaletteSize(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(16)) return Raw{};
  return PaletteSize{f.U32(8), f.U32(12)};
}

Body DecodeSetWorldTransform(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(32)) return Raw{};
  return WorldTransform{f.XformAt(8), 0};
}

Body DecodeModifyWorldTransform(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(36)) return Raw{};
  return WorldTransform{f.XformAt(8), f.U32(32)};
}

Body DecodeExtentScale(const Fields& f, RecordChecker& check) {
  if (!check.MinSize(24)) return Raw{};
  return ExtentScale{f.I32(8), f.I32(12), f.I32(16), f.I32(20)};
}

Body DecodeBitBlt(const Fields& f, RecordChecker& check) { return DecodeBlit(false, f, check); }
Body DecodeStretchDiBits(const Fields& f, RecordChecker& check) {
  return DecodeBlit(true, f, check);
}

}  // namespace

Body DecodeBody(uint32_t type, const Fields& f, RecordChecker& check) {
  switch (type) {
#define TAMVEL_EMF_DECODE(name, value, layout) \
  case value:                                  \
    return Decode##layout(f, check);
    TAMVEL_EMF_RECORD_TYPES(TAMVEL_EMF_DECODE)
#undef TAMVEL_EMF_DECODE
    default:
      return Raw{};
  }
}

}  // namespace tamvel::emf::reading
