// File types under HKEY_CLASSES_ROOT: an extension naming its document class, the class with
// its description, open command and icon; the default value of any key there; and the
// platform-family question. None of these calls shows a message.
#include <string>
#include <string_view>

#include "include/tamvel.h"
#include "platform/win32.h"
#include "src/pages/page_table.h"

namespace tamvel {
namespace {

HKEY CreateKey(HKEY parent, const char *name) {
  HKEY key = nullptr;
  if (parent == nullptr ||
      RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return key;
}

void CloseKey(HKEY key) {
  if (key != nullptr) RegCloseKey(key);
}

// Sets the default value of `key` to `text` (REG_SZ with its NUL). True when it was written.
bool SetDefaultText(HKEY key, const std::string &text) {
  return key != nullptr &&
         RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

// Reads the default value of `key` into buffer (at most `size` bytes). Returns the number of
// bytes read, or -1 when nothing could be read.
long ReadDefault(HKEY key, char *buffer, int32_t size) {
  if (buffer == nullptr || size <= 0) return -1;
  DWORD read = static_cast<DWORD>(size);
  if (RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE *>(buffer), &read) !=
      ERROR_SUCCESS) {
    return -1;
  }
  return static_cast<long>(read);
}

// The length of the text of `read` bytes less its NUL, never below 0.
int32_t TextLength(long read) { return read > 0 ? static_cast<int32_t>(read - 1) : 0; }

// The class name the extension key named before, when it is another one: its length (the
// name stays in buffer); 0 when it names the same class or cannot be read.
int32_t PreviousClassLength(HKEY extension, const char *class_name, char *buffer, int32_t size) {
  long read = ReadDefault(extension, buffer, size);
  if (read < 0) return 0;
  std::string_view previous(buffer, static_cast<size_t>(read));
  previous = previous.substr(0, previous.find('\0'));
  return previous == class_name ? 0 : TextLength(read);
}

}  // namespace
}  // namespace tamvel

extern "C" {

TAMVEL_API int32_t TAMVEL_CALL SetFileType(const char *description, const char *extension,
                                           const char *class_name, const char *program_path,
                                           char *buffer, int32_t buffer_size) {
  using namespace tamvel;
  if (!LibraryAttached()) return 0;
  // Without an extension, a class or a program there is nothing to register; an empty
  // extension or class would name the root of the classes instead.
  if (extension == nullptr || *extension == '\0' || class_name == nullptr || *class_name == '\0' ||
      program_path == nullptr) {
    return 0;
  }
  try {
    int32_t previous = 0;
    HKEY extension_key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, extension, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                      &extension_key) != ERROR_SUCCESS) {
      extension_key = CreateKey(HKEY_CLASSES_ROOT, extension);
    } else {
      previous = PreviousClassLength(extension_key, class_name, buffer, buffer_size);
    }
    SetDefaultText(extension_key, class_name);
    CloseKey(extension_key);

    HKEY class_key = CreateKey(HKEY_CLASSES_ROOT, class_name);
    SetDefaultText(class_key, description ? description : "");
    HKEY shell = CreateKey(class_key, "Shell");
    HKEY open = CreateKey(shell, "Open");
    HKEY command = CreateKey(open, "Command");
    SetDefaultText(command, std::string("\"") + program_path + "\" \"%1\"");
    CloseKey(command);
    CloseKey(open);
    CloseKey(shell);
    HKEY icon = CreateKey(class_key, "DefaultIcon");
    SetDefaultText(icon, std::string(program_path) + ",0");
    CloseKey(icon);
    CloseKey(class_key);
    return previous;
  } catch (...) {
    return 0;
  }
}

TAMVEL_API int32_t TAMVEL_CALL SetClassRoot(const char *key, const char *value) {
  using namespace tamvel;
  if (!LibraryAttached() || key == nullptr || value == nullptr) return 0;
  try {
    HKEY opened = CreateKey(HKEY_CLASSES_ROOT, key);
    bool written = SetDefaultText(opened, value);
    CloseKey(opened);
    return written ? -1 : 0;
  } catch (...) {
    return 0;
  }
}

TAMVEL_API int32_t TAMVEL_CALL GetClassRoot(const char *key, char *buffer, int32_t size) {
  using namespace tamvel;
  if (!LibraryAttached() || key == nullptr) return 0;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
    return 0;
  }
  long read = ReadDefault(opened, buffer, size);
  RegCloseKey(opened);
  return TextLength(read);
}

TAMVEL_API int32_t TAMVEL_CALL IsWindowsNT(void) {
  if (!tamvel::LibraryAttached()) return 0;
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT ? -1 : 0;
}

}  // extern "C"
