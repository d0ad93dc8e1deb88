// Marks and arrows: every drawn mark of CTSYM2 and CTSYMB upright and turned, every glyph
// mark of CTSYM1, and each of the eight arrow heads alone, with a shaft and with two heads.
#include <string>

#include "tamvel.h"
#include "tests/gdi/pages/feature_pages.h"

namespace tamvel::feature_pages {
namespace {

using MarkCall = void (*)(float, float, float, int32_t, float, int32_t);

// `count` marks in two rows: upright above, turned by 30 degrees and joined (ipen -2) below.
void MarkRows(MarkCall mark, int count, float size) {
  const float step = 90.0f / ((count + 1) / 2);
  for (int code = 0; code < count; ++code) {
    const float x = 8.0f + step * (code % ((count + 1) / 2));
    const float y = code < (count + 1) / 2 ? 58.0f : 42.0f;
    mark(x, y, size, code, 0.0f, 3);
  }
  PLOT(5.0f, 12.0f, 3);
  for (int code = 0; code < count; ++code) {
    mark(8.0f + 86.0f * code / (count - 1), 20.0f - 8.0f * (code % 2), size * 0.8f, code, 30.0f,
         -2);
  }
}

const char *const kArrowNames[] = {
    "closed",      "closed-to-start", "half-closed", "open-with-axis",
    "single-barb", "filled",          "half-filled", "open"};

}  // namespace

void AddMarkPages(Pages &pages) {
  pages.push_back({"marks-ctsym2-drawn", [] {
                     PEN(3);
                     PENC(10, 0, 0, 0);
                     MarkRows(CTSYM2, 12, 9.0f);
                   }});
  pages.push_back({"marks-ctsymb-lines", [] {
                     PEN(2);
                     PENC(9, 0, 0, 0);
                     MarkRows(CTSYMB, 15, 9.0f);
                   }});
  pages.push_back({"marks-ctsym1-glyphs", [] {
                     PENC(1, 0, 0, 0);
                     MarkRows(CTSYM1, 16, 8.0f);
                   }});
  for (int type = 1; type <= 8; ++type) {
    pages.push_back({"arrow-" + std::to_string(type) + "-" + kArrowNames[type - 1], [type] {
                       PEN(3);
                       PENC(0, 0, 0, 0);
                       for (int extras = 0; extras <= 2; ++extras) {
                         AROWHD(10.0f, 60.0f - 12.0f * extras, 90.0f, 60.0f - 12.0f * extras, 8.0f,
                                5.0f, type + 10 * extras);
                       }
                       PENC(2, 0, 0, 0);
                       AROWHD(10.0f, 8.0f, 55.0f, 28.0f, 7.0f, 6.0f, type + 20);
                       AROWHD(75.0f, 5.0f, 75.0f, 28.0f, 6.0f, 4.0f, type + 10);
                       AROWHD(95.0f, 28.0f, 82.0f, 5.0f, 6.0f, 6.0f, type);
                     }});
  }
}

}  // namespace tamvel::feature_pages
