#include "Installation.h"

#include <shellapi.h>

#include <vector>

namespace stamplets::win {

WideString ModuleFileName(HMODULE module) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return WideString(buffer.data(), n);
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

InstallFolder ProgramFolder() {
  return InstallFolder::OfFile(ModuleFileName(nullptr));
}

InstallFolder ModuleFolder(HMODULE module) {
  WideString name = ModuleFileName(module);
  if (name.empty()) return InstallFolder(kNoInstallFolder);
  return InstallFolder::OfFile(name);
}

void StartIconRefresher(HWND owner, const InstallFolder& folder) {
  ShellExecuteW(owner, L"open", folder.File(files::kIconRefresher).c_str(), nullptr, nullptr,
                SW_SHOWNORMAL);
}

}  // namespace stamplets::win
