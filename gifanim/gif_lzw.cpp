// LZW decoding of one image's pixel data, straight into bottom-up rows.
#include <algorithm>
#include <cstring>
#include <memory>

#include "gifanim/gif_reader.h"

namespace tessavo::gif {
namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxMinimumCodeSize = 11;  // 12-bit codes at most

// The code stream of one image: variable-width codes, least significant bit
// first, over a chain of data sub-blocks read in place from the work
// buffer.
class LzwDecoder {
 public:
  LzwDecoder(const std::uint8_t* data, std::size_t position, std::size_t end, int minimumCodeSize)
      : data_(data), position_(position), end_(end), clear_(1 << minimumCodeSize),
        minimumCodeSize_(minimumCodeSize) {
    std::fill(prefix_, prefix_ + kMaxCodes, 0);
    std::fill(suffix_, suffix_ + kMaxCodes, 0);
    for (int i = 0; i < clear_; ++i) suffix_[i] = static_cast<std::uint16_t>(i);
    Restart();
    ReadSubBlock();
  }

  std::size_t Position() const { return position_; }

  // The expansion of the next code, in pixel order, as [*run, *run + n);
  // returns n > 0, or -1 at the end of the data, -2 at the end code, -3
  // when a prefix chain loops or outgrows the stack.
  int NextPixels(const std::uint8_t*& run) {
    int code = ReadCode();
    if (code == clear_) {
      Reset();
      do code = ReadCode(); while (code == clear_);
      if (code < 0) return code;
      if (code == end()) return EndOfImage();
      first_ = previous_ = code;
      stack_[kMaxCodes - 1] = static_cast<std::uint8_t>(code);
      run = stack_ + kMaxCodes - 1;
      return 1;
    }
    if (code < 0) return code;
    if (code == end()) return EndOfImage();

    const int incoming = code;
    std::uint8_t* top = stack_ + kMaxCodes;
    if (code >= nextFree_) {
      *--top = static_cast<std::uint8_t>(first_);
      code = previous_;
    }
    while (code >= clear_) {
      if (top == stack_) return -3;
      *--top = static_cast<std::uint8_t>(suffix_[code]);
      code = prefix_[code];
    }
    if (top == stack_) return -3;
    first_ = suffix_[code];
    *--top = static_cast<std::uint8_t>(first_);
    AddEntry();
    previous_ = incoming;
    run = top;
    return static_cast<int>(stack_ + kMaxCodes - top);
  }

  // The first code of the image data: codes up to the first that is not the
  // clear code; same results as NextPixels.
  int FirstPixels(const std::uint8_t*& run) {
    int code;
    do code = ReadCode(); while (code == clear_);
    if (code < 0) return code;
    if (code == end()) return EndOfImage();
    first_ = previous_ = code;
    stack_[kMaxCodes - 1] = static_cast<std::uint8_t>(code);
    run = stack_ + kMaxCodes - 1;
    return 1;
  }

  // Reads the codes that follow the last row up to the end code or the end
  // of the data. Their pixels go nowhere, so only the code width is kept
  // up to date, not the tables.
  void Drain() {
    bool afterClear = false;
    for (;;) {
      const int code = ReadCode();
      if (code < 0) return;
      if (code == clear_) {
        Restart();
        afterClear = true;
      } else if (code == end()) {
        EndOfImage();
        return;
      } else if (afterClear) {
        afterClear = false;
      } else {
        Grow();
      }
    }
  }

 private:
  int end() const { return clear_ + 1; }

  void Restart() {
    width_ = minimumCodeSize_ + 1;
    limit_ = 2 * clear_;
    nextFree_ = clear_ + 2;
  }

  // The clear code: entries defined since the last clear go back to zero.
  void Reset() {
    std::fill(prefix_ + clear_, prefix_ + nextFree_, 0);
    std::fill(suffix_ + clear_, suffix_ + nextFree_, 0);
    Restart();
  }

  void AddEntry() {
    if (nextFree_ >= kMaxCodes) return;
    prefix_[nextFree_] = static_cast<std::uint16_t>(previous_);
    suffix_[nextFree_] = static_cast<std::uint16_t>(first_);
    Grow();
  }

  void Grow() {
    if (nextFree_ >= kMaxCodes) return;
    ++nextFree_;
    if (nextFree_ >= limit_ && limit_ < kMaxCodes) {
      limit_ *= 2;
      ++width_;
    }
  }

  // The end code: the rest of the sub-block chain is skipped.
  int EndOfImage() {
    if (!noMoreData_) {
      position_ += blockLeft_;
      blockLeft_ = 0;
      while (ReadSubBlock()) position_ += blockLeft_, blockLeft_ = 0;
    }
    return -2;
  }

  // Starts the next data sub-block; false (and no more data) at a length
  // of 0 or at the end of the data.
  bool ReadSubBlock() {
    if (position_ >= end_) {
      noMoreData_ = true;
      return false;
    }
    blockLeft_ = data_[position_++];
    if (blockLeft_ == 0) {
      noMoreData_ = true;
      return false;
    }
    blockLeft_ = std::min(blockLeft_, end_ - position_);
    return true;
  }

