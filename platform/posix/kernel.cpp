// The KERNEL calls the library uses for memory, temporary files and the files it writes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <string>

#include "platform/posix/host_handles.h"
#include "platform/posix/safe_file.h"
#include "platform/posix/win32_api.h"

namespace {

// One process heap; its handle is a fixed non-null value.
HANDLE const kProcessHeap = HandleFromValue<HANDLE>(0x00010000u);
// The most one HeapAlloc hands out: a larger request fails as an exhausted heap does.
constexpr SIZE_T kMaxAllocation = SIZE_T{1} << 30;

constexpr int kTempFileTries = 256;

// Creates `path` if it does not exist yet (never through a planted link). errno tells why not.
bool CreateNewFile(const std::string &path) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

// "<folder>/<up to 3 prefix characters><hex number>.tmp"; a '/' of the prefix becomes '_', so
// the name stays inside the folder whatever the prefix holds.
std::string TempFileName(const std::string &folder, LPCSTR prefix, UINT number) {
  char name[32];
  std::snprintf(name, sizeof name, "%.3s%X.tmp", prefix ? prefix : "", number & 0xFFFF);
  for (char *c = name; *c; ++c) {
    if (*c == '/') *c = '_';
  }
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  return path + name;
}

// A file its owner may not write stands for a file with the read-only attribute, which
// Windows neither deletes nor overwrites (the permission bits alone would let root through).
bool ReadOnlyFile(const struct stat &status) {
  return S_ISREG(status.st_mode) && (status.st_mode & S_IWUSR) == 0;
}

// A file CreateFileA opened: its bytes gather in an AtomicFile that CloseHandle commits.
class WrittenFile : public tamvel::posix::HostObject {
 public:
  static constexpr tamvel::posix::ObjectKind kKind = tamvel::posix::ObjectKind::kFile;
  tamvel::posix::ObjectKind Kind() const override { return kKind; }
  tamvel::posix::AtomicFile file;
};

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

// Only regular files and symbolic links (the link itself) are deleted: a device node, FIFO
// or socket is refused, as deleting a device fails on Windows; so is a read-only file.
BOOL DeleteFileA(LPCSTR path) {
  struct stat status;
  if (path == nullptr || ::lstat(path, &status) != 0) return FALSE;
  if (!S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode)) return FALSE;
  if (ReadOnlyFile(status)) return FALSE;
  return ::unlink(path) == 0 ? TRUE : FALSE;
}

// The new file is rw-r--r-- less the umask. A device node, FIFO or folder at the name is never
// opened (the commit refuses to replace it), so nothing here blocks.
HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition,
                   DWORD, HANDLE) {
  if (path == nullptr || access != GENERIC_WRITE || disposition != CREATE_ALWAYS) {
    return INVALID_HANDLE_VALUE;
  }
  struct stat status;
  if (::lstat(path, &status) == 0 && ReadOnlyFile(status)) return INVALID_HANDLE_VALUE;
  auto written = std::make_shared<WrittenFile>();
  if (!written->file.Open(path, 0644)) return INVALID_HANDLE_VALUE;
  const uint32_t handle = tamvel::posix::AddHostObject(written);
  return handle != 0 ? HandleFromValue<HANDLE>(handle) : INVALID_HANDLE_VALUE;
}

BOOL WriteFile(HANDLE file, LPCVOID data, DWORD count, DWORD *written, LPOVERLAPPED) {
  if (written != nullptr) *written = 0;
  std::shared_ptr<WrittenFile> target = tamvel::posix::LookupHost<WrittenFile>(file);
  if (!target || (data == nullptr && count != 0)) return FALSE;
  if (!target->file.Write(std::span(static_cast<const uint8_t *>(data), count))) return FALSE;
  if (written != nullptr) *written = count;
  return TRUE;
}

// Puts the file in place; FALSE when it could not be (the name keeps what it had).
BOOL CloseHandle(HANDLE object) {
  std::shared_ptr<WrittenFile> target = tamvel::posix::LookupHost<WrittenFile>(object);
  if (!target) return FALSE;
  const bool committed = target->file.Commit();
  tamvel::posix::RemoveHostObject(tamvel::posix::ValueOf(object));
  return committed ? TRUE : FALSE;
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
    // Random numbers, so that a crowded folder costs a few tries, not a walk through all
    // 65,535; any failure but an existing name (no such folder, no permission) ends it.
    for (int i = 0; i < kTempFileTries && number == 0; ++i) {
      const UINT candidate = static_cast<UINT>(tamvel::posix::RandomNameBits() % 0xFFFF) + 1;
      path = TempFileName(folder, prefix, candidate);
      if (CreateNewFile(path)) {
        number = candidate;
      } else if (errno != EEXIST) {
        break;
      }
    }
    if (number == 0) return 0;
  } else {
    path = TempFileName(folder, prefix, number);
  }
  std::memcpy(name, path.c_str(), path.size() + 1);
  return number;
}
