// `tamvel SUBCOMMAND ARGS...`: looks the subcommand up in the table the subcommand files fill
// (subcommand.h) and runs it; answers --help, --version and `help SUBCOMMAND` itself.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/tamvel/subcommand.h"

namespace tamvel::tool {
namespace {

// A function-local table, so that registration from other files' static initialisers works
// whatever their order.
std::vector<Subcommand> &Table() {
  static std::vector<Subcommand> table;
  return table;
}

const Subcommand *Find(const std::string &name) {
  for (const Subcommand &command : Subcommands()) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

constexpr const char *kExitStatuses =
    "exit status: 0 done; 1 a file could not be read or written (or holds no metafile);\n"
    "2 a wrong command line (nothing was read or written); 3 a damaged file was read or drawn\n"
    "as far as it could be read. With several files the worst counts: 1, then 3.\n";

void PrintHelp(std::FILE *out) {
  std::fprintf(out, "usage: tamvel SUBCOMMAND [ARGS...]\n\nsubcommands:\n");
  for (const Subcommand &command : Subcommands()) {
    std::fprintf(out, "  tamvel %s %s\n      %s\n", command.name, command.usage, command.summary);
  }
  std::fprintf(out,
               "\n  tamvel help SUBCOMMAND, tamvel SUBCOMMAND --help\n"
               "      show how to use a subcommand\n"
               "  tamvel --version\n      print the version of tamvel\n\n%s",
               kExitStatuses);
}

void PrintSubcommandHelp(const Subcommand &command) {
  std::printf("usage: tamvel %s %s\n%s\n", command.name, command.usage, command.summary);
  if (command.options != nullptr) std::printf("\n%s", command.options);
  std::printf("\n%s", kExitStatuses);
}

// `tamvel NAME ... --help ...`: -h or --help before a "--" asks for help.
bool AsksForHelp(int argc, char **argv) {
  for (int i = 2; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
  }
  return false;
}

int UnknownSubcommand(const std::string &name) {
  std::fprintf(stderr, "tamvel: unknown subcommand \"%s\" (tamvel --help lists them)\n",
               name.c_str());
  return kExitUsage;
}

}  // namespace

bool RegisterSubcommand(const Subcommand &command) {
  auto &table = Table();
  auto at = std::lower_bound(table.begin(), table.end(), command, [](const auto &a, const auto &b) {
    return std::strcmp(a.name, b.name) < 0;
  });
  table.insert(at, command);
  return true;
}

const std::vector<Subcommand> &Subcommands() { return Table(); }

}  // namespace tamvel::tool

int main(int argc, char **argv) {
  using namespace tamvel::tool;
  if (argc < 2) {
    PrintHelp(stderr);
    return kExitUsage;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || (name == "help" && argc == 2)) {
    PrintHelp(stdout);
    return kExitOk;
  }
  if (name == "--version") {
    std::printf("tamvel %s\n", TAMVEL_VERSION);
    return kExitOk;
  }
  if (name == "help") {
    const Subcommand *command = Find(argv[2]);
    if (command == nullptr) return UnknownSubcommand(argv[2]);
    PrintSubcommandHelp(*command);
    return kExitOk;
  }
  const Subcommand *command = Find(name);
  if (command == nullptr) return UnknownSubcommand(name);
  if (AsksForHelp(argc, argv)) {
    PrintSubcommandHelp(*command);
    return kExitOk;
  }
  return command->run(argc - 1, argv + 1);
}
