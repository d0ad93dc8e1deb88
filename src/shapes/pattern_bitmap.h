// The library-wide bitmap of the fill pattern chosen last.
#pragma once

namespace tamvel {

// Deletes the pattern bitmap if it exists (detach).
void ReleasePatternBitmap();

}  // namespace tamvel
