// `tamvel render IN.emf... -o OUT [--dpi N | --width PX] [--format png|pdf|svg] [--antialias]`:
// plays metafiles with the library's own player into PNG images, PDF pages or SVG drawings.
//
// The picture frame of each file sets the output size: at --dpi N (default 96) a frame of
// 210 x 297 mm becomes 794 x 1123 pixels; --width PX scales every page to that width instead.
// The output type follows the extension of OUT (.png, .pdf, .svg); `tamvel render IN.emf
// OUT.png` (without -o) works too. PNG images are crisp like GDI's (lines on whole pixels);
// --antialias draws their lines and fills smooth instead.
//
// Several input files:
//   - PDF: OUT is one PDF with a page per input (every page has the paper size of the first
//     input's frame; other frames are stretched to it);
//   - PNG and SVG: OUT is a directory (existing, or written with a trailing '/') that gets
//     one file per input named after it (page.emf -> page.png; PNG unless --format says
//     otherwise), or a pattern with one "%d" that is numbered from 1 in the order of the
//     inputs (page-%d.png).
// With more than one input a progress line goes to standard error.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "include/tamvel_linux.h"
#include "platform/win32.h"
#include "tools/tamvel/subcommand.h"

namespace tamvel::tool {
namespace {

enum class Format { kPng, kPdf, kSvg };

struct Options {
  std::vector<std::string> inputs;
  std::string output;
  Format format = Format::kPng;
  double dpi = 96;
  int width = 0;  // pixels; 0: from --dpi
  bool antialias = false;
};

bool EndsWith(const std::string &s, const char *suffix) {
  const size_t n = std::strlen(suffix);
  return s.size() >= n && strcasecmp(s.c_str() + s.size() - n, suffix) == 0;
}

bool IsDirectory(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int Usage(const char *problem) {
  std::fprintf(stderr,
               "tamvel render: %s\nusage: tamvel render IN.emf... -o OUT.(png|pdf|svg) "
               "[--dpi N | --width PX] [--antialias]\n",
               problem);
  return 2;
}

// Parses the command line; returns 0 or the exit code of a usage error.
int Parse(int argc, char **argv, Options &options, bool &to_directory) {
  bool dpi_given = false;
  const char *format = nullptr;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> const char * { return i + 1 < argc ? argv[++i] : nullptr; };
    if (arg == "-o" || arg == "--output") {
      const char *v = value();
      if (!v) return Usage("-o needs a file name");
      options.output = v;
    } else if (arg == "--dpi") {
      const char *v = value();
      char *end = nullptr;
      options.dpi = v ? std::strtod(v, &end) : 0;
      if (!v || *end != '\0' || !(options.dpi >= 1 && options.dpi <= 4800)) {
        return Usage("--dpi needs a resolution from 1 to 4800");
      }
      dpi_given = true;
    } else if (arg == "--width") {
      const char *v = value();
      char *end = nullptr;
      long width = v ? std::strtol(v, &end, 10) : 0;
      if (!v || *end != '\0' || width < 1 || width > 32767) {
        return Usage("--width needs a width from 1 to 32767 pixels");
      }
      options.width = static_cast<int>(width);
    } else if (arg == "--antialias") {
      options.antialias = true;
    } else if (arg == "--format") {
      format = value();
      if (!format) return Usage("--format needs png, pdf or svg");
    } else if (!arg.empty() && arg[0] == '-') {
      return Usage(("unknown option " + arg).c_str());
    } else {
      options.inputs.push_back(arg);
    }
  }
  // `tamvel render IN.emf OUT.png`: without -o a last argument with an output extension
  // names the output.
  if (options.output.empty() && options.inputs.size() >= 2) {
    const std::string &last = options.inputs.back();
    if (EndsWith(last, ".png") || EndsWith(last, ".pdf") || EndsWith(last, ".svg") ||
        EndsWith(last, "/")) {
      options.output = last;
      options.inputs.pop_back();
    }
  }
  if (dpi_given && options.width > 0) return Usage("give either --dpi or --width");
  if (options.inputs.empty()) return Usage("no input file");
  if (options.output.empty()) return Usage("no output (-o)");
  to_directory = EndsWith(options.output, "/") || IsDirectory(options.output);
  const std::string type = format         ? std::string(".") + format
                           : to_directory ? std::string(".png")
                                          : options.output;
  if (EndsWith(type, ".png")) {
    options.format = Format::kPng;
  } else if (EndsWith(type, ".pdf")) {
    options.format = Format::kPdf;
  } else if (EndsWith(type, ".svg")) {
    options.format = Format::kSvg;
  } else {
    return Usage("the output must be .png, .pdf or .svg");
  }
  const bool one_file = options.format == Format::kPdf && !to_directory;
  if (options.inputs.size() > 1 && !one_file && !to_directory &&
      options.output.find("%d") == std::string::npos) {
    return Usage("several inputs need -o DIR/ or a pattern with %d");
  }
  return 0;
}

const char *Extension(Format format) {
  switch (format) {
    case Format::kPdf:
      return ".pdf";
    case Format::kSvg:
      return ".svg";
    default:
      return ".png";
  }
}

// The output file of input number `index` (0-based).
std::string OutputName(const Options &options, bool to_directory, size_t index) {
  if (to_directory) {
    std::string base = options.inputs[index];
    if (size_t slash = base.rfind('/'); slash != std::string::npos) base.erase(0, slash + 1);
    if (size_t dot = base.rfind('.'); dot != std::string::npos && dot > 0) base.erase(dot);
    std::string dir = options.output;
    if (!EndsWith(dir, "/")) dir += '/';
    return dir + base + Extension(options.format);
  }
  std::string name = options.output;
  if (size_t at = name.find("%d"); at != std::string::npos) {
    name.replace(at, 2, std::to_string(index + 1));
  }
  return name;
}

struct Picture {
  HENHMETAFILE metafile = nullptr;
  double width_mm = 0;
  double height_mm = 0;
};

// Opens a metafile and reads its frame; false with a message on failure.
bool OpenPicture(const std::string &path, Picture &picture) {
  picture.metafile = GetEnhMetaFileA(path.c_str());
  if (picture.metafile == nullptr) {
    std::fprintf(stderr, "tamvel render: %s: not a readable enhanced metafile\n", path.c_str());
    return false;
  }
  ENHMETAHEADER header{};
  if (GetEnhMetaFileHeader(picture.metafile, sizeof header, &header) == 0) {
    std::fprintf(stderr, "tamvel render: %s: unreadable header\n", path.c_str());
    return false;
  }
  const RECT &f = header.rclFrame;
  picture.width_mm = (static_cast<double>(f.right) - f.left) / 100.0;
  picture.height_mm = (static_cast<double>(f.bottom) - f.top) / 100.0;
  if (!(picture.width_mm > 0 && picture.height_mm > 0 && picture.width_mm < 100000 &&
        picture.height_mm < 100000)) {
    std::fprintf(stderr, "tamvel render: %s: the picture frame has no area\n", path.c_str());
    return false;
  }
  return true;
}

// Output size in pixels at the chosen resolution or width.
void PixelSize(const Options &options, const Picture &picture, int &width, int &height,
               double &dpi) {
  dpi = options.width > 0 ? options.width / (picture.width_mm / 25.4) : options.dpi;
  width = static_cast<int>(std::lround(picture.width_mm / 25.4 * dpi));
  height = static_cast<int>(std::lround(picture.height_mm / 25.4 * dpi));
  width = std::max(width, 1);
  height = std::max(height, 1);
}

bool RenderOne(const Options &options, const std::string &input, const std::string &output,
               TAMVEL_HDC shared_printer) {
  Picture picture;
  bool ok = OpenPicture(input, picture);
  if (ok) {
    int width, height;
    double dpi;
    PixelSize(options, picture, width, height, dpi);
    RECT rect{0, 0, width, height};
    TAMVEL_HDC dc = shared_printer;
    if (options.format == Format::kPng) {
      dc = TamvelCreateImageDC(width, height);
      if (dc && options.antialias) TamvelSetImageAntialias(dc, 1);
    } else if (options.format == Format::kSvg) {
      dc = TamvelCreateSvgDC(output.c_str(), width, height);
    } else if (!dc) {
      dc =
          TamvelCreatePrinterDC(output.c_str(), picture.width_mm, picture.height_mm,
                                static_cast<int>(std::lround(std::clamp(dpi, 10.0, 4800.0))), 0, 0);
    }
    if (dc == nullptr) {
      std::fprintf(stderr, "tamvel render: %s: cannot make a %d x %d output\n", output.c_str(),
                   width, height);
      ok = false;
    } else {
      if (options.format == Format::kPdf) {
        // One printer pixel per output pixel of the first page's resolution.
        rect = {0, 0, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES)};
      }
      ok = PlayEnhMetaFile(dc, picture.metafile, &rect) != FALSE;
      if (!ok) std::fprintf(stderr, "tamvel render: %s: playback failed\n", input.c_str());
      if (options.format == Format::kPng && TamvelSaveImageDC(dc, output.c_str()) != 0) {
        std::fprintf(stderr, "tamvel render: %s: cannot write the file\n", output.c_str());
        ok = false;
      }
      if (dc == shared_printer) {
        TamvelEndPrinterPage(dc);
      } else if (TamvelDeleteDC(dc) != 0) {
        std::fprintf(stderr, "tamvel render: %s: cannot write the file\n", output.c_str());
        ok = false;
      }
    }
  }
  if (picture.metafile) DeleteEnhMetaFile(picture.metafile);
  return ok;
}

}  // namespace

