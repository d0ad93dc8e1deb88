// `tamvel render IN.emf... -o OUT`: plays metafiles with the library's own player into PNG
// images, PDF pages or SVG drawings.
//
// The picture frame of each file sets the output size: at --dpi N (default 96) a frame of
// 210 x 297 mm becomes 794 x 1123 pixels; --width PX scales every page to that width instead.
// PNG images are crisp like GDI's (lines on whole pixels); --antialias draws their lines and
// fills smooth instead. The output type follows the extension of OUT (.png, .pdf, .svg) or
// --format; `tamvel render IN.emf OUT.png` (without -o) works too, and "-" is standard input or
// output.
//
// Several input files:
//   - PDF: OUT is one PDF with a page per input, on the paper of --paper or of the first
//     input's frame (paper.h places each picture);
//   - PNG and SVG: OUT is a folder (existing, or made when OUT ends in '/') that gets one file
//     per input named after it (page.emf -> page.png), or a pattern with one "%d" that is
//     numbered from 1 in the order of the inputs (page-%d.png).
// Every output name is known, and checked for clashes, before anything is read or written
// (render_options.h). With more than one input a progress line goes to standard error.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "tools/tamvel/output.h"
#include "tools/tamvel/picture.h"
#include "tools/tamvel/render_options.h"
#include "tools/tamvel/subcommand.h"

