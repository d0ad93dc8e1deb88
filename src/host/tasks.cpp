// TaskActiv: is a program file already running? It compares the short, lower-cased path of
// the program with that of the program behind each top-level window, and writes what it
// compared into "task.lst" in the current directory: the target first, then one line per
// window up to and including the first that matches.
#include <cstring>
#include <fstream>

#include "include/tamvel.h"
#include "platform/win32.h"
#include "src/pages/page_table.h"

namespace tamvel {
namespace {

constexpr DWORD kPathBytes = MAX_PATH + 1;

// The task list stream lives as long as the library and holds the file only during a call.
std::ofstream g_task_list;

struct TaskSearch {
  const char *target;
  int32_t found;
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

BOOL CALLBACK CompareWindowProgram(HWND window, LPARAM parameter) {
  TaskSearch &search = *reinterpret_cast<TaskSearch *>(parameter);
  HMODULE module = reinterpret_cast<HMODULE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  char module_path[kPathBytes] = {};
  GetModuleFileNameA(module, module_path, kPathBytes);
  char short_path[kPathBytes];
  ShortLowerPath(module_path, short_path);
  g_task_list << short_path << '\n' << std::flush;
  if (std::strcmp(short_path, search.target) == 0) {
    search.found = 1;
    return FALSE;
  }
  return TRUE;
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
  TaskSearch search{target, 0};
  try {
    // A list that cannot be created makes the writes do nothing; the comparison goes on.
    g_task_list.open("task.lst", std::ios::out | std::ios::trunc);
    g_task_list << target << '\n' << std::flush;
    EnumWindows(CompareWindowProgram, reinterpret_cast<LPARAM>(&search));
  } catch (...) {
  }
  g_task_list.close();
  g_task_list.clear();
  return search.found;
}

}  // extern "C"
