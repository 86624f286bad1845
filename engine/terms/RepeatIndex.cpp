// Windows are named bottom-up: two windows of n characters are equal exactly
// when the windows of n - 1 characters at their starts have the same name and
// their last characters are equal, so a window's key is that name and that
// character's code, compared without hashing. Only a window whose two shorter
// windows repeat can repeat itself, so each length looks only at those. The
// named windows of each length are kept while they take no more than the
// limit (about two entries a character); a text of endless repeats keeps
// fewer, and the passes hash the windows of the lengths it did not keep.
#include "terms/RepeatIndex.h"

#include <bit>
#include <span>

namespace abrivo {

namespace {

class RepeatIndexBuilder {
 public:
  RepeatIndexBuilder(const CharIndex& index, const FastCountLimits& limits, EventPump& pump)
      : m_index(index),
        m_limits(limits),
        m_pump(pump),
        m_n(index.size()),
        m_names(m_n, kNone),
        m_next(m_n, kNone),
        m_positionBits(std::bit_width(m_n)),
        m_codeBits(index.narrowCodes ? 16 : 32) {
    m_repeats.longest.assign(m_n, 0);
  }

  RepeatIndex build() {
    for (int length = 2; length <= kLongestRun; ++length) {
      if (!nameLength(length)) break;
      keep(length);
    }
    return std::move(m_repeats);
  }

 private:
  enum class Encoding { Narrow, Wide, Packed };

  Encoding encodingFor(int length) const {
    if (length == 2) return Encoding::Narrow;
    const int keyBits = std::bit_width(m_groups) + m_codeBits;
    if (m_groups <= m_limits.narrowNameLimit && m_codeBits == 16) return Encoding::Narrow;
    if (m_limits.packWords && keyBits + m_positionBits <= 64) return Encoding::Packed;
    return Encoding::Wide;
  }

  // The key of the window of `length` characters at k, one shorter named.
  std::uint64_t key(std::uint32_t k, int length) const {
    return (std::uint64_t{m_names[k]} << m_codeBits) |
           m_index.codes[k + static_cast<std::uint32_t>(length) - 1];
  }

  // Pairs of codes are exact keys unless a code is wider than 16 bits; then
  // the pairs are compared.
  auto sameCodes() const {
    return [this](std::uint32_t a, std::uint32_t b) {
      return m_index.codes[a] == m_index.codes[b] && m_index.codes[a + 1] == m_index.codes[b + 1];
    };
  }
  auto lessCodes() const {
    return [this](std::uint32_t a, std::uint32_t b) {
      return std::pair(m_index.codes[a], m_index.codes[a + 1]) <
             std::pair(m_index.codes[b], m_index.codes[b + 1]);
    };
  }

  // Names the repeated windows of one length in m_next; false when fewer
  // than three windows could repeat.
  bool nameLength(int length) {
    const Encoding encoding = encodingFor(length);
    const std::size_t candidates = collect(length, encoding);
    if (candidates < 3) return false;
    m_pump.tick(candidates);
    m_groups = 0;
    const auto tick = [this] { m_pump.tick(4096); };
    const auto name = [&](std::span<const std::uint32_t> positions) {
      for (const std::uint32_t k : positions) {
        m_next[k] = m_groups;
        m_repeats.longest[k] = static_cast<std::uint8_t>(length);
      }
      ++m_groups;
    };
    if (encoding == Encoding::Packed) {
      nameWords(name, tick);
    } else if (encoding == Encoding::Wide) {
      forEachRepeatedValue(m_wideItems, m_wideScratch, m_run, true, sameCodes(), lessCodes(), name,
                           tick);
    } else {
      forEachRepeatedValue(m_items, m_scratch, m_run, length > 2 || m_index.narrowCodes,
                           sameCodes(), lessCodes(), name, tick);
    }
    advance(length, candidates);
    return true;
  }