// One line rewritten in place on a terminal; in a log, a line every tenth of the pages.
void ReportProgress(size_t done, size_t count) {
  static const bool terminal = isatty(STDERR_FILENO) != 0;
  if (terminal) {
    std::fprintf(stderr, "\rtamvel render: %zu/%zu pages%s", done, count,
                 done == count ? "\n" : "");
  } else if (done == count || done % std::max<size_t>(1, count / 10) == 0) {
    std::fprintf(stderr, "tamvel render: %zu/%zu pages\n", done, count);
  }
}

int RunRender(int argc, char **argv) {
  Options options;
  bool to_directory = false;
  if (int usage = Parse(argc, argv, options, to_directory)) return usage;
  const size_t count = options.inputs.size();
  // Several inputs into one PDF: one printer, a page each; the paper is the first frame's.
  TAMVEL_HDC printer = nullptr;
  if (options.format == Format::kPdf && !to_directory &&
      options.output.find("%d") == std::string::npos && count > 1) {
    Picture first;
    if (!OpenPicture(options.inputs.front(), first)) return 1;
    int width, height;
    double dpi;
    PixelSize(options, first, width, height, dpi);
    printer =
        TamvelCreatePrinterDC(options.output.c_str(), first.width_mm, first.height_mm,
                              static_cast<int>(std::lround(std::clamp(dpi, 10.0, 4800.0))), 0, 0);
    DeleteEnhMetaFile(first.metafile);
    if (!printer) {
      std::fprintf(stderr, "tamvel render: %s: cannot write the file\n", options.output.c_str());
      return 1;
    }
  }
  int failures = 0;
  for (size_t i = 0; i < count; ++i) {
    const std::string output = printer ? options.output : OutputName(options, to_directory, i);
    if (!RenderOne(options, options.inputs[i], output, printer)) ++failures;
    if (count > 1) ReportProgress(i + 1, count);
  }
  if (printer && TamvelDeleteDC(printer) != 0) {
    std::fprintf(stderr, "tamvel render: %s: cannot write the file\n", options.output.c_str());
    ++failures;
  }
  return failures == 0 ? 0 : 1;
}

TAMVEL_SUBCOMMAND(render, "IN.emf... -o OUT.(png|pdf|svg) [--dpi N | --width PX] [--antialias]",
                  "play metafiles into PNG images, PDF pages or SVG drawings", RunRender);

}  // namespace tamvel::tool
