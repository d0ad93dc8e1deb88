// Helpers shared by the calls that open a drawing (PLOTS, DIMTAB, DIMTABR) and PLOT's
// next-page step.
#pragma once

#include <cstdint>

#include "src/pages/page_table.h"

namespace tamvel {

// A size in millimetres to the tenths of a millimetre a recording is opened with:
// trunc(mm * 10 + 0.5), saturated to 32 bits.
int32_t TenthsOfMm(float mm);
// Origin, last point, rotation, scale factor and offsets back to their defaults.
void ResetCoordinateSystem(PlotState *state);

}  // namespace tamvel
