// The Settings page in the main window: the boxes from the start-up probe,
// Apply with the stand-ins (calls, report of failures, probing again), and
// the toolbar sets picked, saved and applied at the next start.
#include <windows.h>

#include <algorithm>
#include <memory>

#include "Dialogs.h"
#include "Settings.h"
#include "SettingsFixture.h"
#include "TntIniFiles.h"
#include "Translation.h"
#include "Unit1.h"

namespace stamplets::test {
namespace {

using manager::MessageRequest;
using manager::TForm1;

// The colour at the middle of an icon drawn at its own size.
COLORREF MiddleOf(HICON icon) {
  win::unique_hdc dc(CreateCompatibleDC(nullptr));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, 32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  win::unique_hbitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  win::SelectObjectScope select(dc.get(), bitmap.get());
  DrawIconEx(dc.get(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  return GetPixel(dc.get(), 16, 16);
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  win::unique_hdc dc(CreateCompatibleDC(nullptr));
  win::SelectObjectScope select(dc.get(), bitmap);
  return GetPixel(dc.get(), x, y);
}

constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kBlue = RGB(0, 0, 200);

class SettingsPageTest : public SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    LanguageSupport::SetCurrentLanguage(settings::kManagerDefaultLanguage);
    manager::SetMessageHook([this](const MessageRequest& m) {
      messages_.push_back(m);
      return IDOK;
    });
    manager::SetShellHook([](const manager::ShellRequest&) {});
  }
  void TearDown() override {
    form_.reset();
    manager::SetMessageHook({});
    manager::SetShellHook({});
    SettingsTest::TearDown();
  }
  TForm1& Start() {
    form_.reset();
    form_ = std::make_unique<TForm1>(Folder());
    return *form_;
  }
  // A toolbar set whose icons are solid squares of one colour.
  void MakeSet(const WideString& name, COLORREF colour,
               std::initializer_list<const wchar_t*> icons) {
    MakeDir(dir_ / (L"toolbar\\" + name));
    for (const wchar_t* icon : icons)
      WriteBytes(dir_ / (L"toolbar\\" + name + L"\\" + icon),
                 SolidIconFile(32, GetRValue(colour), GetGValue(colour), GetBValue(colour)));
  }
  void MakeFullSet(const WideString& name, COLORREF colour) {
    MakeSet(name, colour,
            {L"library.ico", L"themes.ico", L"About.ico", L"Language.ico", L"options.ico"});
  }
  static int IndexOf(const win::ComboBox& combo, WideStringView text) {
    for (int i = 0; i < combo.Count(); ++i)
      if (combo.Item(i) == text) return i;
    return -1;
  }
  void Pick(WideStringView set) {
    form_->cbTBThemes.SetItemIndex(IndexOf(form_->cbTBThemes, set));
    form_->cbTBThemesChange();
  }
  WideString SavedSet() {
    return TTntIniFile(Folder().File(files::kSettings))
        .ReadString(settings::kToolbar, settings::kName, L"(none)");
  }

  std::unique_ptr<TForm1> form_;
  std::vector<MessageRequest> messages_;
};

TEST_F(SettingsPageTest, StartUpTicksTheBoxesOfTheKeysThatAreThere) {
  struct Case {
    bool prop, folders, files;
  } cases[] = {{false, false, false}, {true, false, false}, {false, true, false},
               {false, false, true},  {false, true, true},  {true, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "prop " << c.prop << " folders " << c.folders << " files " << c.files);
    SetKeys(c.prop, c.folders, c.files);
    TForm1& form = Start();
    EXPECT_EQ(form.cb_Prop.Checked(), c.prop);
    EXPECT_EQ(form.cb_Folders.Checked(), c.folders);
    EXPECT_EQ(form.cb_All.Checked(), c.files);
    EXPECT_EQ(form.cb_Menu.Checked(), c.folders && c.files);
  }
}

TEST_F(SettingsPageTest, ApplyRegistersAsTheBoxesSayAndSaysNothingOnSuccess) {
  InstallStandIns();
  TForm1& form = Start();
  struct Case {
    bool prop, menu;
    std::vector<std::string> calls;
  } cases[] = {
      {true, true, {"Stamptab.dll DllRegisterServer", "stampletsmenu.dll DllRegisterServer"}},
      {true, false, {"Stamptab.dll DllRegisterServer", "stampletsmenu.dll DllUnregisterServer"}},
      {false, true, {"Stamptab.dll DllUnregisterServer", "stampletsmenu.dll DllRegisterServer"}},
      {false, false, {"Stamptab.dll DllUnregisterServer", "stampletsmenu.dll DllUnregisterServer"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "prop " << c.prop << " menu " << c.menu);
    DeleteFileW((dir_ / L"calls.log").c_str());
    SetKeys(!c.prop, !c.menu, !c.menu);
    form.cb_Prop.SetChecked(c.prop);
    form.cb_Menu.SetChecked(c.menu);
    form.Button1Click();
    EXPECT_EQ(Calls(false), ExpectedCalls(c.calls));
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(form.cb_Prop.Checked(), c.prop);
    EXPECT_EQ(form.cb_Menu.Checked(), c.menu);
  }
}

TEST_F(SettingsPageTest, ApplyTellsWhyACallFailedAndTheBoxesShowWhatIsRegistered) {
  InstallStandIns();
  SetKeys(true, true, true);
  TForm1& form = Start();
  ForceResult(E_ACCESSDENIED);
  form.cb_Menu.SetChecked(false);
  form.Button1Click();

  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].caption, L"Stamplets: Error");
  const std::string text = WideToUtf8(messages_[0].text);
  EXPECT_NE(text.find("DllUnregisterServer in " +
                      WideToUtf8(Folder().File(files::kContextMenuModule)) + " failed."),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("administrator rights"), std::string::npos) << text;
  // The menu is still registered, so its box is ticked again.
  EXPECT_TRUE(form.cb_Menu.Checked());
  EXPECT_TRUE(form.cb_Prop.Checked());
}

TEST_F(SettingsPageTest, ApplyWithoutTheExtensionsNamesBothMissingFiles) {
  TForm1& form = Start();
  form.Button1Click();
  ASSERT_EQ(messages_.size(), 1u);
  const std::string text = WideToUtf8(messages_[0].text);
  EXPECT_NE(text.find(WideToUtf8(Folder().File(files::kStamptab))), std::string::npos) << text;
  EXPECT_NE(text.find(WideToUtf8(Folder().File(files::kContextMenuModule))), std::string::npos)
      << text;
}

TEST_F(SettingsPageTest, ApplyStopsWhenTheSettingsCannotBeWritten) {
  InstallStandIns();
  TForm1& form = Start();
  // A folder where settings.ini should be: every write to it fails.
  MakeDir(Folder().File(files::kSettings));
  form.Run([&] { form.Button1Click(); });
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(WideToUtf8(messages_[0].text).find("Unable to write to"), std::string::npos);
  EXPECT_TRUE(Calls().empty());
}

TEST_F(SettingsPageTest, APickedSetRedrawsThePageButtonsAndKeepsTheSettingsPage) {
  MakeFullSet(L"Red", kRed);
  MakeSet(L"Partial", kGreen, {L"library.ico"});
  MakeFullSet(L"Default", kBlue);
  WriteBytes(dir_ / L"toolbar\\loose.ico", SolidIconFile(32, 0, 0, 200));
  TForm1& form = Start();

  std::vector<WideString> items;
  for (int i = 0; i < form.cbTBThemes.Count(); ++i)
    items.push_back(form.cbTBThemes.Item(i));
  std::sort(items.begin(), items.end());
  EXPECT_EQ(items, (std::vector<WideString>{L"Default", L"Partial", L"Red"}));
  // No saved choice and no Zadovu set: nothing selected, built-in icons.
  EXPECT_EQ(form.cbTBThemes.ItemIndex(), -1);
  const COLORREF built_in = MiddleOf(form.i_2.Icon());
  EXPECT_NE(built_in, kRed);

  form.ShowPage(5);
  Pick(L"Red");
  EXPECT_EQ(form.ShownPage(), 5);
  win::Picture* pages[] = {&form.i_1, &form.i_2, &form.i_3, &form.i_4, &form.i_5};
  for (win::Picture* page : pages)
    EXPECT_EQ(MiddleOf(page->Icon()), kRed) << WideToUtf8(page->Name());
  // The buttons were drawn anew with the set's icons (icon at 22, 5).
  EXPECT_EQ(PixelOf(form.t_1.Bitmap(), 38, 21), kRed);
  EXPECT_EQ(PixelOf(form.t_5.Bitmap(), 38, 21), kRed);

  Pick(L"Partial");  // only the Library icon; the others keep theirs
  EXPECT_EQ(MiddleOf(form.i_1.Icon()), kGreen);
  EXPECT_EQ(MiddleOf(form.i_2.Icon()), kRed);
  EXPECT_EQ(PixelOf(form.t_1.Bitmap(), 38, 21), kGreen);

  Pick(L"Default");  // reserved: changes nothing
  EXPECT_EQ(MiddleOf(form.i_1.Icon()), kGreen);
  EXPECT_EQ(SavedSet(), L"(none)");  // picking saves nothing
}

TEST_F(SettingsPageTest, ApplySavesThePickedSetForTheNextStart) {
  MakeFullSet(L"Red", kRed);
  MakeSet(L"Partial", kGreen, {L"library.ico"});
  MakeFullSet(L"Default", kBlue);
  const COLORREF built_in = MiddleOf(Start().i_2.Icon());

  struct Case {
    const wchar_t* pick;  // nullptr: nothing selected at Apply
    WideString saved;
    COLORREF library, themes;
  } cases[] = {
      {L"Partial", L"Partial", kGreen, built_in},
      {L"Red", L"Red", kRed, kRed},
      {L"Default", L"Default", MiddleOf(form_->i_1.Icon()), built_in},
      {nullptr, L"", MiddleOf(form_->i_1.Icon()), built_in},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.saved));
    TForm1& form = Start();
    form.cbTBThemes.SetItemIndex(c.pick ? IndexOf(form.cbTBThemes, c.pick) : -1);
    form.Button1Click();
    EXPECT_EQ(SavedSet(), c.saved);

