// `tamvel SUBCOMMAND ARGS...`: looks the subcommand up in the table the subcommand files fill
// (subcommand.h) and runs it.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/tamvel/subcommand.h"

namespace tamvel::tool {
namespace {

// A function-local table, so that registration from other files' static initialisers works
// whatever their order.
std::vector<Subcommand>& Table() {
  static std::vector<Subcommand> table;
  return table;
}

void PrintHelp(std::FILE* out) {
  std::fprintf(out, "usage: tamvel SUBCOMMAND [ARGS...]\n\nsubcommands:\n");
  for (const Subcommand& command : Subcommands()) {
    std::fprintf(out, "  tamvel %s %s\n      %s\n", command.name, command.usage, command.summary);
  }
  std::fprintf(out, "\n  tamvel --help\n      show this help\n");
  std::fprintf(out, "  tamvel --version\n      print the version of tamvel\n");
}

}  // namespace

bool RegisterSubcommand(const Subcommand& command) {
  auto& table = Table();
  auto at = std::lower_bound(table.begin(), table.end(), command, [](const auto& a, const auto& b) {
    return std::strcmp(a.name, b.name) < 0;
  });
  table.insert(at, command);
  return true;
}

const std::vector<Subcommand>& Subcommands() { return Table(); }

bool ReadFile(const std::string& path, std::vector<unsigned char>& data, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  data.clear();
  unsigned char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    data.insert(data.end(), buffer, buffer + got);
  bool failed = std::ferror(file) != 0;
  if (failed) error = std::strerror(errno);
  std::fclose(file);
  return !failed;
}

}  // namespace tamvel::tool

int main(int argc, char** argv) {
  using tamvel::tool::Subcommands;
  if (argc < 2) {
    tamvel::tool::PrintHelp(stderr);
    return 2;
  }
  std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    tamvel::tool::PrintHelp(stdout);
    return 0;
  }
  if (name == "--version") {
    std::printf("tamvel %s\n", TAMVEL_VERSION);
    return 0;
  }
  for (const auto& command : Subcommands()) {
    if (name == command.name) return command.run(argc - 1, argv + 1);
  }
  std::fprintf(stderr, "tamvel: unknown subcommand \"%s\" (try tamvel --help)\n", name.c_str());
  return 2;
}
