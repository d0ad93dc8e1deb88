// Settings of the programs built on the library, kept in the registry under the maker's key:
// HKEY_CURRENT_USER\Software\Nelvar Inc.\<application>\<section>, one named value each.
//
// Null names are read as empty names. An empty application or section adds no level of its
// own; the platform decides what that means (the Linux stand-in skips empty levels, so the
// writers and readers still meet). A null value name is the key's default value.
#include <cstring>
#include <string>

#include "include/tamvel.h"
#include "platform/win32.h"
#include "src/pages/page_table.h"

namespace tamvel {
namespace {

constexpr const char *kMakerKey = "Software\\Nelvar Inc.";
constexpr DWORD kStringValueBytes = 255;  // the buffer GetNelvarReg reads into

const char *OrEmpty(const char *text) { return text ? text : ""; }

// The one message the library shows: which level of the key path could not be created.
void ReportUncreatableKey(const char *application, const char *key) {
  std::string text = "Unable to create key \"";
  text += key;
  text += '"';
  MessageBoxA(nullptr, text.c_str(), application, MB_OK);
}

// Creates (or opens) the maker, application and section keys one after the other and writes
// one value into the section. Returns 0, or 1..3 for the level that could not be created,
// after showing the message and closing the levels already open. The result of the value
// write itself is not examined; `data` null means there is nothing to write.
int32_t WriteSetting(const char *application, const char *section, const char *name, DWORD type,
                     const BYTE *data, DWORD size) {
  const char *levels[3] = {kMakerKey, OrEmpty(application), OrEmpty(section)};
  HKEY keys[3] = {};
  HKEY parent = HKEY_CURRENT_USER;
  for (int level = 0; level < 3; ++level) {
    if (RegCreateKeyExA(parent, levels[level], 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &keys[level], nullptr) != ERROR_SUCCESS) {
      ReportUncreatableKey(application, levels[level]);
      for (int open = level - 1; open >= 0; --open) RegCloseKey(keys[open]);
      return level + 1;
    }
    parent = keys[level];
  }
  if (data != nullptr) RegSetValueExA(keys[2], name, 0, type, data, size);
  for (int level = 2; level >= 0; --level) RegCloseKey(keys[level]);
  return 0;
}

// Opens the section key of a setting for reading, by its whole path in one step.
HKEY OpenSection(const char *application, const char *section) {
  std::string path = kMakerKey;
  path += '\\';
  path += OrEmpty(application);
  path += '\\';
  path += OrEmpty(section);
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return nullptr;
  }
  return key;
}

}  // namespace
}  // namespace tamvel

extern "C" {

TAMVEL_API int32_t TAMVEL_CALL SetNelvarReg(const char *application, const char *section,
                                            const char *name, const char *text) {
  if (!tamvel::LibraryAttached()) return 1;
  try {
    // A null text writes nothing rather than replace a stored value with nothing.
    DWORD size = text ? static_cast<DWORD>(std::strlen(text) + 1) : 0;
    return tamvel::WriteSetting(application, section, name, REG_SZ,
                                reinterpret_cast<const BYTE *>(text), size);
  } catch (...) {
    return 1;
  }
}

TAMVEL_API int32_t TAMVEL_CALL SetNelvarRegB(const char *application, const char *section,
                                             const char *name, const void *data, int32_t size) {
  if (!tamvel::LibraryAttached()) return 1;
  try {
    // A negative size, or no data for a positive size, writes nothing; size 0 writes an
    // empty binary value.
    bool writable = size == 0 || (size > 0 && data != nullptr);
    static const BYTE kNothing = 0;
    const BYTE *bytes = size == 0 ? &kNothing : static_cast<const BYTE *>(data);
    return tamvel::WriteSetting(application, section, name, REG_BINARY, writable ? bytes : nullptr,
                                writable ? size : 0);
  } catch (...) {
    return 1;
  }
}

TAMVEL_API int32_t TAMVEL_CALL GetNelvarReg(const char *application, const char *section,
                                            const char *name, char *buffer) {
  if (!tamvel::LibraryAttached()) return 1;
  try {
    HKEY key = tamvel::OpenSection(application, section);
    if (key == nullptr) return 1;
    DWORD size = tamvel::kStringValueBytes;
    LSTATUS status =
        RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
      if (buffer != nullptr) buffer[0] = '\0';
      return 2;
    }
    return 0;
  } catch (...) {
    return 1;
  }
}

TAMVEL_API int32_t TAMVEL_CALL GetNelvarRegB(const char *application, const char *section,
                                             const char *name, void *buffer, int32_t size) {
  if (!tamvel::LibraryAttached()) return 1;
  try {
    HKEY key = tamvel::OpenSection(application, section);
    if (size > 0 && buffer != nullptr) std::memset(buffer, 0, static_cast<size_t>(size));
    if (key == nullptr) return 1;
    DWORD capacity = size > 0 ? static_cast<DWORD>(size) : 0;
    LSTATUS status =
        RegQueryValueExA(key, name, nullptr, nullptr, static_cast<BYTE *>(buffer), &capacity);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? 0 : 2;
  } catch (...) {
    return 1;
  }
}

}  // extern "C"
