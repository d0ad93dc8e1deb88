#include "platform/posix/fonts.h"

#include <fontconfig/fontconfig.h>
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "platform/posix/code_page.h"

namespace tamvel::posix {
namespace {

// Windows' Japanese faces: 256 units per em, winAscent 220, winDescent 36.
constexpr double kJapaneseAscent = 220.0 / 256.0;
// GDI's height when lfHeight is 0 (about 12 points on the 96-dpi reference screen).
constexpr int kDefaultPixelHeight = 16;

int RoundHalfUp(double value) { return static_cast<int>(std::floor(value + 0.5)); }

bool Contains(const std::string &text, const char *part) {
  return text.find(part) != std::string::npos;
}

bool ContainsNoCase(const std::string &text, const char *part) {
  std::string lower;
  for (char c : text) lower.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c));
  return lower.find(part) != std::string::npos;
}

// The typeface a face name stands for. Names of the typeface table and their usual spellings
// are Japanese; any other name with a non-ASCII byte is taken as a Japanese mincho face, an
// alphanumeric one as a Latin face chosen by its name.
Typeface TypefaceForName(const std::string &utf8) {
  const bool round = Contains(utf8, "丸");
  if (round &&
      (Contains(utf8, "ゴシック") || Contains(utf8, "ｺﾞｼｯｸ") || ContainsNoCase(utf8, "gothic"))) {
    return Typeface::kRoundGothic;
  }
  if (ContainsNoCase(utf8, "maru")) return Typeface::kRoundGothic;
  if (Contains(utf8, "ゴシック") || Contains(utf8, "ｺﾞｼｯｸ") || ContainsNoCase(utf8, "gothic")) {
    return Typeface::kGothic;
  }
  if (Contains(utf8, "明朝") || ContainsNoCase(utf8, "mincho") || utf8.empty()) {
    return Typeface::kMincho;
  }
  for (unsigned char c : utf8) {
    if (c >= 0x80) return Typeface::kMincho;
  }
  if (ContainsNoCase(utf8, "courier") || ContainsNoCase(utf8, "mono") ||
      ContainsNoCase(utf8, "fixed") || ContainsNoCase(utf8, "terminal") ||
      ContainsNoCase(utf8, "console")) {
    return Typeface::kLatinMono;
  }
  if (ContainsNoCase(utf8, "times") || ContainsNoCase(utf8, "serif") ||
      ContainsNoCase(utf8, "roman") || ContainsNoCase(utf8, "century") ||
      ContainsNoCase(utf8, "georgia") || ContainsNoCase(utf8, "garamond") ||
      ContainsNoCase(utf8, "book")) {
    return ContainsNoCase(utf8, "sans") ? Typeface::kLatinSans : Typeface::kLatinSerif;
  }
  return Typeface::kLatinSans;
}

// Installed families to try for each typeface, best first.
std::vector<const char *> FamiliesFor(Typeface typeface) {
  switch (typeface) {
    case Typeface::kMincho:
      return {"IPAMincho", "IPAexMincho", "IPAPMincho", "Noto Serif CJK JP", "IPAGothic"};
    case Typeface::kGothic:
      return {"IPAGothic", "IPAexGothic", "IPAPGothic", "Noto Sans CJK JP", "IPAMincho"};
    case Typeface::kRoundGothic:
      return {"MotoyaLMaru", "IPAGothic", "IPAexGothic", "Noto Sans CJK JP", "IPAMincho"};
    case Typeface::kLatinSans:
      return {"Liberation Sans", "Arimo", "DejaVu Sans"};
    case Typeface::kLatinSerif:
      return {"Liberation Serif", "Tinos", "DejaVu Serif"};
    case Typeface::kLatinMono:
      return {"Liberation Mono", "Cousine", "DejaVu Sans Mono"};
  }
  return {};
}

