// Toolbar sets: which sub-folders are listed, which icons a set has, the
// item text, and the saved choice that start-up applies.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "Settings.h"
#include "TestSupport.h"
#include "ToolbarSets.h"
#include "Translation.h"

namespace stamplets::test {
namespace {

class ToolbarSetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LanguageSupport::SetInstallFolder(Folder());
    LanguageSupport::SetCurrentLanguage(settings::kEnglish);
  }
  InstallFolder Folder() const { return InstallFolder(dir_.Path()); }
  void MakeSet(const WideString& name, std::initializer_list<const wchar_t*> icons) {
    MakeDir(dir_ / (L"toolbar\\" + name));
    for (const wchar_t* icon : icons)
      WriteBytes(dir_ / (L"toolbar\\" + name + L"\\" + icon), "icon");
  }
  TempDir dir_;
};

TEST_F(ToolbarSetsTest, ListsEveryFolderUnderToolbarAndNothingElse) {
  EXPECT_TRUE(toolbar::ListToolbarSets(Folder()).empty());  // no toolbar folder

  MakeSet(L"Zadovu", {});
  MakeSet(L"Default", {});
  MakeSet(L"Набор", {});
  WriteBytes(dir_ / L"toolbar\\loose.ico", "icon");
  auto sets = toolbar::ListToolbarSets(Folder());
  std::sort(sets.begin(), sets.end());
  EXPECT_EQ(sets, (std::vector<WideString>{L"Default", L"Zadovu", L"Набор"}));
}

TEST_F(ToolbarSetsTest, ASetGivesOnlyTheIconsItHasByPage) {
  MakeSet(L"Part", {L"library.ico", L"Language.ico", L"options.ico"});
  const auto icons = toolbar::ExistingIconFiles(Folder(), L"Part");
  const WideString set = dir_ / L"toolbar\\Part\\";
  EXPECT_EQ(icons[0], set + L"library.ico");
  EXPECT_EQ(icons[1], L"");
  EXPECT_EQ(icons[2], L"");
  EXPECT_EQ(icons[3], set + L"Language.ico");
  EXPECT_EQ(icons[4], set + L"options.ico");
  // A saved empty name points at toolbar\ itself, which holds sets, not icons.
  EXPECT_EQ(toolbar::ExistingIconFiles(Folder(), L""), (std::array<WideString, 5>{}));
}

TEST_F(ToolbarSetsTest, OnlyTheDefaultSetCarriesTheDefaultMarkInTheCurrentLanguage) {
  EXPECT_EQ(toolbar::ItemText(L"Zadovu"), L"Zadovu (Default )");
  EXPECT_EQ(toolbar::ItemText(L"zadovu"), L"zadovu");
  EXPECT_EQ(toolbar::ItemText(L"Slate"), L"Slate");

  MakeDir(dir_ / L"langs");
  WriteBytes(dir_ / L"langs\\Russian.ini", Utf16File(L"[Dict]\r\nDefault=По умолчанию\r\n"));
  LanguageSupport::SetCurrentLanguage(L"Russian.ini");
  EXPECT_EQ(toolbar::ItemText(L"Zadovu"), L"Zadovu (По умолчанию )");
}

TEST_F(ToolbarSetsTest, TheSavedChoiceSelectsAnExactMatchAndLoadsAllButDefault) {
  const std::vector<WideString> listed = {L"Slate", L"Zadovu", L"Default"};
  struct Case {
    const wchar_t* saved;  // nullptr: no settings.ini
    WideString name;
    int index;
    bool load;
  } cases[] = {
      {nullptr, L"Zadovu", 1, true},      {L"Slate", L"Slate", 0, true},
      {L"Default", L"Default", 2, false}, {L"", L"", -1, true},
      {L"zadovu", L"zadovu", -1, true},   {L"Gone", L"Gone", -1, true},
  };
  const Settings settings(Folder().File(files::kSettings));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.saved ? WideToUtf8(c.saved) : "no settings.ini");
    DeleteFileW(settings.Path().c_str());
    if (c.saved) settings.WriteToolbarSet(c.saved);
    const auto choice = toolbar::ReadSavedChoice(Folder(), listed);
    EXPECT_EQ(choice.name, c.name);
    EXPECT_EQ(choice.index, c.index);
    EXPECT_EQ(choice.load, c.load);
  }
}

}  // namespace
}  // namespace stamplets::test
