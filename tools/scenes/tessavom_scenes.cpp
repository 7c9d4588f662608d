// Puts one of the batch generator's windows up in a given state, prints
// the screen rectangle to photograph ("WIDTHxHEIGHT+X+Y") and keeps it up
// until it is killed. tools/screenshots uses it for the windows that only
// a run or a command shows:
//   tessavom_scenes.exe progress-running|progress-waiting|progress-frame-N|options|about
// (progress-frame-N: the progress window during a run with its animation
// held on frame N, 1 to 4).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "batch/forms/about.h"
#include "batch/forms/main.h"
#include "batch/forms/options.h"
#include "batch/forms/progress.h"
#include "common/global.h"
#include "common/registry_store.h"
#include "toolkit/application.h"
#include "toolkit/native.h"

namespace {

using namespace tessavo;
using namespace tessavo::batch;

void PrintRectangle(const tk::Form& form) {
  tk::App().ProcessMessages();
  HWND window = static_cast<HWND>(tk::NativeWindow(form));
  RECT r;
  GetWindowRect(window, &r);
  std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
  std::fflush(stdout);
}

[[noreturn]] void KeepUp() {
  for (;;) tk::App().WaitAndProcess(std::chrono::milliseconds(100));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string scene = argc > 1 ? argv[1] : "";
  auto registry = MakeMemoryRegistry();
  ScopedRegistryOverride useMemory(*registry);
  tk::App().SetTitle("Quillorn");
  TFrmMain form;
  TDlgProgress progress(&form);
  form.DlgProgress = &progress;
  tk::App().SetMainForm(&form);
  form.Show();

  const bool frameScene = scene.rfind("progress-frame-", 0) == 0;
  if (scene == "progress-running" || scene == "progress-waiting" || frameScene) {
    const bool waiting = scene == "progress-waiting";
    progress.PrepareForRun();
    progress.Show();
    progress.ProgressBar.SetPosition(waiting ? 100 : 42);
    progress.LblPasswordData.SetCaption(waiting ? "1000000" : "420000");
    progress.LblTimeData.SetCaption(waiting ? "00:00:01" : "00:00:00");
    if (waiting) {
      progress.BtnMinimize.SetEnabled(false);
      progress.BtnCancel.SetEnabled(false);
      progress.BtnOk.SetEnabled(true);
      progress.BtnOk.SetFocus();
    }
    form.SetEnabled(false);
    if (frameScene) {
      progress.GIFImg.SetAnimate(false);
      progress.GIFImg.SetCurrentFrame(std::atoi(scene.c_str() + std::strlen("progress-frame-")));
    }
    PrintRectangle(progress);
    KeepUp();
  }
  if (scene == "options") {
    RegWriteInteger(OptionsKey, "Notify Flash Icon", 1);
    RegWriteInteger(OptionsKey, "Notify Play Sound", 1);
    RegWriteString(OptionsKey, "Notify Sound File", "C:\\windows\\Media\\tada.wav");
    TDlgOptions options(&form);
    options.Show();
    PrintRectangle(options);
    KeepUp();
  }
  if (scene == "about") {
    TDlgAbout about(&form);
    about.Show();
    PrintRectangle(about);
    KeepUp();
  }
  std::fprintf(stderr, "usage: tessavom_scenes progress-running|progress-waiting|progress-frame-N|options|about\n");
  return 2;
}
