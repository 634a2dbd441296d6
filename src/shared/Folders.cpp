#include "Folders.h"

#include "System.h"

namespace stamplets {

namespace {
bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}
}  // namespace

bool ForceFolders(WideStringView path) {
  WideString full(path);
  while (!full.empty() && IsSeparator(full.back()))
    full.pop_back();
  if (full.empty()) return false;
  full += L'\\';

  // The first position after which folders may be created: past a drive
  // ("C:\"), past "\\server\share\", past a leading separator.
  size_t start = 0;
  if (full.size() >= 2 && IsSeparator(full[0]) && IsSeparator(full[1])) {
    int separators = 0;
    for (start = 2; start < full.size() && separators < 2; ++start)
      if (IsSeparator(full[start])) ++separators;
  } else if (full.size() >= 2 && full[1] == L':') {
    start = IsSeparator(full[2]) ? 3 : 2;
  }

  for (size_t i = start; i < full.size(); ++i) {
    if (!IsSeparator(full[i]) || i == 0) continue;
    WideString folder = full.substr(0, i);
    if (IsSeparator(folder.back()) || sys::DirectoryExists(folder)) continue;
    if (!sys::CreateFolder(folder) && !sys::DirectoryExists(folder)) return false;
  }
  return true;
}

}  // namespace stamplets
