// Support for the fast Chinese term stage: the characters of the term text
// with their byte offsets, and a stable radix sort of (key, position) pairs.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace abrivo {

// The term text as a sequence of characters in their original coordinates.
// A character is "blocked" when no candidate run may contain it: the one-byte
// space, and a lead byte standing last without its second byte.
struct CharIndex {
  explicit CharIndex(std::string_view text);

  std::size_t size() const { return codes.size(); }
  std::string_view bytes(std::size_t first, std::size_t count) const {
    return text.substr(offsets[first], offsets[first + count] - offsets[first]);
  }

  std::string_view text;
  std::vector<std::uint32_t> offsets;  // size() + 1 entries
  std::vector<std::uint32_t> codes;    // the character's bytes, first byte highest
  std::vector<std::uint8_t> blocked;
  bool narrowCodes = true;  // every code fits in 16 bits (no four-byte characters)
};

template <typename Key>
struct Keyed {
  Key key;
  std::uint32_t pos;
};
using KeyedPosition = Keyed<std::uint32_t>;
using WideKeyedPosition = Keyed<std::uint64_t>;

// Sorts by key; positions with equal keys keep their order. scratch is a
// buffer the sort may reuse between calls; tick runs after every digit. Short arrays are sorted by
// comparison; longer ones by digits of 11 bits (the counters stay in the
// first-level cache), skipping a digit on which all keys agree.
template <typename Key, typename Tick = void (*)()>
void radixSortByKey(
    std::vector<Keyed<Key>>& items, std::vector<Keyed<Key>>& scratch, Tick tick = [] {}) {
  const auto byKey = [](const Keyed<Key>& a, const Keyed<Key>& b) { return a.key < b.key; };
  if (items.size() < 256) {
    std::stable_sort(items.begin(), items.end(), byKey);
    return;
  }
  constexpr int kBits = 11;
  constexpr Key kMask = (Key{1} << kBits) - 1;
  Key any = 0;
  Key all = ~Key{0};
  for (const Keyed<Key>& item : items) {
    any |= item.key;
    all &= item.key;
  }
  scratch.resize(items.size());
  std::vector<std::uint32_t> counts(std::size_t{1} << kBits);
  for (int shift = 0; shift < static_cast<int>(8 * sizeof(Key)); shift += kBits) {
    if ((((any ^ all) >> shift) & kMask) == 0) continue;
    std::fill(counts.begin(), counts.end(), 0);
    for (const Keyed<Key>& item : items) ++counts[(item.key >> shift) & kMask];
    std::uint32_t sum = 0;
    for (std::uint32_t& c : counts) {
      const std::uint32_t n = c;
      c = sum;
      sum += n;
    }
    for (const Keyed<Key>& item : items) scratch[counts[(item.key >> shift) & kMask]++] = item;
    items.swap(scratch);
    tick();
  }
}

// Sorts words by their bits from fromBit up; words equal there keep their
// order. Digits of 11 bits, skipping those on which all words agree; tick
// runs after every digit.
template <typename Tick = void (*)()>
void radixSortHighBits(
    std::vector<std::uint64_t>& words, std::vector<std::uint64_t>& scratch, int fromBit,
    Tick tick = [] {}) {
  constexpr int kBits = 11;
  constexpr std::uint64_t kMask = (std::uint64_t{1} << kBits) - 1;
  std::uint64_t any = 0;
  std::uint64_t all = ~std::uint64_t{0};
  for (const std::uint64_t w : words) {
    any |= w;
    all &= w;
  }
  scratch.resize(words.size());
  std::vector<std::uint32_t> counts(std::size_t{1} << kBits);
  for (int shift = fromBit; shift < 64; shift += kBits) {
    if ((((any ^ all) >> shift) & kMask) == 0) continue;
    std::fill(counts.begin(), counts.end(), 0);
    for (const std::uint64_t w : words) ++counts[(w >> shift) & kMask];
    std::uint32_t sum = 0;
    for (std::uint32_t& c : counts) {
      const std::uint32_t n = c;
      c = sum;
      sum += n;
    }
    for (const std::uint64_t w : words) scratch[counts[(w >> shift) & kMask]++] = w;
    words.swap(scratch);
    tick();
  }
}

// Calls visit(positions) for every set of at least three items whose values
// are equal. The items carry a key that equal values share; they are
// sorted by it here, and a run of equal keys whose values differ (a hash
// collision) is sorted out by value. With exactKeys, equal keys mean equal
// values and nothing is compared. Positions of one set are ascending.
template <typename Key, typename Same, typename Less, typename Visit, typename Tick = void (*)()>
void forEachRepeatedValue(
    std::vector<Keyed<Key>>& items, std::vector<Keyed<Key>>& scratch,
    std::vector<std::uint32_t>& run, bool exactKeys, Same same, Less less, Visit visit,
    Tick tick = [] {}) {
  radixSortByKey(items, scratch, tick);
  for (std::size_t i = 0, nextTick = 4096; i < items.size();) {
    if (i >= nextTick) {
      tick();
      nextTick = i + 4096;
    }
    std::size_t j = i + 1;
    while (j < items.size() && items[j].key == items[i].key) ++j;
    if (j - i >= 3) {
      run.clear();
      bool allSame = true;
      for (std::size_t m = i; m < j; ++m) {
        run.push_back(items[m].pos);
        allSame = allSame && (exactKeys || same(items[i].pos, items[m].pos));
      }
      if (allSame) {
        visit(std::span<const std::uint32_t>(run));
      } else {
        // A collision usually joins just two values: peel them off one at a
        // time, positions in order; a key that many values share is sorted.
        std::vector<std::uint32_t> current = run;
        std::vector<std::uint32_t> matched;
        std::vector<std::uint32_t> rest;
        for (int round = 0; !current.empty(); ++round) {
          if (round == 8) {
            std::stable_sort(current.begin(), current.end(), less);
            for (std::size_t a = 0; a < current.size();) {
              std::size_t b = a + 1;
              while (b < current.size() && same(current[a], current[b])) ++b;
              if (b - a >= 3) visit(std::span<const std::uint32_t>(current).subspan(a, b - a));
              a = b;
            }
            break;
          }
          matched.clear();
          rest.clear();
          for (const std::uint32_t p : current) (same(current[0], p) ? matched : rest).push_back(p);
          if (matched.size() >= 3) visit(std::span<const std::uint32_t>(matched));
          current.swap(rest);
        }
      }
    }
    i = j;
  }
}

}  // namespace abrivo
