// The `tamvel` command as a user runs it: each case runs the built tool in a folder of its
// own (copies of a good page, the same page cut in half, a text file, a FIFO, two inputs with
// the same base name) and checks the exit status, what it says and which files it leaves.
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "platform/posix/raster_image.h"
#include "tests/common/emf_test_util.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The page (gdi-clip-arc.emf) breaks off inside record 11 when cut here.
constexpr size_t kCutAt = 0x280 + 12;

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

struct Case {
  const char *what;
  std::string args;
  int status;
  std::string out;  // standard output contains this ("" for anything)
  std::string err;  // standard error contains this
  std::vector<std::string> made = {};
  std::vector<std::string> not_made = {};
  std::string input = "";  // standard input
};

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override { Fresh(); }

  // An empty folder for the test with its inputs.
  void Fresh() {
    const char *tmp = std::getenv("TAMVEL_TEST_TMP");
    const auto *test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::absolute(fs::path(tmp ? tmp : "test-tmp") / "tamvel-tool" / test->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "one");
    fs::create_directories(folder_ / "two");
    const std::string page = ReadAll(test::TestDataPath("emf/gdi-clip-arc.emf"));
    ASSERT_GT(page.size(), kCutAt);
    for (const char *name : {"page.emf", "one/page.emf", "two/page.emf"}) {
      std::ofstream(folder_ / name, std::ios::binary) << page;
    }
    std::ofstream(folder_ / "cut.emf", std::ios::binary) << page.substr(0, kCutAt);
    std::ofstream(folder_ / "text.txt") << "not a metafile\n";
    ASSERT_EQ(mkfifo((folder_ / "fifo.emf").c_str(), 0600), 0);
  }

  // Runs `tamvel ARGS` in the folder (stdin from `input`, a file there, or nothing; the
  // variables of `environment`, as NAME=VALUE).
  Result Tamvel(const std::string &args, const std::string &input = "",
                const std::string &stdout_to = "", const std::string &environment = "") {
    return Shell(environment + " '" TAMVEL_TOOL "' " + args, input, stdout_to);
  }

  // Runs a shell command in the folder.
  Result Shell(const std::string &command, const std::string &input = "",
               const std::string &stdout_to = "") {
    const fs::path out = folder_.string() + ".out", err = folder_.string() + ".err";
    const std::string line = "cd '" + folder_.string() + "' && " + command + " <" +
                             (input.empty() ? "/dev/null" : input) + " >" +
                             (stdout_to.empty() ? out.string() : stdout_to) + " 2>" + err.string();
    const int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(out), ReadAll(err)};
  }

  // Runs the case and checks its status, messages and files.
  void Check(const Case &c) {
    Fresh();
    const Result run = Tamvel(c.args, c.input);
    SCOPED_TRACE(std::string(c.what) + ": tamvel " + c.args +
                 "\nstdout: " + run.out.substr(0, 300) + "\nstderr: " + run.err);
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.out.find(c.out), std::string::npos);
    EXPECT_NE(run.err.find(c.err), std::string::npos);
    for (const std::string &name : c.made) EXPECT_TRUE(Exists(name)) << name;
    for (const std::string &name : c.not_made) EXPECT_FALSE(Exists(name)) << name;
  }

  bool Exists(const std::string &name) const { return fs::exists(folder_ / name); }
  std::string Read(const std::string &name) const { return ReadAll(folder_ / name); }

  fs::path folder_;
};

