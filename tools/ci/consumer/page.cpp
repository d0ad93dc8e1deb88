// A C++ program built against an installed tamvel: the header's calls from C++, a page of
// numbers saved to the file named by its argument.
#include <tamvel.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: page_cpp FILE.emf\n");
    return 2;
  }
  const std::string title = "consumer C++";
  CHPAGE(1);
  if (PLOTS(210.0f, 148.0f, 0) == 0) return 1;
  SYMBOL(20.0f, 120.0f, 6.0f, title.c_str(), 0.0f, static_cast<int32_t>(title.size()));
  for (int i = 1; i <= 3; ++i) NUMBER(20.0f, 100.0f - 10.0f * i, 5.0f, 3.14159f * i, 0.0f, 2);
  PLOT(0.0f, 0.0f, 999);
  const int32_t status = SAVEFILE(argv[1]);
  std::printf("page_cpp: SAVEFILE %s -> %d\n", argv[1], static_cast<int>(status));
  return status == 0 ? 0 : 1;
}
