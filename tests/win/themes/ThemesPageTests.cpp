// The Themes page in the main window, made in-process on a temporary
// installation folder: the list, the information panel, the rows, and the
// commands with their messages (answered through the message hook).
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>

#include "Dialogs.h"
#include "InstallFolder.h"
#include "Settings.h"
#include "TestSupport.h"
#include "ThemePackage.h"
#include "Translation.h"
#include "Unit1.h"
#include "ZipArchive.h"

namespace stamplets::manager {
namespace {

class ThemesPage : public ::testing::Test {
 protected:
  void SetUp() override {
    LanguageSupport::SetCurrentLanguage(settings::kManagerDefaultLanguage);
    SetMessageHook([this](const MessageRequest& m) {
      messages_.push_back(m);
      if (answers_.empty()) return IDOK;
      int answer = answers_.front();
      answers_.pop_front();
      return answer;
    });
    SetShellHook([](const ShellRequest&) {});
  }
  void TearDown() override {
    form_.reset();
    SetMessageHook({});
    SetShellHook({});
    SetFileDialogHook({});
  }

  InstallFolder Folder() const { return InstallFolder(dir_.Path()); }
  TForm1& Start() {
    form_ = std::make_unique<TForm1>(Folder());
    return *form_;
  }
  WideString Theme(const WideString& name, const WideString& copyright = L"") {
    WideString dir = Folder().ThemeFolder(name);
    test::MakeDir(dir);
    for (int n = 1; n <= 10; ++n)
      test::WriteBytes(dir + IntToWide(n) + L".ico", "icon " + std::to_string(n));
    test::WriteBytes(dir + L"plist.ini",
                     test::Utf16File(L"[AUTHOR]\r\nNAME=Someone\r\nVER=1.0\r\nTHEME_NAME=" + name +
                                     L"\r\nCOPYRIGHT=" + copyright + L"\r\n"));
    return dir;
  }
  WideString Package(const WideString& file, const WideString& theme) {
    WideString path = dir_ / file;
    auto archive = ZipWriter::Open(path);
    for (int n = 1; n <= 10; ++n)
      archive->Add(IntToWide(n) + L".ico", "icon " + std::to_string(n));
    archive->Add(L"plist.ini", test::Utf16File(L"[AUTHOR]\r\nTHEME_NAME=" + theme + L"\r\n"));
    EXPECT_TRUE(archive->Close());
    return path;
  }
  static std::vector<WideString> Items(const TForm1& form) {
    std::vector<WideString> items;
    for (int i = 0; i < form.ListBox1.Count(); ++i)
      items.push_back(form.ListBox1.Item(i));
    return items;
  }

