// The Library page in the real main window, on a temporary installation
// folder: loading in file order with row numbers and the count hint, the
// invalid mark, removal of a selection and of invalid records (drives and
// shares that are not there are kept), sorting by a header, the change
// check on activation, and a store that refuses removal.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "Dialogs.h"
#include "Settings.h"
#include "TestSupport.h"
#include "TntIniFiles.h"
#include "Translation.h"
#include "Unit1.h"

namespace stamplets::manager {
namespace {

namespace fs = std::filesystem;

WideString AbsentDriveRoot() {
  const DWORD present = GetLogicalDrives();
  for (wchar_t letter = L'Q'; letter <= L'Y'; ++letter)
    if (!(present & (1u << (letter - L'A')))) return WideString(1, letter) + L":\\";
  return L"Q:\\";
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

class LibraryPage : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MakeDir(dir_ / L"icons");
    for (const wchar_t* name : {L"1.ico", L"2.ico", L"3.ico"})
      fs::copy_file(fs::path(test::DistFolder() + L"\\icons\\" + name),
                    fs::path(dir_ / (WideString(L"icons\\") + name)));
    LanguageSupport::SetCurrentLanguage(settings::kManagerDefaultLanguage);
    SetMessageHook([this](const MessageRequest& m) {
      messages_.push_back(m);
      return answer_;
    });
  }
  void TearDown() override {
    form_.reset();
    SetMessageHook({});
  }

  StampletStore Store() const { return StampletStore(dir_ / L"base.ini"); }
  void WriteStore(const std::vector<std::pair<WideString, WideString>>& records) {
    WideString text = L"[Files]\r\n";
    for (const auto& [path, value] : records)
      text += path + L"=" + value + L"\r\n";
    test::WriteBytes(dir_ / L"base.ini", test::Utf16File(text));
  }
  TForm1& Start() {
    form_ = std::make_unique<TForm1>(InstallFolder(dir_.Path()));
    form_->Show();
    Pump();
    return *form_;
  }
  std::vector<WideString> Column(int column) const {
    std::vector<WideString> texts;
    for (int row = 1; row < form_->StringGrid1.RowCount(); ++row)
      texts.push_back(form_->StringGrid1.Cells(column, row));
    return texts;
  }
  void ClickHeader(int column) {
    RECT item = form_->StringGrid1.CellRect(column, 0);
    LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(form_->StringGrid1.HeaderHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(form_->StringGrid1.HeaderHandle(), WM_LBUTTONUP, 0, at);
    Pump();
  }
  // The cell drawn alone into a bitmap of its size; returns the pixel at (x, y).
  COLORREF DrawnPixel(int column, int row, int x, int y) {
    const RECT cell = form_->StringGrid1.CellRect(column, row);
    const int width = cell.right - cell.left, height = cell.bottom - cell.top;
    HDC screen = GetDC(nullptr);
    win::unique_hdc dc(CreateCompatibleDC(screen));
    win::unique_hbitmap bitmap(CreateCompatibleBitmap(screen, width, height));
    ReleaseDC(nullptr, screen);
    win::SelectObjectScope select(dc.get(), bitmap.get());
    const RECT rect{0, 0, width, height};
    form_->StringGrid1DrawCell(dc.get(), column, row, rect, 0);
    return GetPixel(dc.get(), x, y);
  }

  test::TempDir dir_;
  std::unique_ptr<TForm1> form_;
  std::vector<MessageRequest> messages_;
  int answer_ = IDYES;
};

TEST_F(LibraryPage, ListsRecordsInFileOrderWithNumbersAndCountHint) {
  const WideString unicode = L"C:\\\x0416\x2603\\\x05D0.txt";
  WriteStore({{L"C:\\zeta.txt", L"3"}, {unicode, L"1"}, {L"C:\\alpha.txt", L"2"}});
  TForm1& form = Start();
  EXPECT_EQ(form.StringGrid1.RowCount(), 4);
  EXPECT_EQ(Column(2), (std::vector<WideString>{L"C:\\zeta.txt", unicode, L"C:\\alpha.txt"}));
  EXPECT_EQ(Column(1), (std::vector<WideString>{L"3", L"1", L"2"}));
  EXPECT_EQ(form.LibraryKeys->Count(), 3);
  EXPECT_EQ(form.StringGrid1.Cells(2, 0), L"Location");
  EXPECT_EQ(form.StringGrid1.ColWidths(0), 42);
  EXPECT_EQ(form.StringGrid1.ColWidths(1), 42);
  EXPECT_EQ(form.StringGrid1.DefaultRowHeight(), 22);
  EXPECT_EQ(form.StringGrid1.HeaderHeight(), 18);
  // Column 2 takes the rest of the grid's width.
  EXPECT_EQ(form.StringGrid1.ColWidths(2), form.StringGrid1.ClientWidth() - 42 - 42 - 4);

  form.ReloadLibrary();
  EXPECT_EQ(form.Get(L"StringGrid1").hint, L"3 items");

  // The row number is drawn right-aligned in column 0: ink near its right
  // edge, none at its left.
  bool ink_right = false;
  for (int x = 42 - 24; x < 42 - 16; ++x)
    for (int y = 4; y < 18; ++y)
      if (DrawnPixel(0, 2, x, y) == RGB(0, 0, 0)) ink_right = true;
  EXPECT_TRUE(ink_right);
  EXPECT_EQ(DrawnPixel(0, 2, 2, 11), RGB(216, 233, 254));  // row 2: the even fill
  EXPECT_EQ(DrawnPixel(2, 1, 2, 11), RGB(255, 255, 255));  // row 1: white
  // Column 1 shows the stamplet's icon, not the fill, in its middle.
  EXPECT_NE(DrawnPixel(1, 1, 21, 11), RGB(255, 255, 255));
  EXPECT_TRUE(messages_.empty());
}

TEST_F(LibraryPage, InvalidRecordShowsTheMarkAndTheBangText) {
  const WideString existing = dir_ / L"here.txt";
  test::WriteBytes(existing, "x");
  WriteStore(
      {{existing, L"1"}, {dir_ / L"gone.txt", L"2"}, {AbsentDriveRoot() + L"x\\y.txt", L"3"}});
  Start();
  EXPECT_EQ(Column(0), (std::vector<WideString>{L"", L"!", L""}));
  // The mark sits at x = 42 - 14 .. 42 - 4, centred in the row.
  const int mark_x = 42 - 14 + 5, mark_y = 11;
  EXPECT_NE(DrawnPixel(0, 2, mark_x, mark_y), RGB(216, 233, 254));
  EXPECT_EQ(DrawnPixel(0, 1, mark_x, mark_y), RGB(255, 255, 255));
  // A drive that is not there decides nothing: no mark.
  EXPECT_EQ(DrawnPixel(0, 3, mark_x, mark_y), RGB(255, 255, 255));
}

TEST_F(LibraryPage, RemoveDeletesTheSelectedRangeOnYesAndNothingOnNo) {
  WriteStore({{L"C:\\a1", L"1"},
              {L"C:\\a2", L"2"},
              {L"C:\\a3", L"3"},
              {L"C:\\a4", L"1"},
              {L"C:\\a5", L"2"}});
  TForm1& form = Start();
  form.StringGrid1.SelectRows(2, 4);

  answer_ = IDNO;
  form.Button5Click();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].caption, L"Stamplets: Accept ?");
  EXPECT_EQ(messages_[0].text, L"Remove all selected records ?");
  EXPECT_EQ(messages_[0].type & MB_DEFBUTTON2, UINT(MB_DEFBUTTON2));
  EXPECT_EQ(Store().ListPaths().size(), 5u);

