// `tamvel dump [--all] FILE...`: lists every record of each metafile, one line each. A damaged
// file is listed as far as it can be read, and its problems (what is damaged, where) go to
// standard error.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/emf/emf_text.h"
#include "tools/tamvel/command_line.h"
#include "tools/tamvel/input.h"
#include "tools/tamvel/output.h"
#include "tools/tamvel/subcommand.h"

namespace tamvel::tool {
namespace {

constexpr const char *kCommand = "dump";

int DumpFile(const std::string &path, const emf::FormatOptions &options, bool with_title) {
  InputFile file;
  const int status = LoadInput(kCommand, path, file);
  if (status == kExitFailed) return status;
  if (with_title) std::printf("%s:\n", DisplayName(path).c_str());
  const std::vector<emf::Record> &records = file.decoded.records;
  for (size_t i = 0; i < records.size(); ++i) {
    std::printf("%s\n", emf::FormatRecord(records[i], i, options).c_str());
  }
  // The listing first, so that the problems follow it where both streams share a terminal.
  std::fflush(stdout);
  ReportProblems(kCommand, file, file.decoded.problems.size());
  return status;
}

int RunDump(int argc, char **argv) {
  emf::FormatOptions options;
  std::vector<std::string> files;
  const option long_options[] = {{"all", no_argument, nullptr, 'a'}, {nullptr, 0, nullptr, 0}};
  if (int status = ParseOptions(
          kCommand, argc, argv, "a", long_options,
          [&](int, const char *) {
            options.all_points = true;
            return kExitOk;
          },
          files)) {
    return status;
  }
  if (int status = CheckInputs(kCommand, files)) return status;
  int status = kExitOk;
  for (const std::string &file : files) {
    status = WorseStatus(status, DumpFile(file, options, files.size() > 1));
  }
  return FinishOutput(kCommand, status);
}

}  // namespace

TAMVEL_SUBCOMMAND(
    dump, "[--all] FILE.emf...",
    "list every record with its fields; --all prints long point lists in full", RunDump,
    "  -a, --all   print every point, Dx value and rectangle of long lists\n"
    "FILE.emf may be - (standard input). A damaged file is listed as far as it can\n"
    "be read; what is damaged and where goes to standard error and the status is 3.\n");

}  // namespace tamvel::tool
