// The freedesktop side of file-type registration. The classes-root hive stays the record;
// the files here are derived from it and rewritten whenever it changes.
#include "platform/posix/file_types_mirror.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "platform/posix/code_page.h"
#include "platform/posix/safe_file.h"

extern char **environ;

namespace tamvel::posix::registry {
namespace {

constexpr const char *kFilePrefix = "tamvel-";

struct FileType {
  std::string class_name;
  std::string description;
  std::string command;
  std::string icon;
  std::vector<std::string> extensions;
};

// The text of a REG_SZ value up to its NUL.
std::string DefaultText(const Key &key) {
  const Value *value = key.FindValue("");
  if (value == nullptr || (value->type != REG_SZ && value->type != 2)) return {};
  return value->data.substr(0, value->data.find('\0'));
}

const Key *FindPath(const Key &root, std::initializer_list<std::string> path) {
  return root.Find(std::vector<std::string>(path));
}

// File names and MIME subtypes keep letters, digits, '.', '_' and '-'; a class name that
// needed replacing gets a hash of its bytes so that two such names never meet.
std::string ClassId(const std::string &class_name) {
  std::string id;
  bool replaced = false;
  for (unsigned char c : class_name) {
    bool keep =
        (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
    if (c >= 'A' && c <= 'Z') {
      id += static_cast<char>(c - 'A' + 'a');
    } else {
      id += keep ? static_cast<char>(c) : '_';
      replaced |= !keep;
    }
  }
  if (replaced) {
    uint32_t hash = 2166136261u;
    for (unsigned char c : class_name) hash = (hash ^ c) * 16777619u;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "-%08x", hash);
    id += suffix;
  }
  return id;
}

struct Escape {
  char c;
  const char *replacement;
};

std::string Escaped(const std::string &text, std::initializer_list<Escape> escapes) {
  std::string out;
  for (char c : text) {
    const char *replacement = nullptr;
    for (const Escape &escape : escapes) {
      if (escape.c == c) replacement = escape.replacement;
    }
    if (replacement) {
      out += replacement;
    } else {
      out += c;
    }
  }
  return out;
}

std::string XmlEscaped(const std::string &text) {
  return Escaped(text, {{'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}});
}

// Desktop-entry string values: backslash, newline, tab and carriage return are escaped.
std::string DesktopEscaped(const std::string &text) {
  return Escaped(text, {{'\\', "\\\\"}, {'\n', "\\n"}, {'\t', "\\t"}, {'\r', "\\r"}});
}

std::map<std::string, FileType> CollectFileTypes(const Key &root) {
  std::map<std::string, FileType> types;  // by class id
  for (const auto &[folded, extension] : root.children) {
    if (extension.name.size() < 2 || extension.name[0] != '.') continue;
    std::string class_name = DefaultText(extension);
    if (class_name.empty()) continue;
    const Key *class_key = FindPath(root, {class_name});
    if (class_key == nullptr) continue;  // registered halfway: nothing to show yet
    FileType &type = types[ClassId(class_name)];
    type.class_name = class_name;
    type.description = DefaultText(*class_key);
    if (const Key *command = FindPath(root, {class_name, "Shell", "Open", "Command"})) {
      type.command = DefaultText(*command);
    }
    if (const Key *icon = FindPath(root, {class_name, "DefaultIcon"})) {
      type.icon = DefaultText(*icon);
    }
    type.extensions.push_back(extension.name);
  }
  return types;
}

// Extensions the desktop already has a MIME type for: a class registered for them opens that
// type (as the user's default) instead of declaring a type of its own, so registering .emf
// does not redefine what an .emf file is.
struct StandardType {
  const char *extension;
  const char *mime_type;
};
constexpr StandardType kStandardTypes[] = {{".emf", "image/emf"}, {".wmf", "image/wmf"}};

// The standard type of every extension of the class, or empty when any has none.
std::string StandardMimeType(const FileType &type) {
  std::string found;
  for (const std::string &extension : type.extensions) {
    const char *match = nullptr;
    for (const StandardType &standard : kStandardTypes) {
      if (strcasecmp(extension.c_str(), standard.extension) == 0) match = standard.mime_type;
    }
    if (match == nullptr || (!found.empty() && found != match)) return {};
    found = match;
  }
  return found;
}

// `text` (a mimeapps.list) with `mime_type` opened by `desktop_file` by default.
std::string WithDefaultApplication(const std::string &text, const std::string &mime_type,
                                   const std::string &desktop_file) {
  const std::string header = "[Default Applications]", line = mime_type + "=" + desktop_file;
  std::string out;
  bool in_section = false, written = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string current = text.substr(start, end - start);
    start = end + 1;
    if (!current.empty() && current[0] == '[') {
      if (in_section && !written) out += line + "\n", written = true;
      in_section = current == header;
    } else if (in_section && current.rfind(mime_type + "=", 0) == 0) {
      if (!written) out += line + "\n", written = true;
      continue;
    }
    out += current + "\n";
  }
  if (!written) out += (in_section ? "" : header + "\n") + line + "\n";
  return out;
}

std::string ReadText(const std::string &path) {
  std::string text;
  if (FILE *file = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
    std::fclose(file);
  }
  return text;
}

// What the desktop shows for the type: its description, else its class name.
std::string DisplayName(const FileType &type) {
  return Cp932ToUtf8(type.description.empty() ? type.class_name : type.description);
}

std::string MimePackage(const std::string &mime_type, const FileType &type) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<!-- Written by tamvel from the registered file type; rewritten when it changes. -->\n";
  out += "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  out += "  <mime-type type=\"" + mime_type + "\">\n";
  out += "    <comment>" + XmlEscaped(DisplayName(type)) + "</comment>\n";
  for (const std::string &extension : type.extensions) {
    out += "    <glob pattern=\"*" + XmlEscaped(Cp932ToUtf8(extension)) + "\"/>\n";
  }
  out += "  </mime-type>\n</mime-info>\n";
  return out;
}

// The icon of "path,index": used when it is an image the desktop can show.
std::string IconPath(const std::string &icon) {
  std::string path = icon.substr(0, icon.rfind(','));
  for (const char *suffix : {".png", ".svg", ".xpm"}) {
    size_t n = std::char_traits<char>::length(suffix);
    if (path.size() > n && path.compare(path.size() - n, n, suffix) == 0) return path;
  }
  return {};
}

std::string DesktopEntry(const std::string &mime_type, const FileType &type) {
  std::string out = "[Desktop Entry]\n";
  out += "# Written by tamvel from the registered file type; rewritten when it changes.\n";
  out += "Type=Application\n";
  out += "Name=" + DesktopEscaped(DisplayName(type)) + "\n";
  out += "Exec=" + DesktopEscaped(Cp932ToUtf8(DesktopExecLine(type.command))) + "\n";
  out += "MimeType=" + mime_type + ";\n";
  out += "NoDisplay=true\n";
  if (std::string icon = IconPath(type.icon); !icon.empty()) {
    out += "Icon=" + DesktopEscaped(Cp932ToUtf8(icon)) + "\n";
  }
  return out;
}

bool SameContent(const std::string &path, const std::string &text) {
  CheckedReader file;
  std::string existing;
  return file.Open(path.c_str(), CheckedReader::Links::kRefuse) == CheckedReader::Status::kOk &&
         file.ReadRest(0, text.size(), existing) == CheckedReader::Status::kOk && existing == text;
}

// Writes `text` to `path` unless it is already there; true when the file changed. The file
// is readable by all and writable by its owner alone (0644, less the umask): anyone who could
// edit a desktop entry could change the command it runs.
bool Update(const std::string &path, const std::string &text) {
  if (SameContent(path, text)) return false;
  AtomicFile file;
  return file.Open(path, 0644) && file.Write(text) && file.Commit();
}

// Removes our files in `directory` (tamvel-*<suffix>) that are not in `keep`.
bool RemoveStale(const std::string &directory, const std::string &suffix,
                 const std::set<std::string> &keep) {
  DIR *dir = opendir(directory.c_str());
  if (dir == nullptr) return false;
  bool removed = false;
  while (dirent *entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name.rfind(kFilePrefix, 0) != 0 || name.size() <= suffix.size() ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0 || keep.count(name)) {
      continue;
    }
    removed |= std::remove((directory + "/" + name).c_str()) == 0;
  }
  closedir(dir);
  return removed;
}

bool MakeDirectory(const std::string &path) {
  std::string partial;
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') {
      partial = path.substr(0, i);
      mkdir(partial.c_str(), 0755);
    }
  }
  return access(path.c_str(), W_OK) == 0;
}

