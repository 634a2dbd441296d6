// Page 5, Settings: shell integration and the toolbar sets.
#include <windows.h>

#include "Dialogs.h"
#include "Settings.h"
#include "ShellIntegration.h"
#include "System.h"
#include "ToolbarSets.h"
#include "Unit1.h"

namespace stamplets::manager {

namespace {

constexpr int kItemHeight = 48;
constexpr int kSelectionFieldHeight = 36;
constexpr int kIconSize = 32;
constexpr int kItemTextX = 184;

win::unique_hicon LoadIconFile(const WideString& path) {
  return win::unique_hicon(static_cast<HICON>(
      LoadImageW(nullptr, path.c_str(), IMAGE_ICON, kIconSize, kIconSize, LR_LOADFROMFILE)));
}

// The picked set's name: the selected item's text, empty when none is.
WideString PickedSet(const win::ComboBox& combo) {
  const int index = combo.ItemIndex();
  return index < 0 ? WideString() : combo.Item(index);
}

}  // namespace

void TForm1::ProbeShellIntegration() {
  const shell::IntegrationState state = shell::ProbeShellIntegration();
  cb_Prop.SetChecked(state.property_page);
  cb_Folders.SetChecked(state.folder_menu);
  cb_All.SetChecked(state.file_menu);
  cb_Menu.SetChecked(cb_All.Checked() && cb_Folders.Checked());
}

void TForm1::ListToolbarSets() {
  for (const WideString& set : toolbar::ListToolbarSets(folder_))
    cbTBThemes.Add(set);
}

void TForm1::LoadToolbarSet(const WideString& name) {
  win::Picture* pages[] = {&i_1, &i_2, &i_3, &i_4, &i_5};
  const auto icons = toolbar::ExistingIconFiles(folder_, name);
  for (int i = 0; i < 5; ++i) {
    if (icons[i].empty()) continue;
    // A file that is no icon leaves the page its picture.
    if (win::unique_hicon icon = LoadIconFile(icons[i])) pages[i]->SetIcon(std::move(icon));
  }
}

void TForm1::ApplySavedToolbarSet() {
  std::vector<WideString> listed;
  for (int i = 0; i < cbTBThemes.Count(); ++i)
    listed.push_back(cbTBThemes.Item(i));
  const toolbar::SavedChoice choice = toolbar::ReadSavedChoice(folder_, listed);
  cbTBThemes.SetItemIndex(choice.index);
  if (!choice.load) return;
  LoadToolbarSet(choice.name);
  ShowPage(1);
}

void TForm1::cbTBThemesChange() {
  const WideString name = PickedSet(cbTBThemes);
  if (name == toolbar::kBuiltInSetName) return;
  LoadToolbarSet(name);
  // The buttons show the new icons; the Settings page stays in front.
  ShowPage(5);
  cbTBThemes.SetFocus();
}

void TForm1::cbTBThemesMeasureItem(int index, int& height) {
  height = index < 0 ? kSelectionFieldHeight : kItemHeight;
}

void TForm1::cbTBThemesDrawItem(const win::DrawItemArgs& item) {
  HDC dc = item.dc;
  const RECT& r = item.rect;
  const bool selected = item.state & ODS_SELECTED;
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  SetBkMode(dc, TRANSPARENT);
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.index < 0 || item.index >= cbTBThemes.Count()) return;

  const WideString set = cbTBThemes.Item(item.index);
  const auto icons = toolbar::ExistingIconFiles(folder_, set);
  for (const toolbar::IconFile& file : toolbar::kIconFiles) {
    const WideString& path = icons[file.page - 1];
    if (path.empty()) continue;
    if (win::unique_hicon icon = LoadIconFile(path))
      DrawIconEx(dc, file.item_x, r.top + 4, icon.get(), 0, 0, 0, nullptr, DI_NORMAL);
  }

  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
  win::SelectObjectScope font(dc, cbTBThemes.Font());
  SIZE wg{};
  GetTextExtentPoint32W(dc, L"Wg", 2, &wg);
  const WideString text = toolbar::ItemText(set);
  TextOutW(dc, kItemTextX, r.bottom - wg.cy - 24, text.c_str(), static_cast<int>(text.size()));
}

void TForm1::Button1Click() {
  // A settings file that cannot be written ends Apply here, with the error.
  Settings(folder_.File(files::kSettings)).WriteToolbarSet(PickedSet(cbTBThemes));
  const auto calls = shell::ApplyShellIntegration(folder_, cb_Prop.Checked(), cb_Menu.Checked());
  const WideString failures = shell::DescribeFailures(calls);
  if (!failures.empty()) ShowUserMessage(Handle(), failures, L"Error", MB_OK | MB_ICONERROR);
  // The boxes show what is registered now, not what was asked for.
  ProbeShellIntegration();
}

}  // namespace stamplets::manager
