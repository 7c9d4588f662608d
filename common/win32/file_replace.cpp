#include "common/file_replace.h"

#include <windows.h>

#include <atomic>

namespace tessavo {

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/:");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

// A short name, so that a target near the path length limit still leaves
// room for it; CREATE_NEW never opens an existing file of that name.
std::string TemporaryName(const std::string& folder) {
  static std::atomic<unsigned> counter{0};
  const unsigned long process = GetCurrentProcessId();
  return folder + "~tsv" + std::to_string(process) + "-" +
         std::to_string(counter.fetch_add(1)) + ".tmp";
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() < (std::size_t{1} << 30)
                            ? static_cast<DWORD>(bytes.size())
                            : DWORD{1} << 30;
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

void ReplaceFileContents(const std::string& path,
                         const std::function<std::string_view()>& nextChunk) {
  // MoveFileEx would refuse these only after the whole image was written;
  // asking first saves the work and does not depend on how the file
  // system reports them.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
    throw FileCreateError(path);
  }

  const std::string folder = FolderOf(path);
  std::string temporary;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = TemporaryName(folder);
    file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
  }
  if (file == INVALID_HANDLE_VALUE) throw FileCreateError(path);

  // Flushed before the rename: after a power cut the folder then holds the
  // old file or the complete new one, never an empty one.
  bool written = false;
  try {
    written =
        WriteChunks(nextChunk, [file](std::string_view chunk) { return WriteAll(file, chunk); }) &&
        FlushFileBuffers(file);
  } catch (...) {
    CloseHandle(file);
    DeleteFileA(temporary.c_str());
    throw;
  }
  if (!CloseHandle(file)) written = false;
  if (!written) {
    DeleteFileA(temporary.c_str());
    throw StreamWriteError();
  }
  if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(temporary.c_str());
    throw FileCreateError(path);
  }
}

}  // namespace tessavo
