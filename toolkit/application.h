// What is process-wide: the title, the hint, minimise and restore, message
// processing, the clock, the screen, the forms, closing the program, calls
// from other threads, the error guard, and the platform's services.
#pragma once

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/main_thread_calls.h"
#include "toolkit/services.h"

namespace tessavo::tk {

class Form;

// A failure that the error guard lets through instead of showing it: the
// headless platform throws it when a modal loop waits for input that no
// test has queued, so that the test stops instead of hanging.
class UnguardedError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// The window system's loop and the screen, implemented once per platform
// (toolkit/win32/, toolkit/headless/). The smaller services are in
// services.h.
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
  // Hides every form and minimises the program to its taskbar button.
  virtual void Minimize() = 0;
  virtual Clock::time_point Now() = 0;
  virtual Size ScreenSize() = 0;
  // A form's whole size on the screen, frame included: its client area
  // scaled to the screen, and the frame around it.
  virtual Size OuterSize(const Form& form) = 0;
  virtual void SetCursor(Cursor cursor) = 0;
  virtual char TimeSeparator() = 0;
  virtual char DecimalSeparator() = 0;
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
  Signal OnHint;

  // The program was minimised to, or restored from, its taskbar button.
  Signal OnMinimize;
  Signal OnRestore;
  void Minimize();
  void UserRestored();
  void UserMinimized();
  bool Minimized() const { return minimized_; }

  void ProcessMessages() { platform_->ProcessMessages(); }
  void WaitAndProcess(std::chrono::milliseconds timeout) { platform_->WaitAndProcess(timeout); }
  // Shows the main form and processes messages until it closes; then the
  // calls other threads still wait for are abandoned.
  void Run(Form& mainForm);
  Form* MainForm() const { return mainForm_; }
  // Run sets it too; a program sets it early when its other forms need
  // the main form before Run (the first form made is not assumed).
  void SetMainForm(Form* form) { mainForm_ = form; }
  void MainFormClosed();

  // Every form that exists, oldest first, and the active one (or nullptr).
  const std::vector<Form*>& Forms() const { return forms_; }
  Form* ActiveForm() const { return activeForm_; }
  // The form shown modally last (nullptr when none is).
  Form* ModalForm() const;

  // Closing the whole program. From the taskbar button: the main form is
  // asked to close, unless a modal form is up, which is brought forward
  // instead. At the end of the Windows session: modal forms are cancelled
  // and the main form is asked to close; a handler still running finishes
  // first (see Form::Close).
  void UserCloseRequested();
  void UserEndSession();

  // How many handlers are running on the stack right now (every event
  // runs inside Guard). A form asked to close while a handler further up
  // runs closes once the outermost one has returned.
  int HandlerDepth() const { return handlerDepth_; }

  Clock::time_point Now() { return platform_->Now(); }
  Size ScreenSize() { return platform_->ScreenSize(); }
  Size OuterSize(const Form& form) { return platform_->OuterSize(form); }
  void SetCursor(Cursor cursor) { platform_->SetCursor(cursor); }
  char TimeSeparator() { return platform_->TimeSeparator(); }
  char DecimalSeparator() { return platform_->DecimalSeparator(); }

  DialogService& Dialogs() { return *dialogs_; }
  NotifyService& Notify() { return *notify_; }
  TimerService& Timers() { return *timers_; }
  ClipboardService& Clipboard() { return *clipboard_; }
  ShellService& Shell() { return *shell_; }

  // Shorthands for the services' most used calls.
  int MessageBox(std::string_view text, std::string_view title, unsigned flags) {
    return dialogs_->MessageBox(text, title, flags);
  }
  std::optional<std::string> SaveDialog(const SaveDialogOptions& options) {
    return dialogs_->SaveDialog(options);
  }
  void SetClipboardText(std::string_view text) { clipboard_->SetText(text); }
  void Beep() { notify_->Beep(); }
  int StartTimer(std::chrono::milliseconds interval, std::function<void()> fn) {
    return timers_->StartTimer(interval, std::move(fn));
  }
  void StopTimer(int id) { timers_->StopTimer(id); }

  // From another thread: runs fn on the main thread and waits for it.
  // True when it ran (what it threw is thrown here again); false when the
  // call was abandoned: stop was requested while it waited, or the main
  // loop has ended. On the main thread fn simply runs.
  bool RunOnMainThread(std::function<void()> fn, std::stop_token stop = {});
  // The platform's message processing serves the queued calls here.
  bool ServeMainThreadCalls() { return calls_.Serve(); }
  MainThreadCalls& Calls() { return calls_; }
  bool OnMainThread() const;

  // Runs an event handler; an exception that escapes it is shown by
  // ShowException and the program carries on. True when the handler
  // returned normally, false when its failure was shown. When the
  // outermost handler returns, closes that had to wait for it take place.
  bool Guard(const std::function<void()>& handler);
  // The general error box: the text (with a full stop appended when its
  // last character comes after "." in the character set), the stop icon,
  // OK, titled with the application title.
  void ShowException(const std::exception& error);
  // The box for errors the program reports itself: the text as it is, the
  // stop icon, OK, the application title, brought to the foreground.
  // Returns the button pressed (always OK).
  int ShowErrorBox(std::string_view text);

  AppPlatform& Platform() { return *platform_; }

  // Back to the state of a new application (no title, hint, handlers or
  // main form, not minimised, calls reopened); the platform and the
  // existing forms stay.
  void Reset();

 private:
  friend class Form;
  friend class HandlerScope;
  void RunPendingCloses();

  std::unique_ptr<AppPlatform> platform_;
  std::unique_ptr<DialogService> dialogs_;
  std::unique_ptr<NotifyService> notify_;
  std::unique_ptr<TimerService> timers_;
  std::unique_ptr<ClipboardService> clipboard_;
  std::unique_ptr<ShellService> shell_;
  MainThreadCalls calls_;
  std::string title_;
  std::string hint_;
  bool minimized_ = false;
  int handlerDepth_ = 0;
  Form* mainForm_ = nullptr;
  Form* activeForm_ = nullptr;
  std::vector<Form*> forms_;
  std::vector<Form*> modalForms_;  // innermost last
};

// Marks a handler as running for as long as it lives (Guard does so for
// every event; a long piece of work that processes messages can do so
// itself): a form asked to close meanwhile closes once it and every
// handler around it have returned.
class HandlerScope {
 public:
  HandlerScope();
  ~HandlerScope();
  HandlerScope(const HandlerScope&) = delete;
  HandlerScope& operator=(const HandlerScope&) = delete;
};

// The one application object of the process.
Application& App();

// The text the general error handler shows for a failure's message.
std::string ErrorBoxText(std::string_view message);

}  // namespace tessavo::tk
