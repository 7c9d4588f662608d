// Text for the clipboard, kept out of clipboard history and the cloud
// clipboard: what we copy is mostly passwords.
#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "toolkit/win32/win32_platform.h"

namespace tessavo::tk::win32 {
namespace {

void Put(UINT format, const void* data, std::size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size == 0 ? 1 : size);
  if (!memory) throw std::runtime_error("Not enough memory for the clipboard");
  if (void* target = GlobalLock(memory)) {
    if (size) std::memcpy(target, data, size);
    GlobalUnlock(memory);
  }
  // On success the clipboard owns the memory.
  if (!SetClipboardData(format, memory)) {
    GlobalFree(memory);
    throw std::runtime_error("Cannot put the text on the clipboard");
  }
}

class OpenClipboardScope {
 public:
  OpenClipboardScope() {
    // Another program may hold the clipboard for a moment (a clipboard
    // viewer reading what we put there before).
    for (int attempt = 0; attempt < 20; ++attempt) {
      if (OpenClipboard(ApplicationWindow())) return;
      Sleep(10);
    }
    throw std::runtime_error("Cannot open the clipboard");
  }
  ~OpenClipboardScope() { CloseClipboard(); }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
};

void PutClipboardText(std::string_view text) {
  OpenClipboardScope open;
  if (!EmptyClipboard()) throw std::runtime_error("Cannot empty the clipboard");
  std::string copy(text);
  try {
    Put(CF_TEXT, copy.c_str(), copy.size() + 1);
  } catch (...) {
    SecureZeroMemory(copy.data(), copy.size());
    throw;
  }
  SecureZeroMemory(copy.data(), copy.size());
  const DWORD no = 0;
  const BYTE marker = 0;
  Put(RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing"), &marker, 1);
  Put(RegisterClipboardFormatA("CanIncludeInClipboardHistory"), &no, sizeof no);
  Put(RegisterClipboardFormatA("CanUploadToCloudClipboard"), &no, sizeof no);
  Put(RegisterClipboardFormatA("Clipboard Viewer Ignore"), &marker, 1);
}

class Win32Clipboard final : public ClipboardService {
 public:
  void SetText(std::string_view text) override { PutClipboardText(text); }
  std::uint64_t SequenceNumber() override { return GetClipboardSequenceNumber(); }
  void EmptyIfUnchanged(std::uint64_t sequence) override {
    // Held open, the clipboard cannot change between the check and the
    // emptying.
    OpenClipboardScope open;
    if (GetClipboardSequenceNumber() == sequence) EmptyClipboard();
  }
};

}  // namespace
}  // namespace tessavo::tk::win32

namespace tessavo::tk {

std::unique_ptr<ClipboardService> CreateClipboardService() {
  return std::make_unique<win32::Win32Clipboard>();
}

}  // namespace tessavo::tk
