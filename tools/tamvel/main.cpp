// `tamvel SUBCOMMAND ARGS...`: looks the subcommand up in the table the subcommand files fill
// (subcommand.h) and runs it.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/posix/safe_file.h"
#include "tools/tamvel/subcommand.h"

namespace tamvel::tool {
namespace {

constexpr size_t kMaxInputBytes = size_t{1} << 30;

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
  using posix::CheckedReader;
  CheckedReader file;
  CheckedReader::Status status = file.Open(path.c_str());
  if (status == CheckedReader::Status::kOk) status = file.ReadRest(0, kMaxInputBytes, data);
  switch (status) {
    case CheckedReader::Status::kOk:
      return true;
    case CheckedReader::Status::kNotRegular:
      error = "not a regular file";
      break;
    case CheckedReader::Status::kTooLarge:
      error = "larger than 1 GiB";
      break;
    default:
      error = std::strerror(file.error() != 0 ? file.error() : EIO);
  }
  return false;
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