// Where Debian puts the fonts, for a system whose fontconfig finds nothing.
const char *KnownFileFor(Typeface typeface) {
  switch (typeface) {
    case Typeface::kMincho:
      return "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf";
    case Typeface::kGothic:
      return "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
    case Typeface::kRoundGothic:
      return "/usr/share/fonts/truetype/motoya-l-maruberi/MTLmr3m.ttf";
    case Typeface::kLatinSans:
      return "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
    case Typeface::kLatinSerif:
      return "/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf";
    case Typeface::kLatinMono:
      return "/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf";
  }
  return "";
}

struct FontFile {
  std::string path;
  int index = 0;
  bool bold = false;
  bool italic = false;
};

// The file of an installed family whose style is nearest to the weight and slant asked for.
// fontconfig's configuration, loaded once and kept for the process; destroyed at exit, since
// fontconfig otherwise leaves some of it unreachable.
FcConfig *FontConfig() {
  static FcConfig *config = [] {
    FcConfig *loaded = FcInitLoadConfigAndFonts();
    if (loaded != nullptr) std::atexit([] { FcConfigDestroy(FontConfig()); });
    return loaded;
  }();
  return config;
}

bool FindFamilyFile(const char *family, bool want_bold, bool want_italic, FontFile *found) {
  if (FontConfig() == nullptr) return false;
  FcPattern *pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family));
  FcObjectSet *objects = FcObjectSetBuild(FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT, nullptr);
  FcFontSet *set = FcFontList(FontConfig(), pattern, objects);
  bool ok = false;
  int best_score = 1 << 30;
  for (int i = 0; set != nullptr && i < set->nfont; ++i) {
    FcChar8 *file = nullptr;
    int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
    FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
    FcPatternGetInteger(set->fonts[i], FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(set->fonts[i], FC_SLANT, 0, &slant);
    const bool bold = weight >= FC_WEIGHT_DEMIBOLD;
    const bool italic = slant != FC_SLANT_ROMAN;
    const int score = (bold != want_bold ? 2 : 0) + (italic != want_italic ? 1 : 0);
    if (score < best_score) {
      best_score = score;
      found->path = reinterpret_cast<const char *>(file);
      found->index = index;
      found->bold = bold;
      found->italic = italic;
      ok = true;
    }
  }
  if (set != nullptr) FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return ok;
}

FT_Library FreeType() {
  static FT_Library library = [] {
    FT_Library created = nullptr;
    if (FT_Init_FreeType(&created) != 0) created = nullptr;
    return created;
  }();
  return library;
}

// Opened faces by file, index and instance; they stay open for the process, because cairo
// font faces made from them by the player may outlive any one DC.
FT_Face OpenFace(const std::string &path, int index, int instance = 0) {
  static std::map<std::tuple<std::string, int, int>, FT_Face> faces;
  const auto key = std::make_tuple(path, index, instance);
  auto it = faces.find(key);
  if (it != faces.end()) return it->second;
  FT_Face face = nullptr;
  if (FreeType() == nullptr || FT_New_Face(FreeType(), path.c_str(), index, &face) != 0) {
    face = nullptr;
  }
  faces[key] = face;
  return face;
}

ResolvedFace MakeFace(Typeface typeface, bool want_bold, bool want_italic) {
  ResolvedFace face;
  face.typeface = typeface;
  face.japanese = typeface == Typeface::kMincho || typeface == Typeface::kGothic ||
                  typeface == Typeface::kRoundGothic;
  FontFile file;
  bool found = false;
  for (const char *family : FamiliesFor(typeface)) {
    if (FindFamilyFile(family, want_bold, want_italic, &file)) {
      found = OpenFace(file.path, file.index) != nullptr;
      if (found) break;
    }
  }
  if (!found) {
    file = FontFile{KnownFileFor(typeface), 0, false, false};
    found = OpenFace(file.path, 0) != nullptr;
  }
  if (!found && !face.japanese) {
    // No Latin font at all: draw with a Japanese one, which covers ASCII too.
    ResolvedFace gothic = MakeFace(Typeface::kGothic, want_bold, want_italic);
    gothic.japanese = false;
    gothic.typeface = typeface;
    return gothic;
  }
  if (found) {
    face.file = file.path;
    face.index = file.index;
    face.ft_face = OpenFace(file.path, file.index);
    face.bold = file.bold;
    face.italic = file.italic;
  }
  return face;
}

