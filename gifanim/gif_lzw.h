// LZW decoding of one image's pixel data (variable-width codes, least
// significant bit first, in data sub-blocks) straight into the bottom-up
// rows of its bitmap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "gifanim/gif_bitmap.h"
#include "gifanim/gif_frame.h"

namespace tessavo::gif {

// Called during a large image (above 100000 pixels) at every 64th row, or
// every 32nd when wider than 320 pixels, with the position the decoding
// has reached in the data; false cancels the decoding.
using RowProgress = std::function<bool(std::size_t position)>;

// Decodes the image data of `frame` (its size, interlacing and transparent
// index are used) that starts at `position`, on its minimum code size
// byte, into the rows of `pixels` and, for a transparent frame, the mask
// rows of `mask` (null for an opaque one); each stream gets its rows
// behind its offset. Leaves `position` after the image data. Rows the data
// does not reach stay 0.
//
// False when the data ends before the minimum code size, the size is above
// 11, or a prefix chain loops or outgrows the 4096-entry stack; and when
// `progress` cancels.
bool DecodeLzw(std::span<const std::uint8_t> data, std::size_t& position, const TGIFFrame& frame,
               PixelStream& pixels, PixelStream* mask, const RowProgress& progress);

}  // namespace tessavo::gif
