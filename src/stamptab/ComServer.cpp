#include "ComServer.h"

#include <vector>

#include "Handles.h"
#include "Installation.h"

namespace stamplets::stamptab {

namespace {

HMODULE g_module = nullptr;
std::atomic<long> g_module_locks{0};

}  // namespace

HMODULE ModuleHandle() noexcept {
  return g_module;
}
void SetModuleHandle(HMODULE module) noexcept {
  g_module = module;
}

void LockModule() noexcept {
  ++g_module_locks;
}
void UnlockModule() noexcept {
  --g_module_locks;
}
bool ModuleInUse() noexcept {
  return g_module_locks.load() != 0;
}

TComObjectFactory::TComObjectFactory(const CLSID& class_id, WideString description, Creator creator)
    : class_id_(class_id), description_(std::move(description)), creator_(creator) {}

WideString TComObjectFactory::ClassIdText() const {
  wchar_t text[40] = {};
  StringFromGUID2(class_id_, text, 40);
  return text;
}

WideString TComObjectFactory::ReportProgID() const {
  return {};
}

void TComObjectFactory::WriteRegistration(bool register_class,
                                          const win::RegistryRoots& roots) const {
  const WideString class_key = L"CLSID\\" + ClassIdText();
  const WideString prog_id = ReportProgID();
  if (!register_class) {
    win::DeleteRegistryTree(roots.classes, class_key);
    if (!prog_id.empty()) win::DeleteRegistryTree(roots.classes, prog_id);
    return;
  }
  std::vector<win::RegistryEntry> entries = {
      {roots.classes, class_key, L"", description_},
      {roots.classes, class_key + L"\\InprocServer32", L"", RegisteredModulePath()},
  };
  if (!prog_id.empty()) {
    entries.push_back({roots.classes, class_key + L"\\ProgID", L"", prog_id});
    entries.push_back({roots.classes, prog_id, L"", description_});
    entries.push_back({roots.classes, prog_id + L"\\Clsid", L"", ClassIdText()});
  }
  win::WriteRegistryEntries(entries);
}

HRESULT TComObjectFactory::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IClassFactory) {
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG TComObjectFactory::AddRef() noexcept {
  LockModule();
  return 2;
}

ULONG TComObjectFactory::Release() noexcept {
  UnlockModule();
  return 1;
}

HRESULT TComObjectFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  // The objects of this server cannot be aggregated.
  if (outer) return CLASS_E_NOAGGREGATION;
  try {
    win::ComPtr<IUnknown> object = win::ComPtr<IUnknown>::Attach(creator_());
    return object->QueryInterface(iid, out);
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT TComObjectFactory::LockServer(BOOL lock) noexcept {
  if (lock)
    LockModule();
  else
    UnlockModule();
  return S_OK;
}

WideString RegisteredModulePath() {
  const WideString path = win::ModuleFileName(ModuleHandle());
  if (path.empty()) throw win::ERegistryException(L"Error creating system registry entry");
  if (path.find(L' ') == WideString::npos) return path;
  const DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (length == 0) return path;
  WideString short_path(length, L'\0');
  const DWORD written = GetShortPathNameW(path.c_str(), short_path.data(), length);
  if (written == 0 || written >= length) return path;
  short_path.resize(written);
  return short_path;
}

HRESULT GetClassObject(std::span<TComObjectFactory* const> factories, REFCLSID class_id, REFIID iid,
                       void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (TComObjectFactory* factory : factories)
    if (IsEqualCLSID(factory->ClassId(), class_id)) return factory->QueryInterface(iid, out);
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace stamplets::stamptab
