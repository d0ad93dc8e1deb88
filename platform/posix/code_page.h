// Conversions between the library's Shift-JIS strings (code page 932) and the UTF-16 that
// metafiles store. Bytes that do not convert become '?', as the Win32 conversions substitute
// a default character.
#pragma once

#include <string>
#include <string_view>

namespace tamvel::posix {

std::u16string Cp932ToUtf16(std::string_view text);
std::string Utf16ToCp932(std::u16string_view text);

}  // namespace tamvel::posix
