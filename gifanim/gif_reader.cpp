#include "gifanim/gif_reader.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tessavo::gif {
namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;

std::int32_t Le16(const std::uint8_t* p) { return p[0] | p[1] << 8; }

static_assert(sizeof(RgbQuad) == 4, "colour entries are copied as they are laid out");

// Restores the empty work buffer on every way out of a parse.
class EmptyOnExit {
 public:
  explicit EmptyOnExit(WorkStream& stream) : stream_(stream) {}
  ~EmptyOnExit() { stream_.Clear(); }
  EmptyOnExit(const EmptyOnExit&) = delete;
  EmptyOnExit& operator=(const EmptyOnExit&) = delete;

 private:
  WorkStream& stream_;
};

}  // namespace

GifReader::GifReader() = default;

GifReader::~GifReader() { GifReader::ResetPicture(); }

void GifReader::ResetPicture() {
  for (int i = kMaxFrames; i >= 1; --i) Frames[static_cast<std::size_t>(i - 1)].reset();
  Data.clear();
  Data.shrink_to_fit();
  WorkBuffer.position = 0;
  FrameCount = 0;
  LoopCount = 1;
  ColorBits = 0;
  AnyInterlaced = false;
  AnyTransparent = false;
  KeepOnProcessing = true;
  loadBytes_ = 0;
}

bool GifReader::LoadPicture(std::span<const std::uint8_t> bytes) {
  try {
    WorkBuffer.bytes.assign(bytes.begin(), bytes.end());
    WorkBuffer.position = 0;
    if (!ParseGIF()) throw Cancelled{};
    return true;
  } catch (...) {
    // Bad data, a refused allocation and a cancel all end the same way:
    // no picture, and StatusCode says which.
    ResetPicture();
    WorkBuffer.Clear();
    return false;
  }
}

void GifReader::DoProgress() {
  if (!OnProgress) return;
  const auto position = static_cast<std::int64_t>(WorkBuffer.position);
  const auto size = static_cast<std::int64_t>(WorkBuffer.Size());
  // Rounded to the nearest, halves away from zero.
  const int percentage = size > 0 ? static_cast<int>((100 * position + size / 2) / size) : -1;
  OnProgress(position, size, percentage, KeepOnProcessing);
  if (!KeepOnProcessing) {
    StatusCode = 1;
    throw Cancelled{};
  }
}

std::uint8_t GifReader::ReadByte() {
  std::uint8_t value;
  ReadFixed(&value, 1);
  return value;
}

void GifReader::ReadFixed(std::uint8_t* out, std::size_t count) {
  if (WorkBuffer.Remaining() < count) throw std::runtime_error("GIF data ends inside a field");
  std::memcpy(out, WorkBuffer.bytes.data() + WorkBuffer.position, count);
  WorkBuffer.position += count;
}

std::size_t GifReader::ReadSubBlockLength() {
  if (WorkBuffer.Remaining() == 0) return 0;
  return WorkBuffer.bytes[WorkBuffer.position++];
}

void GifReader::SkipBytes(std::size_t count) {
  WorkBuffer.position += std::min(count, WorkBuffer.Remaining());
}

void GifReader::SkipSubBlocks(std::size_t length) {
  while (length != 0) {
    SkipBytes(length);
    length = ReadSubBlockLength();
  }
}

void GifReader::ReadExtension(std::uint8_t label, std::string& pendingComment) {
  switch (label) {
    case 0x01: {  // plain text: a fixed header, then text sub-blocks
      const std::size_t headerLength = ReadByte();
      if (WorkBuffer.Remaining() < headerLength) throw std::runtime_error("GIF data ends inside a field");
      SkipBytes(headerLength);
      SkipSubBlocks(ReadSubBlockLength());
      break;
    }
    case 0xF9:  // graphic control, kept as it stands for the next image
      ReadFixed(GraphicControlBlock.data(), GraphicControlBlock.size());
      break;
    case 0xFE: {  // comment
      pendingComment.clear();
      for (std::size_t length = ReadSubBlockLength(); length != 0; length = ReadSubBlockLength()) {
        const std::size_t take = std::min(length, WorkBuffer.Remaining());
        const auto* start = WorkBuffer.bytes.data() + WorkBuffer.position;
        pendingComment.append(reinterpret_cast<const char*>(start), take);
        WorkBuffer.position += take;
      }
      break;
    }
    case 0xFF: {  // application
      std::array<std::uint8_t, 256> identifier{};
      const std::size_t idLength = ReadByte();
      ReadFixed(identifier.data(), idLength);
      std::size_t length = ReadSubBlockLength();
      if (std::memcmp(identifier.data(), "NETSCAPE2.0", 11) == 0) {
        std::array<std::uint8_t, 256> block{};
        const std::size_t take = std::min(length, WorkBuffer.Remaining());
        std::memcpy(block.data(), WorkBuffer.bytes.data() + WorkBuffer.position, take);
        WorkBuffer.position += take;
        LoopCount = Le16(block.data() + 1);
        length = ReadSubBlockLength();
      }
      SkipSubBlocks(length);
      break;
    }
    default:
      SkipSubBlocks(ReadSubBlockLength());
      break;
  }
}

