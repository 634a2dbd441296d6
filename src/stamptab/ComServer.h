// The in-process server's own bookkeeping: its module handle, and one count
// of everything that needs the module to stay loaded (live objects,
// references on class factories, LockServer locks, open pages). The module
// may be unloaded exactly when the count is 0.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>
#include <tuple>
#include <span>

#include "Registry.h"
#include "WideText.h"

namespace stamplets::stamptab {

HMODULE ModuleHandle() noexcept;
void SetModuleHandle(HMODULE module) noexcept;

void LockModule() noexcept;
void UnlockModule() noexcept;
bool ModuleInUse() noexcept;

// Holds one count on the module for as long as it lives.
class ModuleLock {
 public:
  ModuleLock() noexcept { LockModule(); }
  ~ModuleLock() { UnlockModule(); }
  ModuleLock(const ModuleLock&) = delete;
  ModuleLock& operator=(const ModuleLock&) = delete;
};

// Reference counting and interface lookup for an object that implements
// the interfaces given; each live object holds the module.
template <typename... Interfaces>
class TComObject : public Interfaces... {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown) {
      *out = static_cast<IUnknown*>(static_cast<First*>(this));
    } else {
      ((iid == __uuidof(Interfaces) ? (*out = static_cast<Interfaces*>(this), true) : false) ||
       ...);
    }
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  TComObject() = default;
  virtual ~TComObject() = default;

 private:
  using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;
  std::atomic<ULONG> references_{1};
  ModuleLock module_lock_;
};

// The class factory of one class. Factories are objects of static
// duration; a reference on one holds the module.
class TComObjectFactory : public IClassFactory {
 public:
  // Makes a new object, holding one reference the caller takes over.
  using Creator = IUnknown* (*)();

  TComObjectFactory(const CLSID& class_id, WideString description, Creator creator);
  virtual ~TComObjectFactory() = default;

  const CLSID& ClassId() const noexcept { return class_id_; }
  // The class identifier in its braced text form.
  WideString ClassIdText() const;
  const WideString& Description() const noexcept { return description_; }
  // The ProgID to register; none when empty.
  virtual WideString ReportProgID() const;
  // Writes (register) or removes the class's registry entries.
  virtual void WriteRegistration(bool register_class, const win::RegistryRoots& roots) const;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override;
  ULONG STDMETHODCALLTYPE Release() noexcept override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid,
                                           void** out) noexcept override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override;

 private:
  CLSID class_id_;
  WideString description_;
  Creator creator_;
};

// The module file's path as the class registration gives it: its short
// form when the path holds a space.
WideString RegisteredModulePath();

// DllGetClassObject over a table of factories.
HRESULT GetClassObject(std::span<TComObjectFactory* const> factories, REFCLSID class_id, REFIID iid,
                       void** out) noexcept;

}  // namespace stamplets::stamptab
