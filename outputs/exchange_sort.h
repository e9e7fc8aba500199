// The exchange sort whose order (equal keys included) reaches the output
// files: for each position i, and each later position j in turn, the items
// at i and j change places when the one now at i is strictly greater.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace valmero {

// compare(a, b) is negative, zero or positive. This is the quadratic
// definition of the order, step for step.
template <typename T, typename Compare>
void LiteralExchangeSort(std::vector<T>& items, Compare compare) {
  const std::size_t count = items.size();
  for (std::size_t i = 0; i < count; ++i) {
    for (std::size_t j = i + 1; j < count; ++j) {
      if (compare(items[i], items[j]) > 0) std::swap(items[i], items[j]);
    }
  }
}

// Puts items into exactly the order LiteralExchangeSort gives.
template <typename T, typename Compare>
void ExchangeSort(std::vector<T>& items, Compare compare) {
  LiteralExchangeSort(items, compare);
}

}  // namespace valmero
