// Performs the drawing steps of marks and arrows through the plot-unit calls, so that every
// point passes the page's coordinate transformation.
#include "src/shapes/shape_program.h"

#include "include/tamvel.h"
#include "platform/win32.h"
#include "src/pages/page_table.h"
#include "src/shapes/shapes.h"

namespace tamvel {

PenAndBrush ReadPenAndBrush() {
  PenAndBrush saved;
  const EmfPage &page = CurrentPage();
  page.ReadPenState(&saved.pen_style, &saved.pen_width, &saved.pen_colour);
  page.ReadBrushState(&saved.brush_style, &saved.brush_colour, &saved.brush_hatch);
  return saved;
}

void ApplyBrushInPenColour(const PenAndBrush &saved, UINT style) {
  CurrentPage().ApplyBrushState(style, saved.pen_colour, saved.brush_hatch);
}

void RestoreBrush(const PenAndBrush &saved) {
  CurrentPage().ApplyBrushState(saved.brush_style, saved.brush_colour, saved.brush_hatch);
}

void RunShapeProgram(const ShapeProgram &program) {
  for (int32_t i = 0; i < program.count; ++i) {
    const ShapeOp &op = program.ops[i];
    float x[kMaxStepPoints];
    float y[kMaxStepPoints];
    for (int32_t j = 0; j < op.count; ++j) {
      x[j] = op.points[j].x;
      y[j] = op.points[j].y;
    }
    switch (op.step) {
      case ShapeStep::kMove:
        PLOT(x[0], y[0], 3);
        break;
      case ShapeStep::kDraw:
        PLOT(x[0], y[0], 2);
        break;
      case ShapeStep::kOutline:
        LINE6(0, x, y, op.count);
        break;
      case ShapeStep::kFill:
        PATRN(x, y, op.count, op.fill_code);
        break;
      case ShapeStep::kCircle:
        ARCC(x[0], y[0], op.radius, 0.0f, 360.0f);
        break;
      case ShapeStep::kDisc:
        // A disc without outline; the pen is left solid afterwards.
        ReplacePenStyle(PS_NULL);
        WEDGEG(x[0], y[0], op.radius, 0.0f, 360.0f, 1, -1);
        ReplacePenStyle(PS_SOLID);
        break;
    }
  }
}

}  // namespace tamvel
