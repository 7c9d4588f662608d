#include "toolkit/application.h"

#include <utility>

#include "toolkit/form.h"

namespace tessavo::tk {

Application::Application() : platform_(CreateAppPlatform()) {}

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
  if (OnHint) OnHint();
}

void Application::Minimize() {
  if (minimized_) return;
  platform_->Minimize();
  minimized_ = true;
  if (OnMinimize) OnMinimize();
}

void Application::UserMinimized() {
  if (minimized_) return;
  minimized_ = true;
  Guard([this] {
    if (OnMinimize) OnMinimize();
  });
}

void Application::UserRestored() {
  if (!minimized_) return;
  minimized_ = false;
  Guard([this] {
    if (OnRestore) OnRestore();
  });
}

void Application::Run(Form& mainForm) {
  mainForm_ = &mainForm;
  mainForm.CreateHandle();
  mainForm.Show();
  // The form may have closed while it was being shown; the loop would then
  // wait for a quit that has already been asked for.
  if (!mainForm.Closed()) platform_->RunLoop();
}

void Application::MainFormClosed() { platform_->QuitLoop(); }

void Application::Guard(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const UnguardedError&) {
    throw;
  } catch (const std::exception& error) {
    ShowException(error);
  } catch (...) {
    MessageBox(ErrorBoxText("Unknown error"), title_, MbIconStop | MbOk);
  }
}

void Application::ShowException(const std::exception& error) {
  MessageBox(ErrorBoxText(error.what()), title_, MbIconStop | MbOk);
}

void Application::Reset() {
  title_.clear();
  hint_.clear();
  OnHint = nullptr;
  OnMinimize = nullptr;
  OnRestore = nullptr;
  minimized_ = false;
  mainForm_ = nullptr;
}

}  // namespace tessavo::tk
