// Page 4, Language: the language files and the current language.
#include <windows.h>

#include "Dialogs.h"
#include "FindFiles.h"
#include "LanguageFiles.h"
#include "Links.h"
#include "Settings.h"
#include "System.h"
#include "Translation.h"
#include "Unit1.h"

namespace stamplets::manager {

namespace {

using LanguageSupport::Translate;

constexpr COLORREF kSelectedRow = RGB(0, 113, 225);
constexpr COLORREF kOddRow = RGB(216, 233, 254);
constexpr COLORREF kEvenRow = RGB(255, 255, 255);
// The current-language mark's transparent colour.
constexpr COLORREF kMarkTransparent = RGB(255, 0, 255);

// Lets the window system handle what is waiting while a long scan runs.
void ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The translator of an entry: the program's own for the built-in English.
languages::TranslatorInfo TranslatorOf(const InstallFolder& folder, const WideString& entry) {
  if (entry == settings::kEnglish) return {kEnglishAuthor, kEnglishWeb, kEnglishMail};
  return languages::ReadTranslator(folder, entry);
}

void ShowTranslator(TForm1& form, const WideString& entry) {
  const languages::TranslatorInfo info = TranslatorOf(form.Folder(), entry);
  form.ed_Author.SetText(info.author);
  form.ed_www.SetText(info.www);
  form.ed_Email.SetText(info.email);
}

// The first selected entry from the top; empty when none is selected.
WideString SelectedEntry(const win::ListBox& list) {
  const int index = list.ItemIndex();
  return index < 0 ? WideString() : list.Item(index);
}

int TextHeight(HDC dc, HFONT font) {
  win::SelectObjectScope select(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, L"Wg", 2, &size);
  return size.cy;
}

// An icon file drawn at its own size, read anew at every drawing.
void DrawIconFile(HDC dc, const WideString& path, int x, int y) {
  if (!sys::FileExists(path)) return;
  win::unique_hicon icon(
      static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE)));
  if (icon) DrawIconEx(dc, x, y, icon.get(), 0, 0, 0, nullptr, DI_NORMAL);
}

void DrawMark(HDC dc, HBITMAP mark, int x, int y) {
  if (!mark) return;
  BITMAP info{};
  GetObjectW(mark, sizeof info, &info);
  win::unique_hdc source(CreateCompatibleDC(dc));
  win::SelectObjectScope select(source.get(), mark);
  GdiTransparentBlt(dc, x, y, info.bmWidth, info.bmHeight, source.get(), 0, 0, info.bmWidth,
                    info.bmHeight, kMarkTransparent);
}

}  // namespace

void TForm1::FindFiles(const std::string& folder, const std::string& mask, TTntStringList& list) {
  ::stamplets::FindFiles(AnsiToWide(folder), AnsiToWide(mask), list, ProcessPendingMessages);
}

void TForm1::LoadCurrentLanguage() {
  const WideString name =
      Settings(folder_.File(files::kSettings)).ReadLanguage(settings::kManagerDefaultLanguage);
  LanguageSupport::SetCurrentLanguage(name);
  for (int i = 0; i < ListBox2.Count(); ++i) {
    if (ListBox2.Item(i) != name) continue;
    ListBox2.SetItemIndex(i);
    ed_CurLang.SetText(name);
  }
  ShowTranslator(*this, name);
}

WideString TForm1::GetNativeName(const WideString& entry) {
  return languages::GetNativeName(folder_, entry);
}

WideString TForm1::GetTranslationVersion(const WideString& entry) {
  return languages::GetTranslationVersion(folder_, entry);
}

void TForm1::ListBox2Click() {
  ShowTranslator(*this, SelectedEntry(ListBox2));
}

void TForm1::ListBox2DblClick() {
  const int index = ListBox2.ItemIndex();
  if (index >= 0) LanguageSupport::SetCurrentLanguage(ListBox2.Item(index));
  TntLabel7.SetText(Translate(L"* Please Restart application to apply Language"));
  try {
    Settings(folder_.File(files::kSettings)).WriteLanguage(LanguageSupport::CurrentLanguage());
  } catch (const std::exception&) {
    LanguageSupport::SetCurrentLanguage(settings::kEnglish);
  }
  LoadCurrentLanguage();
  ListBox2.Invalidate();
}

void TForm1::ListBox2MeasureItem(int /*index*/, int& height) {
  HDC dc = GetDC(ListBox2.Handle());
  height = TextHeight(dc, ListBox2.Font()) + 10;
  ReleaseDC(ListBox2.Handle(), dc);
}

void TForm1::ListBox2DrawItem(const win::DrawItemArgs& item) {
  if (item.index < 0 || item.index >= ListBox2.Count()) return;
  HDC dc = item.dc;
  const RECT& r = item.rect;
  const WideString entry = ListBox2.Item(item.index);
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  SetBkMode(dc, TRANSPARENT);

  const WideString text = languages::LanguageRowText(entry, GetNativeName(entry));
  const bool selected = item.state & ODS_SELECTED;
  win::unique_hbrush fill(CreateSolidBrush(selected              ? kSelectedRow
                                           : item.index % 2 == 1 ? kOddRow
                                                                 : kEvenRow));
  FillRect(dc, &r, fill.get());
  SetTextColor(dc, selected ? RGB(255, 255, 255) : RGB(0, 0, 0));

  {
    win::SelectObjectScope font(dc, ListBox2.Font());
    TextOutW(dc, r.left + 42, r.top + 1, text.c_str(), static_cast<int>(text.size()));
    const WideString version = GetTranslationVersion(entry);
    TextOutW(dc, r.right - 45, r.top + 1, version.c_str(), static_cast<int>(version.size()));
  }
  DrawIconFile(dc, languages::FlagIconFile(folder_, entry), r.left + 17, r.top + 2);
  if (entry == settings::kEnglish)
    DrawIconFile(dc, folder_.File(files::kEnglishFlag), r.left + 17, r.top);
  if (entry == ed_CurLang.Text()) DrawMark(dc, imgCurLang.Bitmap(), r.left + 1, r.top + 4);
}

// A language file is anyone's data: its addresses are opened only when they
// are a web page or a mail address, never as a program or a file.
void TForm1::ed_wwwClick() {
  if (auto target = languages::WebLinkTarget(ed_www.Text()))
    OpenWithShell(nullptr, *target, SW_SHOW);
}

void TForm1::ed_EmailClick() {
  if (auto target = languages::MailLinkTarget(ed_Email.Text()))
    OpenWithShell(Handle(), *target, SW_SHOWNORMAL);
}

void TForm1::Label12Click() {
  OpenWithShell(nullptr, kMoreLanguagesPage, SW_SHOW);
}

}  // namespace stamplets::manager
