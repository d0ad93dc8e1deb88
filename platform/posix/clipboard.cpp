// The clipboard stand-in: one process-wide clipboard that holds an enhanced metafile
// (CF_ENHMETAFILE). While it is open, another OpenClipboard fails, as when another program
// holds it. The clipboard owns the metafile it was given and deletes it when emptied.
// In a desktop session the metafile also goes to the desktop clipboard, where other
// programs paste it (also after this one has ended).
#include "platform/posix/desktop_handoff.h"
#include "platform/posix/handles.h"
#include "platform/posix/metafiles.h"
#include "platform/posix/objects.h"

using namespace tamvel::posix;

namespace {

struct Clipboard {
  bool open = false;
  HENHMETAFILE metafile = nullptr;
};

Clipboard &TheClipboard() {
  static Clipboard clipboard;
  return clipboard;
}

void Release(Clipboard &clipboard) {
  if (clipboard.metafile != nullptr) DeleteEnhMetaFile(clipboard.metafile);
  clipboard.metafile = nullptr;
}

}  // namespace

BOOL OpenClipboard(HWND) {
  Clipboard &clipboard = TheClipboard();
  if (clipboard.open) return FALSE;
  clipboard.open = true;
  return TRUE;
}

BOOL EmptyClipboard() {
  Clipboard &clipboard = TheClipboard();
  if (!clipboard.open) return FALSE;
  Release(clipboard);
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  Clipboard &clipboard = TheClipboard();
  if (!clipboard.open || format != CF_ENHMETAFILE || !Lookup<Metafile>(data)) return nullptr;
  if (clipboard.metafile != static_cast<HENHMETAFILE>(data)) Release(clipboard);
  clipboard.metafile = static_cast<HENHMETAFILE>(data);
  // The desktop copy is a service on top: whether it works changes no result.
  if (const Metafile *metafile = LookupMetafile(clipboard.metafile)) {
    tamvel::posix::desktop::OfferToClipboard(metafile->bytes());
  }
  return data;
}

HANDLE GetClipboardData(UINT format) {
  Clipboard &clipboard = TheClipboard();
  if (!clipboard.open || format != CF_ENHMETAFILE) return nullptr;
  return clipboard.metafile;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  Clipboard &clipboard = TheClipboard();
  return format == CF_ENHMETAFILE && clipboard.metafile != nullptr &&
         Lookup<Metafile>(clipboard.metafile);
}

BOOL CloseClipboard() {
  Clipboard &clipboard = TheClipboard();
  if (!clipboard.open) return FALSE;
  clipboard.open = false;
  return TRUE;
}
