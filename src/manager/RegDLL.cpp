#include "RegDLL.h"

#include "Errors.h"
#include "Handles.h"

namespace stamplets {

namespace {

using EntryPoint = HRESULT(STDAPICALLTYPE*)();

// The absolute form of the path, so that the load below never depends on the
// current folder; the path itself when it cannot be resolved.
WideString FullPath(const WideString& path) {
  DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  WideString full(n, L'\0');
  n = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
  if (n == 0 || n >= full.size()) return path;
  full.resize(n);
  return full;
}

// True where LoadLibraryExW understands the LOAD_LIBRARY_SEARCH_* flags: on
// Windows 8 and later, and on Windows 7 with the update that added them
// together with AddDllDirectory.
bool SearchFlagsSupported() {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  return kernel && GetProcAddress(kernel, "AddDllDirectory");
}

// Loads the module from exactly this file. Its own imports are looked for in
// its folder and the system folder only; where the system lacks those flags,
// the altered search path starts at the module's folder instead of the
// program's and the current folder.
win::unique_hmodule LoadByFullPath(const WideString& path) {
  const DWORD flags = SearchFlagsSupported()
                          ? LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32
                          : LOAD_WITH_ALTERED_SEARCH_PATH;
  // No "cannot find the module" box from the system: the caller reports it.
  DWORD old_mode = 0;
  const bool mode_set = SetThreadErrorMode(SEM_FAILCRITICALERRORS, &old_mode);
  win::unique_hmodule module(LoadLibraryExW(FullPath(path).c_str(), nullptr, flags));
  const DWORD error = GetLastError();
  if (mode_set) SetThreadErrorMode(old_mode, nullptr);
  SetLastError(error);
  return module;
}

}  // namespace

ERegisterServerError::ERegisterServerError(Kind kind, long code, WideString message)
    : std::runtime_error(WideToUtf8(message)),
      kind_(kind),
      code_(code),
      message_(std::move(message)) {}

void RegisterServerDll(bool register_server, const WideString& dll_path) {
  win::unique_hmodule module = LoadByFullPath(dll_path);
  if (!module) {
    const DWORD code = GetLastError();
    throw ERegisterServerError(ERegisterServerError::Kind::kLoad, static_cast<long>(code),
                               win::SystemMessage(code) + L": " + dll_path);
  }
  const char* entry_name = register_server ? "DllRegisterServer" : "DllUnregisterServer";
  auto entry = reinterpret_cast<EntryPoint>(
      reinterpret_cast<void*>(GetProcAddress(module.get(), entry_name)));
  if (!entry) {
    const DWORD code = GetLastError();
    throw ERegisterServerError(
        ERegisterServerError::Kind::kEntryPoint, static_cast<long>(code),
        L"System Error.  Code: " + IntToWide(code) + L".\r\n" + win::SystemMessage(code));
  }
  const HRESULT result = entry();
  if (FAILED(result))
    throw ERegisterServerError(ERegisterServerError::Kind::kCall, result,
                               AnsiToWide(entry_name) + L" in " + dll_path + L" failed.");
}

}  // namespace stamplets
