// The feature pages of the differential test against GDI (tools/ci/gdi-agreement.sh). Each
// page isolates one thing the demo mixes, drawn with the library's own calls, and is named
// so that a page that disagrees with GDI says what is wrong: "clip-diff-polygon",
// "fill-pattern-08-bricks", "arrow-4-open-with-axis", "face-gothic" ...
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tamvel::feature_pages {

// Every page is a drawing of this size in millimetres; the test plays it at 96 dpi.
constexpr float kPageWidth = 100.0f;
constexpr float kPageHeight = 70.0f;

struct Page {
  std::string name;
  std::function<void()> draw;  // draws on the open drawing of the current page
};
using Pages = std::vector<Page>;

void AddClipPages(Pages &pages);
void AddLinePages(Pages &pages);
void AddFillPages(Pages &pages);
void AddMarkPages(Pages &pages);
void AddTextPages(Pages &pages);

// An outlined rectangle with the page pen.
void Frame(float x1, float y1, float x2, float y2);

}  // namespace tamvel::feature_pages