bool GifReader::ParseGIF() {
  StatusCode = 3;
  ResetPicture();
  GraphicControlBlock.fill(0);
  Data = WorkBuffer.bytes;
  if (WorkBuffer.bytes.empty()) {
    StatusCode = 2;
    return false;
  }
  EmptyOnExit emptyWorkBuffer(WorkBuffer);

  std::uint8_t header[6];
  ReadFixed(header, sizeof header);
  if (std::memcmp(header, "GIF", 3) != 0) return false;
  Version = header[4] == '9' ? gvGIF89a : gvGIF87a;

  std::uint8_t screen[7];
  ReadFixed(screen, sizeof screen);
  ScreenWidth = Le16(screen);
  ScreenHeight = Le16(screen + 2);
  GlobalPalette.fill(0);
  if (screen[4] & 0x80) {
    ColorBits = (screen[4] & 7) + 1;
    ReadFixed(GlobalPalette.data(), std::size_t{3} << ColorBits);
  }

  std::string pendingComment;
  while (WorkBuffer.position < WorkBuffer.Size() && KeepOnProcessing) {
    DoProgress();
    const std::uint8_t introducer = WorkBuffer.bytes[WorkBuffer.position++];
    // A file may end on its trailer: a missing label reads as 0.
    const bool hasLabel = WorkBuffer.Remaining() > 0;
    const std::uint8_t label = hasLabel ? WorkBuffer.bytes[WorkBuffer.position++] : 0;

    if (introducer == kExtensionIntroducer) {
      ReadExtension(label, pendingComment);
    } else if (introducer == kImageSeparator) {
      WorkBuffer.position -= hasLabel ? 2 : 1;
      if (FrameCount == kMaxFrames) break;  // the rest of the file is ignored
      ++FrameCount;
      auto& slot = Frames[static_cast<std::size_t>(FrameCount - 1)];
      slot = std::make_unique<TGIFFrame>(*this);
      TGIFFrame& frame = *slot;
      if (!DecodeFrame(frame, GlobalPalette, GraphicControlBlock)) {
        WorkBuffer.position = WorkBuffer.Size();
        DoProgress();
        return false;
      }
      ColorBits = std::max(ColorBits, frame.LocalBits);
      AnyTransparent = AnyTransparent || frame.Transparent;
      AnyInterlaced = AnyInterlaced || frame.Interlaced;
      frame.Comment = pendingComment;
      if (FirstImageOnly) {
        WorkBuffer.position = WorkBuffer.Size();
        break;
      }
      pendingComment.clear();
      GraphicControlBlock.fill(0);
    } else if (introducer == kTrailer) {
      break;
    }
  }

  DoProgress();
  PictureWidth = ScreenWidth;
  PictureHeight = ScreenHeight;
  for (int i = 1; i <= FrameCount; ++i) {
    const TGIFFrame& frame = Frame(i);
    PictureWidth = std::max(PictureWidth, frame.Left + frame.Width);
    PictureHeight = std::max(PictureHeight, frame.Top + frame.Height);
  }
  FinishLoad();
  WorkBuffer.Clear();
  StatusCode = 0;
  LoadSucceeded();
  return true;
}

bool GifReader::DecodeFrame(TGIFFrame& frame, const GifPalette& globalPalette,
                            const GraphicControlBytes& graphicControlBlock) {
  StatusCode = 3;
  std::uint8_t descriptor[10];
  ReadFixed(descriptor, sizeof descriptor);
  if (descriptor[0] != kImageSeparator) return false;
  frame.Left = Le16(descriptor + 1);
  frame.Top = Le16(descriptor + 3);
  frame.Width = Le16(descriptor + 5);
  frame.Height = Le16(descriptor + 7);
  if (frame.Width == 0 || frame.Height == 0) return false;
  const std::uint8_t packed = descriptor[9];
  if (packed & 0x80) {
    frame.LocalBits = (packed & 7) + 1;
    GifPalette& own = frame.AdoptOwnPalette();
    ReadFixed(own.data(), std::size_t{3} << frame.LocalBits);
  } else {
    frame.UseSharedPalette(globalPalette);
    frame.LocalBits = 0;
  }
  frame.Interlaced = (packed & 0x40) != 0;

  const std::uint8_t flags = graphicControlBlock[1];
  frame.Disposal = static_cast<std::uint8_t>((flags & 0x1C) >> 2);
  if (frame.Disposal > 3) frame.Disposal = 2;
  frame.Delay = Le16(graphicControlBlock.data() + 2) * 10;
  frame.Transparent = (flags & 1) != 0 && Version == gvGIF89a;
  frame.TransparentIndex = graphicControlBlock[4];

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

  // Colour table of the image: the frame's own, or as many entries of the
  // shared table as the picture has seen so far.
  const int tableBits = frame.OwnsPalette ? frame.LocalBits : ColorBits;
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
  if (!DecodeLZW(frame, pixels, frame.Transparent ? &maskRows : nullptr)) return false;

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

}  // namespace tessavo::gif
