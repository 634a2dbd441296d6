// The main window made in-process on a temporary installation folder: the
// start-up and show order, the page buttons, translation, hints, placement
// at exit and start, and the command-line check.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "Dialogs.h"
#include "Layout.h"
#include "Links.h"
#include "Settings.h"
#include "TestSupport.h"
#include "TntIniFiles.h"
#include "Translation.h"
#include "Unit1.h"

namespace stamplets::manager {
namespace {

namespace fs = std::filesystem;

// A temporary installation folder with the shipped language files, and the
// messages and shell requests the form makes while a test runs.
class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MakeDir(dir_ / L"langs");
    for (const wchar_t* name : {L"Deutsch.ini", L"Russian.ini"})
      fs::copy_file(fs::path(test::DistFolder() + L"\\langs\\" + name),
                    fs::path(dir_ / (WideString(L"langs\\") + name)));
    LanguageSupport::SetCurrentLanguage(settings::kManagerDefaultLanguage);
    SetMessageHook([this](const MessageRequest& m) {
      messages_.push_back(m);
      if (on_message_) on_message_(m);
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
  WideString SettingsPath() const { return Folder().File(files::kSettings); }
  TForm1& Start(std::vector<WideString> arguments = {}) {
    form_ = std::make_unique<TForm1>(Folder(), std::move(arguments));
    return *form_;
  }
  void UseGerman() {
    TTntIniFile(SettingsPath())
        .WriteString(settings::kTranslate, settings::kCurLang, L"Deutsch.ini");
    LanguageSupport::SetCurrentLanguage(L"Deutsch.ini");
  }
  WideString ReadPosition(const wchar_t* key) {
    return TTntIniFile(SettingsPath()).ReadString(settings::kPosition, key, L"(none)");
  }

  test::TempDir dir_;
  std::unique_ptr<TForm1> form_;
  std::vector<MessageRequest> messages_;
  std::vector<ShellRequest> shell_;
  std::function<void(const MessageRequest&)> on_message_;
};

// The rows of a bitmap (from `from_row` down) that hold dark ink, and the
// leftmost and rightmost ink columns. Ink is centred to within the glyphs'
// side bearings, 3 pixels.
struct Ink {
  int top = -1, bottom = -1, left = -1, right = -1;
  std::vector<bool> rows;
};
Ink InkOf(HBITMAP bitmap, int width, int height, int from_row = 0) {
  Ink ink;
  ink.rows.assign(static_cast<std::size_t>(height), false);
  win::unique_hdc dc(CreateCompatibleDC(nullptr));
  win::SelectObjectScope select(dc.get(), bitmap);
  for (int y = from_row; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const COLORREF c = GetPixel(dc.get(), x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) >= 3 * 96) continue;
      ink.rows[static_cast<std::size_t>(y)] = true;
      if (ink.top < 0) ink.top = y;
      ink.bottom = y;
      if (ink.left < 0 || x < ink.left) ink.left = x;
      if (x > ink.right) ink.right = x;
    }
  return ink;
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  win::unique_hdc dc(CreateCompatibleDC(nullptr));
  win::SelectObjectScope select(dc.get(), bitmap);
  return GetPixel(dc.get(), x, y);
}

TEST_F(MainWindow, StartsAndShowsInOrder) {
  TForm1& form = Start();
  const std::vector<std::string> startup{"LibraryKeys",         "ScanThemes",
                                         "Placement",           "LanguageList",
                                         "LoadCurrentLanguage", "TranslateForm",
                                         "ApplySystemFont",     "ShowPage",
                                         "HintHandler",         "ProbeShellIntegration",
                                         "ListToolbarSets",     "ApplySavedToolbarSet",
                                         "SelectCurrentTheme",  "AboutPicture",
                                         "MessageHook",         "DropTarget",
                                         "SplitterButton",      "LinkCaptions"};
  EXPECT_EQ(form.Steps(), startup);
  EXPECT_TRUE(messages_.empty());
  form.Show();
  std::vector<std::string> all = startup;
  for (const char* step : {"LoadLibraryGrid", "ThemeListArea", "AboutTexts", "SortColumn"})
    all.emplace_back(step);
  EXPECT_EQ(form.Steps(), all);
  EXPECT_TRUE(form.MessageHookInstalled());
  EXPECT_TRUE(GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_TRUE(form.LibraryKeys);
  EXPECT_EQ(form.ListBox2.Item(0), L"English");
  EXPECT_EQ(form.Caption(), L"Stamplets Manager");
  EXPECT_TRUE(form.Image1.Icon());
  EXPECT_EQ(form.Image1.IconSize().cx, 128);
}

TEST_F(MainWindow, FirstStartOpensAtTheDefaultPlaceOnTheLibrary) {
  TForm1& form = Start();
  EXPECT_EQ(form.Bounds(), (layout::Rect{0, 0, 640, 480}));
  EXPECT_EQ(form.WindowState(), 0);
  EXPECT_EQ(form.ShownPage(), 1);
}

TEST_F(MainWindow, ToolbarListKeepsItsDesignedHeightAfterTheSystemFont) {
  TForm1& form = Start();
  // The selection field is 36 high; with its frame the closed list is 42.
  RECT closed{};
  GetWindowRect(form.cbTBThemes.Handle(), &closed);
  EXPECT_EQ(closed.bottom - closed.top, 42);
}

TEST_F(MainWindow, ShowPageBringsThePageAndDrawsTheSelectedButton) {
  TForm1& form = Start();
  win::Picture TForm1::*buttons[] = {&TForm1::t_1, &TForm1::t_2, &TForm1::t_3, &TForm1::t_4,
                                     &TForm1::t_5};
  const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
  for (int page : {1, 2, 3, 4, 5, 3}) {
    SCOPED_TRACE(page);
    form.ShowPage(page);
    EXPECT_EQ(form.ShownPage(), page);
    for (int b = 0; b < 5; ++b) {
      HBITMAP picture = (form.*buttons[b]).Bitmap();
      ASSERT_TRUE(picture);
      const bool chosen = b == page - 1;
      EXPECT_EQ(PixelOf(picture, 1, 30) == dark, chosen) << "button " << b + 1;
      EXPECT_EQ(PixelOf(picture, 76, 60) == dark, chosen) << "button " << b + 1;
      // Every button carries its page icon at (22, 5).
      EXPECT_GT(InkOf(picture, 77, 37).top, 0);
    }
  }
  // Outside 1 to 5 nothing changes: the same pictures, the same page.
  HBITMAP before[5];
  for (int b = 0; b < 5; ++b)
    before[b] = (form.*buttons[b]).Bitmap();
  for (int page : {0, 6, -1}) {
    form.ShowPage(page);
    EXPECT_EQ(form.ShownPage(), 3);
    for (int b = 0; b < 5; ++b)
      EXPECT_EQ((form.*buttons[b]).Bitmap(), before[b]);
  }
}

TEST_F(MainWindow, ButtonCaptionOneLineAndTwoLines) {
  TForm1& form = Start();
  HDC screen = GetDC(nullptr);
  win::unique_hdc dc(CreateCompatibleDC(screen));
  win::unique_hbitmap picture(CreateCompatibleBitmap(screen, 77, 67));
  ReleaseDC(nullptr, screen);
  auto draw = [&](const wchar_t* text) {
    {
      win::SelectObjectScope select(dc.get(), picture.get());
      RECT all{0, 0, 77, 67};
      FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      form.DrawButtonCaption(dc.get(), SIZE{77, 67}, text);
    }
    return InkOf(picture.get(), 77, 67);
  };
  SIZE wg{};
  {
    win::SelectObjectScope select(dc.get(), picture.get());
    LOGFONTW lf{};
    lf.lfHeight = -11;
    wcscpy(lf.lfFaceName, L"Tahoma");
    win::unique_hfont font(CreateFontIndirectW(&lf));
    win::SelectObjectScope use(dc.get(), font.get());
    GetTextExtentPoint32W(dc.get(), L"Wg", 2, &wg);
  }

  const Ink one = draw(L"Library");
  EXPECT_GE(one.top, 42);
  EXPECT_LT(one.bottom, 42 + wg.cy);
  EXPECT_LE(std::abs(one.left - (76 - one.right)), 3) << "centred";

  // What the translation makes of "Über das/nProgramm".
  const Ink two = draw(L"\u00DCber das\n\rProgramm");
  EXPECT_GE(two.top, 37);
  EXPECT_LT(two.top, 42) << "the first line starts above a single line";
  EXPECT_GE(two.bottom, wg.cy + 38);
  // A blank row parts the two lines.
  bool gap = false;
  for (int y = two.top; y < wg.cy + 38; ++y)
    gap = gap || !two.rows[static_cast<std::size_t>(y)];
  EXPECT_TRUE(gap);
  const Ink second = InkOf(picture.get(), 77, 67, wg.cy + 38);
  EXPECT_LE(std::abs(second.left - (76 - second.right)), 3) << "second line centred";
}

TEST_F(MainWindow, TranslatesEveryCaptionWithTheLanguageFile) {
  UseGerman();
  TForm1& form = Start();
  EXPECT_EQ(form.Caption(), L"Stamplets-Verwaltung");
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"Button5", L"Entfernen"},
      {L"Button1", L"\u00DCbernehmen"},
      {L"GroupBox2", L"Einbindung in den Explorer"},
      {L"TntGroupBox1", L"Symbolsatz der Seitenleiste"},
  };
  for (const auto& [name, expected] : cases)
    EXPECT_EQ(win::ControlView(form.Get(name)).Text(), expected) << WideToUtf8(name);
  // Check boxes and labels follow the language file too.
  const WideString menu = LanguageSupport::Translate(
      L"Add an item to Explorer's context menu for all filesystem objects");
  EXPECT_NE(menu, L"Add an item to Explorer's context menu for all filesystem objects");
  EXPECT_EQ(form.cb_Menu.Text(), menu);
  EXPECT_EQ(form.TntLabel7.Text(),
            LanguageSupport::Translate(L"* Please Restart application to apply Language"));
  EXPECT_EQ(form.th_Verl.Text(), LanguageSupport::Translate(L"Created for version:"));
  // "About" is "Über das/nProgramm": its button shows two lines.
  form.ShowPage(1);
  const Ink about = InkOf(form.t_3.Bitmap(), 77, 67);
  const Ink library = InkOf(form.t_1.Bitmap(), 77, 67);
  EXPECT_GT(about.bottom, library.bottom + 5);
}

TEST_F(MainWindow, HintsShowTranslatedInTheStatusBar) {
  UseGerman();
  TForm1& form = Start();
  win::FormAccess::MouseOver(form, &form.Button5.Record());
  EXPECT_EQ(form.StatusBar1.PanelText(),
            LanguageSupport::Translate(L"Remove all Selected records ..."));
  EXPECT_NE(form.StatusBar1.PanelText(), L"Remove all Selected records ...");
  // A control without a hint on a page without one shows none.
  win::FormAccess::MouseOver(form, &form.Label5.Record());
  EXPECT_EQ(form.StatusBar1.PanelText(), L"");
  win::FormAccess::MouseOver(form, &form.t_4.Record());
  EXPECT_EQ(form.StatusBar1.PanelText(), LanguageSupport::Translate(L"Select Language"));
}

TEST_F(MainWindow, PlacementIsWrittenAtExitAndReadAtTheNextStart) {
  {
    TForm1& form = Start();
    form.Show();
    form.SetBounds({70, 80, 720, 520});
    form_.reset();
  }
  EXPECT_EQ(ReadPosition(L"State"), L"0");
  EXPECT_EQ(ReadPosition(L"left"), L"70");
  EXPECT_EQ(ReadPosition(L"top"), L"80");
  EXPECT_EQ(ReadPosition(L"width"), L"720");
  EXPECT_EQ(ReadPosition(L"height"), L"520");
  {
    TForm1& form = Start();
    EXPECT_EQ(form.Bounds(), (layout::Rect{70, 80, 720, 520}));
    form.Show();
    form.SetWindowState(2);
    form_.reset();
  }
  // Maximised: the state only; the bounds of the normal exit stay.
  EXPECT_EQ(ReadPosition(L"State"), L"2");
  EXPECT_EQ(ReadPosition(L"left"), L"70");
  EXPECT_EQ(ReadPosition(L"width"), L"720");
  {
    TForm1& form = Start();
    EXPECT_EQ(form.WindowState(), 2);
    form.Show();
    EXPECT_TRUE(IsZoomed(form.Handle()));
    form.SetWindowState(0);
    EXPECT_EQ(form.Bounds(), (layout::Rect{70, 80, 720, 520}));
  }
}

TEST_F(MainWindow, APlacementOffEveryMonitorOpensAtTheDefaultPlace) {
  TTntIniFile ini(SettingsPath());
  for (auto [key, value] : {std::pair{L"left", L"-20000"},
                            {L"top", L"-20000"},
                            {L"width", L"700"},
                            {L"height", L"500"},
                            {L"State", L"0"}})
    ini.WriteString(settings::kPosition, key, value);
  TForm1& form = Start();
  EXPECT_EQ(form.Bounds(), (layout::Rect{0, 0, 700, 500}));
}

TEST_F(MainWindow, AFailedWriteAtExitReleasesHookAndDropsFirstThenReports) {
  TForm1& form = Start();
  form.Show();
  HWND window = form.Handle();
  // A folder where settings.ini should be: reading gives the defaults,
  // writing fails.
  test::MakeDir(SettingsPath());
  bool hooked = true, accepting = true;
  on_message_ = [&](const MessageRequest&) {
    hooked = form.MessageHookInstalled();
    accepting = GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES;
  };
  form_.reset();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].text.find(L"Unable to write to"), WideString::npos);
  EXPECT_EQ(messages_[0].type & MB_ICONERROR, static_cast<UINT>(MB_ICONERROR));
  EXPECT_FALSE(hooked);
  EXPECT_FALSE(accepting);
}

