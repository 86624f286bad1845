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

}  // namespace abrivo
