// The file store behind the registry: its text form, damaged and newer files, and two
// programs writing at the same time.
#include <gmock/gmock.h>
#include <signal.h>
#include <sys/stat.h>
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
  const std::string later = "tamvel-registry " + std::to_string(registry::kFormatVersion + 1);
  EXPECT_FALSE(registry::Parse(later + "\nwhatever\n", parsed, newer));
  EXPECT_TRUE(newer);
}

TEST_F(RegistryStoreTest, DamagedStoreIsReportedAndSetAsideNotEmptiedSilently) {
  ASSERT_EQ(SetNelvarReg("App", "S", "V", "1"), 0);
  registry::Key root;
  bool newer;
  ASSERT_TRUE(registry::Parse(ReadFile(StoreFile()), root, newer));
  const std::string good = registry::Serialize(root);  // the hive alone, cut inside it
  WriteFile(StoreFile(), good.substr(0, good.size() / 2));

  ::testing::internal::CaptureStderr();
  char buffer[255] = "before";
  EXPECT_EQ(GetNelvarReg("App", "S", "V", buffer), 1);
  std::string report = ::testing::internal::GetCapturedStderr();
  EXPECT_THAT(report, HasSubstr("damaged"));
  EXPECT_THAT(report, HasSubstr("current-user.reg.damaged"));
  EXPECT_EQ(ReadFile(RegistryDir() / "current-user.reg.damaged"), good.substr(0, good.size() / 2));

  // The store starts again from empty; a second damaged file gets a name of its own. A bad
  // change block followed by good ones is damage too, not a change cut off by a crash.
  EXPECT_EQ(SetNelvarReg("App", "S", "V", "2"), 0);
  EXPECT_EQ(SetNelvarReg("App", "S", "W", "3"), 0);
  std::string text = ReadFile(StoreFile());
  const size_t last_block = text.rfind("end\n", text.size() - 5) + 4;
  text += "value \"bad\" nonsense\nend\n" + text.substr(last_block);  // after what was read
  WriteFile(StoreFile(), text);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(SetNelvarReg("App", "S", "X", "4"), 0);
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(ReadFile(RegistryDir() / "current-user.reg.2.damaged"), text);
  EXPECT_EQ(GetNelvarReg("App", "S", "X", buffer), 0);
}

// A change that a crash cut off in the middle is left out, and the next writer cuts it away
// (saying so) before it appends its own.
TEST_F(RegistryStoreTest, ChangeCutOffByACrashIsLeftOutAndDropped) {
  ASSERT_EQ(SetNelvarReg("App", "S", "A", "1"), 0);
  ASSERT_EQ(SetNelvarReg("App", "S", "B", "2"), 0);
  const std::string before = ReadFile(StoreFile());
  WriteFile(StoreFile(), before + "key \"Software\\Nelvar Inc.\\App\\S\"\nvalue \"C\" sz \"3");
  char buffer[255];
  EXPECT_EQ(GetNelvarReg("App", "S", "B", buffer), 0);
  EXPECT_STREQ(buffer, "2");
  EXPECT_EQ(GetNelvarReg("App", "S", "C", buffer), 2);  // no such value
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(SetNelvarReg("App", "S", "D", "4"), 0);
  EXPECT_THAT(::testing::internal::GetCapturedStderr(), HasSubstr("unfinished change"));
  registry::Key root;
  bool newer;
  EXPECT_TRUE(registry::Parse(ReadFile(StoreFile()), root, newer));
  EXPECT_EQ(ReadFile(StoreFile()).substr(0, before.size()), before);
  EXPECT_FALSE(std::filesystem::exists(RegistryDir() / "current-user.reg.damaged"));
  for (const char *name : {"A", "B", "D"}) EXPECT_EQ(GetNelvarReg("App", "S", name, buffer), 0);
}

