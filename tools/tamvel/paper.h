// Paper for PDF output (`tamvel render --paper`): named sizes and W x H in millimetres, and
// where a picture lands on the paper.
#pragma once

#include <string>

namespace tamvel::tool {

struct Paper {
  double width_mm = 0;
  double height_mm = 0;
  // A named size: turned to landscape for a picture that is wider than tall.
  bool follows_picture = false;
};

// "A4", "a3", "Letter", ... (see kPaperNames), or "WxHmm" such as "180x120mm" (each side
// above 0 and at most 10 m). False for anything else.
bool ParsePaper(const std::string &text, Paper &paper);

// The paper names for help texts: "A0, A1, ..., Legal".
std::string PaperNames();

// The paper a picture of width x height mm is printed on.
Paper TurnedFor(const Paper &paper, double width_mm, double height_mm);

// Where a picture lands on a page of page_px_width x page_px_height pixels that shows
// paper_width_mm x paper_height_mm: at its true size, or shrunk to fit (proportions kept)
// when it is larger, its lower-left corner on the lower-left corner of the paper, as the
// library's printing calls place a drawing.
struct PagePlacement {
  int left = 0, top = 0, right = 0, bottom = 0;
};
PagePlacement PlaceOnPaper(double picture_width_mm, double picture_height_mm, double paper_width_mm,
                           double paper_height_mm, int page_px_width, int page_px_height);

}  // namespace tamvel::tool
