#include "platform/posix/desktop_link.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <set>

extern char **environ;

#ifndef TAMVEL_HELPER_DIR
#define TAMVEL_HELPER_DIR ""
#endif
#ifndef TAMVEL_HELPER_FROM_BIN
#define TAMVEL_HELPER_FROM_BIN ""
#endif

namespace tamvel::posix::desktop {
namespace {

// The folder of the file this code was loaded from: libtamvel.so, or the program that links
// the library statically (the tool, the tests), whose own name the loader may not know.
std::string OwnFolder() {
  Dl_info info{};
  link_map *object = nullptr;
  if (dladdr1(reinterpret_cast<void *>(&OwnFolder), &info, reinterpret_cast<void **>(&object),
              RTLD_DL_LINKMAP) == 0) {
    return {};
  }
  std::string path;
  if (object != nullptr && object->l_name != nullptr && object->l_name[0] == '/') {
    path = object->l_name;
  } else {
    char exe[4096];
    const ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (length <= 0) return {};
    path.assign(exe, static_cast<size_t>(length));
  }
  return path.substr(0, path.rfind('/'));
}

std::set<pid_t> &Children() {
  static std::set<pid_t> children;
  return children;
}

void ReapEnded() {
  for (auto it = Children().begin(); it != Children().end();) {
    int status;
    const pid_t done = waitpid(*it, &status, WNOHANG);
    it = done == 0 ? std::next(it) : Children().erase(it);
  }
}

}  // namespace

bool SessionAvailable() {
  for (const char *name : {"WAYLAND_DISPLAY", "DISPLAY"}) {
    const char *value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

std::string HelperPath(const char *file_name) {
  std::vector<std::string> folders;
  if (const std::string own = OwnFolder(); !own.empty()) {
    folders = {own, own + "/tamvel", own + "/" TAMVEL_HELPER_FROM_BIN};
  }
  folders.emplace_back(TAMVEL_HELPER_DIR);
  for (const std::string &folder : folders) {
    if (folder.empty()) continue;
    std::string path = folder + "/" + file_name;
    if (access(path.c_str(), R_OK) == 0) return path;
  }
  return {};
}

void *ModuleSymbol(const char *file_name, const char *name) {
  static std::map<std::string, void *> modules;  // null: looked for and not loadable
  auto [it, first] = modules.try_emplace(file_name, nullptr);
  if (first) {
    const std::string path = HelperPath(file_name);
    if (!path.empty()) it->second = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  }
  return it->second ? dlsym(it->second, name) : nullptr;
}

pid_t Spawn(const std::string &program, const std::vector<std::string> &arguments,
            const std::vector<ChildFd> &fds, bool detach) {
  ReapEnded();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  bool input_mapped = false;
  for (const ChildFd &fd : fds) input_mapped |= fd.child_fd == 0;
  if (!input_mapped) posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  for (const ChildFd &fd : fds)
    posix_spawn_file_actions_adddup2(&actions, fd.parent_fd, fd.child_fd);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  if (detach) posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);

  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char *> argv;
  for (std::string &word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ) != 0) {
    pid = -1;
  }
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (pid > 0) Children().insert(pid);
  return pid;
}

int WaitFor(pid_t pid) {
  Children().erase(pid);
  int status = 0;
  pid_t done;
  while ((done = waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
  }
  return done == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool ReadByte(int fd, int timeout_ms, char *byte) {
  pollfd waiting{fd, POLLIN, 0};
  int ready;
  while ((ready = poll(&waiting, 1, timeout_ms)) < 0 && errno == EINTR) {
  }
  return ready == 1 && read(fd, byte, 1) == 1;
}

}  // namespace tamvel::posix::desktop
