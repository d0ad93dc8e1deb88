// The library-wide palette collected by UpPalette/UpPalette0.
#pragma once

namespace tamvel {

// Frees the palette block and deletes the palette (detach).
void ReleaseProcessPalette();

}  // namespace tamvel
