// The exchange sort whose order (equal keys included) reaches the output
// files: for each position i, and each later position j in turn, the items
// at i and j change places when the one now at i is strictly greater.
//
// ExchangeSort gives exactly that order in O(n log n). It rests on this fact
// (checked against the literal sort for every sequence of up to 8 items and
// on many random ones; tests/outputs/exchange_sort_test.cpp keeps checking
// it): for a key v, the final order of the items with key v is what a queue
// holds after scanning the items with key <= v in their starting order,
// pushing each item with key v at the back and moving the front to the back
// once for every item with a smaller key. Items with larger keys play no
// part. Seen as a ring, a push puts the new item just before the front and a
// move only advances the front by one, so the queue can be unwound from the
// last push backwards: the last item pushed stands (moves since its push)+1
// places before the final front, and once it is taken out, the front of the
// shorter queue is the item that followed it in the ring. Sorting by key
// first and counting the smaller items with a Fenwick tree over positions
// makes the whole O(n log n).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <numeric>
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

namespace exchange_sort_detail {

// Counts over positions 0..size-1: point updates, prefix sums, and the
// position of the k-th counted one.
class CFenwickTree {
 public:
  explicit CFenwickTree(std::size_t size) : m_nodes(size + 1, 0) {}

  // Every position counted once, built in linear time.
  void FillWithOnes() {
    const std::size_t size = m_nodes.size() - 1;
    for (std::size_t node = 1; node <= size; ++node) {
      m_nodes[node] += 1;
      std::size_t parent = node + (node & (~node + 1));
      if (parent <= size) m_nodes[parent] += m_nodes[node];
    }
  }

  void Add(std::size_t position, std::ptrdiff_t delta) {
    for (std::size_t node = position + 1; node < m_nodes.size(); node += node & (~node + 1)) {
      m_nodes[node] += delta;
    }
  }

  // The count over positions [0, end).
  std::size_t CountBefore(std::size_t end) const {
    std::ptrdiff_t sum = 0;
    for (std::size_t node = end; node > 0; node -= node & (~node + 1)) sum += m_nodes[node];
    return static_cast<std::size_t>(sum);
  }

  // The count over positions [begin, end).
  std::size_t CountBetween(std::size_t begin, std::size_t end) const {
    return end <= begin ? 0 : CountBefore(end) - CountBefore(begin);
  }

  // The position holding the k-th (from 0) counted one; k must be below the total.
  std::size_t FindNth(std::size_t k) const {
    const std::size_t size = m_nodes.size() - 1;
    std::size_t step = 1;
    while (step * 2 <= size) step *= 2;
    std::size_t node = 0;
    std::ptrdiff_t remaining = static_cast<std::ptrdiff_t>(k);
    for (; step > 0; step /= 2) {
      std::size_t next = node + step;
      if (next <= size && m_nodes[next] <= remaining) {
        node = next;
        remaining -= m_nodes[next];
      }
    }
    return node;  // positions are node-1 based; the answer is the next one
  }

