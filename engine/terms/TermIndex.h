// Support for the fast Chinese term stage: the characters of the term text
// with their byte offsets, and a stable radix sort of (key, position) pairs.
#pragma once

#include <cstdint>
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
  std::vector<std::uint32_t> codes;    // one byte b, or (lead << 8) | trail
  std::vector<std::uint8_t> blocked;
};

struct KeyedPosition {
  std::uint64_t key;
  std::uint32_t pos;
};

// Sorts by key; positions with equal keys keep their order.
void radixSortByKey(std::vector<KeyedPosition>& items, std::vector<KeyedPosition>& scratch);

}  // namespace abrivo