// Runs a cache tool if it is installed, quietly; its absence changes nothing.
void RunTool(const char *tool, const std::string &argument) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::string program = tool;
  std::string arg = argument;
  char *argv[] = {program.data(), arg.data(), nullptr};
  pid_t pid;
  if (posix_spawnp(&pid, tool, &actions, nullptr, argv, environ) == 0) {
    int status;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  posix_spawn_file_actions_destroy(&actions);
}

// An XDG base folder: the variable when it holds an absolute path, else ~/<fallback>.
std::string XdgFolder(const char *variable, const char *fallback) {
  if (const char *value = std::getenv(variable); value && *value == '/') return value;
  const char *home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/" + fallback;
}

std::string ConfigHome() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }
std::string DataHome() { return XdgFolder("XDG_DATA_HOME", ".local/share"); }

}  // namespace

std::string DesktopExecLine(std::string_view command) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < command.size()) {
    while (i < command.size() && command[i] == ' ') ++i;
    if (i >= command.size()) break;
    std::string word;
    bool quoted = false;
    while (i < command.size() && (quoted || command[i] != ' ')) {
      if (command[i] == '"') {
        quoted = !quoted;
      } else {
        word += command[i];
      }
      ++i;
    }
    words.push_back(word);
  }
  std::string line;
  for (const std::string &word : words) {
    if (!line.empty()) line += ' ';
    if (word == "%1" || word == "%L") {
      line += "%f";
      continue;
    }
    std::string escaped;
    bool needs_quotes = word.empty();
    for (char c : word) {
      if (std::string_view(" \t\n\"'\\><~|&;$*?#()`").find(c) != std::string_view::npos) {
        needs_quotes = true;
      }
      if (c == '"' || c == '`' || c == '$' || c == '\\') escaped += '\\';
      escaped += c;
      if (c == '%') escaped += '%';
    }
    line += needs_quotes ? '"' + escaped + '"' : escaped;
  }
  return line;
}

