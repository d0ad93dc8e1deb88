// Atomic writes and checked reads (platform/posix/safe_file.h) against the faults they exist
// for: full disks, size limits, planted links, FIFOs and device nodes, and any umask.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <array>
#include <fstream>
#include <numeric>
#include <sstream>

#include "platform/posix/safe_file.h"
#include "tests/common/file_faults.h"
#include "tests/common/page_test_util.h"

namespace tamvel::test {
namespace {

using posix::AtomicFile;
using posix::CheckedReader;
using Bytes = std::vector<uint8_t>;
using Span = std::span<const uint8_t>;

std::string Slurp(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void Put(const std::filesystem::path &path, const std::string &text) {
  std::ofstream(path, std::ios::binary) << text;
}

mode_t ModeOf(const std::filesystem::path &path) {
  struct stat info {};
  lstat(path.c_str(), &info);
  return info.st_mode & 07777;
}

Bytes Pattern(size_t size, uint8_t seed) {
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7 + (i >> 9));
  return bytes;
}

class SafeFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto *test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::absolute(ScratchFolder(std::string("safe-file-") + test->name()));
  }
  std::filesystem::path folder_;
};

// Streamed writes, gathered spans of every size around the 64 KiB buffer, and both together
// come out byte for byte.
TEST_F(SafeFileTest, StreamedAndGatheredWritesComeOutExactly) {
  std::vector<Bytes> pieces;
  for (size_t size : {0, 1, 100, 65535, 65536, 65537, 3, 200000, 5, 131072, 70000}) {
    pieces.push_back(Pattern(size, static_cast<uint8_t>(pieces.size())));
  }
  for (int i = 0; i < 300; ++i) pieces.push_back(Pattern(static_cast<size_t>(i % 17), 9));
  std::vector<Span> spans(pieces.begin(), pieces.end());
  Bytes expected;
  for (const Bytes &piece : pieces) expected.insert(expected.end(), piece.begin(), piece.end());
  const std::string want(expected.begin(), expected.end());

  const auto gathered = folder_ / "gathered.bin";
  ASSERT_TRUE(AtomicFile::WriteWhole(gathered, 0644, spans));
  EXPECT_EQ(Slurp(gathered), want);

  const auto streamed = folder_ / "streamed.bin";
  AtomicFile file;
  ASSERT_TRUE(file.Open(streamed, 0644));
  EXPECT_FALSE(std::filesystem::exists(streamed));  // nothing under the name before the commit
  for (size_t i = 0; i < spans.size(); i += 2) {
    ASSERT_TRUE(file.Write(spans[i]));
    if (i + 1 < spans.size()) {
      ASSERT_TRUE(file.WriteGather(std::span(&spans[i + 1], 1)));
    }
  }
  EXPECT_EQ(file.size(), expected.size());
  ASSERT_TRUE(file.Commit());
  EXPECT_FALSE(file.is_open());
  EXPECT_EQ(Slurp(streamed), want);
  EXPECT_TRUE(TemporariesIn(folder_).empty());
}

TEST_F(SafeFileTest, AbandonedOrDestroyedFileLeavesTheOldContent) {
  const auto path = folder_ / "kept.txt";
  Put(path, "old");
  {
    AtomicFile file;
    ASSERT_TRUE(file.Open(path, 0644));
    ASSERT_TRUE(file.Write(std::string_view("new content")));
    EXPECT_EQ(TemporariesIn(folder_).size(), 1u);
  }  // destroyed without a commit
  EXPECT_EQ(Slurp(path), "old");
  AtomicFile file;
  ASSERT_TRUE(file.Open(path, 0644));
  file.Write(std::string_view("new"));
  file.Abandon();
  EXPECT_FALSE(file.Commit());
  EXPECT_EQ(Slurp(path), "old");
  EXPECT_TRUE(TemporariesIn(folder_).empty());

  // A missing folder fails at once and creates nothing.
  EXPECT_FALSE(file.Open(folder_ / "missing" / "x", 0644));
  EXPECT_EQ(file.error(), ENOENT);
  EXPECT_FALSE(file.Open("", 0644));
  EXPECT_FALSE(file.Write(std::string_view("x")));
}

