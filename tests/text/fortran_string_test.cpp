// Fortran strings: significant length, the F-form path rules and the Shift-JIS byte classes.
// SAVEFILEF and LOADFILEF take their paths this way (tests/emf/files_test.cpp).
#include "src/text/fortran_string.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/page_test_util.h"

namespace tamvel {
namespace {

TAMVEL_FSTRING Fortran(const std::string &text) {
  return TAMVEL_FSTRING{text.data(), static_cast<int32_t>(text.size())};
}

TEST(SignificantLength, DropsTrailingBlanksAndStrayHighBytes) {
  const std::pair<std::string, int32_t> cases[] = {
      {"AB  ", 2},     {"    ", 1}, {"A\xFF", 1}, {"A\x81\x40", 3},  // a full-width blank stays
      {"\xB1\xB2", 2},  // half-width katakana are trail bytes
      {"", 1},
  };
  for (const auto &[text, length] : cases) {
    const TAMVEL_FSTRING s = Fortran(text);
    EXPECT_EQ(SignificantLength(&s), length) << text;
  }
  // At least one for broken descriptors.
  const TAMVEL_FSTRING negative = {"abc", -7};
  const TAMVEL_FSTRING no_text = {nullptr, 12};
  EXPECT_EQ(SignificantLength(&negative), 1);
  EXPECT_EQ(SignificantLength(&no_text), 1);
  EXPECT_EQ(SignificantLength(nullptr), 1);
}

TEST(FortranPath, CountNulAnd256Bytes) {
  const std::string padded = "a.emf       ";  // 12 bytes
  const std::string long_path(300, 'x');
  const struct {
    TAMVEL_FSTRING text;
    int32_t n;
    std::string path;
  } cases[] = {
      {Fortran(padded), 0, "a.emf"},  // 0, negative or beyond the length: significant length
      {Fortran(padded), 3, "a.e"},
      {Fortran(padded), -5, "a.emf"},
      {Fortran(padded), 12, "a.emf       "},
      {Fortran(padded), 13, "a.emf"},
      {Fortran(padded), INT32_MIN, "a.emf"},
      {{"ab\0cd", 5}, 5, "ab"},
      {Fortran(long_path), 0, std::string(256, 'x')},
      {Fortran(long_path), 280, std::string(256, 'x')},
      {{"zzz", 0}, 0, ""},  // broken descriptors give an empty path
      {{"zzz", -3}, 2, ""},
      {{nullptr, 40}, 10, ""},
  };
  char path[kFortranPathBytes];
  for (const auto &c : cases) {
    FortranPath(&c.text, c.n, path);
    EXPECT_EQ(path, c.path) << c.path << " " << c.n;
  }
  FortranPath(nullptr, 5, path);
  EXPECT_EQ(std::string(path), "");
}

TEST(ShiftJis, ByteClasses) {
  for (int byte : {0x81, 0x9F, 0xE0, 0xFC}) EXPECT_TRUE(IsLeadByte(byte)) << byte;
  for (int byte : {0x80, 0xA0, 0xDF, 0xFD}) EXPECT_FALSE(IsLeadByte(byte)) << byte;
  for (int byte : {0x40, 0x7E, 0x80, 0xFC}) EXPECT_TRUE(IsTrailByte(byte)) << byte;
  for (int byte : {0x3F, 0x7F, 0xFD}) EXPECT_FALSE(IsTrailByte(byte)) << byte;
}

class Len2Test : public test::LibraryTest {};

TEST_F(Len2Test, ExportedCallAgreesAndSurvivesNull) {
  const std::string ab = "AB  ";
  const TAMVEL_FSTRING s = Fortran(ab);
  EXPECT_EQ(LEN2(&s), 2);
  EXPECT_EQ(LEN2(nullptr), 1);
}

}  // namespace
}  // namespace tamvel
