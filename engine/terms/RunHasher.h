// Polynomial hashes of runs of characters of the term text, for the run
// lengths whose windows the repeat index did not keep.
#pragma once

#include <cstdint>
#include <vector>

#include "terms/TermIndex.h"

namespace abrivo {

// Polynomial hashing modulo 2^61 - 1 over character codes.
class RunHasher {
 public:
  explicit RunHasher(const CharIndex& index)
      : m_prefix(index.size() + 1), m_power(kLongestRun + 1) {
    m_power[0] = 1;
    for (int i = 1; i <= kLongestRun; ++i) m_power[i] = mulMod(m_power[i - 1], kBase);
    for (std::size_t k = 0; k < index.size(); ++k)
      m_prefix[k + 1] = addMod(mulMod(m_prefix[k], kBase), index.codes[k] + 1);
  }

  // The top 32 of the 61 bits of the window's hash.
  std::uint32_t key(std::size_t first, int count) const {
    const std::uint64_t h =
        addMod(m_prefix[first + static_cast<std::size_t>(count)],
               kMod - mulMod(m_prefix[first], m_power[static_cast<std::size_t>(count)]));
    return static_cast<std::uint32_t>(h >> 29);
  }

 private:
  static constexpr std::uint64_t kMod = (std::uint64_t{1} << 61) - 1;
  static constexpr std::uint64_t kBase = 0x1F3D5B79A2C4E6F1ULL % kMod;

  static std::uint64_t mulMod(std::uint64_t a, std::uint64_t b) {
    const unsigned __int128 p = static_cast<unsigned __int128>(a) * b;
    const std::uint64_t r =
        static_cast<std::uint64_t>(p & kMod) + static_cast<std::uint64_t>(p >> 61);
    return r >= kMod ? r - kMod : r;
  }
  static std::uint64_t addMod(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t r = a + b;
    return r >= kMod ? r - kMod : r;
  }

  std::vector<std::uint64_t> m_prefix;
  std::vector<std::uint64_t> m_power;
};

}  // namespace abrivo
