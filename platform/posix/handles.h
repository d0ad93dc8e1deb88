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

// Registers `object` and returns its handle value (0 when the table is full).
uint32_t AddObject(std::shared_ptr<GdiObject> object);

// The object behind `value` if the handle is live and of `kind`, else null.
std::shared_ptr<GdiObject> LookupObject(uint32_t value, ObjectKind kind);
// The same without taking a reference (for calls that only use it while the handle lives).
GdiObject *FindObject(uint32_t value, ObjectKind kind);
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
