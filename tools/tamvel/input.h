// Input metafiles of the subcommands: read from a file or standard input ("-"), decoded, and
// their damage reported. Every message names the file and the reason:
//   tamvel render: page.emf: No such file or directory
//   tamvel dump: cut.emf: record 11 at offset 0x280: size 16 runs past the end of the file
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/emf/emf_decoder.h"

namespace tamvel::tool {

// A file's name in messages: "(standard input)" for "-".
std::string DisplayName(const std::string &path);

struct InputFile {
  std::string path;  // as given; "-" is standard input
  emf::DecodeResult decoded;

  // The decoder found problems: the records before and between them are still there.
  bool damaged() const { return !decoded.ok(); }
  // The file ends with its EMR_EOF record where the header says it ends.
  bool complete() const;
};

// Reads and decodes `path`. Returns kExitOk, kExitDamaged (there is a header and the records
// that could be read; the problems are in file.decoded) or kExitFailed after printing why
// nothing could be read ("tamvel COMMAND: NAME: REASON").
int LoadInput(const char *command, const std::string &path, InputFile &file);

// Prints the decoder's problems, one line each, at most `limit` of them and then how many
// more there are.
void ReportProblems(const char *command, const InputFile &file, size_t limit);

// The bytes of a metafile that a player accepts, holding the readable records: the file
// itself when its record chain is whole, otherwise its header (sizes corrected), the records
// the decoder walked before the damage (up to an EMR_EOF) and an EMR_EOF without palette.
std::vector<uint8_t> ReadableImage(const InputFile &file);

}  // namespace tamvel::tool
