// Clipping: a clip region set from a rectangle, then combined with a rectangle or a polygon
// by union, intersection and difference, over lines, a wide stroke and fills.
#include "tamvel.h"
#include "tests/gdi/pages/feature_pages.h"

namespace tamvel::feature_pages {
namespace {

// What every clip page draws under its clip: thin diagonal hatching, a wide stroke, a solid
// disc and a patterned band, all across the page.
void ClippedContent() {
  PEN(0);
  PENC(2, 0, 0, 0);
  for (float x = -60.0f; x < kPageWidth; x += 3.0f) {
    PLOT(x, 0.0f, 3);
    PLOT(x + 70.0f, kPageHeight, 2);
  }
  PEN(20);
  PENC(1, 0, 0, 0);
  PLOT(5.0f, 60.0f, 3);
  PLOT(95.0f, 10.0f, 2);
  PEN(0);
  PENC(0, 0, 0, 0);
  FILLC(12, 0, 0, 0);
  WEDGE(50.0f, 35.0f, 15.0f, 0.0f, 360.0f, 0, 1);
  TEXTC(13, 0, 0, 0);
  RECTF(2.0f, 28.0f, 98.0f, 42.0f, 7);
}

const float kTriangleX[3] = {60.0f, 95.0f, 75.0f};
const float kTriangleY[3] = {5.0f, 15.0f, 65.0f};
const float kStarX[5] = {50.0f, 61.8f, 30.9f, 69.1f, 38.2f};
const float kStarY[5] = {65.0f, 10.0f, 45.0f, 45.0f, 10.0f};

void AddClipPage(Pages &pages, const char *name, void (*clip)()) {
  pages.push_back({name, [clip] {
                     clip();
                     ClippedContent();
                     RESETCLIP();
                     PENC(0, 0, 0, 0);
                     Frame(1.0f, 1.0f, kPageWidth - 1.0f, kPageHeight - 1.0f);
                   }});
}

}  // namespace

void AddClipPages(Pages &pages) {
  AddClipPage(pages, "clip-set-rectangle", [] { SETCLIP(20.0f, 15.0f, 80.0f, 55.0f); });
  AddClipPage(pages, "clip-or-rectangle", [] {
    SETCLIP(10.0f, 10.0f, 50.0f, 40.0f);
    ADDCLIP(40.0f, 30.0f, 90.0f, 60.0f);
  });
  AddClipPage(pages, "clip-and-rectangle", [] {
    SETCLIP(10.0f, 10.0f, 60.0f, 50.0f);
    ANDCLIP(40.0f, 25.0f, 90.0f, 60.0f);
  });
  AddClipPage(pages, "clip-diff-rectangle", [] {
    SETCLIP(10.0f, 10.0f, 90.0f, 60.0f);
    DIFFCLIP(30.0f, 25.0f, 70.0f, 45.0f);
  });
  AddClipPage(pages, "clip-or-polygon", [] {
    SETCLIP(5.0f, 10.0f, 40.0f, 60.0f);
    ADDCLIPP(kTriangleX, kTriangleY, 3);
  });
  AddClipPage(pages, "clip-and-polygon", [] {
    SETCLIP(10.0f, 5.0f, 90.0f, 40.0f);
    ANDCLIPP(kStarX, kStarY, 5);
  });
  AddClipPage(pages, "clip-diff-polygon", [] {
    SETCLIP(10.0f, 5.0f, 90.0f, 65.0f);
    DIFFCLIPP(kStarX, kStarY, 5);
  });
  // Drawing goes on unclipped after RESETCLIP (the frame of every page shows that too).
  AddClipPage(pages, "clip-reset", [] {
    SETCLIP(40.0f, 25.0f, 60.0f, 45.0f);
    PENC(4, 0, 0, 0);
    PEN(10);
    PLOT(5.0f, 5.0f, 3);
    PLOT(95.0f, 65.0f, 2);
    RESETCLIP();
    PLOT(5.0f, 65.0f, 3);
    PLOT(95.0f, 5.0f, 2);
    SETCLIP(0.0f, 0.0f, 30.0f, 70.0f);
  });
}

}  // namespace tamvel::feature_pages