  answer_ = IDYES;
  form.Button5Click();
  EXPECT_EQ(Store().ListPaths(), (std::vector<WideString>{L"C:\\a1", L"C:\\a5"}));
  EXPECT_EQ(Column(2), (std::vector<WideString>{L"C:\\a1", L"C:\\a5"}));
  EXPECT_EQ(form.Get(L"StringGrid1").hint, L"2 items");
  EXPECT_EQ(messages_.size(), 2u);  // the question only: every key went
  // The page's own removal is no outside change.
  form.TntFormActivate();
  EXPECT_EQ(messages_.size(), 2u);
}

TEST_F(LibraryPage, RemoveInvalidKeepsRootsExistingAndUnreachablePaths) {
  const WideString unicode = dir_ / L"\x0416\x2603 \x05D0.txt";  // outside the ANSI code page
  test::WriteBytes(unicode, "x");
  const WideString absent_drive = AbsentDriveRoot() + L"folder\\file.txt";
  const WideString silent_share = L"\\\\no-such-server-here\\share\\file.txt";
  WriteStore({{AbsentDriveRoot(), L"1"},
              {unicode, L"2"},
              {dir_ / L"deleted.txt", L"3"},
              {absent_drive, L"4"},
              {silent_share, L"5"},
              {dir_ / L"old\\file.txt", L"6"}});
  TForm1& form = Start();

  answer_ = IDNO;
  form.Button6Click();
  EXPECT_EQ(Store().ListPaths().size(), 6u);

  answer_ = IDYES;
  form.Button6Click();
  EXPECT_EQ(Store().ListPaths(),
            (std::vector<WideString>{AbsentDriveRoot(), unicode, absent_drive, silent_share}));
  EXPECT_EQ(form.StringGrid1.RowCount(), 5);
  EXPECT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[1].text, L"Remove all invalid records ?");
}

