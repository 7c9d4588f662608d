// Replacing a file's contents so that a failure never costs the user the
// file that was there: the new image goes to a temporary file beside the
// target, which takes the target's place only once completely written.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tessavo {

// The target file (or the temporary file beside it) could not be created,
// or could not take the target's place.
class FileCreateError : public std::runtime_error {
 public:
  explicit FileCreateError(const std::string& path)
      : std::runtime_error("Cannot create file " + path) {}
};

// Writing the file image failed after the file was created.
class StreamWriteError : public std::runtime_error {
 public:
  StreamWriteError() : std::runtime_error("Stream write error") {}
};

// Makes the file at path (a narrow, ANSI path on Windows) hold exactly
// bytes. On failure the temporary file is removed, an existing target is
// left as it was, and FileCreateError or StreamWriteError is thrown.
void ReplaceFileContents(const std::string& path, std::string_view bytes);

// The same with the image made piece by piece, so that it never has to be
// held whole: nextChunk is called until it returns an empty view, and each
// view need stay valid only until the next call. An exception from
// nextChunk removes the temporary file and passes on.
void ReplaceFileContents(const std::string& path,
                         const std::function<std::string_view()>& nextChunk);

// For the platform's ReplaceFileContents: hands writeAll each chunk from
// nextChunk until one is empty; false at the first that fails to write.
template <typename WriteAll>
bool WriteChunks(const std::function<std::string_view()>& nextChunk, WriteAll&& writeAll) {
  for (std::string_view chunk = nextChunk(); !chunk.empty(); chunk = nextChunk()) {
    if (!writeAll(chunk)) return false;
  }
  return true;
}

}  // namespace tessavo
