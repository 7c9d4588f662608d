// The composed picture against a composition of the same frames done
// independently, pixel by pixel, from what giflib (a test-only reference)
// reads: every animation of the shared corpus, frame by frame. Disposal 2
// goes back to black and transparent, 3 to what was under the frame.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "gifanim/gif_image.h"
#include "tests/giflib_reference.h"
#include "toolkit/form.h"
#include "toolkit/headless_scripting.h"

namespace tessavo::gifanim {
namespace {

namespace fs = std::filesystem;

struct Frame {
  int left, top, width, height, disposal, transparent;
  std::vector<Pixel> colours;  // by index, as giflib's colour map has them
  std::vector<std::uint8_t> indexes;
};

std::optional<std::vector<Frame>> FramesOf(std::span<const std::uint8_t> bytes) {
  gif::testing::detail::Input input{bytes};
  int code = 0;
  GifFileType* file = DGifOpen(&input, gif::testing::detail::ReadFromMemory, &code);
  if (!file) return std::nullopt;
  std::optional<std::vector<Frame>> frames;
  if (DGifSlurp(file) == GIF_OK) {
    const bool gif89 = bytes.size() > 4 && bytes[4] == '9';
    frames.emplace();
    for (int i = 0; i < file->ImageCount; ++i) {
      const SavedImage& image = file->SavedImages[i];
      Frame frame{image.ImageDesc.Left, image.ImageDesc.Top, image.ImageDesc.Width, image.ImageDesc.Height, 0, -1,
                  {}, {}};
      GraphicsControlBlock gcb{};
      if (DGifSavedExtensionToGCB(file, i, &gcb) == GIF_OK) {
        frame.disposal = gcb.DisposalMode > 3 ? 2 : gcb.DisposalMode;
        frame.transparent = gif89 ? gcb.TransparentColor : NO_TRANSPARENT_COLOR;
      }
      const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : file->SColorMap;
      for (int c = 0; map && c < map->ColorCount; ++c) {
        const GifColorType& rgb = map->Colors[c];
        frame.colours.push_back(Pixel{rgb.Red} << 16 | Pixel{rgb.Green} << 8 | rgb.Blue);
      }
      frame.indexes.assign(image.RasterBits,
                           image.RasterBits + static_cast<std::size_t>(frame.width) * frame.height);
      frames->push_back(std::move(frame));
    }
  }
  DGifCloseFile(file, &code);
  return frames;
}

// The picture as the frames compose it: colour and transparency.
class Canvas {
 public:
  Canvas(int width, int height)
      : width_(width), height_(height), colour_(Size(), kBlack), transparent_(Size(), true) {}

  void Draw(const Frame& f) {
    if (f.disposal == 3) saved_ = std::pair{colour_, transparent_};
    for (int y = 0; y < f.height; ++y) {
      for (int x = 0; x < f.width; ++x) {
        const int index = f.indexes[static_cast<std::size_t>(y) * f.width + x];
        if (index == f.transparent) continue;
        const std::size_t at = At(f.left + x, f.top + y);
        colour_[at] = index < static_cast<int>(f.colours.size()) ? f.colours[index] : kBlack;
        transparent_[at] = false;
      }
    }
  }
  void Dispose(const Frame& f) {
    if (f.disposal == 2) {
      for (int y = 0; y < f.height; ++y) {
        for (int x = 0; x < f.width; ++x) {
          const std::size_t at = At(f.left + x, f.top + y);
          colour_[at] = kBlack;
          transparent_[at] = true;
        }
      }
    } else if (f.disposal == 3 && saved_) {
      std::tie(colour_, transparent_) = *saved_;
    }
  }
  // Mismatching pixels of the control's composite and mask.
  int Mismatches(const Surface& composite, const Surface* mask) const {
    int wrong = 0;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        const std::size_t at = At(x, y);
        if (composite.At(x, y) != colour_[at]) ++wrong;
        else if (mask && (mask->At(x, y) == kWhite) != transparent_[at]) ++wrong;
      }
    }
    return wrong;
  }

 private:
  std::size_t Size() const { return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_); }
  std::size_t At(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
  int width_, height_;
  std::vector<Pixel> colour_;
  std::vector<bool> transparent_;
  std::optional<std::pair<std::vector<Pixel>, std::vector<bool>>> saved_;
};

TEST(GifImageCorpus, EveryAnimationComposesAsGiflibsFramesDo) {
  const fs::path corpus = TESSAVO_GIF_CORPUS;
  if (!fs::is_directory(corpus)) GTEST_SKIP() << "no GIF corpus at " << corpus;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(corpus)) {
    if (entry.path().extension() == ".gif") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());

  tk::headless::Reset();
  tk::Form form({.caption = "Corpus"});
  int compared = 0;
  for (const fs::path& path : files) {
    SCOPED_TRACE(path.filename().string());
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto frames = FramesOf(bytes);
    TGIFImage image(&form, {});
    if (!frames || frames->size() < 2 || !image.LoadPicture(bytes)) continue;
    if (image.FrameCount() != static_cast<int>(frames->size())) continue;  // the reader's own limits
    const int width = image.PictureWidth(), height = image.PictureHeight();
    if (static_cast<long long>(width) * height > 4'000'000) continue;
    bool inside = true;
    for (const Frame& f : *frames) inside = inside && f.left + f.width <= width && f.top + f.height <= height;
    ASSERT_TRUE(inside);

    Canvas canvas(width, height);
    canvas.Draw((*frames)[0]);
    EXPECT_EQ(canvas.Mismatches(image.Composite(), image.CompositeMask()), 0) << "frame 1";
    image.SetAnimate(true);
    image.TimerTick();
    for (std::size_t k = 1; k < frames->size(); ++k) {
      canvas.Dispose((*frames)[k - 1]);
      canvas.Draw((*frames)[k]);
      image.TimerTick();
      ASSERT_EQ(canvas.Mismatches(image.Composite(), image.CompositeMask()), 0) << "frame " << k + 1;
    }
    ++compared;
  }
  EXPECT_GT(compared, 0);
  RecordProperty("animations", compared);
}

}  // namespace
}  // namespace tessavo::gifanim
