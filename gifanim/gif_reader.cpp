#include "gifanim/gif_reader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "gifanim/gif_lzw.h"

namespace tessavo::gif {
namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;

std::int32_t Le16(const std::uint8_t* p) { return p[0] | p[1] << 8; }

static_assert(sizeof(RgbQuad) == 4, "colour entries are copied as they are laid out");

// The graphic control extension as read: block size, packed flags (bits 2
// to 4 disposal, bit 0 transparency), delay (16-bit little-endian,
// hundredths of a second), transparent index, terminator.
using GraphicControlBytes = std::array<std::uint8_t, 6>;

// Reads the blocks of one file into `out`. Every step returns false when
// the file does not decode; out.StatusCode is then 3, or 1 when the
// progress handler cancelled.
class Parser {
 public:
  Parser(std::span<const std::uint8_t> bytes, const DecodeOptions& options, GifAnimation& out)
      : bytes_(bytes), options_(options), out_(out) {}

  bool Parse();

 private:
  enum class Next { Block, Stop, Fail };

  std::size_t Remaining() const { return bytes_.size() - position_; }
  // False when the data ends inside the field.
  bool ReadFixed(std::uint8_t* out, std::size_t count);
  bool Truncated() {
    endedAtOnce_ = true;
    return false;
  }
  // Sub-block chains: the end of the data ends a chain as a zero length
  // would.
  std::size_t ReadSubBlockLength() { return Remaining() == 0 ? 0 : bytes_[position_++]; }
  void SkipBytes(std::size_t count) { position_ += std::min(count, Remaining()); }
  void SkipSubBlocks(std::size_t length);
  // Reports the position to the progress handler; false when it cancels.
  bool Report();

