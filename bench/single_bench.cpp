// The single generator's cost per click, headless: making one password,
// and the whole generate command on the main window (display, copy button,
// clipboard) with the in-memory settings store behind it.
#include <benchmark/benchmark.h>

#include <memory>

#include "common/random.h"
#include "common/registry_store.h"
#include "single/forms/main.h"
#include "single/generation.h"
#include "toolkit/headless_scripting.h"

namespace tessavo {
namespace {

// Arguments: length, type, source (0 secure, 1 classic).
void BM_MakePassword(benchmark::State& state) {
  const int length = static_cast<int>(state.range(0));
  const int type = static_cast<int>(state.range(1));
  const RandomSource source = state.range(2) ? RandomSource::Classic : RandomSource::Secure;
  RandomSeed = 12345;
  for (auto _ : state) benchmark::DoNotOptimize(MakePassword(length, type, 2, source));
}
BENCHMARK(BM_MakePassword)
    ->Args({4, 0, 1})
    ->Args({16, 1, 1})
    ->Args({16, 2, 1})
    ->Args({16, 1, 0})
    ->Args({16, 2, 0});

void BM_SBRunClick(benchmark::State& state) {
  auto registry = MakeMemoryRegistry();
  ScopedRegistryOverride use(*registry);
  tk::headless::Reset();
  single::TFrmMain form;
  form.UpDownLength.SetPosition(16);
  form.ComboType.SetItemIndex(1);
  form.ComboCase.SetItemIndex(2);
  form.ChkAutoClip.SetChecked(true);
  for (auto _ : state) form.SBRun.UserClick();
}
BENCHMARK(BM_SBRunClick);

}  // namespace
}  // namespace tessavo

BENCHMARK_MAIN();
