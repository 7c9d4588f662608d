#include "gifanim/gif_bitmap.h"

#include <algorithm>
#include <new>
#include <cstring>
#include <stdexcept>
#include <string>

namespace tessavo::gif {
namespace {

void Put16(std::uint8_t* out, std::uint32_t value) {
  out[0] = static_cast<std::uint8_t>(value);
  out[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* out, std::uint32_t value) {
  Put16(out, value);
  Put16(out + 2, value >> 16);
}

std::uint32_t Get16(const std::uint8_t* in) { return in[0] | static_cast<std::uint32_t>(in[1]) << 8; }

std::uint32_t Get32(const std::uint8_t* in) { return Get16(in) | Get16(in + 2) << 16; }

[[noreturn]] void Refuse(const char* why) {
  throw std::invalid_argument(std::string("bitmap cannot be built: ") + why);
}

}  // namespace

ZeroedBytes::ZeroedBytes(std::size_t size) : size_(size) {
  if (size == 0) return;
  bytes_.reset(static_cast<std::uint8_t*>(std::calloc(size, 1)));
  if (!bytes_) throw std::bad_alloc();
}

void WriteInfoHeader(std::uint8_t* out, const BitmapInfoHeader& header) {
  Put32(out, header.size);
  Put32(out + 4, static_cast<std::uint32_t>(header.width));
  Put32(out + 8, static_cast<std::uint32_t>(header.height));
  Put16(out + 12, header.planes);
  Put16(out + 14, header.bitCount);
  Put32(out + 16, header.compression);
  Put32(out + 20, header.sizeImage);
  Put32(out + 24, static_cast<std::uint32_t>(header.xPelsPerMeter));
  Put32(out + 28, static_cast<std::uint32_t>(header.yPelsPerMeter));
  Put32(out + 32, header.clrUsed);
  Put32(out + 36, header.clrImportant);
}

GifBitmap GifBitmap::Blank(std::int32_t width, std::int32_t height, int bitsPerPixel,
                           std::span<const RgbQuad> colors) {
  if (width <= 0 || height <= 0) Refuse("empty size");
  BitmapInfoHeader header;
  header.width = width;
  header.height = height;
  header.bitCount = static_cast<std::uint16_t>(bitsPerPixel);
  const std::size_t imageSize = BitmapStride(width, bitsPerPixel) * static_cast<std::size_t>(height);
  header.sizeImage = static_cast<std::uint32_t>(imageSize);
  header.clrUsed = static_cast<std::uint32_t>(colors.size());
  std::vector<std::uint8_t> info(kInfoHeaderSize + 4 * colors.size());
  WriteInfoHeader(info.data(), header);
  for (std::size_t i = 0; i < colors.size(); ++i) {
    std::uint8_t* entry = info.data() + kInfoHeaderSize + 4 * i;
    entry[0] = colors[i].blue;
    entry[1] = colors[i].green;
    entry[2] = colors[i].red;
    entry[3] = 0;
  }
  PixelStream rows;
  rows.offset = kFileHeaderSize + info.size();
  rows.bytes = ZeroedBytes(rows.offset + imageSize);
  GifBitmap bitmap;
  BuildBitmap(bitmap, info, std::move(rows));
  return bitmap;
}

void GifBitmap::LoadFromFile(ZeroedBytes file) {
  if (file.size() < kFileHeaderSize + kInfoHeaderSize) Refuse("too short");
  const std::uint8_t* p = file.data();
  if (Get16(p) != 0x4D42) Refuse("no BM signature");
  if (Get32(p + 2) != file.size()) Refuse("file size");
  const std::uint8_t* h = p + kFileHeaderSize;
  const std::uint32_t headerSize = Get32(h);
  const auto width = static_cast<std::int32_t>(Get32(h + 4));
  const auto height = static_cast<std::int32_t>(Get32(h + 8));
  const std::uint32_t planes = Get16(h + 12);
  const int bitCount = static_cast<int>(Get16(h + 14));
  const std::uint32_t compression = Get32(h + 16);
  const std::uint32_t sizeImage = Get32(h + 20);
  const std::uint32_t colorsUsed = Get32(h + 32);
  if (headerSize != kInfoHeaderSize || planes != 1 || compression != 0) Refuse("header");
  if (bitCount != 1 && bitCount != 8) Refuse("depth");
  if (width <= 0 || height <= 0) Refuse("size");
  if (colorsUsed > (1u << bitCount)) Refuse("colour count");
  const std::size_t stride = BitmapStride(width, bitCount);
  if (sizeImage != stride * static_cast<std::size_t>(height)) Refuse("image size");
  const std::size_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + 4 * std::size_t{colorsUsed};
  if (Get32(p + 10) != pixelOffset || pixelOffset + sizeImage != file.size()) Refuse("pixel offset");

  colors_.resize(colorsUsed);
  for (std::uint32_t i = 0; i < colorsUsed; ++i) {
    const std::uint8_t* entry = h + kInfoHeaderSize + 4 * i;
    colors_[i] = {entry[0], entry[1], entry[2], entry[3]};
  }
  file_ = std::move(file);
  pixelOffset_ = pixelOffset;
  stride_ = stride;
  width_ = width;
  height_ = height;
  bitsPerPixel_ = bitCount;
}

int GifBitmap::PixelIndex(std::int32_t x, std::int32_t y) const {
  const std::uint8_t* row = Row(y);
  if (bitsPerPixel_ == 8) return row[x];
  return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

std::span<const std::uint8_t> GifBitmap::InfoBytes() const {
  if (Empty()) return {};
  return std::span<const std::uint8_t>(file_).subspan(kFileHeaderSize, pixelOffset_ - kFileHeaderSize);
}

std::span<const std::uint8_t> GifBitmap::Bits() const {
  if (Empty()) return {};
  return std::span<const std::uint8_t>(file_).subspan(pixelOffset_);
}

void BuildBitmap(GifBitmap& bitmap, std::span<const std::uint8_t> info, PixelStream&& pixels) {
  const std::size_t pixelOffset = kFileHeaderSize + info.size();
  const std::size_t imageSize = pixels.bytes.size() - pixels.offset;
  ZeroedBytes file;
  if (pixels.offset == pixelOffset) {
    file = std::move(pixels.bytes);
  } else {
    file = ZeroedBytes(pixelOffset + imageSize);
    std::memcpy(file.data() + pixelOffset, pixels.bytes.data() + pixels.offset, imageSize);
  }
  pixels = {};
  Put16(file.data(), 0x4D42);
  Put32(file.data() + 2, static_cast<std::uint32_t>(pixelOffset + imageSize));
  Put16(file.data() + 6, 0);
  Put16(file.data() + 8, 0);
  Put32(file.data() + 10, static_cast<std::uint32_t>(pixelOffset));
  std::memcpy(file.data() + kFileHeaderSize, info.data(), info.size());
  bitmap.LoadFromFile(std::move(file));
}

}  // namespace tessavo::gif
