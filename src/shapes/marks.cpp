// Drawn marks: CTSYM2 (outlined, filled and stroked marks) and CTSYMB (line-drawn marks).
#include <cmath>
#include <cstdint>

#include "include/tamvel.h"
#include "platform/win32.h"
#include "src/pages/page_table.h"
#include "src/shapes/mark_geometry.h"
#include "src/shapes/shape_program.h"

namespace tamvel {
namespace {

enum class MarkFamily { kCtsym2, kCtsymb };

// Filled marks take the pen colour: the brush keeps its style and hatch but gets the pen's
// colour for the duration of the mark and is restored afterwards.
void DrawMark(MarkFamily family, float x, float y, float height, int32_t code, float angle,
              int32_t ipen) {
  if (!std::isfinite(height) || !std::isfinite(angle)) return;  // no shape follows from them
  const PenAndBrush saved = ReadPenAndBrush();
  ApplyBrushInPenColour(saved, saved.brush_style);

  const float r = family == MarkFamily::kCtsym2 ? Ctsym2Radius(height) : CtsymbRadius(height);
  PLOT(x, y, ipen == -2 ? 2 : 3);
  const MarkPoints k = MarkConstructionPoints(x, y, r, angle);
  RunShapeProgram(family == MarkFamily::kCtsym2 ? Ctsym2Program(x, y, r, k, code)
                                                : CtsymbProgram(x, y, k, code));
  PLOT(x, y, 3);
  RestoreBrush(saved);
}

}  // namespace
}  // namespace tamvel

extern "C" {

// Mark `code` (0..11) of size `height` centred on (x, y), turned by `angle`; ipen -2 first
// draws a line from the pen position to the centre. The pen ends at the centre.
TAMVEL_API void TAMVEL_CALL CTSYM2(float x, float y, float height, int32_t code, float angle,
                                   int32_t ipen) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::DrawMark(tamvel::MarkFamily::kCtsym2, x, y, height, code, angle, ipen);
}

// Line-drawn mark `code` (0..14), otherwise as CTSYM2.
TAMVEL_API void TAMVEL_CALL CTSYMB(float x, float y, float height, int32_t code, float angle,
                                   int32_t ipen) {
  if (!tamvel::LibraryAttached()) return;
  tamvel::DrawMark(tamvel::MarkFamily::kCtsymb, x, y, height, code, angle, ipen);
}

}  // extern "C"
