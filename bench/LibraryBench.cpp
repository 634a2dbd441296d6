// The Library page's work without a window, at 1,000 / 10,000 / 100,000
// records:
//   Listing          the one-pass listing of the store alone (the yardstick);
//   Load             the page's load: the listing, the records adopted and
//                    the list of keys kept for the activation check;
//   ActivationCheck  the check on an unchanged store: one read, one comparison;
//   SortFirst        a header sort by the path column: every path folded and
//                    ranked, then the rows sorted;
//   SortAgain        the same column the other way, its ranks kept.
#include <benchmark/benchmark.h>

#include <numeric>

#include "BenchStore.h"
#include "LibraryModel.h"
#include "RowOrder.h"

namespace stamplets {
namespace {

using bench::StorePath;

void Records(benchmark::State& state) {
  state.counters["records"] = static_cast<double>(state.range(0));
}

void BM_Listing(benchmark::State& state) {
  const StampletStore store(StorePath(static_cast<int>(state.range(0))));
  for (auto _ : state)
    benchmark::DoNotOptimize(store.List());
  Records(state);
}

void BM_Load(benchmark::State& state) {
  const StampletStore store(StorePath(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    LibraryModel model;
    model.Load(store);
    std::vector<WideString> keys = model.Keys();
    benchmark::DoNotOptimize(keys.data());
  }
  Records(state);
}

void BM_ActivationCheck(benchmark::State& state) {
  const StampletStore store(StorePath(static_cast<int>(state.range(0))));
  LibraryModel model;
  model.Load(store);
  const std::vector<WideString> keys = model.Keys();
  for (auto _ : state)
    if (StoreKeysChanged(store, keys)) state.SkipWithError("store seen as changed");
  Records(state);
}

std::vector<WideString> Paths(const LibraryModel& model) {
  std::vector<WideString> paths;
  for (const StampletRecord& record : model.Records())
    paths.push_back(record.path);
  return paths;
}

void BM_SortFirst(benchmark::State& state) {
  LibraryModel model;
  model.Load(StampletStore(StorePath(static_cast<int>(state.range(0)))));
  const std::vector<WideString> paths = Paths(model);
  for (auto _ : state) {
    std::vector<std::size_t> order(paths.size());
    std::iota(order.begin(), order.end(), 0);
    SortRowOrder(order, RankForSort(FoldForSort(paths)), false);
    benchmark::DoNotOptimize(order.data());
  }
  Records(state);
}

void BM_SortAgain(benchmark::State& state) {
  LibraryModel model;
  model.Load(StampletStore(StorePath(static_cast<int>(state.range(0)))));
  const std::vector<std::uint32_t> ranks = RankForSort(FoldForSort(Paths(model)));
  std::vector<std::size_t> order(ranks.size());
  std::iota(order.begin(), order.end(), 0);
  bool descending = false;
  for (auto _ : state) {
    descending = !descending;
    SortRowOrder(order, ranks, descending);
    benchmark::DoNotOptimize(order.data());
  }
  Records(state);
}

#define LIBRARY_SIZES Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Listing)->LIBRARY_SIZES;
BENCHMARK(BM_Load)->LIBRARY_SIZES;
BENCHMARK(BM_ActivationCheck)->LIBRARY_SIZES;
BENCHMARK(BM_SortFirst)->LIBRARY_SIZES;
BENCHMARK(BM_SortAgain)->LIBRARY_SIZES;

}  // namespace
}  // namespace stamplets

BENCHMARK_MAIN();
