// The installation folder that the build lays out: every file the programs
// expect is in place, and every icon loads at the sizes it is drawn at.
#include <windows.h>

#include <gtest/gtest.h>

#include "Handles.h"
#include "InstallFolder.h"
#include "System.h"
#include "TestSupport.h"
#include "TntIniFiles.h"

namespace stamplets {
namespace {

const InstallFolder& Dist() {
  static const InstallFolder folder(test::DistFolder());
  return folder;
}

// Loads the icon file at the size (0 = the icon's own default size) and
// checks the loaded picture really has that size.
void ExpectIconLoads(const WideString& path, int size) {
  SCOPED_TRACE(WideToUtf8(path) + " at " + std::to_string(size));
  win::unique_hicon icon(
      static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, size, size,
                                    LR_LOADFROMFILE | (size == 0 ? LR_DEFAULTSIZE : 0))));
  ASSERT_TRUE(icon);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon.get(), &info));
  win::unique_hbitmap color(info.hbmColor), mask(info.hbmMask);
  BITMAP bm{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, size == 0 ? GetSystemMetrics(SM_CXICON) : size);
}

TEST(Installation, CurrentIconsLoadAtPageAndGridSizes) {
  for (int n = 0; n <= 10; ++n)
    for (int size : {50, 14})
      ExpectIconLoads(Dist().CurrentIcon(n), size);
}

TEST(Installation, EveryThemeHasTenIconsAndADescriptionNamingItsFolder) {
  for (const wchar_t* theme : {L"Zadovu", L"Slate"}) {
    const WideString folder = Dist().ThemeFolder(theme);
    for (int n = 1; n <= 10; ++n)
      ExpectIconLoads(folder + IntToWide(n) + L".ico", 50);
    ASSERT_TRUE(sys::FileExists(folder + files::kThemeDescription));
    EXPECT_EQ(test::ReadBytes(folder + files::kThemeDescription).substr(0, 2), "\xFF\xFE");
    TTntIniFile plist(folder + files::kThemeDescription);
    EXPECT_EQ(plist.ReadString(L"AUTHOR", L"THEME_NAME", L""), theme);
    for (const wchar_t* key : {L"NAME", L"VER", L"COPYRIGHT"})
      EXPECT_FALSE(plist.ReadString(L"AUTHOR", key, L"").empty()) << WideToUtf8(key);
  }
}

TEST(Installation, ToolbarSetAndFlagsLoadAtTheirOwnSize) {
  for (const wchar_t* name :
       {L"library.ico", L"themes.ico", L"About.ico", L"Language.ico", L"options.ico"})
    ExpectIconLoads(Dist().ToolbarSetFolder(L"Zadovu") + name, 0);
  ExpectIconLoads(Dist().File(files::kEnglishFlag), 0);
  for (const wchar_t* language : {L"Deutsch", L"Russian"})
    ExpectIconLoads(Dist().LanguageFile(WideString(language) + L".ico"), 0);
}

TEST(Installation, LanguageFilesAreUtf16AndCarryTheirTranslatorData) {
  for (const wchar_t* file : {L"Deutsch.ini", L"Russian.ini"}) {
    SCOPED_TRACE(WideToUtf8(file));
    const WideString path = Dist().LanguageFile(file);
    EXPECT_EQ(test::ReadBytes(path).substr(0, 2), "\xFF\xFE");
    TTntIniFile ini(path);
    EXPECT_GE(ini.ReadString(L"Dict", L"Native Name", L"").size(), 4u);
    EXPECT_FALSE(ini.ReadString(L"Translator", L"Ver", L"").empty());
    for (const wchar_t* key : {L"Author", L"www", L"email"})
      EXPECT_FALSE(ini.ReadString(L"TRANSLATOR", key, L"").empty());
    EXPECT_NE(ini.ReadString(L"Dict", L"Important", L"Important"), L"Important");
  }
  TTntIniFile russian(Dist().LanguageFile(L"Russian.ini"));
  EXPECT_EQ(russian.ReadString(L"Dict", L"Native Name", L""), L"Русский");
}

}  // namespace
}  // namespace stamplets
