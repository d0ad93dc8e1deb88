// The viewer program's modes. `tamvel-viewer FILE.emf...` (what `tamvel view` starts) shows
// files; the library starts the other modes with a socket as descriptor 3 (4 for windows) on
// which the viewer answers 'R' once it does what was asked.
#pragma once

#include <string>
#include <vector>

namespace tamvel::viewer {

// Shows the files. `library_folder`: the files are the library's pages in that temporary
// folder, removed when the viewer closes; `answer_fd` (or -1) hears when they are shown.
int RunViewer(const std::vector<std::string> &files, const std::string &library_folder,
              int answer_fd);

// `--window TITLE`: shows a library window's client area (the memory file on descriptor 3)
// until the library closes the socket on descriptor 4 or the window is closed.
int RunWindow(const char *title);

// `--clipboard`: reads a metafile from descriptor 3 until its end, owns the desktop clipboard
// with it until another program takes the clipboard.
int RunClipboardOwner();

// Writes 'R' to `fd` (the library waits for it) and closes it.
void Answer(int fd);

}  // namespace tamvel::viewer
