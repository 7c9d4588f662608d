// Message boxes and the file dialogs, owned by the active form.
#include <windows.h>

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/services.h"
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

// Runs the dialog; a proposed name it refuses (too long, bad characters)
// is dropped rather than making the dialog fail. nullopt when cancelled.
template <class Show>
std::optional<std::string> RunFileDialog(OPENFILENAMEA& ofn, std::vector<char>& file,
                                         const std::string& proposed, Show show) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    const std::string name = attempt == 0 ? proposed : std::string();
    std::fill(file.begin(), file.end(), '\0');
    name.copy(file.data(), std::min(name.size(), file.size() - 1));
    if (show(&ofn)) return std::string(file.data());
    const DWORD error = CommDlgExtendedError();
    if (error == 0) return std::nullopt;  // cancelled
    if (error != FNERR_INVALIDFILENAME || name.empty()) {
      throw std::runtime_error("The file dialog failed (error " + std::to_string(error) + ")");
    }
  }
  return std::nullopt;
}

}  // namespace

// What both file dialogs share: owner, filter, the name buffer, the
// folder to start in and the title. The structure points into filter and
// file, which must outlive it.
static OPENFILENAMEA DialogBase(const std::string& filter, std::vector<char>& file,
                                const std::string& initialDir, const std::string& title) {
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = DialogOwner();
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.data();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
  return ofn;
}

std::optional<std::string> RunSaveDialog(const SaveDialogOptions& options) {
  const std::string filter = DialogFilter(options.filter);
  std::vector<char> file(32768, '\0');
  OPENFILENAMEA ofn = DialogBase(filter, file, options.initialDir, options.title);
  ofn.lpstrDefExt = options.defaultExt.empty() ? nullptr : options.defaultExt.c_str();
  ofn.Flags |= OFN_PATHMUSTEXIST | (options.overwritePrompt ? OFN_OVERWRITEPROMPT : 0) |
               (options.hideReadOnly ? OFN_HIDEREADONLY : 0);
  return RunFileDialog(ofn, file, options.fileName, GetSaveFileNameA);
}

std::optional<std::string> RunOpenDialog(const OpenDialogOptions& options) {
  const std::string filter = DialogFilter(options.filter);
  std::vector<char> file(32768, '\0');
  OPENFILENAMEA ofn = DialogBase(filter, file, options.initialDir, options.title);
  ofn.Flags |= OFN_NOCHANGEDIR | (options.pathMustExist ? OFN_PATHMUSTEXIST : 0) |
               (options.fileMustExist ? OFN_FILEMUSTEXIST : 0) |
               (options.hideReadOnly ? OFN_HIDEREADONLY : 0);
  return RunFileDialog(ofn, file, std::string(), GetOpenFileNameA);
}

namespace {

static_assert(MbOk == MB_OK && MbOkCancel == MB_OKCANCEL &&
              MbAbortRetryIgnore == MB_ABORTRETRYIGNORE && MbYesNoCancel == MB_YESNOCANCEL &&
              MbYesNo == MB_YESNO && MbRetryCancel == MB_RETRYCANCEL &&
              MbCancelTryContinue == MB_CANCELTRYCONTINUE && MbTypeMask == MB_TYPEMASK);
static_assert(MbIconHand == MB_ICONHAND && MbIconQuestion == MB_ICONQUESTION &&
              MbIconExclamation == MB_ICONEXCLAMATION && MbIconAsterisk == MB_ICONASTERISK &&
              MbDefButtonMask == MB_DEFMASK && MbSetForeground == MB_SETFOREGROUND);
static_assert(IdOk == IDOK && IdCancel == IDCANCEL && IdAbort == IDABORT && IdRetry == IDRETRY &&
              IdIgnore == IDIGNORE && IdYes == IDYES && IdNo == IDNO &&
              IdTryAgain == IDTRYAGAIN && IdContinue == IDCONTINUE);

class Win32Dialogs final : public DialogService {
 public:
  int MessageBox(std::string_view text, std::string_view title, unsigned flags) override {
    // Owned by the active window, the box disables it for as long as it is
    // up, so nothing else in the program can be clicked meanwhile; with no
    // active window the box stands on its own.
    const std::string textZ(text);
    const std::string titleZ(title);
    return ::MessageBoxA(GetActiveWindow(), textZ.c_str(), titleZ.c_str(), flags);
  }
  std::optional<std::string> SaveDialog(const SaveDialogOptions& options) override {
    return RunSaveDialog(options);
  }
  std::optional<std::string> OpenDialog(const OpenDialogOptions& options) override {
    return RunOpenDialog(options);
  }
};

}  // namespace

}  // namespace tessavo::tk::win32

namespace tessavo::tk {

std::unique_ptr<DialogService> CreateDialogService() {
  return std::make_unique<win32::Win32Dialogs>();
}

}  // namespace tessavo::tk
