// The save dialog, owned by the active form.
#include <windows.h>

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/win32/form_peer.h"
#include "toolkit/win32/win32_platform.h"

namespace tessavo::tk::win32 {
namespace {

HWND DialogOwner() {
  if (FormPeerWin* form = FormPeerWin::FromWindow(GetActiveWindow())) return form->Handle();
  if (Form* main = App().MainForm()) {
    if (auto* peer = dynamic_cast<FormPeerWin*>(main->GetFormPeer())) return peer->Handle();
  }
  return nullptr;
}

// "Text files (*.txt)|*.txt|All files|*.*" in the dialog's form: pieces
// ended by zero bytes, the list by one more.
std::string DialogFilter(const std::string& filter) {
  if (filter.empty()) return {};
  std::string result = filter;
  for (char& c : result) {
    if (c == '|') c = '\0';
  }
  result.push_back('\0');
  result.push_back('\0');
  return result;
}

}  // namespace

std::optional<std::string> RunSaveDialog(const SaveDialogOptions& options) {
  const std::string filter = DialogFilter(options.filter);
  std::vector<char> file(32768, '\0');
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = DialogOwner();
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.data();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = options.initialDir.empty() ? nullptr : options.initialDir.c_str();
  ofn.lpstrTitle = options.title.empty() ? nullptr : options.title.c_str();
  ofn.lpstrDefExt = options.defaultExt.empty() ? nullptr : options.defaultExt.c_str();
  ofn.Flags = OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING |
              (options.overwritePrompt ? OFN_OVERWRITEPROMPT : 0) |
              (options.hideReadOnly ? OFN_HIDEREADONLY : 0);

  for (int attempt = 0; attempt < 2; ++attempt) {
    // A proposed name the dialog refuses (too long, bad characters) is
    // dropped rather than making the dialog fail.
    const std::string name = attempt == 0 ? options.fileName : std::string();
    std::fill(file.begin(), file.end(), '\0');
    name.copy(file.data(), std::min(name.size(), file.size() - 1));
    if (GetSaveFileNameA(&ofn)) return std::string(file.data());
    const DWORD error = CommDlgExtendedError();
    if (error == 0) return std::nullopt;  // cancelled
    if (error != FNERR_INVALIDFILENAME || name.empty()) {
      throw std::runtime_error("The save dialog failed (error " + std::to_string(error) + ")");
    }
  }
  return std::nullopt;
}

}  // namespace tessavo::tk::win32
