#include "tools/tamvel/input.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/emf/emf_records.h"
#include "platform/posix/safe_file.h"
#include "tools/tamvel/subcommand.h"

namespace tamvel::tool {
namespace {

constexpr size_t kMaxInputBytes = size_t{1} << 30;
constexpr const char *kTooLarge = "larger than 1 GiB";
// Offsets of ENHMETAHEADER fields that a readable image corrects.
constexpr size_t kHeaderSignature = 40;
constexpr size_t kHeaderBytes = 48;
constexpr size_t kHeaderRecords = 52;
constexpr size_t kHeaderPaletteEntries = 68;

// Standard input to its end: a pipe, a terminal or a redirected file alike.
bool ReadStandardInput(std::vector<uint8_t> &data, std::string &error) {
  uint8_t chunk[65536];
  for (;;) {
    const ssize_t n = read(STDIN_FILENO, chunk, sizeof chunk);
    if (n == 0) return true;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = std::strerror(errno);
      return false;
    }
    if (data.size() + static_cast<size_t>(n) > kMaxInputBytes) {
      error = kTooLarge;
      return false;
    }
    data.insert(data.end(), chunk, chunk + n);
  }
}

// A named file: regular files only (a FIFO or a device is refused, never waited on).
bool ReadNamedFile(const std::string &path, std::vector<uint8_t> &data, std::string &error) {
  using posix::CheckedReader;
  CheckedReader file;
  CheckedReader::Status status = file.Open(path.c_str());
  if (status == CheckedReader::Status::kOk) status = file.ReadRest(0, kMaxInputBytes, data);
  switch (status) {
    case CheckedReader::Status::kOk:
      return true;
    case CheckedReader::Status::kNotRegular:
      error = "not a regular file";
      break;
    case CheckedReader::Status::kTooLarge:
      error = kTooLarge;
      break;
    default:
      error = std::strerror(file.error() != 0 ? file.error() : EIO);
  }
  return false;
}

void Append(std::vector<uint8_t> &image, const uint8_t *bytes, size_t size) {
  image.insert(image.end(), bytes, bytes + size);
}

void Store32(std::vector<uint8_t> &image, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) image[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

std::string DisplayName(const std::string &path) { return path == "-" ? "(standard input)" : path; }

bool InputFile::complete() const {
  const emf::Header *header = decoded.header();
  if (header == nullptr) return false;
  const emf::Record &last = decoded.records.back();
  const size_t size = decoded.bytes.size();
  return last.type == emf::kEof && last.offset + last.size == size && header->bytes == size;
}

int LoadInput(const char *command, const std::string &path, InputFile &file) {
  file.path = path;
  std::vector<uint8_t> data;
  std::string error;
  if (!(path == "-" ? ReadStandardInput(data, error) : ReadNamedFile(path, data, error))) {
    std::fprintf(stderr, "tamvel %s: %s: %s\n", command, DisplayName(path).c_str(), error.c_str());
    return kExitFailed;
  }
  file.decoded = emf::DecodeEmf(data.data(), data.size());
  if (file.decoded.header() == nullptr) {
    // Nothing to show: the first problem says why the header is unusable.
    const std::string reason = file.decoded.problems.empty()
                                   ? "not an enhanced metafile"
                                   : file.decoded.problems.front().message;
    std::fprintf(stderr, "tamvel %s: %s: %s\n", command, DisplayName(path).c_str(), reason.c_str());
    return kExitFailed;
  }
  return file.damaged() ? kExitDamaged : kExitOk;
}

void ReportProblems(const char *command, const InputFile &file, size_t limit) {
  const std::string name = DisplayName(file.path);
  const std::vector<emf::Problem> &problems = file.decoded.problems;
  for (size_t i = 0; i < problems.size() && i < limit; ++i) {
    std::fprintf(stderr, "tamvel %s: %s: %s\n", command, name.c_str(),
                 problems[i].ToString().c_str());
  }
  if (problems.size() > limit) {
    std::fprintf(stderr, "tamvel %s: %s: %zu more problems (tamvel dump lists them all)\n", command,
                 name.c_str(), problems.size() - limit);
  }
}

std::vector<uint8_t> ReadableImage(const InputFile &file) {
  const emf::DecodeResult &decoded = file.decoded;
  if (!file.damaged()) return decoded.bytes;
  std::vector<uint8_t> image;
  uint32_t records = 0;
  bool ended = false;
  for (const emf::Record &record : decoded.records) {
    Append(image, decoded.RecordBytes(record), record.size);
    ++records;
    if (record.type == emf::kEof) {
      ended = true;
      break;
    }
  }
  if (!ended) {
    // No palette: nPalEntries 0, offPalEntries just past the fields, nSizeLast the size.
    const uint32_t eof[] = {emf::kEof, 20, 0, 16, 20};
    for (uint32_t field : eof) {
      image.resize(image.size() + 4);
      Store32(image, image.size() - 4, field);
    }
    Store32(image, kHeaderPaletteEntries, 0);
    ++records;
  }
  Store32(image, kHeaderSignature, emf::kSignature);
  Store32(image, kHeaderBytes, static_cast<uint32_t>(image.size()));
  Store32(image, kHeaderRecords, records);
  return image;
}

}  // namespace tamvel::tool