// A drop handle naming one file, as the shell hands it over.
HDROP MakeDrop(const WideString& file) {
  const std::size_t bytes = sizeof(DROPFILES) + (file.size() + 2) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::copy(file.begin(), file.end(), reinterpret_cast<wchar_t*>(drop + 1));
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST_F(MainWindow, DroppedFilesReachTheirHandlerOnlyWhileTheHookLives) {
  TForm1& form = Start();
  form.Show();
  // The handler releases the drop handle; the window's default handling
  // leaves it alone.
  HDROP drop = MakeDrop(dir_ / L"missing.qmz");
  SendMessageW(form.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  EXPECT_EQ(GlobalFlags(drop), static_cast<UINT>(GMEM_INVALID_HANDLE));
  EXPECT_TRUE(form.PendingThemeFile.empty());

  HWND window = form.Handle();
  form.on_destroy = nullptr;  // keep the window, run the exit sequence alone
  form.FormDestroy();
  EXPECT_FALSE(form.MessageHookInstalled());
  EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  HDROP late = MakeDrop(dir_ / L"missing.qmz");
  SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(late), 0);
  EXPECT_NE(GlobalFlags(late), static_cast<UINT>(GMEM_INVALID_HANDLE));
  GlobalFree(late);
}

TEST_F(MainWindow, OnlyAPackedThemeOnTheCommandLineStartsAnInstall) {
  struct Case {
    std::vector<WideString> arguments;
    bool installs;
  } cases[] = {
      {{L"x.qmz"}, true},  {{L"X.QMZ"}, true},
      {{L"x.zip"}, false}, {{L"x.zip", L"y.qmz"}, false},  // only the first argument counts
      {{}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.empty() ? std::string("none") : WideToUtf8(c.arguments[0]));
    TForm1& form = Start(c.arguments);
    form.Show();
    const auto& steps = form.Steps();
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "tb_AddThemeClick"), c.installs ? 1 : 0);
    // The install consumes the name however it ends.
    EXPECT_TRUE(form.PendingThemeFile.empty());
    form_.reset();
  }
}

