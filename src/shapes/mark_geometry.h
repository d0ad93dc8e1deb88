// The drawn marks of CTSYM2 and CTSYMB: the eight construction points about the centre and the
// drawing steps of every mark code, in plot units.
#pragma once

#include <array>
#include <cstdint>

#include "src/shapes/plot_point.h"
#include "src/shapes/shape_program.h"

namespace tamvel {

// Construction points by compass direction (k = 0 .. 7, 45 degrees apart from the mark angle).
enum MarkPoint { kE = 0, kNE, kN, kNW, kW, kSW, kS, kSE };
using MarkPoints = std::array<PlotPoint, 8>;

float Ctsym2Radius(float height);  // 0.4 h
float CtsymbRadius(float height);  // 0.375 h

// Point k: the centre plus (r cos a, r sin a) with a = angle + 45 k degrees; the corners (odd
// k) lie on the square of half-side r, their displacement stretched by 1.4142135.
MarkPoints MarkConstructionPoints(float x, float y, float r, float angle);

// The steps of a mark code, after the common start at the centre; an unknown code gives an
// empty program. (x, y) is the centre as passed.
ShapeProgram Ctsym2Program(float x, float y, float r, const MarkPoints &k, int32_t code);
ShapeProgram CtsymbProgram(float x, float y, const MarkPoints &k, int32_t code);

}  // namespace tamvel
