// The saved form of a password list, every text followed by CR LF, made a
// buffer at a time straight from the store's characters: saving needs the
// buffer's memory, not a copy of the whole image.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace tessavo {

// Large enough that a write per chunk costs nothing against the copying,
// small enough to stay in the second-level cache between copy and write.
inline constexpr std::size_t SaveChunkBytes = 256 * 1024;

namespace store_image_detail {

// Copies what fits before end of the line text + CR LF, from its byte done
// on, and advances done: for a line that straddles two chunks.
char* CopyLinePart(std::string_view text, std::size_t& done, char* out, char* end);

}  // namespace store_image_detail

// refAt(k): anything with offset and length of the k-th of count texts in
// chars; what it reads must outlive the image and stay unchanged while the
// image is read.
template <typename RefAt>
class LinesImage {
 public:
  LinesImage(std::string_view chars, std::size_t count, RefAt refAt,
             std::size_t chunkBytes = SaveChunkBytes)
      : chars_(chars),
        count_(count),
        refAt_(refAt),
        buffer_(new char[chunkBytes]),
        chunkBytes_(chunkBytes) {}

  // The next chunk, full but for the last; empty once all is given. Valid
  // until the next call.
  std::string_view Next() {
    char* out = buffer_.get();
    char* const end = out + chunkBytes_;
    while (next_ < count_) {
      const auto ref = refAt_(next_);
      // Most lines fit whole, and take a single copy of the text.
      if (done_ == 0 && ref.length + std::size_t{2} <= static_cast<std::size_t>(end - out)) {
        std::memcpy(out, chars_.data() + ref.offset, ref.length);
        out += ref.length;
        *out++ = '\r';
        *out++ = '\n';
        ++next_;
        continue;
      }
      if (out == end) break;
      const std::string_view text = chars_.substr(ref.offset, ref.length);
      out = store_image_detail::CopyLinePart(text, done_, out, end);
      if (done_ == ref.length + std::size_t{2}) {
        done_ = 0;
        ++next_;
      }
    }
    return std::string_view(buffer_.get(), static_cast<std::size_t>(out - buffer_.get()));
  }

 private:
  std::string_view chars_;
  std::size_t count_;
  RefAt refAt_;
  std::unique_ptr<char[]> buffer_;
  std::size_t chunkBytes_;
  std::size_t next_ = 0;  // the line being copied
  std::size_t done_ = 0;  // of its bytes, those in earlier chunks
};

}  // namespace tessavo
