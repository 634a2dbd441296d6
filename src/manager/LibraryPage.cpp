// Page 1, Library: every record of the stamplet store, sortable, with
// removal of the selected records and of the records whose path is gone.
//
// The grid holds the rows as indices into the records of the last load
// (library_); each record keeps its exact UTF-16 key. Whether a path exists
// is asked once per record and load, for the rows being drawn (or for all of
// them when column 0 is sorted), through a probe that never waits long on a
// drive or share that does not answer. The stamplet icons are read once per
// number and load.
#include "Unit1.h"

#include <uxtheme.h>
#include <vssym32.h>

#include "Dialogs.h"
#include "Translation.h"

namespace stamplets::manager {

namespace {

using LanguageSupport::Translate;

constexpr COLORREF kSelectedFill = RGB(0, 113, 225);
constexpr COLORREF kEvenFill = RGB(216, 233, 254);
constexpr COLORREF kOddFill = RGB(255, 255, 255);
constexpr COLORREF kMagenta = RGB(255, 0, 255);  // the pictures' transparent colour
constexpr int kHeaderHeight = 18;
constexpr int kNarrowColumn = 42;
constexpr int kIconSize = 14;
// At most this many paths are named when keys could not be removed.
constexpr std::size_t kNamedKeptKeys = 10;

const wchar_t* const kHeaderCaptions[] = {L"", L"Stamplet", L"Location"};

SIZE TextSize(HDC dc, WideStringView text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  return size;
}

// Top of a line of text centred in the rectangle, as the cells place it.
int TextTop(HDC dc, const RECT& rect) {
  return rect.top + (rect.bottom - rect.top) / 2 - TextSize(dc, L"Wg").cy / 2;
}

void DrawText(HDC dc, int x, int y, const RECT& clip, WideStringView text) {
  ExtTextOutW(dc, x, y, ETO_CLIPPED, &clip, text.data(), static_cast<UINT>(text.size()), nullptr);
}

// Draws a picture's bitmap with its magenta parts left out.
void DrawPicture(HDC dc, const win::Picture& picture, int x, int y) {
  HBITMAP bitmap = picture.Bitmap();
  if (!bitmap) return;
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  win::unique_hdc source(CreateCompatibleDC(dc));
  win::SelectObjectScope select(source.get(), bitmap);
  GdiTransparentBlt(dc, x, y, info.bmWidth, info.bmHeight, source.get(), 0, 0, info.bmWidth,
                    info.bmHeight, kMagenta);
}

// Stretches the bitmap resource over the rectangle.
void StretchResourceBitmap(HDC dc, const wchar_t* name, const RECT& rect) {
  win::unique_hbitmap bitmap(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  if (!bitmap) return;
  BITMAP info{};
  GetObjectW(bitmap.get(), sizeof info, &info);
  win::unique_hdc source(CreateCompatibleDC(dc));
  win::SelectObjectScope select(source.get(), bitmap.get());
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source.get(),
             0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
}

bool SameKeys(const TTntStringList& list, const std::vector<WideString>& keys) {
  if (static_cast<std::size_t>(list.Count()) != keys.size()) return false;
  for (int i = 0; i < list.Count(); ++i)
    if (list[i] != keys[static_cast<std::size_t>(i)]) return false;
  return true;
}

void AssignKeys(TTntStringList& list, const std::vector<WideString>& keys) {
  list.Clear();
  for (const WideString& key : keys)
    list.Add(key);
}

}  // namespace

// ---- loading -------------------------------------------------------------------

void TForm1::LoadLibraryRecords() {
  const StampletStore store(folder_.File(files::kStore));
  // One read of the store gives every key with its value, in file order.
  library_.Assign(store.List());
  AssignKeys(*LibraryKeys, library_.Keys());
  // A new load asks the disk and the icon files again.
  library_prober_.Forget();
  library_icons_.Clear();
  StringGrid1.SetRecordCount(library_.Size());
  for (int column = 0; column < 3; ++column)
    StringGrid1.SetHeaderText(column, Translate(kHeaderCaptions[column]));
}

void TForm1::AddLibraryRow(const WideString& path, const WideString& value) {
  library_.Append({path, value});
  StringGrid1.AppendRecord();
}

void TForm1::SetLibraryHint() {
  win::ControlView(Get(L"StringGrid1"))
      .SetHint(IntToWide(static_cast<std::int64_t>(library_.Size())) + L" " + Translate(L"items"));
}

void TForm1::FitLibraryColumns() {
  if (!StringGrid1.Handle() || StringGrid1.ColCount() < 3) return;
  StringGrid1.SetColWidth(
      2, StringGrid1.ClientWidth() - StringGrid1.ColWidths(0) - StringGrid1.ColWidths(1) - 4);
}

void TForm1::LoadLibraryGrid() {
  LoadLibraryRecords();
  StringGrid1.SetHeaderHeight(kHeaderHeight);
  StringGrid1.SetColWidth(0, kNarrowColumn);
  StringGrid1.SetColWidth(1, kNarrowColumn);
  // The rows may have brought a vertical scroll bar: column 2 takes the rest.
  FitLibraryColumns();
}

void TForm1::ReloadLibrary() {
  LoadLibraryRecords();
  FitLibraryColumns();
  SetLibraryHint();
}

void TForm1::CheckLibraryChanged() {
  if (!LibraryKeys) return;
  const StampletStore store(folder_.File(files::kStore));
  // One read and a comparison: only the set and order of the paths count.
  if (SameKeys(*LibraryKeys, ReadStoreKeys(store))) return;
  ShowUserMessage(Handle(), L"Library was modified, now it will be reloaded", L"NOTE", MB_OK);
  const int top = StringGrid1.TopRow();
  LoadLibraryRecords();
  StringGrid1.SetHeaderHeight(kHeaderHeight);
  if (top < StringGrid1.RowCount()) StringGrid1.SetTopRow(top);
  FitLibraryColumns();
  SetLibraryHint();
}

// ---- validity and selection ------------------------------------------------------

bool TForm1::PathLooksValid(const WideString& path) {
  if (path.size() < 4) return true;
  return stamplets::PathLooksValid(path, library_prober_.Probe(path));
}

bool TForm1::RowInSelection(int column, int row) {
  try {
    // Whole rows are selected, so every column lies in the selection. Ctrl+
    // click may leave gaps between the first and last selected row: a row
    // counts only when it is itself selected.
    return column >= 0 && column < StringGrid1.ColCount() && StringGrid1.IsRowSelected(row);
  } catch (...) {
    return false;
  }
}

bool TForm1::StringGrid1SelectCell(int /*column*/, int row) {
  StringGrid1.ClearMarks();
  StringGrid1.MarkRow(row);
  return true;
}

void TForm1::StringGrid1ClickSort(int column, int /*row*/, SortOptions& options) {
  if (column == LastSortColumn)
    options.SortDirection = options.SortDirection == win::TSortDirection::sdAscending
                                ? win::TSortDirection::sdDescending
                                : win::TSortDirection::sdAscending;
  LastSortColumn = column;
}

// ---- removal ---------------------------------------------------------------------------

void TForm1::ReportKeptKeys(const std::vector<WideString>& kept) {
  if (kept.empty()) return;
  WideString text =
      Translate(L"These records could not be removed: the library file may be read-only") + L"\n";
  for (std::size_t i = 0; i < kept.size() && i < kNamedKeptKeys; ++i)
    text += L"\n" + kept[i];
  if (kept.size() > kNamedKeptKeys) text += L"\n...";
  // The text is translated already; a second lookup finds nothing and keeps it.
  ShowUserMessage(Handle(), text, L"Error", MB_OK | MB_ICONWARNING);
}

void TForm1::Button5Click() {
  std::vector<WideString> paths;
  const int rows = StringGrid1.RowCount();
  if (StringGrid1.SelectedCount() > 0)
    for (int row = 1; row < rows; ++row)
      if (RowInSelection(2, row)) paths.push_back(library_.Record(StringGrid1.RecordAt(row)).path);
  if (!AskYesNo(Handle(), L"Remove all selected records ?", L"Accept ?")) return;
  const StampletStore store(folder_.File(files::kStore));
  const std::vector<WideString> kept = store.Remove(paths);
  AssignKeys(*LibraryKeys, ReadStoreKeys(store));
  ReloadLibrary();
  ReportKeptKeys(kept);
}

void TForm1::Button6Click() {
  if (!AskYesNo(Handle(), L"Remove all invalid records ?", L"Accept ?")) return;
  const StampletStore store(folder_.File(files::kStore));
  const std::vector<WideString> keys = ReadStoreKeys(store);
  AssignKeys(*LibraryKeys, keys);
  // Ask the disk afresh: a drive may have come back since the load.
  library_prober_.Forget();
  const std::vector<WideString> kept = store.Remove(InvalidKeys(keys, library_prober_));
  AssignKeys(*LibraryKeys, ReadStoreKeys(store));
  ReloadLibrary();
  ReportKeptKeys(kept);
}

// ---- drawing ------------------------------------------------------------------------------

void TForm1::StringGrid1DrawCell(HDC dc, int column, int row, const RECT& rect, UINT state) {
  SetBkMode(dc, TRANSPARENT);
  const int text_top = TextTop(dc, rect);
  if (row == 0) {
    const WideString caption = Translate(kHeaderCaptions[column]);
    const bool sorted = column == StringGrid1.SortColumn();
    const win::Picture& arrow =
        StringGrid1.SortOptions().SortDirection == win::TSortDirection::sdDescending ? Image7
                                                                                     : Image6;
    HTHEME theme =
        VisualStylesInUse() ? OpenThemeData(StringGrid1.HeaderHandle(), L"HEADER") : nullptr;
    if (theme) {
      DrawThemeBackground(theme, dc, HP_HEADERITEM, sorted ? HIS_HOT : HIS_NORMAL, &rect, nullptr);
      if (sorted) DrawPicture(dc, arrow, rect.left + TextSize(dc, caption).cx + 3, rect.top + 3);
      RECT text_rect = rect;
      text_rect.left += 2;
      DrawThemeText(theme, dc, HP_HEADERITEM, HIS_NORMAL, caption.c_str(), -1, 0, 0, &text_rect);
      CloseThemeData(theme);
      return;
    }
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    StretchResourceBitmap(dc, sorted ? L"ACTIVE" : L"UNACTIVE", rect);
    if (sorted) {
      SetTextColor(dc, RGB(0, 0, 0));
      DrawText(dc, rect.left + 18, text_top, rect, caption);
      DrawPicture(dc, arrow, rect.left + 1, rect.top + 3);
    } else {
      SetTextColor(dc, RGB(128, 128, 128));
      DrawText(dc, rect.left + 4, text_top, rect, caption);
    }
    return;
  }

  const std::size_t record = StringGrid1.RecordAt(row);
  const bool selected = (state & (win::gdSelected | win::gdFocused)) != 0;
  const bool highlighted = selected || StringGrid1.IsRowMarked(row);
  const COLORREF fill = highlighted ? kSelectedFill : (row % 2 ? kOddFill : kEvenFill);
  SetTextColor(dc, highlighted ? RGB(255, 255, 255) : RGB(0, 0, 0));
  SetDCBrushColor(dc, fill);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

  switch (column) {
    case 2:
      DrawText(dc, rect.left + 5, text_top, rect, library_.Record(record).path);
      break;
    case 0: {
      const int width = StringGrid1.ColWidths(0);
      const WideString& path = library_.Record(record).path;
      if (path.size() > 3 && library_.StateOf(record, library_prober_) == PathState::kMissing) {
        DrawPicture(dc, selected ? imgInvalid_Sel : imgInvalid, rect.left + width - 14,
                    rect.top + (rect.bottom - rect.top) / 2 - 5);
      }
      const WideString number = IntToWide(row);
      DrawText(dc, rect.left + width - TextSize(dc, number).cx - 16, text_top, rect, number);
      break;
    }
    case 1: {
      const WideString file =
          folder_.File(WideString(files::kIconsFolder) + library_.Record(record).value + L".ico");
      if (HICON icon = library_icons_.Get(file, kIconSize)) {
        DrawIconEx(dc, rect.left + (StringGrid1.ColWidths(1) - kIconSize) / 2, rect.top + 4, icon,
                   kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
      }
      break;
    }
    default:
      break;
  }
}

}  // namespace stamplets::manager
