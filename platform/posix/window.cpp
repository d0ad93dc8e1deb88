#include "platform/posix/window.h"

#include "platform/posix/handles.h"

using namespace tamvel::posix;

BOOL GetClientRect(HWND hwnd, RECT *rect) {
  std::shared_ptr<Window> window = Lookup<Window>(hwnd);
  if (!window || rect == nullptr) return FALSE;
  *rect = {0, 0, window->client_width, window->client_height};
  return TRUE;
}
