// What is process-wide: the title, the hint, minimise and restore, message
// processing, the clock, the screen, the clipboard, message boxes, file
// dialogs, the cursor, window timers and calls from other threads.
#pragma once

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/geometry.h"

namespace tessavo::tk {

class Form;

enum class Cursor { Default, HourGlass };

// Message box flags and answers (the Win32 values).
inline constexpr unsigned MbOk = 0x0;
inline constexpr unsigned MbIconStop = 0x10;
inline constexpr unsigned MbSetForeground = 0x10000;
inline constexpr int IdOk = 1;

struct SaveDialogOptions {
  std::string title;
  std::string filter;          // "Text files (*.txt)|*.txt"
  std::string defaultExt;      // "txt"
  std::string initialDir;
  std::string fileName;
  bool overwritePrompt = true;
  bool hideReadOnly = true;
};

// A failure that the error guard lets through instead of showing it: the
// headless platform throws it when a modal loop waits for input that no
// test has queued, so that the test stops instead of hanging.
class UnguardedError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// Implemented once per platform (toolkit/win32/, toolkit/headless/).
class AppPlatform {
 public:
  using Clock = std::chrono::steady_clock;
  virtual ~AppPlatform() = default;

  virtual void SetTitle(const std::string& title) = 0;
  virtual void ProcessMessages() = 0;
  // Waits up to timeout for a message, then processes what arrived.
  virtual void WaitAndProcess(std::chrono::milliseconds timeout) = 0;
  // Runs the message loop until QuitLoop.
  virtual void RunLoop() = 0;
  virtual void QuitLoop() = 0;
  // The loop of a modal form that has no native window: processes messages
  // until finished() holds.
  virtual void RunModalLoop(const std::function<bool()>& finished) {
    while (!finished()) WaitAndProcess(std::chrono::milliseconds(50));
  }
  virtual void Minimize() = 0;
  virtual Clock::time_point Now() = 0;
  virtual Size ScreenSize() = 0;
  // The outer size a form adds around its client area.
  virtual Size FrameSize(const Form& form) = 0;
  virtual void SetClipboardText(std::string_view text) = 0;
  virtual int MessageBox(std::string_view text, std::string_view title, unsigned flags) = 0;
  virtual std::optional<std::string> SaveDialog(const SaveDialogOptions& options) = 0;
  virtual void SetCursor(Cursor cursor) = 0;
  virtual void Beep() = 0;
  virtual char TimeSeparator() = 0;
  virtual char DecimalSeparator() = 0;
  // Window timers: fn runs on the main thread every interval.
  virtual int StartTimer(std::chrono::milliseconds interval, std::function<void()> fn) = 0;
  virtual void StopTimer(int id) = 0;
  // From another thread: runs fn on the main thread and waits for it.
  virtual void RunOnMainThread(const std::function<void()>& fn) = 0;
};

std::unique_ptr<AppPlatform> CreateAppPlatform();

class Application {
 public:
  using Clock = AppPlatform::Clock;

  Application();
  ~Application();

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title);

  // The long part of the hint under the pointer or of the highlighted menu
  // item; OnHint runs whenever it changes.
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint);
  std::function<void()> OnHint;

  // The program was minimised to, or restored from, its taskbar button.
  std::function<void()> OnMinimize;
  std::function<void()> OnRestore;
  void Minimize();
  void UserRestored();
  void UserMinimized();
  bool Minimized() const { return minimized_; }

  void ProcessMessages() { platform_->ProcessMessages(); }
  void WaitAndProcess(std::chrono::milliseconds timeout) { platform_->WaitAndProcess(timeout); }
  // Shows the main form and processes messages until it closes.
  void Run(Form& mainForm);
  Form* MainForm() const { return mainForm_; }
  // Run sets it too; a program sets it early when its other forms need
  // the main form before Run (the first form made is not assumed).
  void SetMainForm(Form* form) { mainForm_ = form; }
  void MainFormClosed();

  // Every form that exists, oldest first, and the active one (or nullptr).
  const std::vector<Form*>& Forms() const { return forms_; }
  Form* ActiveForm() const { return activeForm_; }

  Clock::time_point Now() { return platform_->Now(); }
  Size ScreenSize() { return platform_->ScreenSize(); }
  Size FrameSize(const Form& form) { return platform_->FrameSize(form); }
  void SetClipboardText(std::string_view text) { platform_->SetClipboardText(text); }
  int MessageBox(std::string_view text, std::string_view title, unsigned flags) {
    return platform_->MessageBox(text, title, flags);
  }
  std::optional<std::string> SaveDialog(const SaveDialogOptions& options) {
    return platform_->SaveDialog(options);
  }
  void SetCursor(Cursor cursor) { platform_->SetCursor(cursor); }
  void Beep() { platform_->Beep(); }
  char TimeSeparator() { return platform_->TimeSeparator(); }
  char DecimalSeparator() { return platform_->DecimalSeparator(); }
  int StartTimer(std::chrono::milliseconds interval, std::function<void()> fn) {
    return platform_->StartTimer(interval, std::move(fn));
  }
  void StopTimer(int id) { platform_->StopTimer(id); }
  void RunOnMainThread(const std::function<void()>& fn) { platform_->RunOnMainThread(fn); }

  // Runs an event handler; an exception that escapes it is shown by
  // ShowException and the program carries on.
  void Guard(const std::function<void()>& handler);
  // The general error box: the text (with a full stop appended when its
  // last character comes after "." in the character set), the stop icon,
  // OK, titled with the application title.
  void ShowException(const std::exception& error);

  AppPlatform& Platform() { return *platform_; }

  // Back to the state of a new application (no title, hint, handlers or
  // main form, not minimised); the platform and the existing forms stay.
  void Reset();

 private:
  friend class Form;

  std::unique_ptr<AppPlatform> platform_;
  std::string title_;
  std::string hint_;
  bool minimized_ = false;
  Form* mainForm_ = nullptr;
  Form* activeForm_ = nullptr;
  std::vector<Form*> forms_;
};

// The one application object of the process.
Application& App();

// The text the general error handler shows for a failure's message.
std::string ErrorBoxText(std::string_view message);

}  // namespace tessavo::tk
