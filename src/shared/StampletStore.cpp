#include "StampletStore.h"

#include <unordered_set>

#include "TntIniFiles.h"

namespace stamplets {

EStoreKeyError::EStoreKeyError(const WideString& path)
    : std::runtime_error(WideToUtf8(L"A path that contains \"=\" cannot be marked: " + path)),
      path_(path) {}

WideString EStoreKeyError::Message() const {
  return L"A path that contains \"=\" cannot be marked: " + path_;
}

int StampletStore::Read(const WideString& path) const noexcept {
  try {
    TTntIniFile ini(path_);
    return ini.ReadInteger(kStoreSection, path, 0);
  } catch (...) {
    return 0;
  }
}

void StampletStore::Set(const WideString& path, int number) const {
  if (!CanBeKey(path)) throw EStoreKeyError(path);
  if (number < 1 || number > kMaxStamplet) throw std::invalid_argument("stamplet out of range");
  TTntIniFile ini(path_);
  ini.WriteString(kStoreSection, path, IntToWide(number));
}

void StampletStore::Clear(const WideString& path) const noexcept {
  try {
    TTntIniFile ini(path_);
    ini.DeleteKey(kStoreSection, path);
  } catch (...) {
    // Clearing reports nothing, whether or not it succeeded.
  }
}

std::vector<StampletRecord> StampletStore::List() const {
  TTntIniFile ini(path_);
  std::vector<StampletRecord> records;
  auto pairs = ini.ReadSectionPairs(kStoreSection, L"0");
  records.reserve(pairs.size());
  for (auto& [key, value] : pairs)
    records.push_back({std::move(key), std::move(value)});
  return records;
}

std::vector<WideString> StampletStore::ListPaths() const {
  TTntIniFile ini(path_);
  TTntStringList keys;
  ini.ReadSection(kStoreSection, keys);
  std::vector<WideString> paths;
  paths.reserve(static_cast<size_t>(keys.Count()));
  for (int i = 0; i < keys.Count(); ++i)
    paths.push_back(keys[i]);
  return paths;
}

std::vector<WideString> StampletStore::Remove(const std::vector<WideString>& paths) const {
  if (paths.empty()) return {};
  {
    TTntIniFile ini(path_);
    for (const WideString& path : paths)
      ini.DeleteKey(kStoreSection, path);
  }
  std::unordered_set<WideString> remaining;
  for (const WideString& path : ListPaths())
    remaining.insert(UpperCase(path));
  std::vector<WideString> kept;
  for (const WideString& path : paths)
    if (remaining.count(UpperCase(path))) kept.push_back(path);
  return kept;
}

}  // namespace stamplets
