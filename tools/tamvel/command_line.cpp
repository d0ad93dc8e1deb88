#include "tools/tamvel/command_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tools/tamvel/subcommand.h"

namespace tamvel::tool {

int ParseOptions(const char *command, int argc, char **argv, const char *short_options,
                 const option *long_options,
                 const std::function<int(int option, const char *value)> &handle,
                 std::vector<std::string> &operands) {
  // ':' first: a missing value comes back as ':' instead of getopt's own message.
  const std::string shorts = std::string(":") + short_options;
  opterr = 0;
  optind = 1;
  for (;;) {
    const int option = getopt_long(argc, argv, shorts.c_str(), long_options, nullptr);
    if (option == -1) break;
    // A long option is named as typed (getopt has stepped past it); a short one by its letter,
    // since it may sit inside a cluster such as -ao.
    const std::string typed = argv[optind - 1];
    const bool long_option = typed.rfind("--", 0) == 0;
    const std::string given = optopt == 0 || long_option
                                  ? typed.substr(0, typed.find('='))
                                  : std::string("-") + static_cast<char>(optopt);
    if (option == ':') return UsageError(command, "option " + given + " needs a value");
    if (option == '?' && optopt != 0 && long_option) {
      return UsageError(command, "option " + given + " takes no value");
    }
    if (option == '?') return UsageError(command, "unknown option " + given);
    if (int status = handle(option, optarg); status != kExitOk) return status;
  }
  operands.assign(argv + optind, argv + argc);
  return kExitOk;
}

int UsageError(const char *command, const std::string &problem) {
  std::fprintf(stderr, "tamvel %s: %s\n(tamvel help %s shows how to use it)\n", command,
               problem.c_str(), command);
  return kExitUsage;
}

bool ParseNumber(const char *text, double min, double max, double &value) {
  if (text == nullptr || *text == '\0') return false;
  char *end = nullptr;
  value = std::strtod(text, &end);
  return *end == '\0' && std::isfinite(value) && value >= min && value <= max;
}

int CheckInputs(const char *command, const std::vector<std::string> &inputs) {
  if (inputs.empty()) return UsageError(command, "no input file");
  if (std::count(inputs.begin(), inputs.end(), "-") > 1) {
    return UsageError(command, "standard input (-) can be read only once");
  }
  return kExitOk;
}

}  // namespace tamvel::tool
