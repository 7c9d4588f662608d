// The generation core at the sizes users run it: a million passwords, each
// figure measured beside a yardstick (the same work done the plain way) in
// the same run, and reported as its ratio to it. Rounds interleave every
// figure, so that a machine busy with something else slows all of them
// alike; min and median of the rounds are given.
//
//   core_bench [--rounds N] [--only TEXT] [--every-round]
//
// Builds natively and for Windows (run it under Wine with tools/wine-exec).
// The first run in a fresh process is measured in child processes: the
// program starts itself with --first-run FILE, which makes one run and
// writes its time and the resident memory it added to FILE.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "batch/generators.h"
#include "batch/password_store.h"
#include "bench/process.h"
#include "common/random.h"

namespace tessavo {
namespace {

constexpr int Million = 1000000;
using Milliseconds = std::chrono::duration<double, std::milli>;
volatile char benchmark_sink;

std::string TemporaryPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

// --- Yardsticks -----------------------------------------------------------

// The described draws for a million mixed-case alphanumeric 16-character
// passwords written the plain way: one loop, a branch per decision, one
// byte at a time, into a buffer made beforehand.
void NaiveGeneration(std::vector<char>& buffer) {
  RandomSeed = 1;
  for (char& c : buffer) {
    if (DrawRandom(2) == 1) {
      c = static_cast<char>('0' + DrawRandom(10));
    } else {
      c = static_cast<char>('a' + DrawRandom(26));
      if (DrawRandom(2) == 1) c = static_cast<char>(c - 32);
    }
  }
}

// std::sort of texts held as std::string, compared without regard to case.
void StdSort(std::vector<std::string>& texts) {
  const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
  std::sort(texts.begin(), texts.end(), [&](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return lower(x) < lower(y); });
  });
}

// One write of a whole image to a new file.
void RawWrite(const std::vector<char>& image, const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  std::fwrite(image.data(), 1, image.size(), file);
  std::fclose(file);
}

// --- Figures --------------------------------------------------------------

struct Run {
  int type, letterCase, low, high, count;
  bool allowDuplicates;
  RandomSource source = RandomSource::Classic;
};

void Generate(PasswordStore& store, const Run& run) {
  HeadlessGenerationHost host;
  RandomSeed = 1;
  if (run.type == 2) {
    GenerateNumericPasswords(store, run.low, run.high, run.count, run.allowDuplicates, host,
                             run.source);
  } else {
    GenerateAlphaPasswords(store, run.low, run.high, run.count, run.type, run.letterCase,
                           run.allowDuplicates, host, run.source);
  }
}

constexpr Run Alnum16{1, 2, 16, 16, Million, true};
constexpr Run Alnum16Unique{1, 2, 16, 16, Million, false};
constexpr RandomSource Secure = RandomSource::Secure;

struct Figure {
  std::string name;
  std::string yardstick;  // empty for a yardstick itself
  std::string target;
  std::function<void()> prepare;  // untimed, before every round
  std::function<void()> work;
  std::vector<double> times;      // ms, one per round
};

double Min(std::vector<double> v) { return *std::min_element(v.begin(), v.end()); }
double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The time to touch that many bytes of memory the process never had: what
// the system alone takes to supply it, a page at a time.
double FreshMemoryMilliseconds(std::size_t bytes) {
  const auto start = std::chrono::steady_clock::now();
  const std::unique_ptr<char[]> block(new char[bytes]);
  for (std::size_t at = 0; at < bytes; at += 4096) block[at] = 1;
  benchmark_sink = block[bytes / 2];
  const Milliseconds elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count();
}

// One first 1,000,000-password run without duplicates in this process;
// writes "milliseconds added-resident-bytes fresh-memory-milliseconds" to
// the file.
int FirstRun(const std::string& resultPath) {
  const std::size_t before = bench::PeakResidentBytes();
  PasswordStore store;
  const auto start = std::chrono::steady_clock::now();
  Generate(store, Alnum16Unique);
  const Milliseconds elapsed = std::chrono::steady_clock::now() - start;
  const std::size_t added = bench::PeakResidentBytes() - before;
  const double fresh = FreshMemoryMilliseconds(added);
  std::FILE* file = std::fopen(resultPath.c_str(), "w");
  if (!file) return 1;
  std::fprintf(file, "%f %zu %f\n", elapsed.count(), added, fresh);
  std::fclose(file);
  return store.Count() == Million ? 0 : 1;
}

