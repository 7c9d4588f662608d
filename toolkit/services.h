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

// Message boxes and the file dialogs, owned by the active form.
class DialogService {
 public:
  virtual ~DialogService() = default;
  // Flags and answers are those of common/platform.h (the Win32 values).
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
