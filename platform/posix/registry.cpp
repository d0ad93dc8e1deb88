// The registry calls of the stand-in over the file store (registry_store.h). A key handle
// names a hive and a path; every call sees the store as it is then, so handles opened before
// another program changed the store see its changes, as on Windows.
#include <cstring>
#include <string>
#include <vector>

#include "platform/posix/host_handles.h"
#include "platform/posix/registry_store.h"
#include "platform/posix/win32_api.h"

namespace tamvel::posix {
namespace {

using registry::Hive;
using registry::Key;

constexpr REGSAM kWriteAccess = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

// A key: its hive, the levels below the hive root in their stored case, and the access it
// was opened with.
struct KeyPath {
  Hive hive = Hive::kCurrentUser;
  std::vector<std::string> path;
  REGSAM access = 0;
};

class RegistryKey : public HostObject {
 public:
  static constexpr ObjectKind kKind = ObjectKind::kRegistryKey;
  explicit RegistryKey(KeyPath key) : key(std::move(key)) {}
  ObjectKind Kind() const override { return kKind; }
  KeyPath key;
};

// The key behind a handle: the predefined roots or a key opened before.
bool Resolve(HKEY handle, KeyPath &key) {
  if (handle == HKEY_CURRENT_USER || handle == HKEY_CLASSES_ROOT) {
    key = {
        handle == HKEY_CURRENT_USER ? Hive::kCurrentUser : Hive::kClassesRoot, {}, KEY_ALL_ACCESS};
    return true;
  }
  auto object = LookupHost<RegistryKey>(handle);
  if (!object) return false;
  key = object->key;
  return true;
}

// The key named by `handle` + `sub_key` for RegCreateKeyExA and RegOpenKeyExA, which hand
// out a new handle in `result` (cleared first).
LSTATUS ResolveSubKey(HKEY handle, LPCSTR sub_key, PHKEY result, KeyPath &key) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  if (!Resolve(handle, key)) return ERROR_INVALID_HANDLE;
  std::vector<std::string> below;
  if (sub_key != nullptr && !registry::SplitKeyPath(sub_key, below)) return ERROR_INVALID_PARAMETER;
  if (key.path.size() + below.size() > registry::kMaxKeyDepth) return ERROR_INVALID_PARAMETER;
  key.path.insert(key.path.end(), below.begin(), below.end());
  return ERROR_SUCCESS;
}

// The stored names of the levels of `path`, which must exist in `root`.
std::vector<std::string> StoredNames(const Key &root, const std::vector<std::string> &path) {
  std::vector<std::string> names;
  const Key *key = &root;
  for (const std::string &name : path) {
    key = &key->children.at(registry::FoldName(name));
    names.push_back(key->name);
  }
  return names;
}

LSTATUS NewHandle(KeyPath key, PHKEY result) {
  uint32_t value = AddHostObject(std::make_shared<RegistryKey>(std::move(key)));
  if (value == 0) return ERROR_NOT_ENOUGH_MEMORY;
  *result = HandleFromValue<HKEY>(value);
  return ERROR_SUCCESS;
}

// The registry calls never throw: a failed allocation is a failed call.
template <typename Body>
LSTATUS Guarded(Body body) {
  try {
    return body();
  } catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
}

}  // namespace
}  // namespace tamvel::posix

using namespace tamvel::posix;

LSTATUS RegCreateKeyExA(HKEY handle, LPCSTR sub_key, DWORD, LPSTR, DWORD, REGSAM access,
                        SECURITY_ATTRIBUTES *, PHKEY result, DWORD *disposition) {
  return Guarded([&]() -> LSTATUS {
    KeyPath key;
    if (LSTATUS status = ResolveSubKey(handle, sub_key, result, key)) return status;
    bool created = false;
    LSTATUS status = registry::WriteHive(key.hive, [&](registry::HiveChanges &changes) -> LSTATUS {
      created = changes.CreateKey(key.path);
      key.path = StoredNames(changes.root(), key.path);
      return ERROR_SUCCESS;
    });
    if (status != ERROR_SUCCESS) return status;
    if (disposition != nullptr) {
      *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    }
    key.access = access;
    return NewHandle(std::move(key), result);
  });
}

LSTATUS RegOpenKeyExA(HKEY handle, LPCSTR sub_key, DWORD, REGSAM access, PHKEY result) {
  return Guarded([&]() -> LSTATUS {
    KeyPath key;
    if (LSTATUS status = ResolveSubKey(handle, sub_key, result, key)) return status;
    auto find = [&](const Key &root) -> LSTATUS {
      if (root.Find(key.path) == nullptr) return ERROR_FILE_NOT_FOUND;
      key.path = StoredNames(root, key.path);
      return ERROR_SUCCESS;
    };
    // Asking for write access to a store that cannot be written is refused at once, as
    // Windows refuses it for a key whose permissions forbid writing.
    LSTATUS status =
        (access & kWriteAccess)
            ? registry::WriteHive(
                  key.hive, [&](registry::HiveChanges &changes) { return find(changes.root()); })
            : registry::ReadHive(key.hive, find);
    if (status != ERROR_SUCCESS) return status;
    key.access = access;
    return NewHandle(std::move(key), result);
  });
}

LSTATUS RegQueryValueExA(HKEY handle, LPCSTR name, DWORD *, DWORD *type, BYTE *data, DWORD *size) {
  return Guarded([&]() -> LSTATUS {
    KeyPath key;
    if (!Resolve(handle, key)) return ERROR_INVALID_HANDLE;
    if (!(key.access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
    if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
    return registry::ReadHive(key.hive, [&](const Key &root) -> LSTATUS {
      const Key *found = root.Find(key.path);
      if (found == nullptr) return registry::kErrorKeyDeleted;
      const registry::Value *value = found->FindValue(name ? name : "");
      if (value == nullptr) return ERROR_FILE_NOT_FOUND;
      if (type != nullptr) *type = value->type;
      DWORD needed = static_cast<DWORD>(value->data.size());
      LSTATUS status = ERROR_SUCCESS;
      if (data != nullptr) {
        if (*size < needed) {
          status = ERROR_MORE_DATA;
        } else if (needed > 0) {
          std::memcpy(data, value->data.data(), needed);
        }
      }
      if (size != nullptr) *size = needed;
      return status;
    });
  });
}

LSTATUS RegSetValueExA(HKEY handle, LPCSTR name, DWORD, DWORD type, const BYTE *data, DWORD size) {
  return Guarded([&]() -> LSTATUS {
    KeyPath key;
    if (!Resolve(handle, key)) return ERROR_INVALID_HANDLE;
    if (!(key.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    std::string value_name = name ? name : "";
    if ((data == nullptr && size > 0) || size > registry::kMaxValueBytes ||
        value_name.size() > registry::kMaxValueNameBytes) {
      return ERROR_INVALID_PARAMETER;
    }
    std::string bytes = data ? std::string(reinterpret_cast<const char *>(data), size) : "";
    return registry::WriteHive(key.hive, [&](registry::HiveChanges &changes) -> LSTATUS {
      return changes.SetValue(key.path, value_name, type, std::move(bytes))
                 ? ERROR_SUCCESS
                 : registry::kErrorKeyDeleted;
    });
  });
}

LSTATUS RegCloseKey(HKEY handle) {
  if (handle == HKEY_CURRENT_USER || handle == HKEY_CLASSES_ROOT) return ERROR_SUCCESS;
  if (!LookupHost<RegistryKey>(handle)) return ERROR_INVALID_HANDLE;
  RemoveHostObject(HandleValue(handle));
  return ERROR_SUCCESS;
}
