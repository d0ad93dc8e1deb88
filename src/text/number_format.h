// The text that NUMBER, NUMBR2 and NUMBRWID write for a value: fixed-point with 1 to 6
// decimals, or one of three integer forms. Plain code, no page involved.
#pragma once

#include <cstdint>

namespace tamvel {

// Longest text FormatNumber writes, terminator included (a float has at most 39 integer
// digits; sign, point and six decimals come on top).
constexpr int kNumberTextBytes = 64;

// Writes value with the digit count nd (clamped to -2..7) into text and returns its length:
//   nd 1..7  fixed-point with min(nd, 6) decimals, ties of the exact decimal expansion
//            rounded away from zero (0.125 with 2 decimals is 0.13);
//   nd 0     the value rounded half away from zero, followed by ".";
//   nd -1    the same without the point;
//   nd -2    value / 10 (as a float) rounded half away from zero, without a point.
// Integer forms beyond the 32-bit range saturate to its ends; NaN writes "NaN" and the
// infinities "Inf" and "-Inf" in the fixed-point forms, 0 and the range ends in the others.
int FormatNumber(float value, int32_t nd, char (&text)[kNumberTextBytes]);

}  // namespace tamvel
