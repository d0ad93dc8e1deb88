// `tamvel-viewer --clipboard`: owns the desktop clipboard for a program that has ended. It
// offers the metafile as image/png, image/svg+xml and image/emf and leaves when another
// program takes the clipboard.
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "viewer/modes.h"
#include "viewer/pages.h"

namespace tamvel::viewer {
namespace {

constexpr int kLibraryFd = 3;

std::vector<uint8_t> ReadAll(int fd) {
  std::vector<uint8_t> data;
  uint8_t buffer[65536];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    data.insert(data.end(), buffer, buffer + got);
  }
  return data;
}

GdkContentProvider *Offer(const char *mime_type, GBytes *bytes) {
  GdkContentProvider *provider = gdk_content_provider_new_for_bytes(mime_type, bytes);
  g_bytes_unref(bytes);
  return provider;
}

}  // namespace

int RunClipboardOwner() {
  const std::vector<uint8_t> emf = ReadAll(kLibraryFd);
  GBytes *png = nullptr, *svg = nullptr;
  if (!ClipboardForms(emf, &png, &svg) || !gtk_init_check()) {
    if (png) g_bytes_unref(png);
    if (svg) g_bytes_unref(svg);
    return 1;
  }
  GdkContentProvider *forms[] = {Offer("image/png", png), Offer("image/svg+xml", svg),
                                 Offer("image/emf", g_bytes_new(emf.data(), emf.size()))};
  GdkContentProvider *content = gdk_content_provider_new_union(forms, G_N_ELEMENTS(forms));
  GdkDisplay *display = gdk_display_get_default();
  GdkClipboard *clipboard = gdk_display_get_clipboard(display);
  gdk_clipboard_set_content(clipboard, content);
  g_object_unref(content);
  gdk_display_flush(display);
  Answer(kLibraryFd);

  bool owned = true;
  g_signal_connect(clipboard, "changed", G_CALLBACK(+[](GdkClipboard *c, bool *still) {
                     *still = gdk_clipboard_is_local(c);
                   }),
                   &owned);
  while (owned) g_main_context_iteration(nullptr, TRUE);
  return 0;
}

void Answer(int fd) {
  if (fd < 0) return;
  const char ready = 'R';
  ssize_t written;
  while ((written = write(fd, &ready, 1)) < 0 && errno == EINTR) {
  }
  close(fd);
}

}  // namespace tamvel::viewer
