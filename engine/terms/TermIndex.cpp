// Tested by tests/term_counting_test.cpp.
#include "terms/TermIndex.h"

#include <array>

#include "text/TextOps.h"

namespace abrivo {

CharIndex::CharIndex(std::string_view t) : text(t) {
  offsets.reserve(t.size() / 2 + 2);
  codes.reserve(t.size() / 2 + 1);
  blocked.reserve(t.size() / 2 + 1);
  for (std::size_t i = 0; i < t.size();) {
    const std::size_t n = charSize(t, i);
    const auto b0 = static_cast<unsigned char>(t[i]);
    offsets.push_back(static_cast<std::uint32_t>(i));
    if (n == 2) {
      codes.push_back((static_cast<std::uint32_t>(b0) << 8) | static_cast<unsigned char>(t[i + 1]));
      blocked.push_back(0);
    } else {
      codes.push_back(b0);
      blocked.push_back(b0 == ' ' || b0 >= 0x80);
    }
    i += n;
  }
  offsets.push_back(static_cast<std::uint32_t>(t.size()));
}

void radixSortByKey(std::vector<KeyedPosition>& items, std::vector<KeyedPosition>& scratch) {
  constexpr int kBits = 16;
  constexpr std::size_t kBuckets = std::size_t{1} << kBits;
  std::uint64_t any = 0;
  std::uint64_t all = ~std::uint64_t{0};
  for (const KeyedPosition& item : items) {
    any |= item.key;
    all &= item.key;
  }
  scratch.resize(items.size());
  std::vector<std::uint32_t> counts(kBuckets);
  for (int shift = 0; shift < 64; shift += kBits) {
    // A digit on which every key agrees would leave the order as it is.
    if ((((any ^ all) >> shift) & (kBuckets - 1)) == 0) continue;
    std::fill(counts.begin(), counts.end(), 0);
    for (const KeyedPosition& item : items) ++counts[(item.key >> shift) & (kBuckets - 1)];
    std::uint32_t sum = 0;
    for (std::uint32_t& c : counts) {
      const std::uint32_t n = c;
      c = sum;
      sum += n;
    }
    for (const KeyedPosition& item : items)
      scratch[counts[(item.key >> shift) & (kBuckets - 1)]++] = item;
    items.swap(scratch);
  }
}

}  // namespace abrivo