    TForm1& next = Start();
    EXPECT_EQ(next.cbTBThemes.ItemIndex(), c.pick ? IndexOf(next.cbTBThemes, c.pick) : -1);
    EXPECT_EQ(MiddleOf(next.i_1.Icon()), c.library);
    EXPECT_EQ(MiddleOf(next.i_2.Icon()), c.themes);
    EXPECT_EQ(PixelOf(next.t_1.Bitmap(), 38, 21), c.library);
    EXPECT_EQ(next.ShownPage(), 1);
  }
}

TEST_F(SettingsPageTest, AnItemShowsOnlyTheIconsItsSetHas) {
  MakeSet(L"Partial", kGreen, {L"library.ico", L"options.ico"});
  TForm1& form = Start();
  int height = 0;
  form.cbTBThemesMeasureItem(0, height);
  EXPECT_EQ(height, 48);
  // The selection field keeps its 36 pixels through the start-up's change
  // of font, so that the picked set's icons show in it.
  EXPECT_GE(SendMessageW(form.cbTBThemes.Handle(), CB_GETITEMHEIGHT, WPARAM(-1), 0), 36);

  win::unique_hdc dc(CreateCompatibleDC(nullptr));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 363, 48, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  win::unique_hbitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  win::SelectObjectScope select(dc.get(), bitmap.get());
  for (bool selected : {false, true}) {
    SCOPED_TRACE(selected ? "selected" : "not selected");
    form.cbTBThemesDrawItem({dc.get(),
                             0,
                             {0, 0, 363, 48},
                             selected ? UINT(ODS_SELECTED) : 0u,
                             form.cbTBThemes.Handle()});
    const COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    EXPECT_EQ(GetPixel(dc.get(), 6 + 16, 4 + 16), kGreen);    // library.ico
    EXPECT_EQ(GetPixel(dc.get(), 108 + 16, 4 + 16), kGreen);  // options.ico
    EXPECT_EQ(GetPixel(dc.get(), 40 + 16, 4 + 16), back);     // no themes.ico
    EXPECT_EQ(GetPixel(dc.get(), 142 + 16, 4 + 16), back);    // no About.ico
    EXPECT_EQ(GetPixel(dc.get(), 360, 2), back);
  }
}

}  // namespace
}  // namespace stamplets::test