void MirrorFileTypes(const Key &classes_root) {
  std::string data = DataHome();
  std::string packages = data + "/mime/packages";
  std::string applications = data + "/applications";
  std::set<std::string> package_files, desktop_files;
  bool mime_changed = false, desktop_changed = false;
  for (const auto &[id, type] : CollectFileTypes(classes_root)) {
    const std::string standard = StandardMimeType(type);
    const std::string mime_type = standard.empty() ? "application/x-tamvel-" + id : standard;
    std::string base = kFilePrefix + id;
    if (standard.empty() && MakeDirectory(packages)) {
      package_files.insert(base + ".xml");
      mime_changed |= Update(packages + "/" + base + ".xml", MimePackage(mime_type, type));
    }
    if (!type.command.empty() && MakeDirectory(applications)) {
      desktop_files.insert(base + ".desktop");
      desktop_changed |=
          Update(applications + "/" + base + ".desktop", DesktopEntry(mime_type, type));
      if (!standard.empty() && MakeDirectory(ConfigHome())) {
        const std::string defaults = ConfigHome() + "/mimeapps.list";
        Update(defaults, WithDefaultApplication(ReadText(defaults), standard, base + ".desktop"));
      }
    }
  }
  mime_changed |= RemoveStale(packages, ".xml", package_files);
  desktop_changed |= RemoveStale(applications, ".desktop", desktop_files);
  if (mime_changed) RunTool("update-mime-database", data + "/mime");
  if (desktop_changed) RunTool("update-desktop-database", applications);
}

}  // namespace tamvel::posix::registry
