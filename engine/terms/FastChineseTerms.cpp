// The fast counting method of the Chinese term stage. It gives the same term
// table, the same workText and charArray as splitting the whole text once per
// candidate, at a cost that grows about linearly with the text.
//
// Why it can: within the stage a cut replaces whole characters by one space,
// and no candidate contains a space, so a cut never creates an occurrence of
// a candidate; it only destroys those that overlap it. Every occurrence the
// stage ever counts is therefore a window of the term text as it was when the
// stage began, and the whole stage can work in those original coordinates:
//
//  - a window of n characters is a candidate in the pass for n when none of
//    its characters is blocked (a space) or cut by an earlier term;
//  - a candidate matters only at its first place in the candidate list: after
//    that place it was either cut (its count is 0 from then on) or counted
//    below 3 (counts only fall);
//  - its count is the greedy left-to-right selection of its surviving windows
//    that do not overlap each other, one fewer when the last one ends the
//    text; cutting marks the selected windows' characters.
//
// Before the passes, one bottom-up sweep names every window that occurs at
// least three times in the original text, exactly and without hashing (see
// terms/RepeatIndex.h). A pass then groups its surviving windows by name; for a
// length whose names were not kept (a text of endless repeats), it groups
// them by a hash of their characters checked byte for byte. Two-character
// windows are grouped by their pair of character codes.
//
// Tested by tests/term_counting_test.cpp against the direct method.
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_map>

#include "terms/ChineseTerms.h"
#include "terms/RepeatIndex.h"
#include "terms/RunHasher.h"
#include "terms/TermIndex.h"
#include "text/TextOps.h"

namespace abrivo {

namespace {

// The distinct candidates of a pass with at least three windows, in the order
// of their first window, each as a span of ascending positions.
struct WindowGroups {
  std::vector<std::uint32_t> positions;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;  // begin, end in positions
};

// The sixteen passes in the coordinates of the original text.
class Passes {
 public:
  Passes(const CharIndex& index, const FastCountLimits& limits, EventPump& pump)
      : m_index(index),
        m_n(index.size()),
        m_pump(pump),
        m_repeats(buildRepeatIndex(index, limits, pump)),
        m_cut(m_n, 0),
        m_nextCut(m_n + 1, static_cast<std::uint32_t>(m_n)) {
    for (const std::uint8_t l : m_repeats.longest) ++m_longestCount[l];
    for (int l = kLongestRun; l > 0; --l) m_longestCount[l - 1] += m_longestCount[l];
    for (std::size_t k = 0; k < m_n; ++k)
      if (m_repeats.longest[k] >= 2) m_repeated.push_back(static_cast<std::uint32_t>(k));
  }

  // One pass: appends its terms to rows and cuts their occurrences.
  void run(int length, std::vector<TermRow>& rows) {
    const auto span = static_cast<std::size_t>(length);
    m_groups.positions.clear();
    m_groups.spans.clear();
    if (m_longestCount[span] > 0) {
      refreshNextCut();
      if (m_repeats.windows[span].stored)
        groupByName(m_repeats.windows[span], span);
      else
        groupByHash(length);
    }
    for (const auto& [begin, end] : m_groups.spans) {
      selectWindows(begin, end, span);
      int count = static_cast<int>(m_selected.size());
      if (!m_selected.empty() && m_selected.back() + span == m_n)
        --count;  // splitText's last piece
      if (count < kMinTermOccurrences) continue;
      rows.push_back({std::string(m_index.bytes(m_groups.positions[begin], span)), toText(count)});
      for (const std::uint32_t k : m_selected) {
        m_cut[k] = 1;
        std::fill(m_cut.begin() + k + 1, m_cut.begin() + static_cast<std::ptrdiff_t>(k + span), 2);
      }
      m_anyCut = true;
      m_cutsSinceScan = true;
    }
  }

  bool anyCut() const { return m_anyCut; }
  // 0: uncut; 1: first character of a cut occurrence; 2: the rest of one.
  std::vector<std::uint8_t> takeCut() { return std::move(m_cut); }

