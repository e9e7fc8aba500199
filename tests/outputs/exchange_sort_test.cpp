#include "outputs/exchange_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace valmero {
namespace {

// Items carry their starting position so that the order of equal keys shows.
struct NumberItem {
  int32_t key;
  int position;
};

int CompareNumbers(const NumberItem& a, const NumberItem& b) {
  return a.key < b.key ? -1 : (a.key > b.key ? 1 : 0);
}

struct TextItem {
  char text[24];
  int position;
};

int CompareTexts(const TextItem& a, const TextItem& b) {
  const auto* x = reinterpret_cast<const unsigned char*>(a.text);
  const auto* y = reinterpret_cast<const unsigned char*>(b.text);
  while (*x != 0 && *x == *y) {
    ++x;
    ++y;
  }
  return static_cast<int>(*x) - static_cast<int>(*y);
}

std::vector<NumberItem> NumberItems(const std::vector<int32_t>& keys) {
  std::vector<NumberItem> items;
  for (std::size_t i = 0; i < keys.size(); ++i) items.push_back({keys[i], static_cast<int>(i)});
  return items;
}

std::vector<int> Positions(const std::vector<NumberItem>& items) {
  std::vector<int> positions;
  for (const auto& item : items) positions.push_back(item.position);
  return positions;
}

std::vector<int> Positions(const std::vector<TextItem>& items) {
  std::vector<int> positions;
  for (const auto& item : items) positions.push_back(item.position);
  return positions;
}

std::vector<int> FastOrder(const std::vector<int32_t>& keys) {
  auto items = NumberItems(keys);
  ExchangeSort(items, CompareNumbers);
  return Positions(items);
}

// The same order through the keys' ranks, which hands back positions.
std::vector<int> KeyedOrder(const std::vector<int32_t>& keys) {
  std::vector<int32_t> distinct = keys;
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  std::vector<uint32_t> ranks;
  for (int32_t key : keys) {
    ranks.push_back(static_cast<uint32_t>(std::lower_bound(distinct.begin(), distinct.end(), key) - distinct.begin()));
  }
  std::vector<int> positions;
  for (std::size_t position : ExchangeSortPositionsByRank(ranks, distinct.size())) {
    positions.push_back(static_cast<int>(position));
  }
  return positions;
}

std::vector<int> LiteralOrder(const std::vector<int32_t>& keys) {
  auto items = NumberItems(keys);
  LiteralExchangeSort(items, CompareNumbers);
  return Positions(items);
}

std::string Describe(const std::vector<int32_t>& keys) {
  std::string text;
  for (int32_t key : keys) text += std::to_string(key) + " ";
  return text;
}

TEST(ExchangeSortTest, LiteralOrderOfEqualKeysIsTheOneTheFilesCarry) {
  // (keys, expected starting positions after the sort)
  const std::vector<std::pair<std::vector<int32_t>, std::vector<int>>> cases = {
      {{}, {}},
      {{7}, {0}},
      {{3, 3, 1}, {2, 1, 0}},
      {{2, 1, 2, 1}, {1, 3, 2, 0}},
      {{1, 2, 2, 3}, {0, 1, 2, 3}},
      {{5, -1, 0}, {1, 2, 0}},
  };
  for (const auto& [keys, expected] : cases) {
    EXPECT_EQ(LiteralOrder(keys), expected) << Describe(keys);
    EXPECT_EQ(FastOrder(keys), expected) << Describe(keys);
    EXPECT_EQ(KeyedOrder(keys), expected) << Describe(keys);
  }
}

// Every pattern of equal and unequal keys over up to 8 items: the sort only
// sees how keys compare, so keys drawn from 0..n-1 using each of 0..k-1 cover
// every case.
TEST(ExchangeSortTest, FastOrderEqualsLiteralForEveryPatternUpToEightItems) {
  long checked = 0;
  for (int n = 0; n <= 8; ++n) {
    std::vector<int32_t> keys(static_cast<std::size_t>(n), 0);
    long total = 1;
    for (int i = 0; i < n; ++i) total *= n;
    for (long code = 0; code < total; ++code) {
      long rest = code;
      unsigned used = 0;
      int32_t highest = 0;
      for (int i = 0; i < n; ++i) {
        keys[static_cast<std::size_t>(i)] = static_cast<int32_t>(rest % n);
        used |= 1u << keys[static_cast<std::size_t>(i)];
        highest = std::max(highest, keys[static_cast<std::size_t>(i)]);
        rest /= n;
      }
      if (n > 0 && used != (2u << highest) - 1) continue;  // not a canonical pattern
      ++checked;
      const std::vector<int> literal = LiteralOrder(keys);
      ASSERT_EQ(FastOrder(keys), literal) << Describe(keys);
      ASSERT_EQ(KeyedOrder(keys), literal) << Describe(keys);
    }
  }
  EXPECT_EQ(checked, 1 + 1 + 3 + 13 + 75 + 541 + 4683 + 47293 + 545835);  // ordered Bell numbers
}

std::vector<int32_t> RandomKeys(std::mt19937& random, std::size_t count, int32_t distinct) {
  std::uniform_int_distribution<int32_t> pick(0, distinct - 1);
  std::vector<int32_t> keys(count);
  for (auto& key : keys) key = pick(random);
  return keys;
}

TEST(ExchangeSortTest, FastOrderEqualsLiteralOnRandomNumbersWithHeavyDuplicates) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 3000; ++round) {
    std::size_t count = 1 + random() % 300;
    int32_t distinct = 1 + static_cast<int32_t>(random() % (round % 3 == 0 ? 4 : count));
    auto keys = RandomKeys(random, count, distinct);
    const std::vector<int> literal = LiteralOrder(keys);
    ASSERT_EQ(FastOrder(keys), literal) << Describe(keys);
    ASSERT_EQ(KeyedOrder(keys), literal) << Describe(keys);
  }
}

