// Pens and lines: every line type at the thinnest and a wide width, every width code, the
// dash patterns of LINE6 (stroked as paths) on straight lines, curves and corners, DASHP
// and GRID.
#include <cmath>
#include <string>

#include "tamvel.h"
#include "tests/gdi/pages/feature_pages.h"

namespace tamvel::feature_pages {
namespace {

// Horizontal, vertical and diagonal lines, a circle and a polyline with corners, with the
// page pen as it is.
void LineFigures() {
  for (int i = 0; i < 4; ++i) {
    PLOT(5.0f, 62.0f - 6.0f * i, 3);
    PLOT(60.0f, 62.0f - 6.0f * i, 2);
  }
  PLOT(5.0f, 5.0f, 3);
  PLOT(55.0f, 35.0f, 2);
  PLOT(65.0f, 5.0f, 3);
  PLOT(65.0f, 65.0f, 2);
  ARC(82.0f, 50.0f, 12.0f, 0.0f, 360.0f, 0);
  PLOT(70.0f, 5.0f, 3);
  PLOT(78.0f, 30.0f, 2);
  PLOT(86.0f, 8.0f, 2);
  PLOT(95.0f, 30.0f, 2);
}

const char *const kLineTypeNames[] = {"solid", "dot", "dash", "dashdot", "dashdotdot"};

// Points of a sine wave along y, one period every 25 mm.
void Wave(float y, float amplitude, float *xs, float *ys, int count) {
  for (int i = 0; i < count; ++i) {
    xs[i] = 5.0f + 90.0f * i / (count - 1);
    ys[i] = y + amplitude * std::sin(xs[i] * 0.2513f);
  }
}

// One row per LINE6 pattern 1..11 (a zero-based `row` picks the height), drawn by `draw`.
void PatternRows(void (*draw)(int pattern, float y)) {
  for (int pattern = 1; pattern <= 11; ++pattern) {
    PENC(pattern % 6, 0, 0, 0);
    draw(pattern, 66.0f - 5.8f * pattern);
  }
}

}  // namespace

void AddLinePages(Pages &pages) {
  for (int code = 0; code <= 4; ++code) {
    const std::string style = kLineTypeNames[code];
    pages.push_back({"pen-style-" + style + "-thin", [code] {
                       PEN(0);
                       PENC(9, 0, 0, 0);
                       LNTYPE0(0, code);
                       LineFigures();
                     }});
    pages.push_back({"pen-style-" + style + "-wide", [code] {
                       PEN(8);
                       PENC(10, 0, 0, 0);
                       LNTYPE0(0, code);
                       LineFigures();
                     }});
  }
  pages.push_back({"pen-width-codes", [] {
                     static const int32_t kCodes[] = {0, 1, 2, 3, 5, 8, 10, 15, 20, -1, -3, -10};
                     for (int i = 0; i < 12; ++i) {
                       PEN(kCodes[i]);
                       PENC(i % 2 == 0 ? 0 : 2, 0, 0, 0);
                       PLOT(5.0f, 66.0f - 5.0f * i, 3);
                       PLOT(55.0f, 66.0f - 5.0f * i, 2);
                       PLOT(60.0f + 3.0f * i, 5.0f, 3);
                       PLOT(62.0f + 3.0f * i, 65.0f, 2);
                     }
                   }});
  pages.push_back({"pen-width-mm-curves", [] {
                     for (int i = 0; i < 6; ++i) {
                       PENW(0.1f + 0.35f * i);
                       PENC(i % 3 + 1, 0, 0, 0);
                       ARC(25.0f, 35.0f, 4.0f + 4.5f * i, 20.0f, 340.0f, 0);
                       PLOT(52.0f + 7.5f * i, 5.0f, 3);
                       PLOT(52.0f + 7.5f * i, 40.0f, 2);
                       PLOT(56.0f + 7.5f * i, 65.0f, 2);
                     }
                   }});
  pages.push_back({"path-dash-patterns-straight", [] {
                     PENW(0.5f);
                     PatternRows([](int pattern, float y) {
                       const float xs[2] = {5.0f, 95.0f}, ys[2] = {y, y};
                       LINE6(pattern, xs, ys, 2);
                     });
                   }});
  pages.push_back({"path-dash-patterns-wide", [] {
                     PENW(1.2f);
                     PatternRows([](int pattern, float y) {
                       const float xs[2] = {5.0f, 95.0f}, ys[2] = {y, y + 2.0f};
                       LINE6(pattern, xs, ys, 2);
                     });
                   }});
  pages.push_back({"path-dash-patterns-curved", [] {
                     PENW(0.3f);
                     PatternRows([](int pattern, float y) {
                       float xs[60], ys[60];
                       Wave(y, 2.0f, xs, ys, 60);
                       LINE6(pattern, xs, ys, 60);
                     });
                   }});
  pages.push_back({"path-dash-corners", [] {
                     PENW(0.8f);
                     for (int pattern = 0; pattern <= 4; ++pattern) {
                       const float y = 8.0f + 12.0f * pattern;
                       const float xs[6] = {5.0f, 20.0f, 30.0f, 55.0f, 60.0f, 95.0f};
                       const float ys[6] = {y, y + 9.0f, y, y + 8.0f, y + 1.0f, y + 6.0f};
                       PENC(pattern + 1, 0, 0, 0);
                       LINE6(pattern * 2 + 1, xs, ys, 6);
                     }
                   }});
  pages.push_back({"dashp-and-grid", [] {
                     PEN(0);
                     PENC(15, 0, 0, 0);
                     GRID(5.0f, 5.0f, 7.5f, 6.0f, 12, 5);
                     PENC(0, 0, 0, 0);
                     PEN(3);
                     for (int i = 0; i < 5; ++i) {
                       PLOT(5.0f, 40.0f + 6.0f * i, 3);
                       DASHP(95.0f, 40.0f + 6.0f * i + 3.0f * (i % 2), 0.8f + 1.0f * i);
                     }
                   }});
}

}  // namespace tamvel::feature_pages