 private:
  // A repeated window holds no blocked character; it is a candidate unless
  // an earlier term cut one of its characters: nextCut[k] is the first cut
  // character at or after k.
  void refreshNextCut() {
    if (!m_cutsSinceScan) return;
    m_nextCut[m_n] = static_cast<std::uint32_t>(m_n);
    for (std::size_t k = m_n; k-- > 0;)
      m_nextCut[k] = m_cut[k] ? static_cast<std::uint32_t>(k) : m_nextCut[k + 1];
    m_cutsSinceScan = false;
  }

  // Groups the surviving windows by name: count, lay out by name, and list
  // the names in the order of their first window.
  void groupByName(const NamedWindows& named, std::size_t span) {
    m_valid.clear();
    for (std::uint32_t j = 0; j < named.positions.size(); ++j)
      if (m_nextCut[named.positions[j]] >= named.positions[j] + span) m_valid.push_back(j);
    m_perName.assign(named.count, 0);
    for (const std::uint32_t j : m_valid) ++m_perName[named.names[j]];
    m_seen.assign(named.count, 0);
    m_order.clear();
    std::uint32_t laid = 0;
    for (const std::uint32_t j : m_valid) {
      const std::uint32_t name = named.names[j];
      if (m_perName[name] < 3 || m_seen[name]) continue;
      m_seen[name] = 1;
      m_order.push_back(name);
      m_groups.spans.emplace_back(laid, laid);
      laid += m_perName[name];
      m_perName[name] = m_groups.spans.back().first;  // from here: where its next window goes
    }
    m_groups.positions.resize(laid);
    for (const std::uint32_t j : m_valid) {
      const std::uint32_t name = named.names[j];
      if (m_seen[name]) m_groups.positions[m_perName[name]++] = named.positions[j];
    }
    for (std::size_t g = 0; g < m_groups.spans.size(); ++g)
      m_groups.spans[g].second = m_perName[m_order[g]];
    m_pump.tick(named.positions.size() / 4 + m_valid.size());
  }

  // Groups the surviving windows of a length whose names were not kept by a
  // hash of their characters, checked byte for byte; two-character windows
  // by their pair of codes.
  void groupByHash(int length) {
    const auto span = static_cast<std::size_t>(length);
    if (!m_hasher) m_hasher.emplace(m_index);
    std::size_t count = 0;
    for (const std::uint32_t k : m_repeated)
      count += m_repeats.longest[k] >= length && m_nextCut[k] >= k + span;
    m_items.clear();
    m_items.reserve(count);
    for (const std::uint32_t k : m_repeated) {
      if (m_repeats.longest[k] >= length && m_nextCut[k] >= k + span)
        m_items.push_back({length == 2 ? pairKey(m_index.codes[k], m_index.codes[k + 1])
                                       : m_hasher->key(k, length),
                           k});
    }
    m_pump.tick(m_repeated.size() / 4 + m_items.size());
    forEachRepeatedValue(
        m_items, m_scratch, m_run, length == 2 && m_index.narrowCodes,
        [&](std::uint32_t a, std::uint32_t b) {
          return m_index.bytes(a, span) == m_index.bytes(b, span);
        },
        [&](std::uint32_t a, std::uint32_t b) {
          return m_index.bytes(a, span) < m_index.bytes(b, span);
        },
        [&](std::span<const std::uint32_t> positions) {
          const auto begin = static_cast<std::uint32_t>(m_groups.positions.size());
          m_groups.positions.insert(m_groups.positions.end(), positions.begin(), positions.end());
          m_groups.spans.emplace_back(begin, static_cast<std::uint32_t>(m_groups.positions.size()));
        },
        [this] { m_pump.tick(4096); });
    std::sort(m_groups.spans.begin(), m_groups.spans.end(), [&](const auto& a, const auto& b) {
      return m_groups.positions[a.first] < m_groups.positions[b.first];
    });
  }