TEST(ExchangeSortTest, FastOrderEqualsLiteralOnShapedNumbers) {
  std::mt19937 random(99);
  const std::size_t count = 2000;
  std::vector<std::pair<const char*, std::vector<int32_t>>> shapes;
  std::vector<int32_t> ascending(count), descending(count), grouped(count), sawtooth(count), extremes(count);
  for (std::size_t i = 0; i < count; ++i) {
    ascending[i] = static_cast<int32_t>(i / 3);
    descending[i] = static_cast<int32_t>((count - i) / 3);
    grouped[i] = static_cast<int32_t>(i / 250);
    sawtooth[i] = static_cast<int32_t>(i % 7);
    // The comparison is signed 32-bit: the extremes must not wrap.
    const int32_t values[] = {INT32_MIN, -1, 0, 1, INT32_MAX};
    extremes[i] = values[random() % 5];
  }
  auto groupedReversed = grouped;
  std::reverse(groupedReversed.begin(), groupedReversed.end());
  shapes = {{"ascending", ascending},          {"descending", descending}, {"grouped", grouped},
            {"grouped reversed", groupedReversed}, {"sawtooth", sawtooth},     {"extremes", extremes},
            {"all equal", std::vector<int32_t>(count, 4)}};
  for (const auto& [name, keys] : shapes) {
    const std::vector<int> literal = LiteralOrder(keys);
    EXPECT_EQ(FastOrder(keys), literal) << name;
    EXPECT_EQ(KeyedOrder(keys), literal) << name;
  }
}

TEST(ExchangeSortTest, FastOrderEqualsLiteralOnByteStringsWithHighBytes) {
  // Few letters, short texts and high bytes make many equal keys and many
  // keys that differ only past a shared start or in a byte of 128 and above.
  const char alphabet[] = {'A', 'B', '\x80', '\xe9', '\xff'};
  std::mt19937 random(4242);
  for (int round = 0; round < 1500; ++round) {
    std::size_t count = 1 + random() % 250;
    std::size_t longest = 1 + random() % 4;
    std::vector<TextItem> items(count);
    for (std::size_t i = 0; i < count; ++i) {
      std::memset(items[i].text, 0, sizeof items[i].text);
      std::size_t length = random() % (longest + 1);
      for (std::size_t c = 0; c < length; ++c) items[i].text[c] = alphabet[random() % sizeof alphabet];
      items[i].position = static_cast<int>(i);
    }
    auto literal = items;
    LiteralExchangeSort(literal, CompareTexts);
    ExchangeSort(items, CompareTexts);
    ASSERT_EQ(Positions(items), Positions(literal)) << "round " << round;
  }
}

TEST(ExchangeSortTest, HighBytesSortAfterAscii) {
  std::vector<TextItem> items = {{"\xe9", 0}, {"Z", 1}, {"", 2}, {"ZA", 3}};
  ExchangeSort(items, CompareTexts);
  EXPECT_EQ(Positions(items), (std::vector<int>{2, 1, 3, 0}));
}

TEST(ExchangeSortTest, MovesItemsThatCannotBeCopied) {
  std::vector<std::unique_ptr<int>> items;
  for (int value : {3, 1, 3, 2}) items.push_back(std::make_unique<int>(value));
  int* firstThree = items[0].get();
  ExchangeSort(items, [](const std::unique_ptr<int>& a, const std::unique_ptr<int>& b) { return *a - *b; });
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(*items[0], 1);
  EXPECT_EQ(*items[1], 2);
  // 3 (first), 1, 3 (second), 2: the exchange with 1 and then 2 moves the
  // first 3 behind the second.
  EXPECT_EQ(items[3].get(), firstThree);
}

}  // namespace
}  // namespace valmero
