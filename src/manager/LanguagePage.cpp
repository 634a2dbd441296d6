// Page 4, Language: the language files and the current language.
#include "Unit1.h"

namespace stamplets::manager {

void TForm1::FindFiles(const std::string& /*folder*/, const std::string& /*mask*/,
                       TTntStringList& /*list*/) {}

void TForm1::LoadCurrentLanguage() {}

WideString TForm1::GetNativeName(const WideString& /*entry*/) {
  return {};
}

WideString TForm1::GetTranslationVersion(const WideString& /*entry*/) {
  return {};
}

void TForm1::ListBox2Click() {}

void TForm1::ListBox2DblClick() {}

void TForm1::ListBox2MeasureItem(int /*index*/, int& /*height*/) {}

void TForm1::ListBox2DrawItem(const win::DrawItemArgs& /*item*/) {}

void TForm1::ed_wwwClick() {}

void TForm1::ed_EmailClick() {}

void TForm1::Label12Click() {}

}  // namespace stamplets::manager
