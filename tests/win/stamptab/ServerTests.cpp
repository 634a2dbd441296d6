// The server's class objects, its unload answer, and the registration it
// writes into the shell's keys of the test prefix.
#include <gtest/gtest.h>

#include <map>

#include "ActivationContext.h"
#include "Registry.h"
#include "StamptabClass.h"
#include "StamptabFixture.h"

namespace stamplets::test {
namespace {

using stamptab::CLSID_FolPropSheet;

StamptabModule& Module() {
  return StamptabModule::Get();
}

WideString ClassIdText() {
  wchar_t text[40] = {};
  StringFromGUID2(CLSID_FolPropSheet, text, 40);
  return text;
}

TEST(Server, ClassObjects) {
  void* out = reinterpret_cast<void*>(1);
  const CLSID other = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
  EXPECT_EQ(Module().GetClassObject(other, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(Module().GetClassObject(CLSID_FolPropSheet, IID_IShellExtInit, &out), E_NOINTERFACE);

  win::ComPtr<IClassFactory> factory;
  ASSERT_EQ(Module().GetClassObject(CLSID_FolPropSheet, IID_IClassFactory, factory.put_void()),
            S_OK);
  win::ComPtr<IUnknown> object;
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IShellExtInit, nullptr), E_POINTER);
  EXPECT_EQ(factory->CreateInstance(factory.get(), IID_IUnknown, object.put_void()),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, object.put_void()), E_NOINTERFACE);
  EXPECT_FALSE(object);

  // One object answers for both shell interfaces and for IUnknown alike.
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IShellPropSheetExt, object.put_void()), S_OK);
  win::ComPtr<IShellExtInit> init;
  win::ComPtr<IUnknown> a, b;
  ASSERT_EQ(object.As(IID_IShellExtInit, init), S_OK);
  ASSERT_EQ(init.As(IID_IUnknown, a), S_OK);
  ASSERT_EQ(object.As(IID_IUnknown, b), S_OK);
  EXPECT_EQ(a.get(), b.get());
  win::ComPtr<IShellPropSheetExt> ext;
  ASSERT_EQ(object.As(IID_IShellPropSheetExt, ext), S_OK);
  EXPECT_EQ(ext->ReplacePage(0, nullptr, 0), E_NOTIMPL);
}

// The module's own manifest makes an activation context (the page is
// created inside it); a module without one gives none.
TEST(Server, ManifestGivesAnActivationContext) {
  EXPECT_TRUE(win::CreateModuleActCtx(Module().Handle(), stamptab::kManifest));
  EXPECT_FALSE(win::CreateModuleActCtx(Module().Handle(), 7));
}

BOOL CALLBACK RefusePage(HPROPSHEETPAGE, LPARAM) {
  return FALSE;
}

// The module may go while no object, factory reference, lock or page
// lives, and must stay while any does.
TEST(Server, CanUnloadExactlyWhenNothingLives) {
  ASSERT_EQ(Module().CanUnloadNow(), S_OK);
  {
    win::ComPtr<IClassFactory> factory;
    ASSERT_EQ(Module().GetClassObject(CLSID_FolPropSheet, IID_IClassFactory, factory.put_void()),
              S_OK);
    EXPECT_EQ(Module().CanUnloadNow(), S_FALSE);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    factory.reset();
    EXPECT_EQ(Module().CanUnloadNow(), S_FALSE);
    ASSERT_EQ(Module().GetClassObject(CLSID_FolPropSheet, IID_IClassFactory, factory.put_void()),
              S_OK);
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
  }
  EXPECT_EQ(Module().CanUnloadNow(), S_OK);

  TestFile file(L"unload.txt");
  {
    auto handler = Module().CreateHandler();
    EXPECT_EQ(Module().CanUnloadNow(), S_FALSE);
    ASSERT_EQ(handler->Initialize(nullptr, ShellDataObject({file.Path()}).get(), nullptr), S_OK);
    ModelessSheet sheet({handler.get()});
    handler.reset();
    // The open page alone keeps the module.
    EXPECT_EQ(Module().CanUnloadNow(), S_FALSE);
  }
  EXPECT_EQ(Module().CanUnloadNow(), S_OK);

  {
    // A page the sheet refuses is destroyed again, and with it its data.
    auto handler = Module().CreateHandler();
    ASSERT_EQ(handler->Initialize(nullptr, ShellDataObject({file.Path()}).get(), nullptr), S_OK);
    win::ComPtr<IShellPropSheetExt> ext;
    ASSERT_EQ(handler.As(IID_IShellPropSheetExt, ext), S_OK);
    EXPECT_EQ(ext->AddPages(RefusePage, 0), S_OK);
  }
  EXPECT_EQ(Module().CanUnloadNow(), S_OK);
}

