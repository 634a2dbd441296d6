// Page 2, Themes: the installed themes, making one current, and packed
// themes (install, delete, pack).
#include "Unit1.h"

namespace stamplets::manager {

void TForm1::ScanThemes() {}

void TForm1::SelectCurrentTheme() {}

void TForm1::ListBox1Click() {}

void TForm1::ListBox1DblClick() {}

void TForm1::ListBox1MeasureItem(int /*index*/, int& /*height*/) {}

void TForm1::ListBox1DrawItem(const win::DrawItemArgs& /*item*/) {}

void TForm1::ActivateTheme(const WideString& /*theme_folder*/) {}

void TForm1::TntLabel8Click() {}

void TForm1::tb_AddThemeClick() {
  PendingThemeFile.clear();
}

void TForm1::HandleDroppedFiles(HDROP drop) {
  DragFinish(drop);
}

void TForm1::StoreThemeIcon(int /*number*/) {}

void TForm1::tb_DeleteThemeClick() {}

void TForm1::tb_PackThemeClick() {}

}  // namespace stamplets::manager
