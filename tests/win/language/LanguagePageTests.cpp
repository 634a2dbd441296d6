// The Language page in the main window: the list at start-up, the current
// language and its mark, choosing a language by double click, the rows as
// drawn, and the translator's links, which a language file must not be able
// to turn into the start of a program.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "Dialogs.h"
#include "Links.h"
#include "Settings.h"
#include "TestSupport.h"
#include "TntIniFiles.h"
#include "Translation.h"
#include "Unit1.h"

namespace stamplets::manager {
namespace {

namespace fs = std::filesystem;

constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 200);
constexpr WideStringView kNote = L"* Please Restart application to apply Language";

class LanguagePage : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MakeDir(dir_ / L"langs");
    for (const wchar_t* name : {L"Deutsch.ini", L"Russian.ini"})
      fs::copy_file(fs::path(test::DistFolder() + L"\\langs\\" + name),
                    fs::path(dir_ / (WideString(L"langs\\") + name)));
    Put(L"Short.ini", L"[Dict]\r\nNative Name=Abc\r\n");
    Put(L"Evil.ini",
        L"[Dict]\r\nNative Name=Evil language\r\n[Translator]\r\nAuthor=Mallory\r\n"
        L"www=C:\\windows\\system32\\calc.exe\r\nemail=file:///C:/windows/system32/calc.exe\r\n");
    test::MakeDir(dir_ / L"langs\\Folder.ini");
    test::WriteBytes(dir_ / L"langs\\Deutsch.ico", test::SolidIconFile(16, 200, 0, 0));
    test::WriteBytes(dir_ / L"langs\\uk.ico", test::SolidIconFile(16, 0, 0, 200));
    LanguageSupport::SetCurrentLanguage(settings::kManagerDefaultLanguage);
    SetMessageHook([this](const MessageRequest& m) {
      messages_.push_back(m);
      return IDOK;
    });
    SetShellHook([this](const ShellRequest& r) { shell_.push_back(r); });
  }
  void TearDown() override {
    form_.reset();
    SetMessageHook({});
    SetShellHook({});
  }

  InstallFolder Folder() const { return InstallFolder(dir_.Path()); }
  void Put(const WideString& name, WideStringView text) {
    test::WriteBytes(Folder().LanguageFile(name), test::Utf16File(text));
  }
  void SaveLanguage(const WideString& name) {
    TTntIniFile(Folder().File(files::kSettings))
        .WriteString(settings::kTranslate, settings::kCurLang, name);
  }
  WideString SavedLanguage() {
    return TTntIniFile(Folder().File(files::kSettings))
        .ReadString(settings::kTranslate, settings::kCurLang, L"(none)");
  }
  TForm1& Start() {
    form_.reset();
    form_ = std::make_unique<TForm1>(Folder());
    return *form_;
  }
  int Row(WideStringView entry) const {
    for (int i = 0; i < form_->ListBox2.Count(); ++i)
      if (form_->ListBox2.Item(i) == entry) return i;
    return -1;
  }
  std::vector<WideString> Translator() const {
    return {form_->ed_Author.Text(), form_->ed_www.Text(), form_->ed_Email.Text()};
  }
  WideString TranslationOf(const wchar_t* file, WideStringView text) {
    return TTntIniFile(Folder().LanguageFile(file)).ReadString(L"Dict", WideString(text), L"");
  }

  // One row drawn into a bitmap of the list's width.
  struct DrawnRow {
    win::unique_hdc dc;
    win::unique_hbitmap bitmap;
    HGDIOBJ old = nullptr;
    COLORREF At(int x, int y) const { return GetPixel(dc.get(), x, y); }
    ~DrawnRow() {
      if (old) SelectObject(dc.get(), old);
    }
  };
  std::unique_ptr<DrawnRow> Draw(int index, bool selected) {
    auto row = std::make_unique<DrawnRow>();
    row->dc.reset(CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 330, 24, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    row->bitmap.reset(CreateDIBSection(row->dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    row->old = SelectObject(row->dc.get(), row->bitmap.get());
    RECT all{0, 0, 330, 24};
    FillRect(row->dc.get(), &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    form_->ListBox2DrawItem({row->dc.get(),
                             index,
                             {0, 0, 330, 24},
                             selected ? UINT(ODS_SELECTED) : 0u,
                             form_->ListBox2.Handle()});
    return row;
  }
  // Whether the current-language mark is drawn (14 by 14 at 1, 4).
  bool MarkDrawn(const DrawnRow& row) {
    const COLORREF back = row.At(39, 1);
    for (int y = 4; y < 18; ++y)
      for (int x = 1; x < 15; ++x)
        if (row.At(x, y) != back) return true;
    return false;
  }

  test::TempDir dir_;
  std::unique_ptr<TForm1> form_;
  std::vector<MessageRequest> messages_;
  std::vector<ShellRequest> shell_;
};

TEST_F(LanguagePage, ListsEnglishFirstThenTheLanguageFilesButNoFolder) {
  TForm1& form = Start();
  ASSERT_GE(form.ListBox2.Count(), 1);
  EXPECT_EQ(form.ListBox2.Item(0), L"English");
  std::vector<WideString> files;
  for (int i = 1; i < form.ListBox2.Count(); ++i)
    files.push_back(form.ListBox2.Item(i));
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files,
            (std::vector<WideString>{L"Deutsch.ini", L"Evil.ini", L"Russian.ini", L"Short.ini"}));
}

TEST_F(LanguagePage, TheStoredLanguageIsSelectedMarkedAndItsTranslatorShown) {
  struct Case {
    const wchar_t* stored;  // nullptr: no CurLang
    WideString current;
    const wchar_t* row;  // the selected and marked row; nullptr: none
    std::vector<WideString> translator;
  } cases[] = {
      {nullptr,
       settings::kManagerDefaultLanguage,
       nullptr,
       {L"uncknown", L"uncknown", L"uncknown"}},
      {L"English", L"English", L"English", {kEnglishAuthor, kEnglishWeb, kEnglishMail}},
      {L"Deutsch.ini",
       L"Deutsch.ini",
       L"Deutsch.ini",
       {L"Stamplets-Team", L"https://stamplets.example.org/langs/deutsch",
        L"deutsch@stamplets.example.org"}},
      {L"deutsch.ini",
       L"deutsch.ini",
       nullptr,  // names the file, matches no row
       {L"Stamplets-Team", L"https://stamplets.example.org/langs/deutsch",
        L"deutsch@stamplets.example.org"}},
      {L"Gone.ini", L"Gone.ini", nullptr, {L"uncknown", L"uncknown", L"uncknown"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored ? WideToUtf8(c.stored) : "no CurLang");
    DeleteFileW(Folder().File(files::kSettings).c_str());
    if (c.stored) SaveLanguage(c.stored);
    TForm1& form = Start();
    EXPECT_EQ(LanguageSupport::CurrentLanguage(), c.current);
    EXPECT_EQ(form.ListBox2.ItemIndex(), c.row ? Row(c.row) : -1);
    // Without a matching row the hidden field keeps its initial "Default",
    // which the translation pass has turned into the current language.
    EXPECT_EQ(form.ed_CurLang.Text(),
              c.row ? WideString(c.row) : LanguageSupport::Translate(L"Default"));
    EXPECT_EQ(Translator(), c.translator);
    for (int i = 0; i < form.ListBox2.Count(); ++i)
      EXPECT_EQ(MarkDrawn(*Draw(i, false)), c.row && i == Row(c.row))
          << WideToUtf8(form.ListBox2.Item(i));
  }
}

TEST_F(LanguagePage, ADoubleClickStoresTheLanguageAndAsksForARestartInIt) {
  struct Case {
    const wchar_t* entry;
    WideString note;
    std::vector<WideString> translator;
  } cases[] = {
      {L"Russian.ini",
       TranslationOf(L"Russian.ini", kNote),
       {TTntIniFile(Folder().LanguageFile(L"Russian.ini"))
            .ReadString(L"Translator", L"Author", L""),
        L"https://stamplets.example.org/langs/russian", L"russian@stamplets.example.org"}},
      {L"English", WideString(kNote), {kEnglishAuthor, kEnglishWeb, kEnglishMail}},
      {L"Deutsch.ini",
       TranslationOf(L"Deutsch.ini", kNote),
       {L"Stamplets-Team", L"https://stamplets.example.org/langs/deutsch",
        L"deutsch@stamplets.example.org"}},
  };
  TForm1& form = Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.entry));
    ASSERT_FALSE(c.note.empty());
    form.ListBox2.SetItemIndex(Row(c.entry));
    form.ListBox2DblClick();
    EXPECT_EQ(SavedLanguage(), c.entry);
    EXPECT_EQ(LanguageSupport::CurrentLanguage(), c.entry);
    EXPECT_EQ(form.TntLabel7.Text(), c.note);
    EXPECT_EQ(form.ed_CurLang.Text(), c.entry);
    EXPECT_EQ(form.ListBox2.ItemIndex(), Row(c.entry));
    EXPECT_EQ(Translator(), c.translator);
    EXPECT_TRUE(MarkDrawn(*Draw(Row(c.entry), true)));
  }
  EXPECT_TRUE(messages_.empty());
}