// Every value under the key, and below it, as "subkey|name" -> data.
void Snapshot(HKEY root, const WideString& key, const WideString& prefix,
              std::map<WideString, WideString>& values) {
  win::unique_hkey opened;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, opened.put()) != ERROR_SUCCESS) return;
  values[prefix + L"|(key)"] = L"";
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_size = 256, type = 0, data_size = 0;
    if (RegEnumValueW(opened.get(), i, name, &name_size, nullptr, &type, nullptr, &data_size) !=
        ERROR_SUCCESS)
      break;
    values[prefix + L"|" + name] = win::ReadRegistryString(root, key, name).value_or(L"?");
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_size = 256;
    if (RegEnumKeyExW(opened.get(), i, name, &name_size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    Snapshot(root, key + L"\\" + name, prefix + L"\\" + name, values);
  }
}

std::map<WideString, WideString> RegistrationState() {
  std::map<WideString, WideString> values;
  const WideString id = ClassIdText();
  Snapshot(HKEY_CLASSES_ROOT, L"CLSID\\" + id, L"CLSID", values);
  Snapshot(HKEY_CLASSES_ROOT, L"*\\shellex\\PropertySheetHandlers\\Varnok.StampletsProp.1",
           L"files", values);
  Snapshot(HKEY_CLASSES_ROOT,
           L"Folder\\shellex\\PropertySheetHandlers\\Varnok.Stamplets.PropsShell", L"folders",
           values);
  Snapshot(HKEY_CLASSES_ROOT, L"Varnok.StampletsProp.1", L"progid", values);
  if (auto approved = win::ReadRegistryString(HKEY_LOCAL_MACHINE, stamptab::kApprovedKey, id))
    values[L"approved"] = *approved;
  return values;
}

TEST(Server, RegistrationWritesTheShellKeysAndUnregistrationRemovesThemAll) {
  ASSERT_EQ(Module().Unregister(), S_OK);
  ASSERT_TRUE(RegistrationState().empty());

  ASSERT_EQ(Module().Register(), S_OK);
  const auto state = RegistrationState();
  const WideString id = ClassIdText();
  // The module's folder holds a space, so the server is named by its short
  // form, which must still name the module.
  const WideString server =
      state.count(L"CLSID\\InprocServer32|") ? state.at(L"CLSID\\InprocServer32|") : L"";
  EXPECT_EQ(server.find(L' '), WideString::npos) << WideToUtf8(server);
  wchar_t long_form[1024] = {};
  GetLongPathNameW(server.c_str(), long_form, 1024);
  EXPECT_EQ(lstrcmpiW(long_form, Module().DllPath().c_str()), 0) << WideToUtf8(long_form);

  const std::map<WideString, WideString> expected = {
      {L"CLSID|(key)", L""},
      {L"CLSID|", L"Varnok.StampletsProp.1"},
      {L"CLSID\\InprocServer32|(key)", L""},
      {L"CLSID\\InprocServer32|", server},
      {L"CLSID\\InprocServer32|ThreadingModel", L"Apartment"},
      {L"files|(key)", L""},
      {L"files|", id},
      {L"folders|(key)", L""},
      {L"folders|", id},
      {L"approved", L"Varnok.StampletsProp.1"},
  };
  EXPECT_EQ(state, expected);

  ASSERT_EQ(Module().Register(), S_OK);
  EXPECT_EQ(RegistrationState(), expected);

  EXPECT_EQ(Module().Unregister(), S_OK);
  EXPECT_TRUE(RegistrationState().empty());
  EXPECT_EQ(Module().Unregister(), S_OK);
}

}  // namespace
}  // namespace stamplets::test
