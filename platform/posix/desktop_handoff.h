// What the library hands to the viewer program: a metafile for the desktop clipboard.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tamvel::posix::desktop {

// In a desktop session, makes the viewer own the desktop clipboard with this metafile (as
// PNG, SVG and EMF) until another program takes it, also after this program has ended.
// Returns once the viewer owns it (or could not); false when it does not.
bool OfferToClipboard(std::span<const uint8_t> emf);

}  // namespace tamvel::posix::desktop
