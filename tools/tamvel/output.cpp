#include "tools/tamvel/output.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "platform/posix/safe_file.h"
#include "tools/tamvel/subcommand.h"

namespace tamvel::tool {
namespace {

constexpr size_t kCopyChunk = size_t{1} << 20;

bool Fail(std::string &error, int number) {
  error = std::strerror(number);
  return false;
}

bool WriteAll(int fd, const uint8_t *bytes, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    bytes += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Streams the file in chunks to `sink(bytes, size)`, which returns false to stop.
template <typename Sink>
bool CopyOut(const std::string &from, Sink sink, std::string &error) {
  posix::CheckedReader in;
  if (in.Open(from.c_str()) != posix::CheckedReader::Status::kOk) {
    return Fail(error, in.error() != 0 ? in.error() : EIO);
  }
  std::vector<uint8_t> chunk(kCopyChunk);
  for (uint64_t offset = 0; offset < in.size();) {
    const int64_t n = in.ReadAt(offset, chunk);
    if (n <= 0) return Fail(error, in.error() != 0 ? in.error() : EIO);
    if (!sink(chunk.data(), static_cast<size_t>(n))) return false;
    offset += static_cast<uint64_t>(n);
  }
  return true;
}

}  // namespace

bool MakeFolders(const std::string &path, std::string &error) {
  for (size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
    const std::string folder = path.substr(0, end);
    if (!folder.empty() && mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
      return Fail(error, errno);
    }
    if (end == std::string::npos) break;
  }
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return Fail(error, errno);
  return S_ISDIR(info.st_mode) || Fail(error, ENOTDIR);
}

ScratchFolder::~ScratchFolder() {
  if (path_.empty()) return;
  if (DIR *folder = opendir(path_.c_str())) {
    while (const dirent *entry = readdir(folder)) {
      if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
        unlink(File(entry->d_name).c_str());
      }
    }
    closedir(folder);
  }
  rmdir(path_.c_str());
}

std::string ScratchFolder::Base() {
  const char *base = std::getenv("TMPDIR");
  return base != nullptr && *base != '\0' ? base : "/tmp";
}

bool ScratchFolder::Create(std::string &error) {
  std::string pattern = Base() + "/tamvel-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) return Fail(error, errno);
  path_ = pattern;
  return true;
}

bool Publish(const std::string &scratch_file, const std::string &destination, std::string &error) {
  bool done;
  if (destination == "-") {
    done = CopyOut(
        scratch_file,
        [&](const uint8_t *bytes, size_t size) {
          return WriteAll(STDOUT_FILENO, bytes, size) || Fail(error, errno);
        },
        error);
  } else {
    posix::AtomicFile out;
    done = (out.Open(destination, 0666) || Fail(error, out.error())) &&
           CopyOut(
               scratch_file,
               [&](const uint8_t *bytes, size_t size) {
                 return out.Write(std::span(bytes, size)) || Fail(error, out.error());
               },
               error) &&
           (out.Commit() || Fail(error, out.error()));
  }
  unlink(scratch_file.c_str());
  return done;
}

int FinishOutput(const char *command, int status) {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
  std::fprintf(stderr, "tamvel %s: standard output: %s\n", command, std::strerror(errno));
  return kExitFailed;
}

}  // namespace tamvel::tool