  bool ReadScreen();
  bool ReadExtension(std::uint8_t label);
  Next ReadImage();
  bool DecodeFrame(TGIFFrame& frame);
  bool BuildBitmaps(TGIFFrame& frame, std::size_t imageBytes, std::size_t maskBytes);

  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
  const DecodeOptions& options_;
  GifAnimation& out_;
  // Applies to the next image only.
  GraphicControlBytes graphicControl_{};
  std::string pendingComment_;
  // The load ends without a last report: the data ended inside a field,
  // or the progress handler cancelled.
  bool endedAtOnce_ = false;
  // Bitmap bytes that the frames so far hold.
  std::size_t loadBytes_ = 0;
};

bool Parser::ReadFixed(std::uint8_t* out, std::size_t count) {
  if (Remaining() < count) return Truncated();
  std::memcpy(out, bytes_.data() + position_, count);
  position_ += count;
  return true;
}

void Parser::SkipSubBlocks(std::size_t length) {
  while (length != 0) {
    SkipBytes(length);
    length = ReadSubBlockLength();
  }
}

bool Parser::Report() {
  if (!options_.onProgress) return true;
  const auto position = static_cast<std::int64_t>(position_);
  const auto size = static_cast<std::int64_t>(bytes_.size());
  // Rounded to the nearest, halves away from zero.
  const int percentage = size > 0 ? static_cast<int>((100 * position + size / 2) / size) : -1;
  bool keepOnProcessing = true;
  options_.onProgress(position, size, percentage, keepOnProcessing);
  if (!keepOnProcessing) {
    out_.StatusCode = 1;
    endedAtOnce_ = true;
  }
  return keepOnProcessing;
}

bool Parser::Parse() {
  if (!ReadScreen()) return false;
  while (position_ < bytes_.size()) {
    if (!Report()) return false;
    const std::uint8_t introducer = bytes_[position_++];
    // A file may end on its trailer: a missing label reads as 0.
    const bool hasLabel = Remaining() > 0;
    const std::uint8_t label = hasLabel ? bytes_[position_++] : 0;
    if (introducer == kExtensionIntroducer) {
      if (!ReadExtension(label)) return false;
    } else if (introducer == kImageSeparator) {
      position_ -= hasLabel ? 2 : 1;
      const Next next = ReadImage();
      if (next == Next::Fail) return false;
      if (next == Next::Stop) break;
    } else if (introducer == kTrailer) {
      break;
    }
  }

  if (!Report()) return false;
  out_.PictureWidth = out_.ScreenWidth;
  out_.PictureHeight = out_.ScreenHeight;
  for (int i = 1; i <= out_.FrameCount; ++i) {
    const TGIFFrame& frame = out_.Frame(i);
    out_.PictureWidth = std::max(out_.PictureWidth, frame.Left + frame.Width);
    out_.PictureHeight = std::max(out_.PictureHeight, frame.Top + frame.Height);
  }
  out_.StatusCode = 0;
  return true;
}

// The header and the logical screen with its colour table.
bool Parser::ReadScreen() {
  std::uint8_t header[6];
  if (!ReadFixed(header, sizeof header) || std::memcmp(header, "GIF", 3) != 0) return false;
  out_.Version = header[4] == '9' ? gvGIF89a : gvGIF87a;

  std::uint8_t screen[7];
  if (!ReadFixed(screen, sizeof screen)) return false;
  out_.ScreenWidth = Le16(screen);
  out_.ScreenHeight = Le16(screen + 2);
  out_.GlobalPalette = std::make_unique<GifPalette>();
  if (screen[4] & 0x80) {
    out_.ColorBits = (screen[4] & 7) + 1;
    return ReadFixed(out_.GlobalPalette->data(), std::size_t{3} << out_.ColorBits);
  }
  return true;
}

bool Parser::ReadExtension(std::uint8_t label) {
  switch (label) {
    case 0x01: {  // plain text: a fixed header, then text sub-blocks
      std::uint8_t headerLength;
      if (!ReadFixed(&headerLength, 1) || Remaining() < headerLength) return false;
      SkipBytes(headerLength);
      SkipSubBlocks(ReadSubBlockLength());
      return true;
    }
    case 0xF9:  // graphic control, kept as it stands for the next image
      return ReadFixed(graphicControl_.data(), graphicControl_.size());
    case 0xFE:  // comment
      pendingComment_.clear();
      for (std::size_t length = ReadSubBlockLength(); length != 0; length = ReadSubBlockLength()) {
        const std::size_t take = std::min(length, Remaining());
        pendingComment_.append(reinterpret_cast<const char*>(bytes_.data() + position_), take);
        position_ += take;
      }
      return true;
    case 0xFF: {  // application
      std::array<std::uint8_t, 256> identifier{};
      std::uint8_t idLength;
      if (!ReadFixed(&idLength, 1) || !ReadFixed(identifier.data(), idLength)) return false;
      std::size_t length = ReadSubBlockLength();
      if (std::memcmp(identifier.data(), "NETSCAPE2.0", 11) == 0) {
        std::array<std::uint8_t, 256> block{};
        const std::size_t take = std::min(length, Remaining());
        std::memcpy(block.data(), bytes_.data() + position_, take);
        position_ += take;
        out_.LoopCount = Le16(block.data() + 1);
        length = ReadSubBlockLength();
      }
      SkipSubBlocks(length);
      return true;
    }
    default:
      SkipSubBlocks(ReadSubBlockLength());
      return true;
  }
}

// One image from its separator on, into the next frame.
Parser::Next Parser::ReadImage() {
  if (out_.FrameCount == GifAnimation::kMaxFrames) return Next::Stop;  // the rest of the file is ignored
  auto& slot = out_.Frames[static_cast<std::size_t>(out_.FrameCount++)];
  slot = std::make_unique<TGIFFrame>();
  TGIFFrame& frame = *slot;
  if (!DecodeFrame(frame)) {
    // An image refused for what it holds ends the load with a report at
    // the end of the data.
    if (!endedAtOnce_) {
      position_ = bytes_.size();
      Report();
    }
    return Next::Fail;
  }
  out_.ColorBits = std::max(out_.ColorBits, frame.LocalBits);
  out_.AnyTransparent = out_.AnyTransparent || frame.Transparent;
  out_.AnyInterlaced = out_.AnyInterlaced || frame.Interlaced;
  frame.Comment = pendingComment_;
  if (options_.firstImageOnly) {
    position_ = bytes_.size();
    return Next::Stop;
  }
  pendingComment_.clear();
  graphicControl_.fill(0);
  return Next::Block;
}

bool Parser::DecodeFrame(TGIFFrame& frame) {
  std::uint8_t descriptor[10];
  if (!ReadFixed(descriptor, sizeof descriptor) || descriptor[0] != kImageSeparator) return false;
  frame.Left = Le16(descriptor + 1);
  frame.Top = Le16(descriptor + 3);
  frame.Width = Le16(descriptor + 5);
  frame.Height = Le16(descriptor + 7);
  if (frame.Width == 0 || frame.Height == 0) return false;
  const std::uint8_t packed = descriptor[9];
  if (packed & 0x80) {
    frame.LocalBits = (packed & 7) + 1;
    GifPalette& own = frame.AdoptOwnPalette();
    if (!ReadFixed(own.data(), std::size_t{3} << frame.LocalBits)) return false;
  } else {
    frame.UseSharedPalette(*out_.GlobalPalette);
    frame.LocalBits = 0;
  }
  frame.Interlaced = (packed & 0x40) != 0;

  const std::uint8_t flags = graphicControl_[1];
  frame.Disposal = static_cast<std::uint8_t>((flags & 0x1C) >> 2);
  if (frame.Disposal > 3) frame.Disposal = 2;
  frame.Delay = Le16(graphicControl_.data() + 2) * 10;
  frame.Transparent = (flags & 1) != 0 && out_.Version == gvGIF89a;
  frame.TransparentIndex = graphicControl_[4];

  // What the frame's bitmaps will hold, refused before anything is
  // allocated when it is beyond the limits.
  const std::size_t rows = static_cast<std::size_t>(frame.Height);
  const std::size_t imageBytes = BitmapStride(frame.Width, 8) * rows;
  const std::size_t maskBytes = BitmapStride(frame.Width, 1) * rows;
  std::size_t frameBytes = imageBytes;
  if (frame.Transparent) frameBytes += maskBytes;
  if (frame.Disposal == 3) frameBytes += imageBytes + maskBytes;
  if (frameBytes > kFrameByteLimit || loadBytes_ + frameBytes > kLoadByteLimit) return false;
  loadBytes_ += frameBytes;
  return BuildBitmaps(frame, imageBytes, maskBytes);
}

// The pixel data into the frame's image, and its mask when transparent.
bool Parser::BuildBitmaps(TGIFFrame& frame, std::size_t imageBytes, std::size_t maskBytes) {
  // Colour table of the image: the frame's own, or as many entries of the
  // shared table as the picture has seen so far.
  const int tableBits = frame.OwnsPalette ? frame.LocalBits : out_.ColorBits;
  const std::size_t colorsUsed = std::size_t{1} << tableBits;
  std::array<RgbQuad, 256> colors{};
  for (std::size_t i = 0; i < colorsUsed; ++i) {
    const std::uint8_t* rgb = frame.Palette->data() + 3 * i;
    colors[i] = {rgb[2], rgb[1], rgb[0], 0};
  }
  const std::array<RgbQuad, 2> blackWhite{RgbQuad{0, 0, 0, 0}, RgbQuad{255, 255, 255, 0}};

  if (frame.Disposal == 3) {
    frame.SavedImage = std::make_unique<GifBitmap>(
        GifBitmap::Blank(frame.Width, frame.Height, 8, std::span(colors).first(colorsUsed)));
    frame.SavedMask = std::make_unique<GifBitmap>(GifBitmap::Blank(frame.Width, frame.Height, 1, blackWhite));
  }

  std::array<std::uint8_t, kInfoHeaderSize + 4 * 256> info{};
  const std::size_t imageInfoSize = kInfoHeaderSize + 4 * colorsUsed;
  const std::size_t maskInfoSize = kInfoHeaderSize + 4 * blackWhite.size();
  PixelStream pixels{.offset = kFileHeaderSize + imageInfoSize};
  PixelStream maskRows{.offset = kFileHeaderSize + maskInfoSize};
  // The minimum code size is a fixed field like the descriptor's.
  if (Remaining() == 0) return Truncated();
  RowProgress progress;
  if (options_.onProgress) {
    progress = [this](std::size_t position) {
      position_ = position;
      return Report();
    };
  }
  if (!DecodeLzw(bytes_, position_, frame, pixels, frame.Transparent ? &maskRows : nullptr, progress)) return false;

  BitmapInfoHeader header;
  header.width = frame.Width;
  header.height = frame.Height;
  header.bitCount = 8;
  header.sizeImage = static_cast<std::uint32_t>(imageBytes);
  header.clrUsed = static_cast<std::uint32_t>(colorsUsed);
  WriteInfoHeader(info.data(), header);
  std::memcpy(info.data() + kInfoHeaderSize, colors.data(), 4 * colorsUsed);
  BuildBitmap(frame.Image, std::span(info).first(imageInfoSize), std::move(pixels));

  if (frame.Transparent) {
    header.bitCount = 1;
    header.sizeImage = static_cast<std::uint32_t>(maskBytes);
    header.clrUsed = 2;
    WriteInfoHeader(info.data(), header);
    std::memcpy(info.data() + kInfoHeaderSize, blackWhite.data(), 4 * blackWhite.size());
    frame.Mask = std::make_unique<GifBitmap>();
    BuildBitmap(*frame.Mask, std::span(info).first(maskInfoSize), std::move(maskRows));
    const std::uint8_t* rgb = frame.Palette->data() + 3 * frame.TransparentIndex;
    frame.TransparentColor = {rgb[0], rgb[1], rgb[2]};
  }
  return true;
}

}  // namespace

GifAnimation DecodeGif(std::span<const std::uint8_t> bytes, const DecodeOptions& options) {
  GifAnimation picture;
  picture.StatusCode = bytes.empty() ? 2 : 3;
  if (bytes.empty()) return picture;
  try {
    if (Parser(bytes, options, picture).Parse()) return picture;
  } catch (...) {
    // A refused allocation, or whatever the progress handler throws, ends
    // the decoding as damaged data does.
  }
  GifAnimation failed;
  failed.StatusCode = picture.StatusCode;
  return failed;
}

}  // namespace tessavo::gif