// Font-unit metrics of a face: units per em, winAscent, winDescent, xAvgCharWidth.
struct DesignMetrics {
  double units_per_em = 256.0;
  double ascent = 220.0;
  double descent = 36.0;
  double average_width = 128.0;
};

DesignMetrics DesignMetricsOf(const ResolvedFace &face) {
  DesignMetrics metrics;
  if (face.japanese || face.ft_face == nullptr) return metrics;
  metrics.units_per_em = face.ft_face->units_per_EM > 0 ? face.ft_face->units_per_EM : 2048;
  const auto *os2 = static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(face.ft_face, FT_SFNT_OS2));
  if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
    metrics.ascent = os2->usWinAscent;
    metrics.descent = os2->usWinDescent;
  } else {
    metrics.ascent = face.ft_face->ascender;
    metrics.descent = -face.ft_face->descender;
  }
  if (metrics.ascent + metrics.descent <= 0) {
    metrics.ascent = metrics.units_per_em * kJapaneseAscent;
    metrics.descent = metrics.units_per_em - metrics.ascent;
  }
  metrics.average_width =
      os2 != nullptr && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : metrics.units_per_em / 2.0;
  return metrics;
}

// Scales a logical length to device pixels, saturating instead of overflowing.
double ToDevice(long logical, double device_per_logical) {
  const double value = std::fabs(static_cast<double>(logical) * device_per_logical);
  return std::isfinite(value) ? std::fmin(value, 1.0e6) : 0.0;
}

}  // namespace

bool IsVerticalFace(const char *face_name) { return face_name != nullptr && face_name[0] == '@'; }

const ResolvedFace &ResolveFace(const char *face_name, int weight, bool italic) {
  char name[LF_FACESIZE + 1] = {};
  if (face_name != nullptr) {
    const char *start = face_name[0] == '@' ? face_name + 1 : face_name;
    for (int i = 0; i < LF_FACESIZE - 1 && start[i] != '\0'; ++i) name[i] = start[i];
  }
  const Typeface typeface = TypefaceForName(Cp932ToUtf8(name));
  const bool japanese = typeface == Typeface::kMincho || typeface == Typeface::kGothic ||
                        typeface == Typeface::kRoundGothic;
  // Japanese faces have one file each; Latin ones a file per style.
  const bool want_bold = !japanese && weight >= 600;
  const bool want_italic = !japanese && italic;
  static std::map<int, std::unique_ptr<ResolvedFace>> cache;
  const int key = static_cast<int>(typeface) * 4 + (want_bold ? 2 : 0) + (want_italic ? 1 : 0);
  auto &slot = cache[key];
  if (!slot) slot = std::make_unique<ResolvedFace>(MakeFace(typeface, want_bold, want_italic));
  return *slot;
}

const ResolvedFace &FallbackFace() { return ResolveFace("IPAGothic", 400, false); }

FT_Face FaceInstance(const ResolvedFace &face, int instance) {
  if (instance == 0 || face.file.empty()) return face.ft_face;
  return OpenFace(face.file, face.index, instance);
}

bool IsFullWidth(char16_t unit) {
  if (unit < 0x80 || unit == 0xA5 || unit == 0x203E) return false;
  if (unit >= 0xFF61 && unit <= 0xFF9F) return false;
  return true;
}

