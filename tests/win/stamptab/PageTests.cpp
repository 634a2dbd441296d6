// The "Stamplets" page in a modeless property sheet: what Initialize
// accepts, what the page shows for a stored stamplet, and what a double
// click (or Enter) writes into base.ini.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "StampletStore.h"
#include "StamptabFixture.h"
#include "TntIniFiles.h"

namespace stamplets::test {
namespace {

const std::vector<WideString> kNames = {L"Disabled", L"Certified",     L"Cool",     L"Danger",
                                        L"Delete",   L"Distinguished", L"Favorite", L"Important",
                                        L"New",      L"Personal",      L"Web"};

StamptabModule& Module() {
  return StamptabModule::Get();
}

StampletStore Store() {
  return StampletStore(Module().Folder().File(files::kStore));
}

// A handler initialised with the shell's data object for one file.
win::ComPtr<IShellExtInit> HandlerFor(const WideString& path) {
  auto handler = Module().CreateHandler();
  EXPECT_EQ(handler->Initialize(nullptr, ShellDataObject({path}).get(), nullptr), S_OK);
  return handler;
}

// The entries that carry the mark "[ ... ]".
std::vector<int> MarkedEntries(HWND list) {
  std::vector<int> marked;
  const auto texts = ItemTexts(list);
  for (int i = 0; i < static_cast<int>(texts.size()); ++i)
    if (texts[i].starts_with(L"[ ") && texts[i].ends_with(L" ]")) marked.push_back(i);
  return marked;
}

// The page's texts when entry `marked` (or none, for -1) holds the mark.
std::vector<WideString> Expected(const std::vector<WideString>& names, int marked) {
  std::vector<WideString> texts = names;
  if (marked >= 0) texts[marked] = L"[ " + names[marked] + L" ]";
  return texts;
}

class PageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Module().WriteStore(L"");
    Module().WriteSettings(L"");
  }
  void TearDown() override {
    Module().WriteStore(L"");
    Module().WriteSettings(L"");
  }
  TestFile file_{L"report.txt"};
};

TEST_F(PageTest, InitializeAcceptsExactlyOneItem) {
  TestFile other(L"other.txt");
  auto handler = Module().CreateHandler();
  EXPECT_EQ(handler->Initialize(nullptr, ShellDataObject({file_.Path()}).get(), nullptr), S_OK);
  EXPECT_EQ(handler->Initialize(nullptr, nullptr, nullptr), E_FAIL);
  EXPECT_EQ(handler->Initialize(nullptr, DropDataObject({}).get(), nullptr), E_FAIL);
  // Two items of one folder, as the shell hands them over.
  const WideString second =
      std::filesystem::path(file_.Path()).parent_path().wstring() + L"\\second.txt";
  WriteBytes(second, "y");
  EXPECT_EQ(handler->Initialize(nullptr, ShellDataObject({file_.Path(), second}).get(), nullptr),
            E_FAIL);
}

TEST_F(PageTest, ShowsElevenEntriesWithTheirIconsAndMarksTheStoredOne) {
  Module().WriteStore(L"[Files]\r\n" + file_.Path() + L"=7\r\n");
  auto handler = HandlerFor(file_.Path());
  ModelessSheet sheet({handler.get()});
  ASSERT_EQ(sheet.PageCount(), 1);
  HWND list = sheet.List();
  ASSERT_TRUE(list);
  EXPECT_EQ(ItemTexts(list), Expected(kNames, 7));
  for (int i = 0; i <= 10; ++i)
    EXPECT_EQ(ItemImage(list, i), i);
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
  ASSERT_TRUE(images);
  EXPECT_EQ(ImageList_GetImageCount(images), 11);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(images, &cx, &cy);
  EXPECT_EQ(cx, 50);
  EXPECT_EQ(cy, 50);
  wchar_t title[64] = {};
  TCITEMW tab{};
  tab.mask = TCIF_TEXT;
  tab.pszText = title;
  tab.cchTextMax = 64;
  SendMessageW(reinterpret_cast<HWND>(SendMessageW(sheet.Window(), PSM_GETTABCONTROL, 0, 0)),
               TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tab));
  EXPECT_STREQ(title, L"Stamplets");
}

