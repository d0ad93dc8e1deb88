// Number texts of NUMBER, NUMBR2 and NUMBRWID.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "src/text/number_format.h"

namespace tamvel {
namespace {

std::string Format(float value, int32_t nd) {
  char text[kNumberTextBytes];
  const int length = FormatNumber(value, nd, text);
  EXPECT_EQ(length, static_cast<int>(std::string(text).size()));
  return text;
}

TEST(NumberFormat, FixedPointRoundsTheDecimalExpansion) {
  EXPECT_EQ(Format(3.14159f, 2), "3.14");
  EXPECT_EQ(Format(-0.5f, 2), "-0.50");
  EXPECT_EQ(Format(0.04f, 1), "0.0");
  // Exact binary ties round away from zero, not to even.
  EXPECT_EQ(Format(0.125f, 2), "0.13");
  EXPECT_EQ(Format(-0.125f, 2), "-0.13");
  EXPECT_EQ(Format(2.5f, 1), "2.5");
  EXPECT_EQ(Format(0.375f, 2), "0.38");
  // 0.15f is 0.1500000059604...: above the tie.
  EXPECT_EQ(Format(0.15f, 1), "0.2");
  // 0.35f is 0.3499999940395...: below it.
  EXPECT_EQ(Format(0.35f, 1), "0.3");
  // Carries run through the integer digits.
  EXPECT_EQ(Format(9.996f, 2), "10.00");
  EXPECT_EQ(Format(-99.99999f, 3), "-100.000");
  EXPECT_EQ(Format(0.0f, 3), "0.000");
  EXPECT_EQ(Format(123456.0f, 1), "123456.0");
}

TEST(NumberFormat, DigitCountsAreClamped) {
  EXPECT_EQ(Format(1.5f, 6), "1.500000");
  EXPECT_EQ(Format(1.5f, 7), "1.500000");
  EXPECT_EQ(Format(1.5f, 100), "1.500000");
  EXPECT_EQ(Format(1234.0f, -2), "123");
  EXPECT_EQ(Format(1234.0f, -9), "123");
  EXPECT_EQ(Format(1234.0f, INT32_MIN), "123");
  EXPECT_EQ(Format(1.25f, INT32_MAX), "1.250000");
}

TEST(NumberFormat, IntegerForms) {
  EXPECT_EQ(Format(2.5f, 0), "3.");
  EXPECT_EQ(Format(-2.5f, 0), "-3.");
  EXPECT_EQ(Format(2.4f, -1), "2");
  EXPECT_EQ(Format(-0.4f, -1), "0");
  EXPECT_EQ(Format(25.0f, -2), "3");
  EXPECT_EQ(Format(-25.0f, -2), "-3");
  EXPECT_EQ(Format(0.49999997f, -1), "0");
}

TEST(NumberFormat, ValuesOutsideTheRangeStayReadable) {
  EXPECT_EQ(Format(3.0e9f, -1), "2147483647");
  EXPECT_EQ(Format(-3.0e9f, 0), "-2147483648.");
  EXPECT_EQ(Format(std::nanf(""), -1), "0");
  EXPECT_EQ(Format(std::nanf(""), 2), "NaN");
  EXPECT_EQ(Format(std::numeric_limits<float>::infinity(), 2), "Inf");
  EXPECT_EQ(Format(-std::numeric_limits<float>::infinity(), 0), "-2147483648.");
  // The largest float still fits the buffer with six decimals.
  const std::string largest = Format(-std::numeric_limits<float>::max(), 6);
  EXPECT_EQ(largest.size(), 1u + 39u + 1u + 6u);
  EXPECT_EQ(largest.substr(0, 5), "-3402");
  // The smallest subnormal rounds to zero.
  EXPECT_EQ(Format(std::numeric_limits<float>::denorm_min(), 6), "0.000000");
}

}  // namespace
}  // namespace tamvel