 private:
  std::vector<std::ptrdiff_t> m_nodes;
};

// Places the members of one group of equal keys (their starting positions,
// ascending) into `slots`, the group's part of the result, in the order the
// literal sort leaves them. `smaller` counts the positions of all items with
// smaller keys; `moves` is scratch space.
inline void PlaceEqualKeys(const std::size_t* members, std::size_t memberCount, std::size_t itemCount,
                           const CFenwickTree& smaller, std::vector<std::size_t>& moves, std::size_t* slots) {
  if (memberCount == 1) {
    slots[0] = members[0];
    return;
  }
  // moves[k]: items with smaller keys between member k and the next member
  // (or the end), i.e. how often the queue turned after member k was pushed.
  moves.resize(memberCount);
  std::size_t before = smaller.CountBefore(members[0]);
  for (std::size_t k = 0; k < memberCount; ++k) {
    std::size_t next = smaller.CountBefore(k + 1 < memberCount ? members[k + 1] : itemCount);
    moves[k] = next - before;
    before = next;
  }
  // Unwind the pushes from the last one; `front` is where the front of the
  // queue of k+1 members stands among the slots still free.
  CFenwickTree freeSlots(memberCount);
  freeSlots.FillWithOnes();
  std::size_t front = 0;
  for (std::size_t k = memberCount; k-- > 0;) {
    const std::size_t length = k + 1;
    const std::size_t turns = moves[k] % length;
    const std::size_t place = (front + length - 1 - turns) % length;
    const std::size_t slot = freeSlots.FindNth(place);
    slots[slot] = members[k];
    freeSlots.Add(slot, -1);
    if (k > 0) front = place % k;
  }
}

// byKey: all positions, stably sorted by key (equal keys by position).
// sameKey(i, j) tells whether the items at byKey[i] and byKey[j] have equal
// keys. The result: the positions in the literal sort's final order.
template <typename SameKey>
std::vector<std::size_t> ExchangeOrderFromKeyOrder(const std::vector<std::size_t>& byKey, SameKey sameKey) {
  const std::size_t count = byKey.size();
  std::vector<std::size_t> order(count);
  std::vector<std::size_t> moves;
  CFenwickTree smaller(count);
  for (std::size_t first = 0; first < count;) {
    std::size_t last = first + 1;
    while (last < count && sameKey(first, last)) ++last;
    PlaceEqualKeys(&byKey[first], last - first, count, smaller, moves, &order[first]);
    for (std::size_t k = first; k < last; ++k) smaller.Add(byKey[k], 1);
    first = last;
  }
  return order;
}

}  // namespace exchange_sort_detail

// The starting positions of items in the order LiteralExchangeSort would
// leave them, for items whose keys are given as ranks: ranks[p] is the place
// of item p's key among the distinct keys (0 for the smallest), rankCount
// their number. Equal keys have equal ranks. Linear in the items besides the
// placing, so the cost of comparing keys is paid once per distinct key.
inline std::vector<std::size_t> ExchangeSortPositionsByRank(const std::vector<uint32_t>& ranks,
                                                            std::size_t rankCount) {
  const std::size_t count = ranks.size();
  // Counting sort: stable, so equal ranks stay in order of position.
  std::vector<std::size_t> start(rankCount + 1, 0);
  for (uint32_t rank : ranks) ++start[rank + 1];
  for (std::size_t rank = 0; rank < rankCount; ++rank) start[rank + 1] += start[rank];
  std::vector<std::size_t> byKey(count);
  for (std::size_t position = 0; position < count; ++position) byKey[start[ranks[position]]++] = position;
  return exchange_sort_detail::ExchangeOrderFromKeyOrder(
      byKey, [&](std::size_t i, std::size_t j) { return ranks[byKey[i]] == ranks[byKey[j]]; });
}

// Puts items into exactly the order LiteralExchangeSort gives, in
// O(n log n). Keys are equal when compare gives 0; compare must order
// consistently (a strict weak order through "< 0").
template <typename T, typename Compare>
void ExchangeSort(std::vector<T>& items, Compare compare) {
  const std::size_t count = items.size();
  if (count < 2) return;
  std::vector<std::size_t> byKey(count);
  std::iota(byKey.begin(), byKey.end(), std::size_t{0});
  std::stable_sort(byKey.begin(), byKey.end(),
                   [&](std::size_t a, std::size_t b) { return compare(items[a], items[b]) < 0; });
  const std::vector<std::size_t> order = exchange_sort_detail::ExchangeOrderFromKeyOrder(
      byKey, [&](std::size_t i, std::size_t j) { return compare(items[byKey[i]], items[byKey[j]]) == 0; });
  std::vector<T> sorted;
  sorted.reserve(count);
  for (std::size_t position : order) sorted.push_back(std::move(items[position]));
  items = std::move(sorted);
}

}  // namespace valmero
