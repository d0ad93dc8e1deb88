// Fortran strings: significant length, the F-form path rules and the Shift-JIS byte classes.
#include "src/text/fortran_string.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/page_test_util.h"

namespace tamvel {
namespace {

TAMVEL_FSTRING Fortran(const std::string &text) {
  return TAMVEL_FSTRING{text.data(), static_cast<int32_t>(text.size())};
}

std::string PathOf(const TAMVEL_FSTRING *text, int32_t n) {
  char path[kFortranPathBytes];
  FortranPath(text, n, path);
  return path;
}

std::string PathOf(const std::string &text, int32_t n) {
  const TAMVEL_FSTRING s = Fortran(text);
  return PathOf(&s, n);
}

int32_t Len(const std::string &text) {
  const TAMVEL_FSTRING s = Fortran(text);
  return SignificantLength(&s);
}

TEST(SignificantLength, DropsTrailingBlanksAndStrayHighBytes) {
  const std::string ab = "AB  ";
  const std::string blanks = "    ";
  const std::string stray = "A\xFF";
  const std::string full_width_blank = "A\x81\x40";
  const std::string kana = "\xB1\xB2";  // half-width katakana are trail bytes
  EXPECT_EQ(Len(ab), 2);
  EXPECT_EQ(Len(blanks), 1);
  EXPECT_EQ(Len(stray), 1);
  EXPECT_EQ(Len(full_width_blank), 3);
  EXPECT_EQ(Len(kana), 2);
}

TEST(SignificantLength, IsAtLeastOneForEmptyAndBrokenDescriptors) {
  const TAMVEL_FSTRING empty = {"", 0};
  const TAMVEL_FSTRING negative = {"abc", -7};
  const TAMVEL_FSTRING no_text = {nullptr, 12};
  EXPECT_EQ(SignificantLength(&empty), 1);
  EXPECT_EQ(SignificantLength(&negative), 1);
  EXPECT_EQ(SignificantLength(&no_text), 1);
  EXPECT_EQ(SignificantLength(nullptr), 1);
}

TEST(FortranPath, CountSelectsTheBytesTaken) {
  const std::string s = "a.emf       ";  // 12 bytes
  EXPECT_EQ(PathOf(s, 0), "a.emf");
  EXPECT_EQ(PathOf(s, 3), "a.e");
  EXPECT_EQ(PathOf(s, -5), "a.emf");
  EXPECT_EQ(PathOf(s, 12), "a.emf       ");
  EXPECT_EQ(PathOf(s, 13), "a.emf");  // beyond the length: significant length
  EXPECT_EQ(PathOf(s, INT32_MIN), "a.emf");
}

TEST(FortranPath, StopsAtNulAndAt256Bytes) {
  const std::string with_nul("ab\0cd", 5);
  EXPECT_EQ(PathOf(with_nul, 5), "ab");
  const std::string long_path(300, 'x');
  EXPECT_EQ(PathOf(long_path, 0), std::string(256, 'x'));
  EXPECT_EQ(PathOf(long_path, 280), std::string(256, 'x'));
}

TEST(FortranPath, BrokenDescriptorsGiveAnEmptyPath) {
  const TAMVEL_FSTRING empty = {"zzz", 0};
  const TAMVEL_FSTRING negative = {"zzz", -3};
  const TAMVEL_FSTRING no_text = {nullptr, 40};
  EXPECT_EQ(PathOf(static_cast<const TAMVEL_FSTRING *>(nullptr), 5), "");
  EXPECT_EQ(PathOf(&empty, 0), "");
  EXPECT_EQ(PathOf(&negative, 2), "");
  EXPECT_EQ(PathOf(&no_text, 10), "");
}

TEST(ShiftJis, ByteClasses) {
  EXPECT_TRUE(IsLeadByte(0x81));
  EXPECT_TRUE(IsLeadByte(0x9F));
  EXPECT_TRUE(IsLeadByte(0xE0));
  EXPECT_TRUE(IsLeadByte(0xFC));
  EXPECT_FALSE(IsLeadByte(0x80));
  EXPECT_FALSE(IsLeadByte(0xA0));
  EXPECT_FALSE(IsLeadByte(0xDF));
  EXPECT_FALSE(IsLeadByte(0xFD));
  EXPECT_TRUE(IsTrailByte(0x40));
  EXPECT_TRUE(IsTrailByte(0x7E));
  EXPECT_TRUE(IsTrailByte(0x80));
  EXPECT_TRUE(IsTrailByte(0xFC));
  EXPECT_FALSE(IsTrailByte(0x3F));
  EXPECT_FALSE(IsTrailByte(0x7F));
  EXPECT_FALSE(IsTrailByte(0xFD));
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
