// The platform's smaller services, one interface per concern. Each has a
// Win32 side (toolkit/win32/) and a headless side that records what it was
// asked and answers as tests script it (toolkit/headless/); the build
// picks the folder, and the application owns one of each.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tessavo::tk {

// Message box flags and answers, with the Win32 values so that callers need
// not include <windows.h>.
inline constexpr unsigned MbOk = 0x0;
inline constexpr unsigned MbOkCancel = 0x1;
inline constexpr unsigned MbAbortRetryIgnore = 0x2;
inline constexpr unsigned MbYesNoCancel = 0x3;
inline constexpr unsigned MbYesNo = 0x4;
inline constexpr unsigned MbRetryCancel = 0x5;
inline constexpr unsigned MbCancelTryContinue = 0x6;
inline constexpr unsigned MbTypeMask = 0xF;
inline constexpr unsigned MbIconHand = 0x10;
inline constexpr unsigned MbIconStop = MbIconHand;  // the same icon, Win32's other name
inline constexpr unsigned MbIconQuestion = 0x20;
inline constexpr unsigned MbIconExclamation = 0x30;
inline constexpr unsigned MbIconAsterisk = 0x40;
inline constexpr unsigned MbDefButtonMask = 0xF00;
inline constexpr unsigned MbSetForeground = 0x10000;

inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;
inline constexpr int IdAbort = 3;
inline constexpr int IdRetry = 4;
inline constexpr int IdIgnore = 5;
inline constexpr int IdYes = 6;
inline constexpr int IdNo = 7;
inline constexpr int IdTryAgain = 10;
inline constexpr int IdContinue = 11;

struct SaveDialogOptions {
  std::string title;
  std::string filter;          // "Text files (*.txt)|*.txt"
  std::string defaultExt;      // "txt"
  std::string initialDir;
  std::string fileName;
  bool overwritePrompt = true;
  bool hideReadOnly = true;
};

struct OpenDialogOptions {
  std::string title;
  std::string filter;          // "Wave files (*.wav)|*.wav"
  std::string initialDir;
  bool pathMustExist = true;
  bool fileMustExist = true;
  bool hideReadOnly = true;
};

// Message boxes and the file dialogs, owned by the active form. Every
// message box of the programs comes up here.
class DialogService {
 public:
  virtual ~DialogService() = default;
  // Flags and answers are the Mb and Id values above. Modal over the
  // whole program; returns the button pressed.
  virtual int MessageBox(std::string_view text, std::string_view title, unsigned flags) = 0;
  // The chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> SaveDialog(const SaveDialogOptions& options) = 0;
  virtual std::optional<std::string> OpenDialog(const OpenDialogOptions& options) = 0;
};

// Telling the user something happened: sounds and the taskbar.
class NotifyService {
 public:
  virtual ~NotifyService() = default;
  // A refused key or a failed action: the default beep (MessageBeep(0)).
  virtual void Beep() = 0;
  // Starts playing a .WAV file and returns at once (PlaySoundA, SND_ASYNC);
  // a file that cannot be played is not reported.
  virtual void PlaySoundFile(const std::string& path) = 0;
  // Toggles (true) or resets (false) the flashed look of the program's
  // taskbar button (FlashWindow on the window that owns it).
  virtual void FlashTaskbarButton(bool invert) = 0;
};

// Window timers: fn runs on the main thread, in the error guard, every
// interval while the main thread processes messages.
class TimerService {
 public:
  virtual ~TimerService() = default;
  // Throws when the window system has no timer left.
  virtual int StartTimer(std::chrono::milliseconds interval, std::function<void()> fn) = 0;
  virtual void StopTimer(int id) = 0;
  // From any thread: makes the main thread serve the calls queued for it
  // (Application::RunOnMainThread) as soon as it processes messages.
  virtual void WakeMainThread() = 0;
};

class ClipboardService {
 public:
  virtual ~ClipboardService() = default;
  // Replaces the clipboard's contents with plain text.
  virtual void SetText(std::string_view text) = 0;
  // A number that changes whenever the clipboard's contents change, by
  // this program or any other.
  virtual std::uint64_t SequenceNumber() = 0;
  // Empties the clipboard if its contents are still those that
  // SequenceNumber gave sequence for.
  virtual void EmptyIfUnchanged(std::uint64_t sequence) = 0;
};

class ShellService {
 public:
  virtual ~ShellService() = default;
  // Opens a document, a web address or a mail link with the program the
  // system has for it (ShellExecuteA "open", shown normally). Returns the
  // system's answer: above 32 for success.
  virtual long long Open(const std::string& target) = 0;
};

// One factory each, defined by the platform folder the build picks.
std::unique_ptr<DialogService> CreateDialogService();
std::unique_ptr<NotifyService> CreateNotifyService();
std::unique_ptr<TimerService> CreateTimerService();
std::unique_ptr<ClipboardService> CreateClipboardService();
std::unique_ptr<ShellService> CreateShellService();

}  // namespace tessavo::tk
