#include "SortGrid.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>

#include "Errors.h"
#include "Handles.h"
#include "RowOrder.h"

namespace stamplets::win {

namespace {

constexpr int kListId = 1;
constexpr UINT_PTR kHeaderSubclassId = 1;
constexpr UINT_PTR kMouseSubclassId = 2;
constexpr COLORREF kGridLineColour = RGB(192, 192, 192);

HINSTANCE ModuleInstance() {
  return GetModuleHandleW(nullptr);
}

// A bitmap the size of a rectangle to draw into before one copy to the screen.
class BufferedPaint {
 public:
  BufferedPaint(HDC target, const RECT& area) : target_(target), area_(area) {
    const int width = std::max(1, static_cast<int>(area.right - area.left));
    const int height = std::max(1, static_cast<int>(area.bottom - area.top));
    dc_.reset(CreateCompatibleDC(target));
    bitmap_.reset(CreateCompatibleBitmap(target, width, height));
    if (dc_ && bitmap_) {
      old_bitmap_ = SelectObject(dc_.get(), bitmap_.get());
      SetWindowOrgEx(dc_.get(), area.left, area.top, nullptr);
    }
  }
  ~BufferedPaint() {
    if (!old_bitmap_) return;
    SetWindowOrgEx(dc_.get(), 0, 0, nullptr);
    BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
           dc_.get(), 0, 0, SRCCOPY);
    SelectObject(dc_.get(), old_bitmap_);
  }
  BufferedPaint(const BufferedPaint&) = delete;
  BufferedPaint& operator=(const BufferedPaint&) = delete;
  // The memory context, or the target itself when no bitmap could be had.
  HDC Dc() const { return old_bitmap_ ? dc_.get() : target_; }

 private:
  HDC target_;
  RECT area_;
  unique_hdc dc_;
  unique_hbitmap bitmap_;
  HGDIOBJ old_bitmap_ = nullptr;
};

}  // namespace

TSortGrid::~TSortGrid() {
  if (!frame_) return;
  // The window outlives this object: it must not call into it any more.
  Detach();
}

