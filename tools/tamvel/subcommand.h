// The subcommands of the `tamvel` tool. Each lives in its own file and adds itself to the
// dispatch table with one line:
//
//   int RunRender(int argc, char** argv);  // argv[0] is "render"
//   TAMVEL_SUBCOMMAND(render, "IN.emf -o OUT.png", "play a metafile into a PNG", RunRender,
//                     "  -o, --output=OUT   the picture\n");  // options for `tamvel help`
//
// main.cpp answers `tamvel help NAME` and `tamvel NAME --help` from the table, so a run
// function never sees --help.
#pragma once

#include <vector>

namespace tamvel::tool {

// The exit statuses of every subcommand. When several files are handled, the worst one
// wins: a failure over a damaged file over success.
enum ExitStatus : int {
  kExitOk = 0,
  kExitFailed = 1,   // a file could not be read or written, or holds no metafile
  kExitUsage = 2,    // a wrong command line; nothing was read or written
  kExitDamaged = 3,  // a damaged file was read (and drawn) as far as it could be read
};

// The status of several results: the worst one.
inline int WorseStatus(int a, int b) {
  auto rank = [](int status) { return status == kExitDamaged ? 1 : status == kExitOk ? 0 : 2; };
  return rank(a) >= rank(b) ? a : b;
}

struct Subcommand {
  const char* name;
  const char* usage;    // arguments, as shown by `tamvel --help`
  const char* summary;  // one line
  int (*run)(int argc, char** argv);
  const char* options = nullptr;  // the option list `tamvel help NAME` shows
};

// Adds a subcommand to the table; returns true so that it can initialise a static.
bool RegisterSubcommand(const Subcommand& command);

// The table, sorted by name.
const std::vector<Subcommand>& Subcommands();

}  // namespace tamvel::tool

#define TAMVEL_SUBCOMMAND(name, usage, summary, ...)      \
  static const bool tamvel_subcommand_registered_##name = \
      ::tamvel::tool::RegisterSubcommand({#name, usage, summary, __VA_ARGS__})
