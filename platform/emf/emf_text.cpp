#include "platform/emf/emf_text.h"

#include <cstdio>
#include <functional>

#include "platform/emf/number_text.h"

namespace tamvel::emf {
namespace {

std::string Float(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", value);
  return buffer;
}

std::string Pt(const Point& p) { return "(" + Num(p.x) + "," + Num(p.y) + ")"; }

std::string Box(const Rect& r) {
  return "(" + Num(r.left) + "," + Num(r.top) + ")-(" + Num(r.right) + "," + Num(r.bottom) + ")";
}

std::string Ext(const Extent& e) { return Num(e.cx) + "x" + Num(e.cy); }

// A list of `count` items, shortened to its head and tail unless all items are wanted.
std::string List(size_t count, const FormatOptions& options,
                 const std::function<std::string(size_t)>& item) {
  std::string out;
  bool shorten = !options.all_points && count > options.head_items + options.tail_items + 1;
  for (size_t i = 0; i < count; ++i) {
    if (shorten && i == options.head_items) {
      out += " ...(" + Num(static_cast<int64_t>(count - options.head_items - options.tail_items)) +
             " more)";
      i = count - options.tail_items - 1;
      continue;
    }
    if (!out.empty()) out += ' ';
    out += item(i);
  }
  return out;
}

std::string Points(const std::vector<Point>& points, const FormatOptions& options) {
  return List(points.size(), options, [&](size_t i) { return Pt(points[i]); });
}

std::string Entries(const std::vector<PaletteEntry>& entries, const FormatOptions& options) {
  return "[" +
         List(entries.size(), options,
              [&](size_t i) {
                const PaletteEntry& e = entries[i];
                return "rgb(" + Num(e.red) + "," + Num(e.green) + "," + Num(e.blue) + ")" +
                       (e.flags ? "/" + Hex(e.flags) : "");
              }) +
         "]";
}

const char* StockName(uint32_t id) {
  static const char* const kNames[] = {"WHITE_BRUSH",
                                       "LTGRAY_BRUSH",
                                       "GRAY_BRUSH",
                                       "DKGRAY_BRUSH",
                                       "BLACK_BRUSH",
                                       "NULL_BRUSH",
                                       "WHITE_PEN",
                                       "BLACK_PEN",
                                       "NULL_PEN",
                                       nullptr,
                                       "OEM_FIXED_FONT",
                                       "ANSI_FIXED_FONT",
                                       "ANSI_VAR_FONT",
                                       "SYSTEM_FONT",
                                       "DEVICE_DEFAULT_FONT",
                                       "DEFAULT_PALETTE",
                                       "SYSTEM_FIXED_FONT",
                                       "DEFAULT_GUI_FONT",
                                       "DC_BRUSH",
                                       "DC_PEN"};
  return id < sizeof kNames / sizeof kNames[0] ? kNames[id] : nullptr;
}

std::string Object(uint32_t handle) {
  if ((handle & kStockObjectFlag) == 0) return Num(handle);
  const char* name = StockName(handle & ~kStockObjectFlag);
  return name ? std::string("stock:") + name : "stock:" + Hex(handle);
}

std::string Named(uint32_t value, std::initializer_list<std::pair<uint32_t, const char*>> names) {
  for (const auto& [number, name] : names) {
    if (number == value) return name;
  }
  return Num(value);
}

std::string ValueFields(uint32_t type, const Value& v) {
  switch (type) {
    case kSetMapMode:
      return "mode=" + Named(v.value, {{1, "MM_TEXT"},
                                       {2, "MM_LOMETRIC"},
                                       {3, "MM_HIMETRIC"},
                                       {4, "MM_LOENGLISH"},
                                       {5, "MM_HIENGLISH"},
                                       {6, "MM_TWIPS"},
                                       {7, "MM_ISOTROPIC"},
                                       {8, "MM_ANISOTROPIC"}});
    case kSetBkMode:
      return "mode=" + Named(v.value, {{1, "TRANSPARENT"}, {2, "OPAQUE"}});
    case kSetPolyFillMode:
      return "mode=" + Named(v.value, {{1, "ALTERNATE"}, {2, "WINDING"}});
    case kSelectClipPath:
      return "mode=" +
             Named(
                 v.value,
                 {{1, "RGN_AND"}, {2, "RGN_OR"}, {3, "RGN_XOR"}, {4, "RGN_DIFF"}, {5, "RGN_COPY"}});
    case kSetArcDirection:
      return "direction=" + Named(v.value, {{1, "COUNTERCLOCKWISE"}, {2, "CLOCKWISE"}});
    case kSetRop2:
      return "rop2=" +
             Named(v.value,
                   {{13, "R2_COPYPEN"}, {7, "R2_XORPEN"}, {1, "R2_BLACK"}, {16, "R2_WHITE"}});
    case kSetTextAlign:
      return "align=" + Hex(v.value);
    case kSetTextColor:
    case kSetBkColor:
      return "color=" + FormatColor(v.value);
    case kSelectObject:
    case kDeleteObject:
    case kSelectPalette:
      return "object=" + Object(v.value);
    case kRestoreDc:
      return "level=" + Num(v.AsInt());
    case kSetMiterLimit:
      // Writers store a FLOAT; a small integer bit pattern means an integer was stored.
      return "limit=" + (v.value < 0x00800000 ? Num(v.value) : Float(v.AsFloat()));
    default:
      return "value=" + Num(v.value);
  }
}

std::string DibFields(const Dib& dib, const FormatOptions& options) {
  if (dib.header_size == 0) return "dib=none";
  return "dib=" + Num(dib.width) + "x" + Num(dib.height) + "x" + Num(dib.bit_count) +
         " compression=" + Num(dib.compression) + " colors=[" +
         List(dib.colors.size(), options, [&](size_t i) { return Hex(dib.colors[i]); }) +
         "] bits=" + Num(static_cast<int64_t>(dib.bits.size())) + "B";
}

std::string XformFields(const Xform& x) {
  return "[" + Float(x.m11) + " " + Float(x.m12) + " " + Float(x.m21) + " " + Float(x.m22) + " " +
         Float(x.dx) + " " + Float(x.dy) + "]";
}

std::string HeaderFields(const Header& h) {
  std::string out = "bounds=" + Box(h.bounds) + " frame=" + Box(h.frame) +
                    " signature=" + Hex(h.signature) + " version=" + Hex(h.version) +
                    " bytes=" + Num(h.bytes) + " records=" + Num(h.records) +
                    " handles=" + Num(h.handles) + " palette=" + Num(h.palette_entries) +
                    " device=" + Ext(h.device) + " mm=" + Ext(h.millimeters);
  if (h.form_size >= 108) out += " um=" + Ext(h.micrometers);
  if (h.pixel_format_size != 0) out += " pixelformat=" + Num(h.pixel_format_size) + "B";
  if (h.reserved != 0) out += " reserved=" + Num(h.reserved);
  out += " form=" + Num(h.form_size) + " description(" + Num(h.description_chars) + ")=";
  if (h.description_parts.empty()) out += "none";
  for (size_t i = 0; i < h.description_parts.size(); ++i) {
    if (i != 0) out += ' ';
    out += QuoteUtf16(h.description_parts[i]);
  }
  return out;
}

std::string FontFields(const Font& font) {
  const LogFont& lf = font.font;
  std::string out = "object=" + Num(font.index) + " height=" + Num(lf.height) +
                    " width=" + Num(lf.width) + " escapement=" + Num(lf.escapement) +
                    " orientation=" + Num(lf.orientation) + " weight=" + Num(lf.weight) +
                    " italic=" + Num(lf.italic) + " underline=" + Num(lf.underline) +
                    " strikeout=" + Num(lf.strike_out) + " charset=" + Num(lf.charset) +
                    " precision=" + Num(lf.out_precision) + "/" + Num(lf.clip_precision) +
                    " quality=" + Num(lf.quality) + " pitchfamily=" + Hex(lf.pitch_and_family) +
                    " face=" + QuoteUtf16(lf.face) + " elw=" + Num(font.elw_size);
  if (!font.full_name.empty()) out += " fullname=" + QuoteUtf16(font.full_name);
  if (!font.style.empty()) out += " style=" + QuoteUtf16(font.style);
  if (!font.script.empty()) out += " script=" + QuoteUtf16(font.script);
  return out;
}

std::string TextFields(const Text& t, const FormatOptions& options) {
  std::string out = "ref=" + Pt(t.reference) + " options=" + Hex(t.options);
  if ((t.options & 0x100) == 0) out += " rect=" + Box(t.rectangle);
  out += " bounds=" + Box(t.bounds) + " gm=" + Num(t.graphics_mode) +
         " scale=" + Float(t.ex_scale) + "," + Float(t.ey_scale);
  if (t.wide) {
    out += " n=" + Num(static_cast<int64_t>(t.text.size())) + " " + QuoteUtf16(t.text);
  } else {
    std::u16string widened(t.bytes.begin(), t.bytes.end());
    for (char16_t& c : widened) c = static_cast<unsigned char>(c);
    out += " n=" + Num(static_cast<int64_t>(t.bytes.size())) + " bytes=" + QuoteUtf16(widened);
  }
  out += " dx=[" + List(t.dx.size(), options, [&](size_t i) { return Num(t.dx[i]); }) + "]";
  return out;
}

std::string ClipFields(const ClipRegion& clip, const FormatOptions& options) {
  std::string mode =
      "mode=" +
      Named(clip.mode,
            {{1, "RGN_AND"}, {2, "RGN_OR"}, {3, "RGN_XOR"}, {4, "RGN_DIFF"}, {5, "RGN_COPY"}});
  if (!clip.has_region) return mode + " region=none";
  return mode + " bound=" + Box(clip.bound) +
         " rects=" + Num(static_cast<int64_t>(clip.rects.size())) + " " +
         List(clip.rects.size(), options, [&](size_t i) { return Box(clip.rects[i]); });
}

std::string ExtPenFields(const ExtPen& pen, const FormatOptions& options) {
  return "object=" + Num(pen.index) + " style=" + Hex(pen.style) + " width=" + Num(pen.width) +
         " brushstyle=" + Num(pen.brush_style) + " color=" + FormatColor(pen.color) +
         " hatch=" + Num(pen.hatch) + " entries=[" +
         List(pen.style_entries.size(), options,
              [&](size_t i) { return Num(pen.style_entries[i]); }) +
         "] " + DibFields(pen.dib, options);
}

std::string BlitFields(uint32_t type, const Blit& blit) {
  return "bounds=" + Box(blit.bounds) + " dest=" + Pt(blit.dest) + " " + Ext(blit.dest_size) +
         " source=" + Pt(blit.source) +
         (type == kStretchDiBits ? " " + Ext(blit.source_size) : "") + " rop=" + Hex(blit.rop) +
         " usage=" + Num(blit.usage) + " bmi=" + Num(blit.bmi_size) +
         "B bits=" + Num(blit.bits_size) + "B";
}

// The fields of each view, one overload per view of the decoder.
class BodyFields {
 public:
  BodyFields(const Record& record, const FormatOptions& options)
      : record_(record), type_(record.type), options_(options) {}

