// The library entry: the module's handle, and the four exports through
// which COM and the manager reach the server.
#include <windows.h>
#include <objbase.h>

#include "ComServer.h"
#include "focprop.h"

using namespace stamplets::stamptab;

namespace {

TComObjectFactory* const* Factories() {
  static TComObjectFactory* const factories[] = {&FolPropSheetFactory()};
  return factories;
}

HRESULT Register(bool register_class) noexcept {
  try {
    static_cast<TComObjectFactory&>(FolPropSheetFactory())
        .WriteRegistration(register_class, stamplets::win::RegistryRoots{});
    return S_OK;
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    SetModuleHandle(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID class_id, REFIID iid, void** out) {
  return GetClassObject(std::span(Factories(), 1), class_id, iid, out);
}

STDAPI DllCanUnloadNow() {
  return ModuleInUse() ? S_FALSE : S_OK;
}

STDAPI DllRegisterServer() {
  return Register(true);
}

STDAPI DllUnregisterServer() {
  return Register(false);
}