  // The greedy left-to-right choice of a candidate's windows that overlap
  // neither each other nor an earlier cut, into m_selected.
  void selectWindows(std::uint32_t begin, std::uint32_t end, std::size_t span) {
    m_selected.clear();
    std::size_t free = 0;  // the next occurrence may start here
    for (std::uint32_t g = begin; g < end; ++g) {
      const std::size_t k = m_groups.positions[g];
      if (k < free) continue;
      if (std::any_of(m_cut.begin() + static_cast<std::ptrdiff_t>(k),
                      m_cut.begin() + static_cast<std::ptrdiff_t>(k + span),
                      [](std::uint8_t c) { return c != 0; }))
        continue;
      m_selected.push_back(static_cast<std::uint32_t>(k));
      free = k + span;
    }
    m_pump.tick(end - begin);
  }

  const CharIndex& m_index;
  const std::size_t m_n;
  EventPump& m_pump;
  const RepeatIndex m_repeats;
  // How many positions start a repeated window of each length or longer.
  std::array<std::size_t, kLongestRun + 2> m_longestCount{};
  std::vector<std::uint32_t> m_repeated;  // positions of repeated windows, ascending
  std::optional<RunHasher> m_hasher;      // for the lengths whose names were not kept
  std::vector<std::uint8_t> m_cut;
  std::vector<std::uint32_t> m_nextCut;
  bool m_cutsSinceScan = false;
  bool m_anyCut = false;
  WindowGroups m_groups;
  std::vector<KeyedPosition> m_items;
  std::vector<KeyedPosition> m_scratch;
  std::vector<std::uint32_t> m_run;
  std::vector<std::uint32_t> m_selected;
  std::vector<std::uint32_t> m_valid;
  std::vector<std::uint32_t> m_perName;
  std::vector<std::uint8_t> m_seen;
  std::vector<std::uint32_t> m_order;
};

// Every cut occurrence becomes one space; everything else stays as it was.
std::string rebuildText(const std::string& original, const CharIndex& index,
                        const std::vector<std::uint8_t>& cut) {
  std::string text;
  text.reserve(original.size());
  std::size_t copyFrom = 0;
  for (std::size_t k = 0; k < index.size(); ++k) {
    if (cut[k] == 0) continue;
    text.append(original, copyFrom, index.offsets[k] - copyFrom);
    if (cut[k] == 1) text += ' ';
    copyFrom = index.offsets[k + 1];
  }
  text.append(original, copyFrom);
  return text;
}

// FNV-1a over bytes, so that the hash of a substring can be extended one
// byte at a time.
struct SubstringHash {
  static constexpr std::uint64_t kSeed = 0xCBF29CE484222325ULL;
  static std::uint64_t step(std::uint64_t hash, char c) {
    return (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
  }
  std::size_t operator()(std::string_view s) const {
    std::uint64_t hash = kSeed;
    for (const char c : s) hash = step(hash, c);
    return static_cast<std::size_t>(hash);
  }
};

constexpr std::size_t kFilterBits = std::size_t{1} << 22;

// Reads a weight back the way a table cell holds it: written by toText,
// read by toNumber.
double asCell(double x) {
  if (std::fabs(x) < 1e12 && x == std::floor(x)) return x;
  return toNumber(toText(x));
}

// Which terms hold which: containers[a] lists every other term that holds
// term a (ignoring ASCII case), ascending; innermost[b] is the last such a
// for container b, -1 when none.
struct Containment {
  std::vector<std::vector<int>> containers;
  std::vector<int> innermost;
};

Containment findContainment(const std::vector<TermRow>& rows, EventPump& pump) {
  const int count = static_cast<int>(rows.size());
  std::vector<std::string> folded(rows.size());
  std::unordered_map<std::string_view, std::vector<int>, SubstringHash> byFolded;
  byFolded.reserve(rows.size());
  for (int i = 0; i < count; ++i) {
    folded[i] = rows[i].term;
    for (char& c : folded[i]) c = static_cast<char>(foldAscii(static_cast<unsigned char>(c)));
    byFolded[folded[i]].push_back(i);
    pump.tick(16);
  }
  // Most substrings of a term are no term: a bit per hash value turns them
  // away before the table is asked.
  std::vector<bool> mayBeTerm(kFilterBits);
  for (const auto& entry : byFolded)
    mayBeTerm[SubstringHash{}(entry.first) & (kFilterBits - 1)] = true;

  Containment result{std::vector<std::vector<int>>(rows.size()), std::vector<int>(rows.size(), -1)};
  std::vector<int> seenIn(rows.size(), -1);
  std::vector<std::size_t> boundaries;
  for (int b = 0; b < count; ++b) {
    const std::string& outer = folded[b];
    boundaries.clear();
    for (std::size_t i = 0; i < outer.size(); i += charSize(outer, i)) boundaries.push_back(i);
    boundaries.push_back(outer.size());
    // Terms are whole characters, so a term found at a character boundary
    // also ends on one.
    for (std::size_t s = 0; s + 1 < boundaries.size(); ++s) {
      std::uint64_t hash = SubstringHash::kSeed;
      for (std::size_t e = s + 1; e < boundaries.size(); ++e) {
        for (std::size_t i = boundaries[e - 1]; i < boundaries[e]; ++i)
          hash = SubstringHash::step(hash, outer[i]);
        if (!mayBeTerm[hash & (kFilterBits - 1)]) continue;
        const auto found = byFolded.find(
            std::string_view(outer).substr(boundaries[s], boundaries[e] - boundaries[s]));
        if (found == byFolded.end()) continue;
        for (const int a : found->second) {
          if (a == b || seenIn[a] == b) continue;
          seenIn[a] = b;
          result.containers[a].push_back(b);
          result.innermost[b] = std::max(result.innermost[b], a);
        }
      }
      pump.tick(boundaries.size());
    }
  }
  return result;
}

}  // namespace

namespace {

// The passes over the term text; returns it with the occurrences of the
// terms cut. Everything the passes hold is freed by the time it returns.
std::string cutTerms(std::string termText, const FastCountLimits& limits,
                     const TermStageHooks& hooks, std::vector<TermRow>& rows) {
  const CharIndex index(termText);
  if (hooks.events) hooks.events();
  EventPump pump(hooks.events);
  std::vector<std::uint8_t> cut;
  {
    Passes passes(index, limits, pump);
    for (int pass = 1; pass <= kTermPasses; ++pass) {
      passes.run(18 - pass, rows);
      if (hooks.progress) hooks.progress(progressText(pass));
      if (hooks.events) hooks.events();
    }
    if (!passes.anyCut()) return termText;
    cut = passes.takeCut();
  }
  return rebuildText(termText, index, cut);
}

}  // namespace

CountedTerms FastChineseTermCounter::countAndCut(std::string termText,
                                                 const TermStageHooks& hooks) const {
  CountedTerms counted;
  // Beyond 32-bit offsets there are no terms.
  counted.cutText = termText.size() >= kNone
                        ? std::move(termText)
                        : cutTerms(std::move(termText), m_limits, hooks, counted.rows);
  counted.charArray.assign(counted.cutText);
  return counted;
}

void FastChineseTermCounter::mergeTerms(std::vector<TermRow>& rows,
                                        const TermStageHooks& hooks) const {
  EventPump pump(hooks.events);
  const Containment containment = findContainment(rows, pump);
  const std::size_t count = rows.size();
  // The weights in the order the pairwise loop adds them: a container before
  // a (already final) or after it (still its count), read as its cell holds it.
  std::vector<double> weight(count);
  for (std::size_t i = 0; i < count; ++i) {
    weight[i] = toNumber(rows[i].weight);
    pump.tick(8);
  }
  for (std::size_t a = 0; a < count; ++a) {
    if (containment.containers[a].empty()) continue;
    for (const int b : containment.containers[a]) weight[a] = asCell(weight[a]) + asCell(weight[b]);
    rows[a].weight = toText(weight[a]);
    pump.tick(containment.containers[a].size());
  }
  // The inner terms are removed from the texts as they were before any removal.
  std::vector<std::string> terms(count);
  for (std::size_t b = 0; b < count; ++b)
    if (containment.innermost[b] >= 0)
      terms[b] = replaceText(rows[b].term, rows[containment.innermost[b]].term, "");
  for (std::size_t b = 0; b < count; ++b) {
    if (containment.innermost[b] >= 0) rows[b].term = std::move(terms[b]);
    pump.tick(8);
  }
}

}  // namespace abrivo