  test::TempDir dir_;
  std::unique_ptr<TForm1> form_;
  std::vector<MessageRequest> messages_;
  std::deque<int> answers_;
};

// A drop handle holding the paths, as the shell makes it.
HDROP MakeDrop(const std::vector<WideString>& paths) {
  WideString list;
  for (const WideString& p : paths)
    list += p + L'\0';
  list += L'\0';
  HGLOBAL memory =
      GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(drop + 1));
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST_F(ThemesPage, ListsThemeFoldersOnlyAndDescribesTheCurrentOne) {
  Theme(L"Zadovu", L"first/nsecond/Nthird");
  Theme(L"Slate");
  test::WriteBytes(dir_ / L"themes\\plain file", "x");
  test::MakeDir(dir_ / L"themes\\...");
  test::MakeDir(dir_ / L"themes\\Hidden");
  SetFileAttributesW((dir_ / L"themes\\Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);

  TForm1& form = Start();
  std::vector<WideString> items = Items(form);
  std::sort(items.begin(), items.end());
  EXPECT_EQ(items, (std::vector<WideString>{L"Slate", L"Zadovu"}));
  // No [Theme] stored: the default theme is selected and described.
  ASSERT_GE(form.ListBox1.ItemIndex(), 0);
  EXPECT_EQ(form.ListBox1.Item(form.ListBox1.ItemIndex()), L"Zadovu");
  EXPECT_EQ(form.th_THEME_NAME.Text(), L"Zadovu");
  EXPECT_EQ(form.th_Author.Text(), L"Someone");
  EXPECT_EQ(form.th_Ver.Text(), L"1.0");
  EXPECT_EQ(form.th_COPYRIGHT.Text(), L"first\r\nsecond\r\nthird");
  int height = 0;
  form.ListBox1MeasureItem(0, height);
  EXPECT_EQ(height, 74);
}

TEST_F(ThemesPage, AStoredNameInOtherLetterCaseSelectsNothing) {
  Theme(L"Zadovu");
  Settings(Folder().File(files::kSettings)).WriteTheme(L"zadovu");
  TForm1& form = Start();
  EXPECT_EQ(form.ListBox1.ItemIndex(), -1);
  EXPECT_EQ(form.th_THEME_NAME.Text(), L"");
}

TEST_F(ThemesPage, RowsAreFilledByTheirStateAndIndex) {
  Theme(L"Zadovu");
  TForm1& form = Start();
  win::unique_hdc dc(CreateCompatibleDC(nullptr));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 600, 74, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  win::unique_hbitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  win::SelectObjectScope select(dc.get(), bitmap.get());
  struct Row {
    int index;
    UINT state;
    COLORREF fill;
  };
  for (Row row : {Row{0, ODS_SELECTED, RGB(0, 113, 225)}, Row{1, 0, RGB(216, 233, 254)},
                  Row{2, 0, RGB(255, 255, 255)}}) {
    form.ListBox1DrawItem({dc.get(), 0, {0, 0, 600, 74}, row.state, form.ListBox1.Handle()});
    form.ListBox1DrawItem(
        {dc.get(), row.index, {0, 0, 600, 74}, row.state, form.ListBox1.Handle()});
    EXPECT_EQ(GetPixel(dc.get(), 595, 2), row.fill) << row.index;
  }
}

TEST_F(ThemesPage, DoubleClickWithoutSelectionOnlySaysSo) {
  Theme(L"Slate");
  TForm1& form = Start();
  ASSERT_EQ(form.ListBox1.ItemIndex(), -1);
  form.ListBox1DblClick();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, L"Please, select theme");
  EXPECT_EQ(messages_[0].caption, L"Stamplets: Note");
  EXPECT_EQ(messages_[0].type, static_cast<UINT>(MB_OK));
  EXPECT_FALSE(test::Exists(Folder().File(files::kSettings)));
}

TEST_F(ThemesPage, DroppedPackagesAreOfferedInOrderAndFoldersSkipped) {
  Theme(L"Zadovu");
  TForm1& form = Start();
  test::MakeDir(dir_ / L"a folder.qmz");
  HDROP drop =
      MakeDrop({dir_ / L"a folder.qmz", Package(L"one.qmz", L"One"), Package(L"two.zip", L"Two")});
  answers_ = {IDNO, IDYES};
  form.HandleDroppedFiles(drop);

  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[0].text, L"Install theme : \"One\" ?");
  EXPECT_EQ(messages_[0].caption, L"Stamplets: Confirm");
  EXPECT_EQ(messages_[0].type, static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2));
  EXPECT_EQ(messages_[1].text, L"Install theme : \"Two\" ?");
  EXPECT_FALSE(test::Exists(Folder().ThemeFolder(L"One")));
  EXPECT_TRUE(test::Exists(Folder().ThemeFolder(L"Two") + L"10.ico"));
  std::vector<WideString> items = Items(form);
  EXPECT_NE(std::find(items.begin(), items.end(), L"Two"), items.end());
  EXPECT_EQ(form.ListBox1.ItemIndex(), -1);
  EXPECT_TRUE(form.PendingThemeFile.empty());
}

TEST_F(ThemesPage, ACorruptedPackageIsReportedAsSuch) {
  TForm1& form = Start();
  WideString path = dir_ / L"nested.qmz";
  auto archive = ZipWriter::Open(path);
  for (const WideString& name : package::RequiredNames())
    archive->Add(L"inner\\" + name, "x");
  ASSERT_TRUE(archive->Close());
  form.PendingThemeFile = path;
  form.tb_AddThemeClick();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, L"Theme is corrupted, sorry.");
  EXPECT_EQ(messages_[0].caption, L"Stamplets: Error");
  EXPECT_EQ(messages_[0].type, static_cast<UINT>(MB_OK));
  EXPECT_TRUE(form.PendingThemeFile.empty());
}

TEST_F(ThemesPage, DeletingTheCurrentThemeLeavesSettingsAndIcons) {
  Theme(L"Zadovu");
  Theme(L"Slate");
  test::MakeDir(dir_ / L"icons");
  test::WriteBytes(Folder().CurrentIcon(1), "current");
  Settings(Folder().File(files::kSettings)).WriteTheme(L"Zadovu");
  std::string settings = test::ReadBytes(Folder().File(files::kSettings));
  TForm1& form = Start();
  ASSERT_GE(form.ListBox1.ItemIndex(), 0);

  answers_ = {IDYES};
  form.tb_DeleteThemeClick();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, L"Remove selected Theme ?");
  EXPECT_EQ(messages_[0].caption, L"Stamplets: Accept ?");
  EXPECT_FALSE(test::Exists(dir_ / L"themes\\Zadovu"));
  EXPECT_EQ(Items(form), std::vector<WideString>{L"Slate"});
  EXPECT_EQ(form.ListBox1.ItemIndex(), -1);
  EXPECT_EQ(test::ReadBytes(Folder().File(files::kSettings)), settings);
  EXPECT_EQ(test::ReadBytes(Folder().CurrentIcon(1)), "current");

  form.tb_DeleteThemeClick();
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[1].text, L"Please select theme to delete.");
  EXPECT_EQ(messages_[1].caption, L"Stamplets: Information");
}

TEST_F(ThemesPage, PackingTheSelectedThemeReportsTheOutcome) {
  Theme(L"Zadovu");
  TForm1& form = Start();
  EXPECT_FALSE(form.tb_PackTheme.Visible());
  WideString target = dir_ / L"packed.qmz";
  std::vector<FileDialogRequest> dialogs;
  SetFileDialogHook([&](const FileDialogRequest& r) {
    dialogs.push_back(r);
    return target;
  });
  form.tb_PackThemeClick();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_TRUE(dialogs[0].save);
  EXPECT_EQ(dialogs[0].filter, L"Varnok Stamplets Theme zipped ( *.qmz )|*.qmz");
  EXPECT_EQ(dialogs[0].default_extension, L"qmz");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, L"Packed theme was created succesfully");
  auto reader = ZipReader::Open(target);
  ASSERT_TRUE(reader);
  EXPECT_TRUE(IsValidPackage(reader->Names()));

  DeleteFileW((Folder().ThemeFolder(L"Zadovu") + L"10.ico").c_str());
  target = dir_ / L"short.qmz";
  form.tb_PackThemeClick();
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[1].text, L"Packed theme was NOT created");
}

}  // namespace
}  // namespace stamplets::manager