// A first run in a fresh process, measured by the child it starts.
struct FirstRunResult {
  double milliseconds = 0;
  double bytesPerPassword = 0;
  double freshMemoryMilliseconds = 0;
};
FirstRunResult RunFreshProcess(const std::string& self) {
  const std::string resultPath = TemporaryPath("tessavo-first-run.txt");
  std::remove(resultPath.c_str());
  FirstRunResult result;
  if (bench::RunProgram(self, "--first-run", resultPath) != 0) return result;
  if (std::FILE* file = std::fopen(resultPath.c_str(), "r")) {
    std::size_t bytes = 0;
    if (std::fscanf(file, "%lf %zu %lf", &result.milliseconds, &bytes,
                    &result.freshMemoryMilliseconds) == 3) {
      result.bytesPerPassword = static_cast<double>(bytes) / Million;
    }
    std::fclose(file);
  }
  std::remove(resultPath.c_str());
  return result;
}

int Main(int argc, char** argv) {
  int rounds = 7;
  std::string only;
  bool everyRound = false;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--first-run" && k + 1 < argc) return FirstRun(argv[k + 1]);
    if (arg == "--rounds" && k + 1 < argc) rounds = std::max(1, std::atoi(argv[++k]));
    if (arg == "--only" && k + 1 < argc) only = argv[++k];
    if (arg == "--every-round") everyRound = true;
  }

  std::vector<char> naiveBuffer(static_cast<std::size_t>(Million) * 16);
  PasswordStore million16;
  Generate(million16, Alnum16);
  std::vector<std::string> texts, textsCopy;
  for (int k = 0; k < million16.Count(); ++k) texts.emplace_back(million16.Get(k));
  PasswordStore sorted;
  const std::vector<char> rawImage(static_cast<std::size_t>(Million) * 18, 'x');
  const std::string rawPath = TemporaryPath("tessavo-bench-raw.txt");
  const std::string savePath = TemporaryPath("tessavo-bench-save.txt");

  // Each figure has a store of its own, as a run reuses the room of the
  // store it empties; the first round, which gets that room from the
  // system, is not counted (the first run in a fresh process is measured
  // below).
  std::vector<std::unique_ptr<PasswordStore>> stores;
  const auto generating = [&](const Run& run) {
    PasswordStore& own = *stores.emplace_back(std::make_unique<PasswordStore>());
    return [&own, run] { Generate(own, run); };
  };
  const auto none = [] {};
  std::vector<Figure> figures = {
      {"naive generation", "", "", none, [&] { NaiveGeneration(naiveBuffer); }, {}},
      {"std::sort", "", "", [&] { textsCopy = texts; }, [&] { StdSort(textsCopy); }, {}},
      {"raw write", "", "", none, [&] { RawWrite(rawImage, rawPath); }, {}},
      {"1M Alphanumeric MiXeD 16, duplicates allowed", "naive generation", "<= 0.30", none,
       generating(Alnum16), {}},
      {"same, No duplicates, store reused", "naive generation", "<= 0.50", none,
       generating(Alnum16Unique), {}},
      {"Numeric fixed 6, No duplicates, whole capacity", "naive generation", "<= 1.3", none,
       generating({2, 0, 6, 6, Million, false}), {}},
      {"1M Alphanumeric MiXeD 16, duplicates allowed, secure", "naive generation", "<= 0.40",
       none, generating({1, 2, 16, 16, Million, true, Secure}), {}},
      {"same, No duplicates, store reused, secure", "naive generation", "<= 0.55", none,
       generating({1, 2, 16, 16, Million, false, Secure}), {}},
      {"Numeric fixed 6, No duplicates, whole capacity, secure", "naive generation", "<= 1.3",
       none, generating({2, 0, 6, 6, Million, false, Secure}), {}},
      {"1M Alphanumeric MiXeD 3..16, No duplicates", "naive generation", "", none,
       generating({1, 2, 3, 16, Million, false}), {}},
      {"1M Alphabetic lowercase fixed 8, No duplicates", "naive generation", "", none,
       generating({0, 0, 8, 8, Million, false}), {}},
      {"1M Alphabetic lowercase fixed 8, duplicates allowed", "naive generation", "", none,
       generating({0, 0, 8, 8, Million, true}), {}},
      {"Sort of 1M x 16", "std::sort", "<= 0.40", [&] { sorted = million16; },
       [&] { sorted.Sort(); }, {}},
      {"SaveToFile of them", "raw write", "<= 3.0", none, [&] { million16.SaveToFile(savePath); },
       {}},
  };
  const auto wanted = [&](const Figure& f) {
    return only.empty() || f.yardstick.empty() || f.name.find(only) != std::string::npos;
  };

  std::vector<FirstRunResult> firstRuns;
  const std::string firstRunName = "same, No duplicates, first run in a fresh process";
  const bool measureFirstRuns = only.empty() || firstRunName.find(only) != std::string::npos;
  for (int round = 0; round <= rounds; ++round) {
    for (Figure& figure : figures) {
      if (!wanted(figure)) continue;
      figure.prepare();
      const auto start = std::chrono::steady_clock::now();
      figure.work();
      const Milliseconds elapsed = std::chrono::steady_clock::now() - start;
      if (round > 0) figure.times.push_back(elapsed.count());
    }
  }
  // After the rounds: starting a process may leave this one's pages to be
  // copied on their next write (as a fork does), which would slow them.
  for (int round = 0; measureFirstRuns && round < rounds; ++round) {
    firstRuns.push_back(RunFreshProcess(argv[0]));
  }
  std::remove(rawPath.c_str());
  std::remove(savePath.c_str());

  const auto find = [&](const std::string& name) -> const Figure& {
    return *std::find_if(figures.begin(), figures.end(),
                         [&](const Figure& f) { return f.name == name; });
  };
  std::printf("%d rounds; ratios are to the yardstick's figure of the same statistic\n\n",
              rounds);
  std::printf("%-52s %9s %9s %9s %9s  %s\n", "figure", "min ms", "median ms", "min x",
              "median x", "target");
  for (const Figure& figure : figures) {
    if (!wanted(figure)) continue;
    std::printf("%-52s %9.1f %9.1f", figure.name.c_str(), Min(figure.times),
                Median(figure.times));
    if (everyRound) {
      for (const double time : figure.times) std::printf(" %.1f", time);
    }
    if (!figure.yardstick.empty()) {
      const Figure& yardstick = find(figure.yardstick);
      std::printf(" %9.2f %9.2f  %s", Min(figure.times) / Min(yardstick.times),
                  Median(figure.times) / Median(yardstick.times), figure.target.c_str());
    }
    std::printf("\n");
  }
  if (measureFirstRuns) {
    std::vector<double> times, bytes, fresh;
    for (const FirstRunResult& r : firstRuns) {
      times.push_back(r.milliseconds);
      bytes.push_back(r.bytesPerPassword);
      fresh.push_back(r.freshMemoryMilliseconds);
    }
    const Figure& naive = find("naive generation");
    std::printf("%-52s %9.1f %9.1f %9.2f %9.2f  %s\n", firstRunName.c_str(), Min(times),
                Median(times),
                Min(times) / Min(naive.times), Median(times) / Median(naive.times), "<= 0.65");
    std::printf("%-52s %9.1f %9.1f %9.2f %9.2f\n", "  touching as much fresh memory, nothing else",
                Min(fresh), Median(fresh), Min(fresh) / Min(naive.times),
                Median(fresh) / Median(naive.times));
    std::printf("%-52s %9.1f %9.1f %9s %9s  %s\n",
                "  resident memory it added, bytes per password", Min(bytes), Median(bytes), "",
                "", "<= 32");
  }
  return 0;
}

}  // namespace
}  // namespace tessavo

int main(int argc, char** argv) { return tessavo::Main(argc, argv); }
