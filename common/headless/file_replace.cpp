#include "common/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace tessavo {

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A name no other writer uses: process id plus a per-process counter; an
// existing file of that name is never opened (O_EXCL), only skipped.
std::string TemporaryName(const std::string& folder) {
  static std::atomic<unsigned> counter{0};
  return folder + ".tessavo-" + std::to_string(::getpid()) + "-" +
         std::to_string(counter.fetch_add(1)) + ".tmp";
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t chunk = bytes.size() < (std::size_t{1} << 30) ? bytes.size() : 1u << 30;
    const ssize_t written = ::write(fd, bytes.data(), chunk);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

void ReplaceFileContents(const std::string& path,
                         const std::function<std::string_view()>& nextChunk) {
  // A rename would replace a file the user made read-only, which writing
  // it in place never could; refuse it the way Windows does. The mode bits
  // are checked besides access() because the superuser passes access().
  struct stat target {};
  const bool exists = ::stat(path.c_str(), &target) == 0;
  if (exists && (S_ISDIR(target.st_mode) || (target.st_mode & 0222) == 0 ||
                 ::access(path.c_str(), W_OK) != 0)) {
    throw FileCreateError(path);
  }

  const std::string folder = FolderOf(path);
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = TemporaryName(folder);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) throw FileCreateError(path);

  // Tests and benchmarks are this build's only users, so the image is not
  // forced to the disk before the rename.
  bool written = false;
  try {
    written = WriteChunks(nextChunk, [fd](std::string_view chunk) { return WriteAll(fd, chunk); });
  } catch (...) {
    ::close(fd);
    ::unlink(temporary.c_str());
    throw;
  }
  if (::close(fd) != 0) written = false;
  if (!written) {
    ::unlink(temporary.c_str());
    throw StreamWriteError();
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    throw FileCreateError(path);
  }
}

}  // namespace tessavo
