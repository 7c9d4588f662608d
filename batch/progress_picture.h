// The progress window's animation: a 48x48 GIF89a of four frames, made at
// build time from the pixel maps art/progress_*.pxm by tools/gifenc.py.
#pragma once

#include <cstdint>
#include <span>

namespace tessavo {

// The picture in its stored form: a 32-bit little-endian signed byte count
// N, then the N bytes of the GIF file.
std::span<const std::uint8_t> ProgressPictureData();

}  // namespace tessavo
