// The typed handle table. A handle value is a 32-bit number, never an address:
//   bit 31 clear | kind (4 bits) | generation (11 bits) | slot index (16 bits)
// A freed slot gets a new generation, so a stale handle (deleted object, reused slot) and a
// handle of another kind are both rejected. Values stay below 0x80000000, clear of the
// predefined registry keys and of sign extension through 32-bit results.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/posix/gdi_object.h"

namespace tamvel::posix {

namespace detail {

constexpr uint32_t kIndexBits = 16;
constexpr uint32_t kGenerationBits = 11;
constexpr uint32_t kIndexMask = (1u << kIndexBits) - 1;
constexpr uint32_t kKindShift = kIndexBits + kGenerationBits;

// What a lookup reads of a slot: the value of the live handle in it (0 when free; it carries
// the kind) and its object. The table keeps these apart from the owning pointers, in one
// array of every possible slot (1 MB of address space, touched only as slots are used), so
// that finding an object is an index and a compare: no bounds check, no reference count.
struct HandleEntry {
  uint32_t value = 0;
  GdiObject *object = nullptr;
};
extern HandleEntry g_handle_entries[kIndexMask + 1];

}  // namespace detail

// Registers `object` and returns its handle value (0 when the table is full).
uint32_t AddObject(std::shared_ptr<GdiObject> object);

// The object behind `value` if the handle is live and of `kind`, else null.
std::shared_ptr<GdiObject> LookupObject(uint32_t value, ObjectKind kind);
// The same without taking a reference (for calls that only use it while the handle lives).
// Every call on a DC starts here. A value with bit 31 set or of another kind fails the kind
// compare; a stale one fails the value compare (its slot holds another generation or none).
inline GdiObject *FindObject(uint32_t value, ObjectKind kind) {
  const detail::HandleEntry &entry = detail::g_handle_entries[value & detail::kIndexMask];
  if (entry.value != value || value >> detail::kKindShift != static_cast<uint32_t>(kind)) {
    return nullptr;
  }
  return entry.object;
}
// The object behind `value` whatever its kind (GetObjectType, DeleteObject).
std::shared_ptr<GdiObject> LookupAnyObject(uint32_t value);

// Frees the slot; the handle becomes stale. Returns false for a handle that is not live.
bool RemoveObject(uint32_t value);

// Number of live handles (tests check for leaks with it).
size_t LiveObjectCount();

inline uint32_t ValueOf(const void *handle) { return HandleValue(handle); }

// Typed lookup: Lookup<Pen>(hpen) is null unless hpen is a live pen.
template <typename T>
std::shared_ptr<T> Lookup(const void *handle) {
  return std::static_pointer_cast<T>(LookupObject(ValueOf(handle), T::kKind));
}

// Registers a new object and returns its handle as the Win32 handle type H.
template <typename H>
H AddHandle(std::shared_ptr<GdiObject> object) {
  return HandleFromValue<H>(AddObject(std::move(object)));
}

}  // namespace tamvel::posix
