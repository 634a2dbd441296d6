// TSortGrid on a real window: row and header geometry, drawing only what is
// on screen, header-click sorting with the options handed through the click
// event, selection that follows its records through a sort, and marks.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "SortGrid.h"

namespace stamplets::win {
namespace {

struct DrawCall {
  int column;
  int row;
  RECT rect;
  TGridDrawState state;
};

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND MakeHost() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SortGridTestHost";
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassW(&wc);
    registered = true;
  }
  return CreateWindowExW(0, L"SortGridTestHost", L"grid", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                         620, 420, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

class SortGridTest : public ::testing::Test {
 protected:
  // One top-level window for every case: showing a new one costs seconds under Wine.
  static void SetUpTestSuite() { host_ = MakeHost(); }
  static void TearDownTestSuite() { DestroyWindow(host_); }
  void SetUp() override {
    ASSERT_TRUE(host_);
    grid_.Create(host_, 100, RECT{2, 2, 575, 316}, 3);
    grid_.OnGetCellText = [this](std::size_t record, int column) {
      ++texts_asked_;
      return records_.at(record)[static_cast<std::size_t>(column)];
    };
    grid_.OnDrawCell = [this](HDC, int column, int row, const RECT& rect, TGridDrawState state) {
      draws_.push_back({column, row, rect, state});
    };
    grid_.SetColWidth(0, 42);
    grid_.SetColWidth(1, 42);
    grid_.SetColWidth(2, 480);
  }
  void TearDown() override {
    if (grid_.Handle()) DestroyWindow(grid_.Handle());
  }

  void Load(std::vector<std::array<WideString, 3>> records) {
    records_ = std::move(records);
    grid_.SetRecordCount(records_.size());
  }
  void Paint() {
    draws_.clear();
    RedrawWindow(grid_.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
    Pump();
  }
  // Clicks a header item as the user does: press and release over it.
  void ClickHeader(int column) {
    RECT item = grid_.CellRect(column, 0);
    LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(grid_.HeaderHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(grid_.HeaderHandle(), WM_LBUTTONUP, 0, at);
    Pump();
  }
  std::vector<WideString> Column(int column) const {
    std::vector<WideString> texts;
    for (int row = 1; row < grid_.RowCount(); ++row)
      texts.push_back(grid_.Cells(column, row));
    return texts;
  }

  static HWND host_;
  TSortGrid grid_;
  std::vector<std::array<WideString, 3>> records_;
  std::vector<DrawCall> draws_;
  int texts_asked_ = 0;
};

HWND SortGridTest::host_ = nullptr;

TEST_F(SortGridTest, RowsAndHeaderHaveTheirHeightsAndCellsTheirColumns) {
  Load({{L"", L"1", L"C:\\a"}, {L"!", L"2", L"C:\\b"}});
  Paint();
  RECT header;
  GetWindowRect(grid_.HeaderHandle(), &header);
  EXPECT_EQ(header.bottom - header.top, 18);
  RECT row1 = grid_.CellRect(0, 1), row2 = grid_.CellRect(0, 2);
  EXPECT_EQ(row1.bottom - row1.top, 22);
  EXPECT_EQ(row2.top, row1.bottom);

  bool saw_header = false, saw_row2_col2 = false;
  for (const DrawCall& call : draws_) {
    if (call.row == 0) {
      saw_header = true;
      EXPECT_TRUE(call.state & gdFixed);
    }
    if (call.row == 2 && call.column == 2) {
      saw_row2_col2 = true;
      EXPECT_EQ(call.rect.left, 84);
      EXPECT_EQ(call.rect.right - call.rect.left, 480 - 1);  // the grid line is outside
      EXPECT_EQ(call.rect.bottom - call.rect.top, 22);
    }
  }
  EXPECT_TRUE(saw_header);
  EXPECT_TRUE(saw_row2_col2);
}

TEST_F(SortGridTest, PaintingAsksOnlyForTheRowsOnScreen) {
  std::vector<std::array<WideString, 3>> many(100000, {L"", L"1", L"C:\\x"});
  Load(std::move(many));
  texts_asked_ = 0;
  Paint();
  int max_row = 0;
  for (const DrawCall& call : draws_)
    max_row = std::max(max_row, call.row);
  EXPECT_GT(max_row, 5);
  EXPECT_LE(max_row, grid_.VisibleRowCount() + 1);
  EXPECT_LE(texts_asked_, 3 * (grid_.VisibleRowCount() + 1));

  grid_.SetTopRow(50000);
  EXPECT_EQ(grid_.TopRow(), 50000);
  Paint();
  for (const DrawCall& call : draws_) {
    if (call.row) {
      EXPECT_GE(call.row, 50000);
    }
  }
}

TEST_F(SortGridTest, HeaderClicksSortByTextWithoutCaseThroughTheClickEvent) {
  // file order: the exact keys, one outside any 8-bit code page
  Load({{L"", L"2", L"c:\\beta"},
        {L"!", L"10", L"C:\\Alpha"},
        {L"", L"1", L"C:\\\x0416\x2603"},
        {L"!", L"3", L"C:\\alpha2"}});
  EXPECT_EQ(grid_.SortColumn(), 1);  // before any click

  // The page's rule: a second click on the same column turns the direction.
  int last_column = 2;
  std::vector<std::pair<int, TSortDirection>> offered;
  grid_.OnClickSort = [&](int column, int row, TSortOptions& options) {
    EXPECT_EQ(row, 0);
    offered.emplace_back(column, options.SortDirection);
    if (column == last_column)
      options.SortDirection = options.SortDirection == TSortDirection::sdAscending
                                  ? TSortDirection::sdDescending
                                  : TSortDirection::sdAscending;
    last_column = column;
  };
  // What the window does when it is first shown: column 2, ascending.
  grid_.SortOptions().SortDirection = TSortDirection::sdAscending;
  grid_.OnClickSort(2, 0, grid_.SortOptions());

  ClickHeader(2);
  EXPECT_EQ(grid_.SortColumn(), 2);
  EXPECT_EQ(Column(2), (std::vector<WideString>{L"C:\\Alpha", L"C:\\alpha2", L"c:\\beta",
                                                L"C:\\\x0416\x2603"}));
  ClickHeader(2);
  EXPECT_EQ(Column(2), (std::vector<WideString>{L"C:\\\x0416\x2603", L"c:\\beta", L"C:\\alpha2",
                                                L"C:\\Alpha"}));
  // Column 0 groups the invalid records; equal texts keep their order.
  ClickHeader(0);
  EXPECT_EQ(Column(0), (std::vector<WideString>{L"!", L"!", L"", L""}));
  // Column 1 sorts by text: "10" before "2".
  ClickHeader(1);
  ClickHeader(1);
  EXPECT_EQ(grid_.SortColumn(), 1);
  ASSERT_EQ(offered.size(), 6u);
  EXPECT_EQ(offered[1].first, 2);
  EXPECT_EQ(offered[1].second, TSortDirection::sdDescending);  // left by the show-time call
  const std::vector<WideString> values = Column(1);
  EXPECT_TRUE(values == (std::vector<WideString>{L"1", L"10", L"2", L"3"}) ||
              values == (std::vector<WideString>{L"3", L"2", L"10", L"1"}));
}

TEST_F(SortGridTest, SelectionFollowsItsRecordsThroughASortAndMarksFollowTheSelection) {
  Load({{L"", L"1", L"e"},
        {L"", L"1", L"d"},
        {L"", L"1", L"c"},
        {L"", L"1", L"b"},
        {L"", L"1", L"a"}});
  grid_.SelectRows(2, 4);
  for (int row = 1; row <= 5; ++row)
    EXPECT_EQ(grid_.IsRowSelected(row), row >= 2 && row <= 4) << row;
  TGridRect selection = grid_.Selection();
  EXPECT_EQ(selection.Top, 2);
  EXPECT_EQ(selection.Bottom, 4);
  EXPECT_EQ(selection.Left, 0);
  EXPECT_EQ(selection.Right, 2);

  grid_.SortByColumn(2);  // a b c d e: the selected d c b are rows 2..4 again, reversed
  std::vector<WideString> selected;
  for (int row = 1; row < grid_.RowCount(); ++row)
    if (grid_.IsRowSelected(row)) selected.push_back(grid_.Cells(2, row));
  EXPECT_EQ(selected, (std::vector<WideString>{L"b", L"c", L"d"}));

  grid_.SelectRows(1, 1);
  grid_.MarkRow(1);
  EXPECT_TRUE(grid_.IsRowMarked(1));
  grid_.SelectRows(3, 3);
  EXPECT_FALSE(grid_.IsRowMarked(1));

  grid_.SetRecordCount(5);
  EXPECT_EQ(grid_.SelectedCount(), 0);
  EXPECT_EQ(grid_.Selection().Top, -1);
}

TEST_F(SortGridTest, CaretMovesReportTheSelectedRow) {
  Load({{L"", L"1", L"a"}, {L"", L"1", L"b"}, {L"", L"1", L"c"}});
  std::vector<int> rows;
  grid_.OnSelectCell = [&](int, int row) { rows.push_back(row); };
  SetFocus(grid_.ListHandle());
  grid_.SelectRows(1, 1);
  SendMessageW(grid_.ListHandle(), WM_KEYDOWN, VK_DOWN, 0);
  SendMessageW(grid_.ListHandle(), WM_KEYDOWN, VK_DOWN, 0);
  Pump();
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back(), 3);
  EXPECT_TRUE(grid_.IsRowSelected(3));
  EXPECT_FALSE(grid_.IsRowSelected(1));
}

TEST_F(SortGridTest, GridOutlivedByItsWindowOrTheOtherWayRound) {
  HWND orphan = nullptr;
  {
    TSortGrid short_lived;
    short_lived.Create(host_, 101, RECT{0, 0, 100, 100}, 3);
    short_lived.SetRecordCount(3);
    orphan = short_lived.Handle();
  }
  // The window is still there and may be painted without its object.
  RedrawWindow(host_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  DestroyWindow(orphan);
  DestroyWindow(grid_.Handle());
  EXPECT_EQ(grid_.Handle(), nullptr);
  grid_.SetRecordCount(2);  // harmless without a window
  EXPECT_EQ(grid_.RowCount(), 3);
}

}  // namespace
}  // namespace stamplets::win
