// Handles of the stand-in's host objects: registry keys, the windows that stand for running
// programs, and their modules. They live in the stand-in's typed handle table as objects of
// the kinds kRegistryKey, kProgramWindow and kModule; they are no GDI objects (GetObjectType
// answers 0 for them and DeleteObject refuses them).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/posix/gdi_object.h"
#include "platform/posix/handles.h"

namespace tamvel::posix {

class HostObject : public GdiObject {
 public:
  DWORD Win32Type() const override { return 0; }
};

// Registers `object`; returns its handle value, 0 when no handle is left.
inline uint32_t AddHostObject(std::shared_ptr<HostObject> object) {
  return AddObject(std::move(object));
}

// Frees the handle; false for a value that is not a live handle.
inline bool RemoveHostObject(uint32_t value) { return RemoveObject(value); }

// The live object of type T behind `handle`, else null.
template <typename T>
std::shared_ptr<T> LookupHost(const void *handle) {
  return Lookup<T>(handle);
}

}  // namespace tamvel::posix