TEST_F(MainWindow, ControlsFollowTheirAnchors) {
  TForm1& form = Start();
  form.Show();
  const layout::Rect t3 = form.t_3.Bounds(), t1 = form.t_1.Bounds(), p1 = form.p_1.Bounds();
  const layout::Rect remove = form.Button5.Record().placed;
  form.ShowPage(5);
  const layout::Rect apply = form.Button1.Bounds();
  const layout::Rect outer = form.Bounds();
  form.SetBounds({outer.left, outer.top, outer.width + 100, outer.height + 50});
  EXPECT_EQ(form.t_3.Left(), t3.left + 100);
  EXPECT_EQ(form.t_1.Bounds(), t1);
  EXPECT_EQ(form.p_1.Width(), p1.width + 100);
  EXPECT_EQ(form.p_1.Height(), p1.height + 50);
  EXPECT_EQ(form.Button1.Left(), apply.left + 100);
  EXPECT_EQ(form.Button1.Top(), apply.top + 50);
  form.ShowPage(1);
  EXPECT_EQ(form.Button5.Top(), remove.top + 50);
  EXPECT_EQ(form.Button5.Left(), remove.left);
  // The link pictures keep 20 pixels left of their captions.
  EXPECT_EQ(form.TntImage1.Left(), form.TntLabel8.Left() - 20);
  EXPECT_EQ(form.Image2.Left(), form.Label12.Left() - 20);
  // The window keeps its smallest size.
  form.SetBounds({outer.left, outer.top, 100, 100});
  EXPECT_GE(form.Bounds().width, 560);
  EXPECT_GE(form.Bounds().height, 430);
}

