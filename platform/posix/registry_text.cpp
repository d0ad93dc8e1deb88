// The text form of the registry store (docs/registry.md): the whole hive, then the change
// blocks that later calls appended, every block ending with an "end" line.
#include <cstdlib>

#include "platform/posix/registry_store.h"

namespace tamvel::posix::registry {
namespace {

constexpr const char *kMagic = "tamvel-registry";

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

// The header line "tamvel-registry <version>"; returns its length with the newline, 0 when
// it is not one.
size_t ParseHeader(std::string_view text, int &version, bool &newer_version) {
  const size_t newline = text.find('\n');
  if (newline == std::string_view::npos) return 0;
  LineReader reader(text.substr(0, newline));
  std::string_view magic, word;
  if (!reader.Word(magic) || magic != kMagic || !reader.Word(word)) return 0;
  std::string digits(word);
  char *end = nullptr;
  const long number = std::strtol(digits.c_str(), &end, 10);
  if (*end != '\0' || number < 1) return 0;
  newer_version = number > kFormatVersion;
  version = static_cast<int>(number);
  return newer_version ? 0 : newline + 1;
}

// Reads the key and value lines of one block into `into`, up to and including its "end" line.
// Returns the block's length, 0 when it is damaged or has no end (cut off).
size_t ParseBlock(std::string_view text, Key &into) {
  Key *current = nullptr;
  std::vector<std::string> components;
  size_t position = 0;
  while (position < text.size()) {
    const size_t newline = text.find('\n', position);
    if (newline == std::string_view::npos) return 0;  // cut off in the middle of a line
    const std::string_view line = text.substr(position, newline - position);
    position = newline + 1;
    if (line.empty() || line[0] == '#') continue;
    LineReader reader(line);
    std::string_view word;
    reader.Word(word);
    if (word == "end") return reader.AtEnd() ? position : 0;
    if (word == "key") {
      std::string path;
      if (!reader.Quoted(path) || !reader.AtEnd() || !SplitKeyPath(path, components)) return 0;
      current = &CreatePath(into, components);
    } else if (word != "value" || current == nullptr || !ParseValueLine(reader, *current)) {
      return 0;
    }
  }
  return 0;
}

// Moves the keys and values of `from` into `into`: values replace those of the same name,
// keys keep the name they already had.
void MergeInto(Key &into, Key &from) {
  for (auto &[folded, value] : from.values) into.values[folded] = std::move(value);
  for (auto &[folded, child] : from.children) {
    auto [it, is_new] = into.children.try_emplace(folded);
    if (is_new) it->second.name = child.name;
    MergeInto(it->second, child);
  }
}

}  // namespace

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

std::string SerializeChanges(const Key &changes) {
  std::string out;
  SerializeKey(changes, "", out);
  out += "end\n";
  return out;
}

StoreText ParseStore(std::string_view text, Key &root) {
  StoreText found;
  root = Key{};
  const size_t header = ParseHeader(text, found.version, found.newer_version);
  const size_t hive = header > 0 ? ParseBlock(text.substr(header), root) : 0;
  const size_t blocks = hive > 0 ? ApplyChangeBlocks(text.substr(header + hive), root) : 0;
  if (hive == 0 || blocks == std::string_view::npos) {
    root = Key{};
    return StoreText{0, 0, found.version, found.newer_version};
  }
  found.hive_bytes = header + hive;
  found.whole_bytes = found.hive_bytes + blocks;
  return found;
}

size_t ApplyChangeBlocks(std::string_view text, Key &root) {
  size_t done = 0;
  while (done < text.size()) {
    Key block;  // whole blocks only: a damaged one changes nothing
    const size_t length = ParseBlock(text.substr(done), block);
    if (length == 0) break;
    MergeInto(root, block);
    done += length;
  }
  // A crash cuts off at most the last block, which then has no end line; a bad block followed
  // by more is damage.
  const std::string_view rest = text.substr(done);
  const bool damaged = rest.starts_with("end\n") || rest.find("\nend\n") != std::string_view::npos;
  return damaged ? std::string_view::npos : done;
}

bool Parse(std::string_view text, Key &root, bool &newer_version) {
  const StoreText found = ParseStore(text, root);
  newer_version = found.newer_version;
  return found.hive_bytes > 0 && found.whole_bytes == text.size();
}

}  // namespace tamvel::posix::registry
