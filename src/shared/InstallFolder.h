// The installation folder and the names of everything in it. Every data file
// of Stamplets is named relative to the folder that holds the running
// program (the manager) or module (Stamptab). Relative names use "\"; the
// host backend reads it as its own separator.
#pragma once

#include "WideText.h"

namespace stamplets {

// What Stamptab uses when its module's file name cannot be had: it names no
// folder, so every file formed from it is simply missing.
inline constexpr wchar_t kNoInstallFolder[] = L"/\\++";

namespace files {
inline constexpr wchar_t kSettings[] = L"settings.ini";
inline constexpr wchar_t kStore[] = L"base.ini";
inline constexpr wchar_t kStamptab[] = L"Stamptab.dll";
inline constexpr wchar_t kContextMenuModule[] = L"stampletsmenu.dll";
inline constexpr wchar_t kIconRefresher[] = L"ric.exe";
inline constexpr wchar_t kIconsFolder[] = L"icons\\";
inline constexpr wchar_t kResetIcon[] = L"icons\\reset.ico";
inline constexpr wchar_t kThemesFolder[] = L"themes\\";
inline constexpr wchar_t kLangsFolder[] = L"langs\\";
inline constexpr wchar_t kEnglishFlag[] = L"langs\\uk.ico";
inline constexpr wchar_t kToolbarFolder[] = L"toolbar\\";
inline constexpr wchar_t kThemeDescription[] = L"plist.ini";
inline constexpr wchar_t kTempIni[] = L"~temp.ini";
inline constexpr wchar_t kTempIcon[] = L"~temp.ico";
inline constexpr wchar_t kDefaultTheme[] = L"Zadovu";
inline constexpr wchar_t kDefaultToolbarSet[] = L"Zadovu";
}  // namespace files

// A folder path with its final separator; every name is appended to it.
class InstallFolder {
 public:
  InstallFolder() = default;
  // `folder` with or without its final separator.
  explicit InstallFolder(WideString folder);
  // The folder of a program or module file ("C:\a\b.exe" -> "C:\a\").
  static InstallFolder OfFile(WideStringView file_path);

  const WideString& Path() const { return folder_; }
  // Folder + relative name, for example File(files::kStore).
  WideString File(WideStringView relative) const { return folder_ + WideString(relative); }
  // icons\N.ico, the current icon of stamplet N (0 gives icons\reset.ico).
  WideString CurrentIcon(int number) const;
  // themes\<name>\ with its final separator.
  WideString ThemeFolder(WideStringView theme) const;
  // langs\<name> (a language file's name with its extension).
  WideString LanguageFile(WideStringView name) const;
  // toolbar\<name>\ with its final separator.
  WideString ToolbarSetFolder(WideStringView name) const;

 private:
  WideString folder_;
};

}  // namespace stamplets