namespace tamvel::tool {
namespace {

constexpr const char *kCommand = "render";
constexpr size_t kProblemsShown = 10;

// One line rewritten in place on a terminal; in a log, a line every tenth of the pages.
void ReportProgress(size_t done, size_t count) {
  if (count < 2) return;
  static const bool terminal = isatty(STDERR_FILENO) != 0;
  if (terminal) {
    std::fprintf(stderr, "\rtamvel render: %zu/%zu pages%s", done, count,
                 done == count ? "\n" : "");
  } else if (done == count || done % std::max<size_t>(1, count / 10) == 0) {
    std::fprintf(stderr, "tamvel render: %zu/%zu pages\n", done, count);
  }
}

int Failed(const std::string &name, const std::string &reason) {
  std::fprintf(stderr, "tamvel render: %s: %s\n", DisplayName(name).c_str(), reason.c_str());
  return kExitFailed;
}

// Reads an input and makes it a picture; says what is damaged. kExitOk or kExitDamaged with
// an open picture, or kExitFailed.
int OpenInput(const std::string &input, Picture &picture) {
  InputFile file;
  const int status = LoadInput(kCommand, input, file);
  if (status == kExitFailed) return status;
  std::string error;
  if (!picture.Open(file, error)) return Failed(input, error);
  if (status == kExitDamaged) {
    ReportProblems(kCommand, file, kProblemsShown);
    std::fprintf(stderr, "tamvel render: %s: damaged; drawn as far as it could be read\n",
                 DisplayName(input).c_str());
  }
  return status;
}

double Resolution(const RenderOptions &options, const Picture &picture) {
  return options.width > 0 ? options.width / (picture.width_mm() / 25.4) : options.dpi.value_or(96);
}

// Draws a picture into `path`: a PNG or SVG of its size at the resolution, or a PDF page.
bool Draw(const RenderOptions &options, Format format, const Picture &picture,
          const std::string &path, std::string &error) {
  const double dpi = Resolution(options, picture);
  if (format == Format::kPdf) {
    PdfBook book(path, options.paper ? &*options.paper : nullptr, dpi);
    return book.AddPage(picture, error) && book.Finish(error);
  }
  const int width = std::max(1, static_cast<int>(std::lround(picture.width_mm() / 25.4 * dpi)));
  const int height = std::max(1, static_cast<int>(std::lround(picture.height_mm() / 25.4 * dpi)));
  return DrawPicture(picture, format, width, height, options.antialias, path, error);
}

// One input into its own file.
int RenderPicture(const RenderOptions &options, const RenderPlan &plan, size_t index,
                  const ScratchFolder &scratch) {
  Picture picture;
  const int status = OpenInput(options.inputs[index], picture);
  if (status == kExitFailed) return status;
  const std::string drawn = scratch.File(std::string("picture") + Extension(plan.format));
  std::string error;
  if (!Draw(options, plan.format, picture, drawn, error)) {
    return Failed(options.inputs[index], error);
  }
  if (!Publish(drawn, plan.outputs[index], error)) {
    return Failed(plan.outputs[index] == "-" ? "standard output" : plan.outputs[index], error);
  }
  return status;
}

// Every input as a page of one PDF, which is written only when every input could be read.
int RenderBook(const RenderOptions &options, const RenderPlan &plan, const ScratchFolder &scratch) {
  const std::string drawn = scratch.File("book.pdf");
  std::optional<PdfBook> book;
  int status = kExitOk;
  for (size_t i = 0; i < options.inputs.size(); ++i) {
    Picture picture;
    int page_status = OpenInput(options.inputs[i], picture);
    if (page_status != kExitFailed) {
      if (!book)
        book.emplace(drawn, options.paper ? &*options.paper : nullptr,
                     Resolution(options, picture));
      std::string error;
      if (!book->AddPage(picture, error)) page_status = Failed(options.inputs[i], error);
    }
    status = WorseStatus(status, page_status);
    ReportProgress(i + 1, options.inputs.size());
  }
  const std::string &out = plan.outputs.front();
  const std::string out_name = out == "-" ? "standard output" : out;
  if (status == kExitFailed) return Failed(out_name, "not written, as an input could not be drawn");
  std::string error;
  if (!book->Finish(error) || !Publish(drawn, out, error)) return Failed(out_name, error);
  return status;
}

int RunRender(int argc, char **argv) {
  RenderOptions options;
  RenderPlan plan;
  if (int status = ParseRenderOptions(argc, argv, options)) return status;
  if (int status = MakeRenderPlan(options, plan)) return status;
  std::string error;
  if (plan.folder && !MakeFolders(options.output, error)) {
    return Failed(options.output, "cannot make the folder: " + error);
  }
  ScratchFolder scratch;
  if (!scratch.Create(error)) {
    return Failed(ScratchFolder::Base(), "cannot make a folder for the pictures: " + error);
  }
  if (plan.book) return RenderBook(options, plan, scratch);
  int status = kExitOk;
  for (size_t i = 0; i < options.inputs.size(); ++i) {
    status = WorseStatus(status, RenderPicture(options, plan, i, scratch));
    ReportProgress(i + 1, options.inputs.size());
  }
  return status;
}

}  // namespace

TAMVEL_SUBCOMMAND(
    render, "[OPTIONS] IN.emf... -o OUT",
    "play metafiles into PNG images, PDF pages or SVG drawings", RunRender,
    "  -o, --output=OUT   OUT.png, OUT.pdf, OUT.svg, a FOLDER/ (made when missing)\n"
    "                     or a name with %d (numbered from 1); - is standard output\n"
    "      --format=TYPE  png, pdf or svg (for a folder or standard output;\n"
    "                     default png)\n"
    "      --dpi=N        resolution, 1 to 4800 (default 96): a 210 x 297 mm frame\n"
    "                     becomes 794 x 1123 pixels at 96\n"
    "      --width=PX     scale every page to this width instead\n"
    "      --antialias    PNG: smooth lines and fills instead of GDI's crisp pixels\n"
    "      --paper=SIZE   PDF paper: A0 to A6, B4, B5 (JIS), Letter, Legal (turned\n"
    "                     for a landscape picture) or WxHmm; each picture is placed\n"
    "                     at true size (shrunk when larger) on the lower-left corner\n"
    "Several inputs make one PDF with a page per input (on the paper of the first\n"
    "one's frame without --paper), or one PNG or SVG each in a folder or pattern.\n"
    "IN.emf may be - (standard input). A damaged input is drawn as far as it can\n"
    "be read; the problems go to standard error and the status is 3.\n");

}  // namespace tamvel::tool
