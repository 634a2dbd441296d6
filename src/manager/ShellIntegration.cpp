#include "ShellIntegration.h"

#include <cstdio>

#include "Companions.h"
#include "Errors.h"
#include "Handles.h"
#include "Translation.h"

namespace stamplets::shell {

namespace {

bool CanOpenForFullAccess(const wchar_t* key) {
  win::unique_hkey opened;
  return RegOpenKeyExW(HKEY_CLASSES_ROOT, key, 0, KEY_ALL_ACCESS, opened.put()) == ERROR_SUCCESS;
}

RegistrationCall Call(const WideString& dll_path, bool register_server) {
  RegistrationCall call;
  call.dll_path = dll_path;
  call.register_server = register_server;
  try {
    RegisterServerDll(register_server, dll_path);
    call.succeeded = true;
  } catch (const ERegisterServerError& e) {
    call.failure = e.What();
    call.code = e.Code();
    call.message = e.Message();
  }
  return call;
}

WideString Hex(long code) {
  wchar_t text[16];
  std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(code));
  return text;
}

}  // namespace

IntegrationState ProbeShellIntegration() {
  IntegrationState state;
  state.property_page = CanOpenForFullAccess(kPropertyPageKey);
  state.folder_menu = CanOpenForFullAccess(companions::kFolderMenuKey);
  state.file_menu = CanOpenForFullAccess(companions::kFileMenuKey);
  return state;
}

std::vector<RegistrationCall> ApplyShellIntegration(const InstallFolder& folder, bool property_page,
                                                    bool menu) {
  std::vector<RegistrationCall> calls;
  calls.push_back(Call(folder.File(files::kStamptab), property_page));
  calls.push_back(Call(folder.File(files::kContextMenuModule), menu));
  return calls;
}

WideString DescribeFailures(const std::vector<RegistrationCall>& calls) {
  using LanguageSupport::Translate;
  WideString text;
  for (const RegistrationCall& call : calls) {
    if (call.succeeded) continue;
    if (!text.empty()) text += L"\r\n\r\n";
    text += Translate(call.register_server ? L"The shell extension could not be registered:"
                                           : L"The shell extension could not be unregistered:");
    text += L"\r\n" + call.message;
    if (call.failure == ERegisterServerError::Kind::kCall) {
      // The module refused: almost always a registry it may not write.
      text += L"\r\n" + win::SystemMessage(static_cast<DWORD>(call.code)) + L" (" + Hex(call.code) +
              L").\r\n" +
              Translate(L"Changing the shell integration may need administrator rights.");
    }
  }
  return text;
}

}  // namespace stamplets::shell
