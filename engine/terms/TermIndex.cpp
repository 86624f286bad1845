// Tested by tests/term_counting_test.cpp.
#include "terms/TermIndex.h"

#include <algorithm>
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
    if (n > 1) {
      std::uint32_t code = 0;
      for (std::size_t k = 0; k < n; ++k) code = (code << 8) | static_cast<unsigned char>(t[i + k]);
      codes.push_back(code);
      narrowCodes = narrowCodes && code <= 0xFFFF;
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
  const auto byKey = [](const KeyedPosition& a, const KeyedPosition& b) { return a.key < b.key; };
  if (items.size() < 256) {
    std::stable_sort(items.begin(), items.end(), byKey);
    return;
  }
  // Three passes of 11 bits: the counters stay in the first-level cache, and
  // a digit on which all keys agree is skipped.
  constexpr int kBits = 11;
  constexpr std::uint32_t kMask = (1u << kBits) - 1;
  std::uint32_t any = 0;
  std::uint32_t all = ~0u;
  for (const KeyedPosition& item : items) {
    any |= item.key;
    all &= item.key;
  }
  scratch.resize(items.size());
  std::array<std::uint32_t, kMask + 1> counts;
  for (int shift = 0; shift < 32; shift += kBits) {
    if ((((any ^ all) >> shift) & kMask) == 0) continue;
    counts.fill(0);
    for (const KeyedPosition& item : items) ++counts[(item.key >> shift) & kMask];
    std::uint32_t sum = 0;
    for (std::uint32_t& c : counts) {
      const std::uint32_t n = c;
      c = sum;
      sum += n;
    }
    for (const KeyedPosition& item : items) scratch[counts[(item.key >> shift) & kMask]++] = item;
    items.swap(scratch);
  }
}

}  // namespace abrivo
