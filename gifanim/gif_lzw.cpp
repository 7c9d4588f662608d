#include "gifanim/gif_lzw.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace tessavo::gif {
namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxMinimumCodeSize = 11;  // 12-bit codes at most

// The code stream of one image: variable-width codes, least significant bit
// first, over a chain of data sub-blocks read in place from the file's
// bytes.
class LzwDecoder {
 public:
  LzwDecoder(const std::uint8_t* data, std::size_t position, std::size_t end, int minimumCodeSize)
      : data_(data), position_(position), end_(end), clear_(1 << minimumCodeSize),
        minimumCodeSize_(minimumCodeSize) {
    std::fill(prefix_, prefix_ + kMaxCodes, 0);
    std::fill(suffix_, suffix_ + kMaxCodes, 0);
    std::fill(length_, length_ + kMaxCodes, 1);
    for (int i = 0; i < clear_; ++i) suffix_[i] = static_cast<std::uint16_t>(i);
    Restart();
    ReadSubBlock();
  }

  std::size_t Position() const { return position_; }

  // Decodes codes into rows until the image is complete (returns 1), the
  // data ends (-1), the end code comes (-2) or a prefix chain loops or
  // outgrows the stack (-3). `row` and `column` are where the next pixel
  // goes; `nextRow()` is called when a row is full and returns false when
  // there is no next row (it moves `row`).
  //
  // The common case, a code whose string fits in the current row while the
  // table is regular, runs on local copies of the decoder's state: pixel
  // stores through a byte pointer would otherwise make the compiler reload
  // every member after each one.
  template <class NextRow>
  int Decode(std::uint8_t*& row, std::int32_t& column, std::int32_t width, NextRow nextRow) {
    std::uint64_t buffer = 0;
    int bits = 0, codeWidth = 0, nextFree = 0, limit = 0, first = 0, previous = 0;
    bool regular = false;
    std::uint8_t* out = nullptr;
    std::uint8_t* rowEnd = nullptr;
    const int clear = clear_;
    std::uint16_t* const prefix = prefix_;
    std::uint16_t* const suffix = suffix_;
    std::uint16_t* const length = length_;

    auto save = [&] {
      bitBuffer_ = buffer;
      bits_ = bits;
      width_ = codeWidth;
      nextFree_ = nextFree;
      limit_ = limit;
      first_ = first;
      previous_ = previous;
      regular_ = regular;
      column = static_cast<std::int32_t>(out - row);
    };
    auto load = [&] {
      buffer = bitBuffer_;
      bits = bits_;
      codeWidth = width_;
      nextFree = nextFree_;
      limit = limit_;
      first = first_;
      previous = previous_;
      regular = regular_;
      out = row + column;
      rowEnd = row + width;
    };
    load();

    for (;;) {
      if (bits < codeWidth) {
        const Bits filled = Refill(Bits{buffer, bits});
        buffer = filled.buffer;
        bits = filled.count;
        if (bits < codeWidth) {
          save();
          return -1;
        }
      }
      int code = static_cast<int>(buffer & ((1u << codeWidth) - 1));
      buffer >>= codeWidth;
      bits -= codeWidth;

      // A regular table: every entry's prefix is an older entry, so the
      // chain has exactly length[code] links and the string can be written
      // in place, last pixel first.
      if (regular && (code < clear || (code > clear + 1 && code <= nextFree))) {
        const int count = code < nextFree ? length[code] : length[previous] + 1;
        if (count <= rowEnd - out) {
          const int incoming = code;
          int links = count;
          if (code == nextFree) {
            out[--links] = static_cast<std::uint8_t>(first);
            code = previous;
          }
          for (int i = links - 1; i > 0; --i) {
            out[i] = static_cast<std::uint8_t>(suffix[code]);
            code = prefix[code];
          }
          out[0] = static_cast<std::uint8_t>(code);
          first = code;
          if (nextFree < kMaxCodes) {
            prefix[nextFree] = static_cast<std::uint16_t>(previous);
            suffix[nextFree] = static_cast<std::uint16_t>(first);
            length[nextFree] = static_cast<std::uint16_t>(length[previous] + 1);
            if (++nextFree >= limit && limit < kMaxCodes) {
              limit *= 2;
              ++codeWidth;
            }
          }
          previous = incoming;
          out += count;
          if (out == rowEnd) {
            if (!nextRow()) {
              save();
              return 1;
            }
            out = row;
            rowEnd = row + width;
          }
          continue;
        }
      }

      save();
      const int status = NextPixel(code, row, column, width, nextRow);
      if (status) return status;
      load();
    }
  }

