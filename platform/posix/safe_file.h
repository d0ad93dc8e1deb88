// Safe file I/O for the stand-in. Two halves:
//
// AtomicFile writes a file so that its name only ever holds a complete file: the bytes go to
// a temporary file in the same folder (created with O_CREAT | O_EXCL | O_NOFOLLOW under a
// fresh random name, with an explicit mode), every write and the close are checked, and only
// then is it renamed over the name. A failed write (full disk, file size limit, I/O error), a
// failed commit, an abandon or a destructor that runs first removes the temporary file and
// leaves whatever the name held before. A crash of the process leaves at worst a hidden
// temporary file (".<name>.<random>.tmp") beside the name, never a half-written file under
// it. By default the bytes are also flushed to the disk (fsync) before the rename, so that a
// crash of the whole system keeps the old file or the new one; Durability::kProcessCrash
// leaves the flush to the kernel (the rename then waits for nothing: a system crash right
// after it may leave the name short of its bytes).
//
//   AtomicFile out;
//   if (!out.Open(path, 0666)) return false;           // folder missing, not writable, ...
//   out.Write(header);                                 // streamed: buffered, 64 KiB at a time
//   out.WriteGather(chunks);                           // many spans, few system calls
//   return out.Commit();                               // false: nothing changed under the name
//
// CheckedReader reads a file only when it is a regular file: the name is examined first
// (stat), so a FIFO, a device node, a socket or a directory is refused without ever being
// opened; the file is then opened with O_NONBLOCK | O_NOCTTY (and O_NOFOLLOW on request) and
// checked again on the open descriptor, so a name swapped in between is refused as well. Reads
// are bounded by the caller's limit and by the size the file had when opened: a file that
// grows while it is read never makes a read longer, and nothing here blocks on a pipe.
//
//   CheckedReader in;
//   if (in.Open(path) != CheckedReader::Status::kOk) return false;
//   uint8_t header[88];
//   if (!in.ReadExactly(0, header)) return false;      // fewer bytes in the file: false
//
// Neither class throws; every failure is a result, with the errno in error().
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tamvel::posix {

class AtomicFile {
 public:
  // How the mode given to Open applies: less the process's umask (as open() and fopen() do,
  // for documents the user asked for) or exactly (for files whose mode is a safety rule).
  enum class Permissions { kMasked, kExact };
  // What the committed file survives: a crash of the system (flushed before the rename, the
  // default) or of the process only (for big files that are written again at will).
  enum class Durability { kSystemCrash, kProcessCrash };

  AtomicFile() = default;
  ~AtomicFile();  // abandons a file that was not committed
  AtomicFile(AtomicFile &&other) noexcept;
  AtomicFile &operator=(AtomicFile &&other) noexcept;
  AtomicFile(const AtomicFile &) = delete;
  AtomicFile &operator=(const AtomicFile &) = delete;

  // Starts the file that Commit will put at `path`: creates the temporary file in the folder
  // of `path` (at most 16 random names are tried). The committed file has `mode` (with
  // kMasked less the umask). An open file is abandoned first. False, with error() set, when
  // no temporary file can be made: the folder is missing or not writable, the name is empty
  // or ends in '/', ...
  bool Open(const std::string &path, mode_t mode, Permissions permissions = Permissions::kMasked,
            Durability durability = Durability::kSystemCrash);

  // Between a successful Open and Commit or Abandon.
  bool is_open() const { return fd_ >= 0; }
  // Open and no write has failed so far.
  bool ok() const { return fd_ >= 0 && error_ == 0; }
  // The errno of the first failure (of Open, a write or Commit), 0 when there was none.
  int error() const { return error_; }
  // Bytes written so far (buffered ones included).
  uint64_t size() const { return size_; }
  // The temporary file's name while open (tests, messages).
  const std::string &temporary_path() const { return temporary_; }

  // Appends bytes. Small writes are gathered in a 64 KiB buffer; a span larger than the
  // buffer goes to the file with the buffered bytes in one writev. A failure sticks: every
  // later write and the commit fail, and the file can only be abandoned. False on failure
  // or when not open.
  bool Write(std::span<const uint8_t> bytes);
  bool Write(std::string_view text);
  // Appends the spans in order, as if each were written with Write, in as few system calls
  // as their sizes allow (for a recording kept as many chunks).
  bool WriteGather(std::span<const std::span<const uint8_t>> pieces);

  // Writes out the buffer, syncs the file to the disk (fsync; not for kProcessCrash), closes it
  // and renames it over the name. Refuses to replace anything but a regular file or a symbolic link
  // (the link itself is replaced, never followed): a device node, FIFO, socket or directory at the
  // name stays as it is (error() is EEXIST, or EISDIR for a directory). The new name reaches the
  // disk with the folder's next journal commit. True when the file is in place; on false the
  // temporary file is gone and the name holds what it held before. Not open: false.
  bool Commit();
  // Removes the temporary file; the name keeps what it had. Harmless when not open.
  void Abandon();

  // Open, WriteGather and Commit in one call: `pieces` become the whole file at `path`.
  static bool WriteWhole(const std::string &path, mode_t mode,
                         std::span<const std::span<const uint8_t>> pieces,
                         Permissions permissions = Permissions::kMasked,
                         Durability durability = Durability::kSystemCrash);

 private:
  bool Fail(int error);
  bool Flush();
  bool WriteVectored(std::span<const std::span<const uint8_t>> pieces);

  int fd_ = -1;
  int error_ = 0;
  uint64_t size_ = 0;
  Durability durability_ = Durability::kSystemCrash;
  std::string path_;
  std::string temporary_;
  std::unique_ptr<uint8_t[]> buffer_;  // null when it could not be had: writes go straight out
  size_t buffered_ = 0;
};

class CheckedReader {
 public:
  enum class Status {
    kOk,
    kMissing,     // no such file (or a folder on the way is missing)
    kNotRegular,  // a directory, FIFO, device node, socket, or a symbolic link when refused
    kTooLarge,    // ReadAll: the file holds more than the limit
    kFailed,      // permission, I/O error, or the file changed while it was read
  };
  // Whether a symbolic link at the name is followed (a document the user named) or refused
  // (files in a folder of our own, where a planted link must not redirect a read).
  enum class Links { kFollow, kRefuse };

  CheckedReader() = default;
  ~CheckedReader();
  CheckedReader(CheckedReader &&other) noexcept;
  CheckedReader &operator=(CheckedReader &&other) noexcept;
  CheckedReader(const CheckedReader &) = delete;
  CheckedReader &operator=(const CheckedReader &) = delete;

  // Opens `path` when it is a regular file (an open file is closed first). Never blocks.
  Status Open(const char *path, Links links = Links::kFollow);
  bool is_open() const { return fd_ >= 0; }
  // The file's status when it was opened (size, modification time, device and inode).
  const struct stat &status() const { return status_; }
  // The file's size when it was opened: the bound of every read.
  uint64_t size() const { return static_cast<uint64_t>(status_.st_size); }
  int error() const { return error_; }

  // Reads up to out.size() bytes at `offset`, stopping at size(); returns the count read
  // (short only at that end), or -1 on a read error or when not open.
  int64_t ReadAt(uint64_t offset, std::span<uint8_t> out);
  // Reads exactly out.size() bytes at `offset`; false when the file holds fewer.
  bool ReadExactly(uint64_t offset, std::span<uint8_t> out);
  // Reads bytes [offset, size()) when there are at most `limit` of them: kTooLarge when there
  // are more, kFailed when fewer could be read than fstat promised.
  Status ReadRest(uint64_t offset, size_t limit, std::vector<uint8_t> &bytes);
  Status ReadRest(uint64_t offset, size_t limit, std::string &text);

  // Open and read the whole file in one call.
  static Status ReadFile(const char *path, size_t limit, std::vector<uint8_t> &bytes,
                         Links links = Links::kFollow);

 private:
  template <typename Bytes>
  Status ReadRestInto(uint64_t offset, size_t limit, Bytes &bytes);

  int fd_ = -1;
  int error_ = 0;
  struct stat status_ {};
};

// 64 random bits for file names (the kernel's generator; a mix of time, process id and a
// counter where it is not available). Not for secrets.
uint64_t RandomNameBits();

}  // namespace tamvel::posix
