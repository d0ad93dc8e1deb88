// The command line of `tamvel render` and what it asks for: the options, and where each
// picture goes. Every output name is known, and checked for clashes, before anything is read
// or written.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/tamvel/paper.h"
#include "tools/tamvel/picture.h"

namespace tamvel::tool {

struct RenderOptions {
  std::vector<std::string> inputs;
  std::string output;
  std::optional<Format> format;  // --format
  std::optional<double> dpi;
  int width = 0;  // pixels; 0: from the resolution
  std::optional<Paper> paper;
  bool antialias = false;  // PNG: smooth lines and fills instead of crisp ones
};

// What goes where: one PDF of all inputs (a "book"), or one output file per input.
struct RenderPlan {
  Format format = Format::kPng;
  bool book = false;
  bool folder = false;
  std::vector<std::string> outputs;  // the book's name, or one name per input
};

// Parses the command line (argv[0] is "render"); kExitOk, or kExitUsage after saying why.
int ParseRenderOptions(int argc, char **argv, RenderOptions &options);

// Settles the format and every output name; kExitOk, or kExitUsage after saying what does not
// fit (an unknown type, several inputs for one picture, clashing names, ...).
int MakeRenderPlan(const RenderOptions &options, RenderPlan &plan);

}  // namespace tamvel::tool
