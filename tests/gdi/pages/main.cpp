// feature_pages OUT_DIR: writes every feature page as OUT_DIR/<name>.emf and lists the files.
#include <cstdio>
#include <string>

#include "tamvel.h"
#include "tests/gdi/pages/feature_pages.h"

namespace tamvel::feature_pages {

void Frame(float x1, float y1, float x2, float y2) {
  PLOT(x1, y1, 3);
  PLOT(x2, y1, 2);
  PLOT(x2, y2, 2);
  PLOT(x1, y2, 2);
  PLOT(x1, y1, 2);
}

}  // namespace tamvel::feature_pages

int main(int argc, char **argv) {
  using namespace tamvel::feature_pages;
  if (argc != 2) {
    std::fprintf(stderr, "usage: feature_pages OUT_DIR\n");
    return 2;
  }
  Pages pages;
  AddClipPages(pages);
  AddLinePages(pages);
  AddFillPages(pages);
  AddMarkPages(pages);
  AddTextPages(pages);
  int failures = 0;
  for (const Page &page : pages) {
    const std::string path = std::string(argv[1]) + "/" + page.name + ".emf";
    CHPAGE(1);
    int32_t result = -1;  // the drawing could not be opened
    if (PLOTS(kPageWidth, kPageHeight, 0) != 0) {
      page.draw();
      result = SAVEFILE(path.c_str());
    }
    if (result == 0) {
      std::printf("%s\n", path.c_str());
    } else {
      std::fprintf(stderr, "feature_pages: %s failed (%d)\n", path.c_str(),
                   static_cast<int>(result));
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
