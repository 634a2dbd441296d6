#include "Settings.h"

#include "InstallFolder.h"
#include "TntIniFiles.h"

namespace stamplets {

WindowPlacement Settings::ReadPlacement() const {
  TTntIniFile ini(path_);
  WindowPlacement p;
  p.left = ini.ReadInteger(settings::kPosition, L"left", p.left);
  p.width = ini.ReadInteger(settings::kPosition, L"width", p.width);
  p.top = ini.ReadInteger(settings::kPosition, L"top", p.top);
  p.height = ini.ReadInteger(settings::kPosition, L"height", p.height);
  p.state = ini.ReadInteger(settings::kPosition, L"State", p.state);
  return p;
}

void Settings::WritePlacement(const WindowPlacement& placement) const {
  TTntIniFile ini(path_);
  ini.WriteInteger(settings::kPosition, L"State", placement.state);
  if (placement.state != WindowPlacement::kNormal) return;
  ini.WriteInteger(settings::kPosition, L"left", placement.left);
  ini.WriteInteger(settings::kPosition, L"width", placement.width);
  ini.WriteInteger(settings::kPosition, L"top", placement.top);
  ini.WriteInteger(settings::kPosition, L"height", placement.height);
}

WideString Settings::ReadText(const wchar_t* section, const wchar_t* key,
                              const WideString& fallback) const {
  try {
    TTntIniFile ini(path_);
    return ini.ReadString(section, key, fallback);
  } catch (const std::exception&) {
    return fallback;
  }
}

void Settings::WriteText(const wchar_t* section, const wchar_t* key,
                         const WideString& value) const {
  TTntIniFile ini(path_);
  ini.WriteString(section, key, value);
}

WideString Settings::ReadToolbarSet() const {
  return ReadText(settings::kToolbar, settings::kName, files::kDefaultToolbarSet);
}
void Settings::WriteToolbarSet(const WideString& name) const {
  WriteText(settings::kToolbar, settings::kName, name);
}
WideString Settings::ReadTheme() const {
  return ReadText(settings::kTheme, settings::kName, files::kDefaultTheme);
}
void Settings::WriteTheme(const WideString& name) const {
  WriteText(settings::kTheme, settings::kName, name);
}
WideString Settings::ReadLanguage(const WideString& fallback) const {
  return ReadText(settings::kTranslate, settings::kCurLang, fallback);
}
void Settings::WriteLanguage(const WideString& name) const {
  WriteText(settings::kTranslate, settings::kCurLang, name);
}

}  // namespace stamplets
