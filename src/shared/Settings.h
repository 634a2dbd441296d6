// settings.ini: window placement, toolbar set, current theme and language.
// Each call opens the file, reads or writes its keys, and frees it.
#pragma once

#include "WideText.h"

namespace stamplets {

namespace settings {
inline constexpr wchar_t kPosition[] = L"position";
inline constexpr wchar_t kToolbar[] = L"Toolbar";
inline constexpr wchar_t kTheme[] = L"Theme";
inline constexpr wchar_t kTranslate[] = L"Translate";
inline constexpr wchar_t kName[] = L"Name";
inline constexpr wchar_t kCurLang[] = L"CurLang";
// What the manager takes when no language was chosen; it names no file.
inline constexpr wchar_t kManagerDefaultLanguage[] = L"Default (my bad English)";
// What Stamptab takes when no language was chosen.
inline constexpr wchar_t kStamptabDefaultLanguage[] = L"Default";
inline constexpr wchar_t kEnglish[] = L"English";
}  // namespace settings

// The outer window's bounds in screen pixels and its state.
struct WindowPlacement {
  enum State { kNormal = 0, kMinimized = 1, kMaximized = 2 };
  int left = 0;
  int width = 640;
  int top = 0;
  int height = 480;
  int state = kNormal;
  bool operator==(const WindowPlacement&) const = default;
};

class Settings {
 public:
  explicit Settings(WideString settings_ini_path) : path_(std::move(settings_ini_path)) {}
  const WideString& Path() const { return path_; }

  // Reads left, width, top, height, State in that order, each with its default.
  WindowPlacement ReadPlacement() const;
  // Writes State, then, only in the normal state, the four bounds. A refused
  // write raises EIniFileException.
  void WritePlacement(const WindowPlacement& placement) const;

  // The three names fall back to their default when the key is missing or
  // the file cannot be read.
  WideString ReadToolbarSet() const;
  void WriteToolbarSet(const WideString& name) const;
  WideString ReadTheme() const;
  void WriteTheme(const WideString& name) const;
  WideString ReadLanguage(const WideString& fallback) const;
  void WriteLanguage(const WideString& name) const;

 private:
  WideString ReadText(const wchar_t* section, const wchar_t* key, const WideString& fallback) const;
  void WriteText(const wchar_t* section, const wchar_t* key, const WideString& value) const;

  WideString path_;
};

}  // namespace stamplets