void TSortGrid::Detach() {
  if (header_) {
    RemoveWindowSubclass(header_, HeaderProc, kHeaderSubclassId);
    RemoveWindowSubclass(header_, ChildProc, kMouseSubclassId);
  }
  if (list_) RemoveWindowSubclass(list_, ChildProc, kMouseSubclassId);
  if (frame_ && GetWindowLongPtrW(frame_, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
    SetWindowLongPtrW(frame_, GWLP_USERDATA, 0);
  frame_ = list_ = header_ = nullptr;
}

void TSortGrid::RegisterWindowClass() {
  static bool registered = false;
  if (registered) return;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = ModuleInstance();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowClass;
  Check(RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS,
        "RegisterClassEx(grid)");
  registered = true;
}

HWND TSortGrid::Create(HWND parent, int id, const RECT& bounds, int columns) {
  RegisterWindowClass();
  HWND frame =
      CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, bounds.left,
                      bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
  Check(frame != nullptr, "CreateWindowEx(grid)");
  Attach(frame, columns);
  return frame_;
}

void TSortGrid::Attach(HWND frame, int columns) {
  RegisterWindowClass();
  header_texts_.assign(static_cast<std::size_t>(std::max(columns, 1)), WideString());
  frame_ = frame;
  SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(frame, GWL_STYLE, GetWindowLongPtrW(frame, GWL_STYLE) | WS_CLIPCHILDREN);
  RECT client;
  GetClientRect(frame, &client);
  const int width = client.right;
  const int height = client.bottom;
  list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                              LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS,
                          0, 0, width, height, frame_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), ModuleInstance(),
                          nullptr);
  Check(list_ != nullptr, "CreateWindowEx(list view)");
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  header_ = ListView_GetHeader(list_);
  SetWindowSubclass(header_, HeaderProc, kHeaderSubclassId, reinterpret_cast<DWORD_PTR>(this));
  SetWindowSubclass(header_, ChildProc, kMouseSubclassId, reinterpret_cast<DWORD_PTR>(this));
  SetWindowSubclass(list_, ChildProc, kMouseSubclassId, reinterpret_cast<DWORD_PTR>(this));
  for (int column = 0; column < ColCount(); ++column) {
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    lvc.fmt = LVCFMT_LEFT;
    lvc.cx = default_col_width_;
    lvc.pszText = const_cast<wchar_t*>(L"");
    ListView_InsertColumn(list_, column, &lvc);
  }
  SetFont(font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
}

void TSortGrid::SetFont(HFONT font) {
  font_ = font;
  if (!list_) return;
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  ApplyRowHeight();
}

void TSortGrid::ApplyRowHeight() {
  if (!list_) return;
  // The list asks its parent for the row height (WM_MEASUREITEM) when its
  // frame changes, and the header for its height (HDM_LAYOUT) on resizing.
  SetWindowPos(list_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  RECT client;
  GetClientRect(frame_, &client);
  MoveWindow(list_, 0, 0, client.right, client.bottom + 1, FALSE);
  MoveWindow(list_, 0, 0, client.right, client.bottom, TRUE);
}

// ---- rows and cells ------------------------------------------------------------

void TSortGrid::SetRecordCount(std::size_t count) {
  order_.resize(count);
  for (std::size_t i = 0; i < count; ++i)
    order_[i] = i;
  marks_.clear();
  sort_ranks_.clear();
  caret_row_ = -1;
  focused_item_ = -1;
  if (!list_) return;
  // Emptying the list drops every selection range at once; clearing the
  // states item by item would notify once per record.
  QuietScope quiet(*this);
  ListView_SetItemCountEx(list_, 0, 0);
  ListView_SetItemCountEx(list_, static_cast<int>(count), 0);
  if (count) ListView_EnsureVisible(list_, 0, FALSE);
  Invalidate();
}

void TSortGrid::AppendRecord() {
  order_.push_back(order_.size());
  for (auto& ranks : sort_ranks_)
    ranks.clear();
  if (list_)
    ListView_SetItemCountEx(list_, static_cast<int>(order_.size()),
                            LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

WideString TSortGrid::Cells(int column, int row) const {
  if (column < 0 || column >= ColCount()) return {};
  if (row == 0) return header_texts_[static_cast<std::size_t>(column)];
  if (row < 1 || row >= RowCount() || !OnGetCellText) return {};
  return OnGetCellText(RecordAt(row), column);
}

void TSortGrid::SetHeaderText(int column, WideString text) {
  if (column < 0 || column >= ColCount()) return;
  header_texts_[static_cast<std::size_t>(column)] = std::move(text);
  if (header_) InvalidateRect(header_, nullptr, FALSE);
}

// ---- geometry -------------------------------------------------------------------

int TSortGrid::ColWidths(int column) const {
  return list_ ? ListView_GetColumnWidth(list_, column) : 0;
}

void TSortGrid::SetColWidth(int column, int width) {
  if (list_) ListView_SetColumnWidth(list_, column, std::max(width, 0));
}

void TSortGrid::SetDefaultRowHeight(int height) {
  row_height_ = std::max(height, 1);
  ApplyRowHeight();
}

void TSortGrid::SetHeaderHeight(int height) {
  header_height_ = std::max(height, 1);
  ApplyRowHeight();
}

int TSortGrid::ClientWidth() const {
  RECT client{};
  if (list_) GetClientRect(list_, &client);
  return client.right;
}

int TSortGrid::TopRow() const {
  return list_ ? ListView_GetTopIndex(list_) + 1 : 1;
}

void TSortGrid::SetTopRow(int row) {
  if (!list_ || order_.empty()) return;
  row = std::clamp(row, 1, RowCount() - 1);
  const int delta = row - TopRow();
  if (delta) ListView_Scroll(list_, 0, delta * row_height_);
}

int TSortGrid::VisibleRowCount() const {
  return list_ ? ListView_GetCountPerPage(list_) : 0;
}

RECT TSortGrid::CellRect(int column, int row) const {
  RECT rect{};
  if (!list_ || column < 0 || column >= ColCount()) return rect;
  if (row == 0) {
    Header_GetItemRect(header_, column, &rect);
    return rect;
  }
  ListView_GetItemRect(list_, row - 1, &rect, LVIR_BOUNDS);
  rect.left = ColumnLeft(column);
  rect.right = rect.left + ColWidths(column) - 1;  // the grid line is not part of the cell
  return rect;
}

int TSortGrid::ColumnLeft(int column) const {
  // Rows line up with the header, which moves left as the list scrolls.
  RECT item{};
  Header_GetItemRect(header_, column, &item);
  RECT header_window;
  GetWindowRect(header_, &header_window);
  POINT origin{header_window.left, header_window.top};
  ScreenToClient(list_, &origin);
  return item.left + origin.x;
}

// ---- selection --------------------------------------------------------------------

bool TSortGrid::IsRowSelected(int row) const {
  if (!list_ || row < 1 || row >= RowCount()) return false;
  return ListView_GetItemState(list_, row - 1, LVIS_SELECTED) != 0;
}

TGridRect TSortGrid::Selection() const {
  TGridRect rect{0, -1, ColCount() - 1, -1};
  if (!list_) return rect;
  int item = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
  if (item < 0) return rect;
  rect.Top = rect.Bottom = item + 1;
  while ((item = ListView_GetNextItem(list_, item, LVNI_SELECTED)) >= 0)
    rect.Bottom = item + 1;
  return rect;
}

void TSortGrid::SelectRows(int top, int bottom) {
  if (!list_) return;
  QuietScope quiet(*this);
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  top = std::max(top, 1);
  bottom = std::min(bottom, RowCount() - 1);
  for (int row = top; row <= bottom; ++row)
    ListView_SetItemState(list_, row - 1, LVIS_SELECTED, LVIS_SELECTED);
  if (bottom >= top) {
    ListView_SetItemState(list_, bottom - 1, LVIS_FOCUSED, LVIS_FOCUSED);
    ListView_SetSelectionMark(list_, top - 1);
    focused_item_ = bottom - 1;
  }
  quiet.Release();
  SelectionChanged();
}

int TSortGrid::SelectedCount() const {
  return list_ ? static_cast<int>(ListView_GetSelectedCount(list_)) : 0;
}

void TSortGrid::ClearMarks() {
  for (int row : marks_)
    InvalidateRow(row);
  marks_.clear();
}

void TSortGrid::MarkRow(int row) {
  if (row < 1 || row >= RowCount()) return;
  marks_.insert(row);
  InvalidateRow(row);
}

void TSortGrid::SelectionChanged() {
  // Marks follow the selection: a row that left it is drawn normally again.
  for (auto it = marks_.begin(); it != marks_.end();) {
    if (IsRowSelected(*it)) {
      ++it;
    } else {
      InvalidateRow(*it);
      it = marks_.erase(it);
    }
  }
  const int focused = FocusedItem();
  const int caret = focused >= 0 && IsRowSelected(focused + 1) ? focused + 1 : -1;
  if (caret == caret_row_) return;
  caret_row_ = caret;
  if (caret > 0 && OnSelectCell) OnSelectCell(ColumnAtCursor(), caret);
}

int TSortGrid::FocusedItem() const {
  if (!list_ || focused_item_ < 0 || focused_item_ >= static_cast<int>(order_.size())) return -1;
  return ListView_GetItemState(list_, focused_item_, LVIS_FOCUSED) ? focused_item_ : -1;
}

void TSortGrid::TrackFocus(const NMLISTVIEW& change) {
  if (!(change.uChanged & LVIF_STATE)) return;
  if (change.iItem >= 0 && (change.uNewState & LVIS_FOCUSED))
    focused_item_ = change.iItem;
  else if ((change.iItem < 0 || change.iItem == focused_item_) &&
           (change.uOldState & LVIS_FOCUSED) && !(change.uNewState & LVIS_FOCUSED))
    focused_item_ = -1;
}

int TSortGrid::ColumnAtCursor() const {
  DWORD pos = GetMessagePos();
  LVHITTESTINFO hit{};
  hit.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
  ScreenToClient(list_, &hit.pt);
  if (ListView_SubItemHitTest(list_, &hit) >= 0 && hit.iSubItem >= 0) return hit.iSubItem;
  return 0;
}

// ---- sorting ----------------------------------------------------------------------------

void TSortGrid::SortByColumn(int column) {
  if (column < 0 || column >= ColCount()) return;
  sort_ranks_.resize(header_texts_.size());
  std::vector<std::uint32_t>& ranks = sort_ranks_[static_cast<std::size_t>(column)];
  if (ranks.size() != order_.size()) {
    std::vector<WideString> texts(order_.size());
    if (OnGetCellText)
      for (std::size_t record = 0; record < texts.size(); ++record)
        texts[record] = OnGetCellText(record, column);
    ranks = RankForSort(sort_options_.SortCaseSensitive ? std::move(texts)
                                                        : FoldForSort(std::move(texts)));
  }
  // Remember which records are selected and which has the caret.
  std::vector<bool> selected(order_.size(), false);
  std::size_t selected_count = 0;
  long caret_record = -1;
  if (list_ && ListView_GetSelectedCount(list_) > 0) {
    for (int item = -1; (item = ListView_GetNextItem(list_, item, LVNI_SELECTED)) >= 0;) {
      selected[order_[static_cast<std::size_t>(item)]] = true;
      ++selected_count;
    }
  }
  if (list_) {
    int focused = FocusedItem();
    if (focused >= 0) caret_record = static_cast<long>(order_[static_cast<std::size_t>(focused)]);
  }
  QuietScope quiet(*this);
  SortRowOrder(order_, ranks, sort_options_.SortDirection == TSortDirection::sdDescending);
  sort_column_ = column;
  marks_.clear();
  if (list_) {
    if (selected_count == order_.size() && selected_count) {
      ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
    } else if (selected_count) {
      ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
      for (std::size_t item = 0; item < order_.size(); ++item)
        if (selected[order_[item]])
          ListView_SetItemState(list_, static_cast<int>(item), LVIS_SELECTED, LVIS_SELECTED);
    }
    focused_item_ = -1;
    if (caret_record >= 0) {
      auto at = std::find(order_.begin(), order_.end(), static_cast<std::size_t>(caret_record));
      focused_item_ = static_cast<int>(at - order_.begin());
      ListView_SetItemState(list_, focused_item_, LVIS_FOCUSED, LVIS_FOCUSED);
    }
    caret_row_ = focused_item_ >= 0 && IsRowSelected(focused_item_ + 1) ? focused_item_ + 1 : -1;
  }
  Invalidate();
}

// ---- drawing -------------------------------------------------------------------------------

void TSortGrid::Invalidate() const {
  if (list_) InvalidateRect(list_, nullptr, FALSE);
  if (header_) InvalidateRect(header_, nullptr, FALSE);
}

void TSortGrid::InvalidateRow(int row) const {
  if (!list_ || row < 1 || row >= RowCount()) return;
  ListView_RedrawItems(list_, row - 1, row - 1);
}

void TSortGrid::DrawRow(const DRAWITEMSTRUCT& item) {
  const int row = static_cast<int>(item.itemID) + 1;
  if (row < 1 || row >= RowCount()) return;
  RECT client;
  GetClientRect(list_, &client);
  RECT area = item.rcItem;
  area.left = std::min(area.left, client.left);
  area.right = std::max(area.right, client.right);
  BufferedPaint paint(item.hDC, area);
  HDC dc = paint.Dc();
  SelectObjectScope font(dc, font_);
  FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));

  TGridDrawState state = 0;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  if (selected) state |= gdSelected;
  if (selected && (item.itemState & ODS_FOCUS)) state |= gdFocused;

  unique_hgdiobj line(CreatePen(PS_SOLID, 1, kGridLineColour));
  for (int column = 0; column < ColCount(); ++column) {
    const int width = ColWidths(column);
    const int left = ColumnLeft(column);
    RECT cell{left, item.rcItem.top, left + width - 1, item.rcItem.bottom};
    if (width > 0) {
      SetBkMode(dc, TRANSPARENT);
      if (OnDrawCell) OnDrawCell(dc, column, row, cell, state);
      // The vertical grid line right of the cell.
      SelectObjectScope pen(dc, line.get());
      MoveToEx(dc, cell.right, cell.top, nullptr);
      LineTo(dc, cell.right, cell.bottom);
    }
  }
}

void TSortGrid::PaintHeader(HDC target, const RECT& client) {
  BufferedPaint paint(target, client);
  HDC dc = paint.Dc();
  SelectObjectScope font(dc, font_);
  // Right of the last column: the header's plain background.
  bool filled = false;
  if (HTHEME theme = IsAppThemed() ? OpenThemeData(header_, L"HEADER") : nullptr) {
    filled = SUCCEEDED(DrawThemeBackground(theme, dc, HP_HEADERITEM, HIS_NORMAL, &client, nullptr));
    CloseThemeData(theme);
  }
  if (!filled) FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  const int count = Header_GetItemCount(header_);
  for (int column = 0; column < count; ++column) {
    RECT cell;
    if (!Header_GetItemRect(header_, column, &cell) || cell.right <= cell.left) continue;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    if (OnDrawCell) OnDrawCell(dc, column, 0, cell, gdFixed);
  }
}

// ---- window procedures -----------------------------------------------------------------------

LRESULT CALLBACK TSortGrid::FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  // The object binds itself in Attach; until then the window is plain.
  auto* self = reinterpret_cast<TSortGrid*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->Detach();
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  try {
    if (!self->frame_) self->frame_ = hwnd;
    return self->HandleFrame(msg, wp, lp);
  } catch (...) {
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

LRESULT TSortGrid::HandleFrame(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (list_) MoveWindow(list_, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (list_) SetFocus(list_);
      return 0;
    case WM_SETFONT:
      SetFont(reinterpret_cast<HFONT>(wp));
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_ERASEBKGND:
      return 1;
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (measure->CtlType == ODT_LISTVIEW) {
        measure->itemHeight = static_cast<UINT>(row_height_);
        return TRUE;
      }
      break;
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (item->CtlType == ODT_LISTVIEW && list_) {
        DrawRow(*item);
        return TRUE;
      }
      break;
    }
    case WM_NOTIFY:
      return HandleNotify(*reinterpret_cast<NMHDR*>(lp));
    default:
      break;
  }
  return DefWindowProcW(frame_, msg, wp, lp);
}

LRESULT TSortGrid::HandleNotify(const NMHDR& hdr) {
  if (hdr.hwndFrom != list_) return 0;
  switch (hdr.code) {
    case LVN_GETDISPINFOW: {
      auto& info = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(hdr));
      if ((info.item.mask & LVIF_TEXT) && info.item.pszText && info.item.cchTextMax > 0) {
        WideString text = Cells(info.item.iSubItem, info.item.iItem + 1);
        lstrcpynW(info.item.pszText, text.c_str(), info.item.cchTextMax);
      }
      return 0;
    }
    case LVN_ODFINDITEMW:
      return -1;
    case LVN_ITEMCHANGED:
      TrackFocus(reinterpret_cast<const NMLISTVIEW&>(hdr));
      if (!quiet_) SelectionChanged();
      return 0;
    case LVN_ODSTATECHANGED:
      if (!quiet_) SelectionChanged();
      return 0;
    case LVN_COLUMNCLICK: {
      const int column = reinterpret_cast<const NMLISTVIEW&>(hdr).iSubItem;
      if (OnClickSort) OnClickSort(column, 0, sort_options_);
      SortByColumn(column);
      return 0;
    }
    default:
      return 0;
  }
}

LRESULT CALLBACK TSortGrid::ChildProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                      DWORD_PTR data) {
  auto* self = reinterpret_cast<TSortGrid*>(data);
  if (msg == WM_MOUSEMOVE && self->frame_) {
    // Whoever watches the grid's window for the mouse (hints) sees it too.
    POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    MapWindowPoints(hwnd, self->frame_, &p, 1);
    SendMessageW(self->frame_, WM_MOUSEMOVE, wp, MAKELPARAM(p.x, p.y));
  } else if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, ChildProc, kMouseSubclassId);
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK TSortGrid::HeaderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                       DWORD_PTR self) {
  try {
    return reinterpret_cast<TSortGrid*>(self)->HandleHeader(hwnd, msg, wp, lp);
  } catch (...) {
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
}

LRESULT TSortGrid::HandleHeader(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case HDM_LAYOUT: {
      // The header row has the grid's own height, whatever the font.
      LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
      auto* layout = reinterpret_cast<HDLAYOUT*>(lp);
      if (layout && layout->prc && layout->pwpos) {
        layout->pwpos->cy = header_height_;
        layout->prc->top = layout->pwpos->y + header_height_;
      }
      return result;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(hwnd, &client);
      if (msg == WM_PRINTCLIENT) {
        PaintHeader(reinterpret_cast<HDC>(wp), client);
        return 0;
      }
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintHeader(dc, client);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, HeaderProc, kHeaderSubclassId);
      header_ = nullptr;
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace stamplets::win
