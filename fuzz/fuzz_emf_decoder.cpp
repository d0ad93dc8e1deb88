// libFuzzer target: any byte string must decode and format without a crash, a sanitizer
// report, an out-of-bounds read or an allocation beyond the input's size.
#include <cstddef>
#include <cstdint>

#include "platform/emf/emf_decoder.h"
#include "platform/emf/emf_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamvel::emf;
  DecodeResult result = DecodeEmf(data, size);
  for (size_t i = 0; i < result.records.size(); ++i) {
    const Record& record = result.records[i];
    if (record.offset + record.size > size) __builtin_trap();  // records lie inside the data
    FormatRecord(record, i);
  }
  for (const Problem& problem : result.problems) problem.ToString();
  return 0;
}
