// Decoding speed of the GIF reader against giflib's DGifSlurp on the same
// in-memory files, made here with giflib's encoder: a 1024 x 1024 still of
// 256 colours and a 100-frame 256 x 256 animation.
//
//   build/linux/bin/gif_bench
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "gifanim/gif_reader.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Smooth shapes with some grain, roughly what a dithered photo or a
// drawing gives the LZW coder.
Bytes Picture(int width, int height, int frame, std::mt19937& random) {
  Bytes out(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double wave = std::sin((x + frame * 3) * 0.02) * std::cos((y - frame) * 0.015);
      int value = static_cast<int>((wave + 1) * 120) + static_cast<int>(random() % 8);
      out[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
          static_cast<std::uint8_t>(value & 255);
    }
  }
  return out;
}

int Write(GifFileType* file, const GifByteType* bytes, int count) {
  auto* out = static_cast<Bytes*>(file->UserData);
  out->insert(out->end(), bytes, bytes + count);
  return count;
}

Bytes Encode(int width, int height, int frames) {
  std::mt19937 random(7);
  Bytes out;
  int error = 0;
  GifFileType* file = EGifOpen(&out, Write, &error);
  EGifSetGifVersion(file, true);
  std::vector<GifColorType> colours(256);
  for (int i = 0; i < 256; ++i) colours[static_cast<std::size_t>(i)] = {GifByteType(i), GifByteType(255 - i), GifByteType(i / 2)};
  ColorMapObject* map = GifMakeMapObject(256, colours.data());
  EGifPutScreenDesc(file, width, height, 8, 0, map);
  for (int f = 0; f < frames; ++f) {
    GraphicsControlBlock gcb{2, false, 4, f % 2 ? 255 : NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    EGifGCBToExtension(&gcb, extension);
    EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, 4, extension);
    EGifPutImageDesc(file, 0, 0, width, height, false, nullptr);
    Bytes pixels = Picture(width, height, f, random);
    for (int y = 0; y < height; ++y) EGifPutLine(file, pixels.data() + static_cast<std::ptrdiff_t>(y) * width, width);
  }
  EGifCloseFile(file, &error);
  GifFreeMapObject(map);
  return out;
}

const Bytes& Still() {
  static const Bytes file = Encode(1024, 1024, 1);
  return file;
}

const Bytes& Animation() {
  static const Bytes file = Encode(256, 256, 100);
  return file;
}

struct Input {
  const Bytes* bytes;
  std::size_t position;
};

int Read(GifFileType* file, GifByteType* out, int count) {
  auto* input = static_cast<Input*>(file->UserData);
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), input->bytes->size() - input->position);
  std::memcpy(out, input->bytes->data() + input->position, n);
  input->position += n;
  return static_cast<int>(n);
}

void Ours(benchmark::State& state, const Bytes& (*file)()) {
  const Bytes& bytes = file();
  for (auto _ : state) {
    const tessavo::gif::GifAnimation reader = tessavo::gif::DecodeGif(bytes);
    if (reader.StatusCode != 0) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(reader.Frame(1).Image.Bits().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void Giflib(benchmark::State& state, const Bytes& (*file)()) {
  const Bytes& bytes = file();
  for (auto _ : state) {
    Input input{&bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, Read, &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) state.SkipWithError("slurp failed");
    benchmark::DoNotOptimize(gif->SavedImages[0].RasterBits);
    DGifCloseFile(gif, &error);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

// Five repetitions each, reported as min and median (and benchmark's own
// mean and spread).
double Min(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

#define GIF_BENCH(function, name, file)                                                  \
  BENCHMARK_CAPTURE(function, name, file)                                              \
      ->Unit(benchmark::kMillisecond)                                                  \
      ->Repetitions(5)                                                                 \
      ->ReportAggregatesOnly(true)                                                     \
      ->ComputeStatistics("min", Min)

GIF_BENCH(Ours, Still1024x1024, Still);
GIF_BENCH(Giflib, Still1024x1024, Still);
GIF_BENCH(Ours, Animation100x256x256, Animation);
GIF_BENCH(Giflib, Animation100x256x256, Animation);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::AddCustomContext("still file bytes", std::to_string(Still().size()));
  benchmark::AddCustomContext("animation file bytes", std::to_string(Animation().size()));
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
