// Page 2, Themes: the installed themes, making one current, and packed
// themes (install, delete, pack).
#include "Unit1.h"

#include <shellapi.h>

#include "Dialogs.h"
#include "Links.h"
#include "Settings.h"
#include "System.h"
#include "ThemeActions.h"
#include "ThemePackage.h"
#include "TntIniFiles.h"
#include "Translation.h"

namespace stamplets::manager {

namespace {

using LanguageSupport::Translate;

constexpr int kThemeRowHeight = 74;
constexpr int kPreviewSize = 50;
constexpr COLORREF kSelectedRow = RGB(0, 113, 225);
constexpr COLORREF kOddRow = RGB(216, 233, 254);
constexpr COLORREF kEvenRow = RGB(255, 255, 255);

WideString PackageFilter() {
  return Translate(L"Varnok Stamplets Theme zipped") + L" ( *.qmz )|*.qmz";
}

// "/n" in either letter case is a line break of the legal notice.
WideString WithLineBreaks(const WideString& text) {
  return ReplaceAll(ReplaceAll(text, L"/n", L"\r\n"), L"/N", L"\r\n");
}

// The install's questions, asked by the main window.
class PagePrompts : public ThemeInstallPrompts {
 public:
  explicit PagePrompts(HWND owner) : owner_(owner) {}
  bool ConfirmInstall(const WideString& theme_name) override {
    return AskYesNo(owner_, Translate(L"Install theme :") + L" \"" + theme_name + L"\" ?",
                    L"Confirm");
  }
  void ReportCorrupted() override {
    ShowUserMessage(owner_, L"Theme is corrupted, sorry.", L"Error", MB_OK);
  }

