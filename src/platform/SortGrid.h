// TSortGrid: a sortable grid of text cells on the list view (report view,
// owner data, owner-drawn rows). Row 0 is the fixed header row, drawn like
// every other cell by the OnDrawCell event; rows 1 to RowCount()-1 are the
// records. The grid holds no texts of its own beyond the header: the records
// live with the owner, the grid holds the order of the rows as record
// indices and asks OnGetCellText for a cell's text, so a record keeps its
// exact UTF-16 text whatever the display does with it.
//
// Selection is by whole rows, any number of them (click, Shift for a range,
// Ctrl to add). A header click hands the sort options to OnClickSort, which
// may change them, and then sorts the rows by that column's text without
// regard to case.
//
// The object lives with the page that creates it; the window it creates is a
// child of the page and is destroyed with it. Whichever goes first, the other
// is told: the window stops calling the object, the object stops using the
// window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <vector>

#include "WideText.h"

namespace stamplets::win {

struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

// Flags of a cell being drawn.
enum TGridDrawStateFlag : unsigned {
  gdSelected = 1,  // the row is in the selection
  gdFocused = 2,   // the row holds the keyboard caret (and is selected)
  gdFixed = 4,     // the header row
};
using TGridDrawState = unsigned;

enum class TSortDirection { sdAscending, sdDescending };
enum class TSortStyle { ssAlphabetic };

struct TSortOptions {
  TSortStyle SortStyle = TSortStyle::ssAlphabetic;
  TSortDirection SortDirection = TSortDirection::sdAscending;
  bool SortCaseSensitive = false;
};

class TSortGrid {
 public:
  TSortGrid() = default;
  ~TSortGrid();
  TSortGrid(const TSortGrid&) = delete;
  TSortGrid& operator=(const TSortGrid&) = delete;

  // The class of the grid's outer window, registered by RegisterWindowClass.
  static constexpr wchar_t kWindowClass[] = L"StampletsSortGrid";
  static void RegisterWindowClass();
  // Creates the grid's window as a child of `parent` with `columns` columns
  // of the default width; returns it. Throws SystemError on failure.
  HWND Create(HWND parent, int id, const RECT& bounds, int columns);
  // Takes over an outer window of kWindowClass that someone else created
  // (a form that makes its controls from a table) and fills it.
  void Attach(HWND frame, int columns);
  // The grid's outer window (to place, anchor and hint), the list view
  // inside it, and the list view's header.
  HWND Handle() const { return frame_; }
  HWND ListHandle() const { return list_; }
  HWND HeaderHandle() const { return header_; }

  // The font of the cells and the header; not owned, must outlive the grid.
  void SetFont(HFONT font);
  HFONT Font() const { return font_; }

  // ---- rows and cells ----
  // One more record row at the end, for record RecordCount(); the order,
  // selection and sort keys of the other rows stay.
  void AppendRecord();
  // Replaces the records: `count` rows in record order 0..count-1, nothing
  // selected or marked, sort keys forgotten, scrolled to the top.
  void SetRecordCount(std::size_t count);
  std::size_t RecordCount() const { return order_.size(); }
  // The header row plus one row per record.
  int RowCount() const { return static_cast<int>(order_.size()) + 1; }
  int ColCount() const { return static_cast<int>(header_texts_.size()); }
  // The record shown in a row (1 .. RowCount()-1).
  std::size_t RecordAt(int row) const { return order_.at(static_cast<std::size_t>(row - 1)); }
  // Row 0: the header text; other rows: OnGetCellText of the row's record.
  WideString Cells(int column, int row) const;
  void SetHeaderText(int column, WideString text);

  // ---- geometry ----
  int ColWidths(int column) const;
  void SetColWidth(int column, int width);
  int DefaultRowHeight() const { return row_height_; }
  void SetDefaultRowHeight(int height);
  int HeaderHeight() const { return header_height_; }
  void SetHeaderHeight(int height);
  // Width of the list's client area, where the columns lie.
  int ClientWidth() const;
  // The first record row that is visible (1 when scrolled to the top).
  int TopRow() const;
  void SetTopRow(int row);
  // How many record rows fit into the client area.
  int VisibleRowCount() const;
  // The cell's rectangle in the list's client coordinates (row 0: header).
  RECT CellRect(int column, int row) const;

