// Process attach builds the page table and the per-page state; process detach releases the
// process palette, the pattern bitmap, every page (last to first) and the tables.
#include "src/entry/library_entry.h"

#include "src/pages/page_table.h"

namespace tamvel {

int LibraryEntry(EntryReason reason) {
  switch (reason) {
    case EntryReason::kProcessAttach:
      return AttachLibrary() ? 1 : 0;
    case EntryReason::kProcessDetach:
      DetachLibrary();
      return 1;
    default:
      return 1;
  }
}

}  // namespace tamvel