// Every subcommand's command line, its messages and its exit statuses.
TEST_F(ToolTest, CommandLinesMessagesAndStatuses) {
  const std::string cut_problem = "cut.emf: record 11 at offset 0x280: size 16 runs past the end";
  const std::vector<Case> cases = {
      {"version", "--version", 0, "tamvel " TAMVEL_VERSION "\n", ""},
      {"overview", "--help", 0, "tamvel info", ""},
      {"help of a subcommand", "help render", 0, "--paper=SIZE", ""},
      {"--help after a subcommand",
       "render page.emf --help",
       0,
       "--paper=SIZE",
       "",
       {},
       {"page.png"}},
      {"-h after a subcommand", "dump -h", 0, "--all", ""},
      {"help of no such subcommand", "help frobnicate", 2, "", "unknown subcommand"},
      {"no such subcommand", "frobnicate", 2, "", "unknown subcommand \"frobnicate\""},
      {"no subcommand", "", 2, "", "usage: tamvel"},
      {"unknown option",
       "render --bogus page.emf x.png",
       2,
       "",
       "unknown option --bogus",
       {},
       {"x.png"}},
      {"unknown short option", "dump -x page.emf", 2, "", "unknown option -x"},
      {"missing value", "render page.emf -o", 2, "", "option -o needs a value"},
      {"value for a flag", "dump --all=3 page.emf", 2, "", "option --all takes no value"},
      {"bad number", "render --dpi 3x page.emf -o x.png", 2, "", "--dpi needs", {}, {"x.png"}},
      {"--dpi and --width", "render --dpi 9 --width 9 page.emf x.png", 2, "", "either"},
      {"no input", "info", 2, "", "no input file"},
      {"stdin twice", "dump - -", 2, "", "standard input (-) can be read only once"},
      {"no output", "render page.emf", 2, "", "no output"},
      {"unknown output type", "render page.emf -o x.gif", 2, "", "must end in .png"},
      {"--format against the name", "render page.emf -o x.svg --format pdf", 2, "",
       "--format does not match"},
      {"--antialias for an SVG", "render page.emf -o x.svg --antialias", 2, "",
       "--antialias is for PNG"},
      {"--paper for a PNG", "render page.emf -o x.png --paper A4", 2, "", "--paper is for PDF"},
      {"unknown paper",
       "render page.emf -o x.pdf --paper B7",
       2,
       "",
       "--paper needs A0",
       {},
       {"x.pdf"}},
      {"several inputs, one PNG", "render page.emf cut.emf -o x.png", 2, "", "%d"},
      {"clashing names",
       "render one/page.emf two/page.emf -o out/",
       2,
       "",
       "one/page.emf and two/page.emf would both be written to out/page.png",
       {},
       {"out"}},
      {"clashing names in a folder",
       "render page.emf page.emf -o one",
       2,
       "",
       "would both be written to one/page.png",
       {},
       {"one/page.png"}},
      {"--dpi=N", "render --dpi=300 page.emf -o x.png", 0, "", "", {"x.png"}},
      {"positional output", "render page.emf x.svg", 0, "", "", {"x.svg"}},
      {"new folder",
       "render one/page.emf cut.emf -o new/deep/",
       3,
       "",
       cut_problem,
       {"new/deep/page.png", "new/deep/cut.png"}},
      {"numbered",
       "render page.emf one/page.emf -o p-%d.svg",
       0,
       "",
       "2/2 pages",
       {"p-1.svg", "p-2.svg"}},
      {"stdin to a folder",
       "render - -o pictures/",
       0,
       "",
       "",
       {"pictures/stdin.png"},
       {},
       "page.emf"},
      {"stdin to stdout as PNG", "render - -o -", 0, "\x89PNG\r\n", "", {}, {}, "page.emf"},
      {"stdin to stdout as SVG", "render - -o - --format svg", 0, "<svg", "", {}, {}, "page.emf"},
      {"stdin to stdout as PDF", "render - -o - --format=pdf", 0, "%PDF-", "", {}, {}, "page.emf"},
      {"dump of stdin", "dump -", 0, "EMR_EOF", "", {}, {}, "page.emf"},
      {"missing input",
       "render missing.emf -o x.png",
       1,
       "",
       "tamvel render: missing.emf: No such file or directory",
       {},
       {"x.png"}},
      {"missing folder of the output", "render page.emf -o none/x.png", 1, "",
       "tamvel render: none/x.png: No such file or directory"},
      {"existing folder", "render page.emf -o two --format svg", 0, "", "", {"two/page.svg"}},
      {"picture too large",
       "render page.emf -o big.png --dpi 4800",
       1,
       "",
       "page.emf: cannot make a picture of 39685 x 28063 pixels",
       {},
       {"big.png"}},
      {"folder as input", "dump one", 1, "", "tamvel dump: one: not a regular file"},
      {"FIFO as input", "info fifo.emf", 1, "", "fifo.emf: not a regular file"},
      {"not a metafile", "info text.txt", 1, "", "text.txt: not an enhanced metafile"},
      {"empty stdin", "dump -", 1, "", "(standard input): the data is 0 bytes long"},
      {"damaged dump", "dump cut.emf", 3, "   10 0x000268 EMR_ELLIPSE", cut_problem},
      {"damaged info", "info cut.emf", 3, "complete     no", cut_problem},
      {"damaged render",
       "render cut.emf -o cut.png",
       3,
       "",
       "drawn as far as it could be read",
       {"cut.png"}},
      {"damaged page in a PDF",
       "render page.emf cut.emf -o both.pdf",
       3,
       "",
       cut_problem,
       {"both.pdf"}},
      {"unreadable page of a PDF",
       "render page.emf missing.emf -o both.pdf",
       1,
       "",
       "both.pdf: not written",
       {},
       {"both.pdf"}},
      {"failure outranks damage", "info cut.emf missing.emf page.emf", 1, "complete     yes",
       cut_problem},
      {"info", "info page.emf", 0,
       "page.emf\n  frame        210.00 x 148.50 mm, from (0.00, 0.00) to (210.00, 148.50) mm\n"
       "  bounds       (27, 27) to (700, 527) pixels\n"
       "  reference    1024 x 768 pixels, 271 x 203 mm\n"
       "  records      128 in 3332 bytes\n"
       "  description  none\n"
       "  complete     yes\n",
       ""},
  };
  for (const Case &c : cases) Check(c);
}

// Failures on the way out say where and why, and leave no output behind.
TEST_F(ToolTest, WriteFailuresNameTheirReason) {
  Result run = Tamvel("render page.emf -o x.png", "", "", "TMPDIR=/nonexistent");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("/nonexistent: cannot make a folder for the pictures: No such file"),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(Exists("x.png"));
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  run = Tamvel("dump page.emf", "", "/dev/full");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("standard output: No space left on device"), std::string::npos) << run.err;
}

