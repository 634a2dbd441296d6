// The registry probe behind the Settings page's check boxes, and Apply's
// registration calls: their order, that each runs whatever became of the
// other, and what the user is told when one fails.
#include <windows.h>

#include "Errors.h"
#include "Settings.h"
#include "SettingsFixture.h"
#include "ShellIntegration.h"
#include "Translation.h"

namespace stamplets::test {
namespace {

using shell::IntegrationState;

class ShellIntegrationTest : public SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    LanguageSupport::SetInstallFolder(Folder());
    LanguageSupport::SetCurrentLanguage(settings::kEnglish);
  }
};

TEST_F(ShellIntegrationTest, ProbeTicksABoxOnlyForAKeyThatIsThere) {
  struct Case {
    bool prop, folders, files;
    bool menu;
  } cases[] = {
      {false, false, false, false}, {true, false, false, false}, {false, true, false, false},
      {false, false, true, false},  {false, true, true, true},   {true, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "prop " << c.prop << " folders " << c.folders << " files " << c.files);
    SetKeys(c.prop, c.folders, c.files);
    const IntegrationState state = shell::ProbeShellIntegration();
    EXPECT_EQ(state, (IntegrationState{c.prop, c.folders, c.files}));
    EXPECT_EQ(state.Menu(), c.menu);
  }
}

TEST_F(ShellIntegrationTest, ApplyCallsStamptabThenTheMenuModuleAsTheBoxesSay) {
  InstallStandIns();
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
    // The opposite state first, so that every call has something to change.
    SetKeys(!c.prop, !c.menu, !c.menu);

    const auto calls = shell::ApplyShellIntegration(Folder(), c.prop, c.menu);

    EXPECT_EQ(Calls(false), ExpectedCalls(c.calls));
    // The menu module ran after Stamptab had done its part.
    ASSERT_FALSE(Calls().empty());
    EXPECT_EQ(Calls().back().substr(Calls().back().find("prop=")), c.prop ? "prop=1" : "prop=0");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE(calls[0].succeeded && calls[1].succeeded);
    EXPECT_EQ(shell::DescribeFailures(calls), L"");
    EXPECT_EQ(shell::ProbeShellIntegration(), (IntegrationState{c.prop, c.menu, c.menu}));
  }
}

TEST_F(ShellIntegrationTest, ApplyWithNothingChangedRegistersBothAgain) {
  InstallStandIns();
  shell::ApplyShellIntegration(Folder(), true, true);
  shell::ApplyShellIntegration(Folder(), true, true);
  EXPECT_EQ(
      Calls(false),
      ExpectedCalls({"Stamptab.dll DllRegisterServer", "stampletsmenu.dll DllRegisterServer",
                     "Stamptab.dll DllRegisterServer", "stampletsmenu.dll DllRegisterServer"}));
  EXPECT_EQ(shell::ProbeShellIntegration(), (IntegrationState{true, true, true}));
}

TEST_F(ShellIntegrationTest, AFailedCallIsReportedWithItsReasonAndTheOtherStillRuns) {
  // Stamptab.dll is missing; the menu module refuses.
  Install(L"settings_standin.dll", files::kContextMenuModule);
  ForceResult(E_ACCESSDENIED);

  const auto calls = shell::ApplyShellIntegration(Folder(), true, false);

  EXPECT_EQ(Calls(false), (std::vector<std::string>{"stampletsmenu.dll DllUnregisterServer"}));
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_FALSE(calls[0].succeeded);
  EXPECT_FALSE(calls[1].succeeded);
  const WideString stamptab = Folder().File(files::kStamptab);
  const WideString menu = Folder().File(files::kContextMenuModule);
  EXPECT_EQ(WideToUtf8(shell::DescribeFailures(calls)),
            WideToUtf8(L"The shell extension could not be registered:\r\n" +
                       win::SystemMessage(ERROR_MOD_NOT_FOUND) + L": " + stamptab +
                       L"\r\n\r\nThe shell extension could not be unregistered:\r\n"
                       L"DllUnregisterServer in " +
                       menu + L" failed.\r\n" + win::SystemMessage(E_ACCESSDENIED) +
                       L" (0x80070005).\r\n"
                       L"Changing the shell integration may need administrator rights."));
}

}  // namespace
}  // namespace stamplets::test
