#include "SettingsFixture.h"

#include <sstream>

#include "Companions.h"
#include "RegDLL.h"
#include "ShellIntegration.h"

namespace stamplets::test {

namespace {

const wchar_t* const kAllKeys[] = {shell::kPropertyPageKey, companions::kFolderMenuKey,
                                   companions::kFileMenuKey};

void SetKey(const wchar_t* key, bool present) {
  if (!present) {
    RegDeleteKeyW(HKEY_CLASSES_ROOT, key);
    return;
  }
  HKEY created = nullptr;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr),
      ERROR_SUCCESS);
  RegCloseKey(created);
}

}  // namespace

WideString BuiltFile(WideStringView name) {
  wchar_t self[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  WideString path(self, n);
  return path.substr(0, path.find_last_of(L'\\') + 1) + WideString(name);
}

void SettingsTest::SetUp() {
  RemoveKeys();
  ForceResult(S_OK);
}

void SettingsTest::TearDown() {
  ForceResult(S_OK);
  // The real Stamptab also wrote its class keys.
  if (RealStamptab() && Exists(Folder().File(files::kStamptab))) {
    try {
      RegisterServerDll(false, Folder().File(files::kStamptab));
    } catch (const ERegisterServerError&) {
    }
  }
  RemoveKeys();
}

void SettingsTest::Install(WideStringView built_name, WideStringView as_name) {
  ASSERT_TRUE(CopyFileW(BuiltFile(built_name).c_str(), (dir_ / as_name).c_str(), FALSE))
      << WideToUtf8(BuiltFile(built_name));
}

void SettingsTest::InstallStandIns() {
  if (RealStamptab()) {
    ASSERT_TRUE(CopyFileW((DistFolder() + L"\\" + files::kStamptab).c_str(),
                          Folder().File(files::kStamptab).c_str(), FALSE));
  } else {
    Install(L"settings_standin.dll", files::kStamptab);
  }
  Install(L"settings_standin.dll", files::kContextMenuModule);
}

bool SettingsTest::RealStamptab() {
#ifdef STAMPLETS_REAL_STAMPTAB
  return true;
#else
  return false;
#endif
}

std::vector<std::string> SettingsTest::ExpectedCalls(std::vector<std::string> calls) {
  if (RealStamptab())
    std::erase_if(calls, [](const std::string& call) { return call.starts_with("Stamptab.dll"); });
  return calls;
}

std::vector<std::string> SettingsTest::Calls(bool with_state) const {
  std::vector<std::string> lines;
  const WideString log = dir_ / L"calls.log";
  if (!Exists(log)) return lines;
  std::istringstream in(ReadBytes(log));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!with_state) line = line.substr(0, line.find(" prop="));
    lines.push_back(line);
  }
  return lines;
}

void SettingsTest::SetKeys(bool property_page, bool folder_menu, bool file_menu) {
  SetKey(shell::kPropertyPageKey, property_page);
  SetKey(companions::kFolderMenuKey, folder_menu);
  SetKey(companions::kFileMenuKey, file_menu);
}

void SettingsTest::RemoveKeys() {
  for (const wchar_t* key : kAllKeys)
    RegDeleteKeyW(HKEY_CLASSES_ROOT, key);
}

void SettingsTest::ForceResult(HRESULT result) {
  if (result == S_OK) {
    SetEnvironmentVariableW(L"STAMPLETS_STANDIN_RESULT", nullptr);
    return;
  }
  wchar_t text[16];
  swprintf(text, 16, L"%08lX", static_cast<unsigned long>(result));
  SetEnvironmentVariableW(L"STAMPLETS_STANDIN_RESULT", text);
}

}  // namespace stamplets::test
