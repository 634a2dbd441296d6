#include "InstallFolder.h"

namespace stamplets {

namespace {
bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}
}  // namespace

InstallFolder::InstallFolder(WideString folder) : folder_(std::move(folder)) {
  if (!folder_.empty() && !IsSeparator(folder_.back())) folder_ += L'\\';
}

InstallFolder InstallFolder::OfFile(WideStringView file_path) {
  size_t cut = file_path.find_last_of(L"\\/");
  InstallFolder folder;
  folder.folder_ =
      cut == WideStringView::npos ? WideString() : WideString(file_path.substr(0, cut + 1));
  return folder;
}

WideString InstallFolder::CurrentIcon(int number) const {
  if (number == 0) return File(files::kResetIcon);
  return folder_ + files::kIconsFolder + IntToWide(number) + L".ico";
}

WideString InstallFolder::ThemeFolder(WideStringView theme) const {
  return folder_ + files::kThemesFolder + WideString(theme) + L"\\";
}

WideString InstallFolder::LanguageFile(WideStringView name) const {
  return folder_ + files::kLangsFolder + WideString(name);
}

WideString InstallFolder::ToolbarSetFolder(WideStringView name) const {
  return folder_ + files::kToolbarFolder + WideString(name) + L"\\";
}

}  // namespace stamplets
