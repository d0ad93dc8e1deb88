// HiveFile (registry_file.h): a call that changes something appends one change block with a
// single write, so a reader sees the block whole or not at all and a crash can only cut off
// the last one (left out when read, cut away by the next writer); when the blocks outweigh the
// hive, the hive is rewritten whole through an AtomicFile.
#include "platform/posix/registry_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tamvel::posix::registry {
namespace {

using Links = CheckedReader::Links;

constexpr size_t kMaxStoreBytes = size_t{1} << 30;
// Change blocks are appended until they outweigh the hive (and this much): then the hive is
// rewritten, so that the file stays within about twice what it holds.
constexpr uint64_t kMinAppendedBytes = 64 * 1024;

bool SameFile(const struct stat &a, const struct stat &b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

const char *Reason(CheckedReader::Status status, const CheckedReader &file) {
  if (status == CheckedReader::Status::kNotRegular) return "not a regular file";
  if (status == CheckedReader::Status::kTooLarge) return "larger than 1 GiB";
  return std::strerror(file.error() != 0 ? file.error() : EIO);
}

// Renames a damaged store file out of the way under a free name ending in ".damaged".
void SetAside(const std::string &path) {
  std::string target = path + ".damaged";
  for (int n = 2; access(target.c_str(), F_OK) == 0 && n < 1000; ++n) {
    target = path + "." + std::to_string(n) + ".damaged";
  }
  if (rename(path.c_str(), target.c_str()) == 0) {
    std::fprintf(stderr, "tamvel: registry store %s is damaged; set aside as %s\n", path.c_str(),
                 target.c_str());
  } else {
    std::fprintf(stderr, "tamvel: registry store %s is damaged and could not be set aside: %s\n",
                 path.c_str(), std::strerror(errno));
  }
}

bool WriteAll(int fd, const std::string &bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

void HiveFile::Reset(const std::string &path) {
  *this = HiveFile{};
  path_ = path;
}

void HiveFile::Remember(CheckedReader file, uint64_t whole) {
  size_ = file.size();
  mtime_ = file.status().st_mtim;
  whole_ = whole;
  file_ = std::move(file);
  valid_ = true;
}

LSTATUS HiveFile::Refresh(const std::string &path, bool may_set_aside) {
  struct stat now;
  if (lstat(path.c_str(), &now) != 0) {
    const int error = errno;
    Reset(path);
    if (error != ENOENT && error != ENOTDIR) return Load(may_set_aside);
    valid_ = true;
    return ERROR_SUCCESS;
  }
  if (valid_ && path_ == path && file_.is_open() && SameFile(now, file_.status())) {
    const uint64_t size = static_cast<uint64_t>(now.st_size);
    if (size == size_ && whole_ == size_ && now.st_mtim.tv_sec == mtime_.tv_sec &&
        now.st_mtim.tv_nsec == mtime_.tv_nsec) {
      return ERROR_SUCCESS;
    }
    if (size >= whole_ && ReadAppended()) return ERROR_SUCCESS;
  }
  Reset(path);
  return Load(may_set_aside);
}

LSTATUS HiveFile::Load(bool may_set_aside) {
  CheckedReader file;
  std::string text;
  CheckedReader::Status status = file.Open(path_.c_str(), Links::kRefuse);
  if (status == CheckedReader::Status::kMissing) {
    valid_ = true;
    return ERROR_SUCCESS;
  }
  if (status == CheckedReader::Status::kOk) status = file.ReadRest(0, kMaxStoreBytes, text);
  if (status != CheckedReader::Status::kOk) {
    std::fprintf(stderr, "tamvel: cannot read registry store %s: %s\n", path_.c_str(),
                 Reason(status, file));
    return kErrorRegistryIoFailed;
  }
  const StoreText found = ParseStore(text, root_);
  if (found.newer_version) {
    std::fprintf(stderr,
                 "tamvel: registry store %s was written by a later version; left as it is\n",
                 path_.c_str());
    return ERROR_BADDB;
  }
  if (found.hive_bytes == 0) {
    if (may_set_aside) {
      SetAside(path_);
    } else {
      std::fprintf(stderr, "tamvel: registry store %s is damaged; read as empty\n", path_.c_str());
    }
    return ERROR_SUCCESS;  // not valid: the next call looks again
  }
  hive_ = found.hive_bytes;
  version_ = found.version;
  Remember(std::move(file), found.whole_bytes);
  return ERROR_SUCCESS;
}

// Reads the change blocks appended since the hive was read; false when the file is not the
// one read or does not continue it.
bool HiveFile::ReadAppended() {
  CheckedReader file;
  std::string text;
  if (file.Open(path_.c_str(), Links::kRefuse) != CheckedReader::Status::kOk ||
      !SameFile(file.status(), file_.status()) ||
      file.ReadRest(whole_ - 4, kMaxStoreBytes, text) != CheckedReader::Status::kOk ||
      text.compare(0, 4, "end\n") != 0) {
    return false;
  }
  const size_t applied = ApplyChangeBlocks(std::string_view(text).substr(4), root_);
  if (applied == std::string_view::npos) return false;  // damaged: read again, and set aside
  Remember(std::move(file), whole_ + applied);
  return true;
}

bool HiveFile::Persist(const std::string &block) {
  const bool append = valid_ && file_.is_open() && version_ == kFormatVersion &&
                      size_ - hive_ + block.size() <= std::max<uint64_t>(kMinAppendedBytes, hive_);
  return append ? Append(block) : Rewrite();
}

// Appends one change block; on failure the file is as it was.
bool HiveFile::Append(const std::string &block) {
  const int fd =
      open(path_.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat status;
  bool ok = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && SameFile(status, file_.status());
  if (ok) {
    if (whole_ < size_) {
      std::fprintf(stderr,
                   "tamvel: registry store %s: an unfinished change left by a crash "
                   "(%llu bytes) was dropped\n",
                   path_.c_str(), static_cast<unsigned long long>(size_ - whole_));
      ok = ftruncate(fd, static_cast<off_t>(whole_)) == 0;
    }
    ok = ok && WriteAll(fd, block) && fstat(fd, &status) == 0;
    if (!ok && ftruncate(fd, static_cast<off_t>(whole_)) != 0) {
      valid_ = false;  // a part of the block may stay: it is left out when read
    }
  }
  if (ok) {
    // The block is in the file for every program now; this starts its way to the disk
    // without waiting for it.
    sync_file_range(fd, static_cast<off_t>(whole_), static_cast<off_t>(block.size()),
                    SYNC_FILE_RANGE_WRITE);
    whole_ += block.size();
    size_ = static_cast<uint64_t>(status.st_size);
    mtime_ = status.st_mtim;
  }
  close(fd);
  return ok;
}

// Writes the hive as a new file in the current format (0600 whatever the umask).
bool HiveFile::Rewrite() {
  const std::string text = Serialize(root_);
  AtomicFile out;
  if (!out.Open(path_, 0600, AtomicFile::Permissions::kExact) || !out.Write(text) ||
      !out.Commit()) {
    return false;
  }
  CheckedReader written;
  if (written.Open(path_.c_str(), Links::kRefuse) != CheckedReader::Status::kOk ||
      written.size() != text.size()) {
    valid_ = false;  // written, but not to be trusted as read
    return true;
  }
  hive_ = text.size();
  version_ = kFormatVersion;
  Remember(std::move(written), text.size());
  return true;
}

}  // namespace tamvel::posix::registry