TEST_F(MainWindow, AboutPagePlacesValuesAfterCaptionsAndOpensLinks) {
  TForm1& form = Start();
  form.Show();
  EXPECT_EQ(form.Label4.Text(), L"Version:  1.0.1 Final");
  EXPECT_NE(form.Label21.Text().find(L"Idea && Design:"), WideString::npos);
  struct Pair {
    win::Label TForm1::*value;
    win::Label TForm1::*caption;
  } pairs[] = {{&TForm1::Label10, &TForm1::Label18},
               {&TForm1::Label17, &TForm1::Label19},
               {&TForm1::Label9, &TForm1::Label20},
               {&TForm1::Label8, &TForm1::Label21}};
  for (const Pair& p : pairs) {
    const win::Label& caption = form.*p.caption;
    EXPECT_EQ((form.*p.value).Left(), caption.Left() + caption.Width() + 6);
  }

  form.Label10Click();
  form.Label17Click();
  ASSERT_EQ(shell_.size(), 2u);
  EXPECT_EQ(shell_[0].target, kWebPage);
  EXPECT_EQ(shell_[0].owner, nullptr);
  EXPECT_EQ(shell_[0].show, SW_SHOW);
  EXPECT_EQ(shell_[1].target,
            WideString(L"mailto:") + kSupportMail +
                L"?Subject=Stamplets%20%20&body=My%20Stamplets%20version%20is%20"
                L"%201.0.1%20Final%0D%0A%0A(Please%20use%20only%20English%20and%20Russian)"
                L"%0D%0A%0A");
  EXPECT_EQ(shell_[1].owner, form.Handle());
  EXPECT_EQ(shell_[1].show, SW_SHOWNORMAL);
}

}  // namespace
}  // namespace stamplets::manager
