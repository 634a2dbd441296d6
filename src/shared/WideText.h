// Wide text of the portable core: UTF-16 code units held in std::wstring.
// On Windows wchar_t is one UTF-16 code unit; on the Linux host (32-bit
// wchar_t) each element still holds one UTF-16 code unit, so hashing, file
// bytes and comparisons behave the same on both.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace stamplets {

using WideString = std::wstring;
using WideStringView = std::wstring_view;

// Removes every character with a code below 33 (blanks and control
// characters) from both ends.
WideString TrimControls(WideStringView s);
std::string TrimControls(std::string_view s);

// Replaces every occurrence of `from` by `to`, scanning left to right and
// going on after each replacement.
WideString ReplaceAll(WideStringView s, WideStringView from, WideStringView to);

// Replaces every "/n" by U+000A U+000D (line feed, then carriage return).
WideString ExpandLineBreaks(WideStringView s);

bool EndsWith(WideStringView s, WideStringView tail);
bool StartsWith(WideStringView s, WideStringView head);

// Upper case by the platform's wide conversion (CharUpperBuffW on Windows).
WideString UpperCase(WideStringView s);
bool SameText(WideStringView a, WideStringView b);

// Conversions through the system's ANSI code page (CP_ACP on Windows,
// Windows-1252 on the host).
WideString AnsiToWide(std::string_view s);
std::string WideToAnsi(WideStringView s);

// UTF-8 <-> UTF-16 code units, for the host's file names and for literals.
WideString Utf8ToWide(std::string_view s);
std::string WideToUtf8(WideStringView s);

WideString IntToWide(std::int64_t value);

}  // namespace stamplets
