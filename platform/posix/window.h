// Windows made by TamvelCreateWindow: a client area of a given size with pixels of its own
// that its DCs paint into. In a desktop session the viewer program shows the client area in
// a top-level window on the screen (window_pixels.h is what both sides read), repainting it
// after every change, until the window is destroyed or the program ends.
#pragma once

#include <sys/types.h>

#include <memory>
#include <vector>

#include "platform/posix/gdi_object.h"

typedef struct _cairo_surface cairo_surface_t;

namespace tamvel::posix {

struct SharedPixels;

class Window final : public GdiObject {
 public:
  static constexpr ObjectKind kKind = ObjectKind::kWindow;
  ObjectKind Kind() const override { return kKind; }
  DWORD Win32Type() const override { return 0; }  // not a GDI object

  Window(int client_width, int client_height);
  ~Window() override;

  // Shows the client area on the screen; false when there is no desktop session or the
  // viewer could not show it (the window then stays off the screen).
  bool Show();
  // A new DC on the client area; null for an empty one.
  HDC NewDc();
  // Closes the window on the screen and deletes the DCs still open.
  void Close();

  const int client_width;
  const int client_height;

 private:
  std::shared_ptr<SharedPixels> memory_;  // shared with the viewer; null without pixels
  cairo_surface_t *surface_ = nullptr;
  std::vector<HDC> dcs_;
  int viewer_socket_ = -1;  // closing it closes the window on the screen
};

}  // namespace tamvel::posix