  std::string operator()(const Raw&) const {
    return RecordName(type_) != nullptr && record_.size > 8 ? "(not decoded)" : "";
  }
  std::string operator()(const Empty&) const { return ""; }
  std::string operator()(const Header& h) const { return HeaderFields(h); }
  std::string operator()(const Eof& eof) const {
    return "palette=" + Entries(eof.palette, options_) + " sizelast=" + Num(eof.size_last);
  }
  std::string operator()(const Value& v) const { return ValueFields(type_, v); }
  std::string operator()(const PointValue& p) const { return Pt(p.point); }
  std::string operator()(const RectValue& r) const { return Box(r.rect); }
  std::string operator()(const RoundRectValue& r) const {
    return "box=" + Box(r.box) + " corner=" + Ext(r.corner);
  }
  std::string operator()(const ArcValue& a) const {
    return "box=" + Box(a.box) + " start=" + Pt(a.start) + " end=" + Pt(a.end);
  }
  std::string operator()(const Poly& poly) const {
    return "bounds=" + Box(poly.bounds) + " n=" + Num(static_cast<int64_t>(poly.points.size())) +
           " " + Points(poly.points, options_);
  }
  std::string operator()(const PolyPoly& pp) const {
    return "bounds=" + Box(pp.bounds) + " counts=[" +
           List(pp.counts.size(), options_, [&](size_t i) { return Num(pp.counts[i]); }) +
           "] n=" + Num(static_cast<int64_t>(pp.points.size())) + " " + Points(pp.points, options_);
  }
  std::string operator()(const Pen& pen) const {
    return "object=" + Num(pen.index) + " style=" + Hex(pen.style) + " width=" + Num(pen.width) +
           " color=" + FormatColor(pen.color);
  }
  std::string operator()(const ExtPen& pen) const { return ExtPenFields(pen, options_); }
  std::string operator()(const Brush& brush) const {
    return "object=" + Num(brush.index) + " style=" + Num(brush.style) +
           " color=" + FormatColor(brush.color) + " hatch=" + Num(brush.hatch);
  }
  std::string operator()(const PatternBrush& brush) const {
    return "object=" + Num(brush.index) + " usage=" + Num(brush.usage) + " " +
           DibFields(brush.dib, options_);
  }
  std::string operator()(const Font& font) const { return FontFields(font); }
  std::string operator()(const Text& text) const { return TextFields(text, options_); }
  std::string operator()(const ClipRegion& clip) const { return ClipFields(clip, options_); }
  std::string operator()(const Palette& pal) const {
    return "object=" + Num(pal.index) + " version=" + Hex(pal.version) +
           " n=" + Num(static_cast<int64_t>(pal.entries.size())) + " " +
           Entries(pal.entries, options_);
  }
  std::string operator()(const PaletteEntries& set) const {
    return "object=" + Num(set.index) + " start=" + Num(set.start) +
           " n=" + Num(static_cast<int64_t>(set.entries.size())) + " " +
           Entries(set.entries, options_);
  }
  std::string operator()(const PaletteSize& resize) const {
    return "object=" + Num(resize.index) + " n=" + Num(resize.count);
  }
  std::string operator()(const WorldTransform& wt) const {
    return "xform=" + XformFields(wt.xform) +
           (type_ == kModifyWorldTransform ? " mode=" + Num(wt.mode) : "");
  }
  std::string operator()(const ExtentScale& e) const {
    return "x=" + Num(e.x_num) + "/" + Num(e.x_denom) + " y=" + Num(e.y_num) + "/" + Num(e.y_denom);
  }
  std::string operator()(const Comment& comment) const {
    return "data=" + Num(static_cast<int64_t>(comment.data.size())) + "B";
  }
  std::string operator()(const Blit& blit) const { return BlitFields(type_, blit); }