TEST_F(PageTest, NoKeyMarksDisabledAndANumberOutsideTheEntriesMarksNone) {
  struct Case {
    const wchar_t* stored;  // nullptr: no key
    int marked;
  };
  for (const Case& c :
       {Case{nullptr, 0}, Case{L"12", -1}, Case{L"-1", -1}, Case{L"abc", 0}, Case{L"10", 10}}) {
    SCOPED_TRACE(c.stored ? WideToUtf8(c.stored) : "no key");
    Module().WriteStore(c.stored ? L"[Files]\r\n" + file_.Path() + L"=" + c.stored + L"\r\n" : L"");
    auto handler = HandlerFor(file_.Path());
    ModelessSheet sheet({handler.get()});
    EXPECT_EQ(ItemTexts(sheet.List()), Expected(kNames, c.marked));
  }
}

// The 50 x 50 picture drawn over white, as 32-bit pixels.
std::vector<std::uint32_t> Render(const std::function<void(HDC)>& draw) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 50;
  info.bmiHeader.biHeight = -50;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  win::unique_hdc dc(CreateCompatibleDC(nullptr));
  win::unique_hbitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  win::SelectObjectScope select(dc.get(), bitmap.get());
  RECT all{0, 0, 50, 50};
  FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  draw(dc.get());
  GdiFlush();
  auto* pixels = static_cast<std::uint32_t*>(bits);
  std::vector<std::uint32_t> result(pixels, pixels + 50 * 50);
  for (auto& p : result)
    p &= 0xFFFFFF;
  return result;
}

// Equal pictures, allowing the rounding of alpha blending (a few steps per
// colour channel).
bool SamePicture(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    for (int shift : {0, 8, 16}) {
      const int x = static_cast<int>((a[i] >> shift) & 0xFF);
      const int y = static_cast<int>((b[i] >> shift) & 0xFF);
      if (std::abs(x - y) > 4) return false;
    }
  return true;
}

