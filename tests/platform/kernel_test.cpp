// Process heap, temporary files and files written through a handle.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/win32.h"

namespace {

TEST(Heap, ZeroedAndFailingCleanly) {
  HANDLE heap = GetProcessHeap();
  ASSERT_NE(heap, nullptr);
  auto *p = static_cast<unsigned char *>(HeapAlloc(heap, HEAP_ZERO_MEMORY, 64));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(p[i], 0);
  EXPECT_TRUE(HeapFree(heap, 0, p));
  EXPECT_EQ(HeapAlloc(heap, 0, ~SIZE_T{0}), nullptr);
  EXPECT_EQ(HeapAlloc(heap, 0, (SIZE_T{1} << 30) + 1), nullptr);  // beyond 1 GB at once
  EXPECT_EQ(HeapAlloc(nullptr, 0, 16), nullptr);
  EXPECT_TRUE(HeapFree(heap, 0, nullptr));
}

// Uniqueness and emptiness are covered by the library's temporary-file call.
TEST(TempFiles, ShortPrefixGivenNumbersAndBadArguments) {
  char folder[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, folder);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(folder[length - 1], '/');
  char small[1];
  EXPECT_EQ(GetTempPathA(1, small), length + 1);  // too small: the size needed

  char name[MAX_PATH];
  ASSERT_NE(GetTempFileNameA(folder, "emfxyz", 0, name), 0u);
  const std::string file = std::string(name).substr(length);
  EXPECT_EQ(file.substr(0, 3), "emf");
  EXPECT_EQ(file.substr(file.size() - 4), ".tmp");
  EXPECT_TRUE(DeleteFileA(name));
  EXPECT_FALSE(DeleteFileA(name));
  EXPECT_FALSE(DeleteFileA(nullptr));
  EXPECT_EQ(GetTempFileNameA(folder, "ab", 0x2A, name), 0x2Au);
  EXPECT_NE(std::strstr(name, "ab2A.tmp"), nullptr);
  struct stat info;
  EXPECT_NE(stat(name, &info), 0);  // a given number only builds the name
  EXPECT_EQ(GetTempFileNameA(nullptr, "x", 0, name), 0u);
}

// The name gets the whole file when the handle closes, and only then; a read-only file (no
// write permission for its owner) is not overwritten, whoever runs the test.
TEST(WrittenFiles, AppearWholeOnCloseAndOnlyThroughTheirOwnHandle) {
  char folder[MAX_PATH];
  ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0u);
  char name[MAX_PATH];
  ASSERT_NE(GetTempFileNameA(folder, "wf", 0, name), 0u);
  const auto contents = [&] {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 7;
  EXPECT_TRUE(WriteFile(file, "ab", 2, &written, nullptr));
  EXPECT_EQ(written, 2u);
  EXPECT_TRUE(WriteFile(file, nullptr, 0, nullptr, nullptr));
  EXPECT_FALSE(WriteFile(file, nullptr, 1, &written, nullptr));
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(contents(), "");  // not yet under the name
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_EQ(contents(), "ab");
  EXPECT_FALSE(WriteFile(file, "c", 1, &written, nullptr));  // stale
  EXPECT_FALSE(CloseHandle(file));
  EXPECT_FALSE(CloseHandle(GetProcessHeap()));
  EXPECT_FALSE(CloseHandle(nullptr));

  // Only new files for writing; nothing else is opened.
  EXPECT_EQ(CreateFileA(name, GENERIC_WRITE, 0, nullptr, 3, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(CreateFileA(name, 0x80000000u, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(CreateFileA(nullptr, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
            INVALID_HANDLE_VALUE);
  std::filesystem::permissions(name, std::filesystem::perms::owner_read);
  EXPECT_EQ(CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(contents(), "ab");
  std::filesystem::remove(name);
}

}  // namespace
