// What the subcommands share on the command line: getopt_long with the tool's messages,
// numbers with a range, and the checks every list of input files gets.
#pragma once

#include <getopt.h>

#include <functional>
#include <string>
#include <vector>

namespace tamvel::tool {

// Parses argv (argv[0] is the subcommand's name) with getopt_long: options may come before,
// between and after the operands, "--" ends them, "-" is an operand. Calls `handle` with each
// option's value (the `val` of its entry, or the short option's letter) and argument, and
// collects the operands. Returns kExitOk, or kExitUsage after printing the problem: an
// unknown option, a missing value, or a non-zero status from `handle` (which prints its own).
int ParseOptions(const char *command, int argc, char **argv, const char *short_options,
                 const option *long_options,
                 const std::function<int(int option, const char *value)> &handle,
                 std::vector<std::string> &operands);

// Prints "tamvel COMMAND: PROBLEM" and how to get help; returns kExitUsage.
int UsageError(const char *command, const std::string &problem);

// A decimal number from `min` to `max`, the whole text.
bool ParseNumber(const char *text, double min, double max, double &value);

// The input files of a subcommand: at least one, and standard input ("-") at most once.
// Returns kExitOk, or kExitUsage after saying why.
int CheckInputs(const char *command, const std::vector<std::string> &inputs);

}  // namespace tamvel::tool
