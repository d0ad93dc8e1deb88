// The metafile handle calls: load, copy, delete, and read header, bits and description.
#include "platform/posix/metafiles.h"

#include <algorithm>
#include <cstring>

#include "platform/emf/emf_records.h"
#include "platform/posix/code_page.h"
#include "platform/posix/handles.h"
#include "platform/posix/record_builder.h"
#include "platform/posix/safe_file.h"

namespace tamvel::posix {

using namespace tamvel::emf;

namespace {

constexpr uint32_t kBaseHeaderSize = 88;
constexpr size_t kMaxFileBytes = size_t{1} << 30;

bool ValidRecordChain(std::span<const uint8_t> image, uint32_t total) {
  size_t offset = 0;
  while (offset + 8 <= total) {
    const uint32_t type = ReadAt<uint32_t>(image.data(), offset);
    const uint32_t size = ReadAt<uint32_t>(image.data(), offset + 4);
    if (size < 8 || size % 4 != 0 || size > total - offset) return false;
    offset += size;
    if (type == kEof) return offset == total;
  }
  return false;
}

// Reads the metafile file at `path` into `image`, in one buffer: a regular file only (a FIFO
// or a device is refused before it is opened, so nothing blocks), and only the nBytes its
// header claims, when the file holds them.
bool ReadMetafileFile(const char *path, ImageBuffer &image) {
  CheckedReader file;
  uint8_t header[kBaseHeaderSize];
  if (file.Open(path) != CheckedReader::Status::kOk || !file.ReadExactly(0, header)) return false;
  const uint32_t total = ReadAt<uint32_t>(header, 48);
  if (total < kBaseHeaderSize || total > file.size() || total > kMaxFileBytes) return false;
  uint8_t *at = image.Extend(total);
  return at != nullptr && file.ReadExactly(0, {at, total});
}

}  // namespace

bool IsValidEmfImage(std::span<const uint8_t> image) {
  if (image.size() < kBaseHeaderSize) return false;
  const uint8_t *p = image.data();
  const uint32_t size = ReadAt<uint32_t>(p, 4);
  const uint32_t total = ReadAt<uint32_t>(p, 48);
  if (ReadAt<uint32_t>(p, 0) != kHeader || ReadAt<uint32_t>(p, 40) != kSignature) return false;
  if (size < kBaseHeaderSize || size % 4 != 0 || total > image.size() || total < size) return false;
  return ValidRecordChain(image, total);
}

HENHMETAFILE AddMetafile(ImageBuffer image) {
  auto metafile = std::make_shared<Metafile>();
  image.Truncate(ReadAt<uint32_t>(image.data(), 48));
  metafile->image = std::make_shared<const ImageBuffer>(std::move(image));
  return AddHandle<HENHMETAFILE>(std::move(metafile));
}

const Metafile *LookupMetafile(HENHMETAFILE emf) { return Lookup<Metafile>(emf).get(); }

bool WriteFileImage(const std::string &path, std::span<const uint8_t> bytes) {
  return AtomicFile::WriteWhole(path, 0666, std::span(&bytes, 1), AtomicFile::Permissions::kMasked,
                                AtomicFile::Durability::kProcessCrash);
}

}  // namespace tamvel::posix

using namespace tamvel::posix;

BOOL DeleteEnhMetaFile(HENHMETAFILE emf) {
  if (!LookupMetafile(emf)) return FALSE;
  return RemoveObject(ValueOf(emf)) ? TRUE : FALSE;
}

HENHMETAFILE CopyEnhMetaFileA(HENHMETAFILE emf, LPCSTR file) {
  const Metafile *metafile = LookupMetafile(emf);
  if (!metafile) return nullptr;
  if (file && !WriteFileImage(file, metafile->bytes())) return nullptr;
  // The image never changes: the copy shares it.
  auto copy = std::make_shared<Metafile>();
  copy->image = metafile->image;
  return AddHandle<HENHMETAFILE>(std::move(copy));
}

