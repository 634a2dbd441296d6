// Making a theme current (icons copied through backups, ric.exe started,
// the name stored) and deleting the current theme, in an installation folder
// whose path and theme names lie outside the ANSI code page.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <thread>

#include "Handles.h"
#include "InstallFolder.h"
#include "Settings.h"
#include "TestSupport.h"
#include "ThemeActions.h"

namespace stamplets {
namespace {

using test::Exists;
using test::ReadBytes;
using test::WriteBytes;

std::string IconBytes(std::string_view tag, int n) {
  return std::string(tag) + " icon " + std::to_string(n);
}

struct Installation {
  test::TempDir root;
  WideString install = root / L"Stamplets \x0423\x0441\x0442 \x6F22";
  InstallFolder folder{install};

  Installation() {
    test::MakeDir(install + L"\\icons");
    for (int n = 1; n <= 10; ++n)
      WriteBytes(folder.CurrentIcon(n), IconBytes("current", n));
    WriteBytes(folder.File(files::kSettings), test::Utf16File(L"[Theme]\r\nName=Zadovu\r\n"));
    EXPECT_TRUE(CopyFileW(test::SiblingProgram("ric_standin").c_str(),
                          folder.File(files::kIconRefresher).c_str(), FALSE));
  }

  // themes\<name>\ holding N.ico for each of the numbers.
  WideString Theme(const WideString& name, std::initializer_list<int> numbers) {
    WideString dir = folder.ThemeFolder(name);
    test::MakeDir(dir);
    for (int n : numbers)
      WriteBytes(dir + IntToWide(n) + L".ico", IconBytes("theme", n));
    WriteBytes(dir + L"plist.ini", test::Utf16File(L"[AUTHOR]\r\nTHEME_NAME=" + name + L"\r\n"));
    return dir;
  }

  // How often the stand-in ric.exe was started: waits for its first start,
  // then a little longer for any further one.
  int RicStarts() const {
    WideString log = install + L"\\ric.log";
    for (int i = 0; i < 300 && !Exists(log); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (!Exists(log)) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    std::string lines = ReadBytes(log);
    return static_cast<int>(std::count(lines.begin(), lines.end(), '\n'));
  }

  bool AnyBackup() const {
    for (int n = 1; n <= 10; ++n)
      if (Exists(folder.CurrentIcon(n) + L".old")) return true;
    return false;
  }
};

TEST(ActivateTheme, ReplacesEveryIconRemovesTheBackupsStartsRicOnceAndStoresTheName) {
  Installation inst;
  const WideString name = L"\x0422\x0435\x043C\x0430 \x6F22";
  WideString theme = inst.Theme(name, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  // A current icon that is read-only and hidden is replaced all the same.
  SetFileAttributesW(inst.folder.CurrentIcon(3).c_str(),
                     FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

  ActivateTheme(nullptr, inst.folder, theme);
  StoreCurrentTheme(inst.folder, name);

  for (int n = 1; n <= 10; ++n)
    EXPECT_EQ(ReadBytes(inst.folder.CurrentIcon(n)), IconBytes("theme", n)) << n;
  EXPECT_FALSE(inst.AnyBackup());
  EXPECT_EQ(inst.RicStarts(), 1);
  EXPECT_EQ(Settings(inst.folder.File(files::kSettings)).ReadTheme(), name);
}

TEST(ActivateTheme, ATenthIconMissingKeepsTheCurrentOneAndItsBackup) {
  Installation inst;
  WideString theme = inst.Theme(L"Nine", {1, 2, 3, 4, 5, 6, 7, 8, 9});

  ActivateTheme(nullptr, inst.folder, theme);

  for (int n = 1; n <= 9; ++n) {
    EXPECT_EQ(ReadBytes(inst.folder.CurrentIcon(n)), IconBytes("theme", n)) << n;
    EXPECT_FALSE(Exists(inst.folder.CurrentIcon(n) + L".old")) << n;
  }
  EXPECT_EQ(ReadBytes(inst.folder.CurrentIcon(10)), IconBytes("current", 10));
  EXPECT_EQ(ReadBytes(inst.folder.CurrentIcon(10) + L".old"), IconBytes("current", 10));
  EXPECT_EQ(inst.RicStarts(), 1);
}

TEST(ActivateTheme, AFailedCopyNeverLeavesACurrentIconMissing) {
  Installation inst;
  WideString theme = inst.Theme(L"Broken", {1, 2, 3, 5, 7, 8, 9, 10});
  // No 4.ico, and a stale backup of icon 4 that cannot be replaced or read.
  WideString stale = inst.folder.CurrentIcon(4) + L".old";
  WriteBytes(stale, "stale");
  win::unique_hfile held(CreateFileW(stale.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);
  // 6.ico is a folder, which must not take the place of icon 6.
  test::MakeDir(theme + L"6.ico");

  ActivateTheme(nullptr, inst.folder, theme);
  held.reset();

  for (int n : {1, 2, 3, 5, 7, 8, 9, 10})
    EXPECT_EQ(ReadBytes(inst.folder.CurrentIcon(n)), IconBytes("theme", n)) << n;
  for (int n : {4, 6}) {
    DWORD attributes = GetFileAttributesW(inst.folder.CurrentIcon(n).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      ADD_FAILURE() << "icons\\" << n << ".ico is missing or a folder";
      continue;
    }
    EXPECT_EQ(ReadBytes(inst.folder.CurrentIcon(n)), IconBytes("current", n)) << n;
  }
  EXPECT_EQ(inst.RicStarts(), 1);
}

TEST(ActivateTheme, AThemeFolderThatIsGoneCopiesNothingAndStillStartsRic) {
  Installation inst;

  ActivateTheme(nullptr, inst.folder, inst.folder.ThemeFolder(L"Gone"));

  for (int n = 1; n <= 10; ++n)
    EXPECT_EQ(ReadBytes(inst.folder.CurrentIcon(n)), IconBytes("current", n)) << n;
  EXPECT_FALSE(inst.AnyBackup());
  EXPECT_EQ(inst.RicStarts(), 1);
}

TEST(DeleteTheme, TheCurrentThemeGoesWithItsContentSettingsAndIconsStay) {
  Installation inst;
  WideString current = inst.Theme(L"Zadovu", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  test::MakeDir(current + L"extra");
  WriteBytes(current + L"extra\\notes.txt", "notes");
  inst.Theme(L"Slate", {1, 2});
  std::string settings = ReadBytes(inst.folder.File(files::kSettings));

  DeleteTheme(inst.folder, L"Zadovu");

  EXPECT_FALSE(Exists(inst.install + L"\\themes\\Zadovu"));
  EXPECT_TRUE(Exists(inst.folder.ThemeFolder(L"Slate") + L"2.ico"));
  EXPECT_EQ(ReadBytes(inst.folder.File(files::kSettings)), settings);
  for (int n = 1; n <= 10; ++n)
    EXPECT_EQ(ReadBytes(inst.folder.CurrentIcon(n)), IconBytes("current", n)) << n;
}

}  // namespace
}  // namespace stamplets
