// The first page in C++: a bar chart of a few values, each bar filled in a colour of its own
// and labelled with its value, saved as an enhanced metafile.
//
//   c++ first_page.cpp -o first_page_cpp $(pkg-config --cflags --libs tamvel)
//   ./first_page_cpp              writes first_page.emf (or the file named on the command line)
#include <tamvel.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Text in the SYMBOL calls is counted in bytes.
void Text(float x, float y, float height, const std::string &text, int32_t align) {
  SYMBL2(x, y, height, text.c_str(), 0.0f, static_cast<int32_t>(text.size()), align);
}

}  // namespace

int main(int argc, char **argv) {
  const std::string path = argc > 1 ? argv[1] : "first_page.emf";
  const std::vector<std::pair<std::string, float>> sales = {
      {"Jan", 12.5f}, {"Feb", 18.0f}, {"Mar", 9.5f}, {"Apr", 22.0f}, {"May", 16.5f}};

  if (PLOTS(210.0f, 148.0f, 0) == 0) return 1;
  Text(105.0f, 125.0f, 7.0f, "tamvel from C++", 1);

  // The chart's origin at (30, 25); the bars are 3 mm per unit high.
  PLOT(30.0f, 25.0f, -3);
  PEN(3);
  PLOT(0.0f, 0.0f, 3);
  PLOT(160.0f, 0.0f, 2);
  for (size_t i = 0; i < sales.size(); ++i) {
    const float left = 10.0f + 30.0f * static_cast<float>(i);
    const float top = 3.0f * sales[i].second;
    FILLC(static_cast<int32_t>(i) + 1, 0, 0, 0);  // colour codes 1 (blue) to 5 (cyan)
    RECTF(left, 0.0f, left + 20.0f, top, 1);      // fill pattern 1: solid, outlined
    Text(left + 10.0f, -7.0f, 4.0f, sales[i].first, 1);
    NUMBR2(left + 10.0f, top + 2.0f, 3.5f, sales[i].second, 0.0f, 1, 1);
  }

  PLOT(0.0f, 0.0f, 999);
  const int32_t status = SAVEFILE(path.c_str());
  if (status != 0) {
    std::fprintf(stderr, "first_page: SAVEFILE %s failed with code %d\n", path.c_str(),
                 static_cast<int>(status));
    return 1;
  }
  std::printf("wrote %s\n", path.c_str());
  return 0;
}
