// How far our player's picture of a page agrees with the system GDI's picture of the same
// metafile at the same size (the differential test, tools/ci/gdi-agreement.sh, makes GDI's
// pictures under wine64 with tests/gdi/gdi_render.cpp).
//
// Two figures per page, each a percentage of the pixels inked in either picture:
//   forgiving: after a one-pixel box blur of both pictures, the inked pixels whose colour in
//              one picture has no match within kBlurredTolerance anywhere within one pixel in
//              the other (either way round). Anti-aliasing and a pixel of placement are
//              forgiven; a missing, extra, moved or wrongly coloured stroke is not.
//   strict:    the inked pixels whose colours differ by more than kStrictTolerance in a
//              channel at the same place, without blur.
#pragma once

#include <string>

#include "platform/posix/raster_image.h"

namespace tamvel::test {

struct Agreement {
  int inked = 0;      // pixels inked in either picture
  int unmatched = 0;  // forgiving comparison: inked pixels without a match nearby
  int different = 0;  // strict comparison: inked pixels that differ in place
  double Forgiving() const { return inked == 0 ? 0.0 : 100.0 * unmatched / inked; }
  double Strict() const { return inked == 0 ? 0.0 : 100.0 * different / inked; }
};

// How the forgiving comparison matches an inked pixel: by colour as described above, or by
// ink position, which also takes the same ink at another density within one pixel (for text,
// whose glyphs each rasteriser shades its own way: the glyphs are compared by where their
// ink is, not by how dark).
enum class Matching { kColours, kInkPositions };

// Both pictures must have the same size (a size mismatch counts every pixel as different).
Agreement CompareWithGdi(const posix::RasterImage &ours, const posix::RasterImage &gdi,
                         Matching matching = Matching::kColours);

// GDI's picture, ours and a map of the disagreement, side by side: in the map, pixels that
// agree are pale grey, our ink that GDI lacks is red, GDI's ink that ours lacks is blue.
posix::RasterImage SideBySide(const posix::RasterImage &ours, const posix::RasterImage &gdi,
                              Matching matching = Matching::kColours);

// The largest figures a page may reach; `why` is a set of the reasons of
// gdi_agreement_test.cpp for a page above the targets (0: at the targets).
struct PageLimit {
  const char *page;
  double forgiving;  // percent of inked pixels
  double strict;
  unsigned why;
};

// The limits of `page` from the table of gdi_agreement_test.cpp (the targets for a page the
// table does not list).
PageLimit LimitOf(const std::string &page);
// How a page's pixels are matched: by ink position for the pages the table marks as text.
Matching MatchingOf(const PageLimit &limit);

// The folder the differential test works in (TAMVEL_GDI_AGREEMENT: pages/*.emf, gdi/*.png,
// differences/), or empty when GDI's pictures are not there (every run but CI's step).
std::string GdiAgreementFolder();

// Compares `ours` with GDI's picture of `page` against the page's limits; beyond them a test
// failure says by how much, and the side-by-side picture goes to differences/<label>.png.
void ExpectAgreement(const std::string &label, const std::string &page,
                     const posix::RasterImage &ours, const posix::RasterImage &gdi);

}  // namespace tamvel::test
