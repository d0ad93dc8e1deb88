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
    case EMR_SETMAPMODE:
      return "mode=" + Named(v.value, {{1, "MM_TEXT"},
                                       {2, "MM_LOMETRIC"},
                                       {3, "MM_HIMETRIC"},
                                       {4, "MM_LOENGLISH"},
                                       {5, "MM_HIENGLISH"},
                                       {6, "MM_TWIPS"},
                                       {7, "MM_ISOTROPIC"},
                                       {8, "MM_ANISOTROPIC"}});
    case EMR_SETBKMODE:
      return "mode=" + Named(v.value, {{1, "TRANSPARENT"}, {2, "OPAQUE"}});
    case EMR_SETPOLYFILLMODE:
      return "mode=" + Named(v.value, {{1, "ALTERNATE"}, {2, "WINDING"}});
    case EMR_SELECTCLIPPATH:
      return "mode=" +
             Named(
                 v.value,
                 {{1, "RGN_AND"}, {2, "RGN_OR"}, {3, "RGN_XOR"}, {4, "RGN_DIFF"}, {5, "RGN_COPY"}});
    case EMR_SETARCDIRECTION:
      return "direction=" + Named(v.value, {{1, "COUNTERCLOCKWISE"}, {2, "CLOCKWISE"}});
    case EMR_SETROP2:
      return "rop2=" +
             Named(v.value,
                   {{13, "R2_COPYPEN"}, {7, "R2_XORPEN"}, {1, "R2_BLACK"}, {16, "R2_WHITE"}});
    case EMR_SETTEXTALIGN:
      return "align=" + Hex(v.value);
    case EMR_SETTEXTCOLOR:
    case EMR_SETBKCOLOR:
      return "color=" + FormatColor(v.value);
    case EMR_SELECTOBJECT:
    case EMR_DELETEOBJECT:
    case EMR_SELECTPALETTE:
      return "object=" + Object(v.value);
    case EMR_RESTOREDC:
      return "level=" + Num(v.AsInt());
    case EMR_SETMITERLIMIT:
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

std::string BodyFields(const Record& record, const FormatOptions& options) {
  uint32_t type = record.type;
  const Body& body = record.body;
  if (auto* h = std::get_if<Header>(&body)) return HeaderFields(*h);
  if (auto* eof = std::get_if<Eof>(&body)) {
    return "palette=" + Entries(eof->palette, options) + " sizelast=" + Num(eof->size_last);
  }
  if (auto* v = std::get_if<Value>(&body)) return ValueFields(type, *v);
  if (auto* p = std::get_if<PointValue>(&body)) return Pt(p->point);
  if (auto* e = std::get_if<ExtentScale>(&body)) {
    return "x=" + Num(e->x_num) + "/" + Num(e->x_denom) + " y=" + Num(e->y_num) + "/" +
           Num(e->y_denom);
  }
  if (auto* r = std::get_if<RectValue>(&body)) return Box(r->rect);
  if (auto* a = std::get_if<ArcValue>(&body)) {
    return "box=" + Box(a->box) + " start=" + Pt(a->start) + " end=" + Pt(a->end);
  }
  if (auto* poly = std::get_if<Poly>(&body)) {
    return "bounds=" + Box(poly->bounds) + " n=" + Num(static_cast<int64_t>(poly->points.size())) +
           " " + Points(poly->points, options);
  }
  if (auto* pp = std::get_if<PolyPoly>(&body)) {
    return "bounds=" + Box(pp->bounds) + " counts=[" +
           List(pp->counts.size(), options, [&](size_t i) { return Num(pp->counts[i]); }) +
           "] n=" + Num(static_cast<int64_t>(pp->points.size())) + " " +
           Points(pp->points, options);
  }
  if (auto* pen = std::get_if<Pen>(&body)) {
    return "object=" + Num(pen->index) + " style=" + Hex(pen->style) + " width=" + Num(pen->width) +
           " color=" + FormatColor(pen->color);
  }
  if (auto* pen = std::get_if<ExtPen>(&body)) {
    return "object=" + Num(pen->index) + " style=" + Hex(pen->style) + " width=" + Num(pen->width) +
           " brushstyle=" + Num(pen->brush_style) + " color=" + FormatColor(pen->color) +
           " hatch=" + Num(pen->hatch) + " entries=[" +
           List(pen->style_entries.size(), options,
                [&](size_t i) { return Num(pen->style_entries[i]); }) +
           "] " + DibFields(pen->dib, options);
  }
  if (auto* brush = std::get_if<Brush>(&body)) {
    return "object=" + Num(brush->index) + " style=" + Num(brush->style) +
           " color=" + FormatColor(brush->color) + " hatch=" + Num(brush->hatch);
  }
  if (auto* brush = std::get_if<PatternBrush>(&body)) {
    return "object=" + Num(brush->index) + " usage=" + Num(brush->usage) + " " +
           DibFields(brush->dib, options);
  }
  if (auto* font = std::get_if<Font>(&body)) return FontFields(*font);
  if (auto* text = std::get_if<Text>(&body)) return TextFields(*text, options);
  if (auto* clip = std::get_if<ClipRegion>(&body)) {
    std::string mode =
        "mode=" +
        Named(clip->mode,
              {{1, "RGN_AND"}, {2, "RGN_OR"}, {3, "RGN_XOR"}, {4, "RGN_DIFF"}, {5, "RGN_COPY"}});
    if (!clip->has_region) return mode + " region=none";
    return mode + " bound=" + Box(clip->bound) +
           " rects=" + Num(static_cast<int64_t>(clip->rects.size())) + " " +
           List(clip->rects.size(), options, [&](size_t i) { return Box(clip->rects[i]); });
  }
  if (auto* pal = std::get_if<Palette>(&body)) {
    return "object=" + Num(pal->index) + " version=" + Hex(pal->version) +
           " n=" + Num(static_cast<int64_t>(pal->entries.size())) + " " +
           Entries(pal->entries, options);
  }
  if (auto* set = std::get_if<PaletteEntries>(&body)) {
    return "object=" + Num(set->index) + " start=" + Num(set->start) +
           " n=" + Num(static_cast<int64_t>(set->entries.size())) + " " +
           Entries(set->entries, options);
  }
  if (auto* resize = std::get_if<PaletteSize>(&body)) {
    return "object=" + Num(resize->index) + " n=" + Num(resize->count);
  }
  if (auto* wt = std::get_if<WorldTransform>(&body)) {
    return "xform=" + XformFields(wt->xform) +
           (type == EMR_MODIFYWORLDTRANSFORM ? " mode=" + Num(wt->mode) : "");
  }
  if (auto* comment = std::get_if<Comment>(&body)) {
    return "data=" + Num(static_cast<int64_t>(comment->data.size())) + "B";
  }
  if (auto* blit = std::get_if<Blit>(&body)) {
    return "bounds=" + Box(blit->bounds) + " dest=" + Pt(blit->dest) + " " + Ext(blit->dest_size) +
           " source=" + Pt(blit->source) +
           (type == EMR_STRETCHDIBITS ? " " + Ext(blit->source_size) : "") +
           " rop=" + Hex(blit->rop) + " usage=" + Num(blit->usage) + " bmi=" + Num(blit->bmi_size) +
           "B bits=" + Num(blit->bits_size) + "B";
  }
  if (std::holds_alternative<Raw>(body) && RecordName(type) != nullptr && record.size > 8) {
    return "(not decoded)";
  }
  return "";
}

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
  std::string fields = BodyFields(record, options);
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
