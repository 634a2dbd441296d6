// The two shell extensions as the Settings page sees them: whether their
// handler keys are registered, and switching them on or off through their
// own self-registration.
#pragma once

#include <vector>

#include "InstallFolder.h"
#include "RegDLL.h"
#include "WideText.h"

namespace stamplets::shell {

// Under HKEY_CLASSES_ROOT: the key Stamptab's registration writes for all
// files. The context-menu module's two keys are in Companions.h.
inline constexpr wchar_t kPropertyPageKey[] =
    L"*\\shellex\\PropertySheetHandlers\\Varnok.StampletsProp.1";

struct IntegrationState {
  bool property_page = false;  // cb_Prop
  bool folder_menu = false;    // cb_Folders
  bool file_menu = false;      // cb_All
  // cb_Menu: the menu counts only when both of its keys are there.
  bool Menu() const { return folder_menu && file_menu; }
  bool operator==(const IntegrationState&) const = default;
};

// Tries to open each handler key under HKEY_CLASSES_ROOT for full access,
// creating none. A key that exists but may not be changed by this user
// counts as absent: the user could not switch it off either.
IntegrationState ProbeShellIntegration();

// One call that Apply made.
struct RegistrationCall {
  WideString dll_path;
  bool register_server = false;
  bool succeeded = false;
  // Set when the call failed.
  ERegisterServerError::Kind failure = ERegisterServerError::Kind::kLoad;
  long code = 0;
  WideString message;
};

// Registers or unregisters Stamptab.dll (as `property_page` says), then
// stampletsmenu.dll (as `menu` says), the second whether or not the first
// succeeded. Every call is made, changed box or not.
std::vector<RegistrationCall> ApplyShellIntegration(const InstallFolder& folder, bool property_page,
                                                    bool menu);

// What to tell the user about the calls that failed, in the current
// language; empty when every call succeeded.
WideString DescribeFailures(const std::vector<RegistrationCall>& calls);

}  // namespace stamplets::shell
