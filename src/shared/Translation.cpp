#include "Translation.h"

#include "Settings.h"
#include "System.h"
#include "TntIniFiles.h"

namespace stamplets {

namespace {

constexpr wchar_t kDictSection[] = L"Dict";

// The source unchanged, with its line-break markers replaced.
WideString Untranslated(WideStringView source) {
  return ExpandLineBreaks(source);
}

}  // namespace

WideString TranslateWithFile(WideStringView source, const WideString& language_file) {
  WideString key = TrimControls(source);
  if (key.empty()) return {};
  const bool ellipsis = EndsWith(key, L"...");
  if (ellipsis) key = TrimControls(WideStringView(key).substr(0, key.size() - 3));
  try {
    WideString result;
    {
      TTntIniFile ini(language_file);
      result = ini.ReadString(kDictSection, key, key);
    }
    if (ellipsis) result += L" ...";
    if (!TrimControls(result).empty()) return ExpandLineBreaks(result);
    return Untranslated(source);
  } catch (...) {
    return Untranslated(source);
  }
}

namespace LanguageSupport {

namespace {
InstallFolder& Folder() {
  static InstallFolder folder;
  return folder;
}
WideString& Current() {
  static WideString current;
  return current;
}
}  // namespace

void SetInstallFolder(const InstallFolder& folder) {
  Folder() = folder;
}
void SetCurrentLanguage(WideString name) {
  Current() = std::move(name);
}
const WideString& CurrentLanguage() {
  return Current();
}

WideString Translate(WideStringView source) {
  if (Current() == settings::kEnglish) return Untranslated(source);
  return TranslateWithFile(source, Folder().LanguageFile(Current()));
}

}  // namespace LanguageSupport

namespace StamptabText {

WideString LanguageFilePath(const InstallFolder& module_folder) {
  Settings settings(module_folder.File(files::kSettings));
  return module_folder.LanguageFile(settings.ReadLanguage(settings::kStamptabDefaultLanguage));
}

WideString Translate(WideStringView source, const InstallFolder& module_folder) {
  if (!sys::FileExists(LanguageFilePath(module_folder))) return Untranslated(source);
  return TranslateWithFile(source, LanguageFilePath(module_folder));
}

}  // namespace StamptabText

}  // namespace stamplets
