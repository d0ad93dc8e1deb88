// The subcommands of the `tamvel` tool. Each lives in its own file and adds itself to the
// dispatch table with one line:
//
//   int RunRender(int argc, char** argv);  // argv[0] is "render"
//   TAMVEL_SUBCOMMAND(render, "render FILE.emf OUT.png", "play a metafile into a PNG", RunRender);
//
// The run function returns the process exit code: 0 success, 1 failure (bad or unreadable
// input), 2 a usage error.
#pragma once

#include <string>
#include <vector>

namespace tamvel::tool {

struct Subcommand {
  const char* name;
  const char* usage;    // arguments, as shown by `tamvel --help`
  const char* summary;  // one line
  int (*run)(int argc, char** argv);
};

// Adds a subcommand to the table; returns true so that it can initialise a static.
bool RegisterSubcommand(const Subcommand& command);

// The table, sorted by name.
const std::vector<Subcommand>& Subcommands();

// Reads a whole regular file of at most 1 GiB (a FIFO or a device is refused, never waited
// on); on failure returns false and sets `error` to the reason.
bool ReadFile(const std::string& path, std::vector<unsigned char>& data, std::string& error);

}  // namespace tamvel::tool

#define TAMVEL_SUBCOMMAND(name, usage, summary, run)      \
  static const bool tamvel_subcommand_registered_##name = \
      ::tamvel::tool::RegisterSubcommand({#name, usage, summary, run})
