// Icons loaded from files at one size, each file at most once until Clear:
// a page that draws the same few icons on every paint keeps them here for
// the length of one load instead of reading the files at every paint.
#pragma once

#include <windows.h>

#include <unordered_map>

#include "Handles.h"
#include "WideText.h"

namespace stamplets::win {

class TIconCache {
 public:
  // The icon of the file at size x size pixels; null when the file is
  // missing or holds no icon (that answer is kept as well).
  HICON Get(const WideString& file, int size);
  // Destroys every icon; the next Get reads its file again.
  void Clear() { icons_.clear(); }
  std::size_t Size() const { return icons_.size(); }

 private:
  std::unordered_map<WideString, unique_hicon> icons_;
};

}  // namespace stamplets::win
