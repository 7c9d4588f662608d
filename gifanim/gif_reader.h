// The GIF reader: parses a GIF87a or GIF89a file held in WorkBuffer into up
// to 256 frames (TGIFFrame), each with an 8-bit bottom-up bitmap, a 1-bit
// mask for transparent frames, and its timing and disposal.
//
// The animated picture control derives from GifReader; its seams are
// DoProgress (load progress and cancelling), FinishLoad (called when every
// frame is read, before the work buffer is emptied) and LoadSucceeded
// (after it, with StatusCode 0).
//
// Frames are numbered from 1 as in the file: Frame(1) .. Frame(FrameCount).
//
// No input makes the reader read or write outside its buffers, run without
// end or allocate without bound: a load holds at most FrameByteLimit bytes
// of bitmaps per frame and LoadByteLimit in all, and fails beyond that.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "gifanim/gif_frame.h"

namespace tessavo::gif {

enum TGIFVersion { gvGIF87a, gvGIF89a };

// A growable in-memory byte stream with a position.
struct WorkStream {
  std::vector<std::uint8_t> bytes;
  std::size_t position = 0;

  std::size_t Size() const { return bytes.size(); }
  std::size_t Remaining() const { return position < bytes.size() ? bytes.size() - position : 0; }
  void Clear() {
    bytes.clear();
    bytes.shrink_to_fit();
    position = 0;
  }
};

// The graphic control extension as read: block size, packed flags (bits 2
// to 4 disposal, bit 0 transparency), delay (16-bit little-endian,
// hundredths of a second), transparent index, terminator.
using GraphicControlBytes = std::array<std::uint8_t, 6>;

class GifReader {
 public:
  // BytesProcessed, BytesToProcess, PercentageProcessed, KeepOnProcessing
  // (clear it to cancel the load).
  using ProgressEvent = std::function<void(std::int64_t, std::int64_t, int, bool&)>;

  static constexpr int kMaxFrames = 256;
  static constexpr std::size_t kFrameByteLimit = std::size_t{64} << 20;
  static constexpr std::size_t kLoadByteLimit = std::size_t{256} << 20;

  GifReader();
  virtual ~GifReader();
  GifReader(const GifReader&) = delete;
  GifReader& operator=(const GifReader&) = delete;

  // Copies `bytes` into WorkBuffer and parses them. On any failure the
  // picture is reset and the result is false; StatusCode then tells why
  // (1 cancelled, 2 no data, 3 failed). On success StatusCode is 0.
  bool LoadPicture(std::span<const std::uint8_t> bytes);
  // Releases the frames (256 down to 1) and empties Data; rewinds
  // WorkBuffer. Leaves StatusCode alone.
  virtual void ResetPicture();

  // Frame i, 1-based; i must be 1..FrameCount.
  TGIFFrame& Frame(int i) { return *Frames[static_cast<std::size_t>(i - 1)]; }
  const TGIFFrame& Frame(int i) const { return *Frames[static_cast<std::size_t>(i - 1)]; }

  // The reading steps, in the order a load runs them; false when the data
  // is not a picture. Each may throw std::runtime_error for data that ends
  // inside a fixed-size field, and std::bad_alloc.
  //
  // ParseGIF reads the blocks of WorkBuffer into frames. DecodeFrame reads
  // one image from its separator on. DecodeLZW decodes its pixel data into
  // bottom-up rows (and the mask rows of a transparent frame); it refuses
  // minimum code sizes above 11 and prefix chains that loop or outgrow the
  // 4096-entry stack. Its code reader (ReadCode, ReadSubBlock, NextPixel)
  // is in gif_lzw.cpp.
  virtual bool ParseGIF();
  bool DecodeFrame(TGIFFrame& frame, const GifPalette& globalPalette,
                   const GraphicControlBytes& graphicControlBlock);
  bool DecodeLZW(TGIFFrame& frame, PixelStream& pixels, PixelStream* mask);

  TGIFVersion Version = gvGIF87a;
  // The logical screen as the file declares it.
  std::int32_t ScreenWidth = 0;
  std::int32_t ScreenHeight = 0;
  // The screen widened to cover every frame.
  std::int32_t PictureWidth = 0;
  std::int32_t PictureHeight = 0;
  std::int32_t ColorBits = 0;
  GifPalette GlobalPalette{};
  std::int32_t LoopCount = 1;
  std::int32_t FrameCount = 0;
  std::array<std::unique_ptr<TGIFFrame>, kMaxFrames> Frames;
  bool AnyTransparent = false;
  bool AnyInterlaced = false;
  bool KeepOnProcessing = true;
  std::uint8_t StatusCode = 0;
  bool FirstImageOnly = false;
  ProgressEvent OnProgress;

  // The file's bytes exactly as loaded, and the copy that is parsed.
  std::vector<std::uint8_t> Data;
  WorkStream WorkBuffer;
  GraphicControlBytes GraphicControlBlock{};

 protected:
  // Reports the work buffer's position to OnProgress; when the handler
  // clears KeepOnProcessing, sets StatusCode 1 and cancels the load.
  virtual void DoProgress();
  virtual void FinishLoad() {}
  virtual void LoadSucceeded() {}

 private:
  struct Cancelled {};

  std::uint8_t ReadByte();
  void ReadFixed(std::uint8_t* out, std::size_t count);
  // Sub-block chains: the end of the data ends a chain as a zero length
  // would.
  std::size_t ReadSubBlockLength();
  void SkipBytes(std::size_t count);
  void SkipSubBlocks(std::size_t firstLength);
  void ReadExtension(std::uint8_t label, std::string& pendingComment);

  // Bitmap bytes that frames of the current load hold.
  std::size_t loadBytes_ = 0;
};

}  // namespace tessavo::gif
