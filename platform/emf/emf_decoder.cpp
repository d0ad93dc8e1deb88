#include "platform/emf/emf_decoder.h"

#include <cstring>
#include <memory>
#include <utility>

#include "platform/emf/number_text.h"
#include "platform/emf/record_reading.h"

namespace tamvel::emf {
namespace {

using reading::Fields;
using reading::RecordChecker;
using reading::Reporter;
using reading::TypeLabel;

constexpr uint32_t kHighestStockObject = 19;  // DC_PEN
constexpr uint32_t kDefaultPalette = 15;

bool IsStock(uint32_t handle) { return (handle & kStockObjectFlag) != 0; }

// Tracks the object table so that indices can be checked as records create, select and
// delete objects.
class ObjectTable {
 public:
  explicit ObjectTable(uint32_t handles) : used_(handles, 0) {}

  void Create(uint32_t index, Reporter& r) {
    if (!InTable(index, "creates", r)) return;
    if (used_[index]) r.Report("creates object " + Num(index) + " while that slot is still in use");
    used_[index] = 1;
  }
  void Use(uint32_t index, const char* verb, Reporter& r) {
    if (IsStock(index)) {
      uint32_t id = index & ~kStockObjectFlag;
      if (id > kHighestStockObject)
        r.Report(std::string(verb) + " unknown stock object " + Hex(index));
      return;
    }
    if (!InTable(index, verb, r)) return;
    if (!used_[index]) {
      r.Report(std::string(verb) + " object " + Num(index) + ", which does not exist");
    }
  }
  void Delete(uint32_t index, Reporter& r) {
    if (IsStock(index)) {
      r.Report("deletes stock object " + Hex(index));
      return;
    }
    Use(index, "deletes", r);
    if (index < used_.size()) used_[index] = 0;
  }

 private:
  bool InTable(uint32_t index, const char* verb, Reporter& r) {
    if (index == 0) {
      r.Report(std::string(verb) + " object 0, which is reserved");
      return false;
    }
    if (index >= used_.size()) {
      r.Report(std::string(verb) + " object " + Num(index) +
               " outside the object table (nHandles " + Num(used_.size()) + ")");
      return false;
    }
    return true;
  }

  std::vector<uint8_t> used_;
};

// Object-table bookkeeping for the records that create, select or delete objects; the
// other views leave the table alone.
class ObjectUse {
 public:
  ObjectUse(uint32_t type, ObjectTable& table, Reporter& r) : type_(type), table_(table), r_(r) {}
  void operator()(const Value& v) const {
    if (type_ == kSelectObject) table_.Use(v.value, "selects", r_);
    if (type_ == kDeleteObject) table_.Delete(v.value, r_);
    if (type_ != kSelectPalette) return;
    if (IsStock(v.value) && (v.value & ~kStockObjectFlag) != kDefaultPalette) {
      r_.Report("selects stock object " + Hex(v.value) + " as a palette");
    } else {
      table_.Use(v.value, "selects", r_);
    }
  }
  void operator()(const Pen& v) const { table_.Create(v.index, r_); }
  void operator()(const ExtPen& v) const { table_.Create(v.index, r_); }
  void operator()(const Brush& v) const { table_.Create(v.index, r_); }
  void operator()(const PatternBrush& v) const { table_.Create(v.index, r_); }
  void operator()(const Font& v) const { table_.Create(v.index, r_); }
  void operator()(const Palette& v) const { table_.Create(v.index, r_); }
  void operator()(const PaletteEntries& v) const { table_.Use(v.index, "changes", r_); }
  void operator()(const PaletteSize& v) const { table_.Use(v.index, "resizes", r_); }
  template <typename View>
  void operator()(const View&) const {}

