// The running-program check with its task.lst, and the stand-in calls behind it: processes
// as windows, executables as modules, canonical paths as short paths.
#include <gmock/gmock.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstring>
#include <string>

#include "include/tamvel.h"
#include "platform/win32.h"
#include "tests/common/file_faults.h"
#include "tests/registry/host_test_env.h"

extern char **environ;

namespace tamvel::test {
namespace {

// ---------------------------------------------------------------- TaskActiv ----

class TaskActivTest : public HostTest {
 protected:
  static std::string OwnExecutable() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
  }
  static std::string Lower(std::string text) {
    for (char &c : text) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
  }
  static std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "every line ends in a newline";
    return lines;
  }
};

TEST_F(TaskActivTest, ProgramThatIsNotRunningIsComparedWithEveryProgram) {
  std::filesystem::path idle = Root() / "idle-program";
  WriteFile(idle, "#!/bin/sh\n");
  EXPECT_EQ(TaskActiv(idle.c_str()), 0);
  std::vector<std::string> lines = Lines(ReadFile("task.lst"));
  ASSERT_GE(lines.size(), 2u);  // the target and at least this test
  EXPECT_EQ(lines.front(), Lower(idle.string()));
  EXPECT_THAT(lines, ::testing::Contains(Lower(OwnExecutable())));
}

// A running program ends the list it starts, in lower case.
TEST_F(TaskActivTest, RunningProgramEndsTheListInLowerCase) {
  // A copy of a small program in an upper-case folder, running while we look.
  std::filesystem::path folder = Root() / "TOOLS";
  std::filesystem::create_directory(folder);
  std::filesystem::path program = folder / "SLEEPER.EXE";
  std::filesystem::copy_file("/bin/sleep", program);
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  std::string path = program.string();
  char *argv[] = {path.data(), const_cast<char *>("30"), nullptr};
  pid_t pid;
  ASSERT_EQ(posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ), 0);

  WriteFile("task.lst", std::string(10000, 'x'));  // discarded, not appended to
  EXPECT_EQ(TaskActiv(path.c_str()), 1);
  std::vector<std::string> lines = Lines(ReadFile("task.lst"));
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.front(), Lower(path));
  EXPECT_THAT(lines.front(), ::testing::EndsWith("/tools/sleeper.exe"));
  EXPECT_EQ(lines.back(), lines.front());

  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  EXPECT_EQ(TaskActiv(path.c_str()), 0);
}

// The list is written whole or not at all: a folder or a FIFO at its name is left as it is
// (and the FIFO does not block the call), a list the disk cannot take leaves the old one, and
// a link planted at the name is replaced, not written through. The answer stands in each case.
TEST_F(TaskActivTest, ListIsWrittenWholeOrNotAtAll) {
  const std::string program = OwnExecutable();
  std::filesystem::create_directory("task.lst");
  EXPECT_EQ(TaskActiv(program.c_str()), 1);
  std::filesystem::remove("task.lst");

  ASSERT_EQ(mkfifo("task.lst", 0600), 0);
  EXPECT_EQ(RunInChild([&] { return TaskActiv(program.c_str()); }), 1);
  EXPECT_TRUE(std::filesystem::is_fifo("task.lst"));
  std::filesystem::remove("task.lst");

  WriteFile("task.lst", "old\n");
  EXPECT_EQ(RunWithFileSizeLimit(8, [&] { return TaskActiv(program.c_str()); }), 1);
  EXPECT_EQ(ReadFile("task.lst"), "old\n");
  EXPECT_THAT(TemporariesIn("."), ::testing::IsEmpty());

  std::filesystem::remove("task.lst");
  WriteFile(Root() / "victim", "kept");
  std::filesystem::create_symlink(Root() / "victim", "task.lst");
  EXPECT_EQ(TaskActiv(program.c_str()), 1);
  EXPECT_EQ(ReadFile(Root() / "victim"), "kept");
  EXPECT_FALSE(std::filesystem::is_symlink("task.lst"));
  EXPECT_EQ(Lines(ReadFile("task.lst")).back(), Lower(program));
}

// ------------------------------------------------ the stand-in calls behind it ----

TEST(HostStandIn, WindowsAreTheUsersProcessesWithTheirExecutables) {
  struct Seen {
    int windows = 0;
    bool own = false;
    std::string own_path;
  } seen;
  char own[MAX_PATH + 1];
  ASSERT_GT(GetModuleFileNameA(nullptr, own, sizeof own), 0u);
  seen.own_path = own;
  ASSERT_TRUE(EnumWindows(
      [](HWND window, LPARAM parameter) -> BOOL {
        Seen &seen = *reinterpret_cast<Seen *>(parameter);
        ++seen.windows;
        HMODULE module = reinterpret_cast<HMODULE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
        char path[MAX_PATH + 1] = {};
        if (GetModuleFileNameA(module, path, sizeof path) > 0 && seen.own_path == path) {
          seen.own = true;
        }
        EXPECT_EQ(GetWindowLongA(window, 0), 0);  // only the instance is known
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&seen)));
  EXPECT_GE(seen.windows, 1);
  EXPECT_TRUE(seen.own);
  EXPECT_EQ(GetWindowLongA(nullptr, GWL_HINSTANCE), 0);
  EXPECT_FALSE(EnumWindows(nullptr, 0));
}

TEST(HostStandIn, PathBuffersFollowTheWin32SizeRules) {
  char own[MAX_PATH + 1];
  DWORD length = GetModuleFileNameA(nullptr, own, sizeof own);
  ASSERT_GT(length, 4u);
  char small[4];
  EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), sizeof small);  // cut
  EXPECT_EQ(std::string(small), std::string(own, 3));

  char resolved[MAX_PATH + 1];
  EXPECT_EQ(GetShortPathNameA("/no/such/file", resolved, sizeof resolved), 0u);
  EXPECT_EQ(GetShortPathNameA(nullptr, resolved, sizeof resolved), 0u);
  EXPECT_EQ(GetShortPathNameA("/", resolved, sizeof resolved), 1u);
  EXPECT_STREQ(resolved, "/");
  std::string dotted = std::string(own) + "/../" + std::filesystem::path(own).filename().string();
  // A file is no folder: the dotted path does not resolve.
  EXPECT_EQ(GetShortPathNameA(dotted.c_str(), resolved, sizeof resolved), 0u);
  std::string parent = std::filesystem::path(own).parent_path().string();
  std::string roundabout = parent + "/./../" + std::filesystem::path(parent).filename().string();
  EXPECT_EQ(GetShortPathNameA(roundabout.c_str(), resolved, sizeof resolved), parent.size());
  EXPECT_EQ(resolved, parent);
  EXPECT_EQ(GetShortPathNameA(roundabout.c_str(), small, sizeof small), parent.size() + 1);
}

TEST(HostStandIn, VersionNeedsItsSizeAndIsNoWindowsNt) {
  EXPECT_EQ(IsWindowsNT(), 0);
  OSVERSIONINFOA info = {};
  EXPECT_FALSE(GetVersionExA(&info));
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExA(&info));
  EXPECT_NE(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
  EXPECT_FALSE(GetVersionExA(nullptr));
}

}  // namespace
}  // namespace tamvel::test
