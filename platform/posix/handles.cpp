#include "platform/posix/handles.h"

#include <deque>
#include <vector>

namespace tamvel::posix {

GdiObject::~GdiObject() = default;

std::vector<uint8_t> GdiObject::EncodeCreateRecord(uint32_t, const Dc &) const { return {}; }

namespace {

constexpr uint32_t kIndexBits = 16;
constexpr uint32_t kGenerationBits = 11;
constexpr uint32_t kIndexMask = (1u << kIndexBits) - 1;
constexpr uint32_t kGenerationMask = (1u << kGenerationBits) - 1;
constexpr uint32_t kKindShift = kIndexBits + kGenerationBits;
constexpr uint32_t kKindMask = 0xF;

struct Slot {
  std::shared_ptr<GdiObject> object;
  uint32_t generation = 0;
};

struct Table {
  std::vector<Slot> slots{Slot{}};  // index 0 is never used, so no value is 0
  std::deque<uint32_t> free;        // oldest first: a freed slot is reused as late as possible
  size_t live = 0;
  uint64_t next_serial = 1;
};

Table &TheTable() {
  static Table *table = new Table;  // never destroyed: handles may be used during exit
  return *table;
}

uint32_t Encode(uint32_t index, uint32_t generation, ObjectKind kind) {
  return (static_cast<uint32_t>(kind) & kKindMask) << kKindShift |
         (generation & kGenerationMask) << kIndexBits | index;
}

Slot *Find(uint32_t value) {
  Table &table = TheTable();
  uint32_t index = value & kIndexMask;
  if (value >> 31 || index == 0 || index >= table.slots.size()) return nullptr;
  Slot &slot = table.slots[index];
  if (!slot.object || slot.object->handle != value) return nullptr;
  return &slot;
}

}  // namespace

uint32_t AddObject(std::shared_ptr<GdiObject> object) {
  Table &table = TheTable();
  if (!object) return 0;
  uint32_t index;
  if (!table.free.empty()) {
    index = table.free.front();
    table.free.pop_front();
  } else if (table.slots.size() <= kIndexMask) {
    index = static_cast<uint32_t>(table.slots.size());
    table.slots.emplace_back();
  } else {
    return 0;
  }
  Slot &slot = table.slots[index];
  object->handle = Encode(index, slot.generation, object->Kind());
  object->serial = table.next_serial++;
  slot.object = std::move(object);
  ++table.live;
  return slot.object->handle;
}

std::shared_ptr<GdiObject> LookupAnyObject(uint32_t value) {
  Slot *slot = Find(value);
  return slot ? slot->object : nullptr;
}

std::shared_ptr<GdiObject> LookupObject(uint32_t value, ObjectKind kind) {
  Slot *slot = Find(value);
  if (!slot || slot->object->Kind() != kind) return nullptr;
  return slot->object;
}

GdiObject *FindObject(uint32_t value, ObjectKind kind) {
  // The handle value carries the kind the object was registered with.
  if ((value >> kKindShift & kKindMask) != static_cast<uint32_t>(kind)) return nullptr;
  Slot *slot = Find(value);
  return slot ? slot->object.get() : nullptr;
}

bool RemoveObject(uint32_t value) {
  Slot *slot = Find(value);
  if (!slot) return false;
  Table &table = TheTable();
  slot->object.reset();
  slot->generation = (slot->generation + 1) & kGenerationMask;
  table.free.push_back(value & kIndexMask);
  --table.live;
  return true;
}

size_t LiveObjectCount() { return TheTable().live; }

}  // namespace tamvel::posix