  // The pixels of one code by the general rules, handed to the rows: the
  // clear and end codes, and strings expanded on the expansion stack (which
  // also catches prefix chains that loop). Same results as Decode.
  template <class NextRow>
  [[gnu::noinline]] int NextPixel(int code, std::uint8_t*& row, std::int32_t& column, std::int32_t width,
                                  NextRow& nextRow) {
    if (code == end()) return EndOfImage();
    if (code == clear_) {
      Reset();
      do code = ReadCode(); while (code == clear_);
      if (code < 0) return code;
      if (code == end()) return EndOfImage();
      // The first code after a clear stands for itself; anything but a
      // colour index leaves the table irregular.
      regular_ = code < clear_;
      first_ = previous_ = code;
      stack_[kMaxCodes - 1] = static_cast<std::uint8_t>(code);
      return Emit(stack_ + kMaxCodes - 1, 1, row, column, width, nextRow);
    }

    const int incoming = code;
    if (code > nextFree_) regular_ = false;
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
    return Emit(top, static_cast<int>(stack_ + kMaxCodes - top), row, column, width, nextRow);
  }

  // The first code of the image data: codes up to the first that is not the
  // clear code stand for themselves, as after a clear code.
  template <class NextRow>
  int DecodeFirst(std::uint8_t*& row, std::int32_t& column, std::int32_t width, NextRow nextRow) {
    int code;
    do code = ReadCode(); while (code == clear_);
    if (code < 0) return code;
    if (code == end()) return EndOfImage();
    regular_ = code < clear_;
    first_ = previous_ = code;
    stack_[kMaxCodes - 1] = static_cast<std::uint8_t>(code);
    const int status = Emit(stack_ + kMaxCodes - 1, 1, row, column, width, nextRow);
    return status ? status : Decode(row, column, width, nextRow);
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

  // Copies pixels into the rows, row by row; 1 when the image is complete.
  template <class NextRow>
  static int Emit(const std::uint8_t* run, int count, std::uint8_t*& row, std::int32_t& column,
                  std::int32_t width, NextRow& nextRow) {
    while (count > 0) {
      const int n = std::min<int>(count, width - column);
      std::memcpy(row + column, run, static_cast<std::size_t>(n));
      run += n;
      count -= n;
      column += n;
      if (column < width) break;
      column = 0;
      if (!nextRow()) return 1;
    }
    return 0;
  }

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
    regular_ = true;
  }

