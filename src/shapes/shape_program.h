// A drawn mark or arrow as a short list of plot-unit drawing steps. The geometry builds the
// list without a DC (mark_geometry.h, arrow_geometry.h); RunShapeProgram (shape_program.cpp)
// performs it through PLOT, LINE6, PATRN, ARCC and WEDGEG.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/win32.h"
#include "src/shapes/plot_point.h"

namespace tamvel {

enum class ShapeStep : uint8_t {
  kMove,     // PLOT(point, 3)
  kDraw,     // PLOT(point, 2)
  kOutline,  // LINE6(0, points): a solid polyline with the page pen
  kFill,     // PATRN(points, fill_code)
  kCircle,   // ARCC(centre, radius, 0, 360)
  kDisc,     // null pen, WEDGEG(centre, radius, 0, 360, 1, -1), then a solid pen
};

constexpr int kMaxStepPoints = 9;
constexpr int kMaxShapeSteps = 16;

struct ShapeOp {
  ShapeStep step = ShapeStep::kMove;
  int32_t count = 0;  // points used
  PlotPoint points[kMaxStepPoints];
  int32_t fill_code = 0;  // kFill
  float radius = 0.0f;    // kCircle, kDisc (points[0] is the centre)
};

struct ShapeProgram {
  int32_t count = 0;
  ShapeOp ops[kMaxShapeSteps];

  void Move(PlotPoint p) { Add(ShapeStep::kMove, {p}); }
  void Draw(PlotPoint p) { Add(ShapeStep::kDraw, {p}); }
  // A -> B: pen up to A, stroke to B.
  void Stroke(PlotPoint a, PlotPoint b) {
    Move(a);
    Draw(b);
  }
  void Outline(std::initializer_list<PlotPoint> points) { Add(ShapeStep::kOutline, points); }
  void Fill(std::initializer_list<PlotPoint> points, int32_t code) {
    Add(ShapeStep::kFill, points).fill_code = code;
  }
  void Circle(PlotPoint centre, float radius) { Add(ShapeStep::kCircle, {centre}).radius = radius; }
  void Disc(PlotPoint centre, float radius) { Add(ShapeStep::kDisc, {centre}).radius = radius; }

 private:
  ShapeOp &Add(ShapeStep step, std::initializer_list<PlotPoint> points) {
    // The tables never need more; a full program keeps its last step (never reached).
    ShapeOp &op = ops[count < kMaxShapeSteps ? count++ : kMaxShapeSteps - 1];
    op.step = step;
    op.count = 0;
    for (PlotPoint p : points) {
      if (op.count < kMaxStepPoints) op.points[op.count++] = p;
    }
    return op;
  }
};

// Performs the steps on the current page.
void RunShapeProgram(const ShapeProgram &program);

// The page pen and brush as a mark or arrow finds them. Filled parts are painted with a brush
// in the pen's colour; the brush is put back afterwards.
struct PenAndBrush {
  UINT pen_style = 0;
  int32_t pen_width = 0;
  COLORREF pen_colour = 0;
  UINT brush_style = 0;
  COLORREF brush_colour = 0;
  uintptr_t brush_hatch = 0;
};
PenAndBrush ReadPenAndBrush();
// Applies a brush of `style` and the pen's colour, keeping the read hatch.
void ApplyBrushInPenColour(const PenAndBrush &saved, UINT style);
void RestoreBrush(const PenAndBrush &saved);

}  // namespace tamvel
