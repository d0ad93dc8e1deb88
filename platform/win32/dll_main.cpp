// The DLL entry point of tamvel.dll: process attach and detach run the library entry point;
// a failed attach makes the DLL fail to load.
#include <windows.h>

#include "src/entry/library_entry.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      return tamvel::LibraryEntry(tamvel::EntryReason::kProcessAttach);
    case DLL_PROCESS_DETACH:
      return tamvel::LibraryEntry(tamvel::EntryReason::kProcessDetach);
    case DLL_THREAD_ATTACH:
      return tamvel::LibraryEntry(tamvel::EntryReason::kThreadAttach);
    default:
      return tamvel::LibraryEntry(tamvel::EntryReason::kThreadDetach);
  }
}
