// Files as a hostile world hands them over: a FIFO nobody writes, a device node, a metafile
// whose header claims more than the file holds, a disk that fills up during a save or an
// output, a temporary-file prefix that points out of the folder. Nothing blocks, nothing
// half-written is left under a name, and every failure is the documented result.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "include/tamvel_linux.h"
#include "platform/win32.h"
#include "tests/common/file_faults.h"
#include "tests/common/page_test_util.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;
using test::RunInChild;
using test::RunWithFileSizeLimit;
using test::TemporariesIn;

class FileFaultsTest : public test::LibraryTest {
 protected:
  void SetUp() override {
    test::LibraryTest::SetUp();
    folder_ = fs::absolute(
        test::ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  }
  std::string PathOf(const std::string &name) const { return (folder_ / name).string(); }
  // A page of a few tens of kilobytes, closed.
  static void DrawPage() {
    PLOTS(210.0f, 297.0f, 0);
    for (int i = 0; i < 2000; ++i) PLOT(10.0f + i % 180, 10.0f + i % 270, i % 2 ? 2 : 3);
    PLOT(0.0f, 0.0f, 999);
  }
  static void Put(const std::string &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string Slurp(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  fs::path folder_;
};

TEST_F(FileFaultsTest, LoadingRefusesWhatIsNotARegularFileAndNeverBlocks) {
  const std::string fifo = PathOf("fifo.emf");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_EQ(RunInChild([&] { return LOADFILE(fifo.c_str()); }, 5), 1)
      << "a FIFO that nobody writes must fail at once";
  EXPECT_EQ(RunInChild([&] { return GetEnhMetaFileA(fifo.c_str()) == nullptr ? 0 : 1; }, 5), 0);
  DrawPage();
  EXPECT_EQ(LOADFILE("/dev/zero"), 1);  // a device is never read
  EXPECT_EQ(MHEMF(0), 0);               // the page is emptied all the same
  fs::create_directory(folder_ / "folder.emf");
  EXPECT_EQ(LOADFILE(PathOf("folder.emf").c_str()), 1);

  // The tool refuses them too, and tells why.
  const std::string tool = std::string(TAMVEL_BINARY_DIR) + "/tamvel";
  if (fs::exists(tool)) {
    const std::string out = PathOf("tool.txt");
    const int dump =
        std::system(("timeout 10 " + tool + " dump " + fifo + " >" + out + " 2>&1").c_str());
    EXPECT_EQ(WEXITSTATUS(dump), 1) << Slurp(out);
    EXPECT_NE(Slurp(out).find("not a regular file"), std::string::npos) << Slurp(out);
    const int render = std::system(
        ("timeout 10 " + tool + " render " + fifo + " " + PathOf("x.png") + " 2>" + out).c_str());
    EXPECT_EQ(WEXITSTATUS(render), 1) << Slurp(out);
  }
}

// Only the bytes the header claims are read, and only when the file holds them.
TEST_F(FileFaultsTest, LoadingTrustsTheHeaderOnlyAsFarAsTheFileGoes) {
  DrawPage();
  const std::string path = PathOf("page.emf");
  ASSERT_EQ(SAVEFILE(path.c_str()), 0);
  std::string bytes = Slurp(path);
  Put(path, bytes + std::string(100, 'x'));  // trailing bytes beyond nBytes are not read
  EXPECT_EQ(LOADFILE(path.c_str()), 0);
  HENHMETAFILE loaded = HandleFromValue<HENHMETAFILE>(static_cast<uint32_t>(MHEMF(0)));
  EXPECT_EQ(GetEnhMetaFileBits(loaded, 0, nullptr), bytes.size());
  Put(path, bytes.substr(0, bytes.size() - 4));
  EXPECT_EQ(LOADFILE(path.c_str()), 1);
  for (uint32_t claimed : {0u, 87u, 0xFFFFFFF0u}) {
    std::string lying = bytes;
    std::memcpy(lying.data() + 48, &claimed, 4);
    Put(path, lying);
    EXPECT_EQ(LOADFILE(path.c_str()), 1) << claimed;
  }
}

// A save that runs out of space fails with 3 and leaves nothing under the name: the old file
// is deleted by the save's own first step, the new one never appears half-written.
TEST_F(FileFaultsTest, SaveOnAFullDiskLeavesNoPartialFile) {
  const std::string path = PathOf("page.emf");
  DrawPage();
  Put(path, "old");
  EXPECT_EQ(RunWithFileSizeLimit(4096, [&] { return SAVEFILE(path.c_str()); }), 3);
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(TemporariesIn(folder_).empty());

  // The stand-in's writer on its own replaces a file whole or not at all.
  Put(path, "old");
  HENHMETAFILE page = HandleFromValue<HENHMETAFILE>(static_cast<uint32_t>(MHEMF(0)));
  EXPECT_EQ(
      RunWithFileSizeLimit(4096, [&] { return CopyEnhMetaFileA(page, path.c_str()) ? 1 : 0; }), 0);
  EXPECT_EQ(Slurp(path), "old");

  const fs::path disk = folder_ / "disk";
  fs::create_directory(disk);
  const std::string on_disk = (disk / "page.emf").string();
  const int full = test::RunOnFullDisk(disk, 8192, [&] {
    const int32_t result = SAVEFILE(on_disk.c_str());
    return result == 3 && !fs::exists(on_disk) && TemporariesIn(disk).empty() ? 0 : 10 + result;
  });
  if (full == test::kChildSkipped) GTEST_SKIP() << "no tmpfs here (needs root)";
  EXPECT_EQ(full, 0);
}

TEST_F(FileFaultsTest, SavingNeverReplacesDevicesOrFifos) {
  DrawPage();
  const std::string fifo = PathOf("fifo.emf");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_EQ(RunInChild([&] { return SAVEFILE(fifo.c_str()); }, 5), 2);
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_FALSE(DeleteFileA(fifo.c_str()));

  // A link is deleted itself; what it points to stays.
  Put(PathOf("target"), "kept");
  fs::create_symlink(PathOf("target"), PathOf("link.emf"));
  EXPECT_EQ(SAVEFILE(PathOf("link.emf").c_str()), 0);
  EXPECT_EQ(Slurp(PathOf("target")), "kept");

  const std::string device = PathOf("null.emf");
  if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
    GTEST_SKIP() << "device nodes need root";
  }
  EXPECT_EQ(SAVEFILE(device.c_str()), 2);
  EXPECT_TRUE(fs::is_character_file(device));
  EXPECT_FALSE(DeleteFileA(device.c_str()));
}

TEST_F(FileFaultsTest, TemporaryFilesStayInTheirFolder) {
  const fs::path temporary = folder_ / "tmp";
  fs::create_directory(temporary);
  const char *previous = std::getenv("TMPDIR");
  const std::string saved = previous ? previous : "";
  setenv("TMPDIR", temporary.c_str(), 1);
  char name[MAX_PATH];
  const int32_t length = GetTmpFileName(name, "../");
  previous ? setenv("TMPDIR", saved.c_str(), 1) : unsetenv("TMPDIR");
  ASSERT_GT(length, 0);
  EXPECT_EQ(fs::path(name).parent_path(), temporary);
  EXPECT_TRUE(fs::is_regular_file(name));
  char first[MAX_PATH], second[MAX_PATH];
  ASSERT_NE(GetTempFileNameA(temporary.c_str(), "a/b", 0, first), 0u);
  ASSERT_NE(GetTempFileNameA(temporary.c_str(), "a/b", 0, second), 0u);
  EXPECT_STRNE(first, second);
  EXPECT_EQ(fs::path(first).parent_path(), temporary);
  // A folder that cannot hold files ends the search at once.
  EXPECT_EQ(GetTempFileNameA(PathOf("missing").c_str(), "x", 0, name), 0u);
}

// PNG, PDF and SVG outputs that cannot be written completely report it and leave no file.
TEST_F(FileFaultsTest, OutputsThatCannotBeWrittenAreReportedAndLeaveNothing) {
  auto draw = [](TAMVEL_HDC dc) {
    for (int i = 0; i < 300; ++i) {
      MoveToEx(dc, i, 0, nullptr);
      LineTo(dc, 300 - i, 200);
    }
  };
  const std::string png = PathOf("out.png"), pdf = PathOf("out.pdf"), svg = PathOf("out.svg");
  const int results = RunWithFileSizeLimit(200, [&] {
    TAMVEL_HDC image = TamvelCreateImageDC(300, 200);
    draw(image);
    const int saved = TamvelSaveImageDC(image, png.c_str());
    TamvelDeleteDC(image);
    TAMVEL_HDC printer = TamvelCreatePrinterDC(pdf.c_str(), 210, 297, 300, 0, 0);
    draw(printer);
    TAMVEL_HDC drawing = TamvelCreateSvgDC(svg.c_str(), 300, 200);
    draw(drawing);
    return saved * 16 + TamvelDeleteDC(printer) * 4 + TamvelDeleteDC(drawing);
  });
  EXPECT_EQ(results, 2 * 16 + 2 * 4 + 2) << "each output reports 2";
  for (const std::string &path : {png, pdf, svg}) EXPECT_FALSE(fs::exists(path)) << path;
  EXPECT_TRUE(TemporariesIn(folder_).empty());

  // Without the limit every one is written; a folder that does not exist gives no DC.
  TAMVEL_HDC drawing = TamvelCreateSvgDC(svg.c_str(), 300, 200);
  draw(drawing);
  EXPECT_EQ(TamvelDeleteDC(drawing), 0);
  EXPECT_NE(Slurp(svg).find("</svg>"), std::string::npos);
  EXPECT_EQ(TamvelCreateSvgDC(PathOf("missing/out.svg").c_str(), 10, 10), nullptr);
  EXPECT_EQ(TamvelCreatePrinterDC(PathOf("missing/out.pdf").c_str(), 210, 297, 300, 0, 0), nullptr);
}

}  // namespace
}  // namespace tamvel
