// gdi_render: the other side of the differential rendering test. Plays metafiles with the
// system's own GDI player into white 32-bit DIB sections and writes the pixels as PNG files,
// which the Linux side compares with what our player draws (tools/ci/gdi-agreement.sh).
//
//   gdi_render PIXELS_PER_MM OUT_DIR FILE.emf...
//
// Every picture has the size of the metafile's picture frame at PIXELS_PER_MM, each side
// rounded to whole pixels (the sizes the reference-image tests use); FILE.emf becomes
// OUT_DIR/FILE.png. Exits 1 when a file could not be read, played or written, after trying
// the others.
//
// Built by the x86_64 Windows preset and run under wine64, in the tests' Wine prefix (code
// page 932, the Japanese faces mapped to installed fonts). Wine 8's player has defects of its
// own that are not ours to reproduce; PlayRecord below works around each of them.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDibPalIndices = 2;  // DIB_PAL_INDICES, which mingw's headers leave out

// ---- PNG output: 8-bit RGB, deflate with stored blocks (no compression library needed).

uint32_t Crc32(const uint8_t *data, size_t size, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutU32(std::vector<uint8_t> &out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutChunk(std::vector<uint8_t> &out, const char *type, const std::vector<uint8_t> &body) {
  PutU32(out, static_cast<uint32_t>(body.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  PutU32(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of `raw` in stored blocks of at most 65535 bytes.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t> &raw) {
  std::vector<uint8_t> out{0x78, 0x01};
  size_t pos = 0;
  do {
    const size_t n = std::min<size_t>(raw.size() - pos, 65535);
    out.push_back(pos + n == raw.size() ? 1 : 0);
    out.push_back(static_cast<uint8_t>(n));
    out.push_back(static_cast<uint8_t>(n >> 8));
    out.push_back(static_cast<uint8_t>(~n));
    out.push_back(static_cast<uint8_t>(~n >> 8));
    out.insert(out.end(), raw.begin() + pos, raw.begin() + pos + n);
    pos += n;
  } while (pos < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutU32(out, (b << 16) | a);
  return out;
}

// `pixels` are top-down rows of 0x00RRGGBB (the DIB section's layout).
bool WritePng(const std::string &path, const uint32_t *pixels, int width, int height) {
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(height) * (1 + 3 * static_cast<size_t>(width)));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // filter: none
    for (int x = 0; x < width; ++x) {
      const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
      raw.push_back(static_cast<uint8_t>(p >> 16));
      raw.push_back(static_cast<uint8_t>(p >> 8));
      raw.push_back(static_cast<uint8_t>(p));
    }
  }
  std::vector<uint8_t> header;
  PutU32(header, static_cast<uint32_t>(width));
  PutU32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // depth 8, RGB, deflate, no interlace
  std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", StoredZlib(raw));
  PutChunk(png, "IEND", {});
  FILE *file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}

// ---- Playback, record by record, with Wine's defects worked around.

bool RunningOnWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The little-endian DWORD at `offset` of a record (the 64-bit EXTLOGPEN of <wingdi.h> does not
// have the layout of the file's, whose hatch field is 32 bits).
DWORD Field(const ENHMETARECORD *record, size_t offset) {
  DWORD value;
  std::memcpy(&value, reinterpret_cast<const uint8_t *>(record) + offset, sizeof value);
  return value;
}

// EMR_EXTCREATEPEN without a brush bitmap and without style entries, made here instead of by
// Wine's player, for two defects of Wine 8:
//  - its player drops every such pen: it passes the record's (empty) style array as a
//    non-null pointer with count 0, its ExtCreatePen refuses that with error 87, and the
//    default pen draws instead. Any player makes the pen from the same fields, no array.
//  - a geometric PS_DOT pen with round or square caps draws its first dot and nothing more
//    (its dots shrink to length 0 to make room for the caps, and a dash of length 0 stops
//    the line). Its other styles draw their dots as discs one pen width across, a pen width
//    apart; a user style of dashes a third of the width long, two widths apart, draws them
//    so to within a third of the width.
bool CreateExtPenForWine(HDC dc, const ENHMETARECORD *record, HANDLETABLE *table, int handles) {
  // ihPen, offBmi, cbBmi, offBits, cbBits, then the pen: style, width, brush style, colour,
  // hatch, number of style entries.
  if (record->nSize < 52 || Field(record, 48) != 0 || Field(record, 12) != 0) return false;
  const DWORD index = Field(record, 8);
  if (index == 0 || index >= DWORD(handles)) return false;
  DWORD style = Field(record, 28);
  const DWORD width = Field(record, 32);
  LOGBRUSH brush{Field(record, 36), Field(record, 40), Field(record, 44)};
  const bool geometric = (style & PS_TYPE_MASK) == PS_GEOMETRIC;
  if (geometric && (style & PS_STYLE_MASK) == PS_DOT &&
      (style & PS_ENDCAP_MASK) != PS_ENDCAP_FLAT) {
    // Wine takes the entries of a geometric user style in device pixels.
    POINT ends[2] = {{0, 0}, {static_cast<LONG>(width), 0}};
    LPtoDP(dc, ends, 2);
    const DWORD pixels = static_cast<DWORD>(std::max<LONG>(std::labs(ends[1].x - ends[0].x), 3));
    const DWORD dots[2] = {pixels / 3, 2 * pixels - pixels / 3};
    style = (style & ~PS_STYLE_MASK) | PS_USERSTYLE;
    table->objectHandle[index] = ExtCreatePen(style, width, &brush, 2, dots);
  } else {
    table->objectHandle[index] = ExtCreatePen(style, width, &brush, 0, nullptr);
  }
  return true;
}

// Wine 8 reads the bits of a 1-bpp EMR_CREATEMONOBRUSH with usage DIB_PAL_INDICES at a row
// stride of 2 bytes (a device bitmap's word alignment) instead of the DIB's 4, so every
// second row comes from the wrong place. A copy of the record with its rows moved to where
// Wine looks for them plays as the file means.
std::vector<uint8_t> MonoBrushForWine(const ENHMETARECORD *record) {
  // ihBrush, iUsage, offBmi, cbBmi, offBits, cbBits.
  if (record->nSize < 32 || Field(record, 12) != kDibPalIndices) return {};
  const size_t info_at = Field(record, 16), bits_at = Field(record, 24);
  if (info_at > record->nSize || record->nSize - info_at < sizeof(BITMAPINFOHEADER)) return {};
  BITMAPINFOHEADER info;
  std::memcpy(&info, reinterpret_cast<const uint8_t *>(record) + info_at, sizeof info);
  const size_t width = static_cast<size_t>(std::labs(info.biWidth));
  const size_t rows = static_cast<size_t>(std::labs(info.biHeight));
  const size_t dib_stride = (width + 31) / 32 * 4, wine_stride = (width + 15) / 16 * 2;
  if (info.biBitCount != 1 || width > 4096 || rows > 4096 || bits_at > record->nSize ||
      record->nSize - bits_at < dib_stride * rows) {
    return {};
  }
  std::vector<uint8_t> copy(reinterpret_cast<const uint8_t *>(record),
                            reinterpret_cast<const uint8_t *>(record) + record->nSize);
  uint8_t *bits = copy.data() + bits_at;
  for (size_t y = 0; y < rows; ++y) {
    std::memmove(bits + y * wine_stride, bits + y * dib_stride, wine_stride);
  }
  return copy;
}

struct Playback {
  bool wine = false;
};

int CALLBACK PlayRecord(HDC dc, HANDLETABLE *table, const ENHMETARECORD *record, int handles,
                        LPARAM data) {
  const Playback &playback = *reinterpret_cast<const Playback *>(data);
  std::vector<uint8_t> replacement;
  if (playback.wine) {
    switch (record->iType) {
      case EMR_EXTCREATEPEN:
        if (CreateExtPenForWine(dc, record, table, handles)) return 1;
        break;
      case EMR_CREATEMONOBRUSH:
        replacement = MonoBrushForWine(record);
        break;
    }
  }
  if (!replacement.empty()) record = reinterpret_cast<const ENHMETARECORD *>(replacement.data());
  PlayEnhMetaFileRecord(dc, table, record, static_cast<UINT>(handles));
  return 1;  // a record GDI cannot play does not end the picture
}

std::string OutputPath(const std::string &folder, const std::string &input) {
  const size_t slash = input.find_last_of("/\\");
  std::string name = slash == std::string::npos ? input : input.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.resize(dot);
  return folder + "/" + name + ".png";
}

bool Render(const char *input, double pixels_per_mm, const std::string &output,
            const Playback &playback) {
  HENHMETAFILE metafile = GetEnhMetaFileA(input);
  if (metafile == nullptr) {
    std::fprintf(stderr, "gdi_render: cannot read %s\n", input);
    return false;
  }
  ENHMETAHEADER header{};
  GetEnhMetaFileHeader(metafile, sizeof header, &header);
  const RECTL &frame = header.rclFrame;  // 0.01 mm
  const double width_mm = (frame.right - frame.left) / 100.0;
  const double height_mm = (frame.bottom - frame.top) / 100.0;
  const int width = static_cast<int>(std::lround(width_mm * pixels_per_mm));
  const int height = static_cast<int>(std::lround(height_mm * pixels_per_mm));
  if (!(width > 0 && width <= 20000 && height > 0 && height <= 20000)) {
    std::fprintf(stderr, "gdi_render: %s has no usable picture frame\n", input);
    DeleteEnhMetaFile(metafile);
    return false;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void *bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = bitmap != nullptr;
  if (ok) {
    HGDIOBJ old = SelectObject(dc, bitmap);
    std::memset(bits, 0xFF, static_cast<size_t>(width) * height * 4);
    RECT rect{0, 0, width, height};
    ok = EnumEnhMetaFile(dc, metafile, PlayRecord, const_cast<Playback *>(&playback), &rect);
    GdiFlush();
    if (!ok) std::fprintf(stderr, "gdi_render: playing %s failed\n", input);
    if (!WritePng(output, static_cast<const uint32_t *>(bits), width, height)) {
      std::fprintf(stderr, "gdi_render: cannot write %s\n", output.c_str());
      ok = false;
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
  }
  DeleteDC(dc);
  DeleteEnhMetaFile(metafile);
  return ok;
}

}  // namespace

int main(int argc, char **argv) {
  const double pixels_per_mm = argc > 3 ? std::atof(argv[1]) : 0.0;
  if (!(pixels_per_mm > 0.0 && pixels_per_mm <= 100.0)) {
    std::fprintf(stderr, "usage: gdi_render PIXELS_PER_MM OUT_DIR FILE.emf...\n");
    return 2;
  }
  Playback playback;
  playback.wine = RunningOnWine();
  int failures = 0;
  for (int i = 3; i < argc; ++i) {
    if (!Render(argv[i], pixels_per_mm, OutputPath(argv[2], argv[i]), playback)) ++failures;
  }
  return failures == 0 ? 0 : 1;
}