bool TurnsInVerticalText(char16_t unit) {
  switch (unit) {
    case 0x30FC:  // ー
    case 0x2015:
    case 0x2010:
    case 0x2026:
    case 0x2025:
    case 0xFF5E:
    case 0x301C:
    case 0xFF08:
    case 0xFF09:
    case 0x300C:
    case 0x300D:
    case 0x300E:
    case 0x300F:
    case 0x3010:
    case 0x3011:
    case 0x3014:
    case 0x3015:
    case 0xFF3B:
    case 0xFF3D:
    case 0xFF5B:
    case 0xFF5D:
    case 0x3008:
    case 0x3009:
    case 0x300A:
    case 0x300B:
    case 0xFF1D:
    case 0xFF0D:
    case 0x2212:
    case 0xFF1C:
    case 0xFF1E:
    case 0xFF3F:
      return true;
    default:
      return false;
  }
}

bool ShiftsInVerticalText(char16_t unit) {
  return unit == 0x3001 || unit == 0x3002 || unit == 0xFF0C || unit == 0xFF0E;
}

int RealizedFont::Advance(char16_t unit, bool full_width) const {
  if (face == nullptr) return 0;
  if (face->japanese) return full_width ? full_advance : half_advance;
  FT_Face ft = face->ft_face;
  FT_UInt glyph = ft != nullptr ? FT_Get_Char_Index(ft, unit) : 0;
  if (glyph == 0 && IsFullWidth(unit)) {
    // Drawn by the fallback Japanese face: one em of this size.
    return RoundHalfUp(ppem * x_scale);
  }
  FT_Fixed advance = 0;
  if (ft == nullptr || FT_Get_Advance(ft, glyph, FT_LOAD_NO_SCALE, &advance) != 0) {
    return RoundHalfUp(ppem * x_scale / 2.0);
  }
  const double units_per_em = ft->units_per_EM > 0 ? ft->units_per_EM : 2048;
  return RoundHalfUp(static_cast<double>(advance) * ppem * x_scale / units_per_em);
}

RealizedFont RealizeFont(const LOGFONTA &font, double device_per_logical_x,
                         double device_per_logical_y) {
  RealizedFont realized;
  char face_name[LF_FACESIZE + 1] = {};
  std::memcpy(face_name, font.lfFaceName, LF_FACESIZE);
  realized.vertical = IsVerticalFace(face_name);
  realized.weight = font.lfWeight > 0 ? static_cast<int>(std::min<LONG>(font.lfWeight, 1000)) : 400;
  realized.italic = font.lfItalic != 0;
  realized.underline = font.lfUnderline != 0;
  realized.strike_out = font.lfStrikeOut != 0;
  realized.escapement = static_cast<int>(font.lfEscapement % 3600);
  realized.face = &ResolveFace(face_name, realized.weight, realized.italic);
  const ResolvedFace &face = *realized.face;
  realized.synthetic_bold = realized.weight >= 600 && !face.bold;
  realized.synthetic_italic = realized.italic && !face.italic;

  const DesignMetrics design = DesignMetricsOf(face);
  const double cell_units = design.ascent + design.descent;
  // The requested height in whole device pixels: the cell for lfHeight > 0, the em below 0.
  int request = RoundHalfUp(ToDevice(font.lfHeight, device_per_logical_y));
  if (font.lfHeight == 0) request = kDefaultPixelHeight;
  if (request < 1) request = 1;
  if (font.lfHeight >= 0) {
    realized.ppem = request * design.units_per_em / cell_units;
    realized.height = request;
  } else {
    realized.ppem = request;
    realized.height = RoundHalfUp(request * cell_units / design.units_per_em);
  }
  realized.ascent = RoundHalfUp(realized.ppem * design.ascent / design.units_per_em);
  if (realized.ascent > realized.height) realized.ascent = realized.height;
  realized.descent = realized.height - realized.ascent;
  realized.internal_leading = std::max(0, realized.height - RoundHalfUp(realized.ppem));

  // lfWidth asks for an average character width: the glyphs are scaled to it.
  const double natural_average = realized.ppem * design.average_width / design.units_per_em;
  if (font.lfWidth != 0 && natural_average > 0.0) {
    int average = RoundHalfUp(ToDevice(font.lfWidth, device_per_logical_x));
    if (average < 1) average = 1;
    realized.x_scale = average / natural_average;
    realized.ave_char_width = average;
  } else {
    realized.ave_char_width = std::max(1, RoundHalfUp(natural_average));
  }
  realized.half_advance = RoundHalfUp(realized.ppem * realized.x_scale / 2.0);
  realized.full_advance = RoundHalfUp(realized.ppem * realized.x_scale);
  if (face.japanese) {
    realized.max_char_width = realized.full_advance;
  } else if (face.ft_face != nullptr) {
    const double units_per_em = face.ft_face->units_per_EM > 0 ? face.ft_face->units_per_EM : 2048;
    realized.max_char_width = RoundHalfUp(face.ft_face->max_advance_width * realized.ppem *
                                          realized.x_scale / units_per_em);
  } else {
    realized.max_char_width = realized.full_advance;
  }
  return realized;
}

