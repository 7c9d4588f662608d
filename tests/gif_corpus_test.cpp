// The public GIF corpus (outside the repository, beside it in shared/):
// every file loads or fails without harm, and wherever giflib's DGifSlurp
// accepts a file our reader gives its frames and indexes, apart from the
// deliberate differences listed below.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "gifanim/gif_reader.h"
#include "tests/giflib_reference.h"

namespace tessavo::gif {
namespace {

namespace fs = std::filesystem;

// Files that giflib refuses and our reader loads on purpose, and why. Every
// other file that giflib refuses fails with ours too.
const std::map<std::string, std::string> kDeliberateDifferences = {
    {"pillow__hopper_zero_comment_subblocks.gif",
     "a comment extension without sub-blocks is an empty comment; giflib calls it a wrong record"},
    {"pillow__issue_2811.gif", "minimum code size 11 still fits 12-bit codes; giflib refuses sizes above 8"},
    {"pygif__max-codes.gif", "minimum code size 11 still fits 12-bit codes; giflib refuses sizes above 8"},
    {"pillow__test_extents_transparency.gif",
     "unknown bytes between blocks are skipped two at a time; giflib stops at them"},
    {"pygif__invalid-code.gif",
     "a code beyond the next free one expands like the code being defined; giflib calls the image defective"},
    {"pygif__max-size.gif", "a file without images is an empty picture, not an error"},
    {"wuffs__art-no-frames.gif", "a file without images is an empty picture, not an error"},
    {"wuffs__art-pixel-data-not-enough.gif", "pixel data that ends early leaves the missing pixels colour 0"},
    {"wuffs__hippopotamus.interlaced.truncated.gif",
     "pixel data that ends early leaves the missing pixels colour 0"},
};

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(GifCorpus, EveryFileAsGiflibReadsIt) {
  const fs::path corpus = TESSAVO_GIF_CORPUS;
  if (!fs::is_directory(corpus)) GTEST_SKIP() << "no GIF corpus at " << corpus;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(corpus)) {
    if (entry.path().extension() == ".gif") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  ASSERT_FALSE(files.empty());

  int compared = 0;
  for (const fs::path& path : files) {
    const std::string name = path.filename().string();
    SCOPED_TRACE(name);
    const auto bytes = ReadFile(path);
    const GifAnimation reader = DecodeGif(bytes);
    const bool loaded = reader.StatusCode == 0;
    std::string error;
    const auto reference = testing::SlurpWithGiflib(bytes, error);
    if (const auto deliberate = kDeliberateDifferences.find(name); deliberate != kDeliberateDifferences.end()) {
      EXPECT_FALSE(reference) << name << ": giflib now reads it";
      EXPECT_TRUE(loaded) << name << ": " << deliberate->second;
      continue;
    }
    if (!reference) {
      EXPECT_FALSE(loaded) << name << " (giflib: " << error << ")";
      EXPECT_EQ(reader.StatusCode, 3) << name;
      continue;
    }
    ASSERT_TRUE(loaded) << name << " (giflib reads it)";
    const std::size_t frames = std::min<std::size_t>(reference->frames.size(), GifAnimation::kMaxFrames);
    testing::ExpectSameFrames(reader, *reference, frames, name);
    EXPECT_EQ(reader.LoopCount, reference->loopCount) << name;
    ++compared;
  }
  EXPECT_GT(compared, 0);
}

}  // namespace
}  // namespace tessavo::gif