// A write that the file system refuses part-way (size limit, full disk) leaves the name as it
// was and no temporary file.
TEST_F(SafeFileTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  const auto path = folder_ / "limited.bin";
  Put(path, "old");
  const Bytes big = Pattern(1 << 20, 1);
  const int limited = RunWithFileSizeLimit(100000, [&] {
    AtomicFile file;
    if (!file.Open(path, 0644)) return 10;
    const bool written = file.Write(Span(big)) && file.Write(Span(big));
    if (written || file.error() != EFBIG) return 11;
    return file.Commit() ? 12 : 0;
  });
  EXPECT_EQ(limited, 0);
  EXPECT_EQ(Slurp(path), "old");
  EXPECT_TRUE(TemporariesIn(folder_).empty());

  const auto disk = folder_ / "disk";
  std::filesystem::create_directories(disk);
  const int full = RunOnFullDisk(disk, 256 * 1024, [&] {
    Put(disk / "page.emf", "old");
    AtomicFile file;  // as metafiles are written: not flushed, still whole or not at all
    if (!file.Open(disk / "page.emf", 0644, AtomicFile::Permissions::kMasked,
                   AtomicFile::Durability::kProcessCrash)) {
      return 10;
    }
    file.Write(Span(big));
    if (file.Commit() || file.error() != ENOSPC) return 11;
    if (Slurp(disk / "page.emf") != "old" || !TemporariesIn(disk).empty()) return 12;
    // Small enough to fit: written in full.
    return AtomicFile::WriteWhole(disk / "page.emf", 0644, std::array{Span(big).first(1000)}) &&
                   Slurp(disk / "page.emf").size() == 1000
               ? 0
               : 13;
  });
  if (full == kChildSkipped) GTEST_SKIP() << "no tmpfs here (needs root): full disk not tried";
  EXPECT_EQ(full, 0);
}

TEST_F(SafeFileTest, ModesAreExplicitWhateverTheUmask) {
  const mode_t previous = umask(0);
  const Span text(reinterpret_cast<const uint8_t *>("x"), 1);
  EXPECT_TRUE(AtomicFile::WriteWhole(folder_ / "masked", 0644, std::array{text}));
  EXPECT_TRUE(AtomicFile::WriteWhole(folder_ / "exact", 0600, std::array{text},
                                     AtomicFile::Permissions::kExact));
  EXPECT_EQ(ModeOf(folder_ / "masked"), 0644u);
  EXPECT_EQ(ModeOf(folder_ / "exact"), 0600u);
  umask(0277);
  EXPECT_TRUE(AtomicFile::WriteWhole(folder_ / "exact", 0600, std::array{text},
                                     AtomicFile::Permissions::kExact));
  EXPECT_TRUE(AtomicFile::WriteWhole(folder_ / "masked", 0666, std::array{text}));
  umask(previous);
  EXPECT_EQ(ModeOf(folder_ / "exact"), 0600u);
  EXPECT_EQ(ModeOf(folder_ / "masked"), 0400u);
}

