// Page 1, Library: every record of the stamplet store.
#include "Unit1.h"

namespace stamplets::manager {

void TForm1::LoadLibraryGrid() {}

void TForm1::ReloadLibrary() {}

void TForm1::CheckLibraryChanged() {}

void TForm1::AddLibraryRow(const WideString& /*path*/, const WideString& /*value*/) {}

bool TForm1::PathLooksValid(const WideString& /*path*/) {
  return true;
}

bool TForm1::RowInSelection(int /*column*/, int /*row*/) {
  return false;
}

void TForm1::Button5Click() {}

void TForm1::Button6Click() {}

bool TForm1::StringGrid1SelectCell(int /*column*/, int /*row*/) {
  return true;
}

void TForm1::StringGrid1ClickSort(int /*column*/, int /*row*/, SortOptions& /*options*/) {}

void TForm1::StringGrid1DrawCell(HDC /*dc*/, int /*column*/, int /*row*/, const RECT& /*rect*/,
                                 UINT /*state*/) {}

}  // namespace stamplets::manager