 private:
  const Record& record_;
  uint32_t type_;
  const FormatOptions& options_;
};

void AppendCodePoint(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Walks UTF-16 code points, pairing surrogates; unpaired ones give U+FFFD.
template <typename Visit>
void ForEachCodePoint(std::u16string_view text, Visit visit) {
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      visit(0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u));
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      visit(0xFFFD);
    } else {
      visit(c);
    }
  }
}

}  // namespace

std::string FormatColor(uint32_t colorref) {
  std::string rgb =
      Num(colorref & 0xFF) + "," + Num((colorref >> 8) & 0xFF) + "," + Num((colorref >> 16) & 0xFF);
  switch (colorref >> 24) {
    case 0:
      return "rgb(" + rgb + ")";
    case 1:
      return "paletteindex(" + Num(colorref & 0xFFFF) + ")";
    case 2:
      return "palettergb(" + rgb + ")";
    default:
      return "colorref(" + Hex(colorref) + ")";
  }
}

std::string FormatRecordFields(const Record& record, const FormatOptions& options) {
  const char* name = RecordName(record.type);
  std::string out = name ? name : "type" + Num(record.type);
  out += " size=" + Num(record.size);
  std::string fields = std::visit(BodyFields(record, options), record.body);
  if (!fields.empty()) out += " " + fields;
  return out;
}

