// Both variants of the translation, each as one table of cases.
#include <gtest/gtest.h>

#include "InstallFolder.h"
#include "Settings.h"
#include "TestSupport.h"
#include "Translation.h"

namespace stamplets {
namespace {

struct Case {
  const char* name;
  const wchar_t* language;  // CurLang, or nullptr for no settings file / key
  const wchar_t* source;
  const wchar_t* expected;
};

class Translation : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MakeDir(folder_.File(L"langs"));
    test::WriteBytes(folder_.LanguageFile(L"Test.ini"),
                     test::Utf16File(L"[Dict]\r\nGet more language files=Mehr Sprachen\r\n"
                                     L"Ok=Gut\r\nTwo lines=eins/nzwei/nDrei/N\r\nEmpty=\r\n"
                                     L"Library=Библиотека\r\n"));
  }
  test::TempDir dir_;
  InstallFolder folder_{dir_.Path()};
};

TEST_F(Translation, ManagerVariant) {
  const Case cases[] = {
      {"English keeps blanks", L"English", L"  Library  ", L"  Library  "},
      {"English expands markers", L"English", L"a/nb", L"a\n\rb"},
      {"translated", L"Test.ini", L"Library", L"Библиотека"},
      {"keys ignore case", L"Test.ini", L"OK", L"Gut"},
      {"missing key is trimmed", L"Test.ini", L"  Not there  ", L"Not there"},
      {"ellipsis looked up without it", L"Test.ini", L"Get more language files ...",
       L"Mehr Sprachen ..."},
      {"ellipsis kept when untranslated", L"Test.ini", L"Nothing ...", L"Nothing ..."},
      {"ellipsis gets its blank", L"Test.ini", L"Nothing...", L"Nothing ..."},
      {"ellipsis alone", L"Test.ini", L"...", L" ..."},
      {"only blanks", L"Test.ini", L"   ", L""},
      {"two markers, capital N stays", L"Test.ini", L"Two lines", L"eins\n\rzwei\n\rDrei/N"},
      {"empty translation shows the source", L"Test.ini", L" Empty ", L" Empty "},
      {"empty translation with ellipsis", L"Test.ini", L"Empty...", L" ..."},
      {"default names no file", settings::kManagerDefaultLanguage, L"  Library  ", L"Library"},
      {"file missing", L"Gone.ini", L"Nothing...", L"Nothing ..."},
  };
  LanguageSupport::SetInstallFolder(folder_);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LanguageSupport::SetCurrentLanguage(c.language);
    EXPECT_EQ(LanguageSupport::Translate(c.source), c.expected);
  }
}

TEST_F(Translation, StamptabVariantReadsTheLanguageOnEveryCall) {
  const Case cases[] = {
      {"no settings: untouched", nullptr, L"  Library  ", L"  Library  "},
      {"missing file: untouched", L"Gone.ini", L"  Library /n", L"  Library \n\r"},
      {"translated", L"Test.ini", L" Library ", L"Библиотека"},
      {"ellipsis", L"Test.ini", L"Get more language files ...", L"Mehr Sprachen ..."},
      {"only blanks", L"Test.ini", L"   ", L""},
      {"a folder is no language file", L"langs", L"  Library  ", L"  Library  "},
  };
  const Settings settings(folder_.File(files::kSettings));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.language) settings.WriteLanguage(c.language);
    EXPECT_EQ(StamptabText::Translate(c.source, folder_), c.expected);
  }
}

}  // namespace
}  // namespace stamplets
