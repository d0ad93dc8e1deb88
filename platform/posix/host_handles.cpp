// A small table of host handles: each value carries its kind, so a key handle passed where a
// window is expected is rejected, and values are never reused while the process lives.
#include "platform/posix/host_handles.h"

#include <map>

namespace tamvel::posix {

HostObject::~HostObject() = default;

namespace {

// Values look like the stand-in's other handles: bit 31 clear (clear of the predefined
// registry keys), the kind in bits 27..30, a serial number below.
constexpr uint32_t kSerialMask = (1u << 27) - 1;
constexpr uint32_t kKindBase = 12;  // clear of the GDI kinds

struct Table {
  std::map<uint32_t, std::shared_ptr<HostObject>> objects;
  uint32_t next_serial = 1;
};

Table &TheTable() {
  static Table *table = new Table;  // never destroyed: handles may be closed during exit
  return *table;
}

}  // namespace

uint32_t AddHostObject(std::shared_ptr<HostObject> object) {
  Table &table = TheTable();
  if (!object || table.next_serial > kSerialMask) return 0;
  uint32_t kind = kKindBase + static_cast<uint32_t>(object->Kind());
  uint32_t value = kind << 27 | table.next_serial++;
  table.objects.emplace(value, std::move(object));
  return value;
}

std::shared_ptr<HostObject> LookupHostObject(uint32_t value, HostKind kind) {
  Table &table = TheTable();
  auto it = table.objects.find(value);
  if (it == table.objects.end() || it->second->Kind() != kind) return nullptr;
  return it->second;
}

bool RemoveHostObject(uint32_t value) { return TheTable().objects.erase(value) > 0; }

}  // namespace tamvel::posix
