// AtomicFile (safe_file.h): a temporary file beside the name, checked (and synced) and renamed
// into place.
#include <fcntl.h>
#include <sys/random.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#include "platform/posix/safe_file.h"

namespace tamvel::posix {
namespace {

constexpr size_t kBufferSize = 64 * 1024;
constexpr int kNameTries = 16;
constexpr size_t kMaxBaseInTemporary = 200;  // keeps ".<base>.<16 hex>.tmp" under NAME_MAX
constexpr int kMaxIovecs = 64;

// The temporary file's name for `path`: hidden, in the same folder, with 64 random bits.
std::string TemporaryName(const std::string &path) {
  const size_t slash = path.find_last_of('/');
  const size_t base_at = slash == std::string::npos ? 0 : slash + 1;
  char random[24];
  std::snprintf(random, sizeof random, ".%016llx.tmp",
                static_cast<unsigned long long>(RandomNameBits()));
  return path.substr(0, base_at) + "." +
         path.substr(base_at, std::min(path.size() - base_at, kMaxBaseInTemporary)) + random;
}

}  // namespace

uint64_t RandomNameBits() {
  uint64_t bits = 0;
  if (getrandom(&bits, sizeof bits, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof bits)) {
    return bits;
  }
  // splitmix64 over the time, the process and a counter: distinct enough for names.
  static std::atomic<uint64_t> counter{0};
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  uint64_t z = static_cast<uint64_t>(now.tv_nsec) ^ (static_cast<uint64_t>(now.tv_sec) << 30) ^
               (static_cast<uint64_t>(getpid()) << 48) ^ (counter++ * 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

AtomicFile::~AtomicFile() { Abandon(); }

AtomicFile::AtomicFile(AtomicFile &&other) noexcept { *this = std::move(other); }

AtomicFile &AtomicFile::operator=(AtomicFile &&other) noexcept {
  if (this != &other) {
    Abandon();
    fd_ = std::exchange(other.fd_, -1);
    error_ = std::exchange(other.error_, 0);
    size_ = std::exchange(other.size_, 0);
    durability_ = other.durability_;
    path_ = std::move(other.path_);
    temporary_ = std::move(other.temporary_);
    buffer_ = std::move(other.buffer_);
    buffered_ = std::exchange(other.buffered_, 0);
    other.path_.clear();
    other.temporary_.clear();
  }
  return *this;
}

bool AtomicFile::Open(const std::string &path, mode_t mode, Permissions permissions,
                      Durability durability) {
  Abandon();
  error_ = 0;
  size_ = 0;
  durability_ = durability;
  if (path.empty() || path.back() == '/') return Fail(EISDIR);
  try {
    path_ = path;
    for (int attempt = 0; attempt < kNameTries && fd_ < 0; ++attempt) {
      temporary_ = TemporaryName(path);
      fd_ = open(temporary_.c_str(),
                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, mode & 07777);
      if (fd_ < 0 && errno != EEXIST) break;
    }
  } catch (const std::bad_alloc &) {
    errno = ENOMEM;
  }
  if (fd_ < 0) {
    const int error = errno;
    temporary_.clear();
    path_.clear();
    return Fail(error);
  }
  if (permissions == Permissions::kExact && fchmod(fd_, mode & 07777) != 0) {
    const int error = errno;
    Abandon();
    return Fail(error);
  }
  if (!buffer_) buffer_.reset(new (std::nothrow) uint8_t[kBufferSize]);
  return true;
}

bool AtomicFile::Fail(int error) {
  if (error_ == 0) error_ = error != 0 ? error : EIO;
  return false;
}

bool AtomicFile::Write(std::span<const uint8_t> bytes) {
  return WriteGather(std::span<const std::span<const uint8_t>>(&bytes, 1));
}

bool AtomicFile::Write(std::string_view text) {
  return Write(
      std::span<const uint8_t>(reinterpret_cast<const uint8_t *>(text.data()), text.size()));
}

bool AtomicFile::WriteGather(std::span<const std::span<const uint8_t>> pieces) {
  if (fd_ < 0) return Fail(EBADF);
  for (std::span<const uint8_t> piece : pieces) {
    if (error_ != 0) return false;
    if (piece.empty()) continue;
    if (buffer_ && piece.size() < kBufferSize) {
      if (piece.size() > kBufferSize - buffered_ && !Flush()) return false;
      std::memcpy(buffer_.get() + buffered_, piece.data(), piece.size());
      buffered_ += piece.size();
    } else {
      // A large piece goes out with whatever is buffered, in one call.
      const std::span<const uint8_t> both[2] = {{buffer_.get(), buffered_}, piece};
      if (!WriteVectored(both)) return false;
      buffered_ = 0;
    }
    size_ += piece.size();
  }
  return error_ == 0;
}

bool AtomicFile::Flush() {
  if (error_ != 0 || buffered_ == 0) return error_ == 0;
  const std::span<const uint8_t> pending{buffer_.get(), buffered_};
  if (!WriteVectored(std::span<const std::span<const uint8_t>>(&pending, 1))) return false;
  buffered_ = 0;
  return true;
}

// Writes every byte of `pieces`, resuming after short writes and interruptions.
bool AtomicFile::WriteVectored(std::span<const std::span<const uint8_t>> pieces) {
  size_t index = 0, offset = 0;  // the first byte not yet written
  while (index < pieces.size()) {
    iovec vectors[kMaxIovecs];
    int count = 0;
    for (size_t i = index; i < pieces.size() && count < kMaxIovecs; ++i) {
      const size_t skip = i == index ? offset : 0;
      if (pieces[i].size() == skip) continue;
      vectors[count++] = {const_cast<uint8_t *>(pieces[i].data() + skip), pieces[i].size() - skip};
    }
    if (count == 0) break;
    const ssize_t written = writev(fd_, vectors, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return Fail(written < 0 ? errno : ENOSPC);
    size_t left = static_cast<size_t>(written);
    while (index < pieces.size() && left >= pieces[index].size() - offset) {
      left -= pieces[index].size() - offset;
      ++index;
      offset = 0;
    }
    offset += left;
  }
  return true;
}

bool AtomicFile::Commit() {
  if (fd_ < 0) return Fail(EBADF);
  bool ok = Flush();
  while (ok && durability_ == Durability::kSystemCrash && fsync(fd_) != 0) {
    if (errno != EINTR) ok = Fail(errno);
  }
  struct stat existing;
  if (ok && lstat(path_.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode) &&
      !S_ISLNK(existing.st_mode)) {
    ok = Fail(S_ISDIR(existing.st_mode) ? EISDIR : EEXIST);
  }
  // close() reports delayed write errors on some file systems; a failed close is a failure.
  if (close(std::exchange(fd_, -1)) != 0 && ok) ok = Fail(errno);
  if (ok && rename(temporary_.c_str(), path_.c_str()) != 0) ok = Fail(errno);
  if (!ok) {
    Abandon();
    return false;
  }
  temporary_.clear();
  path_.clear();
  return true;
}

void AtomicFile::Abandon() {
  if (fd_ >= 0) close(std::exchange(fd_, -1));
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
  path_.clear();
  buffered_ = 0;
}

bool AtomicFile::WriteWhole(const std::string &path, mode_t mode,
                            std::span<const std::span<const uint8_t>> pieces,
                            Permissions permissions, Durability durability) {
  AtomicFile file;
  return file.Open(path, mode, permissions, durability) && file.WriteGather(pieces) &&
         file.Commit();
}

}  // namespace tamvel::posix
