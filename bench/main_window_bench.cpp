// The main window with a million passwords, in the real Win32 build:
// how long the list takes to show them, to scroll to the last one and to
// sort them, and the working set it all needs. Run under Wine:
//   tools/wine-exec build/windows/bin/main_window_bench.exe
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>

#include "batch/forms/main.h"
#include "batch/generators.h"
#include "common/random.h"
#include "common/registry_store.h"
#include "toolkit/application.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Lets the window system finish what the last command asked of it:
// dispatches what is queued and paints what is invalid.
void Settle(HWND window) {
  tessavo::tk::App().ProcessMessages();
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  tessavo::tk::App().ProcessMessages();
}

HWND FindListWindow(HWND form) {
  for (const char* cls : {"SysListView32", "ListBox"}) {
    if (HWND list = FindWindowExA(form, nullptr, cls, nullptr)) return list;
  }
  return nullptr;
}

double WorkingSetMegabytes(bool peak) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(peak ? counters.PeakWorkingSetSize : counters.WorkingSetSize) /
         (1024.0 * 1024.0);
}

}  // namespace

int main() {
  using namespace tessavo;
  using namespace tessavo::batch;
  constexpr int kPasswords = 1'000'000;

  // The user's own settings stay untouched.
  auto registry = MakeMemoryRegistry();
  ScopedRegistryOverride useMemory(*registry);

  tk::App().SetTitle("Quillorn");
  TFrmMain form;
  form.CreateHandle();
  form.Show();
  HWND window = FindWindowA(nullptr, form.Caption().c_str());
  Settle(window);
  HWND list = FindListWindow(window);
  if (!window || !list) {
    std::fprintf(stderr, "main window or its list not found\n");
    return 1;
  }

  RandomSeed = 12345;
  HeadlessGenerationHost host;
  auto start = Clock::now();
  GenerateAlphaPasswords(*form.Store(), 16, 16, kPasswords, 1, 2, true, host,
                         RandomSource::Classic);
  std::printf("generate %d passwords:     %8.1f ms\n", kPasswords, MillisecondsSince(start));

  start = Clock::now();
  form.ShowGeneratedPasswords();
  Settle(window);
  std::printf("show them in the list:        %8.1f ms\n", MillisecondsSince(start));

  start = Clock::now();
  SetFocus(list);
  // The first key in a list without a selection only puts the caret on
  // its first row; the second one moves.
  for (int press = 0; press < 2; ++press) {
    SendMessageA(list, WM_KEYDOWN, VK_END, 0);
    SendMessageA(list, WM_KEYUP, VK_END, 0);
  }
  Settle(window);
  std::printf("scroll to the last one:       %8.1f ms (selected row %d, top row %d)\n",
              MillisecondsSince(start), form.ListPW.ItemIndex(),
              static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)));

  start = Clock::now();
  form.BtnSort.UserClick();
  Settle(window);
  std::printf("sort them in the window:      %8.1f ms\n", MillisecondsSince(start));

  std::printf("working set: %.1f MB (peak %.1f MB)\n", WorkingSetMegabytes(false),
              WorkingSetMegabytes(true));
  form.Close();
  return 0;
}
