// CheckedReader (safe_file.h): regular files only, bounded reads, never a blocking open.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <utility>

#include "platform/posix/safe_file.h"

namespace tamvel::posix {
namespace {

CheckedReader::Status StatusOfOpenError(int error) {
  if (error == ENOENT || error == ENOTDIR) return CheckedReader::Status::kMissing;
  if (error == ELOOP) return CheckedReader::Status::kNotRegular;  // a refused link
  return CheckedReader::Status::kFailed;
}

}  // namespace

CheckedReader::~CheckedReader() {
  if (fd_ >= 0) close(fd_);
}

CheckedReader::CheckedReader(CheckedReader &&other) noexcept { *this = std::move(other); }

CheckedReader &CheckedReader::operator=(CheckedReader &&other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    error_ = std::exchange(other.error_, 0);
    status_ = other.status_;
  }
  return *this;
}

CheckedReader::Status CheckedReader::Open(const char *path, Links links) {
  if (fd_ >= 0) close(std::exchange(fd_, -1));
  status_ = {};
  error_ = 0;
  if (path == nullptr) {
    error_ = EINVAL;
    return Status::kFailed;
  }
  // The name first: a FIFO, a device or a socket is refused before anything opens it (an
  // open can block, or rewind a tape, or take a terminal).
  struct stat named;
  if ((links == Links::kFollow ? stat(path, &named) : lstat(path, &named)) != 0) {
    error_ = errno;
    return StatusOfOpenError(error_);
  }
  if (!S_ISREG(named.st_mode)) return Status::kNotRegular;
  const int flags =
      O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (links == Links::kRefuse ? O_NOFOLLOW : 0);
  int fd;
  while ((fd = open(path, flags)) < 0 && errno == EINTR) {
  }
  if (fd < 0) {
    error_ = errno;
    return StatusOfOpenError(error_);
  }
  // The same regular file as examined, not something swapped in meanwhile.
  struct stat opened;
  if (fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_dev != named.st_dev ||
      opened.st_ino != named.st_ino || opened.st_size < 0) {
    close(fd);
    return Status::kNotRegular;
  }
  fd_ = fd;
  status_ = opened;
  return Status::kOk;
}

int64_t CheckedReader::ReadAt(uint64_t offset, std::span<uint8_t> out) {
  if (fd_ < 0) {
    error_ = EBADF;
    return -1;
  }
  if (offset >= size()) return 0;
  const size_t wanted = static_cast<size_t>(std::min<uint64_t>(out.size(), size() - offset));
  size_t done = 0;
  while (done < wanted) {
    const ssize_t n =
        pread(fd_, out.data() + done, wanted - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error_ = errno;
      return -1;
    }
    if (n == 0) break;  // the file shrank
    done += static_cast<size_t>(n);
  }
  return static_cast<int64_t>(done);
}

bool CheckedReader::ReadExactly(uint64_t offset, std::span<uint8_t> out) {
  return ReadAt(offset, out) == static_cast<int64_t>(out.size());
}

template <typename Bytes>
CheckedReader::Status CheckedReader::ReadRestInto(uint64_t offset, size_t limit, Bytes &bytes) {
  if (fd_ < 0) return Status::kFailed;
  const uint64_t rest = offset < size() ? size() - offset : 0;
  if (rest > limit) return Status::kTooLarge;
  try {
    bytes.resize(static_cast<size_t>(rest));
  } catch (const std::bad_alloc &) {
    error_ = ENOMEM;
    return Status::kFailed;
  }
  const std::span<uint8_t> out(reinterpret_cast<uint8_t *>(bytes.data()), bytes.size());
  if (ReadExactly(offset, out)) return Status::kOk;
  if (error_ == 0) error_ = EIO;  // fewer bytes than fstat promised: the file changed
  bytes.clear();
  return Status::kFailed;
}

CheckedReader::Status CheckedReader::ReadRest(uint64_t offset, size_t limit,
                                              std::vector<uint8_t> &bytes) {
  return ReadRestInto(offset, limit, bytes);
}

CheckedReader::Status CheckedReader::ReadRest(uint64_t offset, size_t limit, std::string &text) {
  return ReadRestInto(offset, limit, text);
}

CheckedReader::Status CheckedReader::ReadFile(const char *path, size_t limit,
                                              std::vector<uint8_t> &bytes, Links links) {
  CheckedReader reader;
  const Status status = reader.Open(path, links);
  return status == Status::kOk ? reader.ReadRest(0, limit, bytes) : status;
}

}  // namespace tamvel::posix
