// The library's entry point, shared by the platforms' load/unload glue (platform/posix/
// entry.cpp, platform/win32/dll_main.cpp).
#pragma once

namespace tamvel {

enum class EntryReason { kProcessAttach, kProcessDetach, kThreadAttach, kThreadDetach };

// 1 on success, 0 when attaching failed (the library must then not be used: every exported
// call checks for it and does nothing). Thread notifications do nothing.
int LibraryEntry(EntryReason reason);

}  // namespace tamvel
