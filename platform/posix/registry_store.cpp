// The registry store: text files under a lock, replaced whole by rename so that a reader or a
// crash never sees half a file, and re-read under the lock before every change so that two
// programs writing at once lose nothing.
#include "platform/posix/registry_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/posix/file_types_mirror.h"

namespace tamvel::posix::registry {
namespace {

constexpr const char *kMagic = "tamvel-registry";
constexpr int kFormatVersion = 1;

bool IsShiftJisLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// ------------------------------------------------------------------- escaping ----
// Quoted fields keep printable ASCII as it is and write every other byte, the quote and the
// percent sign as %XX, so that a store file is plain ASCII whatever the names hold.
void AppendQuoted(std::string &out, std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  out += '"';
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '%') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  out += '"';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A cursor over one line of the store file.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}

  bool Word(std::string_view &word) {
    SkipBlank();
    size_t start = pos_;
    while (pos_ < line_.size() && line_[pos_] != ' ') ++pos_;
    word = line_.substr(start, pos_ - start);
    return !word.empty();
  }

  bool Quoted(std::string &out) {
    SkipBlank();
    if (pos_ >= line_.size() || line_[pos_] != '"') return false;
    ++pos_;
    out.clear();
    while (pos_ < line_.size() && line_[pos_] != '"') {
      char c = line_[pos_++];
      if (c != '%') {
        out += c;
        continue;
      }
      if (pos_ + 2 > line_.size()) return false;
      int high = HexDigit(line_[pos_]), low = HexDigit(line_[pos_ + 1]);
      if (high < 0 || low < 0) return false;
      out += static_cast<char>(high * 16 + low);
      pos_ += 2;
    }
    if (pos_ >= line_.size()) return false;
    ++pos_;
    return true;
  }

  bool AtEnd() {
    SkipBlank();
    return pos_ == line_.size();
  }

 private:
  void SkipBlank() {
    while (pos_ < line_.size() && line_[pos_] == ' ') ++pos_;
  }
  std::string_view line_;
  size_t pos_ = 0;
};

bool ParseHex(std::string_view digits, std::string &out) {
  if (digits.empty() || digits[0] != 'x' || digits.size() % 2 != 1) return false;
  out.clear();
  for (size_t i = 1; i < digits.size(); i += 2) {
    int high = HexDigit(digits[i]), low = HexDigit(digits[i + 1]);
    if (high < 0 || low < 0) return false;
    out += static_cast<char>(high * 16 + low);
  }
  return true;
}

bool IsStringType(DWORD type) { return type == REG_SZ || type == 2 /* REG_EXPAND_SZ */; }

void SerializeKey(const Key &key, const std::string &path, std::string &out) {
  out += "key ";
  AppendQuoted(out, path);
  out += '\n';
  for (const auto &[folded, value] : key.values) {
    out += "value ";
    AppendQuoted(out, value.name);
    if (value.type == REG_SZ) {
      out += " sz ";
    } else if (value.type == REG_BINARY) {
      out += " binary ";
    } else {
      out += ' ' + std::to_string(value.type) + ' ';
    }
    if (IsStringType(value.type)) {
      AppendQuoted(out, value.data);
    } else {
      static const char kHex[] = "0123456789abcdef";
      out += 'x';
      for (unsigned char c : value.data) {
        out += kHex[c >> 4];
        out += kHex[c & 15];
      }
    }
    out += '\n';
  }
  for (const auto &[folded, child] : key.children) {
    SerializeKey(child, path.empty() ? child.name : path + '\\' + child.name, out);
  }
}

Key &CreatePath(Key &root, const std::vector<std::string> &components) {
  Key *key = &root;
  for (const std::string &name : components) {
    Key &child = key->children[FoldName(name)];
    if (child.name.empty()) child.name = name;
    key = &child;
  }
  return *key;
}

