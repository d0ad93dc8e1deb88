#include "bench/bench_memory.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace bench {

namespace {

// A "Name:   123 kB" line of /proc/self/status.
int64_t StatusKb(const char *name) {
  std::FILE *status = std::fopen("/proc/self/status", "r");
  if (!status) return 0;
  char line[256];
  int64_t kb = 0;
  const size_t length = std::strlen(name);
  while (std::fgets(line, sizeof line, status)) {
    if (std::strncmp(line, name, length) == 0 && line[length] == ':') {
      kb = std::atoll(line + length + 1);
      break;
    }
  }
  std::fclose(status);
  return kb;
}

}  // namespace

void ResetPeakMemory() {
  // Writing 5 to clear_refs starts the peak (VmHWM) again from the current size.
  if (std::FILE *refs = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", refs);
    std::fclose(refs);
  }
}

int64_t PeakMemoryBytes() { return StatusKb("VmHWM") * 1024; }
int64_t ResidentMemoryBytes() { return StatusKb("VmRSS") * 1024; }

}  // namespace bench
