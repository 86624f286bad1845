// Tested by tests/terms_test.cpp.
#include "state/CharArray.h"

#include <limits>

#include "text/TextOps.h"

namespace abrivo {

void CharArray::assign(std::string_view text) {
  // Offsets are 32-bit: a text longer than 4 GiB keeps its first 4 GiB here.
  text = text.substr(0, std::numeric_limits<std::uint32_t>::max());
  m_text.assign(text);
  m_offsets.clear();
  if (text.empty()) return;
  m_offsets.reserve(text.size() / 2 + 2);
  for (std::size_t i = 0; i < text.size(); i += charSize(text, i))
    m_offsets.push_back(static_cast<std::uint32_t>(i));
  m_offsets.push_back(static_cast<std::uint32_t>(text.size()));
  m_offsets.shrink_to_fit();
}

void CharArray::clear() {
  m_text.clear();
  m_text.shrink_to_fit();
  m_offsets.clear();
  m_offsets.shrink_to_fit();
}

}  // namespace abrivo
