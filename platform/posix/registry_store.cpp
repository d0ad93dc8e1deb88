// The registry store: a text file per hive (registry_file.h), changed under a lock. Each
// program keeps the parsed hive while the file is unchanged and reads only what others
// appended; a call that changes something appends one block. So a call costs what it
// changes, not what the store holds.
#include "platform/posix/registry_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>

#include "platform/posix/file_types_mirror.h"
#include "platform/posix/registry_file.h"

namespace tamvel::posix::registry {
namespace {

std::string HomeDirectory() {
  if (const char *home = std::getenv("HOME"); home && *home) return home;
  if (const passwd *entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return "/tmp";
}

const char *HiveFileName(Hive hive) {
  return hive == Hive::kCurrentUser ? "current-user.reg" : "classes-root.reg";
}

bool MakeDirectories(const std::string &path) {
  struct stat info;
  if (stat(path.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeDirectories(path.substr(0, slash))) {
    return false;
  }
  return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

// The lock of the store; released when it goes out of scope.
class StoreLock {
 public:
  explicit StoreLock(const std::string &directory, bool write) {
    std::string path = directory + "/lock";
    fd_ = open(path.c_str(),
               (write ? O_RDWR | O_CREAT : O_RDONLY) | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    while (flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~StoreLock() {
    if (fd_ >= 0) close(fd_);
  }
  StoreLock(const StoreLock &) = delete;
  StoreLock &operator=(const StoreLock &) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Never destroyed: a program may still use the registry from its own exit handlers.
HiveFile &FileOf(Hive hive) {
  static HiveFile *const files = new HiveFile[2];
  return files[hive == Hive::kCurrentUser ? 0 : 1];
}

LSTATUS Transaction(Hive hive, bool write, const WriteBody &body) {
  std::string directory = StoreDirectory();
  if (write && (!MakeDirectories(directory) || access(directory.c_str(), W_OK | X_OK) != 0)) {
    return ERROR_ACCESS_DENIED;
  }
  static std::mutex cache_mutex;
  std::lock_guard<std::mutex> guard(cache_mutex);
  StoreLock lock(directory, write);
  if (write && !lock.Held()) return ERROR_ACCESS_DENIED;
  const std::string path = directory + "/" + HiveFileName(hive);
  HiveFile &file = FileOf(hive);
  try {
    if (LSTATUS status = file.Refresh(path, lock.Held()); status != ERROR_SUCCESS) return status;
    HiveChanges changes(file.root());
    const LSTATUS status = body(changes);
    if (changes.empty()) return status;
    if (!write || status != ERROR_SUCCESS || !file.Persist(changes.Block())) {
      file.Forget();  // the hive holds changes the file does not
      return status != ERROR_SUCCESS ? status : kErrorRegistryIoFailed;
    }
  } catch (...) {
    file.Forget();
    throw;
  }
  if (hive == Hive::kClassesRoot) MirrorFileTypes(file.root());
  return ERROR_SUCCESS;
}

}  // namespace

bool HiveChanges::CreateKey(const std::vector<std::string> &path) {
  Key *level = &root_;
  bool created = false;
  for (const std::string &name : path) {
    auto [it, is_new] = level->children.try_emplace(FoldName(name));
    if (is_new) it->second.name = name;
    created |= is_new;
    level = &it->second;
  }
  if (created) {
    Recorded(path);
    empty_ = false;
  }
  return created;
}

bool HiveChanges::SetValue(const std::vector<std::string> &path, std::string_view name, DWORD type,
                           std::string data) {
  Key *key = root_.Find(path);
  if (key == nullptr) return false;
  const std::string folded = FoldName(name);
  Value &value = key->values[folded];
  if (value.name.empty()) value.name = std::string(name);
  value.type = type;
  value.data = std::move(data);
  Recorded(path).values[folded] = value;
  empty_ = false;
  return true;
}

Key &HiveChanges::Recorded(const std::vector<std::string> &path) {
  const Key *stored = &root_;
  Key *recorded = &changes_;
  for (const std::string &name : path) {
    const std::string folded = FoldName(name);
    stored = &stored->children.at(folded);
    recorded = &recorded->children[folded];
    recorded->name = stored->name;
  }
  return *recorded;
}

std::string StoreDirectory() {
  if (const char *dir = std::getenv("TAMVEL_REGISTRY_DIR"); dir && *dir) return dir;
  const char *config = std::getenv("XDG_CONFIG_HOME");
  std::string base = (config && *config == '/') ? config : HomeDirectory() + "/.config";
  return base + "/tamvel/registry";
}

LSTATUS ReadHive(Hive hive, const ReadBody &body) {
  return Transaction(hive, false, [&body](HiveChanges &changes) { return body(changes.root()); });
}

LSTATUS WriteHive(Hive hive, const WriteBody &body) { return Transaction(hive, true, body); }

}  // namespace tamvel::posix::registry
