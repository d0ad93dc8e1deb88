// Arcs, pies and ellipses as point lists. Every device, and every reader of a recording,
// then draws the same points: readers disagree about arc direction under a y-flipped page
// transform, so the recorder never writes EMR_ARC/EMR_PIE/EMR_ELLIPSE.
//
// Direction: counter-clockwise as seen on the output device. In MM_TEXT (y down) that is
// counter-clockwise on the screen; in the y-up metric modes an arc from the 0° radial to the
// 90° radial covers the north-east quadrant, as on paper.
#pragma once

#include <vector>

#include "platform/posix/mapping.h"

namespace tamvel::posix {

// The arc of the ellipse inscribed in `box` from the radial through `start` to the radial
// through `end` (logical units). Equal radials give the whole ellipse. Empty for an ellipse
// without area.
std::vector<POINT> ArcPoints(const PageMapping &mapping, const RECT &box, POINT start, POINT end);

// The whole ellipse, without repeating the first point at the end.
std::vector<POINT> EllipsePoints(const PageMapping &mapping, const RECT &box);

// The centre of `box`, rounded to logical units (the tip of a pie).
POINT BoxCentre(const RECT &box);

}  // namespace tamvel::posix
