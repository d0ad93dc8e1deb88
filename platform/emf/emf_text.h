// Text forms of decoded EMF records: one line per record, as `tamvel dump` prints them and as
// tests show them in failure messages.
//
//   FormatRecord(r, 17) -> "   17 0x0001c4 EMR_POLYLINE16 size=52 bounds=(0,0)-(9,9) n=6 (0,0) ..."
//
// Fields are printed with their stored values; COLORREFs as rgb(r,g,b) or paletteindex(i),
// stock objects by name, strings quoted as UTF-8 with \u escapes for control characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/emf/emf_decoder.h"

namespace tamvel::emf {

struct FormatOptions {
  bool all_points = false;  // print every point, Dx value and rectangle
  size_t head_items = 6;    // otherwise: this many from the start of a long list...
  size_t tail_items = 2;    // ...and this many from its end
};

// "EMR_LINETO size=16 (100,-200)": the record's name, size and fields.
std::string FormatRecordFields(const Record& record, const FormatOptions& options = {});

// The dump line: index, offset, then FormatRecordFields.
std::string FormatRecord(const Record& record, size_t index, const FormatOptions& options = {});

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// UTF-8 to UTF-16 (for tests that compare against literals); bad sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// The text in double quotes, UTF-8, with \", \\ and \uXXXX for control characters.
std::string QuoteUtf16(std::u16string_view text);

// "rgb(255,0,0)", "paletteindex(3)", "palettergb(1,2,3)" or "colorref(0x...)".
std::string FormatColor(uint32_t colorref);

}  // namespace tamvel::emf
