// RegisterServerDll: which entry point it calls, the three failures with
// their messages, that the DLL never stays loaded, and that the DLL's own
// imports come from its folder and not from the current one.
#include <windows.h>

#include "Errors.h"
#include "RegDLL.h"
#include "SettingsFixture.h"
#include "ShellIntegration.h"

namespace stamplets::test {
namespace {

using Kind = ERegisterServerError::Kind;

bool IsLoaded(const WideString& path) {
  return GetModuleHandleW(path.c_str()) != nullptr;
}

class RegisterServerDllTest : public SettingsTest {};

TEST_F(RegisterServerDllTest, CallsTheEntryPointOfTheFlagAndUnloadsTheDll) {
  InstallStandIns();
  const WideString menu = Folder().File(files::kContextMenuModule);

  RegisterServerDll(true, menu);
  EXPECT_FALSE(IsLoaded(menu));
  EXPECT_EQ(shell::ProbeShellIntegration(), (shell::IntegrationState{false, true, true}));

  RegisterServerDll(false, menu);
  EXPECT_FALSE(IsLoaded(menu));
  EXPECT_EQ(shell::ProbeShellIntegration(), (shell::IntegrationState{}));

  EXPECT_EQ(Calls(false), (std::vector<std::string>{"stampletsmenu.dll DllRegisterServer",
                                                    "stampletsmenu.dll DllUnregisterServer"}));
}

TEST_F(RegisterServerDllTest, EachFailureRaisesItsMessageAndLeavesNothingLoaded) {
  InstallStandIns();
  Install(L"settings_noentry.dll", L"noentry.dll");
  const WideString missing = Folder().File(L"absent.dll");
  const WideString noentry = Folder().File(L"noentry.dll");
  const WideString failing = Folder().File(files::kContextMenuModule);

  struct Case {
    const char* what;
    bool register_server;
    WideString path;
    HRESULT forced;
    Kind kind;
    long code;
    WideString message;
  } cases[] = {
      {"missing DLL", true, missing, S_OK, Kind::kLoad, ERROR_MOD_NOT_FOUND,
       win::SystemMessage(ERROR_MOD_NOT_FOUND) + L": " + missing},
      {"no DllRegisterServer", true, noentry, S_OK, Kind::kEntryPoint, ERROR_PROC_NOT_FOUND,
       L"System Error.  Code: 127.\r\n" + win::SystemMessage(ERROR_PROC_NOT_FOUND)},
      {"no DllUnregisterServer", false, noentry, S_OK, Kind::kEntryPoint, ERROR_PROC_NOT_FOUND,
       L"System Error.  Code: 127.\r\n" + win::SystemMessage(ERROR_PROC_NOT_FOUND)},
      {"registration refused", true, failing, E_ACCESSDENIED, Kind::kCall, E_ACCESSDENIED,
       L"DllRegisterServer in " + failing + L" failed."},
      {"unregistration refused", false, failing, E_FAIL, Kind::kCall, E_FAIL,
       L"DllUnregisterServer in " + failing + L" failed."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ForceResult(c.forced);
    try {
      RegisterServerDll(c.register_server, c.path);
      ADD_FAILURE() << "no error raised";
    } catch (const ERegisterServerError& e) {
      EXPECT_EQ(e.What(), c.kind);
      EXPECT_EQ(e.Code(), c.code);
      EXPECT_EQ(WideToUtf8(e.Message()), WideToUtf8(c.message));
    }
    EXPECT_FALSE(IsLoaded(c.path));
  }
  // A refused call changed nothing in the registry.
  EXPECT_EQ(shell::ProbeShellIntegration(), (shell::IntegrationState{}));
}

// The current folder holds a planted copy of the DLL that the extension
// imports; the genuine copy lies beside the extension. Only a load that
// searches the extension's own folder, and not the current one, takes the
// genuine copy.
TEST_F(RegisterServerDllTest, ImportsOfTheDllComeFromItsOwnFolder) {
  Install(L"settings_standin_dep.dll", files::kContextMenuModule);
  Install(L"genuine\\standin_dependency.dll", L"standin_dependency.dll");
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(BuiltFile(L"planted").c_str()));

  EXPECT_NO_THROW(RegisterServerDll(true, Folder().File(files::kContextMenuModule)));
  SetCurrentDirectoryW(previous);

  ASSERT_EQ(Calls().size(), 1u);
  EXPECT_EQ(Calls()[0], "stampletsmenu.dll DllRegisterServer prop=0 dep=genuine");
  EXPECT_FALSE(IsLoaded(BuiltFile(L"planted\\standin_dependency.dll")));
}

}  // namespace
}  // namespace stamplets::test
