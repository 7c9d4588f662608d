// gifdump FILE...: prints what the GIF reader makes of each file, one item
// per line, for comparing readers and for looking at odd files.
//
//   file NAME
//   error STATUS                                  (the load failed)
//   screen W H colorbits C frames F loop L version 87|89
//   frame I left L top T width W height H interlaced 0|1 localbits B
//         disposal D delay MS transparent INDEX|-1     (one line)
//   pixels HASH      (FNV-1a 64 of the indexes, top row first, no padding)
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "gifanim/gif_reader.h"

namespace {

using tessavo::gif::DecodeGif;
using tessavo::gif::GifAnimation;
using tessavo::gif::TGIFFrame;

std::uint64_t PixelHash(const TGIFFrame& frame) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (std::int32_t y = 0; y < frame.Height; ++y) {
    const std::uint8_t* row = frame.Image.Row(y);
    for (std::int32_t x = 0; x < frame.Width; ++x) {
      hash ^= row[x];
      hash *= 0x100000001b3ull;
    }
  }
  return hash;
}

void Dump(const char* name) {
  std::printf("file %s\n", name);
  std::ifstream in(name, std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const GifAnimation reader = DecodeGif(bytes);
  if (reader.StatusCode != 0) {
    std::printf("error %d\n", reader.StatusCode);
    return;
  }
  std::printf("screen %d %d colorbits %d frames %d loop %d version %d\n", reader.ScreenWidth,
              reader.ScreenHeight, reader.ColorBits, reader.FrameCount, reader.LoopCount,
              reader.Version == tessavo::gif::gvGIF89a ? 89 : 87);
  for (int i = 1; i <= reader.FrameCount; ++i) {
    const TGIFFrame& frame = reader.Frame(i);
    std::printf(
        "frame %d left %d top %d width %d height %d interlaced %d localbits %d disposal %d delay %d "
        "transparent %d\n",
        i, frame.Left, frame.Top, frame.Width, frame.Height, frame.Interlaced ? 1 : 0, frame.LocalBits,
        frame.Disposal, frame.Delay, frame.Transparent ? frame.TransparentIndex : -1);
    std::printf("pixels %016llx\n", static_cast<unsigned long long>(PixelHash(frame)));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: gifdump FILE...\n");
    return 2;
  }
  for (int i = 1; i < argc; ++i) Dump(argv[i]);
  return 0;
}