  void Refill() {
    while (bits_ <= 56) {
      if (blockLeft_ == 0 && (noMoreData_ || !ReadSubBlock())) return;
      const std::size_t take = std::min<std::size_t>(blockLeft_, (64 - bits_) / 8);
      for (std::size_t i = 0; i < take; ++i) {
        bitBuffer_ |= static_cast<std::uint64_t>(data_[position_ + i]) << bits_;
        bits_ += 8;
      }
      position_ += take;
      blockLeft_ -= take;
    }
  }

  // The next code of the current width, or -1 when the data holds fewer
  // bits than that.
  int ReadCode() {
    if (bits_ < width_) {
      Refill();
      if (bits_ < width_) return -1;
    }
    const int code = static_cast<int>(bitBuffer_ & ((1u << width_) - 1));
    bitBuffer_ >>= width_;
    bits_ -= width_;
    return code;
  }

  const std::uint8_t* data_;
  std::size_t position_;
  std::size_t end_;
  std::size_t blockLeft_ = 0;
  bool noMoreData_ = false;
  std::uint64_t bitBuffer_ = 0;
  int bits_ = 0;

  const int clear_;
  const int minimumCodeSize_;
  int width_ = 0;
  int limit_ = 0;
  int nextFree_ = 0;
  int first_ = 0;
  int previous_ = 0;

  std::uint16_t prefix_[kMaxCodes];
  std::uint16_t suffix_[kMaxCodes];
  std::uint8_t stack_[kMaxCodes];
};

// Interlaced rows come in four passes: every 8th row from 0, every 8th from
// 4, every 4th from 2, every 2nd from 1.
constexpr int kPassStart[4] = {0, 4, 2, 1};
constexpr int kPassStep[4] = {8, 8, 4, 2};

void MaskRow(const std::uint8_t* row, std::uint8_t* maskRow, std::int32_t from, std::int32_t to,
             std::uint8_t transparentIndex) {
  for (std::int32_t x = from; x < to; ++x) {
    if (row[x] == transparentIndex) maskRow[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
  }
}

}  // namespace

bool GifReader::DecodeLZW(TGIFFrame& frame, PixelStream& pixels, PixelStream* mask) {
  const int minimumCodeSize = ReadByte();
  if (minimumCodeSize > kMaxMinimumCodeSize) return false;

  const std::int32_t width = frame.Width;
  const std::int32_t height = frame.Height;
  auto decoder = std::make_unique<LzwDecoder>(WorkBuffer.bytes.data(), WorkBuffer.position,
                                              WorkBuffer.Size(), minimumCodeSize);

  const std::size_t stride = BitmapStride(width, 8);
  const std::size_t maskStride = BitmapStride(width, 1);
  pixels.bytes.assign(pixels.offset + stride * static_cast<std::size_t>(height), 0);
  if (mask) mask->bytes.assign(mask->offset + maskStride * static_cast<std::size_t>(height), 0);
  std::uint8_t* const rows = pixels.bytes.data() + pixels.offset;
  std::uint8_t* const maskRows = mask ? mask->bytes.data() + mask->offset : nullptr;

  const bool progress = OnProgress && std::int64_t{width} * height > 100000;
  const std::int32_t progressRowMask = width <= 320 ? 63 : 31;

  // Image row y is buffer row height - 1 - y.
  std::int32_t y = 0;
  int pass = 0;
  std::int32_t column = 0;
  std::uint8_t* row = rows + static_cast<std::size_t>(height - 1) * stride;
  bool complete = false;

  const std::uint8_t* run = nullptr;
  int count = decoder->FirstPixels(run);
  while (count > 0) {
    while (count > 0) {
      const int n = std::min<int>(count, width - column);
      std::memcpy(row + column, run, static_cast<std::size_t>(n));
      run += n;
      count -= n;
      column += n;
      if (column < width) break;

      if (maskRows) {
        MaskRow(row, maskRows + static_cast<std::size_t>(height - 1 - y) * maskStride, 0, width,
                frame.TransparentIndex);
      }
      if (progress && (y & progressRowMask) == 0) {
        WorkBuffer.position = decoder->Position();
        DoProgress();
      }
      column = 0;
      if (frame.Interlaced) {
        y += kPassStep[pass];
        while (y >= height && ++pass < 4) y = kPassStart[pass];
        complete = pass == 4;
      } else {
        complete = ++y == height;
      }
      if (complete) break;
      row = rows + static_cast<std::size_t>(height - 1 - y) * stride;
    }
    if (complete) break;
    count = decoder->NextPixels(run);
  }
  if (count == -3) return false;  // a prefix chain that loops or is too long

  if (complete) {
    decoder->Drain();
  } else if (maskRows && column > 0) {
    MaskRow(row, maskRows + static_cast<std::size_t>(height - 1 - y) * maskStride, 0, column,
            frame.TransparentIndex);
  }
  WorkBuffer.position = decoder->Position();
  return true;
}

}  // namespace tessavo::gif
