// The USER and KERNEL calls of the host services, with their Linux meaning:
// - a message box is a line on standard error;
// - the top-level windows are the running processes of the current user (from /proc), each
//   with its executable as the module behind it;
// - a short path is the canonical absolute path (realpath);
// - the version names a platform that is not of the Windows NT family.
#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/posix/host_handles.h"
#include "platform/posix/win32_api.h"

namespace tamvel::posix {
namespace {

// dwPlatformId of the stand-in: none of the Windows families.
constexpr DWORD kPlatformPosixStandIn = 0x4C58;

class ProcessModule : public HostObject {
 public:
  static constexpr ObjectKind kKind = ObjectKind::kModule;
  explicit ProcessModule(std::string path) : path(std::move(path)) {}
  ObjectKind Kind() const override { return kKind; }
  std::string path;
};

class ProcessWindow : public HostObject {
 public:
  static constexpr ObjectKind kKind = ObjectKind::kProgramWindow;
  ObjectKind Kind() const override { return kKind; }
  uint32_t module = 0;
};

// The windows handed out so far, by process id; a process keeps its window (and module
// handle) across enumerations until it ends.
struct KnownWindow {
  uint32_t window = 0;
  std::shared_ptr<ProcessModule> module;
};
std::map<long, KnownWindow> &KnownWindows() {
  static auto *windows = new std::map<long, KnownWindow>;
  return *windows;
}

bool ReadLink(const std::string &link, std::string &target) {
  char buffer[PATH_MAX];
  ssize_t n = readlink(link.c_str(), buffer, sizeof buffer);
  if (n <= 0 || static_cast<size_t>(n) >= sizeof buffer) return false;
  target.assign(buffer, static_cast<size_t>(n));
  return true;
}

// The processes of the current user whose executable can be read, in process-id order.
std::map<long, std::string> UserProcesses() {
  std::map<long, std::string> processes;
  DIR *proc = opendir("/proc");
  if (proc == nullptr) return processes;
  uid_t user = getuid();
  while (dirent *entry = readdir(proc)) {
    char *end = nullptr;
    long pid = std::strtol(entry->d_name, &end, 10);
    if (*end != '\0' || pid <= 0) continue;
    std::string directory = std::string("/proc/") + entry->d_name;
    struct stat info;
    std::string executable;
    if (stat(directory.c_str(), &info) != 0 || info.st_uid != user) continue;
    if (ReadLink(directory + "/exe", executable)) processes.emplace(pid, executable);
  }
  closedir(proc);
  return processes;
}

// Brings the known windows up to date with the running processes and returns their handles.
std::vector<uint32_t> CurrentWindows() {
  std::map<long, std::string> processes = UserProcesses();
  auto &known = KnownWindows();
  for (auto it = known.begin(); it != known.end();) {
    if (processes.count(it->first)) {
      ++it;
      continue;
    }
    if (auto window = LookupHost<ProcessWindow>(HandleFromValue<HWND>(it->second.window))) {
      RemoveHostObject(window->module);
    }
    RemoveHostObject(it->second.window);
    it = known.erase(it);
  }
  std::vector<uint32_t> windows;
  for (auto &[pid, executable] : processes) {
    KnownWindow &entry = known[pid];
    if (entry.window == 0) {
      auto module = std::make_shared<ProcessModule>(executable);
      auto window = std::make_shared<ProcessWindow>();
      window->module = AddHostObject(module);
      entry.window = AddHostObject(window);
      entry.module = module;
      if (entry.window == 0) {
        RemoveHostObject(window->module);
        known.erase(pid);
        continue;
      }
    }
    entry.module->path = executable;  // the process may have run another program since
    windows.push_back(entry.window);
  }
  return windows;
}

}  // namespace
}  // namespace tamvel::posix

using namespace tamvel::posix;

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT) {
  std::fprintf(stderr, "%s: %s\n", caption ? caption : "Error", text ? text : "");
  std::fflush(stderr);
  return 1;  // IDOK
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM parameter) {
  if (callback == nullptr) return FALSE;
  std::vector<uint32_t> windows;
  try {
    windows = CurrentWindows();
  } catch (...) {
    return FALSE;
  }
  for (uint32_t window : windows) {
    if (!callback(HandleFromValue<HWND>(window), parameter)) break;
  }
  return TRUE;
}

LONG GetWindowLongA(HWND window, int index) {
  auto object = LookupHost<ProcessWindow>(window);
  if (!object || index != GWL_HINSTANCE) return 0;
  return static_cast<LONG>(object->module);
}

LONG_PTR GetWindowLongPtrA(HWND window, int index) { return GetWindowLongA(window, index); }

DWORD GetModuleFileNameA(HMODULE module, LPSTR name, DWORD size) {
  if (name == nullptr || size == 0) return 0;
  std::string path;
  if (module == nullptr) {
    if (!ReadLink("/proc/self/exe", path)) return 0;
  } else if (auto object = LookupHost<ProcessModule>(module)) {
    path = object->path;
  } else {
    return 0;
  }
  // As Windows does: a path that does not fit is cut, terminated, and the size is returned.
  size_t copied = path.size() < size ? path.size() : size - 1;
  std::memcpy(name, path.data(), copied);
  name[copied] = '\0';
  return copied == path.size() ? static_cast<DWORD>(copied) : size;
}

DWORD GetShortPathNameA(LPCSTR long_path, LPSTR short_path, DWORD size) {
  if (long_path == nullptr) return 0;
  char *resolved = realpath(long_path, nullptr);
  if (resolved == nullptr) return 0;
  size_t length = std::strlen(resolved);
  DWORD result;
  if (short_path != nullptr && length < size) {
    std::memcpy(short_path, resolved, length + 1);
    result = static_cast<DWORD>(length);
  } else {
    result = static_cast<DWORD>(length + 1);  // the size needed, as Windows answers
  }
  std::free(resolved);
  return result;
}

BOOL GetVersionExA(OSVERSIONINFOA *info) {
  if (info == nullptr || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA)) return FALSE;
  DWORD size = info->dwOSVersionInfoSize;
  std::memset(info, 0, sizeof(OSVERSIONINFOA));
  info->dwOSVersionInfoSize = size;
  info->dwPlatformId = kPlatformPosixStandIn;
  utsname name;
  if (uname(&name) == 0) {
    unsigned major = 0, minor = 0, build = 0;
    std::sscanf(name.release, "%u.%u.%u", &major, &minor, &build);
    info->dwMajorVersion = major;
    info->dwMinorVersion = minor;
    info->dwBuildNumber = build;
    std::string text = std::string(name.sysname) + " " + name.release;
    std::strncpy(info->szCSDVersion, text.c_str(), sizeof info->szCSDVersion - 1);
  }
  return TRUE;
}
