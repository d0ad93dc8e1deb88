#include "platform/posix/window.h"

#include <cairo.h>
#include <errno.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

#include <new>

#include "platform/posix/cairo_device.h"
#include "platform/posix/dc.h"
#include "platform/posix/desktop_link.h"
#include "platform/posix/handles.h"
#include "platform/posix/window_pixels.h"

namespace tamvel::posix {

// Client areas larger than a raster image may be have a size but no pixels.
constexpr int kMaxSide = 32767;
constexpr int64_t kMaxPixels = 64LL * 1024 * 1024;

// The memory file of a client area, mapped; kept alive by the window and each of its DCs.
struct SharedPixels {
  int fd = -1;
  size_t size = 0;
  WindowPixels *header = nullptr;

  ~SharedPixels() {
    if (header) munmap(header, size);
    if (fd >= 0) close(fd);
  }
};

Window::Window(int width, int height) : client_width(width), client_height(height) {
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide ||
      int64_t{width} * height > kMaxPixels) {
    return;
  }
  const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width);
  auto memory = std::make_shared<SharedPixels>();
  memory->size = sizeof(WindowPixels) + static_cast<size_t>(stride) * height;
  memory->fd = memfd_create("tamvel-window", MFD_CLOEXEC);
  if (memory->fd < 0 || ftruncate(memory->fd, static_cast<off_t>(memory->size)) != 0) return;
  void *mapped = mmap(nullptr, memory->size, PROT_READ | PROT_WRITE, MAP_SHARED, memory->fd, 0);
  if (mapped == MAP_FAILED) return;
  memory->header = new (mapped) WindowPixels{WindowPixels::kMagic, width, height, stride, {0}, {}};
  surface_ = cairo_image_surface_create_for_data(memory->header->Pixels(), CAIRO_FORMAT_RGB24,
                                                 width, height, stride);
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface_);
    surface_ = nullptr;
    return;
  }
  cairo_t *cr = cairo_create(surface_);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_destroy(cr);
  memory_ = std::move(memory);
}

Window::~Window() {
  Close();
  if (surface_) cairo_surface_destroy(surface_);
}

bool Window::Show() {
  if (!memory_ || !desktop::SessionAvailable()) return false;
  const std::string viewer = desktop::HelperPath("tamvel-viewer");
  int ends[2];
  if (viewer.empty() || socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
    return false;
  }
  const pid_t pid = desktop::Spawn(viewer, {"--window", program_invocation_short_name},
                                   {{memory_->fd, 3}, {ends[1], 4}}, false);
  close(ends[1]);
  char answer = 0;
  // The viewer answers once the window is on the screen.
  if (pid < 0 || !desktop::ReadByte(ends[0], 10000, &answer) || answer != 'R') {
    close(ends[0]);
    return false;
  }
  viewer_socket_ = ends[0];
  return true;
}

HDC Window::NewDc() {
  if (!surface_) return nullptr;
  HDC dc = CairoDevice::CreateImageDc(surface_);
  if (dc == nullptr) return nullptr;
  CairoDevice::Of(dc)->SetPaintObserver(
      [memory = memory_] { memory->header->changes.fetch_add(1, std::memory_order_release); });
  dcs_.push_back(dc);
  return dc;
}

void Window::Close() {
  for (HDC dc : dcs_) {
    // A handle deleted by the caller may since name another DC: only ours are deleted.
    if (CairoDevice *device = CairoDevice::Of(dc); device && device->surface() == surface_) {
      device->Finish();
      DestroyDcHandle(dc);
    }
  }
  dcs_.clear();
  if (viewer_socket_ >= 0) close(viewer_socket_);
  viewer_socket_ = -1;
}

}  // namespace tamvel::posix

using namespace tamvel::posix;

BOOL GetClientRect(HWND hwnd, RECT *rect) {
  std::shared_ptr<Window> window = Lookup<Window>(hwnd);
  if (!window || rect == nullptr) return FALSE;
  *rect = {0, 0, window->client_width, window->client_height};
  return TRUE;
}