bool ParseValueLine(LineReader &reader, Key &key) {
  Value value;
  std::string_view type;
  if (!reader.Quoted(value.name) || !reader.Word(type)) return false;
  if (type == "sz") {
    value.type = REG_SZ;
  } else if (type == "binary") {
    value.type = REG_BINARY;
  } else {
    char *end = nullptr;
    std::string digits(type);
    unsigned long number = std::strtoul(digits.c_str(), &end, 10);
    if (*end != '\0' || number > 0xFFFFFFFFul) return false;
    value.type = static_cast<DWORD>(number);
  }
  if (IsStringType(value.type)) {
    if (!reader.Quoted(value.data)) return false;
  } else {
    std::string_view hex;
    if (!reader.Word(hex) || !ParseHex(hex, value.data)) return false;
  }
  if (!reader.AtEnd() || value.name.size() > kMaxValueNameBytes) return false;
  key.values[FoldName(value.name)] = std::move(value);
  return true;
}

// --------------------------------------------------------------- files, lock ----
std::string HomeDirectory() {
  if (const char *home = std::getenv("HOME"); home && *home) return home;
  if (const passwd *entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return "/tmp";
}

const char *HiveFileName(Hive hive) {
  return hive == Hive::kCurrentUser ? "current-user.reg" : "classes-root.reg";
}

bool MakeDirectories(const std::string &path) {
  struct stat info;
  if (stat(path.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeDirectories(path.substr(0, slash))) {
    return false;
  }
  return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

enum class ReadResult { kOk, kMissing, kFailed };

ReadResult ReadWholeFile(const std::string &path, std::string &text) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return errno == ENOENT || errno == ENOTDIR ? ReadResult::kMissing : ReadResult::kFailed;
  text.clear();
  char chunk[65536];
  for (;;) {
    ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      close(fd);
      return ReadResult::kFailed;
    }
    if (n == 0) break;
    text.append(chunk, static_cast<size_t>(n));
  }
  close(fd);
  return ReadResult::kOk;
}

bool WriteWholeFile(const std::string &path, const std::string &text) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  bool ok = done == text.size() && fsync(fd) == 0;
  return close(fd) == 0 && ok;
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

// The lock of the store; released when it goes out of scope.
class StoreLock {
 public:
  explicit StoreLock(const std::string &directory, bool write) {
    std::string path = directory + "/lock";
    fd_ = open(path.c_str(), (write ? O_RDWR | O_CREAT : O_RDONLY) | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    while (flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~StoreLock() {
    if (fd_ >= 0) close(fd_);
  }
  StoreLock(const StoreLock &) = delete;
  StoreLock &operator=(const StoreLock &) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Reads the hive into `root` (empty when there is no file yet). A damaged file is reported
// and, when the store may be written, set aside; a file of a later format is left alone
// and the call fails rather than let an older program overwrite it.
LSTATUS LoadHive(const std::string &path, bool may_set_aside, Key &root) {
  std::string text;
  switch (ReadWholeFile(path, text)) {
    case ReadResult::kMissing:
      return ERROR_SUCCESS;
    case ReadResult::kFailed:
      std::fprintf(stderr, "tamvel: cannot read registry store %s: %s\n", path.c_str(),
                   std::strerror(errno));
      return kErrorRegistryIoFailed;
    case ReadResult::kOk:
      break;
  }
  bool newer_version = false;
  if (Parse(text, root, newer_version)) return ERROR_SUCCESS;
  root = Key{};
  if (newer_version) {
    std::fprintf(stderr,
                 "tamvel: registry store %s was written by a later version; left as it is\n",
                 path.c_str());
    return ERROR_BADDB;
  }
  if (may_set_aside) {
    SetAside(path);
  } else {
    std::fprintf(stderr, "tamvel: registry store %s is damaged; read as empty\n", path.c_str());
  }
  return ERROR_SUCCESS;
}

LSTATUS Transaction(Hive hive, bool write, const WriteBody &body) {
  std::string directory = StoreDirectory();
  if (write && (!MakeDirectories(directory) || access(directory.c_str(), W_OK | X_OK) != 0)) {
    return ERROR_ACCESS_DENIED;
  }
  StoreLock lock(directory, write);
  if (write && !lock.Held()) return ERROR_ACCESS_DENIED;
  std::string path = directory + "/" + HiveFileName(hive);
  Key root;
  if (LSTATUS status = LoadHive(path, lock.Held(), root); status != ERROR_SUCCESS) return status;
  bool changed = false;
  LSTATUS status = body(root, changed);
  if (!write || !changed || status != ERROR_SUCCESS) return status;
  std::string next = path + ".new";
  if (!WriteWholeFile(next, Serialize(root)) || rename(next.c_str(), path.c_str()) != 0) {
    unlink(next.c_str());
    return kErrorRegistryIoFailed;
  }
  if (hive == Hive::kClassesRoot) MirrorFileTypes(root);
  return ERROR_SUCCESS;
}

}  // namespace

// ----------------------------------------------------------------- the model ----
std::string FoldName(std::string_view name) {
  std::string folded(name);
  for (size_t i = 0; i < folded.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(folded[i]);
    if (IsShiftJisLeadByte(c)) {
      ++i;  // the trail byte may look like a letter
    } else if (c >= 'A' && c <= 'Z') {
      folded[i] = static_cast<char>(c - 'A' + 'a');
    }
  }
  return folded;
}

bool SplitKeyPath(std::string_view path, std::vector<std::string> &components) {
  components.clear();
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) {
      if (end - start > kMaxKeyNameBytes || components.size() >= kMaxKeyDepth) return false;
      components.emplace_back(path.substr(start, end - start));
    }
    start = end + 1;
  }
  return true;
}

const Key *Key::Find(const std::vector<std::string> &path) const {
  const Key *key = this;
  for (const std::string &name : path) {
    auto it = key->children.find(FoldName(name));
    if (it == key->children.end()) return nullptr;
    key = &it->second;
  }
  return key;
}

Key *Key::Find(const std::vector<std::string> &path) {
  return const_cast<Key *>(static_cast<const Key *>(this)->Find(path));
}

const Value *Key::FindValue(std::string_view name) const {
  auto it = values.find(FoldName(name));
  return it == values.end() ? nullptr : &it->second;
}

std::string Serialize(const Key &root) {
  std::string out = std::string(kMagic) + " " + std::to_string(kFormatVersion) + "\n";
  out += "# Written by tamvel; see docs/registry.md. Edit only while no program uses it.\n";
  SerializeKey(root, "", out);
  out += "end\n";
  return out;
}

bool Parse(std::string_view text, Key &root, bool &newer_version) {
  newer_version = false;
  root = Key{};
  Key *current = nullptr;
  bool header = false, ended = false;
  std::vector<std::string> components;
  while (!text.empty()) {
    size_t newline = text.find('\n');
    if (newline == std::string_view::npos) return false;  // cut off in the middle of a line
    std::string_view line = text.substr(0, newline);
    text.remove_prefix(newline + 1);
    if (ended) return false;  // nothing may follow the end line
    if (!header) {
      LineReader reader(line);
      std::string_view magic, version;
      if (!reader.Word(magic) || magic != kMagic || !reader.Word(version)) return false;
      std::string digits(version);
      char *end = nullptr;
      long number = std::strtol(digits.c_str(), &end, 10);
      if (*end != '\0' || number < 1) return false;
      if (number > kFormatVersion) {
        newer_version = true;
        return false;
      }
      header = true;
      continue;
    }
    if (line.empty() || line[0] == '#') continue;
    LineReader reader(line);
    std::string_view word;
    reader.Word(word);
    if (word == "end") {
      if (!reader.AtEnd()) return false;
      ended = true;
    } else if (word == "key") {
      std::string path;
      if (!reader.Quoted(path) || !reader.AtEnd() || !SplitKeyPath(path, components)) return false;
      current = &CreatePath(root, components);
    } else if (word == "value") {
      if (current == nullptr || !ParseValueLine(reader, *current)) return false;
    } else {
      return false;
    }
  }
  return ended;
}

std::string StoreDirectory() {
  if (const char *dir = std::getenv("TAMVEL_REGISTRY_DIR"); dir && *dir) return dir;
  const char *config = std::getenv("XDG_CONFIG_HOME");
  std::string base = (config && *config == '/') ? config : HomeDirectory() + "/.config";
  return base + "/tamvel/registry";
}

LSTATUS ReadHive(Hive hive, const ReadBody &body) {
  return Transaction(hive, false, [&body](Key &root, bool &) { return body(root); });
}

LSTATUS WriteHive(Hive hive, const WriteBody &body) { return Transaction(hive, true, body); }

}  // namespace tamvel::posix::registry
