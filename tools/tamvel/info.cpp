// `tamvel info FILE...`: what a metafile's header says (picture frame in millimetres, bounds,
// reference device, description), how many records it holds and whether it is complete.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/emf/emf_text.h"
#include "tools/tamvel/command_line.h"
#include "tools/tamvel/input.h"
#include "tools/tamvel/output.h"
#include "tools/tamvel/subcommand.h"

namespace tamvel::tool {
namespace {

constexpr const char *kCommand = "info";
constexpr size_t kProblemsShown = 10;

// Hundredths of a millimetre as millimetres, exactly: -1234 -> "-12.34".
std::string Millimetres(int64_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "%s%" PRId64 ".%02" PRId64, value < 0 ? "-" : "",
                static_cast<int64_t>(std::llabs(value) / 100),
                static_cast<int64_t>(std::llabs(value) % 100));
  return text;
}

std::string Complete(const InputFile &file) {
  if (file.complete()) return "yes";
  const emf::DecodeResult &decoded = file.decoded;
  const emf::Record &last = decoded.records.back();
  const size_t end = last.offset + last.size;
  char text[160];
  if (last.type != emf::kEof) {
    std::snprintf(text, sizeof text, "no (the records break off at offset 0x%zx, without EMR_EOF)",
                  end);
  } else if (end != decoded.bytes.size()) {
    std::snprintf(text, sizeof text, "no (%zu bytes follow EMR_EOF)", decoded.bytes.size() - end);
  } else {
    std::snprintf(text, sizeof text, "no (the header says %" PRIu32 " bytes, the file holds %zu)",
                  decoded.header()->bytes, decoded.bytes.size());
  }
  return text;
}

void PrintInfo(const InputFile &file) {
  const emf::Header &h = *file.decoded.header();
  std::printf("%s\n", DisplayName(file.path).c_str());
  std::printf("  frame        %s x %s mm, from (%s, %s) to (%s, %s) mm\n",
              Millimetres(int64_t{h.frame.right} - h.frame.left).c_str(),
              Millimetres(int64_t{h.frame.bottom} - h.frame.top).c_str(),
              Millimetres(h.frame.left).c_str(), Millimetres(h.frame.top).c_str(),
              Millimetres(h.frame.right).c_str(), Millimetres(h.frame.bottom).c_str());
  std::printf("  bounds       (%d, %d) to (%d, %d) pixels\n", h.bounds.left, h.bounds.top,
              h.bounds.right, h.bounds.bottom);
  std::printf("  reference    %d x %d pixels, %d x %d mm\n", h.device.cx, h.device.cy,
              h.millimeters.cx, h.millimeters.cy);
  std::printf("  records      %zu in %zu bytes\n", file.decoded.records.size(),
              file.decoded.bytes.size());
  std::string description;
  for (const std::u16string &part : h.description_parts) {
    description += (description.empty() ? "" : " ") + emf::QuoteUtf16(part);
  }
  std::printf("  description  %s\n", description.empty() ? "none" : description.c_str());
  std::printf("  complete     %s\n", Complete(file).c_str());
  if (file.damaged()) {
    std::printf("  problems     %zu (on standard error)\n", file.decoded.problems.size());
  }
}

int RunInfo(int argc, char **argv) {
  std::vector<std::string> files;
  const option no_options[] = {{nullptr, 0, nullptr, 0}};
  if (int status = ParseOptions(
          kCommand, argc, argv, "", no_options, [](int, const char *) { return kExitOk; }, files)) {
    return status;
  }
  if (int status = CheckInputs(kCommand, files)) return status;
  int status = kExitOk;
  for (const std::string &path : files) {
    InputFile file;
    const int file_status = LoadInput(kCommand, path, file);
    if (file_status != kExitFailed) {
      PrintInfo(file);
      std::fflush(stdout);
      ReportProblems(kCommand, file, kProblemsShown);
    }
    status = WorseStatus(status, file_status);
  }
  return FinishOutput(kCommand, status);
}

}  // namespace

TAMVEL_SUBCOMMAND(info, "FILE.emf...",
                  "frame in millimetres, bounds, records, description; is the file complete?",
                  RunInfo,
                  "The frame is the picture's size on paper (0.01 mm in the header), the bounds\n"
                  "are inclusive pixels of the reference device. FILE.emf may be - (standard\n"
                  "input). A damaged file is described as far as it can be read; what is damaged\n"
                  "and where goes to standard error and the status is 3.\n");

}  // namespace tamvel::tool