HENHMETAFILE GetEnhMetaFileA(LPCSTR file) {
  ImageBuffer image;
  if (!file || !ReadMetafileFile(file, image) || !IsValidEmfImage(image.bytes())) return nullptr;
  return AddMetafile(std::move(image));
}

HENHMETAFILE SetEnhMetaFileBits(UINT size, const BYTE *data) {
  if (!data || !IsValidEmfImage({data, size})) return nullptr;
  ImageBuffer image;
  uint8_t *at = image.Extend(size);
  if (!at) return nullptr;
  std::memcpy(at, data, size);
  return AddMetafile(std::move(image));
}

UINT GetEnhMetaFileBits(HENHMETAFILE emf, UINT size, BYTE *data) {
  const Metafile *metafile = LookupMetafile(emf);
  if (!metafile) return 0;
  const std::span<const uint8_t> bytes = metafile->bytes();
  const auto total = static_cast<UINT>(bytes.size());
  if (!data) return total;
  const UINT n = std::min(size, total);
  std::memcpy(data, bytes.data(), n);
  return n;
}

UINT GetEnhMetaFileHeader(HENHMETAFILE emf, UINT size, ENHMETAHEADER *header) {
  const Metafile *metafile = LookupMetafile(emf);
  if (!metafile) return 0;
  const ENHMETAHEADER full = metafile->Header();
  const UINT header_size = std::min<UINT>(full.nSize, sizeof full);
  if (!header) return header_size;
  const UINT n = std::min(size, header_size);
  std::memcpy(header, &full, n);
  return n;
}

// The description as stored (UTF-16 with its NULs), converted to code page 932; returns the
// number of characters copied, NULs included, or the whole length for a null buffer.
UINT GetEnhMetaFileDescriptionA(HENHMETAFILE emf, UINT size, LPSTR text) {
  const Metafile *metafile = LookupMetafile(emf);
  if (!metafile) return static_cast<UINT>(GDI_ERROR);
  const ENHMETAHEADER header = metafile->Header();
  const uint64_t end = uint64_t{header.offDescription} + uint64_t{header.nDescription} * 2;
  if (header.nDescription == 0 || header.offDescription == 0 || end > header.nSize) return 0;
  std::u16string wide(header.nDescription, u'\0');
  std::memcpy(wide.data(), metafile->bytes().data() + header.offDescription, wide.size() * 2);
  const std::string ansi = Utf16ToCp932(wide);
  if (!text) return static_cast<UINT>(ansi.size());
  const UINT n = std::min<UINT>(size, static_cast<UINT>(ansi.size()));
  std::memcpy(text, ansi.data(), n);
  return n;
}

// The palette stored in EMR_EOF, the last record of the image.
UINT GetEnhMetaFilePaletteEntries(HENHMETAFILE emf, UINT count, PALETTEENTRY *entries) {
  const Metafile *metafile = LookupMetafile(emf);
  if (!metafile) return static_cast<UINT>(GDI_ERROR);
  const std::span<const uint8_t> bytes = metafile->bytes();
  const uint32_t eof_size = ReadAt<uint32_t>(bytes.data(), bytes.size() - 4);
  if (eof_size < 20 || eof_size > bytes.size()) return static_cast<UINT>(GDI_ERROR);
  const size_t eof = bytes.size() - eof_size;
  const uint32_t n = ReadAt<uint32_t>(bytes.data(), eof + 8);
  const uint32_t offset = ReadAt<uint32_t>(bytes.data(), eof + 12);
  if (n == 0) return 0;
  if (offset > eof_size || n > (eof_size - offset) / 4) return static_cast<UINT>(GDI_ERROR);
  if (!entries) return n;
  const UINT copied = std::min(count, n);
  std::memcpy(entries, bytes.data() + eof + offset, copied * sizeof(PALETTEENTRY));
  return copied;
}
