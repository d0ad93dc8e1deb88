// The KERNEL calls the library uses for memory and temporary files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/posix/win32_api.h"

namespace {

// One process heap; its handle is a fixed non-null value.
HANDLE const kProcessHeap = HandleFromValue<HANDLE>(0x00010000u);
constexpr SIZE_T kMaxAllocation = SIZE_T{1} << 40;

// Creates `path` if it does not exist yet; false when it exists or cannot be created.
bool CreateNewFile(const std::string &path) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

std::string TempFileName(const std::string &folder, LPCSTR prefix, UINT number) {
  char name[32];
  std::snprintf(name, sizeof name, "%.3s%X.tmp", prefix ? prefix : "", number & 0xFFFF);
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  return path + name;
}

}  // namespace

HANDLE GetProcessHeap() { return kProcessHeap; }

LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (heap != kProcessHeap || bytes > kMaxAllocation) return nullptr;
  const SIZE_T size = bytes ? bytes : 1;
  return (flags & HEAP_ZERO_MEMORY) ? std::calloc(1, size) : std::malloc(size);
}

BOOL HeapFree(HANDLE heap, DWORD, LPVOID memory) {
  if (heap != kProcessHeap) return FALSE;
  std::free(memory);
  return TRUE;
}

// A file its owner may not write stands for a file with the read-only attribute, which
// Windows refuses to delete (unlink() alone would let root through).
BOOL DeleteFileA(LPCSTR path) {
  struct stat status;
  if (path == nullptr || ::lstat(path, &status) != 0) return FALSE;
  if (S_ISREG(status.st_mode) && (status.st_mode & S_IWUSR) == 0) return FALSE;
  return ::unlink(path) == 0 ? TRUE : FALSE;
}

// The folder for temporary files with a trailing slash: $TMPDIR, else /tmp. Returns the
// length written, or the size needed (with the NUL) when the buffer is too small.
DWORD GetTempPathA(DWORD size, LPSTR buffer) {
  const char *env = std::getenv("TMPDIR");
  std::string folder = env && *env ? env : "/tmp";
  if (folder.back() != '/') folder += '/';
  if (!buffer || size <= folder.size()) return static_cast<DWORD>(folder.size() + 1);
  std::memcpy(buffer, folder.c_str(), folder.size() + 1);
  return static_cast<DWORD>(folder.size());
}

// "<folder>/<up to 3 prefix chars><hex number>.tmp". With unique = 0 the number is chosen
// and the empty file created; otherwise the name is only built. Returns the number used.
UINT GetTempFileNameA(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR name) {
  if (!folder || !name) return 0;
  if (TempFileName(folder, prefix, 0xFFFF).size() >= MAX_PATH) return 0;
  std::string path;
  UINT number = unique & 0xFFFF;
  if (number == 0) {
    const UINT start = static_cast<UINT>(::getpid() ^ std::rand()) & 0xFFFF;
    for (UINT i = 0; i < 0x10000 && number == 0; ++i) {
      const UINT candidate = ((start + i) & 0xFFFF) ? (start + i) & 0xFFFF : 1;
      path = TempFileName(folder, prefix, candidate);
      if (CreateNewFile(path)) number = candidate;
    }
    if (number == 0) return 0;
  } else {
    path = TempFileName(folder, prefix, number);
  }
  std::memcpy(name, path.c_str(), path.size() + 1);
  return number;
}
