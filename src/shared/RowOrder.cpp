#include "RowOrder.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace stamplets {

namespace {

// a < b by UTF-16 units. Paths share long beginnings, so the equal part is
// skipped eight bytes at a time.
bool UnitsLess(const WideString& a, const WideString& b) {
  const std::size_t n = std::min(a.size(), b.size());
  constexpr std::size_t kChunk = sizeof(std::uint64_t) / sizeof(wchar_t);
  std::size_t i = 0;
  for (; i + kChunk <= n; i += kChunk) {
    std::uint64_t x, y;
    std::memcpy(&x, a.data() + i, sizeof x);
    std::memcpy(&y, b.data() + i, sizeof y);
    if (x != y) break;
  }
  for (; i < n; ++i)
    if (a[i] != b[i]) return a[i] < b[i];
  return a.size() < b.size();
}

}  // namespace

std::vector<WideString> FoldForSort(std::vector<WideString> texts) {
  for (WideString& text : texts)
    text = UpperCase(text);
  return texts;
}

std::vector<std::uint32_t> RankForSort(const std::vector<WideString>& keys) {
  std::vector<std::size_t> by_key(keys.size());
  std::iota(by_key.begin(), by_key.end(), 0);
  std::sort(by_key.begin(), by_key.end(),
            [&](std::size_t a, std::size_t b) { return UnitsLess(keys[a], keys[b]); });
  std::vector<std::uint32_t> ranks(keys.size());
  std::uint32_t rank = 0;
  for (std::size_t i = 0; i < by_key.size(); ++i) {
    if (i > 0 && keys[by_key[i - 1]] != keys[by_key[i]]) ++rank;
    ranks[by_key[i]] = rank;
  }
  return ranks;
}

void SortRowOrder(std::vector<std::size_t>& order, const std::vector<std::uint32_t>& ranks,
                  bool descending) {
  if (descending)
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return ranks[b] < ranks[a]; });
  else
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return ranks[a] < ranks[b]; });
}

}  // namespace stamplets
