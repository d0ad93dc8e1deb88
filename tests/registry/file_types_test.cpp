// File-type registration under HKEY_CLASSES_ROOT, the default-value calls, and the
// freedesktop files that mirror a registered type on Linux.
#include <gmock/gmock.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "include/tamvel.h"
#include "platform/posix/file_types_mirror.h"
#include "platform/win32.h"
#include "tests/registry/host_test_env.h"

namespace tamvel::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class FileTypesTest : public HostTest {
 protected:
  // The default value of HKEY_CLASSES_ROOT\<path>, or "<missing>".
  static std::string DefaultOf(const char *path) {
    char buffer[512];
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
      return "<missing>";
    }
    DWORD size = sizeof buffer;
    LSTATUS status =
        RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE *>(buffer), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::string(buffer, size) : "<no value>";
  }
};

TEST_F(FileTypesTest, NewSameAndAnotherClass) {
  char buffer[64] = "untouched";
  EXPECT_EQ(SetFileType("Drawing", ".tvd", "Tamvel.Drawing", "/opt/tv/bin/viewer", buffer, 64), 0);
  EXPECT_EQ(DefaultOf(".tvd"), std::string("Tamvel.Drawing\0", 15));
  EXPECT_EQ(DefaultOf("Tamvel.Drawing"), std::string("Drawing\0", 8));
  EXPECT_EQ(DefaultOf("Tamvel.Drawing\\Shell\\Open\\Command"),
            std::string("\"/opt/tv/bin/viewer\" \"%1\"\0", 26));
  EXPECT_EQ(DefaultOf("Tamvel.Drawing\\DefaultIcon"), std::string("/opt/tv/bin/viewer,0\0", 21));

  EXPECT_EQ(SetFileType("Drawing", ".tvd", "Tamvel.Drawing", "/opt/tv/bin/viewer", buffer, 64), 0);

  EXPECT_EQ(SetFileType("Plan", ".tvd", "Other.Plan", "/usr/bin/plan", buffer, 64), 14);
  EXPECT_STREQ(buffer, "Tamvel.Drawing");
  EXPECT_EQ(DefaultOf(".tvd"), std::string("Other.Plan\0", 11));
  // Class names compare exactly: another case is another class.
  EXPECT_EQ(SetFileType("Plan", ".TVD", "other.plan", "/usr/bin/plan", buffer, 64), 10);
}

TEST_F(FileTypesTest, EarlierClassThatDoesNotFitTheBufferCountsAsNone) {
  char buffer[64];
  ASSERT_EQ(SetFileType("D", ".tvd", "A.Rather.Long.Class.Name", "/bin/x", buffer, 64), 0);
  EXPECT_EQ(SetFileType("D", ".tvd", "Short", "/bin/x", buffer, 8), 0);
  EXPECT_EQ(SetFileType("D", ".tvd", "Other", "/bin/x", nullptr, 64), 0);
  EXPECT_EQ(DefaultOf(".tvd"), std::string("Other\0", 6));
}

TEST_F(FileTypesTest, NothingToRegisterWithoutExtensionOrClass) {
  char buffer[64];
  EXPECT_EQ(SetFileType("D", nullptr, "C", "/bin/x", buffer, 64), 0);
  EXPECT_EQ(SetFileType("D", "", "C", "/bin/x", buffer, 64), 0);
  EXPECT_EQ(SetFileType("D", ".x", nullptr, "/bin/x", buffer, 64), 0);
  EXPECT_EQ(SetFileType("D", ".x", "C", nullptr, buffer, 64), 0);
  EXPECT_EQ(DefaultOf(".x"), "<missing>");
  EXPECT_EQ(DefaultOf("C"), "<missing>");
}

TEST_F(FileTypesTest, ClassRootDefaults) {
  EXPECT_EQ(SetClassRoot("Some.Key\\Sub", "value"), -1);
  char buffer[32];
  EXPECT_EQ(GetClassRoot("some.key\\sub", buffer, 32), 5);
  EXPECT_STREQ(buffer, "value");
  EXPECT_EQ(GetClassRoot("some.key\\sub", buffer, 5), 0);  // no room for the NUL
  EXPECT_EQ(GetClassRoot("Some.Key", buffer, 32), 0);      // key without a default value
  EXPECT_EQ(GetClassRoot("No.Such.Key", buffer, 32), 0);
  EXPECT_EQ(SetClassRoot("Empty", ""), -1);
  EXPECT_EQ(GetClassRoot("Empty", buffer, 32), 0);
  EXPECT_EQ(GetClassRoot("Empty", nullptr, 32), 0);
  EXPECT_EQ(SetClassRoot(nullptr, "v"), 0);
  EXPECT_EQ(SetClassRoot("K", nullptr), 0);
  EXPECT_EQ(GetClassRoot(nullptr, buffer, 32), 0);
}

