// The Library grid on a real window under Wine, at 1,000 / 10,000 / 100,000
// records:
//   Listing     the one-pass listing of the store alone (the yardstick);
//   GridReady   listing, records adopted, rows handed to the grid and the
//               first screen painted (validity asked for the rows on screen);
//               "vs_listing" is its time over Listing's;
//   HeaderSort  a click on the path header, sorted and repainted; the paths'
//               ranks are made at the first click and kept after;
//   HeaderSortFresh  the same with the ranks made anew every time.
#include <benchmark/benchmark.h>

#include <chrono>

#include "BenchStore.h"
#include "LibraryModel.h"
#include "PathProbe.h"
#include "SortGrid.h"

namespace stamplets {
namespace {

using bench::StorePath;
using win::TSortGrid;

HWND Host() {
  static HWND host = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LibraryGridBenchHost";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                           620, 420, nullptr, nullptr, wc.hInstance, nullptr);
  }();
  return host;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    DispatchMessageW(&msg);
}

// A grid drawn the way the page draws it: fills, texts, the validity mark.
struct Page {
  LibraryModel model;
  win::BoundedPathProber prober;
  TSortGrid grid;
  Page() {
    grid.Create(Host(), 100, RECT{2, 2, 575, 316}, 3);
    grid.SetColWidth(0, 42);
    grid.SetColWidth(1, 42);
    grid.SetColWidth(2, 480);
    grid.OnGetCellText = [this](std::size_t record, int column) -> WideString {
      if (column == 0) return model.ValidityText(record, prober);
      return column == 1 ? model.Record(record).value : model.Record(record).path;
    };
    grid.OnDrawCell = [this](HDC dc, int column, int row, const RECT& rect, unsigned state) {
      const bool selected = state & win::gdSelected;
      HBRUSH brush = CreateSolidBrush(selected  ? RGB(0, 113, 225)
                                      : row % 2 ? RGB(255, 255, 255)
                                                : RGB(216, 233, 254));
      FillRect(dc, &rect, brush);
      DeleteObject(brush);
      if (row == 0) return;
      const std::size_t record = grid.RecordAt(row);
      WideString text = column == 0   ? IntToWide(row) + model.ValidityText(record, prober)
                        : column == 1 ? model.Record(record).value
                                      : model.Record(record).path;
      TextOutW(dc, rect.left + 5, rect.top + 4, text.c_str(), static_cast<int>(text.size()));
    };
  }
  ~Page() { DestroyWindow(grid.Handle()); }
  void Paint() {
    RedrawWindow(grid.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
    Pump();
  }
};

double g_listing_ms[3] = {};

int SizeIndex(std::int64_t records) {
  return records == 1000 ? 0 : records == 10000 ? 1 : 2;
}

void BM_Listing(benchmark::State& state) {
  const StampletStore store(StorePath(static_cast<int>(state.range(0))));
  double total = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(store.List());
    total +=
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
  g_listing_ms[SizeIndex(state.range(0))] = total / static_cast<double>(state.iterations());
}

void BM_GridReady(benchmark::State& state) {
  const StampletStore store(StorePath(static_cast<int>(state.range(0))));
  Page page;
  double total = 0, rows = 0, paint = 0;
  using Clock = std::chrono::steady_clock;
  auto ms = [](Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
  };
  for (auto _ : state) {
    auto start = Clock::now();
    page.model.Load(store);
    std::vector<WideString> keys = page.model.Keys();
    page.prober.Forget();
    auto loaded = Clock::now();
    page.grid.SetRecordCount(page.model.Size());
    auto handed = Clock::now();
    page.Paint();
    auto painted = Clock::now();
    total += ms(start, painted);
    rows += ms(loaded, handed);
    paint += ms(handed, painted);
    benchmark::DoNotOptimize(keys.data());
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["rows_ms"] = rows / n;
  state.counters["paint_ms"] = paint / n;
  const double listing = g_listing_ms[SizeIndex(state.range(0))];
  if (listing > 0) state.counters["vs_listing"] = total / n / listing;
}

void HeaderSort(benchmark::State& state, bool fresh_keys) {
  Page page;
  page.model.Load(StampletStore(StorePath(static_cast<int>(state.range(0)))));
  page.grid.SetRecordCount(page.model.Size());
  page.Paint();
  page.grid.OnClickSort = [](int, int, win::TSortOptions& options) {
    options.SortDirection = options.SortDirection == win::TSortDirection::sdAscending
                                ? win::TSortDirection::sdDescending
                                : win::TSortDirection::sdAscending;
  };
  RECT item = page.grid.CellRect(2, 0);
  const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  for (auto _ : state) {
    if (fresh_keys) page.grid.ForgetSortKeys();
    SendMessageW(page.grid.HeaderHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(page.grid.HeaderHandle(), WM_LBUTTONUP, 0, at);
    page.Paint();
  }
  if (page.grid.SortColumn() != 2) state.SkipWithError("the click did not sort");
}

void BM_HeaderSort(benchmark::State& state) {
  HeaderSort(state, false);
}
void BM_HeaderSortFresh(benchmark::State& state) {
  HeaderSort(state, true);
}

#define GRID_SIZES Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Listing)->GRID_SIZES;
BENCHMARK(BM_GridReady)->GRID_SIZES;
BENCHMARK(BM_HeaderSort)->GRID_SIZES;
BENCHMARK(BM_HeaderSortFresh)->GRID_SIZES;

}  // namespace
}  // namespace stamplets

BENCHMARK_MAIN();
