// Text state shared by the text calls: the text call mode that FitFontToHeight reads, and
// the internal operations that size the page font and set the horizontal reference.
#pragma once

#include <cstdint>

namespace tamvel {

enum TextCallMode : int32_t {
  kNoTextCall = 0,
  kSymbolText = 1,           // SYMBOL family and NUMBER
  kKanjiHorizontalText = 2,  // KANJI family writing horizontally, root-sign text
  kKanjiVerticalText = 3,    // KANJI family writing vertically
};

TextCallMode CurrentTextCallMode();
void SetTextCallMode(TextCallMode mode);

// Sizes the page font for a character height in plot units by the running text call mode and
// sets the character extra.
void FitFontToHeight(float height);
// A text call's angle as it takes effect: NaN and infinities count as 0, and an angle whose
// tenths of a degree do not fit 32 bits is taken within one turn (it keeps its direction).
float TextAngle(float angle);
// Horizontal reference from code % 10 (0 right, 1 centre, other left); vertical kept.
void SetHorizontalAlign(int32_t code);

}  // namespace tamvel
