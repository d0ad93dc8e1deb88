// Arrow heads: AROWHD.
#include <cmath>
#include <cstdint>

#include "include/tamvel.h"
#include "platform/win32.h"
#include "src/pages/page_table.h"
#include "src/shapes/arrow_geometry.h"
#include "src/shapes/shape_program.h"

extern "C" {

// An arrow from (x1, y1) to (x2, y2) with a head of `length` x `width` at the end point in
// style type % 10 (1..8); type / 10 adds the shaft (1) and a second head at the start (2 and
// more). Filled heads take the pen colour. The pen ends at the tip.
TAMVEL_API void TAMVEL_CALL AROWHD(float x1, float y1, float x2, float y2, float length,
                                   float width, int32_t type) {
  using namespace tamvel;
  if (!LibraryAttached() || !std::isfinite(length) || !std::isfinite(width)) return;
  const PenAndBrush saved = ReadPenAndBrush();
  const PlotPoint start{x1, y1};
  const PlotPoint end{x2, y2};
  if (!ArrowHasLength(start, end)) return;
  ApplyBrushInPenColour(saved, BS_SOLID);
  RunShapeProgram(ArrowProgram(MakeArrowPoints(start, end, length, width), type));
  PLOT(x2, y2, 3);
  RestoreBrush(saved);
}

}  // extern "C"
