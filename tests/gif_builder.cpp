#include "tests/gif_builder.h"

#include <algorithm>
#include <random>
#include <unordered_map>

namespace tessavo::gif::testing {

void CodeWriter::Put(int code, int width) {
  pending_ |= static_cast<std::uint32_t>(code) << pendingBits_;
  pendingBits_ += width;
  while (pendingBits_ >= 8) {
    bytes_.push_back(static_cast<std::uint8_t>(pending_));
    pending_ >>= 8;
    pendingBits_ -= 8;
  }
}

Bytes CodeWriter::ImageData(int minimumCodeSize, std::size_t blockSize) const {
  Bytes packed = bytes_;
  if (pendingBits_ > 0) packed.push_back(static_cast<std::uint8_t>(pending_));
  Bytes out{static_cast<std::uint8_t>(minimumCodeSize)};
  for (std::size_t i = 0; i < packed.size(); i += blockSize) {
    const std::size_t n = std::min(blockSize, packed.size() - i);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), packed.begin() + static_cast<std::ptrdiff_t>(i),
               packed.begin() + static_cast<std::ptrdiff_t>(i + n));
  }
  out.push_back(0);
  return out;
}

Bytes LzwEncode(std::span<const std::uint8_t> indexes, const LzwOptions& options) {
  const int clear = 1 << options.minimumCodeSize;
  const int end = clear + 1;
  std::mt19937 random(options.seed);
  std::bernoulli_distribution clearNow(options.clearChance);
  std::unordered_map<std::uint32_t, int> table;
  int width = 0;
  int nextFree = 0;
  auto restart = [&] {
    table.clear();
    width = options.minimumCodeSize + 1;
    nextFree = clear + 2;
  };
  restart();
  CodeWriter out;
  if (options.initialClear) out.Put(clear, width);
  if (!indexes.empty()) {
    int prefix = indexes[0];
    for (std::size_t i = 1; i < indexes.size(); ++i) {
      const std::uint32_t key = static_cast<std::uint32_t>(prefix) << 8 | indexes[i];
      if (const auto found = table.find(key); found != table.end()) {
        prefix = found->second;
        continue;
      }
      out.Put(prefix, width);
      if (nextFree < 4096) {
        table[key] = nextFree++;
        if (nextFree > (1 << width) && width < 12) ++width;
      }
      if ((nextFree == 4096 && !options.deferredClear) || clearNow(random)) {
        out.Put(clear, width);
        restart();
      }
      prefix = indexes[i];
    }
    out.Put(prefix, width);
  }
  if (options.endCode) out.Put(end, width);
  return out.ImageData(options.minimumCodeSize, options.blockSize);
}

Bytes Interlace(std::span<const std::uint8_t> indexes, int width, int height) {
  Bytes out;
  out.reserve(indexes.size());
  const int start[4] = {0, 4, 2, 1};
  const int step[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = start[pass]; y < height; y += step[pass]) {
      const auto row = indexes.begin() + static_cast<std::ptrdiff_t>(y) * width;
      out.insert(out.end(), row, row + width);
    }
  }
  return out;
}

void GifBuilder::Put16(int value) {
  bytes_.push_back(static_cast<std::uint8_t>(value));
  bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
}

GifBuilder& GifBuilder::Header(std::string version, int width, int height, int globalBits, Bytes palette) {
  bytes_.clear();
  for (char c : "GIF" + version) bytes_.push_back(static_cast<std::uint8_t>(c));
  Put16(width);
  Put16(height);
  bytes_.push_back(static_cast<std::uint8_t>(globalBits ? 0x80 | (globalBits - 1) : 0));
  bytes_.push_back(0);
  bytes_.push_back(0);
  if (globalBits) {
    palette.resize(std::size_t{3} << globalBits);
    bytes_.insert(bytes_.end(), palette.begin(), palette.end());
  }
  return *this;
}

GifBuilder& GifBuilder::GraphicControl(int disposal, bool transparent, int delay, int transparentIndex) {
  Raw({0x21, 0xF9, 4, static_cast<std::uint8_t>(disposal << 2 | (transparent ? 1 : 0))});
  Put16(delay);
  Raw({static_cast<std::uint8_t>(transparentIndex), 0});
  return *this;
}

GifBuilder& GifBuilder::Loop(int count) {
  return Application("NETSCAPE2.0", {1, static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(count >> 8)});
}

GifBuilder& GifBuilder::Application(const std::string& identifier, const Bytes& firstBlock) {
  Raw({0x21, 0xFF, static_cast<std::uint8_t>(identifier.size())});
  bytes_.insert(bytes_.end(), identifier.begin(), identifier.end());
  bytes_.push_back(static_cast<std::uint8_t>(firstBlock.size()));
  Raw(firstBlock);
  bytes_.push_back(0);
  return *this;
}

GifBuilder& GifBuilder::Comment(const std::string& text) {
  Raw({0x21, 0xFE});
  for (std::size_t i = 0; i < text.size(); i += 255) {
    const std::size_t n = std::min<std::size_t>(255, text.size() - i);
    bytes_.push_back(static_cast<std::uint8_t>(n));
    bytes_.insert(bytes_.end(), text.begin() + static_cast<std::ptrdiff_t>(i),
                  text.begin() + static_cast<std::ptrdiff_t>(i + n));
  }
  bytes_.push_back(0);
  return *this;
}

GifBuilder& GifBuilder::Image(const TestImage& image) {
  bytes_.push_back(0x2C);
  Put16(image.left);
  Put16(image.top);
  Put16(image.width);
  Put16(image.height);
  std::uint8_t packed = image.interlaced ? 0x40 : 0;
  if (image.localBits) packed |= static_cast<std::uint8_t>(0x80 | (image.localBits - 1));
  bytes_.push_back(packed);
  if (image.localBits) {
    Bytes palette = image.localPalette;
    palette.resize(std::size_t{3} << image.localBits);
    Raw(palette);
  }
  Bytes indexes = image.indexes;
  indexes.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
  if (image.interlaced) indexes = Interlace(indexes, image.width, image.height);
  Raw(LzwEncode(indexes, image.lzw));
  return *this;
}

GifBuilder& GifBuilder::Raw(const Bytes& bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

GifBuilder& GifBuilder::Trailer() {
  bytes_.push_back(0x3B);
  return *this;
}

Bytes TestPalette(int bits) {
  Bytes palette;
  for (int i = 0; i < (1 << bits); ++i) {
    palette.push_back(static_cast<std::uint8_t>(i));
    palette.push_back(static_cast<std::uint8_t>(255 - i));
    palette.push_back(static_cast<std::uint8_t>(i * 7));
  }
  return palette;
}

}  // namespace tessavo::gif::testing
