// Stands in for a shell extension in the Settings tests. Named Stamptab.dll
// it manages the property-page key; under any other name the context-menu
// module's two keys. Every call is appended to calls.log beside the DLL as
// one line: "<file name> <entry point> prop=<0|1>[ dep=<origin>]", where
// prop tells whether the property-page key existed when the call came.
// STAMPLETS_STANDIN_RESULT (hex) makes both entry points fail with that
// result before they touch the registry.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "Companions.h"
#include "ShellIntegration.h"

#ifdef STANDIN_WITH_DEPENDENCY
extern "C" __declspec(dllimport) const char* DependencyOrigin();
#endif

namespace {

HMODULE g_self = nullptr;

std::wstring SelfPath() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(g_self, path, MAX_PATH);
  return std::wstring(path, n);
}

std::wstring Folder() {
  std::wstring path = SelfPath();
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring FileName() {
  std::wstring path = SelfPath();
  return path.substr(path.find_last_of(L'\\') + 1);
}

bool IsPropertyPageModule() {
  return _wcsicmp(FileName().c_str(), L"Stamptab.dll") == 0;
}

bool KeyExists(const wchar_t* key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

void Record(const char* entry) {
  std::string line;
  for (wchar_t c : FileName())
    line.push_back(static_cast<char>(c));
  line += std::string(" ") + entry +
          " prop=" + (KeyExists(stamplets::shell::kPropertyPageKey) ? "1" : "0");
#ifdef STANDIN_WITH_DEPENDENCY
  line += std::string(" dep=") + DependencyOrigin();
#endif
  line += "\r\n";
  FILE* log = _wfopen((Folder() + L"calls.log").c_str(), L"ab");
  if (!log) return;
  std::fwrite(line.data(), 1, line.size(), log);
  std::fclose(log);
}

bool ForcedResult(HRESULT& result) {
  wchar_t text[32];
  if (!GetEnvironmentVariableW(L"STAMPLETS_STANDIN_RESULT", text, 32)) return false;
  result = static_cast<HRESULT>(std::wcstoul(text, nullptr, 16));
  return true;
}

bool CreateKey(const wchar_t* key) {
  HKEY created = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_WRITE, nullptr, &created,
                      nullptr) != ERROR_SUCCESS)
    return false;
  RegCloseKey(created);
  return true;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_self = instance;
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  Record("DllRegisterServer");
  HRESULT forced;
  if (ForcedResult(forced)) return forced;
  bool ok = IsPropertyPageModule() ? CreateKey(stamplets::shell::kPropertyPageKey)
                                   : CreateKey(stamplets::companions::kFolderMenuKey) &&
                                         CreateKey(stamplets::companions::kFileMenuKey);
  return ok ? S_OK : E_FAIL;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  Record("DllUnregisterServer");
  HRESULT forced;
  if (ForcedResult(forced)) return forced;
  if (IsPropertyPageModule()) {
    RegDeleteKeyW(HKEY_CLASSES_ROOT, stamplets::shell::kPropertyPageKey);
  } else {
    RegDeleteKeyW(HKEY_CLASSES_ROOT, stamplets::companions::kFolderMenuKey);
    RegDeleteKeyW(HKEY_CLASSES_ROOT, stamplets::companions::kFileMenuKey);
  }
  return S_OK;
}
