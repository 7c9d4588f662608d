// The real program's run under Wine: from Generate to OK enabled with the
// real progress window, for a million passwords, min and median of five
// runs; the CPU a run waiting for OK takes with flashing on; and the peak
// working set. Run after ./test has built it:
//   tools/wine-exec build/windows/bin/generate_bench.exe
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "batch/forms/main.h"
#include "batch/forms/progress.h"
#include "common/global.h"
#include "common/registry_store.h"
#include "toolkit/application.h"
#include "toolkit/win32/form_peer.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace tessavo;

HWND WindowOf(const tk::Form& form) {
  return static_cast<tk::win32::FormPeerWin*>(form.GetFormPeer())->Handle();
}

double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME t) {
    return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
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
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  std::printf("peak working set: %.1f MB\n", counters.PeakWorkingSetSize / (1024.0 * 1024.0));

  RegWriteInteger(OptionsKey, "Notify Flash Icon", 1);
  form.SpinAmt.SetValue(1);
  double cpu = 0;
  TimedRun(form, progress, std::chrono::seconds(10), &cpu);
  std::printf("waiting for OK with flashing, 10 s: %.2f s of CPU (%.1f %% of a core)\n", cpu,
              cpu * 10);
  form.Close();
  return 0;
}