  void AddEntry() {
    if (nextFree_ >= kMaxCodes) return;
    prefix_[nextFree_] = static_cast<std::uint16_t>(previous_);
    suffix_[nextFree_] = static_cast<std::uint16_t>(first_);
    length_[nextFree_] = static_cast<std::uint16_t>(length_[previous_] + 1);
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

  // Tops up a bit buffer from the sub-blocks. Takes and returns the buffer
  // by value so that the decoding loop keeps its copy in registers.
  struct Bits {
    std::uint64_t buffer;
    int count;
  };
  Bits Refill(Bits in) {
    if (blockLeft_ >= 8) {
      // Eight bytes of the block at once; those beyond what fits are
      // loaded again, to the same place, by the next refill.
      const std::uint8_t* p = data_ + position_;
      std::uint64_t word = 0;
      for (int i = 7; i >= 0; --i) word = word << 8 | p[i];
      in.buffer |= word << in.count;
      const std::size_t take = static_cast<std::size_t>(63 - in.count) >> 3;
      position_ += take;
      blockLeft_ -= take;
      in.count += static_cast<int>(take) * 8;
      return in;
    }
    return RefillAcrossBlocks(in);
  }

  [[gnu::noinline]] Bits RefillAcrossBlocks(Bits in) {
    while (in.count <= 56) {
      if (blockLeft_ == 0 && (noMoreData_ || !ReadSubBlock())) break;
      const std::size_t take = std::min<std::size_t>(blockLeft_, static_cast<std::size_t>(64 - in.count) / 8);
      for (std::size_t i = 0; i < take; ++i) {
        in.buffer |= static_cast<std::uint64_t>(data_[position_ + i]) << in.count;
        in.count += 8;
      }
      position_ += take;
      blockLeft_ -= take;
    }
    return in;
  }

  void Refill() {
    const Bits filled = Refill(Bits{bitBuffer_, bits_});
    bitBuffer_ = filled.buffer;
    bits_ = filled.count;
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
  // String lengths, exact while the table is regular: no code since the
  // last clear was beyond the next free code.
  std::uint16_t length_[kMaxCodes];
  bool regular_ = true;
  std::uint8_t stack_[kMaxCodes];
};

// Interlaced rows come in four passes: every 8th row from 0, every 8th from
// 4, every 4th from 2, every 2nd from 1.
constexpr int kPassStart[4] = {0, 4, 2, 1};
constexpr int kPassStep[4] = {8, 8, 4, 2};

void MaskRow(const std::uint8_t* row, std::uint8_t* maskRow, std::int32_t from, std::int32_t to,
             std::uint8_t transparentIndex) {
  std::int32_t x = from;
  // Whole mask bytes first, eight pixels each, most significant bit first.
  if ((x & 7) == 0) {
    for (; x + 8 <= to; x += 8) {
      unsigned bits = 0;
      for (int i = 0; i < 8; ++i) bits = bits << 1 | (row[x + i] == transparentIndex ? 1u : 0u);
      maskRow[x >> 3] = static_cast<std::uint8_t>(bits);
    }
  }
  for (; x < to; ++x) {
    if (row[x] == transparentIndex) maskRow[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
  }
}

}  // namespace

bool DecodeLzw(std::span<const std::uint8_t> data, std::size_t& position, const TGIFFrame& frame,
               PixelStream& pixels, PixelStream* mask, const RowProgress& progress) {
  if (position >= data.size()) return false;
  const int minimumCodeSize = data[position++];
  if (minimumCodeSize > kMaxMinimumCodeSize) return false;

  const std::int32_t width = frame.Width;
  const std::int32_t height = frame.Height;
  auto decoder = std::make_unique<LzwDecoder>(data.data(), position, data.size(), minimumCodeSize);

  const std::size_t stride = BitmapStride(width, 8);
  const std::size_t maskStride = BitmapStride(width, 1);
  pixels.bytes = ZeroedBytes(pixels.offset + stride * static_cast<std::size_t>(height));
  if (mask) mask->bytes = ZeroedBytes(mask->offset + maskStride * static_cast<std::size_t>(height));
  std::uint8_t* const rows = pixels.bytes.data() + pixels.offset;
  std::uint8_t* const maskRows = mask ? mask->bytes.data() + mask->offset : nullptr;

  const bool reporting = progress && std::int64_t{width} * height > 100000;
  const std::int32_t progressRowMask = width <= 320 ? 63 : 31;
  bool cancelled = false;

  // Image row y is buffer row height - 1 - y.
  std::int32_t y = 0;
  int pass = 0;
  std::int32_t column = 0;
  std::uint8_t* row = rows + static_cast<std::size_t>(height - 1) * stride;
  const bool interlaced = frame.Interlaced;
  const std::uint8_t transparentIndex = frame.TransparentIndex;
  auto nextRow = [&]() -> bool {
    if (maskRows) {
      MaskRow(row, maskRows + static_cast<std::size_t>(height - 1 - y) * maskStride, 0, width, transparentIndex);
    }
    if (reporting && (y & progressRowMask) == 0 && !progress(decoder->Position())) {
      cancelled = true;
      return false;
    }
    if (interlaced) {
      y += kPassStep[pass];
      while (y >= height && ++pass < 4) y = kPassStart[pass];
      if (pass == 4) return false;
    } else if (++y == height) {
      return false;
    }
    row = rows + static_cast<std::size_t>(height - 1 - y) * stride;
    return true;
  };

  const int status = decoder->DecodeFirst(row, column, width, nextRow);
  // -3: a prefix chain that loops or is too long.
  if (cancelled || status == -3) return false;
  if (status == 1) {
    decoder->Drain();
  } else if (maskRows && column > 0) {
    MaskRow(row, maskRows + static_cast<std::size_t>(height - 1 - y) * maskStride, 0, column, transparentIndex);
  }
  position = decoder->Position();
  return true;
}

}  // namespace tessavo::gif
