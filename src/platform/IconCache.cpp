#include "IconCache.h"

namespace stamplets::win {

HICON TIconCache::Get(const WideString& file, int size) {
  auto known = icons_.find(file);
  if (known != icons_.end()) return known->second.get();
  HICON icon = nullptr;
  const DWORD attributes = GetFileAttributesW(file.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    icon = static_cast<HICON>(
        LoadImageW(nullptr, file.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
  return icons_.emplace(file, unique_hicon(icon)).first->second.get();
}

}  // namespace stamplets::win