  // Fills the buffer of the encoding with the windows that could repeat;
  // returns how many there are.
  std::size_t collect(int length, Encoding encoding) {
    m_items.clear();
    m_wideItems.clear();
    m_words.clear();
    if (length == 2) {
      std::size_t count = 0;
      for (std::size_t k = 0; k + 1 < m_n; ++k)
        count += !m_index.blocked[k] && !m_index.blocked[k + 1];
      m_items.reserve(count);
      for (std::size_t k = 0; k + 1 < m_n; ++k) {
        m_pump.tick();
        if (m_index.blocked[k] || m_index.blocked[k + 1]) continue;
        m_items.push_back(
            {pairKey(m_index.codes[k], m_index.codes[k + 1]), static_cast<std::uint32_t>(k)});
      }
      return m_items.size();
    }
    if (encoding != Encoding::Narrow && m_items.capacity() > 0) {
      // The narrow buffers are not needed again; give their memory back.
      std::vector<KeyedPosition>().swap(m_items);
      std::vector<KeyedPosition>().swap(m_scratch);
    }
    std::size_t count = 0;
    for (const std::uint32_t k : m_named) count += k + 1 < m_n && m_names[k + 1] != kNone;
    if (encoding == Encoding::Packed) m_words.reserve(count);
    if (encoding == Encoding::Wide) m_wideItems.reserve(count);
    if (encoding == Encoding::Narrow) m_items.reserve(count);
    for (const std::uint32_t k : m_named) {
      m_pump.tick();
      if (k + 1 >= m_n || m_names[k + 1] == kNone) continue;
      if (encoding == Encoding::Packed)
        m_words.push_back((key(k, length) << m_positionBits) | k);
      else if (encoding == Encoding::Wide)
        m_wideItems.push_back({key(k, length), k});
      else
        m_items.push_back({static_cast<std::uint32_t>(key(k, length)), k});
    }
    return count;
  }

  // Runs of at least three equal keys among the packed words.
  template <typename Name, typename Tick>
  void nameWords(Name& name, Tick& tick) {
    radixSort(
        m_words, m_wordScratch, [](std::uint64_t w) { return w; }, m_positionBits, tick);
    const std::uint64_t positionMask = (std::uint64_t{1} << m_positionBits) - 1;
    for (std::size_t i = 0; i < m_words.size();) {
      std::size_t j = i + 1;
      while (j < m_words.size() && (m_words[j] >> m_positionBits) == (m_words[i] >> m_positionBits))
        ++j;
      m_pump.tick(j - i);
      if (j - i >= 3) {
        m_run.clear();
        for (std::size_t m = i; m < j; ++m)
          m_run.push_back(static_cast<std::uint32_t>(m_words[m] & positionMask));
        name(m_run);
      }
      i = j;
    }
  }

  // The windows named now lie among those named one length shorter; their
  // names become the shorter names of the next length.
  void advance(int length, std::size_t candidates) {
    std::vector<std::uint32_t> nowNamed;
    nowNamed.reserve(candidates);
    if (length == 2) {
      for (std::size_t k = 0; k < m_n; ++k)
        if (m_next[k] != kNone) nowNamed.push_back(static_cast<std::uint32_t>(k));
    } else {
      for (const std::uint32_t k : m_named)
        if (m_next[k] != kNone) nowNamed.push_back(k);
    }
    for (const std::uint32_t k : m_named) m_names[k] = kNone;
    m_named.swap(nowNamed);
    m_names.swap(m_next);
  }

  // Keeps the named windows of the length while the allowance lasts.
  void keep(int length) {
    if (length < 3 || !m_storing) return;
    m_storedEntries += m_named.size();
    m_storing = static_cast<double>(m_storedEntries) <=
                m_limits.keptWindowsPerChar * static_cast<double>(m_n) +
                    static_cast<double>(m_limits.keptWindowsSlack);
    if (!m_storing) return;
    NamedWindows& windows = m_repeats.windows[static_cast<std::size_t>(length)];
    windows.stored = true;
    windows.count = m_groups;
    windows.positions = m_named;
    windows.names.reserve(m_named.size());
    for (const std::uint32_t k : m_named) windows.names.push_back(m_names[k]);
  }

  const CharIndex& m_index;
  const FastCountLimits& m_limits;
  EventPump& m_pump;
  const std::size_t m_n;
  RepeatIndex m_repeats;
  std::vector<std::uint32_t> m_names;  // of the windows one shorter
  std::vector<std::uint32_t> m_next;
  std::vector<std::uint32_t> m_named;  // positions that have a name, ascending
  std::vector<KeyedPosition> m_items;
  std::vector<KeyedPosition> m_scratch;
  std::vector<WideKeyedPosition> m_wideItems;
  std::vector<WideKeyedPosition> m_wideScratch;
  std::vector<std::uint64_t> m_words;
  std::vector<std::uint64_t> m_wordScratch;
  std::vector<std::uint32_t> m_run;
  const int m_positionBits;
  const int m_codeBits;
  std::uint32_t m_groups = 0;
  std::size_t m_storedEntries = 0;
  bool m_storing = true;
};

}  // namespace

RepeatIndex buildRepeatIndex(const CharIndex& index, const FastCountLimits& limits,
                             EventPump& pump) {
  return RepeatIndexBuilder(index, limits, pump).build();
}

}  // namespace abrivo
