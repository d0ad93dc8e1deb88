// Operations of the shapes subsystem that other calls build on.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace tamvel {

// Line-type codes 0..5 (solid, dot, dash, dash-dot, dash-dot-dot, none) to pen styles and
// back; any other code sets a solid pen, any other style reads back as 0.
uint32_t LineTypeToPenStyle(int32_t code);
int32_t PenStyleToLineType(uint32_t style);

// Gives the current page pen the style of a line-type code with its width and colour
// unchanged; returns the code of the style it had.
int32_t SetLineType(int32_t code);
// The same with a pen style; returns the style the pen had.
UINT ReplacePenStyle(UINT style);

// FILLPT: makes the current page brush the brush of a fill pattern code (0 and everything
// outside 1..15 hollow, 1 solid, 2..15 a pattern bitmap); colour and hatch stay.
void SelectFillPattern(int32_t code);

// ToPageUnits into a POINT (its members are LONG, not int, on Windows).
POINT PagePoint(float x, float y);
POINT PagePointWithMargin(float x, float y);

// TransformPoint and ToPageUnits (or ToPageUnitsWithMargin) for points 0 .. count-1 of the
// two coordinate arrays, in order, into `out`.
enum class PageClamp { kLimits, kLimitsWithMargin };
void TransformToPagePoints(const float *x, const float *y, int32_t count, PageClamp clamp,
                           POINT *out);

}  // namespace tamvel
