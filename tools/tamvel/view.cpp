// `tamvel view FILE.emf...`: shows metafiles in the viewer (thumbnails and one page large,
// zoom, export, print, copy); the viewer program is installed beside the library.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/posix/desktop_link.h"
#include "tools/tamvel/subcommand.h"

namespace tamvel::tool {
namespace {

int RunView(int argc, char **argv) {
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-') {
      std::fprintf(stderr, "tamvel view: unknown option %s\nusage: tamvel view FILE.emf...\n",
                   argv[i]);
      return 2;
    }
  }
  if (!posix::desktop::SessionAvailable()) {
    std::fprintf(stderr, "tamvel view: no desktop session (DISPLAY or WAYLAND_DISPLAY)\n");
    return 1;
  }
  std::string viewer = posix::desktop::HelperPath("tamvel-viewer");
  if (viewer.empty()) {
    std::fprintf(stderr, "tamvel view: the viewer (tamvel-viewer) is not installed\n");
    return 1;
  }
  std::vector<char *> arguments{viewer.data()};
  for (int i = 1; i < argc; ++i) arguments.push_back(argv[i]);
  arguments.push_back(nullptr);
  execv(viewer.c_str(), arguments.data());
  std::perror("tamvel view: cannot start the viewer");
  return 1;
}

}  // namespace

TAMVEL_SUBCOMMAND(view, "FILE.emf...", "show metafiles in the viewer: zoom, export, print, copy",
                  RunView);

}  // namespace tamvel::tool
