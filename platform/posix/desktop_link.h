// The library's way to the desktop without depending on it: the desktop programs and modules
// (the viewer, the CUPS module) are separate files found beside the library, started or
// loaded only when a call needs them. A batch program never touches them.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace tamvel::posix::desktop {

// True when a desktop session is there to show windows and own the clipboard
// (WAYLAND_DISPLAY or DISPLAY is set).
bool SessionAvailable();

// The path of a helper file: beside the library (or the program it is linked into), in its
// tamvel/ folder, in the helper folder seen from an installed bin/, or in the installed
// helper folder; empty when there is none.
std::string HelperPath(const char *file_name);

// The symbol `name` of the module `file_name`, loaded on first use and kept; null when the
// module or the symbol is missing.
void *ModuleSymbol(const char *file_name, const char *name);

// A file descriptor the child gets as `child_fd` (0, 1, 3, ...).
struct ChildFd {
  int parent_fd;
  int child_fd;
};

// Starts `program` with `arguments` (argv[1...]), the given descriptors and, unless they
// are mapped, standard input from /dev/null; `detach` puts it in a session of its own so
// that it outlives the caller's terminal. Children that ended are reaped on every call.
// Returns the process id, or -1.
pid_t Spawn(const std::string &program, const std::vector<std::string> &arguments,
            const std::vector<ChildFd> &fds, bool detach);

// Waits for a child started by Spawn; its exit status, or -1 when it did not exit normally.
int WaitFor(pid_t pid);

// Reads one byte from `fd` within `timeout_ms`; false on time-out, end of file or error.
bool ReadByte(int fd, int timeout_ms, char *byte);

}  // namespace tamvel::posix::desktop