  // ---- selection ----
  bool IsRowSelected(int row) const;
  // The rows from the first to the last selected one, every column; Top and
  // Bottom are -1 when nothing is selected.
  TGridRect Selection() const;
  // Selects rows top..bottom (nothing else) and puts the caret on `bottom`.
  void SelectRows(int top, int bottom);
  int SelectedCount() const;
  // Marked rows are drawn like selected ones; a row that leaves the
  // selection loses its mark.
  void ClearMarks();
  void MarkRow(int row);
  bool IsRowMarked(int row) const { return marks_.count(row) != 0; }

  // ---- sorting ----
  // The column of the last sort, and the options the next header click
  // starts from (the last ones used). Before any sort: column 1, ascending.
  int SortColumn() const { return sort_column_; }
  TSortOptions& SortOptions() { return sort_options_; }
  // Sorts the record rows by the column's text with SortOptions(); the
  // selected records stay selected wherever they move.
  void SortByColumn(int column);
  // Texts of a column changed: its ranks are made again at the next sort.
  void ForgetSortKeys() { sort_ranks_.clear(); }

  // ---- drawing ----
  void Invalidate() const;
  void InvalidateRow(int row) const;

  // ---- events ----
  std::function<WideString(std::size_t record, int column)> OnGetCellText;
  // Draws a cell into `dc` (font, transparent text set up) within `rect`.
  std::function<void(HDC dc, int column, int row, const RECT& rect, TGridDrawState state)>
      OnDrawCell;
  // The caret moved to a selected row (by mouse or keyboard).
  std::function<void(int column, int row)> OnSelectCell;
  // A header was clicked; the options may be changed before the sort.
  std::function<void(int column, int row, TSortOptions& options)> OnClickSort;

 private:
  static LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                    DWORD_PTR self);
  static LRESULT CALLBACK HeaderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                     DWORD_PTR self);
  LRESULT HandleFrame(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleHeader(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleNotify(const NMHDR& hdr);
  void DrawRow(const DRAWITEMSTRUCT& item);
  void PaintHeader(HDC dc, const RECT& client);
  void SelectionChanged();
  void ApplyRowHeight();
  void Detach();
  int ColumnAtCursor() const;
  // The list item with the keyboard caret, or -1; followed through the
  // list's notifications, since asking the list searches every item.
  int FocusedItem() const;
  void TrackFocus(const NMLISTVIEW& change);
  // Holds back the selection events while the grid changes states itself.
  class QuietScope {
   public:
    explicit QuietScope(TSortGrid& grid) : grid_(&grid), was_(grid.quiet_) { grid.quiet_ = true; }
    ~QuietScope() { Release(); }
    void Release() {
      if (grid_) grid_->quiet_ = was_;
      grid_ = nullptr;
    }
    QuietScope(const QuietScope&) = delete;
    QuietScope& operator=(const QuietScope&) = delete;

   private:
    TSortGrid* grid_;
    bool was_;
  };
  int ColumnLeft(int column) const;

  HWND frame_ = nullptr;
  HWND list_ = nullptr;
  HWND header_ = nullptr;
  HFONT font_ = nullptr;
  int row_height_ = 22;
  int header_height_ = 18;
  int default_col_width_ = 40;
  std::vector<WideString> header_texts_;
  std::vector<std::size_t> order_;
  std::set<int> marks_;
  int sort_column_ = 1;
  TSortOptions sort_options_;
  std::vector<std::vector<std::uint32_t>> sort_ranks_;  // per column; empty until sorted by it
  int caret_row_ = -1;
  int focused_item_ = -1;
  bool quiet_ = false;
};

}  // namespace stamplets::win
