// The durable store behind the stand-in's registry calls: one text file per hive in the
// user's configuration directory, read and rewritten as a whole under a lock. The format and
// the guarantees are described in docs/registry.md.
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

// The text form of a hive and back. Parse returns false for anything it cannot read whole;
// `newer_version` tells a file of a later format apart from a damaged one.
std::string Serialize(const Key &root);
bool Parse(std::string_view text, Key &root, bool &newer_version);

// The directory holding the store: $TAMVEL_REGISTRY_DIR, else $XDG_CONFIG_HOME/tamvel/registry,
// else ~/.config/tamvel/registry. Looked up on every call.
std::string StoreDirectory();

// Runs `body` on the current content of `hive` under the store's lock. With `write`, the
// store must be writable (ERROR_ACCESS_DENIED otherwise) and, when `body` succeeds and sets
// `changed`, the new content replaces the file in one rename. Without `write` a missing
// store reads as empty. A damaged file is reported on standard error and set aside.
using ReadBody = std::function<LSTATUS(const Key &root)>;
using WriteBody = std::function<LSTATUS(Key &root, bool &changed)>;
LSTATUS ReadHive(Hive hive, const ReadBody &body);
LSTATUS WriteHive(Hive hive, const WriteBody &body);

}  // namespace tamvel::posix::registry