 private:
  uint32_t type_;
  ObjectTable& table_;
  Reporter& r_;
};

// Where a walk over the records ended.
struct WalkEnd {
  size_t offset = 0;  // of the first byte not walked
  size_t count = 0;   // records decoded
  bool eof_seen = false;
};

// Decodes the records of `bytes` in order and hands each to `take` (false stops the walk);
// stops at a record whose size is unusable. The first record must be a header.
template <typename Take>
WalkEnd WalkRecords(const uint8_t* bytes, size_t size, Reporter& reporter, Take take) {
  WalkEnd end;
  std::unique_ptr<ObjectTable> objects;
  while (end.offset < size) {
    const size_t index = end.count;
    const size_t offset = end.offset;
    reporter.At(index, offset);
    size_t left = size - offset;
    if (left < 8) {
      reporter.Report("only " + Num(left) + " bytes are left, too few for a record");
      break;
    }
    Fields head(bytes + offset, 8);
    uint32_t type = head.U32(0);
    uint32_t record_size = head.U32(4);
    if (record_size < 8) {
      reporter.Report("size " + Num(record_size) + " is smaller than a record's 8-byte head");
      break;
    }
    if (record_size % 4 != 0) {
      reporter.Report("size " + Num(record_size) + " is not a multiple of 4");
      break;
    }
    if (record_size > left) {
      reporter.Report("size " + Num(record_size) + " runs past the end of the file");
      break;
    }
    if (end.eof_seen) reporter.Report(TypeLabel(type) + " follows EMR_EOF");
    if (index > 0 && type == kHeader) reporter.Report("a second EMR_HEADER");

    Fields fields(bytes + offset, record_size);
    RecordChecker check(type, fields, reporter);
    Record record{type, record_size, offset, reading::DecodeBody(type, fields, check)};
    if (index == 0) {
      const Header* header = record.As<Header>();
      objects = std::make_unique<ObjectTable>(header ? header->handles : 0);
    } else if (objects) {
      std::visit(ObjectUse(type, *objects, reporter), record.body);
    }
    if (type == kEof) end.eof_seen = true;
    end.offset += record_size;
    ++end.count;
    if (!take(std::move(record))) break;
  }
  return end;
}

// The start every walk checks: enough bytes for a record, and a header first.
bool StartsLikeEmf(const uint8_t* bytes, size_t size, Reporter& reporter) {
  if (size < 8) {
    reporter.Report("the data is " + Num(size) + " bytes long, too short for an enhanced metafile");
    return false;
  }
  Fields first(bytes, 8);
  if (first.U32(0) != kHeader) {
    reporter.Report("not an enhanced metafile: the first record has type " + Num(first.U32(0)) +
                    ", not EMR_HEADER");
    return false;
  }
  return true;
}

}  // namespace

float Value::AsFloat() const {
  float f;
  std::memcpy(&f, &value, sizeof f);
  return f;
}

std::string Problem::ToString() const {
  return "record " + Num(record_index) + " at offset " + Hex(offset) + ": " + message;
}

const Header* DecodeResult::header() const {
  return records.empty() ? nullptr : records.front().As<Header>();
}

DecodeResult DecodeEmf(const uint8_t* data, size_t size) {
  DecodeResult result;
  if (data == nullptr) size = 0;
  if (size != 0) result.bytes.assign(data, data + size);
  Reporter reporter(result.problems);
  const uint8_t* bytes = result.bytes.data();
  if (!StartsLikeEmf(bytes, size, reporter)) return result;
  const WalkEnd end = WalkRecords(bytes, size, reporter, [&](Record&& record) {
    result.records.push_back(std::move(record));
    return true;
  });
  const bool eof_seen = end.eof_seen;
  const size_t offset = end.offset;

  reporter.At(0, 0);
  const Header* header = result.header();
  if (header != nullptr) {
    if (header->bytes != size) {
      reporter.Report("header nBytes " + Num(header->bytes) + " differs from the data length " +
                      Num(size));
    }
    if (header->records != result.records.size()) {
      reporter.Report("header nRecords " + Num(header->records) + " differs from the " +
                      Num(result.records.size()) + " records found");
    }
  }
  const Record* last = result.records.empty() ? nullptr : &result.records.back();
  if (!eof_seen) {
    reporter.At(result.records.size(), offset);
    reporter.Report("the file ends without an EMR_EOF record");
  } else if (last->type == kEof && header != nullptr) {
    const Eof* eof = last->As<Eof>();
    if (eof != nullptr && eof->palette.size() != header->palette_entries) {
      reporter.At(result.records.size() - 1, last->offset);
      reporter.Report("EMR_EOF holds " + Num(eof->palette.size()) +
                      " palette entries, header nPalEntries says " + Num(header->palette_entries));
    }
  }
  return result;
}

bool ForEachRecord(const uint8_t* data, size_t size,
                   const std::function<bool(const Record&)>& visit) {
  std::vector<Problem> problems;  // not kept: the caller skips what it cannot use
  Reporter reporter(problems);
  if (data == nullptr || !StartsLikeEmf(data, size, reporter)) return false;
  WalkRecords(data, size, reporter, [&](Record&& record) {
    problems.clear();
    return visit(record);
  });
  return true;
}

namespace {

// "EMR_" and a record's name from the list in capitals, made at compile time.
template <size_t N>
struct UpperName {
  char text[N + 4] = {'E', 'M', 'R', '_'};
  constexpr explicit UpperName(const char (&name)[N]) {
    for (size_t i = 0; i < N; ++i) {
      const char c = name[i];
      text[4 + i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
  }
};

}  // namespace

const char* RecordName(uint32_t type) {
  switch (type) {
#define TAMVEL_EMF_NAME(name, value, layout)                \
  case value: {                                             \
    static constexpr UpperName<sizeof(#name)> kName(#name); \
    return kName.text;                                      \
  }
    TAMVEL_EMF_RECORD_TYPES(TAMVEL_EMF_NAME)
#undef TAMVEL_EMF_NAME
    default:
      return nullptr;
  }
}

}  // namespace tamvel::emf
