// Handles are opaque pointer types carrying 32-bit values (as Win32 handles do); the library
// passes them through its 32-bit results with these two conversions.
#pragma once

#include <cstdint>

inline uint32_t HandleValue(const void *handle) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle));
}

// Widens a 32-bit value back to a handle; the sign extension matches what Win32 does with
// handles passed through 32-bit integers.
template <typename H>
inline H HandleFromValue(uint32_t value) {
  return reinterpret_cast<H>(
      static_cast<uintptr_t>(static_cast<intptr_t>(static_cast<int32_t>(value))));
}
