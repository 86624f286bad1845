// Support for the fast Chinese term stage: the characters of the term text
// with their byte offsets, and a stable radix sort of (key, position) pairs.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace abrivo {

inline constexpr int kLongestRun = 17;  // the longest run a term may be, in characters
inline constexpr std::uint32_t kNone = 0xFFFFFFFFu;

// Lets a front end's events run once every few thousand units of work.
class EventPump {
 public:
  explicit EventPump(const std::function<void()>& events) : m_events(events) {}
  void tick(std::size_t units = 1) {
    m_units += units;
    if (m_units >= 4096) {
      m_units = 0;
      if (m_events) m_events();
    }
  }

 private:
  const std::function<void()>& m_events;
  std::size_t m_units = 0;
};

// The key of a pair of 32-bit values: the pair itself when both fit in 16
// bits, a mix of them otherwise.
inline std::uint32_t pairKey(std::uint32_t a, std::uint32_t b) {
  if ((a | b) <= 0xFFFF) return (a << 16) | b;
  return a * 0x9E3779B1u ^ (b + 0x7F4A7C15u);
}

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

// Sorts items by the bits of keyOf(item) from fromBit up; items equal there
// keep their order. scratch is a buffer the sort may reuse between calls;
// tick runs after every digit. Short arrays are sorted by comparison; longer
// ones by digits of 11 bits (the counters stay in the first-level cache),
// skipping a digit on which all keys agree.
template <typename Item, typename KeyOf, typename Tick = void (*)()>
void radixSort(
    std::vector<Item>& items, std::vector<Item>& scratch, KeyOf keyOf, int fromBit = 0,
    Tick tick = [] {}) {
  using Key = decltype(keyOf(items[0]));
  constexpr int kKeyBits = static_cast<int>(8 * sizeof(Key));
  const auto digits = [&](const Item& item) {
    return fromBit ? keyOf(item) >> fromBit : keyOf(item);
  };
  if (items.size() < 256) {
    std::stable_sort(items.begin(), items.end(),
                     [&](const Item& a, const Item& b) { return digits(a) < digits(b); });
    return;
  }
  constexpr int kBits = 11;
  constexpr Key kMask = (Key{1} << kBits) - 1;
  Key any = 0;
  Key all = ~Key{0};
  for (const Item& item : items) {
    any |= keyOf(item);
    all &= keyOf(item);
  }
  scratch.resize(items.size());
  std::vector<std::uint32_t> counts(std::size_t{1} << kBits);
  for (int shift = fromBit; shift < kKeyBits; shift += kBits) {
    if ((((any ^ all) >> shift) & kMask) == 0) continue;
    std::fill(counts.begin(), counts.end(), 0);
    for (const Item& item : items) ++counts[(keyOf(item) >> shift) & kMask];
    std::uint32_t sum = 0;
    for (std::uint32_t& c : counts) {
      const std::uint32_t n = c;
      c = sum;
      sum += n;
    }
    for (const Item& item : items) scratch[counts[(keyOf(item) >> shift) & kMask]++] = item;
    items.swap(scratch);
    tick();
  }
}

// Sorts by key; positions with equal keys keep their order.
template <typename Key, typename Tick = void (*)()>
void radixSortByKey(
    std::vector<Keyed<Key>>& items, std::vector<Keyed<Key>>& scratch, Tick tick = [] {}) {
  radixSort(
      items, scratch, [](const Keyed<Key>& item) { return item.key; }, 0, tick);
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
