// tamvel-viewer: the desktop program of the library (see modes.h).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "viewer/modes.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: tamvel-viewer FILE.emf...\n");
  return 2;
}

}  // namespace

int main(int argc, char **argv) {
  using namespace tamvel::viewer;
  if (argc >= 2 && std::strcmp(argv[1], "--clipboard") == 0) return RunClipboardOwner();
  if (argc >= 3 && std::strcmp(argv[1], "--window") == 0) return RunWindow(argv[2]);
  std::string library_folder;
  int first = 1;
  if (argc >= 3 && std::strcmp(argv[1], "--library-pages") == 0) {
    library_folder = argv[2];
    first = 3;
  }
  std::vector<std::string> files;
  for (int i = first; i < argc; ++i) {
    if (argv[i][0] == '-' && library_folder.empty()) return Usage();
    files.emplace_back(argv[i]);
  }
  return RunViewer(files, library_folder, library_folder.empty() ? -1 : 3);
}
