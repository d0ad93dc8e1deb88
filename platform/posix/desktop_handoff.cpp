// The desktop clipboard and the page viewer: the library hands metafiles to the viewer
// program (tamvel-viewer), which owns the clipboard or shows the pages in a process of its
// own.
#include "platform/posix/desktop_handoff.h"

#include <errno.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "include/tamvel_linux.h"
#include "platform/handle_value.h"
#include "platform/posix/desktop_link.h"
#include "platform/posix/metafiles.h"

namespace tamvel::posix::desktop {
namespace {

constexpr int kAnswerTimeoutMs = 20000;  // the viewer's start-up under a loaded machine

bool WriteAll(int fd, const uint8_t *data, size_t size) {
  while (size > 0) {
    const ssize_t written = send(fd, data, size, MSG_NOSIGNAL);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

// Starts the viewer with `arguments` and a socket as its descriptor 3; the parent's end, or
// -1 (with `pid` set when the viewer started).
int StartViewer(const std::vector<std::string> &arguments, bool detach, pid_t *pid) {
  *pid = -1;
  const std::string viewer = HelperPath("tamvel-viewer");
  int ends[2];
  if (viewer.empty() || socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return -1;
  *pid = Spawn(viewer, arguments, {{ends[1], 3}}, detach);
  close(ends[1]);
  if (*pid < 0) {
    close(ends[0]);
    return -1;
  }
  return ends[0];
}

// A private folder for the pages handed to the viewer, which removes it when it closes.
std::string TemporaryFolder() {
  const char *folder = std::getenv("TMPDIR");
  std::string path = std::string(folder && *folder ? folder : "/tmp") + "/tamvel-pages-XXXXXX";
  return mkdtemp(path.data()) ? path : std::string();
}

// Writes the finished pages first..last (0-based) into `folder`; their paths.
std::vector<std::string> WritePages(int first, int last, const std::string &folder, bool *failed) {
  std::vector<std::string> paths;
  for (int index = first; index <= last; ++index) {
    const Metafile *metafile = LookupMetafile(HandleFromValue<HENHMETAFILE>(MHEMF(index)));
    if (metafile == nullptr) continue;
    std::string path = folder + "/page-" + std::to_string(index + 1) + ".emf";
    if (!WriteFileImage(path, metafile->bytes())) *failed = true;
    paths.push_back(std::move(path));
  }
  return paths;
}

void RemoveFolder(const std::string &folder, const std::vector<std::string> &paths) {
  for (const std::string &path : paths) unlink(path.c_str());
  rmdir(folder.c_str());
}

}  // namespace

bool OfferToClipboard(std::span<const uint8_t> emf) {
  if (!SessionAvailable()) return false;
  pid_t pid;
  const int socket = StartViewer({"--clipboard"}, true, &pid);
  if (socket < 0) return false;
  char answer = 0;
  const bool owned = WriteAll(socket, emf.data(), emf.size()) && shutdown(socket, SHUT_WR) == 0 &&
                     ReadByte(socket, kAnswerTimeoutMs, &answer) && answer == 'R';
  close(socket);
  return owned;
}

}  // namespace tamvel::posix::desktop

using namespace tamvel::posix::desktop;

extern "C" {

TAMVEL_API int32_t TAMVEL_CALL TamvelShowPages(int32_t first, int32_t last, int32_t flags) {
  first = std::clamp(first, 1, 100) - 1;
  last = std::clamp(last, 1, 100) - 1;
  bool any = false;
  for (int index = first; index <= last && !any; ++index) any = MHEMF(index) != 0;
  if (!any) return 1;
  if (!SessionAvailable()) return 2;
  if (HelperPath("tamvel-viewer").empty()) return 3;
  const std::string folder = TemporaryFolder();
  if (folder.empty()) return 4;
  bool failed = false;
  const std::vector<std::string> paths = WritePages(first, last, folder, &failed);
  if (failed) {
    RemoveFolder(folder, paths);
    return 4;
  }
  std::vector<std::string> arguments{"--library-pages", folder};
  arguments.insert(arguments.end(), paths.begin(), paths.end());
  pid_t pid;
  const int socket = StartViewer(arguments, false, &pid);
  char answer = 0;
  const bool shown = socket >= 0 && ReadByte(socket, kAnswerTimeoutMs, &answer) && answer == 'R';
  if (socket >= 0) close(socket);
  if (!shown) {
    if (pid > 0) WaitFor(pid);
    RemoveFolder(folder, paths);
    return 3;
  }
  if (flags & TAMVEL_SHOW_NO_WAIT) return 0;
  return WaitFor(pid) == 0 ? 0 : 3;
}

}  // extern "C"
