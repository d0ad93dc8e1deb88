// Load and unload of libtamvel.so: the shared library's constructor and destructor run the
// library entry point. A failed attach cannot refuse the load here; it leaves the library
// unattached, and every exported call then does nothing.
#include "src/entry/library_entry.h"

namespace {

__attribute__((constructor)) void TamvelLoad() {
  tamvel::LibraryEntry(tamvel::EntryReason::kProcessAttach);
}

__attribute__((destructor)) void TamvelUnload() {
  tamvel::LibraryEntry(tamvel::EntryReason::kProcessDetach);
}

}  // namespace
