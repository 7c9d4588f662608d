// Test GIF files made in code: an LZW encoder with a choice of clear-code
// placement and sub-block sizes, a code writer for hand-made code streams,
// and a builder that lays out the blocks of a file.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessavo::gif::testing {

using Bytes = std::vector<std::uint8_t>;

// Packs codes least significant bit first and cuts them into sub-blocks.
class CodeWriter {
 public:
  void Put(int code, int width);
  // The minimum code size byte, the sub-blocks and the terminator.
  Bytes ImageData(int minimumCodeSize, std::size_t blockSize = 255) const;

 private:
  Bytes bytes_;
  std::uint32_t pending_ = 0;
  int pendingBits_ = 0;
};

struct LzwOptions {
  int minimumCodeSize = 8;
  std::size_t blockSize = 255;
  // Chance of a clear code after each code; 0 clears only when the table
  // is full (or never, with deferredClear).
  double clearChance = 0.0;
  bool deferredClear = false;
  bool initialClear = true;
  bool endCode = true;
  std::uint32_t seed = 1;
};

// Encodes colour indexes (each below 2^minimumCodeSize) as GIF image data:
// the minimum code size byte, sub-blocks and the terminator.
Bytes LzwEncode(std::span<const std::uint8_t> indexes, const LzwOptions& options);

// The rows of an image in interlaced order.
Bytes Interlace(std::span<const std::uint8_t> indexes, int width, int height);

struct TestImage {
  int left = 0;
  int top = 0;
  int width = 1;
  int height = 1;
  bool interlaced = false;
  int localBits = 0;   // exponent + 1 of a local table; 0 for none
  Bytes localPalette;  // 3 * 2^localBits bytes, zero-filled when short
  Bytes indexes;       // width * height, top row first; zeros when short
  LzwOptions lzw;
};

class GifBuilder {
 public:
  // globalBits: exponent + 1 of the global table, 0 for none.
  GifBuilder& Header(std::string version, int width, int height, int globalBits = 0,
                     Bytes palette = {});
  GifBuilder& GraphicControl(int disposal, bool transparent, int delay, int transparentIndex);
  GifBuilder& Loop(int count);
  GifBuilder& Application(const std::string& identifier, const Bytes& firstBlock);
  GifBuilder& Comment(const std::string& text);
  GifBuilder& Image(const TestImage& image);
  GifBuilder& Raw(const Bytes& bytes);
  GifBuilder& Trailer();
  const Bytes& Data() const { return bytes_; }

 private:
  void Put16(int value);
  Bytes bytes_;
};

// A palette of 2^bits entries with distinct colours: entry i is (i, 255-i,
// i*7 mod 256).
Bytes TestPalette(int bits);

}  // namespace tessavo::gif::testing