// A picture is never written onto a terminal (script(1) gives the tool one).
TEST_F(ToolTest, RefusesToWriteAPictureOntoATerminal) {
  if (std::system("command -v script >/dev/null") != 0) GTEST_SKIP() << "no script(1)";
  const Result run = Shell("script -qec \"'" TAMVEL_TOOL "' render - -o - <page.emf\" /dev/null");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.out.find("standard output is a terminal"), std::string::npos) << run.out;
}

// Both spellings of a value, and the sizes --dpi and --width give.
TEST_F(ToolTest, PictureSizesFollowDpiOrWidth) {
  struct Size {
    std::string args;
    int width, height;
  } sizes[] = {
      {"--dpi 48", 397, 281}, {"--dpi=48", 397, 281}, {"", 794, 561}, {"--width=420", 420, 297}};
  for (const Size &size : sizes) {
    ASSERT_EQ(Tamvel("render page.emf -o x.png " + size.args).status, 0) << size.args;
    posix::RasterImage image;
    ASSERT_TRUE(posix::ReadPng((folder_ / "x.png").string(), &image));
    EXPECT_EQ(image.width, size.width) << size.args;
    EXPECT_EQ(image.height, size.height) << size.args;
  }
}

// --antialias reaches the image: the same page, other pixels.
TEST_F(ToolTest, AntialiasSmoothsThePng) {
  ASSERT_EQ(Tamvel("render page.emf -o crisp.png").status, 0);
  ASSERT_EQ(Tamvel("render --antialias page.emf -o smooth.png").status, 0);
  posix::RasterImage crisp, smooth;
  ASSERT_TRUE(posix::ReadPng((folder_ / "crisp.png").string(), &crisp));
  ASSERT_TRUE(posix::ReadPng((folder_ / "smooth.png").string(), &smooth));
  ASSERT_EQ(crisp.pixels.size(), smooth.pixels.size());
  EXPECT_NE(crisp.pixels, smooth.pixels);
}

// Paper sizes in points (1/72 inch); a named paper turns for the landscape page.
TEST_F(ToolTest, PaperSetsThePdfMediaBox) {
  struct Paper {
    std::string option, media_box;
  } papers[] = {{"", "0 0 595.275591 420.944882"},
                {"--paper A4", "0 0 841.889764 595.275591"},
                {"--paper=letter", "0 0 792 612"},
                {"--paper 100x50mm", "0 0 283.464567 141.732283"},
                {"--paper 100X300mm", "0 0 283.464567 850.393701"}};
  for (const Paper &paper : papers) {
    ASSERT_EQ(Tamvel("render page.emf -o x.pdf " + paper.option).status, 0) << paper.option;
    EXPECT_NE(Read("x.pdf").find("/MediaBox [ " + paper.media_box + " ]"), std::string::npos)
        << paper.option;
  }
  // A PDF per input, in a folder or numbered.
  ASSERT_EQ(Tamvel("render page.emf -o pdfs/ --format pdf --paper A5").status, 0);
  ASSERT_EQ(Tamvel("render page.emf one/page.emf -o p-%d.pdf").status, 0);
  for (const char *name : {"pdfs/page.pdf", "p-1.pdf", "p-2.pdf"}) {
    EXPECT_EQ(Read(name).rfind("%PDF-", 0), 0u) << name;
  }
  EXPECT_NE(Read("pdfs/page.pdf").find("/MediaBox [ 0 0 595.275591 419.527559 ]"),
            std::string::npos);
  ASSERT_EQ(Tamvel("render page.emf cut.emf one/page.emf -o book.pdf --paper A3").status, 3);
  const std::string book = Read("book.pdf");
  size_t pages = 0;
  for (size_t at = book.find("/Type /Page %"); at != std::string::npos;
       at = book.find("/Type /Page %", at + 1)) {
    ++pages;
  }
  EXPECT_EQ(pages, 3u);
}

// A damaged file is drawn as far as it can be read: the first shape, not the rest.
TEST_F(ToolTest, DamagedFileDrawsItsReadableRecords) {
  ASSERT_EQ(Tamvel("render page.emf -o whole.png").status, 0);
  ASSERT_EQ(Tamvel("render cut.emf -o cut.png").status, 3);
  posix::RasterImage whole, cut;
  ASSERT_TRUE(posix::ReadPng((folder_ / "whole.png").string(), &whole));
  ASSERT_TRUE(posix::ReadPng((folder_ / "cut.png").string(), &cut));
  ASSERT_EQ(cut.width, whole.width);
  size_t drawn = 0, differing = 0;
  for (size_t i = 0; i < cut.pixels.size(); ++i) {
    drawn += cut.pixels[i] != 0xFFFFFF;
    differing += cut.pixels[i] != whole.pixels[i];
  }
  EXPECT_GT(drawn, 10000u);  // the pink ellipse, clipped to its rectangle
  EXPECT_GT(differing, 1000u);
}

}  // namespace
}  // namespace tamvel
