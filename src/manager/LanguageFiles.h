// What the Language page reads from the language files in langs\: the
// language's own name and version for its row, the translator's name and
// addresses, the flag icon; and which of the translator's addresses may be
// handed to the shell.
#pragma once

#include <optional>

#include "InstallFolder.h"
#include "WideText.h"

namespace stamplets::languages {

// What a translator field shows when the language file does not say.
inline constexpr wchar_t kUnknown[] = L"uncknown";
// A native name shorter than this is not shown; the row shows the file name.
inline constexpr std::size_t kMinNativeNameLength = 4;

struct TranslatorInfo {
  WideString author;
  WideString www;
  WideString email;
  bool operator==(const TranslatorInfo&) const = default;
};

// [Dict] "Native Name" of langs\<entry>; empty when missing.
WideString GetNativeName(const InstallFolder& folder, WideStringView entry);
// [Translator] "Ver" of langs\<entry>; empty when missing.
WideString GetTranslationVersion(const InstallFolder& folder, WideStringView entry);
// [TRANSLATOR] Author, www and email of langs\<entry>, each "uncknown" when
// missing (the built-in English has no file; its values are the program's).
TranslatorInfo ReadTranslator(const InstallFolder& folder, WideStringView entry);

// The row text: "<native name>   (<entry>)", or the entry alone when the
// native name has fewer than 4 characters.
WideString LanguageRowText(WideStringView entry, WideStringView native_name);
// langs\<entry with its extension replaced by ".ico">.
WideString FlagIconFile(const InstallFolder& folder, WideStringView entry);

// A language file comes from anyone, so its addresses are opened only in
// their harmless forms:
//   the web field only as an http:// or https:// address;
//   the mail field only as a mail address, opened as "mailto:<address>?".
// Anything else (a program path, a file: link, a command) gives nothing.
std::optional<WideString> WebLinkTarget(WideStringView field);
std::optional<WideString> MailLinkTarget(WideStringView field);

}  // namespace stamplets::languages
