// The page states every call is tried in. Each is made in a process of its own on a freshly
// attached library; fonts and the painting devices are warmed up first, so that each call's
// child does not pay for their first use.
#include <cstdio>
#include <random>

#include "include/tamvel_linux.h"
#include "tests/contract/contract.h"

namespace tamvel::contract {
namespace {

void DrawSomething() {
  PLOT(20.0f, 30.0f, 3);
  PLOT(120.0f, 30.0f, 2);
  SYMBOL(20.0f, 40.0f, 5.0f, "Ab1", 0.0f, 3);
  KANJI(20.0f, 60.0f, 5.0f, "\x82\xa0\x82\xa2", 0.0f, -2);
}

// Text in every face and a page played into an image, on page 100, which is then cleared.
void WarmUp() {
  CHPAGE(100);
  PLOTS(210.0f, 297.0f, 0);
  for (int code : {0, 2, 3}) {
    SETFON(code, 0);
    DrawSomething();
  }
  PLOT(0.0f, 0.0f, 999);
  TAMVEL_HDC image = TamvelCreateImageDC(64, 48);
  TAMVEL_HWND window = TamvelCreateWindow(64, 48);
  PasteEmf(image, window);
  TamvelDeleteDC(image);
  TamvelDestroyWindow(window);
  ClearEmf(100);
  CHPAGE(1);
}

void NoPage(std::FILE *) { WarmUp(); }

void Recording(std::FILE *) {
  WarmUp();
  PLOTS(210.0f, 297.0f, 0);
  DrawSomething();
}

void Closed(std::FILE *log) {
  Recording(log);
  PLOT(0.0f, 0.0f, 999);
}

void AllPagesOpen(std::FILE *) {
  WarmUp();
  for (int page = 1; page <= 100; ++page) {
    CHPAGE(page);
    PLOTS(210.0f, 297.0f, 0);
    DrawSomething();
  }
  CHPAGE(1);
}

// 300 calls chosen at random (a fixed seed), each argument hostile one time in three.
void AfterRandomCalls(std::FILE *log) {
  Recording(log);
  BuildValues();
  std::mt19937 random(15);
  const std::vector<Call> &calls = Calls();
  for (int i = 0; i < 300; ++i) {
    const Call &call = calls[random() % calls.size()];
    Arguments arguments;
    for (Kind kind : call.kinds) {
      const std::vector<Value> &values = ValuesOf(kind);
      arguments.values.push_back(&values[random() % 3 == 0 ? random() % values.size() : 0]);
    }
    std::fprintf(log, "  %s;\n", Describe(call, arguments).c_str());
    std::fflush(log);
    ResetScratchFiles();
    call.invoke(arguments);
  }
}

}  // namespace

const std::vector<PageState> &PageStates() {
  static const std::vector<PageState> states = {
      {"no page", "nothing opened", NoPage},
      {"recording", "PLOTS(210, 297, 0), a line and two texts", Recording},
      {"closed", "PLOTS(210, 297, 0), a line and two texts, PLOT(0, 0, 999)", Closed},
      {"all pages open",
       "CHPAGE(p), PLOTS(210, 297, 0), a line and two texts for p = 1..100, "
       "CHPAGE(1)",
       AllPagesOpen},
      {"after random calls",
       "PLOTS(210, 297, 0), a line, two texts and these calls:", AfterRandomCalls},
  };
  return states;
}

}  // namespace tamvel::contract
