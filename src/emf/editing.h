// Operations of the editing calls that other code may reuse.
#pragma once

#include "platform/win32.h"

namespace tamvel {

constexpr int kDescriptionBufferBytes = 256;

// Copies a metafile's description (both strings with their NULs) into a zeroed buffer of
// kDescriptionBufferBytes: 0 done, 1 no handle, 2 header unreadable, 3 no description.
int ReadDescription(HENHMETAFILE metafile, char *buffer);

// Rewrites the frame in the header of *metafile (0.01 mm). On success the old metafile is
// deleted and *metafile is the new one (true); on failure *metafile is unchanged (false).
bool ReplaceFrame(HENHMETAFILE *metafile, const RECT &frame);

}  // namespace tamvel