// Stores of the first format (the hive alone) are read, and rewritten in the current format
// by the first change.
TEST_F(RegistryStoreTest, StoreOfTheFirstFormatIsReadAndUpgraded) {
  std::filesystem::create_directories(RegistryDir());
  WriteFile(StoreFile(),
            "tamvel-registry 1\nkey \"Software\\Nelvar Inc.\\App\\S\"\n"
            "value \"Old\" sz \"kept%00\"\nend\n");
  char buffer[255];
  ASSERT_EQ(GetNelvarReg("App", "S", "Old", buffer), 0);
  EXPECT_STREQ(buffer, "kept");
  ASSERT_EQ(SetNelvarReg("App", "S", "New", "1"), 0);
  EXPECT_THAT(ReadFile(StoreFile()), ::testing::StartsWith("tamvel-registry 2\n"));
  EXPECT_EQ(GetNelvarReg("App", "S", "Old", buffer), 0);
  EXPECT_EQ(GetNelvarReg("App", "S", "New", buffer), 0);
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

// Values whose call returned before the program was killed are all there, whenever the kill
// came; the store never reads as damaged.
TEST_F(RegistryStoreTest, ValuesCommittedBeforeAKillAreKept) {
  for (int round = 0; round < 4; ++round) {
    int committed[2];
    ASSERT_EQ(pipe(committed), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int32_t i = 0;; ++i) {
        const std::string name = "R" + std::to_string(round) + "-" + std::to_string(i);
        if (SetNelvarReg("App", "Kill", name.c_str(), name.c_str()) != 0) _exit(1);
        if (write(committed[1], &i, sizeof i) != sizeof i) _exit(1);
      }
    }
    close(committed[1]);
    int32_t last = -1, value;
    while (last < 40 + 30 * round && read(committed[0], &value, sizeof value) == sizeof value) {
      last = value;
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    while (read(committed[0], &value, sizeof value) == sizeof value) last = value;
    close(committed[0]);
    char buffer[255];
    for (int32_t i = 0; i <= last; ++i) {
      const std::string name = "R" + std::to_string(round) + "-" + std::to_string(i);
      ASSERT_EQ(GetNelvarReg("App", "Kill", name.c_str(), buffer), 0) << name;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(RegistryDir() / "current-user.reg.damaged"));
}

// What another program changes is seen by the next call, whether it appended changes or
// rewrote the whole file meanwhile; the file stays within about twice what it holds.
TEST_F(RegistryStoreTest, ChangesOfAnotherProgramAreSeen) {
  auto in_another_program = [](int first, int count) {
    const pid_t child = fork();
    if (child == 0) {
      bool ok = true;
      for (int i = first; i < first + count; ++i) {
        ok &= SetNelvarReg("App", "S", ("V" + std::to_string(i)).c_str(), "other") == 0;
      }
      _exit(ok ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
  };
  char buffer[255];
  ASSERT_EQ(SetNelvarReg("App", "S", "V0", "mine"), 0);
  ASSERT_EQ(GetNelvarReg("App", "S", "V0", buffer), 0);  // cached here
  ASSERT_TRUE(in_another_program(0, 1));                 // appended
  EXPECT_EQ(GetNelvarReg("App", "S", "V0", buffer), 0);
  EXPECT_STREQ(buffer, "other");
  ASSERT_TRUE(in_another_program(1, 1500));  // enough for a few rewrites
  for (int i = 0; i < 1501; i += 7) {
    EXPECT_EQ(GetNelvarReg("App", "S", ("V" + std::to_string(i)).c_str(), buffer), 0) << i;
  }
  registry::Key root;
  bool newer;
  const std::string text = ReadFile(StoreFile());
  ASSERT_TRUE(registry::Parse(text, root, newer));
  EXPECT_LT(text.size(), 2 * registry::Serialize(root).size() + 70 * 1024);
}

// The store file is never read or written through a link planted at its name, and it stays
// private whatever the umask.
TEST_F(RegistryStoreTest, PlantedLinkIsRefusedAndTheStoreStaysPrivate) {
  const mode_t previous = umask(0);
  ASSERT_EQ(SetNelvarReg("App", "S", "V", "1"), 0);
  umask(previous);
  struct stat info {};
  ASSERT_EQ(stat(StoreFile().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);

  WriteFile(Root() / "victim", "tamvel-registry 2\nend\n");
  std::filesystem::remove(StoreFile());
  std::filesystem::create_symlink(Root() / "victim", StoreFile());
  ::testing::internal::CaptureStderr();
  char buffer[255];
  EXPECT_EQ(SetNelvarReg("App", "S", "V", "2"), 1);
  EXPECT_EQ(GetNelvarReg("App", "S", "V", buffer), 1);
  EXPECT_THAT(::testing::internal::GetCapturedStderr(), HasSubstr("not a regular file"));
  EXPECT_EQ(ReadFile(Root() / "victim"), "tamvel-registry 2\nend\n");
  EXPECT_TRUE(std::filesystem::is_symlink(StoreFile()));
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
