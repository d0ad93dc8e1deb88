// The contract test: every call of the public headers (the table that
// tools/gen-contract-calls.py writes from them) with hostile values for each argument, in each
// page state, each call in a child process of its own with a time limit. A call passes when
// its child returns: no crash, no sanitizer report, no hang.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <type_traits>
#include <vector>

namespace tamvel::contract {

// What an argument is, as far as its hostile values go (the generator's names).
enum class Kind {
  kFloat,
  kDouble,
  kInt,
  kCount,          // the length of an array or buffer of the same call
  kText,           // text the call reads at most a count or 1024 bytes of
  kString,         // a NUL-terminated string
  kPath,           // a file name (relative: calls run in a scratch folder)
  kFortranString,  // a TAMVEL_FSTRING descriptor
  kFloatPointer,
  kIntPointer,  // one value read or written
  kFloatArray,
  kPointArray,  // arrays of kArrayLength elements
  kCharBuffer,
  kDataBuffer,  // buffers of kBufferBytes
  kDc,
  kWindow,
};

constexpr int kArrayLength = 10000;    // the largest count passed
constexpr int kBufferBytes = 1 << 17;  // beyond every size passed and value stored

// One argument value, whichever member its kind uses, and how a failure report shows it.
struct Value {
  double number = 0.0;
  int64_t integer = 0;
  void *pointer = nullptr;
  std::string shown;
};

struct Arguments {
  std::vector<const Value *> values;
  template <typename T>
  T Get(size_t i) const {
    if constexpr (std::is_pointer_v<T>) {
      return static_cast<T>(values[i]->pointer);
    } else if constexpr (std::is_floating_point_v<T>) {
      return static_cast<T>(values[i]->number);
    } else {
      return static_cast<T>(values[i]->integer);
    }
  }
};

struct Call {
  const char *name;
  std::vector<Kind> kinds;
  std::vector<const char *> argument_names;
  void (*invoke)(const Arguments &);
};

// Every call of the headers, in declaration order.
const std::vector<Call> &Calls();

// The hostile values of each kind; the first one of each is the ordinary value the other
// arguments keep while one argument is hostile. Handles are made for the page state at hand:
// BuildValues after making it makes them anew (and lets the earlier ones go); the rest is
// made once and lives until the process ends.
void BuildValues();
const std::vector<Value> &ValuesOf(Kind kind);
// Files the path values name, made again before each call so that no call sees what an
// earlier one left.
void ResetScratchFiles();

// A new folder for the calls' files, named after `name`: in memory (/dev/shm) where there is
// one, since the calls write and sync files thousands of times; else in the temporary folder.
std::filesystem::path NewScratchFolder(const std::string &name);
// Points HOME, TMPDIR, the registry store and the data folders into `root` and makes it the
// current folder, and hides the desktop session and the print scheduler: nothing a call
// writes lands outside `root`, nothing is shown or printed.
void IsolateIn(const std::filesystem::path &root);

// "KANJI(10, 10, inf, "Ab1", 0, 3)".
std::string Describe(const Call &call, const Arguments &arguments);

// The page states every call is tried in.
struct PageState {
  const char *name;
  const char *how;               // the calls that make it, for the failure report
  void (*make)(std::FILE *log);  // writes the calls it made beyond `how` to the log
};
const std::vector<PageState> &PageStates();

}  // namespace tamvel::contract
