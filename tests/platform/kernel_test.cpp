// Process heap and temporary files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
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
  EXPECT_EQ(HeapAlloc(nullptr, 0, 16), nullptr);
  EXPECT_TRUE(HeapFree(heap, 0, nullptr));
}

TEST(TempFiles, UniqueEmptyFilesWithShortPrefix) {
  char folder[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, folder);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(folder[length - 1], '/');
  EXPECT_GT(GetTempPathA(1, folder), 1u);  // too small: the size needed

  GetTempPathA(MAX_PATH, folder);
  char first[MAX_PATH], second[MAX_PATH];
  ASSERT_NE(GetTempFileNameA(folder, "emfxyz", 0, first), 0u);
  ASSERT_NE(GetTempFileNameA(folder, "emfxyz", 0, second), 0u);
  EXPECT_STRNE(first, second);
  const std::string name = std::string(first).substr(std::strlen(folder));
  EXPECT_EQ(name.substr(0, 3), "emf");
  EXPECT_EQ(name.substr(name.size() - 4), ".tmp");
  struct stat info;
  ASSERT_EQ(stat(first, &info), 0);
  EXPECT_EQ(info.st_size, 0);
  EXPECT_TRUE(DeleteFileA(first));
  EXPECT_TRUE(DeleteFileA(second));
  EXPECT_FALSE(DeleteFileA(first));
  EXPECT_FALSE(DeleteFileA(nullptr));

  char named[MAX_PATH];
  EXPECT_EQ(GetTempFileNameA(folder, "ab", 0x2A, named), 0x2Au);
  EXPECT_NE(std::strstr(named, "ab2A.tmp"), nullptr);
  EXPECT_NE(stat(named, &info), 0);  // a given number only builds the name
  EXPECT_EQ(GetTempFileNameA(nullptr, "x", 0, named), 0u);
}

}  // namespace
