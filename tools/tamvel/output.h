// Where the subcommands' pictures go. The library draws each picture into a private scratch
// folder; only a finished picture is then copied to its place, through an atomic file (the
// name holds the old file or the whole new one, never a part) or to standard output ("-").
// So a failure names its reason (the errno of the copy) and leaves no partial output.
#pragma once

#include <string>

namespace tamvel::tool {

// Makes the folder and any missing folders above it (mkdir -p); false with the reason.
bool MakeFolders(const std::string &path, std::string &error);

// A folder of its own under $TMPDIR (or /tmp), removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder() = default;
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder &) = delete;
  ScratchFolder &operator=(const ScratchFolder &) = delete;

  // Makes the folder; false with the reason.
  bool Create(std::string &error);
  // Where it is made: $TMPDIR, or /tmp.
  static std::string Base();
  // A path in the folder for a file of that name.
  std::string File(const std::string &name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Copies the finished file `scratch_file` to `destination` ("-": standard output) and
// removes it; false with the reason.
bool Publish(const std::string &scratch_file, const std::string &destination, std::string &error);

// Flushes standard output at the end of a subcommand that printed to it: a failed write (a
// full disk, a closed pipe) is reported and makes the status kExitFailed.
int FinishOutput(const char *command, int status);

}  // namespace tamvel::tool
