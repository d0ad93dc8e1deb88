#include "tools/tamvel/render_options.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <map>

#include "tools/tamvel/command_line.h"
#include "tools/tamvel/subcommand.h"

namespace tamvel::tool {
namespace {

constexpr const char *kCommand = "render";

bool EndsWith(const std::string &s, const char *suffix) {
  const size_t n = std::strlen(suffix);
  return s.size() >= n && strcasecmp(s.c_str() + s.size() - n, suffix) == 0;
}

bool IsFolder(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<Format> FormatOfName(const std::string &name) {
  for (Format format : {Format::kPng, Format::kPdf, Format::kSvg}) {
    if (EndsWith(name, Extension(format))) return format;
  }
  return std::nullopt;
}

enum LongOnly { kDpi = 256, kWidth, kFormat, kPaper, kAntialias };
const option kOptions[] = {{"output", required_argument, nullptr, 'o'},
                           {"dpi", required_argument, nullptr, kDpi},
                           {"width", required_argument, nullptr, kWidth},
                           {"format", required_argument, nullptr, kFormat},
                           {"paper", required_argument, nullptr, kPaper},
                           {"antialias", no_argument, nullptr, kAntialias},
                           {nullptr, 0, nullptr, 0}};

int HandleOption(RenderOptions &options, int option, const char *value) {
  double number = 0;
  switch (option) {
    case kAntialias:
      options.antialias = true;
      return kExitOk;
    case 'o':
      options.output = value;
      return kExitOk;
    case kDpi:
      if (!ParseNumber(value, 1, 4800, number)) {
        return UsageError(kCommand, "--dpi needs a resolution from 1 to 4800");
      }
      options.dpi = number;
      return kExitOk;
    case kWidth:
      if (!ParseNumber(value, 1, 32767, number) || number != std::floor(number)) {
        return UsageError(kCommand, "--width needs a whole number of pixels from 1 to 32767");
      }
      options.width = static_cast<int>(number);
      return kExitOk;
    case kFormat:
      options.format = FormatOfName(std::string(".") + value);
      if (!options.format) return UsageError(kCommand, "--format needs png, pdf or svg");
      return kExitOk;
    case kPaper:
      if (Paper paper; ParsePaper(value, paper)) {
        options.paper = paper;
        return kExitOk;
      }
      return UsageError(kCommand, "--paper needs " + PaperNames() + " or WxHmm (as 180x120mm)");
  }
  return UsageError(kCommand, "unknown option");
}

// The output of input `index` in a folder or after a %d pattern.
std::string OutputName(const RenderOptions &options, const RenderPlan &plan, size_t index) {
  if (!plan.folder) {
    std::string name = options.output;
    name.replace(name.find("%d"), 2, std::to_string(index + 1));
    return name;
  }
  std::string base = options.inputs[index] == "-" ? "stdin" : options.inputs[index];
  if (size_t slash = base.rfind('/'); slash != std::string::npos) base.erase(0, slash + 1);
  if (size_t dot = base.rfind('.'); dot != std::string::npos && dot > 0) base.erase(dot);
  std::string folder = options.output;
  if (!EndsWith(folder, "/")) folder += '/';
  return folder + base + Extension(plan.format);
}

}  // namespace

int ParseRenderOptions(int argc, char **argv, RenderOptions &options) {
  if (int status = ParseOptions(
          kCommand, argc, argv, "o:", kOptions,
          [&](int option, const char *value) { return HandleOption(options, option, value); },
          options.inputs)) {
    return status;
  }
  // `tamvel render IN.emf OUT.png`: without -o a last operand that names a picture or a
  // folder is the output.
  if (options.output.empty() && options.inputs.size() >= 2) {
    const std::string &last = options.inputs.back();
    if (FormatOfName(last) || EndsWith(last, "/")) {
      options.output = last;
      options.inputs.pop_back();
    }
  }
  if (options.dpi && options.width > 0) return UsageError(kCommand, "give either --dpi or --width");
  if (int status = CheckInputs(kCommand, options.inputs)) return status;
  if (options.output.empty()) return UsageError(kCommand, "no output (-o OUT)");
  return kExitOk;
}

int MakeRenderPlan(const RenderOptions &options, RenderPlan &plan) {
  const std::string &out = options.output;
  const bool to_stdout = out == "-";
  plan.folder = !to_stdout && (EndsWith(out, "/") || IsFolder(out));
  const std::optional<Format> named = plan.folder || to_stdout ? std::nullopt : FormatOfName(out);
  if (!plan.folder && !to_stdout && !named) {
    return UsageError(kCommand, "the output " + out + " must end in .png, .pdf, .svg or /");
  }
  if (named && options.format && *named != *options.format) {
    return UsageError(kCommand, std::string("--format does not match the output ") + out);
  }
  plan.format = options.format.value_or(named.value_or(Format::kPng));
  if (options.paper && plan.format != Format::kPdf) {
    return UsageError(kCommand, "--paper is for PDF output");
  }
  if (options.antialias && plan.format != Format::kPng) {
    return UsageError(kCommand, "--antialias is for PNG output");
  }
  if (to_stdout && isatty(STDOUT_FILENO)) {
    return UsageError(kCommand, "standard output is a terminal; redirect it or give -o FILE");
  }
  const bool pattern = !plan.folder && out.find("%d") != std::string::npos;
  plan.book = plan.format == Format::kPdf && !plan.folder && !pattern;
  if (plan.book || (options.inputs.size() == 1 && !plan.folder && !pattern)) {
    plan.outputs = {out};
    return kExitOk;
  }
  if (!plan.folder && !pattern) {
    return UsageError(kCommand, "several inputs need -o FOLDER/ or a name with %d");
  }
  std::map<std::string, size_t> first_input;
  for (size_t i = 0; i < options.inputs.size(); ++i) {
    plan.outputs.push_back(OutputName(options, plan, i));
    auto [at, added] = first_input.emplace(plan.outputs.back(), i);
    if (!added) {
      return UsageError(kCommand, options.inputs[at->second] + " and " + options.inputs[i] +
                                      " would both be written to " + plan.outputs.back());
    }
  }
  return kExitOk;
}

}  // namespace tamvel::tool
