// The arrows of AROWHD: construction points of the heads and the drawing steps of the eight
// head styles with their shaft and second head, in plot units.
#pragma once

#include <cstdint>

#include "src/shapes/plot_point.h"
#include "src/shapes/shape_program.h"

namespace tamvel {

struct ArrowPoints {
  PlotPoint s, e;    // start and end (tip of the main head)
  PlotPoint p, q;    // middle of the base of the head at E and at S
  PlotPoint pr, pl;  // base corners of the head at E, right and left of the direction S -> E
  PlotPoint qr, ql;  // base corners of the head at S
};

// False when S and E coincide (or a coordinate is NaN): nothing is drawn then.
bool ArrowHasLength(PlotPoint s, PlotPoint e);
ArrowPoints MakeArrowPoints(PlotPoint s, PlotPoint e, float length, float width);

// Head style t = type % 10 (1..8 draw) and extras n = type / 10: 0 head only, 1 with the
// shaft, 2 and more with a second head at S. Other types give an empty program.
ShapeProgram ArrowProgram(const ArrowPoints &a, int32_t type);

}  // namespace tamvel
