// The window stand-in: a client area of a given size, for the calls that play a metafile
// into a window (GetClientRect). Windows are made by TamvelCreateWindow.
#pragma once

#include "platform/posix/gdi_object.h"

namespace tamvel::posix {

struct Window final : GdiObject {
  static constexpr ObjectKind kKind = ObjectKind::kWindow;
  ObjectKind Kind() const override { return kKind; }
  DWORD Win32Type() const override { return 0; }  // not a GDI object

  int client_width = 0;
  int client_height = 0;
};

}  // namespace tamvel::posix
