// Saving pages as metafile files and loading files into pages, with the Fortran path forms.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/common/page_test_util.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;

class FilesTest : public test::LibraryTest {
 protected:
  void SetUp() override {
    test::LibraryTest::SetUp();
    folder_ = test::ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  void TearDown() override {
    std::error_code error;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, error);
    test::LibraryTest::TearDown();
  }
  std::string PathOf(const std::string &name) const { return (folder_ / name).string(); }
  static void DrawSomething() {
    PLOTS(210.0f, 297.0f, 0);
    PLOT(10.0f, 10.0f, 3);
    PLOT(100.0f, 50.0f, 2);
  }
  fs::path folder_;
};

TEST_F(FilesTest, SavingClosesThePageAndLoadingRestoresIt) {
  DrawSomething();
  const std::string path = PathOf("page.emf");
  EXPECT_EQ(SAVEFILE(path.c_str()), 0);
  EXPECT_TRUE(fs::exists(path));
  EXPECT_EQ(MHDC(0), 0);  // closed: a following PLOT draws nothing
  ASSERT_NE(MHEMF(0), 0);
  const emf::DecodeResult saved = test::DecodePage(0);
  EXPECT_EQ(SAVEFILE(path.c_str()), 0);  // again, over the existing file

  CHPAGE(7);
  EXPECT_EQ(LOADFILE(path.c_str()), 0);
  EXPECT_EQ(MHDC(6), 0);
  const emf::DecodeResult loaded = test::DecodePage(6);
  ASSERT_NE(loaded.header(), nullptr);
  EXPECT_EQ(loaded.header()->frame, (emf::Rect{0, -29700, 21000, 0}));
  EXPECT_EQ(loaded.header()->description, saved.header()->description);
  EXPECT_EQ(test::PointsOfType(loaded, emf::kLineTo), (std::vector<emf::Point>{{5669, 2835}}));
}

TEST_F(FilesTest, NothingToSave) {
  const std::string path = PathOf("never.emf");
  EXPECT_EQ(SAVEFILE(path.c_str()), 1);
  PLOTS(10.0f, 10.0f, 0);
  CurrentPage().ClearPage();
  EXPECT_EQ(SAVEFILE(path.c_str()), 1);
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(FilesTest, ATargetThatCannotBeDeletedGivesTwo) {
  const fs::path folder = folder_ / "taken.emf";
  fs::create_directories(folder / "inside");
  DrawSomething();
  EXPECT_EQ(SAVEFILE(folder.string().c_str()), 2);
  EXPECT_TRUE(fs::is_directory(folder / "inside"));
  EXPECT_NE(MHEMF(0), 0);  // the page is closed and keeps its metafile
}

TEST_F(FilesTest, ReadOnlyTargetGivesTwoAndStaysAsItWas) {
  const std::string path = PathOf("locked.emf");
  { std::ofstream(path) << "keep"; }
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  DrawSomething();
  const int32_t result = SAVEFILE(path.c_str());
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(result, 2);
  std::ifstream in(path);
  std::string content;
  in >> content;
  EXPECT_EQ(content, "keep");
}

TEST_F(FilesTest, MissingFolderGivesThree) {
  DrawSomething();
  EXPECT_EQ(SAVEFILE(PathOf("no/such/folder/x.emf").c_str()), 3);
  EXPECT_EQ(SAVEFILE(nullptr), 3);
  EXPECT_EQ(SAVEFILE(""), 3);
  EXPECT_NE(MHEMF(0), 0);
}

TEST_F(FilesTest, LoadingFailuresEmptyThePage) {
  DrawSomething();
  EXPECT_EQ(LOADFILE(PathOf("missing.emf").c_str()), 1);
  EXPECT_EQ(MHDC(0), 0);
  EXPECT_EQ(MHEMF(0), 0);
  const std::string text = PathOf("not-an-emf.emf");
  { std::ofstream(text) << "this is not a metafile, only some text to fool the reader"; }
  EXPECT_EQ(LOADFILE(text.c_str()), 1);
  const std::string empty = PathOf("empty.emf");
  { std::ofstream{empty}; }
  EXPECT_EQ(LOADFILE(empty.c_str()), 1);
  EXPECT_EQ(LOADFILE(folder_.string().c_str()), 1);
  EXPECT_EQ(LOADFILE(nullptr), 1);
  EXPECT_EQ(MHEMF(0), 0);
}

TEST_F(FilesTest, FortranPathRules) {
  const fs::path previous = fs::current_path();
  fs::current_path(folder_);
  DrawSomething();
  const std::string name = "a.emf       ";
  const TAMVEL_FSTRING path = {name.data(), static_cast<int32_t>(name.size())};
  EXPECT_EQ(SAVEFILEF(&path, 0), 0);
  EXPECT_TRUE(fs::exists("a.emf"));
  EXPECT_EQ(SAVEFILEF(&path, 3), 0);
  EXPECT_TRUE(fs::exists("a.e"));
  EXPECT_EQ(SAVEFILEF(&path, -5), 0);
  EXPECT_EQ(LOADFILEF(&path, -5), 0);
  EXPECT_NE(MHEMF(0), 0);
  EXPECT_EQ(LOADFILEF(nullptr, 4), 1);
  const TAMVEL_FSTRING broken = {nullptr, -9};
  EXPECT_EQ(LOADFILEF(&broken, 0), 1);
  EXPECT_EQ(SAVEFILEF(&broken, 0), 1);  // the failed load emptied the page
  fs::current_path(previous);
}

TEST_F(FilesTest, LongFortranPathsAreCutAt256Bytes) {
  DrawSomething();
  // folder/ddd.../ddd... so that the first 256 bytes name a file in an existing folder.
  std::string path = folder_.string() + "/";
  const std::string cut_name(256 - path.size(), 'f');
  const std::string full = path + cut_name + std::string(100, 'g');
  const TAMVEL_FSTRING text = {full.data(), static_cast<int32_t>(full.size())};
  EXPECT_EQ(SAVEFILEF(&text, 0), 0);
  EXPECT_TRUE(fs::exists(path + cut_name));
}

}  // namespace
}  // namespace tamvel
