#include "tools/tamvel/paper.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace tamvel::tool {
namespace {

constexpr double kMaxPaperMm = 10000;

struct NamedPaper {
  const char *name;
  double width_mm;
  double height_mm;
};

// Portrait sizes. B4 and B5 are the Japanese (JIS) sizes, which Japanese printers mean by them.
constexpr NamedPaper kPapers[] = {
    {"A0", 841, 1189}, {"A1", 594, 841},         {"A2", 420, 594},        {"A3", 297, 420},
    {"A4", 210, 297},  {"A5", 148, 210},         {"A6", 105, 148},        {"B4", 257, 364},
    {"B5", 182, 257},  {"Letter", 215.9, 279.4}, {"Legal", 215.9, 355.6},
};

}  // namespace

bool ParsePaper(const std::string &text, Paper &paper) {
  for (const NamedPaper &named : kPapers) {
    if (strcasecmp(text.c_str(), named.name) == 0) {
      paper = {named.width_mm, named.height_mm, true};
      return true;
    }
  }
  double width = 0, height = 0;
  int used = 0;
  if (std::sscanf(text.c_str(), "%lf%*[xX]%lfmm%n", &width, &height, &used) != 2 ||
      used != static_cast<int>(text.size())) {
    return false;
  }
  if (!(width > 0 && width <= kMaxPaperMm && height > 0 && height <= kMaxPaperMm)) return false;
  paper = {width, height, false};
  return true;
}

std::string PaperNames() {
  std::string names;
  for (const NamedPaper &named : kPapers) {
    if (!names.empty()) names += ", ";
    names += named.name;
  }
  return names;
}

Paper TurnedFor(const Paper &paper, double width_mm, double height_mm) {
  Paper turned = paper;
  const bool landscape = width_mm > height_mm;
  if (paper.follows_picture && landscape != (paper.width_mm > paper.height_mm)) {
    std::swap(turned.width_mm, turned.height_mm);
  }
  return turned;
}

PagePlacement PlaceOnPaper(double picture_width_mm, double picture_height_mm, double paper_width_mm,
                           double paper_height_mm, int page_px_width, int page_px_height) {
  const double scale =
      std::min({1.0, paper_width_mm / picture_width_mm, paper_height_mm / picture_height_mm});
  const double px_per_mm_x = page_px_width / paper_width_mm;
  const double px_per_mm_y = page_px_height / paper_height_mm;
  PagePlacement placement;
  placement.right = static_cast<int>(std::lround(picture_width_mm * scale * px_per_mm_x));
  placement.bottom = page_px_height;
  placement.top =
      page_px_height - static_cast<int>(std::lround(picture_height_mm * scale * px_per_mm_y));
  return placement;
}

}  // namespace tamvel::tool