TEST_F(LibraryPage, LocationHeaderSortsAscendingThenDescending) {
  WriteStore({{L"C:\\beta", L"1"}, {L"c:\\Alpha", L"2"}, {L"C:\\gamma", L"3"}});
  TForm1& form = Start();
  EXPECT_EQ(form.LastSortColumn, 2);
  ClickHeader(2);
  EXPECT_EQ(Column(2), (std::vector<WideString>{L"c:\\Alpha", L"C:\\beta", L"C:\\gamma"}));
  ClickHeader(2);
  EXPECT_EQ(Column(2), (std::vector<WideString>{L"C:\\gamma", L"C:\\beta", L"c:\\Alpha"}));
  // Another column starts from the options the last click left.
  ClickHeader(1);
  EXPECT_EQ(form.LastSortColumn, 1);
  EXPECT_EQ(form.StringGrid1.SortColumn(), 1);
  // A reload restores file order.
  form.ReloadLibrary();
  EXPECT_EQ(Column(2), (std::vector<WideString>{L"C:\\beta", L"c:\\Alpha", L"C:\\gamma"}));
}

TEST_F(LibraryPage, ActivationReloadsOnceWhenPathsChangedButNotForNumbers) {
  WriteStore({{L"C:\\one.txt", L"1"}, {L"C:\\two.txt", L"2"}});
  TForm1& form = Start();

  // The property page changes a number only: nothing to say.
  Store().Set(L"C:\\two.txt", 9);
  form.TntFormActivate();
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(Column(1), (std::vector<WideString>{L"1", L"2"}));  // the old number stays

  // The property page marks a new path: said once, then listed.
  Store().Set(L"C:\\three.txt", 3);
  form.TntFormActivate();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].caption, L"Stamplets: NOTE");
  EXPECT_EQ(messages_[0].text, L"Library was modified, now it will be reloaded");
  EXPECT_EQ(messages_[0].type, UINT(MB_OK));
  EXPECT_EQ(Column(2), (std::vector<WideString>{L"C:\\one.txt", L"C:\\two.txt", L"C:\\three.txt"}));
  EXPECT_EQ(form.Get(L"StringGrid1").hint, L"3 items");
  form.TntFormActivate();
  EXPECT_EQ(messages_.size(), 1u);
}

// Whether the file system refuses to write a file marked read-only (under
// Wine run as root it does not).
bool ReadOnlyRefusesWrites(const WideString& probe) {
  test::WriteBytes(probe, "x");
  SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_READONLY);
  win::unique_hfile file(
      CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
  return !file;
}

TEST_F(LibraryPage, StoreThatRefusesRemovalReportsTheKeysItKeptOnce) {
  const WideString store = dir_ / L"base.ini";
  for (const bool read_only : {true, false}) {
    SCOPED_TRACE(read_only ? "read-only store" : "store locked by another program");
    if (read_only && !ReadOnlyRefusesWrites(dir_ / L"probe.txt")) continue;
    WriteStore({{L"C:\\a1", L"1"}, {L"C:\\a2", L"2"}, {dir_ / L"gone.txt", L"3"}});
    messages_.clear();
    TForm1& form = Start();
    win::unique_hfile lock;
    if (read_only)
      SetFileAttributesW(store.c_str(), FILE_ATTRIBUTE_READONLY);
    else
      lock.reset(CreateFileW(store.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             0, nullptr));

    form.StringGrid1.SelectRows(1, 2);
    form.Button5Click();
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[1].caption, L"Stamplets: Error");
    EXPECT_NE(messages_[1].text.find(L"could not be removed"), WideString::npos);
    EXPECT_NE(messages_[1].text.find(L"C:\\a1"), WideString::npos);
    EXPECT_NE(messages_[1].text.find(L"C:\\a2"), WideString::npos);
    EXPECT_EQ(form.StringGrid1.RowCount(), 4);  // still listed, and said so

    form.Button6Click();
    ASSERT_EQ(messages_.size(), 4u);
    EXPECT_NE(messages_[3].text.find(L"gone.txt"), WideString::npos);
    lock.reset();
    SetFileAttributesW(store.c_str(), FILE_ATTRIBUTE_NORMAL);
    form_.reset();
  }
}

TEST_F(LibraryPage, NoStoreShowsTheHeaderOnlyAndRemovalsChangeNothing) {
  TForm1& form = Start();
  EXPECT_EQ(form.StringGrid1.RowCount(), 1);
  form.Button5Click();
  form.Button6Click();
  EXPECT_EQ(messages_.size(), 2u);
  EXPECT_FALSE(test::Exists(dir_ / L"base.ini"));
}

}  // namespace
}  // namespace stamplets::manager