TEST_F(PageTest, AnIconThatCannotBeLoadedKeepsItsSlot) {
  const WideString icon3 = Module().Folder().CurrentIcon(3);
  const WideString aside = icon3 + L".aside";
  ASSERT_TRUE(MoveFileW(icon3.c_str(), aside.c_str()));
  struct Restore {
    WideString from, to;
    ~Restore() { MoveFileW(from.c_str(), to.c_str()); }
  } restore{aside, icon3};

  auto handler = HandlerFor(file_.Path());
  ModelessSheet sheet({handler.get()});
  auto images =
      reinterpret_cast<HIMAGELIST>(SendMessageW(sheet.List(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
  ASSERT_EQ(ImageList_GetImageCount(images), 11);
  const auto white = Render([](HDC) {});
  for (int i = 0; i <= 10; ++i) {
    SCOPED_TRACE("image " + std::to_string(i));
    const auto shown = Render([&](HDC dc) { ImageList_Draw(images, i, dc, 0, 0, ILD_NORMAL); });
    if (i == 3) {
      EXPECT_TRUE(SamePicture(shown, white));
      continue;
    }
    win::unique_hicon icon(static_cast<HICON>(LoadImageW(
        nullptr, Module().Folder().CurrentIcon(i).c_str(), IMAGE_ICON, 50, 50, LR_LOADFROMFILE)));
    ASSERT_TRUE(icon);
    const auto expected =
        Render([&](HDC dc) { DrawIconEx(dc, 0, 0, icon.get(), 50, 50, 0, nullptr, DI_NORMAL); });
    EXPECT_FALSE(SamePicture(expected, white));
    EXPECT_TRUE(SamePicture(shown, expected));
  }
}

TEST_F(PageTest, TextsComeFromTheCurrentLanguageFile) {
  Module().WriteSettings(L"[Translate]\r\nCurLang=Deutsch.ini\r\n");
  TTntIniFile language(Module().Folder().LanguageFile(L"Deutsch.ini"));
  std::vector<WideString> names;
  for (const WideString& name : kNames)
    names.push_back(language.ReadString(L"Dict", name, name));
  ASSERT_NE(names[7], L"Important");
  const WideString prompt =
      language.ReadString(L"Dict", L"Double click to setup Stamplett for current object:", L"");
  ASSERT_FALSE(prompt.empty());

  auto handler = HandlerFor(file_.Path());
  ModelessSheet sheet({handler.get()});
  EXPECT_EQ(ItemTexts(sheet.List()), Expected(names, 0));
  wchar_t shown[256] = {};
  for (HWND child = GetWindow(sheet.Page(0), GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT))
    if (GetDlgCtrlID(child) == -1 || GetDlgCtrlID(child) == 0xFFFF)
      GetWindowTextW(child, shown, 256);
  EXPECT_EQ(WideString(shown), prompt);

  DoubleClick(sheet.List(), 7);
  EXPECT_EQ(ItemTexts(sheet.List()), Expected(names, 7));
}

TEST_F(PageTest, DoubleClicksWriteTheChoiceAndMoveTheMark) {
  auto handler = HandlerFor(file_.Path());
  ModelessSheet sheet({handler.get()});
  HWND list = sheet.List();
  struct Step {
    int entry;
    int stored;  // what the store then holds for the path
  };
  for (const Step& step : {Step{7, 7}, Step{10, 10}, Step{0, 0}, Step{3, 3}}) {
    SCOPED_TRACE("entry " + std::to_string(step.entry));
    DoubleClick(list, step.entry);
    EXPECT_EQ(Store().Read(file_.Path()), step.stored);
    EXPECT_EQ(Store().ListPaths().size(), step.stored ? 1u : 0u);
    EXPECT_EQ(MarkedEntries(list), std::vector<int>{step.entry});
  }
  // The value is the number as text, and "Disabled" removes the key.
  EXPECT_EQ(Store().List(), (std::vector<StampletRecord>{{file_.Path(), L"3"}}));
  DoubleClick(list, 0);
  EXPECT_TRUE(Store().List().empty());
}

TEST_F(PageTest, DoubleClickWithNothingSelectedChangesNothing) {
  Module().WriteStore(L"[Files]\r\n" + file_.Path() + L"=2\r\n");
  auto handler = HandlerFor(file_.Path());
  ModelessSheet sheet({handler.get()});
  DoubleClickNothing(sheet.List());
  EXPECT_EQ(Store().Read(file_.Path()), 2);
  EXPECT_EQ(ItemTexts(sheet.List()), Expected(kNames, 2));
}

TEST_F(PageTest, EnterOnTheSelectedEntryDoesWhatADoubleClickDoes) {
  auto handler = HandlerFor(file_.Path());
  ModelessSheet sheet({handler.get()});
  HWND list = sheet.List();
  LVITEMW state{};
  state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, 8, reinterpret_cast<LPARAM>(&state));
  SendMessageW(list, LVM_SETSELECTIONMARK, 0, 8);
  SetFocus(list);
  // Through the sheet's dialog-message handling, where Enter would
  // otherwise press the default button.
  PostMessageW(list, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageW(list, WM_KEYUP, VK_RETURN, 0xC0000001);
  sheet.Pump();
  EXPECT_EQ(Store().Read(file_.Path()), 8);
  EXPECT_EQ(MarkedEntries(list), std::vector<int>{8});
  EXPECT_TRUE(IsWindowVisible(sheet.Window()));
}

TEST_F(PageTest, AFolderIsMarkedLikeAFile) {
  TempDir folder;
  auto handler = HandlerFor(folder.Path());
  ModelessSheet sheet({handler.get()});
  DoubleClick(sheet.List(), 2);
  EXPECT_EQ(Store().List(), (std::vector<StampletRecord>{{folder.Path(), L"2"}}));
}

TEST_F(PageTest, TwoOpenPagesEachWriteTheirOwnItem) {
  TestFile second(L"second.txt");
  auto first_handler = HandlerFor(file_.Path());
  ModelessSheet first_sheet({first_handler.get()});
  // The second window's Initialize comes after the first page exists.
  auto second_handler = HandlerFor(second.Path());
  ModelessSheet second_sheet({second_handler.get()});
  first_handler.reset();
  second_handler.reset();

  DoubleClick(first_sheet.List(), 7);
  DoubleClick(second_sheet.List(), 10);
  DoubleClick(first_sheet.List(), 5);
  EXPECT_EQ(Store().Read(file_.Path()), 5);
  EXPECT_EQ(Store().Read(second.Path()), 10);
  EXPECT_EQ(Store().ListPaths().size(), 2u);
}

TEST_F(PageTest, PathsOutsideTheCodePageAndLongerThanMaxPathAreKeptWhole) {
  TestFile unicode(L"\x0416\x0443\x0440\x043d\x0430\x043b \x65e5\x8a18 \x2713.txt");
  auto handler = HandlerFor(unicode.Path());
  ModelessSheet sheet({handler.get()});
  ChangeNotifications changes;
  DoubleClick(sheet.List(), 7);
  EXPECT_EQ(Store().List(), (std::vector<StampletRecord>{{unicode.Path(), L"7"}}));
  // The shell is told about the same item: attributes first, then update.
  const std::vector<std::pair<LONG, WideString>> told = {{SHCNE_ATTRIBUTES, unicode.Path()},
                                                         {SHCNE_UPDATEITEM, unicode.Path()}};
  EXPECT_EQ(changes.Received(), told);

  WideString long_path =
      L"C:\\" + WideString(150, L'a') + L"\\" + WideString(150, L'b') + L"\\\x00e9t\x00e9.txt";
  ASSERT_GT(long_path.size(), 300u);
  auto long_handler = Module().CreateHandler();
  ASSERT_EQ(long_handler->Initialize(nullptr, DropDataObject({long_path}).get(), nullptr), S_OK);
  ModelessSheet long_sheet({long_handler.get()});
  DoubleClick(long_sheet.List(), 4);
  EXPECT_EQ(Store().Read(long_path), 4);
}

// Whether the file system refuses to write a file marked read-only (under
// Wine run as root it does not).
bool ReadOnlyRefusesWrites(const TempDir& dir) {
  const WideString probe = dir / L"probe.txt";
  WriteBytes(probe, "x");
  SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_READONLY);
  win::unique_hfile file(
      CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
  return !file;
}

TEST_F(PageTest, ARefusedWriteShowsTheErrorAndChangesNothingElse) {
  TestFile with_equals(L"a=b.txt");
  TempDir scratch;
  const WideString store = Module().Folder().File(files::kStore);
  enum class Refusal { kReadOnly, kLocked, kKey };
  struct Case {
    const char* name;
    Refusal refusal;
    WideString path;
    const wchar_t* text;
  };
  for (const Case& c :
       {Case{"read-only store", Refusal::kReadOnly, file_.Path(), L"Unable to write to"},
        Case{"store locked by another program", Refusal::kLocked, file_.Path(),
             L"Unable to write to"},
        Case{"path with =", Refusal::kKey, with_equals.Path(), L"="}}) {
    SCOPED_TRACE(c.name);
    if (c.refusal == Refusal::kReadOnly && !ReadOnlyRefusesWrites(scratch)) continue;
    Module().WriteStore(L"[Files]\r\nC:\\other.txt=2\r\n");
    const std::string before = ReadBytes(store);
    auto handler = HandlerFor(c.path);
    ModelessSheet sheet({handler.get()});
    win::unique_hfile lock;
    if (c.refusal == Refusal::kReadOnly) SetFileAttributesW(store.c_str(), FILE_ATTRIBUTE_READONLY);
    if (c.refusal == Refusal::kLocked)
      lock.reset(CreateFileW(store.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             0, nullptr));
    {
      MessageBoxWatcher box(L"Stamplets: Error");
      DoubleClick(sheet.List(), 6);
      EXPECT_TRUE(box.Seen());
      EXPECT_NE(box.Text().find(c.text), WideString::npos) << WideToUtf8(box.Text());
    }
    lock.reset();
    SetFileAttributesW(store.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(store), before);
    EXPECT_EQ(ItemTexts(sheet.List()), Expected(kNames, 0));
    EXPECT_TRUE(IsWindow(sheet.Window()));
  }
}

}  // namespace
}  // namespace stamplets::test
