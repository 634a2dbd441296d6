#include "FindFiles.h"

#include "Handles.h"

namespace stamplets {

namespace {

struct FindTraits {
  using Handle = HANDLE;
  static Handle Null() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::FindClose(h); }
};
using unique_hfind = win::UniqueHandle<FindTraits>;

}  // namespace

void ForEachFolderEntry(const WideString& pattern,
                        const std::function<void(const WIN32_FIND_DATAW&)>& visit) {
  WIN32_FIND_DATAW data;
  unique_hfind find(FindFirstFileW(pattern.c_str(), &data));
  if (!find) return;
  do {
    const WideStringView name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    visit(data);
  } while (FindNextFileW(find.get(), &data));
}

void FindFiles(WideString folder, WideString mask, TTntStringList& list,
               const std::function<void()>& between_entries) {
  if (mask.empty()) mask = L"*.*";
  if (!EndsWith(folder, L"\\")) folder += L'\\';
  ForEachFolderEntry(folder + mask, [&](const WIN32_FIND_DATAW& data) {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) list.Add(data.cFileName);
    if (between_entries) between_entries();
  });
}

}  // namespace stamplets
