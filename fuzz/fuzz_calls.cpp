// libFuzzer target: the bytes are a sequence of calls of the public headers, so that states
// only a sequence reaches (pages closed, reopened, edited, played, handles deleted under the
// library) are explored. Each input starts from a freshly attached library.
//
// Each call is a two-byte opcode that picks it from the calls of the headers (tests/contract:
// the table tools/gen-contract-calls.py writes), then one byte per argument that picks its
// value from the hostile values of the argument's kind; before a number argument the byte 0xff
// takes the next four bytes as its raw value instead. The calls sit on a ring of the 65536
// opcodes, each at the hash of its name, and own the opcodes from the place before theirs up
// to their own: a call added to the headers takes over only opcodes next to its place, so the
// kept inputs (fuzz/regressions, fuzz/corpus) keep their meaning.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <string>

#include "src/pages/page_table.h"
#include "tests/contract/contract.h"

namespace {

using tamvel::contract::Arguments;
using tamvel::contract::Call;
using tamvel::contract::Kind;
using tamvel::contract::Value;

constexpr int kMostCalls = 48;  // per input, so that one input stays quick
constexpr uint8_t kRawValue = 0xff;

class Input {
 public:
  Input(const uint8_t *data, size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  uint32_t Word() {
    uint32_t word = 0;
    for (int i = 0; i < 4; ++i) word |= static_cast<uint32_t>(Byte()) << (8 * i);
    return word;
  }

 private:
  const uint8_t *data_;
  size_t size_;
  size_t at_ = 0;
};

// The ring: place -> call.
std::map<uint16_t, const Call *> MakeRing() {
  std::map<uint16_t, const Call *> ring;
  for (const Call &call : tamvel::contract::Calls()) {
    uint32_t hash = 2166136261u;  // FNV-1a
    for (const char *c = call.name; *c != '\0'; ++c) {
      hash = (hash ^ static_cast<uint8_t>(*c)) * 16777619u;
    }
    auto place = static_cast<uint16_t>(hash ^ (hash >> 16));
    while (ring.count(place) != 0) ++place;  // taken: the next free place
    ring[place] = &call;
  }
  return ring;
}

const Call &CallAt(uint16_t opcode) {
  static const std::map<uint16_t, const Call *> ring = MakeRing();
  const auto owner = ring.lower_bound(opcode);
  return *(owner != ring.end() ? owner->second : ring.begin()->second);
}

bool IsNumber(Kind kind) {
  return kind == Kind::kFloat || kind == Kind::kDouble || kind == Kind::kInt;
}

// One argument's value: from its kind's table, or raw bits kept in `raw`.
const Value *NextValue(Kind kind, Input &input, std::deque<Value> &raw) {
  const uint8_t pick = input.Byte();
  if (pick == kRawValue && IsNumber(kind)) {
    const uint32_t bits = input.Word();
    Value &value = raw.emplace_back();
    float number = 0.0f;
    std::memcpy(&number, &bits, sizeof number);
    value.number = number;
    value.integer = static_cast<int32_t>(bits);
    return &value;
  }
  const std::vector<Value> &values = tamvel::contract::ValuesOf(kind);
  return &values[pick % values.size()];
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  static const std::filesystem::path folder = tamvel::contract::NewScratchFolder("fuzz-calls");
  tamvel::contract::IsolateIn(folder);
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  tamvel::DetachLibrary();
  if (!tamvel::AttachLibrary()) return 0;
  tamvel::contract::BuildValues();
  tamvel::contract::ResetScratchFiles();
  Input input(data, size);
  for (int i = 0; i < kMostCalls && !input.Empty(); ++i) {
    const uint8_t low = input.Byte();
    const Call &call = CallAt(static_cast<uint16_t>(low | input.Byte() << 8));
    std::deque<Value> raw;
    Arguments arguments;
    for (Kind kind : call.kinds) arguments.values.push_back(NextValue(kind, input, raw));
    call.invoke(arguments);
  }
  return 0;
}
