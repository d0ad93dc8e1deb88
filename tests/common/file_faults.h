// Faults of the file system for the Linux-only suites: a child process that must finish in
// time (a read that would block on a FIFO), a file size limit, a full disk (a small tmpfs in a
// private mount namespace, root only), and the temporary files a failed write must not leave.
#pragma once

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace tamvel::test {

constexpr int kChildTimedOut = -1;
constexpr int kChildCrashed = -2;
constexpr int kChildSkipped = 77;  // the fault could not be set up here

// Runs `body` in a child process and returns its result (0..255), kChildCrashed when it died
// of a signal, or kChildTimedOut when it did not end within `seconds` (it is killed then).
inline int RunInChild(const std::function<int()> &body, int seconds = 10) {
  const pid_t child = fork();
  if (child == 0) _exit(body() & 0xFF);
  if (child < 0) return kChildCrashed;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return kChildTimedOut;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : kChildCrashed;
}

// `body` in a child whose files may not grow beyond `bytes` (writes fail with EFBIG).
inline int RunWithFileSizeLimit(rlim_t bytes, const std::function<int()> &body) {
  return RunInChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{bytes, bytes};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return kChildSkipped;
    return body();
  });
}

// `body` in a child that sees a tmpfs of `bytes` on `folder` (writes fail with ENOSPC once it
// is full); kChildSkipped where mounting is not allowed (not root, no namespaces).
inline int RunOnFullDisk(const std::filesystem::path &folder, size_t bytes,
                         const std::function<int()> &body) {
  return RunInChild([&] {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr)) {
      return kChildSkipped;
    }
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
    if (mount("tamvel-test", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) {
      return kChildSkipped;
    }
    return body();
  });
}

// The hidden temporary files (".name.<random>.tmp") in `folder`.
inline std::vector<std::string> TemporariesIn(const std::filesystem::path &folder) {
  std::vector<std::string> found;
  std::error_code error;
  for (const auto &entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() > 4 && name[0] == '.' && name.substr(name.size() - 4) == ".tmp") {
      found.push_back(name);
    }
  }
  return found;
}

}  // namespace tamvel::test
