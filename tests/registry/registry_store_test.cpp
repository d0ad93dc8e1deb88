// The file store behind the registry: its text form, damaged and newer files, and two
// programs writing at the same time.
#include <gmock/gmock.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "include/tamvel.h"
#include "platform/posix/registry_store.h"
#include "platform/win32.h"
#include "tests/registry/host_test_env.h"

namespace tamvel::test {
namespace {

using ::testing::HasSubstr;
namespace registry = posix::registry;

class RegistryStoreTest : public HostTest {
 protected:
  std::filesystem::path StoreFile() const { return RegistryDir() / "current-user.reg"; }
};

TEST_F(RegistryStoreTest, TextFormRoundTripsEveryByte) {
  registry::Key root;
  std::string key_name = "Mixed Case \x83\x41%\"";
  registry::Key &key = root.children[registry::FoldName(key_name)];
  key.name = key_name;
  std::string all_bytes;
  for (int i = 0; i < 256; ++i) all_bytes += static_cast<char>(i);
  for (const registry::Value &value :
       {registry::Value{"V \"q\"", REG_SZ, all_bytes}, registry::Value{"B", REG_BINARY, all_bytes},
        registry::Value{"", 4, std::string("\x01\x00\x00\x00", 4)},
        registry::Value{"E", REG_BINARY, ""}}) {
    key.values[registry::FoldName(value.name)] = value;
  }
  std::string text = registry::Serialize(root);
  for (unsigned char c : text) EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << int(c);

  registry::Key parsed;
  bool newer = true;
  ASSERT_TRUE(registry::Parse(text, parsed, newer));
  EXPECT_FALSE(newer);
  EXPECT_EQ(registry::Serialize(parsed), text);
}

TEST_F(RegistryStoreTest, TruncatedOrGarbledTextIsRejected) {
  registry::Key root;
  root.children["k"].name = "K";
  root.children["k"].values["v"] = {"V", REG_SZ, "text"};
  std::string text = registry::Serialize(root);
  registry::Key parsed;
  bool newer;
  for (size_t cut : {size_t{0}, size_t{5}, text.size() / 2, text.size() - 4, text.size() - 1}) {
    EXPECT_FALSE(registry::Parse(text.substr(0, cut), parsed, newer)) << cut;
  }
  EXPECT_FALSE(registry::Parse(text + "key \"x\"\n", parsed, newer));
  std::string garbled = text;
  garbled.replace(garbled.find("text"), 4, "te%G");
  EXPECT_FALSE(registry::Parse(garbled, parsed, newer));
  EXPECT_FALSE(registry::Parse("tamvel-registry 1\nvalue \"v\" sz \"x\"\nend\n", parsed, newer));
  EXPECT_FALSE(newer);
  EXPECT_FALSE(registry::Parse("tamvel-registry 2\nwhatever\n", parsed, newer));
  EXPECT_TRUE(newer);
}

TEST_F(RegistryStoreTest, DamagedStoreIsReportedAndSetAsideNotEmptiedSilently) {
  ASSERT_EQ(SetNelvarReg("App", "S", "V", "1"), 0);
  std::string good = ReadFile(StoreFile());
  WriteFile(StoreFile(), good.substr(0, good.size() / 2));

  ::testing::internal::CaptureStderr();
  char buffer[255] = "before";
  EXPECT_EQ(GetNelvarReg("App", "S", "V", buffer), 1);
  std::string report = ::testing::internal::GetCapturedStderr();
  EXPECT_THAT(report, HasSubstr("damaged"));
  EXPECT_THAT(report, HasSubstr("current-user.reg.damaged"));
  EXPECT_EQ(ReadFile(RegistryDir() / "current-user.reg.damaged"), good.substr(0, good.size() / 2));

  // The store starts again from empty; a second damaged file gets a name of its own.
  EXPECT_EQ(SetNelvarReg("App", "S", "V", "2"), 0);
  WriteFile(StoreFile(), "not a store\n");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(SetNelvarReg("App", "S", "W", "3"), 0);
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(ReadFile(RegistryDir() / "current-user.reg.2.damaged"), "not a store\n");
  EXPECT_EQ(GetNelvarReg("App", "S", "W", buffer), 0);
}

TEST_F(RegistryStoreTest, StoreOfALaterFormatIsLeftAlone) {
  std::filesystem::create_directories(RegistryDir());
  WriteFile(StoreFile(), "tamvel-registry 7\nfuture things\n");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(SetNelvarReg("App", "S", "V", "1"), 1);
  EXPECT_THAT(::testing::internal::GetCapturedStderr(), HasSubstr("later version"));
  EXPECT_EQ(ReadFile(StoreFile()), "tamvel-registry 7\nfuture things\n");
}

TEST_F(RegistryStoreTest, KeysKeepTheCaseTheyWereCreatedWith) {
  ASSERT_EQ(SetNelvarReg("MyApp", "Window", "Left", "1"), 0);
  ASSERT_EQ(SetNelvarReg("MYAPP", "WINDOW", "LEFT", "2"), 0);
  std::string text = ReadFile(StoreFile());
  EXPECT_THAT(text, HasSubstr("key \"Software\\Nelvar Inc.\\MyApp\\Window\"\n"));
  EXPECT_THAT(text, HasSubstr("value \"Left\" sz \"2%00\"\n"));
  EXPECT_THAT(text, ::testing::Not(HasSubstr("MYAPP")));
}

TEST_F(RegistryStoreTest, TwoProcessesWritingAtOnceLoseNoValue) {
  constexpr int kWrites = 40;
  pid_t children[2];
  for (int child = 0; child < 2; ++child) {
    children[child] = fork();
    ASSERT_GE(children[child], 0);
    if (children[child] == 0) {
      bool ok = true;
      for (int i = 0; i < kWrites; ++i) {
        std::string name = "P" + std::to_string(child) + "-" + std::to_string(i);
        ok &= SetNelvarReg("App", "Race", name.c_str(), name.c_str()) == 0;
      }
      _exit(ok ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  char buffer[255];
  for (int child = 0; child < 2; ++child) {
    for (int i = 0; i < kWrites; ++i) {
      std::string name = "P" + std::to_string(child) + "-" + std::to_string(i);
      EXPECT_EQ(GetNelvarReg("App", "Race", name.c_str(), buffer), 0) << name;
      EXPECT_EQ(name, buffer);
    }
  }
}

TEST_F(RegistryStoreTest, StoreLivesUnderTheConfigurationDirectoryByDefault) {
  unsetenv("TAMVEL_REGISTRY_DIR");
  EXPECT_EQ(registry::StoreDirectory(), (Root() / "config" / "tamvel" / "registry").string());
  ASSERT_EQ(SetNelvarReg("App", "S", "V", "1"), 0);
  EXPECT_TRUE(std::filesystem::exists(Root() / "config/tamvel/registry/current-user.reg"));
}

TEST_F(RegistryStoreTest, StaleAndWrongKindHandlesAreRejected) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "A\\B", 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegSetValueExA(key, "v", 0, REG_SZ, reinterpret_cast<const BYTE *>("x"), 2),
            ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "A\\B", 0, KEY_QUERY_VALUE, nullptr),
            ERROR_INVALID_PARAMETER);

  // A key opened for reading only cannot be written.
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "A\\B", 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(key, "v", 0, REG_SZ, reinterpret_cast<const BYTE *>("x"), 2),
            ERROR_ACCESS_DENIED);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
}

}  // namespace
}  // namespace tamvel::test
