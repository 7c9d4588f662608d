// The bitmap type behind a frame's image, mask and saved areas: an in-memory
// bitmap file ("BM", a 40-byte bitmap-info header, its colour table, then
// the pixel rows, bottom row first, each row padded to a multiple of four
// bytes). Keeping the file as it stands lets a platform hand the header and
// rows to its own bitmap calls without converting them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

namespace tessavo::gif {

// One colour table entry, in the order the bitmap file stores it.
struct RgbQuad {
  std::uint8_t blue = 0;
  std::uint8_t green = 0;
  std::uint8_t red = 0;
  std::uint8_t reserved = 0;
  friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};

// The 40-byte bitmap-info header, field by field.
struct BitmapInfoHeader {
  std::uint32_t size = 40;
  std::int32_t width = 0;
  std::int32_t height = 0;  // positive: rows bottom-up
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 8;
  std::uint32_t compression = 0;
  std::uint32_t sizeImage = 0;
  std::int32_t xPelsPerMeter = 0;
  std::int32_t yPelsPerMeter = 0;
  std::uint32_t clrUsed = 0;
  std::uint32_t clrImportant = 0;
};

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

// Bytes in one row of a bitmap of that width and depth (4-byte aligned).
constexpr std::size_t BitmapStride(std::int32_t width, int bitsPerPixel) {
  return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
}

// Writes the header little-endian into out[0..40).
void WriteInfoHeader(std::uint8_t* out, const BitmapInfoHeader& header);

// A zero-filled byte buffer from calloc: the system hands out large ones as
// untouched zero pages, so the rows of a huge frame that its data never
// reaches cost no time. Throws std::bad_alloc when refused.
class ZeroedBytes {
 public:
  ZeroedBytes() = default;
  explicit ZeroedBytes(std::size_t size);
  std::uint8_t* data() { return bytes_.get(); }
  const std::uint8_t* data() const { return bytes_.get(); }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  operator std::span<const std::uint8_t>() const { return {bytes_.get(), size_}; }

 private:
  struct Free {
    void operator()(std::uint8_t* p) const { std::free(p); }
  };
  std::unique_ptr<std::uint8_t, Free> bytes_;
  std::size_t size_ = 0;
};

// A buffer of pixel rows with room in front for the bitmap file's headers,
// so that building the bitmap does not copy the rows. `offset` is where the
// rows start; the rows are bytes[offset..].
struct PixelStream {
  ZeroedBytes bytes;
  std::size_t offset = 0;
  std::span<const std::uint8_t> Rows() const { return std::span<const std::uint8_t>(bytes).subspan(offset); }
};

class GifBitmap {
 public:
  GifBitmap() = default;

  // A bitmap of 1 or 8 bits per pixel, every pixel index 0.
  static GifBitmap Blank(std::int32_t width, std::int32_t height, int bitsPerPixel,
                         std::span<const RgbQuad> colors);

  // Takes a whole bitmap file; throws std::invalid_argument when it is not
  // a consistent uncompressed 1- or 8-bit bottom-up bitmap.
  void LoadFromFile(ZeroedBytes file);

  bool Empty() const { return file_.empty(); }
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  int BitsPerPixel() const { return bitsPerPixel_; }
  std::size_t Stride() const { return stride_; }
  const std::vector<RgbQuad>& ColorTable() const { return colors_; }

  // Row y of the picture, y = 0 the top row.
  std::uint8_t* Row(std::int32_t y) { return file_.data() + RowOffset(y); }
  const std::uint8_t* Row(std::int32_t y) const { return file_.data() + RowOffset(y); }
  // The colour index of pixel (x, y), y = 0 the top row.
  int PixelIndex(std::int32_t x, std::int32_t y) const;

  // The whole file, the header with its colour table, and the rows as
  // stored (bottom row first).
  std::span<const std::uint8_t> FileBytes() const { return file_; }
  std::span<const std::uint8_t> InfoBytes() const;
  std::span<const std::uint8_t> Bits() const;

 private:
  std::size_t RowOffset(std::int32_t y) const {
    return pixelOffset_ + static_cast<std::size_t>(height_ - 1 - y) * stride_;
  }

  ZeroedBytes file_;
  std::vector<RgbQuad> colors_;
  std::size_t pixelOffset_ = 0;
  std::size_t stride_ = 0;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  int bitsPerPixel_ = 0;
};

// Builds `bitmap` from a bitmap-info header followed by its colour table
// (`info`: 40 + 4 * colours used bytes) and the pixel rows, bottom row
// first, as a bitmap file: "BM", file size, two reserved words, pixel
// offset, then `info`, then the rows. When `pixels` has exactly the room
// for the file headers in front of its rows, the file is written around
// the rows in place.
void BuildBitmap(GifBitmap& bitmap, std::span<const std::uint8_t> info, PixelStream&& pixels);

}  // namespace tessavo::gif