TEST_F(LanguagePage, AChoiceThatCannotBeStoredFallsBackToWhatTheSettingsSay) {
  TForm1& form = Start();
  // A folder where settings.ini should be: it can be neither read nor written.
  test::MakeDir(Folder().File(files::kSettings));
  form.ListBox2.SetItemIndex(Row(L"Russian.ini"));
  form.ListBox2DblClick();
  // The note was already in the chosen language; nothing was stored, and
  // the name read back is the default.
  EXPECT_EQ(form.TntLabel7.Text(), TranslationOf(L"Russian.ini", kNote));
  EXPECT_EQ(LanguageSupport::CurrentLanguage(), settings::kManagerDefaultLanguage);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(LanguagePage, AClickShowsTheTranslatorOfTheSelectedRow) {
  TForm1& form = Start();
  form.ListBox2.SetItemIndex(Row(L"Short.ini"));
  form.ListBox2Click();
  EXPECT_EQ(Translator(), (std::vector<WideString>{L"uncknown", L"uncknown", L"uncknown"}));
  form.ListBox2.SetItemIndex(Row(L"English"));
  form.ListBox2Click();
  EXPECT_EQ(Translator(), (std::vector<WideString>{kEnglishAuthor, kEnglishWeb, kEnglishMail}));
  form.ListBox2.SetItemIndex(-1);
  form.ListBox2Click();
  EXPECT_EQ(Translator(), (std::vector<WideString>{L"uncknown", L"uncknown", L"uncknown"}));
}

TEST_F(LanguagePage, RowsAlternateAndShowTheirFlags) {
  TForm1& form = Start();
  struct Case {
    const wchar_t* entry;
    bool selected;
    COLORREF flag;  // at the flag's middle; 0: no flag drawn
  } cases[] = {
      {L"English", false, kBlue},
      {L"English", true, kBlue},
      {L"Deutsch.ini", false, kRed},
      {L"Short.ini", true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << WideToUtf8(c.entry) << (c.selected ? " selected" : ""));
    const int index = Row(c.entry);
    const auto row = Draw(index, c.selected);
    const COLORREF back = c.selected       ? RGB(0, 113, 225)
                          : index % 2 == 1 ? RGB(216, 233, 254)
                                           : RGB(255, 255, 255);
    EXPECT_EQ(row->At(39, 1), back);
    EXPECT_EQ(row->At(329, 23), back);
    // English's flag (langs\uk.ico) sits two pixels higher than a file's.
    const int flag_top = c.entry == WideStringView(L"English") ? 0 : 2;
    EXPECT_EQ(row->At(25, flag_top + 8), c.flag ? c.flag : back);
  }
  int height = 0;
  form.ListBox2MeasureItem(0, height);
  EXPECT_GE(height, 20);
}

TEST_F(LanguagePage, TranslatorLinksOpenOnlyWebAndMailAddresses) {
  TForm1& form = Start();
  form.ListBox2.SetItemIndex(Row(L"Evil.ini"));
  form.ListBox2Click();
  ASSERT_EQ(form.ed_www.Text(), L"C:\\windows\\system32\\calc.exe");
  form.ed_wwwClick();
  form.ed_EmailClick();
  EXPECT_TRUE(shell_.empty()) << WideToUtf8(shell_.front().target);

  form.ListBox2.SetItemIndex(Row(L"Deutsch.ini"));
  form.ListBox2Click();
  form.ed_wwwClick();
  form.ed_EmailClick();
  form.Label12Click();
  ASSERT_EQ(shell_.size(), 3u);
  EXPECT_EQ(shell_[0].target, L"https://stamplets.example.org/langs/deutsch");
  EXPECT_EQ(shell_[0].owner, nullptr);
  EXPECT_EQ(shell_[0].show, SW_SHOW);
  EXPECT_EQ(shell_[1].target, L"mailto:deutsch@stamplets.example.org?");
  EXPECT_EQ(shell_[1].owner, form.Handle());
  EXPECT_EQ(shell_[1].show, SW_SHOWNORMAL);
  EXPECT_EQ(shell_[2].target, kMoreLanguagesPage);
}

}  // namespace
}  // namespace stamplets::manager
