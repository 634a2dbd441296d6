#include "ThemeActions.h"

#include "Installation.h"
#include "Settings.h"
#include "System.h"
#include "Un_ApiFunctions.h"

namespace stamplets {

namespace {

using Un_ApiFunctions::ShellCopy;
using Un_ApiFunctions::ShellDelete;

void ReplaceCurrentIcon(const WideString& source, const WideString& current) {
  const WideString backup = current + L".old";
  if (sys::FileExists(current)) {
    SetFileAttributesW(current.c_str(), FILE_ATTRIBUTE_NORMAL);
    // Without its backup the current icon is not given up.
    if (!ShellCopy(current, backup) || !sys::FileExists(backup)) return;
    ShellDelete(current);
  }
  // A missing N.ico (or a folder of that name) is not handed to the shell,
  // which would report it or copy a folder into the icon's place.
  if (sys::FileExists(source) && ShellCopy(source, current) && sys::FileExists(current)) {
    if (sys::FileExists(backup)) ShellDelete(backup);
    return;
  }
  if (!sys::FileExists(backup)) return;
  if (!ShellCopy(backup, current) || !sys::FileExists(current))
    MoveFileExW(backup.c_str(), current.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

void ActivateTheme(HWND owner, const InstallFolder& folder, const WideString& theme_folder) {
  WideString source_folder = theme_folder;
  if (!source_folder.empty() && source_folder.back() != L'\\' && source_folder.back() != L'/')
    source_folder += L'\\';
  if (sys::DirectoryExists(source_folder)) {
    for (int n = 1; n <= 10; ++n)
      ReplaceCurrentIcon(source_folder + IntToWide(n) + L".ico", folder.CurrentIcon(n));
  }
  win::StartIconRefresher(owner, folder);
}

void StoreCurrentTheme(const InstallFolder& folder, const WideString& theme_name) {
  try {
    Settings(folder.File(files::kSettings)).WriteTheme(theme_name);
  } catch (const std::exception&) {
    // The icons are in place all the same; the name is kept another time.
  }
}

void DeleteTheme(const InstallFolder& folder, const WideString& theme_name) {
  if (theme_name.empty()) return;  // never the themes folder itself
  Un_ApiFunctions::ShellDeleteFolder(folder.File(files::kThemesFolder) + theme_name);
}

}  // namespace stamplets
