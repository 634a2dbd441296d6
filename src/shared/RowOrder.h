// Ordering grid rows by the text of one column, without regard to case.
// Every text of the column is folded to upper case once and the records are
// ranked by the folded texts (equal texts share a rank); sorting the rows is
// then a stable sort of record indices by rank, so sorting the same column
// again, either way, compares integers only. Rows of equal text keep their
// previous order in either direction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "WideText.h"

namespace stamplets {

// The texts folded for comparison: upper case by the platform's conversion.
std::vector<WideString> FoldForSort(std::vector<WideString> texts);

// Each record's rank among `keys` (compared unit by unit): 0 for the
// smallest, equal keys the same rank.
std::vector<std::uint32_t> RankForSort(const std::vector<WideString>& keys);

// Sorts `order` (record indices) by ranks[record], ascending or descending.
void SortRowOrder(std::vector<std::size_t>& order, const std::vector<std::uint32_t>& ranks,
                  bool descending);

}  // namespace stamplets