TEST_F(FileTypesTest, RegisteredTypeIsMirroredForTheDesktop) {
  char buffer[64];
  // Description in Shift-JIS ("図面"), a program path with a blank.
  ASSERT_EQ(
      SetFileType("\x90\x7d\x96\xca", ".tvd", "Tamvel.Drawing", "/opt/my tools/viewer", buffer, 64),
      0);
  std::string package = ReadFile(DataHome() / "mime/packages/tamvel-tamvel.drawing.xml");
  EXPECT_THAT(package, HasSubstr("<mime-type type=\"application/x-tamvel-tamvel.drawing\">"));
  EXPECT_THAT(package, HasSubstr("<comment>\xe5\x9b\xb3\xe9\x9d\xa2</comment>"));
  EXPECT_THAT(package, HasSubstr("<glob pattern=\"*.tvd\"/>"));
  std::string entry = ReadFile(DataHome() / "applications/tamvel-tamvel.drawing.desktop");
  EXPECT_THAT(entry, HasSubstr("Exec=\"/opt/my tools/viewer\" %f\n"));
  EXPECT_THAT(entry, HasSubstr("MimeType=application/x-tamvel-tamvel.drawing;\n"));

  // The extension moves to another class: the first class's files go, the new ones come.
  ASSERT_EQ(SetFileType("Plan", ".tvd", "Plan", "/usr/bin/plan", buffer, 64), 14);
  EXPECT_FALSE(std::filesystem::exists(DataHome() / "mime/packages/tamvel-tamvel.drawing.xml"));
  EXPECT_FALSE(std::filesystem::exists(DataHome() / "applications/tamvel-tamvel.drawing.desktop"));
  EXPECT_THAT(ReadFile(DataHome() / "mime/packages/tamvel-plan.xml"),
              HasSubstr("<glob pattern=\"*.tvd\"/>"));
}

// Under umask 000 the mirrored files still take no write permission for others (anyone who
// could edit Exec= could run a program as the user), the store stays private, and a link
// planted at a mirrored file's name is replaced, not written through.
TEST_F(FileTypesTest, MirroredFilesAndTheStoreKeepTheirModesWhateverTheUmask) {
  const auto desktop = DataHome() / "applications/tamvel-tamvel.drawing.desktop";
  std::filesystem::create_directories(desktop.parent_path());
  WriteFile(Root() / "victim", "keep");
  std::filesystem::create_symlink(Root() / "victim", desktop);
  const mode_t previous = umask(0);
  char buffer[64];
  const int32_t result = SetFileType("Drawing", ".tvd", "Tamvel.Drawing", "/bin/v", buffer, 64);
  umask(previous);
  ASSERT_EQ(result, 0);
  auto mode = [](const std::filesystem::path &path) {
    struct stat info {};
    lstat(path.c_str(), &info);
    return info.st_mode & 07777;
  };
  EXPECT_EQ(mode(desktop), 0644u);
  EXPECT_EQ(mode(DataHome() / "mime/packages/tamvel-tamvel.drawing.xml"), 0644u);
  EXPECT_EQ(mode(RegistryDir() / "classes-root.reg"), 0600u);
  EXPECT_EQ(mode(RegistryDir()), 0700u);
  EXPECT_EQ(ReadFile(Root() / "victim"), "keep");
  EXPECT_THAT(ReadFile(desktop), HasSubstr("Exec=/bin/v %f"));
}

// .emf already has a MIME type: the class opens image/emf by default (the user's other
// defaults stay) and declares no type of its own.
TEST_F(FileTypesTest, MetafileExtensionOpensTheStandardTypeByDefault) {
  std::filesystem::create_directories(Root() / "config");
  {
    std::ofstream defaults(Root() / "config/mimeapps.list");
    defaults << "[Added Associations]\nimage/emf=other.desktop;\n"
             << "[Default Applications]\ntext/plain=editor.desktop\nimage/emf=other.desktop\n";
  }
  char buffer[64];
  ASSERT_EQ(SetFileType("Metafile", ".EMF", "Tamvel.Metafile", "/usr/lib/tamvel/tamvel-viewer",
                        buffer, 64),
            0);
  EXPECT_FALSE(std::filesystem::exists(DataHome() / "mime/packages/tamvel-tamvel.metafile.xml"));
  EXPECT_THAT(ReadFile(DataHome() / "applications/tamvel-tamvel.metafile.desktop"),
              HasSubstr("MimeType=image/emf;\n"));
  EXPECT_EQ(ReadFile(Root() / "config/mimeapps.list"),
            "[Added Associations]\nimage/emf=other.desktop;\n[Default Applications]\n"
            "text/plain=editor.desktop\nimage/emf=tamvel-tamvel.metafile.desktop\n");
}

TEST(DesktopExecLine, QuotesWhatTheShellWouldReadAndMapsTheDocumentArgument) {
  using posix::registry::DesktopExecLine;
  EXPECT_EQ(DesktopExecLine("\"/usr/bin/viewer\" \"%1\""), "/usr/bin/viewer %f");
  EXPECT_EQ(DesktopExecLine("\"/opt/a b/v\" \"%1\""), "\"/opt/a b/v\" %f");
  EXPECT_EQ(DesktopExecLine("\"/opt/$x/100%\" -o \"%1\""), "\"/opt/\\$x/100%%\" -o %f");
  EXPECT_EQ(DesktopExecLine("\"/opt/back\\slash\" %1"), "\"/opt/back\\\\slash\" %f");
  EXPECT_EQ(DesktopExecLine(""), "");
}

}  // namespace
}  // namespace tamvel::test
