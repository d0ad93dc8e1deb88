// Settings under the maker's key: what the string and binary calls store and read back, the
// three failure levels of the writers with their message, and bad input.
#include <gmock/gmock.h>

#include <cstring>
#include <string>

#include "include/tamvel.h"
#include "platform/win32.h"
#include "tests/common/file_faults.h"
#include "tests/registry/host_test_env.h"

namespace tamvel::test {
namespace {

using ::testing::HasSubstr;

class RegistryCallsTest : public HostTest {};

TEST_F(RegistryCallsTest, StringValueRoundTripsAsRegSzWithItsNul) {
  EXPECT_EQ(SetNelvarReg("App", "Window", "Left", "120"), 0);
  char buffer[255];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(GetNelvarReg("App", "Window", "Left", buffer), 0);
  EXPECT_STREQ(buffer, "120");

  // The value is a REG_SZ named Left in HKEY_CURRENT_USER\Software\Nelvar Inc.\App\Window,
  // and key names do not depend on case.
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "software\\NELVAR INC.\\app\\window", 0,
                          KEY_QUERY_VALUE, &key),
            ERROR_SUCCESS);
  DWORD type = 0, size = sizeof buffer;
  EXPECT_EQ(RegQueryValueExA(key, "LEFT", nullptr, &type, reinterpret_cast<BYTE *>(buffer), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 4u);
  RegCloseKey(key);

  // Overwriting keeps one value.
  EXPECT_EQ(SetNelvarReg("app", "WINDOW", "left", "7"), 0);
  EXPECT_EQ(GetNelvarReg("App", "Window", "Left", buffer), 0);
  EXPECT_STREQ(buffer, "7");
}

// 1: the section does not open, the buffer is left alone; 2: no such value, or one that does
// not fit the 255-byte read buffer with its NUL, and the buffer is emptied.
TEST_F(RegistryCallsTest, ReadFailuresAndTheBufferTheyLeave) {
  char buffer[512] = "untouched";
  EXPECT_EQ(GetNelvarReg("App", "Never", "Left", buffer), 1);
  EXPECT_STREQ(buffer, "untouched");
  ASSERT_EQ(SetNelvarReg("App", "S", "Left", "120"), 0);
  EXPECT_EQ(GetNelvarReg("App", "S", "Top", buffer), 2);
  EXPECT_STREQ(buffer, "");

  std::string text(254, 'a');  // 255 bytes with its NUL: fits exactly
  ASSERT_EQ(SetNelvarReg("App", "S", "Fits", text.c_str()), 0);
  std::string longer(255, 'b');
  ASSERT_EQ(SetNelvarReg("App", "S", "Long", longer.c_str()), 0);
  EXPECT_EQ(GetNelvarReg("App", "S", "Fits", buffer), 0);
  EXPECT_EQ(std::string(buffer), text);
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(GetNelvarReg("App", "S", "Long", buffer), 2);
  EXPECT_STREQ(buffer, "");
}

TEST_F(RegistryCallsTest, BinaryValuesAndBufferSizes) {
  const unsigned char data[8] = {1, 2, 3, 0, 0xFF, 0x80, 7, 8};
  EXPECT_EQ(SetNelvarRegB("App", "Bin", "Eight", data, 8), 0);

  unsigned char buffer[16];
  std::memset(buffer, 0xAA, sizeof buffer);
  EXPECT_EQ(GetNelvarRegB("App", "Bin", "Eight", buffer, 16), 0);
  EXPECT_EQ(std::memcmp(buffer, data, 8), 0);
  for (int i = 8; i < 16; ++i) EXPECT_EQ(buffer[i], 0) << i;

  std::memset(buffer, 0xAA, sizeof buffer);
  EXPECT_EQ(GetNelvarRegB("App", "Bin", "Eight", buffer, 4), 2);
  // The buffer was zero-filled before the read, also when the section does not open.
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(buffer[4], 0xAA);
  std::memset(buffer, 0xAA, sizeof buffer);
  EXPECT_EQ(GetNelvarRegB("App", "Missing", "Eight", buffer, 3), 1);
  EXPECT_EQ(buffer[2], 0);
  EXPECT_EQ(buffer[3], 0xAA);

  // Sizes of zero and below.
  ASSERT_EQ(SetNelvarRegB("App", "Bin", "V", data, 4), 0);
  // A negative size writes nothing: the stored value stays.
  EXPECT_EQ(SetNelvarRegB("App", "Bin", "V", data + 4, -5), 0);
  EXPECT_EQ(GetNelvarRegB("App", "Bin", "V", buffer, 4), 0);
  EXPECT_EQ(buffer[2], 3);
  // Reading with size 0 or below fills nothing and fails for a value that has bytes.
  buffer[0] = 5;
  EXPECT_EQ(GetNelvarRegB("App", "Bin", "V", buffer, 0), 2);
  EXPECT_EQ(GetNelvarRegB("App", "Bin", "V", buffer, -1), 2);
  EXPECT_EQ(buffer[0], 5);
  // Size 0 writes an empty value, which a read of any size finds.
  EXPECT_EQ(SetNelvarRegB("App", "Bin", "Empty", nullptr, 0), 0);
  EXPECT_EQ(GetNelvarRegB("App", "Bin", "Empty", buffer, 0), 0);
  EXPECT_EQ(GetNelvarRegB("App", "Bin", "Empty", buffer, 4), 0);
  // No data for a positive size writes nothing.
  EXPECT_EQ(SetNelvarRegB("App", "Bin", "NoData", nullptr, 4), 0);
  EXPECT_EQ(GetNelvarRegB("App", "Bin", "NoData", buffer, 4), 2);
}

TEST_F(RegistryCallsTest, NullAndEmptyNames) {
  // A null value name is the default value of the section.
  EXPECT_EQ(SetNelvarReg("App", "S", nullptr, "default"), 0);
  char buffer[255];
  EXPECT_EQ(GetNelvarReg("App", "S", "", buffer), 0);
  EXPECT_STREQ(buffer, "default");
  // An empty application adds no level; writer and reader meet.
  EXPECT_EQ(SetNelvarReg("", "S", "V", "flat"), 0);
  EXPECT_EQ(GetNelvarReg(nullptr, "S", "V", buffer), 0);
  EXPECT_STREQ(buffer, "flat");
  // A null text writes nothing and keeps what was there.
  EXPECT_EQ(SetNelvarReg("App", "S", "V", "kept"), 0);
  EXPECT_EQ(SetNelvarReg("App", "S", "V", nullptr), 0);
  EXPECT_EQ(GetNelvarReg("App", "S", "V", buffer), 0);
  EXPECT_STREQ(buffer, "kept");
  // A null buffer only asks whether the value is there.
  EXPECT_EQ(GetNelvarReg("App", "S", "V", nullptr), 0);
  EXPECT_EQ(GetNelvarReg("App", "S", "Nope", nullptr), 2);
  EXPECT_EQ(GetNelvarRegB("App", "S", "V", nullptr, 16), 0);
}

TEST_F(RegistryCallsTest, LongValuesAndShiftJisNamesAreStoredWhole) {
  std::string big(100000, 'z');
  EXPECT_EQ(SetNelvarReg("App", "S", "Big", big.c_str()), 0);
  char small[255];
  EXPECT_EQ(GetNelvarReg("App", "S", "Big", small), 2);
  std::string read(big.size() + 1, '\0');
  EXPECT_EQ(GetNelvarRegB("App", "S", "Big", read.data(), static_cast<int32_t>(read.size())), 0);
  EXPECT_EQ(read.c_str(), big);

  // "設定" in Shift-JIS: its second byte 0x92/0xE8, and a trail byte that looks like 'A'
  // ("ア" is 0x83 0x41) must not be folded to 'a'.
  const char *japanese = "\x90\xdd\x92\xe8\x83\x41";
  const char *folded_lookalike = "\x90\xdd\x92\xe8\x83\x61";  // another katakana
  EXPECT_EQ(SetNelvarReg(japanese, japanese, japanese, japanese), 0);
  EXPECT_EQ(GetNelvarReg(japanese, japanese, japanese, small), 0);
  EXPECT_STREQ(small, japanese);
  EXPECT_EQ(GetNelvarReg(japanese, folded_lookalike, japanese, small), 1);
}

// --------------------------------------------------------- failure levels ----

struct WriterFailure {
  int32_t result;
  std::string message;
};

WriterFailure WriteCapturingMessage(const char *application, const char *section) {
  ::testing::internal::CaptureStderr();
  int32_t result = SetNelvarReg(application, section, "V", "x");
  return {result, ::testing::internal::GetCapturedStderr()};
}

TEST_F(RegistryCallsTest, WriterFailsAtTheRootWhenTheStoreCannotBeWritten) {
  // A regular file where the store directory's parent should be: nothing can be created,
  // whoever runs the test.
  WriteFile(Root() / "blocker", "");
  Remember("TAMVEL_REGISTRY_DIR", (Root() / "blocker" / "registry").string());
  WriterFailure failure = WriteCapturingMessage("App", "S");
  EXPECT_EQ(failure.result, 1);
  EXPECT_EQ(failure.message, "App: Unable to create key \"Software\\Nelvar Inc.\"\n");
  EXPECT_EQ(SetNelvarRegB("App", "S", "V", "x", 1), 1);

  char buffer[255] = "same";
  EXPECT_EQ(GetNelvarReg("App", "S", "V", buffer), 1);
  EXPECT_STREQ(buffer, "same");
  // The class-root writers answer 0 on such a store.
  EXPECT_EQ(SetClassRoot("Key", "v"), 0);
  EXPECT_EQ(SetFileType("D", ".x", "C", "/bin/x", buffer, 16), 0);
}

TEST_F(RegistryCallsTest, WriterNamesTheApplicationOrSectionThatCouldNotBeCreated) {
  // Key names are limited to 255 bytes, as on Windows.
  std::string long_name(256, 'n');
  WriterFailure failure = WriteCapturingMessage(long_name.c_str(), "S");
  EXPECT_EQ(failure.result, 2);
  EXPECT_EQ(failure.message, long_name + ": Unable to create key \"" + long_name + "\"\n");

  failure = WriteCapturingMessage("App", long_name.c_str());
  EXPECT_EQ(failure.result, 3);
  EXPECT_EQ(failure.message, "App: Unable to create key \"" + long_name + "\"\n");
  EXPECT_EQ(SetNelvarRegB("App", long_name.c_str(), "V", "x", 1), 3);

  // A null application is also the caption: the message box's default one.
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(SetNelvarReg(nullptr, long_name.c_str(), "V", "x"), 3);
  EXPECT_THAT(::testing::internal::GetCapturedStderr(), HasSubstr("Unable to create key"));
}

TEST_F(RegistryCallsTest, WriterFailsAtTheFirstLevelThatNeedsWritingToAFullStore) {
  ASSERT_EQ(SetNelvarReg("App", "S", "V", "1"), 0);
  // No file may grow (as on a full disk, whoever runs the test). Existing levels open; the
  // first new one fails. The value write of existing levels fails silently: the call still
  // reports success, and the stored value is untouched.
  const auto size = std::filesystem::file_size(RegistryDir() / "current-user.reg");
  const int results = RunWithFileSizeLimit(size, [] {
    return WriteCapturingMessage("Other", "S").result * 16 +
           WriteCapturingMessage("App", "New").result * 4 +
           WriteCapturingMessage("App", "S").result;
  });
  EXPECT_EQ(results, 2 * 16 + 3 * 4 + 0);
  char buffer[255];
  EXPECT_EQ(GetNelvarReg("App", "S", "V", buffer), 0);
  EXPECT_STREQ(buffer, "1");
}

}  // namespace
}  // namespace tamvel::test
