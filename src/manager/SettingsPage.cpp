// Page 5, Settings: shell integration and the toolbar sets.
#include "Unit1.h"

namespace stamplets::manager {

void TForm1::ProbeShellIntegration() {}

void TForm1::ListToolbarSets() {}

void TForm1::LoadToolbarSet(const WideString& /*name*/) {}

void TForm1::ApplySavedToolbarSet() {}

void TForm1::cbTBThemesChange() {}

void TForm1::cbTBThemesMeasureItem(int /*index*/, int& /*height*/) {}

void TForm1::cbTBThemesDrawItem(const win::DrawItemArgs& /*item*/) {}

void TForm1::Button1Click() {}

}  // namespace stamplets::manager
