// Fills: each of the fourteen 8 x 8 patterns, in the text and background colours, on a
// rectangle, a wedge and a polygon; solid and hollow fills with and without outlines; arcs
// and wedges in both directions.
#include <cstdio>
#include <string>

#include "tamvel.h"
#include "tests/gdi/pages/feature_pages.h"

namespace tamvel::feature_pages {
namespace {

const char *const kPatternNames[] = {
    "horizontal-lines", "rising-diagonals", "vertical-lines", "falling-diagonals", "square-grid",
    "diagonal-grid",    "bricks",           "staggered-dots", "checkerboard",      "sparse-dots",
    "staggered-blocks", "very-sparse-dots", "broad-bands",    "staggered-bars"};

const float kPolygonX[5] = {60.0f, 95.0f, 90.0f, 70.0f, 62.0f};
const float kPolygonY[5] = {5.0f, 10.0f, 30.0f, 32.0f, 20.0f};

void PatternPage(int pattern) {
  PEN(3);
  PENC(0, 0, 0, 0);
  TEXTC(9, 0, 0, 0);
  SETBKC(-1, 996, 996, 600);
  RECTF(5.0f, 35.0f, 45.0f, 65.0f, pattern);
  WEDGE(75.0f, 50.0f, 15.0f, 30.0f, 300.0f, 0, pattern);
  PATRN(kPolygonX, kPolygonY, 5, -pattern);  // no outline
  // Black on white, the colours a page starts with.
  TEXTC(0, 0, 0, 0);
  SETBKC(7, 0, 0, 0);
  RECTF(5.0f, 5.0f, 45.0f, 30.0f, pattern);
}

}  // namespace

void AddFillPages(Pages &pages) {
  for (int pattern = 2; pattern <= 15; ++pattern) {
    char name[64];
    std::snprintf(name, sizeof name, "fill-pattern-%02d-%s", pattern, kPatternNames[pattern - 2]);
    pages.push_back({name, [pattern] { PatternPage(pattern); }});
  }
  pages.push_back({"fill-solid-hollow-outline", [] {
                     PEN(5);
                     PENC(2, 0, 0, 0);
                     FILLC(4, 0, 0, 0);
                     RECTF(5.0f, 40.0f, 30.0f, 65.0f, 1);    // solid, outlined
                     RECTF(35.0f, 40.0f, 60.0f, 65.0f, -1);  // solid, no outline
                     RECTF(65.0f, 40.0f, 95.0f, 65.0f, 0);   // hollow: the outline only
                     static const TAMVEL_FSTRING kNoOutline{"NOOUTLINE", 9};
                     OPTION(&kNoOutline);
                     FILLC(-1, 900, 500, 100);
                     RECTF(5.0f, 5.0f, 30.0f, 30.0f, 1);
                     RECTF(35.0f, 5.0f, 60.0f, 30.0f, 16);  // hollow without outline: nothing
                     WEDGE(80.0f, 18.0f, 14.0f, 0.0f, 360.0f, 0, 1);
                   }});
  pages.push_back({"arcs-and-wedges", [] {
                     PEN(3);
                     PENC(1, 0, 0, 0);
                     ARC(20.0f, 50.0f, 14.0f, 0.0f, 120.0f, 0);
                     ARC(20.0f, 50.0f, 10.0f, 0.0f, 120.0f, -1);
                     ARCC(55.0f, 50.0f, 14.0f, 45.0f, 200.0f);
                     ARCC(55.0f, 50.0f, 10.0f, 45.0f, -120.0f);
                     PENC(0, 0, 0, 0);
                     FILLC(2, 0, 0, 0);
                     WEDGE(85.0f, 50.0f, 12.0f, 20.0f, 160.0f, 0, 1);
                     WEDGE(85.0f, 45.0f, 12.0f, 200.0f, 250.0f, -1, 1);
                     FILLC(5, 0, 0, 0);
                     WEDGEG(25.0f, 18.0f, 14.0f, 90.0f, 330.0f, 0, 1);
                     WEDGEG(65.0f, 18.0f, 14.0f, 300.0f, 60.0f, 0, -1);
                   }});
}

}  // namespace tamvel::feature_pages