void FillTextMetrics(const RealizedFont &font, double logical_per_device_x,
                     double logical_per_device_y, TEXTMETRICA *metrics) {
  if (metrics == nullptr) return;
  auto y = [&](int pixels) {
    return static_cast<LONG>(RoundHalfUp(pixels * logical_per_device_y));
  };
  auto x = [&](int pixels) {
    return static_cast<LONG>(RoundHalfUp(pixels * logical_per_device_x));
  };
  *metrics = TEXTMETRICA{};
  metrics->tmAscent = y(font.ascent);
  metrics->tmDescent = y(font.descent);
  metrics->tmHeight = y(font.height);
  metrics->tmInternalLeading = y(font.internal_leading);
  metrics->tmExternalLeading = 0;
  metrics->tmAveCharWidth = x(font.ave_char_width);
  metrics->tmMaxCharWidth = x(font.max_char_width);
  metrics->tmWeight = font.weight;
  metrics->tmOverhang = 0;
  metrics->tmDigitizedAspectX = 96;
  metrics->tmDigitizedAspectY = 96;
  const bool japanese = font.face != nullptr && font.face->japanese;
  metrics->tmFirstChar = japanese ? 0x20 : 0x1E;
  metrics->tmLastChar = japanese ? 0xFE : 0xFF;
  metrics->tmDefaultChar = japanese ? 0x1F : 0x1F;
  metrics->tmBreakChar = 0x20;
  metrics->tmItalic = font.italic ? 0xFF : 0;
  metrics->tmUnderlined = font.underline ? 0xFF : 0;
  metrics->tmStruckOut = font.strike_out ? 0xFF : 0;
  // TMPF_VECTOR | TMPF_TRUETYPE; the low bit set means variable pitch.
  const BYTE family = font.face == nullptr                           ? 0x30
                      : font.face->typeface == Typeface::kLatinSerif ? 0x10
                      : font.face->typeface == Typeface::kLatinSans  ? 0x20
                                                                     : 0x30;
  const bool variable =
      font.face != nullptr && !japanese && font.face->typeface != Typeface::kLatinMono;
  metrics->tmPitchAndFamily = static_cast<BYTE>(family | 0x06 | (variable ? 0x01 : 0x00));
  metrics->tmCharSet = japanese ? SHIFTJIS_CHARSET : ANSI_CHARSET;
}

void BaselineDirection(int escapement, bool x_flipped, bool y_flipped, double *dx, double *dy) {
  const int tenths = (x_flipped != y_flipped) ? -escapement : escapement;
  const double radians = (tenths % 3600) * 3.14159265358979 / 1800.0;
  if (dx != nullptr) *dx = std::cos(radians);
  if (dy != nullptr) *dy = -std::sin(radians);
}

}  // namespace tamvel::posix