std::string FormatRecord(const Record& record, size_t index, const FormatOptions& options) {
  char prefix[48];
  std::snprintf(prefix, sizeof prefix, "%5llu 0x%06llx ", static_cast<unsigned long long>(index),
                static_cast<unsigned long long>(record.offset));
  return prefix + FormatRecordFields(record, options);
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  ForEachCodePoint(text, [&](uint32_t cp) { AppendCodePoint(out, cp); });
  return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  size_t i = 0;
  while (i < text.size()) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80         ? 0
                : (lead >> 5) == 6  ? 1
                : (lead >> 4) == 14 ? 2
                : (lead >> 3) == 30 ? 3
                                    : -1;
    uint32_t cp = extra == 0   ? lead
                  : extra == 1 ? (lead & 0x1F)
                  : extra == 2 ? (lead & 0x0F)
                               : (lead & 0x07);
    bool ok = extra >= 0 && i + extra < text.size();
    for (int k = 1; ok && k <= extra; ++k) {
      unsigned char c = static_cast<unsigned char>(text[i + k]);
      if ((c & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += extra + 1;
  }
  return out;
}

std::string QuoteUtf16(std::u16string_view text) {
  std::string out = "\"";
  ForEachCodePoint(text, [&](uint32_t cp) {
    if (cp == '"' || cp == '\\') {
      out += '\\';
      out += static_cast<char>(cp);
    } else if (cp < 0x20 || cp == 0x7F) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(cp));
      out += buffer;
    } else {
      AppendCodePoint(out, cp);
    }
  });
  return out + "\"";
}

}  // namespace tamvel::emf
