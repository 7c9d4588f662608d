// Writes the fuzzer's seed files, all made here with the test encoder:
// gif_seed_writer DIRECTORY.
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "tests/gif_builder.h"

using namespace tessavo::gif::testing;

namespace {

Bytes Noise(int count, int colours, unsigned seed) {
  std::mt19937 random(seed);
  Bytes out(static_cast<std::size_t>(count));
  for (auto& b : out) b = static_cast<std::uint8_t>(random() % static_cast<unsigned>(colours));
  return out;
}

void Write(const std::string& dir, const std::string& name, const Bytes& bytes) {
  std::ofstream(dir + "/" + name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gif_seed_writer DIRECTORY\n");
    return 2;
  }
  const std::string dir = argv[1];
  GifBuilder gif;

  gif.Header("89a", 8, 8, 2, TestPalette(2))
      .Image({.width = 8, .height = 8, .indexes = Noise(64, 4, 1), .lzw = {.minimumCodeSize = 2}})
      .Trailer();
  Write(dir, "still-4-colours.gif", gif.Data());

  gif.Header("89a", 16, 12, 8, TestPalette(8)).Loop(0).Comment("seed");
  for (int i = 0; i < 3; ++i) {
    gif.GraphicControl(i + 1, i != 1, 10 * i, 7)
        .Image({.left = i, .top = i, .width = 12, .height = 9, .interlaced = i == 2,
                .indexes = Noise(108, 256, 2 + i), .lzw = {.minimumCodeSize = 8, .clearChance = 0.1}});
  }
  gif.Trailer();
  Write(dir, "animation.gif", gif.Data());

  gif.Header("87a", 5, 5).Image({.width = 5, .height = 3, .interlaced = true, .localBits = 3,
                                 .localPalette = TestPalette(3), .indexes = Noise(15, 8, 9),
                                 .lzw = {.minimumCodeSize = 3, .blockSize = 3}});
  gif.Trailer();
  Write(dir, "gif87a-local-table.gif", gif.Data());

  gif.Header("89a", 40, 30, 1, TestPalette(1))
      .Image({.width = 40, .height = 30, .indexes = Bytes(1200, 1),
              .lzw = {.minimumCodeSize = 2, .deferredClear = true}})
      .Trailer();
  Write(dir, "long-runs.gif", gif.Data());

  gif.Header("89a", 64, 64, 4, TestPalette(4))
      .Image({.width = 64, .height = 64, .indexes = Noise(4096, 16, 5),
              .lzw = {.minimumCodeSize = 4, .deferredClear = true}})
      .Trailer();
  Write(dir, "full-table.gif", gif.Data());

  gif.Header("89a", 1, 1).Trailer();
  Write(dir, "no-frames.gif", gif.Data());
  return 0;
}
