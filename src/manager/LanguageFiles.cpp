#include "LanguageFiles.h"

#include "TntIniFiles.h"

namespace stamplets::languages {

namespace {

// One value of a language file; the fallback when the file cannot be read.
WideString ReadValue(const InstallFolder& folder, WideStringView entry, const wchar_t* section,
                     const wchar_t* key, const WideString& fallback) {
  try {
    TTntIniFile ini(folder.LanguageFile(entry));
    return ini.ReadString(section, key, fallback);
  } catch (const std::exception&) {
    return fallback;
  }
}

bool StartsWithNoCase(WideStringView s, WideStringView head) {
  return s.size() >= head.size() && SameText(s.substr(0, head.size()), head);
}

// Blanks, control characters and quotes have no place in an address; a
// quote could end the argument the shell builds for the browser.
bool HasUnsafeCharacter(WideStringView s) {
  for (wchar_t c : s)
    if (c < 33 || c == L'"' || c == 0x7F) return true;
  return false;
}

}  // namespace

WideString GetNativeName(const InstallFolder& folder, WideStringView entry) {
  return ReadValue(folder, entry, L"Dict", L"Native Name", L"");
}

WideString GetTranslationVersion(const InstallFolder& folder, WideStringView entry) {
  return ReadValue(folder, entry, L"Translator", L"Ver", L"");
}

TranslatorInfo ReadTranslator(const InstallFolder& folder, WideStringView entry) {
  TranslatorInfo info{kUnknown, kUnknown, kUnknown};
  try {
    TTntIniFile ini(folder.LanguageFile(entry));
    info.author = ini.ReadString(L"TRANSLATOR", L"Author", kUnknown);
    info.www = ini.ReadString(L"TRANSLATOR", L"www", kUnknown);
    info.email = ini.ReadString(L"TRANSLATOR", L"email", kUnknown);
  } catch (const std::exception&) {
  }
  return info;
}

WideString LanguageRowText(WideStringView entry, WideStringView native_name) {
  if (native_name.size() < kMinNativeNameLength) return WideString(entry);
  return WideString(native_name) + L"   (" + WideString(entry) + L")";
}

WideString FlagIconFile(const InstallFolder& folder, WideStringView entry) {
  const std::size_t name_start = entry.find_last_of(L"\\/:") + 1;  // npos + 1 == 0
  std::size_t dot = entry.rfind(L'.');
  if (dot == WideStringView::npos || dot < name_start) dot = entry.size();
  return folder.LanguageFile(WideString(entry.substr(0, dot)) + L".ico");
}

std::optional<WideString> WebLinkTarget(WideStringView field) {
  const WideString text = TrimControls(field);
  for (WideStringView scheme : {WideStringView(L"http://"), WideStringView(L"https://")}) {
    if (!StartsWithNoCase(text, scheme)) continue;
    const WideStringView rest = WideStringView(text).substr(scheme.size());
    if (rest.empty() || rest.front() == L'/' || HasUnsafeCharacter(rest)) return std::nullopt;
    return text;
  }
  return std::nullopt;
}

std::optional<WideString> MailLinkTarget(WideStringView field) {
  WideString address = TrimControls(field);
  if (StartsWithNoCase(address, L"mailto:")) address.erase(0, 7);
  // One "@" with something on both sides, and no second scheme, path or
  // query of its own.
  const std::size_t at = address.find(L'@');
  if (at == WideString::npos || at == 0 || at + 1 == address.size()) return std::nullopt;
  if (address.find(L'@', at + 1) != WideString::npos) return std::nullopt;
  if (address.find_first_of(L":/\\?&%<>") != WideString::npos) return std::nullopt;
  if (HasUnsafeCharacter(address)) return std::nullopt;
  return L"mailto:" + address + L"?";
}

}  // namespace stamplets::languages
