// Metafile handles: the finished file images behind HENHMETAFILE.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/posix/objects.h"

namespace tamvel::posix {

// True when `image` is a well-formed EMF file image: an EMR_HEADER of a known size with the
// signature, nBytes within the image, and a chain of records (each at least 8 bytes, a
// multiple of 4) that ends with EMR_EOF exactly at nBytes.
bool IsValidEmfImage(std::span<const uint8_t> image);

// Registers a metafile made of `image` (which must be valid; trailing bytes beyond nBytes
// are dropped). Null when the table is full.
HENHMETAFILE AddMetafile(ImageBuffer image);

// Writes a file image to `path` through an AtomicFile (safe_file.h): the name holds the old
// file or the whole new one, never part of it, whatever happens to the process (a full disk
// included). Not flushed to the disk before the rename, as GDI's metafile files are not: a
// big page is saved at the speed of memory. False when it could not be written.
bool WriteFileImage(const std::string &path, std::span<const uint8_t> bytes);

// The metafile behind `emf`, or null.
const Metafile *LookupMetafile(HENHMETAFILE emf);

}  // namespace tamvel::posix
