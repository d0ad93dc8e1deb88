// Fonts of the stand-in: face names (Shift-JIS, as the library writes them into LOGFONTA) are
// resolved to installed font files through fontconfig and opened with FreeType; a LOGFONTA is
// realised at a device scale into GDI-style metrics and per-character advances.
//
// The Japanese faces of the library's typeface table ("ＭＳ 明朝", "明朝", "丸ｺﾞｼｯｸ", "ｺﾞｼｯｸ",
// "ＭＳ ゴシック", each also with a leading "@") draw with IPA Mincho, IPA Gothic and Motoya L
// Maruberi, but measure like the Windows faces they stand for: cell height = em (ascent 220,
// descent 36 of 256, no internal leading), full-width characters 1 em, half-width ones ½ em,
// average width ½ em. Other names resolve to the metric-compatible Liberation faces (Sans,
// Serif, Mono by the name) and measure with the file's own metrics. The mapping is done here in
// code, never left to the system's aliases (which send "ＭＳ 明朝" to a font without kana).
//
// All sizes of a RealizedFont are device pixels; advances are whole pixels as GDI's are, so
// every extent in logical units is a multiple of the logical size of a pixel.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

#include "platform/posix/win32_api.h"

namespace tamvel::posix {

enum class Typeface { kMincho, kGothic, kRoundGothic, kLatinSans, kLatinSerif, kLatinMono };

// A face name resolved to a font file. Lives as long as the process (a cache owns it).
struct ResolvedFace {
  Typeface typeface = Typeface::kMincho;
  bool japanese = true;       // metrics from the Windows table, fixed-pitch half/full widths
  std::string file;           // empty when no usable font is installed
  int index = 0;              // face index inside the file
  FT_Face ft_face = nullptr;  // opened once; nullptr without a file
  bool bold = false;          // the file itself is bold / italic (Latin styles)
  bool italic = false;
};

// face_name: Shift-JIS, NUL-terminated, at most LF_FACESIZE bytes read; a leading "@" is
// ignored here (see IsVerticalFace). weight/italic choose among the Latin style files.
const ResolvedFace &ResolveFace(const char *face_name, int weight, bool italic);
// The face that draws characters a Latin face lacks (Japanese text in a Latin face).
const ResolvedFace &FallbackFace();
// The face's file opened once more for each instance number above 0 (0 is `ft_face`), for
// the process. cairo makes one font face per FT_Face and a synthetic style set on it holds
// for every user, so each synthesis paints through an FT_Face of its own.
FT_Face FaceInstance(const ResolvedFace &face, int instance);
bool IsVerticalFace(const char *face_name);

// A LOGFONTA realised at a device scale.
struct RealizedFont {
  const ResolvedFace *face = nullptr;
  bool vertical = false;  // "@" face: full-width characters stand upright along the baseline
  double ppem = 0.0;      // device pixels per em, vertically
  double x_scale = 1.0;   // horizontal glyph scale from lfWidth (1 = natural shape)
  int height = 0;         // tmHeight = ascent + descent
  int ascent = 0;
  int descent = 0;
  int internal_leading = 0;
  int ave_char_width = 0;
  int max_char_width = 0;
  int half_advance = 0;  // Japanese faces: advance of a half-width character
  int full_advance = 0;  // Japanese faces: advance of a full-width character
  int escapement = 0;    // tenths of a degree, as in the LOGFONTA
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  bool synthetic_bold = false;    // bold asked for, the file is not bold: embolden outlines
  bool synthetic_italic = false;  // italic asked for, the file is upright: slant outlines

  // Advance of one character in whole device pixels. full_width: a double-byte character of
  // the Shift-JIS input (for UTF-16 input use IsFullWidth).
  int Advance(char16_t unit, bool full_width) const;
};

// device_per_logical_x/y: absolute device pixels per logical unit of the DC's mapping.
RealizedFont RealizeFont(const LOGFONTA &font, double device_per_logical_x,
                         double device_per_logical_y);

// Whether a UTF-16 code unit is a full-width character (what a double-byte Shift-JIS
// character converts to); ASCII, U+00A5, U+203E and half-width katakana are half-width.
bool IsFullWidth(char16_t unit);

// Full-width characters that a vertical face turns with the column instead of standing
// upright (long vowel mark, dashes, brackets, wave dash) ...
bool TurnsInVerticalText(char16_t unit);
// ... and those it moves to the upper right of the cell (small comma and full stop).
bool ShiftsInVerticalText(char16_t unit);

// GDI's TEXTMETRICA of a realised font, in logical units (logical_per_device_*: absolute).
void FillTextMetrics(const RealizedFont &font, double logical_per_device_x,
                     double logical_per_device_y, TEXTMETRICA *metrics);

// Unit vector of the text baseline in device space (y down) for an escapement under a mapping
// whose logical axes are flipped as given. GM_COMPATIBLE rule: when exactly one axis is
// flipped (MM_TWIPS and the other y-up modes), the escapement turns the other way, so a
// positive escapement runs clockwise on the screen; in MM_TEXT it runs counter-clockwise.
void BaselineDirection(int escapement, bool x_flipped, bool y_flipped, double *dx, double *dy);

}  // namespace tamvel::posix
