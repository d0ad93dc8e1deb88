// The fill pattern table and its conversion to bitmap bits.
#include "src/shapes/fill_patterns.h"

namespace tamvel {
namespace {

constexpr int kRows = 8;

// '0' is ink, a blank is background; top row first.
constexpr const char *kPatternRows[16][kRows] = {
    {"        ", "        ", "        ", "        ", "        ", "        ", "        ",
     "        "},
    {"00000000", "00000000", "00000000", "00000000", "00000000", "00000000", "00000000",
     "00000000"},
    // 2 horizontal lines
    {"00000000", "        ", "00000000", "        ", "00000000", "        ", "00000000",
     "        "},
    // 3 diagonal lines rising to the right
    {"   0   0", "  0   0 ", " 0   0  ", "0   0   ", "   0   0", "  0   0 ", " 0   0  ",
     "0   0   "},
    // 4 vertical lines
    {"0 0 0 0 ", "0 0 0 0 ", "0 0 0 0 ", "0 0 0 0 ", "0 0 0 0 ", "0 0 0 0 ", "0 0 0 0 ",
     "0 0 0 0 "},
    // 5 diagonal lines falling to the right
    {"0   0   ", " 0   0  ", "  0   0 ", "   0   0", "0   0   ", " 0   0  ", "  0   0 ",
     "   0   0"},
    // 6 square grid
    {"00000000", "0 0 0 0 ", "00000000", "0 0 0 0 ", "00000000", "0 0 0 0 ", "00000000",
     "0 0 0 0 "},
    // 7 diagonal grid
    {"0   0   ", " 0 0 0 0", "  0   0 ", " 0 0 0 0", "0   0   ", " 0 0 0 0", "  0   0 ",
     " 0 0 0 0"},
    // 8 bricks
    {"00000000", "0       ", "00000000", "    0   ", "00000000", "0       ", "00000000",
     "    0   "},
    // 9 staggered dots, one in four
    {"0   0   ", "  0   0 ", "0   0   ", "  0   0 ", "0   0   ", "  0   0 ", "0   0   ",
     "  0   0 "},
    // 10 checkerboard
    {"0 0 0 0 ", " 0 0 0 0", "0 0 0 0 ", " 0 0 0 0", "0 0 0 0 ", " 0 0 0 0", "0 0 0 0 ",
     " 0 0 0 0"},
    // 11 sparse dots, one in eight
    {"0   0   ", "        ", "  0   0 ", "        ", "0   0   ", "        ", "  0   0 ",
     "        "},
    // 12 staggered 2 x 2 blocks
    {"00      ", "00      ", "    00  ", "    00  ", "00      ", "00      ", "    00  ",
     "    00  "},
    // 13 very sparse dots, one in sixteen
    {"0       ", "        ", "    0   ", "        ", "0       ", "        ", "    0   ",
     "        "},
    // 14 broad diagonal bands rising to the right
    {"  00    ", " 00     ", "00      ", "0      0", "      00", "     00 ", "    00  ",
     "   00   "},
    // 15 staggered 4 x 2 blocks
    {"0000    ", "0000    ", "    0000", "    0000", "0000    ", "0000    ", "    0000",
     "    0000"},
};

}  // namespace

const char *const *FillPatternRows(int32_t code) {
  if (code < 0 || code > 15) return nullptr;
  return kPatternRows[code];
}

bool FillPatternScanLines(int32_t code, std::array<uint8_t, 16> *bits) {
  if (code < kFirstBitmapPattern || code > kLastBitmapPattern || bits == nullptr) return false;
  const char *const *rows = kPatternRows[code];
  for (int row = 0; row < kRows; ++row) {
    uint8_t ink = 0;
    for (int column = 0; column < 8; ++column) {
      if (rows[row][column] == '0') ink |= static_cast<uint8_t>(1u << (7 - column));
    }
    // Ink pixels are 0 bits: a mono pattern brush paints 0 bits in the text colour.
    (*bits)[2 * row] = static_cast<uint8_t>(~ink);
    (*bits)[2 * row + 1] = 0;
  }
  return true;
}

}  // namespace tamvel
