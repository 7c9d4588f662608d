#include "toolkit/application.h"

#include <algorithm>
#include <thread>
#include <utility>

#include "toolkit/form.h"

namespace tessavo::tk {
namespace {

std::thread::id& MainThreadId() {
  static std::thread::id id;
  return id;
}

}  // namespace

Application::Application()
    : platform_(CreateAppPlatform()),
      dialogs_(CreateDialogService()),
      notify_(CreateNotifyService()),
      timers_(CreateTimerService()),
      clipboard_(CreateClipboardService()),
      shell_(CreateShellService()) {
  MainThreadId() = std::this_thread::get_id();
}

Application::~Application() = default;

Application& App() {
  static Application application;
  return application;
}

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  // Compared as unsigned bytes: characters above 127 count as after '.'.
  if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) {
    text += '.';
  }
  return text;
}

void Application::SetTitle(std::string title) {
  title_ = std::move(title);
  platform_->SetTitle(title_);
}

void Application::SetHint(std::string hint) {
  if (hint == hint_) return;
  hint_ = std::move(hint);
  OnHint();
}

void Application::Minimize() {
  if (minimized_) return;
  platform_->Minimize();
  minimized_ = true;
  OnMinimize();
}

void Application::UserMinimized() {
  if (minimized_) return;
  minimized_ = true;
  Guard([this] { OnMinimize(); });
}

void Application::UserRestored() {
  if (!minimized_) return;
  minimized_ = false;
  Guard([this] { OnRestore(); });
}

void Application::Run(Form& mainForm) {
  mainForm_ = &mainForm;
  calls_.Reopen();
  mainForm.CreateHandle();
  mainForm.Show();
  // The form may have closed while it was being shown; the loop would then
  // wait for a quit that has already been asked for.
  if (!mainForm.Closed()) platform_->RunLoop();
  // Nobody serves calls from other threads any more: whoever waits for
  // one is told so instead of waiting for ever.
  calls_.Close();
}

void Application::MainFormClosed() { platform_->QuitLoop(); }

Form* Application::ModalForm() const {
  return modalForms_.empty() ? nullptr : modalForms_.back();
}

void Application::UserCloseRequested() {
  Guard([this] {
    if (Form* modal = ModalForm()) {
      modal->SetFocus();  // it has to be answered first
      return;
    }
    if (mainForm_) mainForm_->Close();
  });
}

void Application::UserEndSession() {
  Guard([this] {
    // Innermost first; each loop ends once its handler sees the result.
    for (auto it = modalForms_.rbegin(); it != modalForms_.rend(); ++it) {
      (*it)->SetModalResult(ModalResult::Cancel);
    }
    if (mainForm_ && !mainForm_->Closed()) mainForm_->Close();
  });
}

bool Application::OnMainThread() const { return std::this_thread::get_id() == MainThreadId(); }

bool Application::RunOnMainThread(std::function<void()> fn, std::stop_token stop) {
  if (OnMainThread()) {
    fn();
    return true;
  }
  return calls_.Run(std::move(fn), std::move(stop), [this] { timers_->WakeMainThread(); });
}

HandlerScope::HandlerScope() { ++App().handlerDepth_; }

HandlerScope::~HandlerScope() {
  Application& app = App();
  if (--app.handlerDepth_ == 0) app.RunPendingCloses();
}

bool Application::Guard(const std::function<void()>& handler) {
  HandlerScope running;
  try {
    handler();
    return true;
  } catch (const UnguardedError&) {
    throw;
  } catch (const std::exception& error) {
    ShowException(error);
  } catch (...) {
    MessageBox(ErrorBoxText("Unknown error"), title_, MbIconStop | MbOk);
  }
  return false;
}

void Application::RunPendingCloses() {
  // A copy: closing a form may close or create others.
  const std::vector<Form*> forms = forms_;
  for (Form* form : forms) {
    if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) continue;
    if (!form->closePending_) continue;
    form->closePending_ = false;
    Guard([form] { form->CloseNow(); });
  }
}

void Application::ShowException(const std::exception& error) {
  MessageBox(ErrorBoxText(error.what()), title_, MbIconStop | MbOk);
}

int Application::ShowErrorBox(std::string_view text) {
  return MessageBox(text, title_, MbIconStop | MbOk | MbSetForeground);
}

void Application::Reset() {
  title_.clear();
  hint_.clear();
  OnHint.Clear();
  OnMinimize.Clear();
  OnRestore.Clear();
  minimized_ = false;
  mainForm_ = nullptr;
  calls_.Reopen();
}

}  // namespace tessavo::tk
