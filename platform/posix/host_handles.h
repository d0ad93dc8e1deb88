// Handles of the stand-in's host objects: registry keys, the windows that stand for running
// programs, and their modules. Three narrow calls so that the objects can live in whichever
// handle table the stand-in keeps.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/handle_value.h"

namespace tamvel::posix {

enum class HostKind : uint8_t { kRegistryKey, kWindow, kModule };

class HostObject {
 public:
  virtual ~HostObject();
  virtual HostKind Kind() const = 0;
};

// Registers `object`; returns its handle value, 0 when no handle is left.
uint32_t AddHostObject(std::shared_ptr<HostObject> object);
// The live object behind `value` if it is of `kind`, else null.
std::shared_ptr<HostObject> LookupHostObject(uint32_t value, HostKind kind);
// Frees the handle; false for a value that is not a live host handle.
bool RemoveHostObject(uint32_t value);

template <typename T>
std::shared_ptr<T> LookupHost(const void *handle) {
  return std::static_pointer_cast<T>(LookupHostObject(HandleValue(handle), T::kKind));
}

}  // namespace tamvel::posix
