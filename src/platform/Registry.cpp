#include "Registry.h"

#include "Handles.h"

namespace stamplets::win {

ERegistryException::ERegistryException(const WideString& message)
    : std::runtime_error(WideToUtf8(message)) {}

namespace {

const wchar_t* NameOrDefault(const WideString& name) {
  return name.empty() ? nullptr : name.c_str();
}

LSTATUS SetString(HKEY key, const RegistryEntry& entry) {
  const DWORD bytes = static_cast<DWORD>((entry.data.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key, NameOrDefault(entry.name), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(entry.data.c_str()), bytes);
}

}  // namespace

void WriteRegistryEntries(std::span<const RegistryEntry> entries) {
  for (const RegistryEntry& entry : entries) {
    unique_hkey key;
    if (RegCreateKeyExW(entry.root, entry.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, key.put(), nullptr) != ERROR_SUCCESS ||
        SetString(key.get(), entry) != ERROR_SUCCESS)
      throw ERegistryException(L"Error creating system registry entry");
  }
}

bool WriteOptionalRegistryValue(const RegistryEntry& entry) {
  unique_hkey key;
  if (RegCreateKeyExW(entry.root, entry.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
    return false;
  if (SetString(key.get(), entry) != ERROR_SUCCESS)
    throw ERegistryException(L"Failed to set data for '" + entry.name + L"'");
  return true;
}

bool DeleteRegistryTree(HKEY root, const WideString& key) noexcept {
  const LSTATUS status = RegDeleteTreeW(root, key.c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool DeleteRegistryValue(HKEY root, const WideString& key, const WideString& name) noexcept {
  unique_hkey opened;
  LSTATUS status = RegOpenKeyExW(root, key.c_str(), 0, KEY_SET_VALUE, opened.put());
  if (status == ERROR_FILE_NOT_FOUND) return true;
  if (status != ERROR_SUCCESS) return false;
  status = RegDeleteValueW(opened.get(), NameOrDefault(name));
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

std::optional<WideString> ReadRegistryString(HKEY root, const WideString& key,
                                             const WideString& name) {
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegGetValueW(root, key.c_str(), NameOrDefault(name), RRF_RT_REG_SZ, &type, nullptr, &bytes) !=
      ERROR_SUCCESS)
    return std::nullopt;
  WideString value(bytes / sizeof(wchar_t), L'\0');
  if (RegGetValueW(root, key.c_str(), NameOrDefault(name), RRF_RT_REG_SZ, &type, value.data(),
                   &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  value.resize(bytes / sizeof(wchar_t));
  while (!value.empty() && value.back() == L'\0')
    value.pop_back();
  return value;
}

}  // namespace stamplets::win