 private:
  HWND owner_;
};

}  // namespace

void TForm1::ScanThemes() {
  // Hidden and system entries are not listed, nor plain files.
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(folder_.File(L"themes\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const WideString name = data.cFileName;
    if (name == L"." || name == L".." || name == L"...") continue;
    if (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
    if (sys::DirectoryExists(folder_.File(files::kThemesFolder) + name)) ListBox1.Add(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

void TForm1::SelectCurrentTheme() {
  WideString current = files::kDefaultTheme;
  try {
    current = Settings(folder_.File(files::kSettings)).ReadTheme();
  } catch (const std::exception&) {
    current = files::kDefaultTheme;
  }
  for (int i = 0; i < ListBox1.Count(); ++i) {
    if (ListBox1.Item(i) == current) {
      ListBox1.SetItemIndex(i);
      break;
    }
  }
  ListBox1Click();
}

void TForm1::ListBox1Click() {
  const int index = ListBox1.ItemIndex();
  if (ListBox1.Count() == 0 || index < 0) return;
  TTntIniFile description(folder_.ThemeFolder(ListBox1.Item(index)) + files::kThemeDescription);
  th_THEME_NAME.SetText(description.ReadString(L"AUTHOR", L"THEME_NAME", L""));
  th_Author.SetText(description.ReadString(L"AUTHOR", L"NAME", L""));
  th_Ver.SetText(description.ReadString(L"AUTHOR", L"VER", L""));
  th_COPYRIGHT.SetText(WithLineBreaks(description.ReadString(L"AUTHOR", L"COPYRIGHT", L"")));
}

void TForm1::ListBox1DblClick() {
  if (ListBox1.Count() == 0) return;
  const int index = ListBox1.ItemIndex();
  if (index < 0) {
    ShowUserMessage(Handle(), L"Please, select theme", L"Note", MB_OK);
    return;
  }
  const WideString name = ListBox1.Item(index);
  ActivateTheme(folder_.ThemeFolder(name));
  StoreCurrentTheme(folder_, name);
}

void TForm1::ListBox1MeasureItem(int /*index*/, int& height) {
  height = kThemeRowHeight;
}

void TForm1::ListBox1DrawItem(const win::DrawItemArgs& item) {
  if (item.index < 0) return;
  const RECT& row = item.rect;
  const bool selected = (item.state & ODS_SELECTED) != 0;
  win::unique_hbrush background(CreateSolidBrush(selected         ? kSelectedRow
                                                 : item.index % 2 ? kOddRow
                                                                  : kEvenRow));
  FillRect(item.dc, &row, background.get());
  SetTextAlign(item.dc, TA_LEFT | TA_TOP);
  SetBkMode(item.dc, TRANSPARENT);

  const WideString name = ListBox1.Item(item.index);
  const WideString theme = folder_.ThemeFolder(name);
  if (!sys::DirectoryExists(theme)) return;

  // Every painted row loads its icons from disk and frees them at once.
  for (int n = 1; n <= 10; ++n) {
    const WideString icon_file = theme + IntToWide(n) + L".ico";
    if (!sys::FileExists(icon_file)) continue;
    win::unique_hicon icon(static_cast<HICON>(LoadImageW(
        nullptr, icon_file.c_str(), IMAGE_ICON, kPreviewSize, kPreviewSize, LR_LOADFROMFILE)));
    if (icon)
      DrawIconEx(item.dc, row.left + 58 * n - 48, row.top + 4, icon.get(), kPreviewSize,
                 kPreviewSize, 0, nullptr, DI_NORMAL);
  }

  LOGFONTW font{};
  GetObjectW(ListBox1.Font(), sizeof font, &font);
  font.lfWeight = FW_BOLD;
  win::unique_hfont bold(CreateFontIndirectW(&font));
  win::SelectObjectScope use_bold(item.dc, bold.get());
  SetTextColor(item.dc, RGB(0, 0, 0));
  WideString text = name;
  if (name == files::kDefaultTheme) text += L" (" + Translate(L"default") + L")";
  TextOutW(item.dc, row.left + 2, row.bottom - 18, text.c_str(), static_cast<int>(text.size()));
}

void TForm1::ActivateTheme(const WideString& theme_folder) {
  stamplets::ActivateTheme(Handle(), folder_, theme_folder);
}

void TForm1::TntLabel8Click() {
  OpenWithShell(nullptr, kMoreThemesPage, SW_SHOW);
}

void TForm1::tb_AddThemeClick() {
  // However the install ends, the pending file is consumed.
  struct Consume {
    WideString& file;
    ~Consume() { file.clear(); }
  } consume{PendingThemeFile};

  if (PendingThemeFile.empty()) {
    PendingThemeFile =
        PickFile({Handle(), false, Translate(L"Select Theme to install"), PackageFilter(), L""});
    if (PendingThemeFile.empty()) return;
  }
  if (installing_) return;
  installing_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{installing_};

  PagePrompts prompts(Handle());
  if (InstallThemePackage(folder_, PendingThemeFile, prompts) == InstallResult::kInstalled) {
    ListBox1.Clear();
    ScanThemes();
  }
}

void TForm1::HandleDroppedFiles(HDROP drop) {
  win::unique_hdrop dropped(drop);
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    WideString name(length, L'\0');
    DragQueryFileW(drop, i, name.data(), length + 1);
    // Folders are skipped; any file is offered, whatever its extension.
    if (!sys::FileExists(name)) continue;
    PendingThemeFile = name;
    tb_AddThemeClick();
  }
}

void TForm1::tb_DeleteThemeClick() {
  if (ListBox1.Count() == 0) return;
  const int index = ListBox1.ItemIndex();
  if (index < 0) {
    ShowUserMessage(Handle(), L"Please select theme to delete.", L"Information", MB_OK);
    return;
  }
  if (!AskYesNo(Handle(), L"Remove selected Theme ?", L"Accept ?")) return;
  DeleteTheme(folder_, ListBox1.Item(index));
  ListBox1.Clear();
  ScanThemes();
}

void TForm1::tb_PackThemeClick() {
  if (ListBox1.Count() == 0) return;
  const int index = ListBox1.ItemIndex();
  if (index < 0) {
    ShowUserMessage(Handle(), L"Please select theme to pack.", L"Information", MB_OK);
    return;
  }
  const WideString source = folder_.File(files::kThemesFolder) + ListBox1.Item(index);
  const WideString archive =
      PickFile({Handle(), true, Translate(L"Save Packed theme for Distribution as"),
                PackageFilter(), L"qmz"});
  if (archive.empty()) return;
  ShowUserMessage(Handle(),
                  PackTheme(source, archive) > 10 ? L"Packed theme was created succesfully"
                                                  : L"Packed theme was NOT created",
                  L"Information", MB_OK);
}

}  // namespace stamplets::manager
