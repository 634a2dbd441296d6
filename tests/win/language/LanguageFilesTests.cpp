// What the Language page reads from a language file, and which translator
// addresses it hands to the shell: a language file is data from anyone.
#include <gtest/gtest.h>

#include <optional>

#include "LanguageFiles.h"
#include "TestSupport.h"

namespace stamplets {
namespace {

using namespace languages;

class LanguageFilesTest : public ::testing::Test {
 protected:
  LanguageFilesTest() { test::MakeDir(dir_ / L"langs"); }
  InstallFolder Folder() const { return InstallFolder(dir_.Path()); }
  void Put(const WideString& name, WideStringView text) const {
    test::WriteBytes(Folder().LanguageFile(name), test::Utf16File(text));
  }
  test::TempDir dir_;
};

TEST_F(LanguageFilesTest, RowShowsANativeNameOfFourOrMoreCharactersAndTheVersion) {
  Put(L"Deutsch.ini", L"[Dict]\r\nNative Name=Deutsch\r\n[Translator]\r\nVer=1.2\r\n");
  Put(L"Short.ini", L"[Dict]\r\nNative Name=Deu\r\n[TRANSLATOR]\r\nVer=0.9\r\n");
  Put(L"Four.ini", L"[dict]\r\nnative name=Русс\r\n");
  Put(L"Bare.ini", L"[Dict]\r\nOK=Ja\r\n");
  struct Case {
    const wchar_t* entry;
    const wchar_t* native;
    const wchar_t* version;
    const wchar_t* row;
  } cases[] = {
      {L"Deutsch.ini", L"Deutsch", L"1.2", L"Deutsch   (Deutsch.ini)"},
      {L"Short.ini", L"Deu", L"0.9", L"Short.ini"},
      {L"Four.ini", L"Русс", L"", L"Русс   (Four.ini)"},
      {L"Bare.ini", L"", L"", L"Bare.ini"},
      {L"Missing.ini", L"", L"", L"Missing.ini"},
      {L"English", L"", L"", L"English"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.entry));
    const WideString native = GetNativeName(Folder(), c.entry);
    EXPECT_EQ(native, c.native);
    EXPECT_EQ(GetTranslationVersion(Folder(), c.entry), c.version);
    EXPECT_EQ(LanguageRowText(c.entry, native), c.row);
  }
}

TEST_F(LanguageFilesTest, TranslatorFieldsComeFromTheFileOrSayUnknown) {
  Put(L"Full.ini",
      L"[Translator]\r\nAuthor=Анна\r\nwww=https://a.example\r\nemail=a@b.example\r\n");
  Put(L"Partial.ini", L"[TRANSLATOR]\r\nAuthor=Bob\r\n");
  EXPECT_EQ(ReadTranslator(Folder(), L"Full.ini"),
            (TranslatorInfo{L"Анна", L"https://a.example", L"a@b.example"}));
  EXPECT_EQ(ReadTranslator(Folder(), L"Partial.ini"), (TranslatorInfo{L"Bob", kUnknown, kUnknown}));
  EXPECT_EQ(ReadTranslator(Folder(), L"Missing.ini"),
            (TranslatorInfo{kUnknown, kUnknown, kUnknown}));
  EXPECT_EQ(ReadTranslator(Folder(), L""), (TranslatorInfo{kUnknown, kUnknown, kUnknown}));
}

TEST_F(LanguageFilesTest, FlagIsTheEntryWithItsExtensionReplaced) {
  const WideString langs = Folder().File(L"langs\\");
  EXPECT_EQ(FlagIconFile(Folder(), L"Deutsch.ini"), langs + L"Deutsch.ico");
  EXPECT_EQ(FlagIconFile(Folder(), L"pt.BR.ini"), langs + L"pt.BR.ico");
  EXPECT_EQ(FlagIconFile(Folder(), L"English"), langs + L"English.ico");
}

TEST(LanguageLinks, OnlyWebAddressesAreOpenedFromTheSiteField) {
  struct Case {
    const wchar_t* field;
    std::optional<WideString> target;
  } cases[] = {
      {L"https://stamplets.example.org/langs", L"https://stamplets.example.org/langs"},
      {L"  http://a.example  ", L"http://a.example"},
      {L"HTTPS://A.EXAMPLE/x?y=1", L"HTTPS://A.EXAMPLE/x?y=1"},
      {L"uncknown", std::nullopt},
      {L"   ", std::nullopt},
      {L"C:\\Windows\\System32\\calc.exe", std::nullopt},
      {L"calc.exe", std::nullopt},
      {L"cmd.exe /c del C:\\*", std::nullopt},
      {L"file:///C:/Windows/System32/calc.exe", std::nullopt},
      {L"\\\\server\\share\\setup.exe", std::nullopt},
      {L"javascript:alert(1)", std::nullopt},
      {L"ms-settings:", std::nullopt},
      {L"http://", std::nullopt},
      {L"http:///C:/x.exe", std::nullopt},
      {L"https://a.example/\" --x", std::nullopt},
      {L"https://a.example/a b", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.field));
    EXPECT_EQ(WebLinkTarget(c.field), c.target);
  }
}

TEST(LanguageLinks, TheMailFieldIsOpenedOnlyAsAMailAddress) {
  struct Case {
    const wchar_t* field;
    std::optional<WideString> target;
  } cases[] = {
      {L"russian@stamplets.example.org", L"mailto:russian@stamplets.example.org?"},
      {L" a.b@c.example ", L"mailto:a.b@c.example?"},
      {L"mailto:a@b.example", L"mailto:a@b.example?"},
      {L"MAILTO:a@b.example", L"mailto:a@b.example?"},
      {L"uncknown", std::nullopt},
      {L"", std::nullopt},
      {L"@b.example", std::nullopt},
      {L"a@", std::nullopt},
      {L"a@b@c.example", std::nullopt},
      {L"mailto:file:///C:/x.exe@y", std::nullopt},
      {L"http://evil.example/@x", std::nullopt},
      {L"C:\\Windows\\calc.exe@x", std::nullopt},
      {L"a@b.example?body=x", std::nullopt},
      {L"a b@c.example", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.field));
    EXPECT_EQ(MailLinkTarget(c.field), c.target);
  }
}

}  // namespace
}  // namespace stamplets
