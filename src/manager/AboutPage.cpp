// The About page: program name, version, credits and the two links.
#include "Unit1.h"

#include "Dialogs.h"
#include "Links.h"
#include "Translation.h"

namespace stamplets::manager {

namespace {

constexpr wchar_t kCopyrightLine[] = L" \u00A9 2026 The Stamplets team";

// Places `value` 6 pixels right of its caption label.
void PlaceAfter(const win::Label& value, const win::Label& caption) {
  value.SetLeft(caption.Left() + caption.Width() + 6);
}

}  // namespace

void TForm1::ShowAboutTexts() {
  using LanguageSupport::Translate;
  Label4.SetText(Translate(L"Version:") + L" " + kVersionText);
  Label6.SetText(Translate(L"Copyright") + kCopyrightLine);
  // A label shows "&&" as one ampersand.
  Label21.SetText(ReplaceAll(Translate(L"Idea & Design: "), L"&", L"&&"));
  Label8.SetText(L"The Stamplets team");
  Label9.SetText(L"The Stamplets team");
  PlaceAfter(Label10, Label18);
  PlaceAfter(Label17, Label19);
  PlaceAfter(Label9, Label20);
  PlaceAfter(Label8, Label21);
}

void TForm1::Label10Click() {
  OpenWithShell(nullptr, kWebPage, SW_SHOW);
}

void TForm1::Label17Click() {
  const WideString version = ReplaceAll(kVersionText, L" ", L"%20");
  const WideString link = WideString(L"mailto:") + kSupportMail +
                          L"?Subject=Stamplets%20%20&body=My%20Stamplets%20version%20is%20" +
                          version +
                          L"%0D%0A%0A(Please%20use%20only%20English%20and%20Russian)%0D%0A%0A";
  OpenWithShell(Handle(), link, SW_SHOWNORMAL);
}

}  // namespace stamplets::manager
