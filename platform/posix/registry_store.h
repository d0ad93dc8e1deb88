// The durable store behind the stand-in's registry calls: one text file per hive in the
// user's configuration directory, changed under a lock by appending a block per call and
// rewritten whole now and then; each program keeps the hive in memory while the file is
// unchanged. The format and the guarantees are described in docs/registry.md.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/win32_api.h"

namespace tamvel::posix::registry {

enum class Hive { kClassesRoot, kCurrentUser };

// Limits of the Windows registry that the store keeps as well.
constexpr size_t kMaxKeyNameBytes = 255;
constexpr size_t kMaxValueNameBytes = 16383;
constexpr size_t kMaxValueBytes = 1 << 20;
constexpr size_t kMaxKeyDepth = 512;

// Status codes of the registry that <win32_api.h> does not name.
constexpr LSTATUS kErrorKeyDeleted = 1018;
constexpr LSTATUS kErrorRegistryIoFailed = 1016;

struct Value {
  std::string name;  // as first written
  DWORD type = REG_NONE;
  std::string data;  // raw bytes
};

// A key with its values and sub-keys. Names compare without regard to case (ASCII letters
// outside double-byte characters), as on Windows, and keep the case they were created with.
struct Key {
  std::string name;
  std::map<std::string, Value> values;  // by folded name
  std::map<std::string, Key> children;  // by folded name

  const Key *Find(const std::vector<std::string> &path) const;
  Key *Find(const std::vector<std::string> &path);
  const Value *FindValue(std::string_view name) const;
};

// The case-folded form under which names are compared: ASCII A-Z become a-z, the second
// byte of a Shift-JIS double-byte character stays as it is.
std::string FoldName(std::string_view name);

// Splits a sub-key path at backslashes, skipping empty levels ("a\\b" is "a\b"). Returns
// false for a component longer than a key name may be or for too many levels.
bool SplitKeyPath(std::string_view path, std::vector<std::string> &components);

// The text form. A store file is the whole hive followed by any number of change blocks
// that later calls appended; every block ends with an "end" line. Version 1 files hold the
// hive only.
constexpr int kFormatVersion = 2;

// A whole store file for `root`.
std::string Serialize(const Key &root);
// One change block: the key and value lines of `changes` (keys named as stored), then "end".
std::string SerializeChanges(const Key &changes);
// Parses a whole store text: false for anything it cannot read whole; `newer_version` tells a
// file of a later format apart from a damaged one.
bool Parse(std::string_view text, Key &root, bool &newer_version);

// What ParseStore read of a store text.
struct StoreText {
  size_t hive_bytes = 0;   // the header and the hive; 0: not a store (damaged, or newer)
  size_t whole_bytes = 0;  // and the whole change blocks after it; the rest was cut off
  int version = 0;
  bool newer_version = false;
};
// Reads the hive and every whole change block after it into `root`. A last block cut off by a
// crash (it has no end line) is left out; a damaged hive, or a damaged block followed by
// others, makes the whole text unreadable (hive_bytes 0, `root` empty).
StoreText ParseStore(std::string_view text, Key &root);
// Applies the whole change blocks at the start of `text` to `root`; returns their length, or
// std::string_view::npos when a damaged block is followed by others (`root` is then partly
// changed and to be dropped).
size_t ApplyChangeBlocks(std::string_view text, Key &root);

// The directory holding the store: $TAMVEL_REGISTRY_DIR, else $XDG_CONFIG_HOME/tamvel/registry,
// else ~/.config/tamvel/registry. Looked up on every call.
std::string StoreDirectory();

// The changes one call makes to a hive: applied to the hive at once, and kept as the change
// block that the store appends to its file.
class HiveChanges {
 public:
  explicit HiveChanges(Key &root) : root_(root) {}
  const Key &root() const { return root_; }
  // Creates the levels of `path` that are missing, named as given; true when any was new.
  bool CreateKey(const std::vector<std::string> &path);
  // Sets the value `name` of the key at `path`; a value keeps the name it was first written
  // with. False when there is no such key.
  bool SetValue(const std::vector<std::string> &path, std::string_view name, DWORD type,
                std::string data);
  bool empty() const { return empty_; }
  // The change block of everything changed so far.
  std::string Block() const { return SerializeChanges(changes_); }

 private:
  // The key of `path` in changes_, named as stored in the hive (the path must exist there).
  Key &Recorded(const std::vector<std::string> &path);

  Key &root_;
  Key changes_;
  bool empty_ = true;
};

// Runs `body` on the current content of `hive` under the store's lock. With `write`, the
// store must be writable (ERROR_ACCESS_DENIED otherwise) and, when `body` succeeds with
// changes, they are in the file when WriteHive returns (kErrorRegistryIoFailed when they could
// not be written: the file stays as it was). Without `write` a missing store reads as empty.
// A damaged file is reported on standard error and set aside; a file that is not a regular
// file (a planted link, a FIFO) is refused with kErrorRegistryIoFailed.
using ReadBody = std::function<LSTATUS(const Key &root)>;
using WriteBody = std::function<LSTATUS(HiveChanges &changes)>;
LSTATUS ReadHive(Hive hive, const ReadBody &body);
LSTATUS WriteHive(Hive hive, const WriteBody &body);

}  // namespace tamvel::posix::registry
