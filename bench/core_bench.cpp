// The generation core at the sizes users run it: a million passwords.
// Every run starts from the same seed, so repetitions measure the same work.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

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

// --- Yardsticks: the same work done the plain way, measured in the same
// run, so that the figures above can be read as ratios to them. ----------

// The described draws for a million mixed-case alphanumeric 16-character
// passwords, one DrawCharacter and one byte at a time, into a buffer made
// beforehand.
void BM_YardstickNaiveGeneration(benchmark::State& state) {
  std::vector<char> buffer(static_cast<std::size_t>(Million) * 16);
  for (auto _ : state) {
    RandomSeed = 1;
    for (char& c : buffer) c = DrawCharacter(1, 2);
    benchmark::DoNotOptimize(buffer.data());
  }
}
BENCHMARK(BM_YardstickNaiveGeneration)->Unit(benchmark::kMillisecond)->Iterations(3);

// std::sort of the same million texts as std::string, compared without
// regard to case.
void BM_YardstickStdSort(benchmark::State& state) {
  const PasswordStore store = MillionOf16();
  std::vector<std::string> texts;
  for (int k = 0; k < store.Count(); ++k) texts.emplace_back(store.Get(k));
  const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
  const auto less = [&](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return lower(x) < lower(y); });
  };
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> copy = texts;
    state.ResumeTiming();
    std::sort(copy.begin(), copy.end(), less);
    benchmark::DoNotOptimize(copy.data());
  }
}
BENCHMARK(BM_YardstickStdSort)->Unit(benchmark::kMillisecond)->Iterations(3);

// One write of an 18 MB buffer (what a million 16-character passwords
// with CR LF make) to a new file.
void BM_YardstickRawWrite(benchmark::State& state) {
  const std::vector<char> image(static_cast<std::size_t>(Million) * 18, 'x');
  const std::string path =
      (std::filesystem::temp_directory_path() / "tessavo-bench-raw.txt").string();
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(image.data(), 1, image.size(), file);
    std::fclose(file);
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_YardstickRawWrite)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tessavo

BENCHMARK_MAIN();
