// Number formatting shared by the decoder's problem messages and the record text forms.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace tamvel::emf {

inline std::string Num(int64_t value) { return std::to_string(value); }

// "0x1c4"
inline std::string Hex(uint64_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(value));
  return buffer;
}

}  // namespace tamvel::emf
