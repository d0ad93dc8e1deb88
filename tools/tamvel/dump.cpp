// `tamvel dump [--all] FILE...`: lists every record of each metafile, one line each, and
// reports structural problems on stderr. Exits 1 if any file is unreadable or malformed.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/emf/emf_decoder.h"
#include "platform/emf/emf_text.h"
#include "tools/tamvel/subcommand.h"

namespace tamvel::tool {
namespace {

// Returns true when the file was read and decoded without problems.
bool DumpFile(const std::string& path, const emf::FormatOptions& options, bool with_title) {
  std::vector<unsigned char> data;
  std::string error;
  if (!ReadFile(path, data, error)) {
    std::fprintf(stderr, "%s: cannot read: %s\n", path.c_str(), error.c_str());
    return false;
  }
  emf::DecodeResult result = emf::DecodeEmf(data.data(), data.size());
  if (with_title) std::printf("%s:\n", path.c_str());
  for (size_t i = 0; i < result.records.size(); ++i) {
    std::printf("%s\n", emf::FormatRecord(result.records[i], i, options).c_str());
  }
  std::fflush(stdout);
  for (const emf::Problem& problem : result.problems) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), problem.ToString().c_str());
  }
  return result.ok();
}

int RunDump(int argc, char** argv) {
  emf::FormatOptions options;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--all") == 0) {
      options.all_points = true;
    } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
      std::fprintf(stderr, "tamvel dump: unknown option %s\n", argv[i]);
      return 2;
    } else {
      files.push_back(argv[i]);
    }
  }
  if (files.empty()) {
    std::fprintf(stderr, "usage: tamvel dump [--all] FILE.emf...\n");
    return 2;
  }
  bool all_ok = true;
  for (const std::string& file : files) {
    if (!DumpFile(file, options, files.size() > 1)) all_ok = false;
  }
  return all_ok ? 0 : 1;
}

}  // namespace
}  // namespace tamvel::tool

TAMVEL_SUBCOMMAND(dump, "[--all] FILE.emf...",
                  "list every record with its fields; --all prints long point lists in full",
                  tamvel::tool::RunDump);
