#include "batch/progress_picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace tessavo {
namespace {

struct Image {
  bool HasControl = false;
  int Delay = -1;
  int Disposal = -1;
  int Transparent = -1;  // -1 when the control block names none
  int Left = -1, Top = -1, Width = 0, Height = 0;
  int MinCodeSize = 0;
  std::vector<std::uint8_t> Data;  // the LZW bytes, sub-blocks joined
};

struct Layout {
  int Width = 0, Height = 0;
  int TableEntries = 0;  // 0 without a global table
  int Loop = -1;         // -1 without a NETSCAPE2.0 block
  std::vector<Image> Images;
};

// Walks a GIF89a file block by block; nullopt when a block runs past the
// end, a sub-block chain is unterminated, or a block is of no known kind.
class Walker {
 public:
  explicit Walker(std::span<const std::uint8_t> gif) : gif_(gif) {}

  std::optional<Layout> Walk() {
    Layout layout;
    if (!Has(13) || std::memcmp(gif_.data(), "GIF89a", 6) != 0) return std::nullopt;
    at_ = 6;
    layout.Width = Word();
    layout.Height = Word();
    const int packed = Byte();
    at_ += 2;  // background index, aspect
    if (packed & 0x80) {
      layout.TableEntries = 2 << (packed & 7);
      if (!Skip(3 * layout.TableEntries)) return std::nullopt;
    }
    Image pending;
    while (Has(1)) {
      const int kind = Byte();
      if (kind == 0x3B) return at_ == gif_.size() ? std::optional(layout) : std::nullopt;
      if (kind == 0x21 && Has(1)) {
        const int label = Byte();
        std::vector<std::uint8_t> body;
        if (!SubBlocks(body)) return std::nullopt;
        if (label == 0xF9 && body.size() == 4) {
          pending.HasControl = true;
          pending.Disposal = (body[0] >> 2) & 7;
          pending.Delay = body[1] | body[2] << 8;
          pending.Transparent = (body[0] & 1) ? body[3] : -1;
        } else if (label == 0xFF && body.size() == 14 &&
                   std::memcmp(body.data(), "NETSCAPE2.0", 11) == 0 && body[11] == 1) {
          layout.Loop = body[12] | body[13] << 8;
        }
      } else if (kind == 0x2C && Has(10)) {
        pending.Left = Word();
        pending.Top = Word();
        pending.Width = Word();
        pending.Height = Word();
        if (Byte() & 0x80) return std::nullopt;  // no local tables here
        pending.MinCodeSize = Byte();
        if (!SubBlocks(pending.Data)) return std::nullopt;
        layout.Images.push_back(std::move(pending));
        pending = Image();
      } else {
        return std::nullopt;
      }
    }
    return std::nullopt;  // no trailer
  }

 private:
  bool Has(std::size_t n) const { return at_ + n <= gif_.size(); }
  bool Skip(std::size_t n) { return Has(n) && (at_ += n, true); }
  int Byte() { return gif_[at_++]; }
  int Word() { return Byte() | Byte() << 8; }
  bool SubBlocks(std::vector<std::uint8_t>& out) {
    while (Has(1)) {
      const std::size_t size = gif_[at_++];
      if (size == 0) return true;
      if (!Has(size)) return false;
      out.insert(out.end(), gif_.begin() + at_, gif_.begin() + at_ + size);
      at_ += size;
    }
    return false;
  }

  std::span<const std::uint8_t> gif_;
  std::size_t at_ = 0;
};

std::span<const std::uint8_t> GifOf(std::span<const std::uint8_t> stored) {
  return stored.subspan(4);
}

TEST(ProgressPicture, StoredFormCountsTheGifBytesThatFollow) {
  const auto stored = ProgressPictureData();
  ASSERT_GT(stored.size(), 4u);
  const std::int32_t count = static_cast<std::int32_t>(
      stored[0] | stored[1] << 8 | stored[2] << 16 | static_cast<std::uint32_t>(stored[3]) << 24);
  EXPECT_EQ(count, static_cast<std::int32_t>(stored.size() - 4));
  EXPECT_EQ(std::string(GifOf(stored).begin(), GifOf(stored).begin() + 6), "GIF89a");
}

TEST(ProgressPicture, FourFullFramesThatLoopAndClearEachOther) {
  const auto layout = Walker(GifOf(ProgressPictureData())).Walk();
  ASSERT_TRUE(layout.has_value()) << "the GIF's blocks do not walk to its trailer";
  EXPECT_EQ(layout->Width, 48);
  EXPECT_EQ(layout->Height, 48);
  EXPECT_EQ(layout->TableEntries, 256);
  EXPECT_EQ(layout->Loop, 1000);
  ASSERT_EQ(layout->Images.size(), 4u);
  for (std::size_t i = 0; i < layout->Images.size(); ++i) {
    SCOPED_TRACE("frame " + std::to_string(i + 1));
    const Image& image = layout->Images[i];
    EXPECT_TRUE(image.HasControl);
    EXPECT_EQ(image.Delay, 0);
    EXPECT_EQ(image.Disposal, 2);
    EXPECT_EQ(image.Transparent, 255);
    EXPECT_EQ(image.Left, 0);
    EXPECT_EQ(image.Top, 0);
    EXPECT_EQ(image.Width, 48);
    EXPECT_EQ(image.Height, 48);
    EXPECT_EQ(image.MinCodeSize, 8);
    EXPECT_FALSE(image.Data.empty());
    // An animation: no frame repeats the one before it.
    if (i > 0) {
      EXPECT_NE(image.Data, layout->Images[i - 1].Data);
    }
  }
}

TEST(ProgressPicture, WalkerRefusesACutOrUnterminatedFile) {
  // The checks above mean something only if a damaged file fails the walk.
  const auto gif = GifOf(ProgressPictureData());
  EXPECT_FALSE(Walker(gif.first(gif.size() - 1)).Walk().has_value());
  EXPECT_FALSE(Walker(gif.first(gif.size() / 2)).Walk().has_value());
  EXPECT_FALSE(Walker(gif.first(800)).Walk().has_value());
}

}  // namespace
}  // namespace tessavo
