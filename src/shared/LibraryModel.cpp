#include "LibraryModel.h"

#include "System.h"
#include "TntIniFiles.h"

namespace stamplets {

namespace {

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

bool IsDriveLetter(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

}  // namespace

WideString VolumeRootOf(WideStringView path) {
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2]))
    return WideString(path.substr(0, 2)) + L"\\";
  if (path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    // \\server\share\: the first two parts after the leading separators.
    size_t server_end = 2;
    while (server_end < path.size() && !IsSeparator(path[server_end]))
      ++server_end;
    if (server_end == 2 || server_end == path.size()) return {};
    size_t share_end = server_end + 1;
    while (share_end < path.size() && !IsSeparator(path[share_end]))
      ++share_end;
    if (share_end == server_end + 1) return {};
    return L"\\\\" + WideString(path.substr(2, share_end - 2)) + L"\\";
  }
  if (!path.empty() && path[0] == L'/') return L"/";
  return {};
}

PathState DirectPathProber::Probe(const WideString& path) {
  if (sys::FileExists(path) || sys::DirectoryExists(path)) return PathState::kExists;
  const WideString root = VolumeRootOf(path);
  if (root.empty()) return PathState::kMissing;
  auto known = roots_.find(root);
  if (known == roots_.end()) known = roots_.emplace(root, sys::DirectoryExists(root)).first;
  return known->second ? PathState::kMissing : PathState::kUnreachable;
}

bool PathLooksValid(WideStringView path, PathState state) {
  return path.size() < 4 || state != PathState::kMissing;
}

bool RemovedAsInvalid(WideStringView path, PathState state) {
  return path.size() != 3 && state == PathState::kMissing;
}

void LibraryModel::Load(const StampletStore& store) {
  Assign(store.List());
}

void LibraryModel::Assign(std::vector<StampletRecord> records) {
  records_ = std::move(records);
  states_.assign(records_.size(), PathState::kUnknown);
}

void LibraryModel::Append(StampletRecord record) {
  records_.push_back(std::move(record));
  states_.push_back(PathState::kUnknown);
}

std::vector<WideString> LibraryModel::Keys() const {
  std::vector<WideString> keys;
  keys.reserve(records_.size());
  for (const StampletRecord& record : records_)
    keys.push_back(record.path);
  return keys;
}

PathState LibraryModel::StateOf(std::size_t index, PathProber& prober) {
  PathState& state = states_.at(index);
  if (state == PathState::kUnknown) state = prober.Probe(records_[index].path);
  return state;
}

WideString LibraryModel::ValidityText(std::size_t index, PathProber& prober) {
  const WideString& path = records_.at(index).path;
  // A short path looks valid whatever the disk says: no need to ask.
  if (path.size() < 4) return {};
  return PathLooksValid(path, StateOf(index, prober)) ? WideString() : WideString(L"!");
}

std::vector<WideString> ReadStoreKeys(const StampletStore& store) {
  TTntIniFile ini(store.Path());
  std::vector<WideString> keys;
  auto pairs = ini.ReadSectionPairs(kStoreSection, L"0");
  keys.reserve(pairs.size());
  for (auto& pair : pairs)
    keys.push_back(std::move(pair.first));
  return keys;
}

bool StoreKeysChanged(const StampletStore& store, const std::vector<WideString>& keys) {
  return ReadStoreKeys(store) != keys;
}

std::vector<WideString> InvalidKeys(const std::vector<WideString>& keys, PathProber& prober) {
  std::vector<WideString> invalid;
  for (const WideString& key : keys) {
    if (key.size() == 3) continue;
    if (RemovedAsInvalid(key, prober.Probe(key))) invalid.push_back(key);
  }
  return invalid;
}

}  // namespace stamplets
