// Resident memory of this process as the kernel counts it (/proc/self/status), for the
// peak-memory benchmarks, which run in a process of their own.
#pragma once

#include <cstdint>

namespace bench {

// Starts the peak over from the current resident size.
void ResetPeakMemory();
// Peak resident memory since the last reset, and the current one, in bytes (0 where unknown).
int64_t PeakMemoryBytes();
int64_t ResidentMemoryBytes();

}  // namespace bench
