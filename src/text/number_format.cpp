#include "src/text/number_format.h"

#include "src/plot/coordinates.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace tamvel {
namespace {

int CopyText(const char *source, char (&text)[kNumberTextBytes]) {
  std::snprintf(text, kNumberTextBytes, "%s", source);
  return static_cast<int>(std::strlen(text));
}

// Fixed-point text of value with `decimals` digits after the point. The exact decimal
// expansion of the double is printed first (every binary fraction has a finite one), and
// rounded here, so that a tie rounds away from zero rather than to even.
int FormatFixed(double value, int decimals, char (&text)[kNumberTextBytes]) {
  if (std::isnan(value)) return CopyText("NaN", text);
  if (std::isinf(value)) return CopyText(value < 0 ? "-Inf" : "Inf", text);
  const bool negative = value < 0.0;
  // A double from a float has at most 149 binary, hence decimal, fraction digits and at most
  // 39 integer digits.
  char exact[256];
  std::snprintf(exact, sizeof(exact), "%.160f", std::fabs(value));
  char *point = std::strchr(exact, '.');
  if (point == nullptr) return CopyText("0", text);
  const int integer_digits = static_cast<int>(point - exact);
  // digits: the integer digits followed by the kept decimals, with a leading 0 for a carry.
  char digits[kNumberTextBytes] = {'0'};
  int count = 1;
  for (int i = 0; i < integer_digits && count < kNumberTextBytes - 1; ++i)
    digits[count++] = exact[i];
  for (int i = 1; i <= decimals && count < kNumberTextBytes - 1; ++i) digits[count++] = point[i];
  if (point[decimals + 1] >= '5') {
    int i = count - 1;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i >= 0) ++digits[i];
  }
  int start = digits[0] == '0' ? 1 : 0;  // drop the carry digit when unused
  const int whole = count - decimals;    // integer digits, carry digit included
  int length = 0;
  if (negative) text[length++] = '-';
  for (int i = start; i < whole && length < kNumberTextBytes - 1; ++i) text[length++] = digits[i];
  if (length < kNumberTextBytes - 1) text[length++] = '.';
  for (int i = whole; i < count && length < kNumberTextBytes - 1; ++i) text[length++] = digits[i];
  text[length] = '\0';
  return length;
}

}  // namespace

int FormatNumber(float value, int32_t nd, char (&text)[kNumberTextBytes]) {
  if (nd > 7) nd = 7;
  if (nd < -2) nd = -2;
  if (nd >= 1) return FormatFixed(static_cast<double>(value), nd < 6 ? nd : 6, text);
  int32_t k = 0;
  if (nd == -2) {
    const float tenth = static_cast<float>(static_cast<double>(value) / 10.0);
    k = RoundToInt32(tenth);
  } else {
    k = RoundToInt32(value);
  }
  std::snprintf(text, kNumberTextBytes, nd == 0 ? "%d." : "%d", static_cast<int>(k));
  return static_cast<int>(std::strlen(text));
}

}  // namespace tamvel
