// The application and corporation names that every new recording carries, and the one
// running-program answer that needs no running program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "include/tamvel.h"
#include "platform/win32.h"
#include "src/host/identity.h"
#include "src/pages/page_table.h"
#include "tests/common/page_test_util.h"

namespace tamvel::test {
namespace {

const char kDefaultCorporation[] =
    "\x8a\x94\x8e\xae\x89\xef\x8e\xd0\x20\x83\x6c\x83\x8b\x83\x94\x83\x40\x81\x5b";

// Restores the names the library starts with after each test.
class IdentityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!LibraryAttached()) {
      ASSERT_TRUE(AttachLibrary());
    }
  }
  void TearDown() override {
    SETAPPNAME("tamvel");
    SETCORPNAME(kDefaultCorporation);
  }
};

TEST_F(IdentityTest, NamesStartAsTheMakersAndAreCutAtFortyBytes) {
  EXPECT_STREQ(ApplicationName(), "tamvel");
  EXPECT_STREQ(CorporationName(), kDefaultCorporation);

  std::string name45(45, 'a');
  SETAPPNAME(name45.c_str());
  EXPECT_EQ(std::string(ApplicationName()), std::string(40, 'a'));
  SETCORPNAME("Short");
  EXPECT_STREQ(CorporationName(), "Short");
}

TEST_F(IdentityTest, DoubleByteCharacterCutInHalfIsDropped) {
  // 39 single bytes and "図" (0x90 0x7D): bytes 39 and 40 are one character.
  std::string name = std::string(39, 'b') + "\x90\x7d";
  SETAPPNAME(name.c_str());
  EXPECT_EQ(std::string(ApplicationName()), std::string(39, 'b'));
  // 38 single bytes and a whole double-byte character whose second byte has a lead-byte
  // value ("ャ", 0x83 0x83): the test looks at the byte value, so it goes as well.
  name = std::string(38, 'c') + "\x83\x83";
  SETCORPNAME(name.c_str());
  EXPECT_EQ(std::string(CorporationName()), std::string(38, 'c') + "\x83");
}

TEST_F(IdentityTest, FortranNamesTakeTheirLengthAndStopAtANul) {
  const char text[] = "0123456789ABCDEF";  // no NUL after the first 10 bytes
  TAMVEL_FSTRING name = {text, 10};
  SETAPPNAMEF(&name);
  EXPECT_STREQ(ApplicationName(), "0123456789");
  const char padded[] = "Name    ";
  name = {padded, 8};
  SETAPPNAMEF(&name);
  EXPECT_STREQ(ApplicationName(), "Name    ");  // trailing blanks belong to the name
  const char with_nul[] = "ab\0cd";
  name = {with_nul, 5};
  SETCORPNAMEF(&name);
  EXPECT_STREQ(CorporationName(), "ab");
  std::string long_text(60, 'L');
  name = {long_text.c_str(), 60};
  SETCORPNAMEF(&name);
  EXPECT_EQ(std::string(CorporationName()), std::string(40, 'L'));
  name = {text, 0};
  SETCORPNAMEF(&name);
  EXPECT_STREQ(CorporationName(), "");
}

TEST_F(IdentityTest, BadNamesLeaveTheStoredOnesAsTheyWere) {
  SETAPPNAME("Kept");
  SETAPPNAME(nullptr);
  SETAPPNAMEF(nullptr);
  TAMVEL_FSTRING negative = {"xyz", -3};
  SETAPPNAMEF(&negative);
  TAMVEL_FSTRING no_text = {nullptr, 4};
  SETAPPNAMEF(&no_text);
  EXPECT_STREQ(ApplicationName(), "Kept");
  SETAPPNAME("");
  EXPECT_STREQ(ApplicationName(), "");
}

// The description of page index 0's finished metafile: application, NUL, corporation, NUL, NUL.
std::string DescriptionOfPage() {
  HENHMETAFILE metafile = HandleFromValue<HENHMETAFILE>(static_cast<uint32_t>(MHEMF(0)));
  UINT size = GetEnhMetaFileDescriptionA(metafile, 0, nullptr);
  if (size == 0 || size == GDI_ERROR) return "<none>";
  std::string text(size, '\0');
  GetEnhMetaFileDescriptionA(metafile, size, text.data());
  return text;
}

TEST_F(IdentityTest, NameChangeAppliesToRecordingsOpenedAfterIt) {
  CHPAGE(1);
  PLOTS(210.0f, 297.0f, 0);
  PLOT(0.0f, 0.0f, 999);
  EXPECT_EQ(DescriptionOfPage(), std::string("tamvel\0", 7) + kDefaultCorporation + '\0' + '\0');

  PLOTS(210.0f, 297.0f, 0);
  SETAPPNAME("Viewer");  // while the page records: this recording keeps the old name
  PLOT(0.0f, 0.0f, 999);
  EXPECT_EQ(DescriptionOfPage(), std::string("tamvel\0", 7) + kDefaultCorporation + '\0' + '\0');

  SETCORPNAME("Maker");
  PLOTS(210.0f, 297.0f, 0);
  PLOT(0.0f, 0.0f, 999);
  EXPECT_EQ(DescriptionOfPage(), std::string("Viewer\0Maker\0\0", 14));
}

TEST(TaskActiv, MissingProgramAnswersZeroAndLeavesTheListAlone) {
  const std::filesystem::path folder = ScratchFolder("task-activ");
  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  std::ofstream("task.lst") << "earlier\n";

  EXPECT_EQ(TaskActiv("/no/such/folder/program"), 0);
  EXPECT_EQ(TaskActiv(""), 0);
  EXPECT_EQ(TaskActiv(nullptr), 0);
  std::stringstream list;
  list << std::ifstream("task.lst").rdbuf();
  EXPECT_EQ(list.str(), "earlier\n");

  std::filesystem::current_path(previous);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tamvel::test
