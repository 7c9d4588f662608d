// The generation core at the sizes users run it: a million passwords.
// Every run starts from the same seed, so repetitions measure the same work.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "batch/generators.h"
#include "batch/password_store.h"
#include "common/random.h"

namespace tessavo {
namespace {

constexpr int Million = 1000000;

void BM_AlphanumericMixed16WithDuplicates(benchmark::State& state) {
  PasswordStore store;
  HeadlessGenerationHost host;
  for (auto _ : state) {
    RandomSeed = 1;
    GenerateAlphaPasswords(store, 16, 16, Million, 1, 2, true, host);
    benchmark::DoNotOptimize(store.Count());
  }
}
BENCHMARK(BM_AlphanumericMixed16WithDuplicates)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_AlphanumericMixed16NoDuplicates(benchmark::State& state) {
  PasswordStore store;
  HeadlessGenerationHost host;
  for (auto _ : state) {
    RandomSeed = 1;
    GenerateAlphaPasswords(store, 16, 16, Million, 1, 2, false, host);
    benchmark::DoNotOptimize(store.Count());
  }
  // The store as left, plus the index it needed beside it at the end.
  state.counters["bytes_per_password"] =
      static_cast<double>(store.MemoryUsage() + DuplicateIndexBytes(Million)) / Million;
}
BENCHMARK(BM_AlphanumericMixed16NoDuplicates)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_NumericFixed6WholeCapacity(benchmark::State& state) {
  PasswordStore store;
  HeadlessGenerationHost host;
  for (auto _ : state) {
    RandomSeed = 1;
    GenerateNumericPasswords(store, 6, 6, Million, false, host);
    benchmark::DoNotOptimize(store.Count());
  }
}
BENCHMARK(BM_NumericFixed6WholeCapacity)->Unit(benchmark::kMillisecond)->Iterations(1);

PasswordStore MillionOf16() {
  PasswordStore store;
  HeadlessGenerationHost host;
  RandomSeed = 1;
  GenerateAlphaPasswords(store, 16, 16, Million, 1, 2, true, host);
  return store;
}

void BM_Sort16(benchmark::State& state) {
  const PasswordStore unsorted = MillionOf16();
  for (auto _ : state) {
    state.PauseTiming();
    PasswordStore store = unsorted;
    state.ResumeTiming();
    store.Sort();
    benchmark::DoNotOptimize(store.Count());
  }
}
BENCHMARK(BM_Sort16)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveToFile16(benchmark::State& state) {
  const PasswordStore store = MillionOf16();
  const std::string path =
      (std::filesystem::temp_directory_path() / "tessavo-bench-save.txt").string();
  for (auto _ : state) store.SaveToFile(path);
  std::remove(path.c_str());
}
BENCHMARK(BM_SaveToFile16)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tessavo

BENCHMARK_MAIN();
