// Translation of the English texts that the programs show, through the
// section "Dict" of a language file in langs\. Both variants:
//   LanguageSupport  the manager's: a process-wide current language;
//   StamptabText     Stamptab's: the language read from settings.ini on
//                    every call, nothing kept between calls.
#pragma once

#include "InstallFolder.h"
#include "WideText.h"

namespace stamplets {

// The lookup both variants share once the language file is known: trims the
// text, takes a trailing "..." off before the lookup and puts " ..." back,
// turns "/n" into line breaks, and falls back to the source on any error.
WideString TranslateWithFile(WideStringView source, const WideString& language_file);

namespace LanguageSupport {

// The manager's installation folder; set once at start-up.
void SetInstallFolder(const InstallFolder& folder);
// "English", the file name (with extension) of a language file, or any
// other text, which names no file.
void SetCurrentLanguage(WideString name);
const WideString& CurrentLanguage();
WideString Translate(WideStringView source);

}  // namespace LanguageSupport

namespace StamptabText {

// settings.ini's CurLang (default "Default") under langs\ of the folder.
WideString LanguageFilePath(const InstallFolder& module_folder);
WideString Translate(WideStringView source, const InstallFolder& module_folder);

}  // namespace StamptabText

}  // namespace stamplets
