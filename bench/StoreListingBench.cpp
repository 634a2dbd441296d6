// Listing a stamplet store of 1,000 / 10,000 / 100,000 paths with values:
//   KeyByKey  ReadSection, then one ReadString per key;
//   OnePass   ReadSectionPairs: the file read and parsed once;
//   FileBytes merely reading the file's bytes, the yardstick for OnePass.
// OnePass also reports its peak heap use as a multiple of the file's size.
#include <benchmark/benchmark.h>

#include "AllocationCounter.h"
#include "BenchStore.h"
#include "System.h"
#include "TntIniFiles.h"

namespace stamplets {
namespace {

using bench::StorePath;

void SetCounters(benchmark::State& state, const WideString& path) {
  state.counters["records"] = static_cast<double>(state.range(0));
  state.counters["file_bytes"] = static_cast<double>(sys::ReadFileBytes(path)->size());
}

void BM_FileBytes(benchmark::State& state) {
  const WideString path = StorePath(static_cast<int>(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(sys::ReadFileBytes(path));
  SetCounters(state, path);
}

void BM_OnePass(benchmark::State& state) {
  const WideString path = StorePath(static_cast<int>(state.range(0)));
  double peak_ratio = 0;
  const double file_size = static_cast<double>(sys::ReadFileBytes(path)->size());
  for (auto _ : state) {
    bench::ResetPeak();
    const std::size_t before = bench::g_heap_now;
    {
      TTntIniFile ini(path);
      auto pairs = ini.ReadSectionPairs(L"Files", L"0");
      benchmark::DoNotOptimize(pairs.data());
      if (pairs.size() != static_cast<size_t>(state.range(0))) state.SkipWithError("wrong count");
    }
    peak_ratio = static_cast<double>(bench::g_heap_peak - before) / file_size;
  }
  SetCounters(state, path);
  state.counters["peak_heap_per_file_byte"] = peak_ratio;
}

void BM_KeyByKey(benchmark::State& state) {
  const WideString path = StorePath(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TTntIniFile ini(path);
    TTntStringList keys;
    ini.ReadSection(L"Files", keys);
    std::vector<std::pair<WideString, WideString>> pairs;
    for (int i = 0; i < keys.Count(); ++i)
      pairs.emplace_back(keys[i], ini.ReadString(L"Files", keys[i], L"0"));
    benchmark::DoNotOptimize(pairs.data());
  }
  SetCounters(state, path);
}

BENCHMARK(BM_FileBytes)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OnePass)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
#ifdef _WIN32
// The profile calls look a key up by walking the section, so key by key is
// quadratic; at 100,000 records one listing takes far too long to measure.
BENCHMARK(BM_KeyByKey)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
#else
BENCHMARK(BM_KeyByKey)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
}  // namespace stamplets

BENCHMARK_MAIN();
