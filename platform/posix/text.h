// Text on a stand-in DC: TextOutA and the measuring calls (text.cpp), and the text run that
// the devices receive. A run is measured once in the DC's font at the DC's device scale;
// the recorder writes it as EMR_EXTTEXTOUTW records, a painting device draws it with
// PaintTextRun (text_paint.cpp). The metafile player hands played EMR_EXTTEXTOUTW records to
// OutputTextRun in the same form, so recording, re-recording and painting agree.
#pragma once

#include <cairo.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/fonts.h"
#include "platform/posix/win32_api.h"

namespace tamvel::posix {

class Dc;

struct TextRun {
  POINT reference{0, 0};         // logical; the current position when TA_UPDATECP is set
  UINT align = 0;                // the DC's TA_ flags, TA_UPDATECP cleared
  std::u16string text;           // one UTF-16 code unit per character
  std::vector<bool> full_width;  // per code unit: a double-byte (full-width) character
  std::vector<double> advances;  // device pixels per code unit, character extra included
  std::vector<int> dx;           // logical units per code unit, as recorded
  LOGFONTA log{};                // the DC's font
  RealizedFont font;             // the same at the DC's device scale
  double width = 0.0;            // device pixels: the sum of the advances
};

// Shift-JIS bytes measured in the DC's font: GDI's advances in whole device pixels plus the
// character extra (rounded to whole pixels), a double-byte character counting once.
TextRun MeasureShiftJis(const Dc &dc, const char *bytes, int count);
// UTF-16 text with recorded logical advances (null: the font's own advances and the DC's
// character extra), as EMR_EXTTEXTOUTW carries it.
TextRun MeasureUtf16(const Dc &dc, std::u16string_view text, const int32_t *logical_dx);

// Puts a measured run on the DC at (x, y) with the DC's text align; with TA_UPDATECP the run
// starts at the current position and moves it as GDI does (left: to the end of the text,
// right: to its start, centred: not at all). A recording DC writes EMR_EXTTEXTOUTW records
// (the align recorded without TA_UPDATECP, the current position as the reference, and
// EMR_MOVETOEX afterwards); vertical "@" faces are written in the portable form: full-width
// characters upright one record each, other runs turned with the column, with non-"@" fonts.
// Every other device paints the run (Device::DrawText).
BOOL OutputTextRun(HDC hdc, int x, int y, TextRun run);

// One glyph of a run placed in device space: its origin on the baseline (left end) and the
// unit vector of its baseline (device y down); its "up" is (by, -bx).
struct PlacedGlyph {
  char16_t unit = 0;
  const ResolvedFace *face = nullptr;  // the fallback face for kanji missing in a Latin face
  double x = 0.0;
  double y = 0.0;
  double bx = 1.0;
  double by = 0.0;
  double advance = 0.0;  // device pixels along the run (character extra included)
  bool upright = false;  // a full-width character standing in a vertical column
};

// Where the run's glyphs go on the DC's device, following the text align, the escapement
// (BaselineDirection) and, for "@" faces, vertical writing.
std::vector<PlacedGlyph> PlaceGlyphs(const Dc &dc, const TextRun &run);

// Paints a run with cairo in device pixels: the opaque background box (OPAQUE mode) in the
// DC's background colour, then the glyphs, underline and strike-out in the DC's text colour.
// The caller has set up the clip; set_colour makes a COLORREF the cairo source (with the
// DC's raster operation applied).
void PaintTextRun(cairo_t *cr, const Dc &dc, const TextRun &run,
                  const std::function<void(COLORREF)> &set_colour);

}  // namespace tamvel::posix
