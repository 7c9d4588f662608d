// The real program's run under Wine: from Generate to OK enabled with the
// real progress window, for a million passwords, min and median of five
// runs; the same run with the progress window's animation playing and with
// it forced off, side by side; the CPU a run waiting for OK takes with
// flashing on and with the animation forced on; and the peak working set.
// Run after ./test has built it:
//   tools/wine-exec build/windows/bin/generate_bench.exe
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "batch/forms/main.h"
#include "batch/forms/progress.h"
#include "bench/cpu_time.h"
#include "bench/process.h"
#include "common/global.h"
#include "common/registry_store.h"
#include "toolkit/application.h"
#include "toolkit/native.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace tessavo;
using namespace tessavo::batch;

HWND WindowOf(const tk::Form& form) {
  return static_cast<HWND>(tk::NativeWindow(form));
}

double CpuSeconds() {
  return std::chrono::duration<double>(bench::ProcessCpuTime()).count();
}

// One run from Generate (a real WM_COMMAND) to OK enabled, in ms; a
// thread watches the real OK button and presses it once it is enabled.
double TimedRun(TFrmMain& form, TDlgProgress& progress, std::chrono::milliseconds waitBeforeOk,
                double* waitingCpu = nullptr) {
  HWND ok = FindWindowExA(WindowOf(progress), nullptr, "Button", "OK");
  std::atomic<bool> stop = false;
  std::atomic<long long> enabledAt = 0;
  const Clock::time_point start = Clock::now();
  std::thread watcher([&] {
    while (!stop) {
      if (IsWindowVisible(WindowOf(progress)) && IsWindowEnabled(ok)) {
        enabledAt = (Clock::now() - start).count();
        const double before = CpuSeconds();
        std::this_thread::sleep_for(waitBeforeOk);
        if (waitingCpu) *waitingCpu = CpuSeconds() - before;
        PostMessageA(ok, BM_CLICK, 0, 0);
        return;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  });
  SendMessageA(WindowOf(form), WM_COMMAND, MAKEWPARAM(form.MnuFileGenerate.Id(), 0), 0);
  stop = true;
  watcher.join();
  return std::chrono::duration<double, std::milli>(Clock::duration(enabledAt.load())).count();
}

void Configure(TFrmMain& form, int type, int length, bool noDuplicates) {
  form.ComboType.UserSelect(type);
  form.ComboCase.UserSelect(2);
  form.OptLenFix.SetChecked(true);
  form.SpinLenFix.SetValue(length);
  form.SpinLenFixClick();
  form.ChkNoDupes.SetChecked(noDuplicates);
  form.SpinAmt.SetValue(1'000'000);
}

void Report(const char* what, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  std::printf("%-52s min %7.1f ms  median %7.1f ms\n", what, ms.front(), ms[ms.size() / 2]);
}

}  // namespace

int main() {
  auto registry = MakeMemoryRegistry();
  ScopedRegistryOverride useMemory(*registry);
  tk::App().SetTitle("Quillorn");
  TFrmMain form;
  TDlgProgress progress(&form);
  form.DlgProgress = &progress;
  tk::App().SetMainForm(&form);
  form.Show();
  tk::App().ProcessMessages();

  struct Case {
    const char* name;
    int type, length;
    bool noDuplicates;
  } cases[] = {{"1M Alphanumeric MiXeD 16, No duplicates", 1, 16, true},
               {"1M Alphanumeric MiXeD 16, duplicates allowed", 1, 16, false},
               {"1M Numeric fixed 6, No duplicates (whole capacity)", 2, 6, true}};
  for (const Case& c : cases) {
    Configure(form, c.type, c.length, c.noDuplicates);
    std::vector<double> runs;
    for (int i = 0; i < 5; ++i) runs.push_back(TimedRun(form, progress, std::chrono::milliseconds(0)));
    Report(c.name, runs);
  }
  // The animation plays during a run (the window's show and activation
  // switch it on); forced off, the run is the same without it. Alternating
  // the two keeps the machine's drift out of the comparison.
  bool animationOff = false;
  progress.OnShow = [&] {
    progress.FormShow();
    if (animationOff) progress.GIFImg.SetAnimate(false);
  };
  progress.OnActivate = [&] {
    progress.FormActivate();
    if (animationOff) progress.GIFImg.SetAnimate(false);
  };
  int frames = 0;
  progress.GIFImg.OnChange = [&](gifanim::TGIFImage&) { ++frames; };
  Configure(form, 1, 16, true);
  std::vector<double> playing, still;
  int framesPlaying = 0;
  for (int i = 0; i < 5; ++i) {
    animationOff = false;
    frames = 0;
    playing.push_back(TimedRun(form, progress, std::chrono::milliseconds(0)));
    framesPlaying += frames;
    animationOff = true;
    still.push_back(TimedRun(form, progress, std::chrono::milliseconds(0)));
  }
  animationOff = false;
  Report("1M Alphanumeric MiXeD 16, No dups, animation on", playing);
  Report("1M Alphanumeric MiXeD 16, No dups, animation off", still);
  std::sort(playing.begin(), playing.end());
  std::sort(still.begin(), still.end());
  std::printf("animation slows the run by %+.1f %% (min), %+.1f %% (median); %d frames a run\n",
              100 * (playing.front() / still.front() - 1), 100 * (playing[2] / still[2] - 1),
              framesPlaying / 5);

  std::printf("peak working set: %.1f MB\n",
              static_cast<double>(bench::PeakResidentBytes()) / (1024.0 * 1024.0));

  // Waiting for OK with the animation forced on (completion switched it
  // off; a main-thread timer switches it on again at once), then without.
  form.SpinAmt.SetValue(1);
  for (const bool animate : {true, false}) {
    const int timer = tk::App().StartTimer(std::chrono::milliseconds(5), [&] {
      if (animate && progress.BtnOk.Enabled()) progress.GIFImg.SetAnimate(true);
    });
    frames = 0;
    double waiting = 0;
    TimedRun(form, progress, std::chrono::seconds(10), &waiting);
    tk::App().StopTimer(timer);
    std::printf("waiting for OK, animation %s, 10 s: %.3f s of CPU (%.2f %% of a core), %d frames\n",
                animate ? "on " : "off", waiting, waiting * 10, frames);
  }

  RegWriteInteger(OptionsKey, "Notify Flash Icon", 1);
  double cpu = 0;
  TimedRun(form, progress, std::chrono::seconds(10), &cpu);
  std::printf("waiting for OK with flashing, 10 s: %.2f s of CPU (%.1f %% of a core)\n", cpu,
              cpu * 10);
  form.Close();
  return 0;
}
