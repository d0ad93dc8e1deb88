// What the library benchmarks share: attaching, opening the benchmark page, drawing its
// segments and a scratch file for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bench/bench_memory.h"
#include "bench/segments.h"

namespace bench {

// Attaches the library once and opens page 1 as a fresh A4 recording.
bool OpenPage();

// The end points of the page's segments (and the first move at index 0), in millimetres.
const std::vector<MmPoint> &PagePoints();

// PLOT(x, y, 3) to the first point, then PLOT(x, y, 2) for every segment.
void DrawSegments();

// A file in the temporary folder holding the benchmark page (made on first use).
const std::string &PageFile();

}  // namespace bench
