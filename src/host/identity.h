// The application and corporation names written into the description of every new recording.
#pragma once

namespace tamvel {

constexpr int kNameBytes = 40;

// NUL-terminated Shift-JIS names of at most 40 bytes.
const char *ApplicationName();
const char *CorporationName();

}  // namespace tamvel