// A link planted at the name is replaced, not followed; a FIFO, a device node or a folder at
// the name is never replaced.
TEST_F(SafeFileTest, CommitReplacesLinksButNeverSpecialFiles) {
  const auto victim = folder_ / "victim";
  Put(victim, "precious");
  std::filesystem::create_symlink(victim, folder_ / "link");
  const Span text(reinterpret_cast<const uint8_t *>("new"), 3);
  ASSERT_TRUE(AtomicFile::WriteWhole(folder_ / "link", 0644, std::array{text}));
  EXPECT_EQ(Slurp(victim), "precious");
  EXPECT_FALSE(std::filesystem::is_symlink(folder_ / "link"));
  EXPECT_EQ(Slurp(folder_ / "link"), "new");

  ASSERT_EQ(mkfifo((folder_ / "fifo").c_str(), 0644), 0);
  std::filesystem::create_directory(folder_ / "folder");
  AtomicFile file;
  for (const char *name : {"fifo", "folder"}) {
    ASSERT_TRUE(file.Open(folder_ / name, 0644));
    file.Write(text);
    EXPECT_FALSE(file.Commit()) << name;
  }
  EXPECT_TRUE(std::filesystem::is_fifo(folder_ / "fifo"));
  EXPECT_TRUE(std::filesystem::is_directory(folder_ / "folder"));
  if (mknod((folder_ / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
    ASSERT_TRUE(file.Open(folder_ / "null", 0644));
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(file.error(), EEXIST);
    EXPECT_TRUE(std::filesystem::is_character_file(folder_ / "null"));
  }
  EXPECT_TRUE(TemporariesIn(folder_).empty());
}

// Only regular files are read, and reading a FIFO that nobody writes does not block.
TEST_F(SafeFileTest, ReaderRefusesAnythingButRegularFilesWithoutBlocking) {
  ASSERT_EQ(mkfifo((folder_ / "fifo").c_str(), 0644), 0);
  std::filesystem::create_directory(folder_ / "folder");
  Put(folder_ / "file", "content");
  std::filesystem::create_symlink(folder_ / "file", folder_ / "link");
  using Status = CheckedReader::Status;
  const int child = RunInChild(
      [&] {
        CheckedReader reader;
        return reader.Open((folder_ / "fifo").c_str()) == Status::kNotRegular ? 0 : 1;
      },
      5);
  EXPECT_EQ(child, 0) << "a FIFO without a writer must be refused at once";

  CheckedReader reader;
  EXPECT_EQ(reader.Open((folder_ / "folder").c_str()), Status::kNotRegular);
  EXPECT_EQ(reader.Open("/dev/null"), Status::kNotRegular);
  EXPECT_EQ(reader.Open((folder_ / "missing").c_str()), Status::kMissing);
  EXPECT_EQ(reader.Open((folder_ / "file" / "below").c_str()), Status::kMissing);
  EXPECT_EQ(reader.Open(nullptr), Status::kFailed);
  EXPECT_EQ(reader.Open((folder_ / "link").c_str(), CheckedReader::Links::kRefuse),
            Status::kNotRegular);
  EXPECT_FALSE(reader.is_open());
  Bytes bytes;
  EXPECT_EQ(CheckedReader::ReadFile((folder_ / "link").c_str(), 100, bytes), Status::kOk);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "content");
}

// Reads stop at the size the file had when opened and at the caller's limit.
TEST_F(SafeFileTest, ReadsAreBoundedByTheLimitAndTheSizeAtOpening) {
  const auto path = folder_ / "growing";
  Put(path, "0123456789");
  CheckedReader reader;
  ASSERT_EQ(reader.Open(path.c_str()), CheckedReader::Status::kOk);
  std::ofstream(path, std::ios::binary | std::ios::app) << "more bytes appended later";
  EXPECT_EQ(reader.size(), 10u);
  std::string text;
  EXPECT_EQ(reader.ReadRest(0, 9, text), CheckedReader::Status::kTooLarge);
  EXPECT_EQ(reader.ReadRest(4, 6, text), CheckedReader::Status::kOk);
  EXPECT_EQ(text, "456789");
  uint8_t buffer[16];
  EXPECT_EQ(reader.ReadAt(8, buffer), 2);
  EXPECT_EQ(reader.ReadAt(20, buffer), 0);
  EXPECT_FALSE(reader.ReadExactly(0, buffer));
  EXPECT_TRUE(reader.ReadExactly(0, std::span(buffer, 10)));

  // A file cut short after opening is a failure, not a short result.
  std::filesystem::resize_file(path, 5);
  EXPECT_EQ(reader.ReadRest(0, 100, text), CheckedReader::Status::kFailed);
  EXPECT_TRUE(text.empty());
}

}  // namespace
}  // namespace tamvel::test
