// One hive file of the registry store as this program knows it: the parsed hive and the file
// it came from, held open so that the file's inode number cannot pass to another file while
// the hive is trusted. Used by registry_store.cpp, always under the store's lock.
#pragma once

#include <ctime>
#include <string>

#include "platform/posix/registry_store.h"
#include "platform/posix/safe_file.h"

namespace tamvel::posix::registry {

class HiveFile {
 public:
  // Brings root() up to date with the file at `path`: nothing is read while the file is
  // unchanged (the same file, size and modification time), only the blocks appended since
  // when it grew, all of it otherwise; a missing file is an empty hive. A damaged file is
  // reported on standard error and, with `may_set_aside`, renamed out of the way (the hive
  // then reads as empty); a file of a later format is left alone (ERROR_BADDB); one that is
  // not a regular file or cannot be read fails (kErrorRegistryIoFailed).
  LSTATUS Refresh(const std::string &path, bool may_set_aside);
  // The hive as last refreshed, with whatever the caller changed since.
  Key &root() { return root_; }
  // Puts a change block, already applied to root(), into the file: appended, or the whole
  // hive rewritten when the blocks would outweigh it. False when it could not be written (the
  // file is as it was).
  bool Persist(const std::string &block);
  // Forgets the hive (it holds changes that the file does not): the next Refresh reads the
  // file again.
  void Forget() { valid_ = false; }

 private:
  void Reset(const std::string &path);
  LSTATUS Load(bool may_set_aside);
  bool ReadAppended();
  bool Append(const std::string &block);
  bool Rewrite();
  // Takes `file` (open, read up to `whole`) as what the hive now reflects.
  void Remember(CheckedReader file, uint64_t whole);

  std::string path_;
  bool valid_ = false;  // root_ is the file's content (an empty root: no file)
  Key root_;
  CheckedReader file_;  // not open: there is no file
  uint64_t size_ = 0;   // the file's size and modification time when last seen
  timespec mtime_{};
  uint64_t whole_ = 0;  // the bytes that parsed as whole blocks (fewer than size_ after a crash)
  uint64_t hive_ = 0;   // the header and the hive, without the change blocks
  int version_ = 0;
};

}  // namespace tamvel::posix::registry
