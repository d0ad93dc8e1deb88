#include "platform/posix/handles.h"

#include <deque>
#include <vector>

namespace tamvel::posix {

GdiObject::~GdiObject() = default;

std::vector<uint8_t> GdiObject::EncodeCreateRecord(uint32_t, const Dc &) const { return {}; }

namespace detail {
HandleEntry g_handle_entries[kIndexMask + 1];
}  // namespace detail

namespace {

using detail::HandleEntry;
using detail::kIndexMask;
using detail::kKindShift;

constexpr uint32_t kGenerationMask = (1u << detail::kGenerationBits) - 1;
constexpr uint32_t kKindMask = 0xF;

struct Table {
  // Index 0 is never used, so no value is 0. Owner i is slot i, as is g_handle_entries[i].
  std::vector<std::shared_ptr<GdiObject>> owners{nullptr};
  std::vector<uint32_t> generations{0};
  std::deque<uint32_t> free;  // oldest first: a freed slot is reused as late as possible
  size_t live = 0;
  uint64_t next_serial = 1;
};

Table &TheTable() {
  static Table *table = new Table;  // never destroyed: handles may be used during exit
  return *table;
}

uint32_t Encode(uint32_t index, uint32_t generation, ObjectKind kind) {
  return (static_cast<uint32_t>(kind) & kKindMask) << kKindShift |
         (generation & kGenerationMask) << detail::kIndexBits | index;
}

// The slot index of a live handle, or 0.
uint32_t Find(uint32_t value) {
  const uint32_t index = value & kIndexMask;
  if (value >> 31 || index == 0) return 0;
  return detail::g_handle_entries[index].value == value ? index : 0;
}

}  // namespace

uint32_t AddObject(std::shared_ptr<GdiObject> object) {
  Table &table = TheTable();
  if (!object) return 0;
  uint32_t index;
  if (!table.free.empty()) {
    index = table.free.front();
    table.free.pop_front();
  } else if (table.owners.size() <= kIndexMask) {
    index = static_cast<uint32_t>(table.owners.size());
    table.owners.emplace_back();
    table.generations.push_back(0);
  } else {
    return 0;
  }
  object->handle = Encode(index, table.generations[index], object->Kind());
  object->serial = table.next_serial++;
  detail::g_handle_entries[index] = {object->handle, object.get()};
  table.owners[index] = std::move(object);
  ++table.live;
  return detail::g_handle_entries[index].value;
}

std::shared_ptr<GdiObject> LookupAnyObject(uint32_t value) {
  const uint32_t index = Find(value);
  return index ? TheTable().owners[index] : nullptr;
}

std::shared_ptr<GdiObject> LookupObject(uint32_t value, ObjectKind kind) {
  const uint32_t index = Find(value);
  if (!index || value >> kKindShift != static_cast<uint32_t>(kind)) return nullptr;
  return TheTable().owners[index];
}

bool RemoveObject(uint32_t value) {
  const uint32_t index = Find(value);
  if (!index) return false;
  Table &table = TheTable();
  detail::g_handle_entries[index] = {};
  table.generations[index] = (table.generations[index] + 1) & kGenerationMask;
  table.free.push_back(index);
  --table.live;
  // The object goes last: its destructor may add or remove handles of its own.
  std::shared_ptr<GdiObject> owner = std::move(table.owners[index]);
  return true;
}

size_t LiveObjectCount() { return TheTable().live; }

}  // namespace tamvel::posix
