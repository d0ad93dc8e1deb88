// TaskActiv: is a program file already running? It compares the short, lower-cased path of
// the program with that of the program behind each top-level window, and writes what it
// compared into "task.lst" in the current directory: the target first, then one line per
// window up to and including the first that matches.
#include <cstring>
#include <string>

#include "include/tamvel.h"
#include "platform/win32.h"
#include "src/pages/page_table.h"

namespace tamvel {
namespace {

constexpr DWORD kPathBytes = MAX_PATH + 1;

// The task list is gathered during the search and written in one piece at its end, so that
// "task.lst" holds either a whole list or what it held before (full disk, a FIFO or a folder
// at the name): never half a list, and the call never blocks on the file.
struct TaskSearch {
  const char *target = nullptr;
  int32_t found = 0;
  std::string list;
  bool list_lost = false;  // no memory for a line: no list is written
};

// Only A to Z: the paths are Shift-JIS, whose second bytes must stay as they are.
void LowerCaseLetters(char *text) {
  for (; *text != '\0'; ++text) {
    if (*text >= 'A' && *text <= 'Z') *text = static_cast<char>(*text - 'A' + 'a');
  }
}

// The short, lower-cased form of `path` in `out`; empty when there is none that fits.
void ShortLowerPath(const char *path, char (&out)[kPathBytes]) {
  std::memset(out, 0, sizeof out);
  DWORD length = GetShortPathNameA(path, out, kPathBytes);
  if (length == 0 || length >= kPathBytes) out[0] = '\0';
  LowerCaseLetters(out);
}

// Nothing may be thrown through the system's enumeration: a line without memory loses the list.
void AddLine(TaskSearch &search, const char *line) {
  try {
    search.list.append(line).push_back('\n');
  } catch (...) {
    search.list_lost = true;
  }
}

BOOL CALLBACK CompareWindowProgram(HWND window, LPARAM parameter) {
  TaskSearch &search = *reinterpret_cast<TaskSearch *>(parameter);
  HMODULE module = reinterpret_cast<HMODULE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  char module_path[kPathBytes] = {};
  GetModuleFileNameA(module, module_path, kPathBytes);
  char short_path[kPathBytes];
  ShortLowerPath(module_path, short_path);
  AddLine(search, short_path);
  if (std::strcmp(short_path, search.target) == 0) {
    search.found = 1;
    return FALSE;
  }
  return TRUE;
}

// A list that cannot be written is left out; the comparison's result stands.
void WriteTaskList(const std::string &list) {
  HANDLE file = CreateFileA("task.lst", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, list.data(), static_cast<DWORD>(list.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace
}  // namespace tamvel

extern "C" {

TAMVEL_API int32_t TAMVEL_CALL TaskActiv(const char *program_path) {
  using namespace tamvel;
  if (!LibraryAttached() || program_path == nullptr) return 0;
  char target[kPathBytes];
  ShortLowerPath(program_path, target);
  if (target[0] == '\0') return 0;  // no such file: task.lst stays as it is
  TaskSearch search;
  search.target = target;
  AddLine(search, target);
  EnumWindows(CompareWindowProgram, reinterpret_cast<LPARAM>(&search));
  if (!search.list_lost) WriteTaskList(search.list);
  return search.found;
}

}  // extern "C"
