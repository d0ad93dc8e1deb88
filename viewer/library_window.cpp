// `tamvel-viewer --window TITLE`: a library window on the screen. The client area is the
// memory file the library paints into (platform/posix/window_pixels.h); the window shows it
// at its size and repaints when the library's change count moves.
#include <glib-unix.h>
#include <gtk/gtk.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "platform/posix/window_pixels.h"
#include "viewer/modes.h"

namespace tamvel::viewer {
namespace {

constexpr int kMemoryFd = 3;
constexpr int kLibraryFd = 4;
constexpr guint kRepaintCheckMs = 30;

struct LibraryWindow {
  posix::WindowPixels *pixels = nullptr;
  uint32_t shown_changes = 0;
  GtkWidget *picture = nullptr;
  bool answered = false;
  bool done = false;
};

// The client area as a texture: cairo's RGB24 rows with the unused byte made opaque.
GdkTexture *Snapshot(posix::WindowPixels *pixels) {
  const size_t row = static_cast<size_t>(pixels->width) * 4;
  std::vector<uint32_t> copy(static_cast<size_t>(pixels->width) * pixels->height);
  for (int y = 0; y < pixels->height; ++y) {
    std::memcpy(&copy[static_cast<size_t>(y) * pixels->width],
                pixels->Pixels() + static_cast<size_t>(y) * pixels->stride, row);
  }
  for (uint32_t &pixel : copy) pixel |= 0xFF000000u;
  GBytes *bytes = g_bytes_new(copy.data(), copy.size() * 4);
  GdkTexture *texture =
      gdk_memory_texture_new(pixels->width, pixels->height, GDK_MEMORY_B8G8R8A8, bytes, row);
  g_bytes_unref(bytes);
  return texture;
}

void Repaint(LibraryWindow &window) {
  window.shown_changes = window.pixels->changes.load(std::memory_order_acquire);
  GdkTexture *texture = Snapshot(window.pixels);
  gtk_picture_set_paintable(GTK_PICTURE(window.picture), GDK_PAINTABLE(texture));
  g_object_unref(texture);
}

// The library's answer goes out once the window has been painted on the screen.
void AfterPaint(GdkFrameClock *, LibraryWindow *window) {
  if (window->answered) return;
  window->answered = true;
  const int fd = dup(kLibraryFd);
  Answer(fd);
}

// A mapped, sized file with a consistent header; null otherwise.
posix::WindowPixels *MapPixels() {
  struct stat info;
  if (fstat(kMemoryFd, &info) != 0 ||
      info.st_size < static_cast<off_t>(sizeof(posix::WindowPixels))) {
    return nullptr;
  }
  void *mapped = mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ | PROT_WRITE,
                      MAP_SHARED, kMemoryFd, 0);
  if (mapped == MAP_FAILED) return nullptr;
  auto *pixels = static_cast<posix::WindowPixels *>(mapped);
  const bool consistent =
      pixels->magic == posix::WindowPixels::kMagic && pixels->width > 0 && pixels->height > 0 &&
      pixels->stride >= pixels->width * 4 &&
      sizeof(posix::WindowPixels) + static_cast<uint64_t>(pixels->stride) * pixels->height <=
          static_cast<uint64_t>(info.st_size);
  return consistent ? pixels : nullptr;
}

}  // namespace

int RunWindow(const char *title) {
  LibraryWindow window;
  window.pixels = MapPixels();
  if (window.pixels == nullptr || !gtk_init_check()) return 1;

  GtkWidget *toplevel = gtk_window_new();
  gtk_window_set_title(GTK_WINDOW(toplevel), title);
  gtk_window_set_resizable(GTK_WINDOW(toplevel), FALSE);
  window.picture = gtk_picture_new();
  gtk_picture_set_can_shrink(GTK_PICTURE(window.picture), FALSE);
  gtk_widget_set_size_request(window.picture, window.pixels->width, window.pixels->height);
  gtk_window_set_child(GTK_WINDOW(toplevel), window.picture);
  Repaint(window);

  g_timeout_add(
      kRepaintCheckMs,
      +[](gpointer data) -> gboolean {
        auto *w = static_cast<LibraryWindow *>(data);
        if (w->pixels->changes.load(std::memory_order_acquire) != w->shown_changes) Repaint(*w);
        return G_SOURCE_CONTINUE;
      },
      &window);
  // The library closes its end when the window is destroyed or the program ends.
  g_unix_fd_add(
      kLibraryFd, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
      +[](gint, GIOCondition, gpointer data) -> gboolean {
        static_cast<LibraryWindow *>(data)->done = true;
        return G_SOURCE_REMOVE;
      },
      &window);
  g_signal_connect_swapped(toplevel, "close-request", G_CALLBACK(+[](LibraryWindow *w) {
                             w->done = true;
                             return FALSE;
                           }),
                           &window);
  g_signal_connect(toplevel, "map", G_CALLBACK(+[](GtkWidget *widget, LibraryWindow *w) {
                     g_signal_connect(gtk_widget_get_frame_clock(widget), "after-paint",
                                      G_CALLBACK(AfterPaint), w);
                   }),
                   &window);
  gtk_window_present(GTK_WINDOW(toplevel));
  while (!window.done) g_main_context_iteration(nullptr, TRUE);
  return 0;
}

}  // namespace tamvel::viewer
