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
// buildRepeatIndex). A pass then groups its surviving windows by name; for a
// length whose names were not kept (a text of endless repeats), it groups
// them by a hash of their characters checked byte for byte. Two-character
// windows are grouped by their pair of character codes.
//
// Tested by tests/term_counting_test.cpp against the direct method.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_map>

#include "terms/ChineseTerms.h"
#include "terms/TermIndex.h"
#include "text/TextOps.h"

namespace abrivo {

namespace {

constexpr int kLongestRun = 17;
constexpr std::uint32_t kNone = 0xFFFFFFFFu;

// Calls processEvents once every few thousand units of work.
class EventPump {
 public:
  explicit EventPump(const Engine& engine) : m_engine(engine) {}
  void tick(std::size_t units = 1) {
    m_units += units;
    if (m_units >= 4096) {
      m_units = 0;
      m_engine.processEvents();
    }
  }

 private:
  const Engine& m_engine;
  std::size_t m_units = 0;
};

// The key of a pair of 32-bit values: the pair itself when both fit in 16
// bits, a mix of them otherwise.
std::uint32_t pairKey(std::uint32_t a, std::uint32_t b) {
  if ((a | b) <= 0xFFFF) return (a << 16) | b;
  return a * 0x9E3779B1u ^ (b + 0x7F4A7C15u);
}

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

// The windows of one run length that occur at least three times in the text
// as it was when the stage began, with exact names: two windows have the same
// name exactly when they hold the same characters.
struct NamedWindows {
  bool stored = false;
  std::uint32_t count = 0;               // names are 0 to count - 1
  std::vector<std::uint32_t> positions;  // ascending
  std::vector<std::uint32_t> names;      // aligned with positions
};

struct RepeatIndex {
  // For every position, the longest run length (2 to 17) whose window there
  // repeats; 0 when even two characters don't.
  std::vector<std::uint8_t> longest;
  // By run length, 3 to 17, as far as the memory allowance reached.
  std::array<NamedWindows, kLongestRun + 1> windows;
};

// Windows are named bottom-up: two windows of n characters are equal exactly
// when the windows of n - 1 characters at their first two positions are, so
// a window's key is the pair of those two names, compared without hashing.
// The named windows of each length are kept while they take no more than
// the limit (about two entries a character); a text of endless repeats keeps
// fewer, and the passes hash the windows of the lengths it did not keep.
RepeatIndex buildRepeatIndex(const CharIndex& index, const FastChineseTermCounter::Limits& limits,
                             EventPump& pump) {
  const auto tick = [&pump] { pump.tick(4096); };
  const std::size_t n = index.size();
  RepeatIndex repeats;
  repeats.longest.assign(n, 0);
  std::vector<std::uint32_t> names(n, kNone);  // of the windows one shorter
  std::vector<std::uint32_t> next(n, kNone);
  std::vector<std::uint32_t> named;  // positions that have a name, ascending
  std::vector<KeyedPosition> items;
  std::vector<KeyedPosition> scratch;
  std::vector<WideKeyedPosition> wideItems;
  std::vector<WideKeyedPosition> wideScratch;
  std::vector<std::uint64_t> words;
  std::vector<std::uint64_t> wordScratch;
  std::vector<std::uint32_t> run;
  const int positionBits = std::bit_width(n);
  std::uint32_t groups = 0;
  std::size_t storedEntries = 0;
  bool storing = true;

  for (int length = 2; length <= kLongestRun; ++length) {
    // Only a window whose two shorter windows repeat can repeat itself.
    items.clear();
    wideItems.clear();
    words.clear();
    // Two names in 32 bits while they fit; else the pair and the position
    // packed in one 64-bit word; else, for a text of many millions of
    // characters, a 64-bit key beside the position.
    const bool wide = length > 2 && groups > limits.narrowNameLimit;
    const bool packed = wide && positionBits + std::bit_width(std::uint64_t{groups} * groups) <= 64;
    if (length == 2) {
      for (std::size_t k = 0; k + 1 < n; ++k) {
        pump.tick();
        if (index.blocked[k] || index.blocked[k + 1]) continue;
        items.push_back(
            {pairKey(index.codes[k], index.codes[k + 1]), static_cast<std::uint32_t>(k)});
      }
    } else {
      for (const std::uint32_t k : named) {
        pump.tick();
        if (k + 1 >= n || names[k + 1] == kNone) continue;
        if (packed)
          words.push_back(((std::uint64_t{names[k]} * groups + names[k + 1]) << positionBits) | k);
        else if (wide)
          wideItems.push_back({std::uint64_t{names[k]} * groups + names[k + 1], k});
        else
          items.push_back({(names[k] << 16) | names[k + 1], k});
      }
    }
    const std::size_t candidates = packed ? words.size() : wide ? wideItems.size() : items.size();
    if (candidates < 3) break;
    pump.tick(candidates);
    if (wide && !items.empty()) {
      // The narrow buffers are not needed again; give their memory back.
      std::vector<KeyedPosition>().swap(items);
      std::vector<KeyedPosition>().swap(scratch);
    }

    groups = 0;
    const auto name = [&](std::span<const std::uint32_t> positions) {
      for (const std::uint32_t k : positions) {
        next[k] = groups;
        repeats.longest[k] = static_cast<std::uint8_t>(length);
      }
      ++groups;
    };
    // Keys of names are exact; pairs of codes are, unless a code is wider
    // than 16 bits.
    const auto sameCodes = [&](std::uint32_t a, std::uint32_t b) {
      return index.codes[a] == index.codes[b] && index.codes[a + 1] == index.codes[b + 1];
    };
    const auto lessCodes = [&](std::uint32_t a, std::uint32_t b) {
      return std::pair(index.codes[a], index.codes[a + 1]) <
             std::pair(index.codes[b], index.codes[b + 1]);
    };
    if (packed) {
      radixSortHighBits(words, wordScratch, positionBits, tick);
      const std::uint64_t positionMask = (std::uint64_t{1} << positionBits) - 1;
      for (std::size_t i = 0; i < words.size();) {
        std::size_t j = i + 1;
        while (j < words.size() && (words[j] >> positionBits) == (words[i] >> positionBits)) ++j;
        pump.tick(j - i);
        if (j - i >= 3) {
          run.clear();
          for (std::size_t m = i; m < j; ++m)
            run.push_back(static_cast<std::uint32_t>(words[m] & positionMask));
          name(run);
        }
        i = j;
      }
    } else if (wide) {
      forEachRepeatedValue(wideItems, wideScratch, run, true, sameCodes, lessCodes, name, tick);
    } else {
      forEachRepeatedValue(items, scratch, run, length > 2 || index.narrowCodes, sameCodes,
                           lessCodes, name, tick);
    }

    // The windows named now lie among those named one length shorter.
    std::vector<std::uint32_t> nowNamed;
    if (length == 2) {
      for (std::size_t k = 0; k < n; ++k)
        if (next[k] != kNone) nowNamed.push_back(static_cast<std::uint32_t>(k));
    } else {
      for (const std::uint32_t k : named)
        if (next[k] != kNone) nowNamed.push_back(k);
    }
    for (const std::uint32_t k : named) names[k] = kNone;
    named.swap(nowNamed);
    names.swap(next);

    if (length >= 3 && storing) {
      storedEntries += named.size();
      storing =
          static_cast<double>(storedEntries) <= limits.keptWindowsPerChar * static_cast<double>(n) +
                                                    static_cast<double>(limits.keptWindowsSlack);
      if (storing) {
        NamedWindows& windows = repeats.windows[static_cast<std::size_t>(length)];
        windows.stored = true;
        windows.count = groups;
        windows.positions = named;
        windows.names.reserve(named.size());
        for (const std::uint32_t k : named) windows.names.push_back(names[k]);
      }
    }
  }
  return repeats;
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

}  // namespace

void FastChineseTermCounter::countAndCut(Engine& engine) const {
  if (engine.workText.size() >= kNone) return;  // beyond 32-bit offsets: no terms
  // The stage works on the text as it is now; workText and charArray are
  // written once at the end, so their memory is free meanwhile.
  std::string original = std::move(engine.workText);
  engine.workText.clear();
  engine.charArray.clear();
  const CharIndex index(original);
  const std::size_t n = index.size();
  engine.processEvents();
  EventPump pump(engine);
  const auto tick = [&pump] { pump.tick(4096); };

  const RepeatIndex repeats = buildRepeatIndex(index, m_limits, pump);
  const std::vector<std::uint8_t>& longest = repeats.longest;
  // How many positions start a repeated window of each length or longer.
  std::array<std::size_t, kLongestRun + 2> longestCount{};
  for (const std::uint8_t l : longest) ++longestCount[l];
  for (int l = kLongestRun; l > 0; --l) longestCount[l - 1] += longestCount[l];
  // Lengths whose named windows were not kept are grouped by hash.
  std::optional<RunHasher> hasher;
  // 0: uncut; 1: first character of a cut occurrence; 2: the rest of one.
  std::vector<std::uint8_t> cut(n, 0);
  std::vector<std::uint32_t> nextCut(n + 1, static_cast<std::uint32_t>(n));
  bool cutsSinceScan = false;
  std::vector<std::uint32_t> repeated;  // positions of repeated windows, ascending
  for (std::size_t k = 0; k < n; ++k)
    if (longest[k] >= 2) repeated.push_back(static_cast<std::uint32_t>(k));
  std::vector<KeyedPosition> items;
  std::vector<KeyedPosition> scratch;
  std::vector<std::uint32_t> run;
  std::vector<std::uint32_t> selected;
  std::vector<std::uint32_t> valid;
  std::vector<std::uint32_t> perName;
  std::vector<std::uint8_t> seen;
  std::vector<std::uint32_t> order;
  // The distinct candidates of a pass with at least three windows, in the
  // order of their first window, each as a span of ascending positions.
  struct {
    std::vector<std::uint32_t> positions;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;  // begin, end in positions
  } groups;
  bool anyCut = false;

  for (int pass = 1; pass <= kTermPasses; ++pass) {
    const int length = 18 - pass;
    const auto span = static_cast<std::size_t>(length);
    const NamedWindows& named = repeats.windows[span];
    groups.positions.clear();
    groups.spans.clear();

    if (longestCount[span] > 0) {
      // A repeated window holds no blocked character; it is a candidate
      // unless an earlier term cut one of its characters.
      if (cutsSinceScan) {
        nextCut[n] = static_cast<std::uint32_t>(n);
        for (std::size_t k = n; k-- > 0;)
          nextCut[k] = cut[k] ? static_cast<std::uint32_t>(k) : nextCut[k + 1];
        cutsSinceScan = false;
      }
      if (named.stored) {
        // Group the surviving windows by name: count, lay out by name, and
        // list the names in the order of their first window.
        valid.clear();
        for (std::uint32_t j = 0; j < named.positions.size(); ++j)
          if (nextCut[named.positions[j]] >= named.positions[j] + span) valid.push_back(j);
        perName.assign(named.count, 0);
        for (const std::uint32_t j : valid) ++perName[named.names[j]];
        seen.assign(named.count, 0);
        order.clear();
        std::uint32_t laid = 0;
        for (const std::uint32_t j : valid) {
          const std::uint32_t name = named.names[j];
          if (perName[name] < 3 || seen[name]) continue;
          seen[name] = 1;
          order.push_back(name);
          groups.spans.emplace_back(laid, laid);
          laid += perName[name];
          perName[name] = groups.spans.back().first;  // from here: where its next window goes
        }
        groups.positions.resize(laid);
        for (const std::uint32_t j : valid) {
          const std::uint32_t name = named.names[j];
          if (seen[name]) groups.positions[perName[name]++] = named.positions[j];
        }
        for (std::size_t g = 0; g < groups.spans.size(); ++g)
          groups.spans[g].second = perName[order[g]];
        pump.tick(named.positions.size() / 4 + valid.size());
      } else {
        if (!hasher) hasher.emplace(index);
        items.clear();
        for (const std::uint32_t k : repeated) {
          if (longest[k] >= length && nextCut[k] >= k + span)
            items.push_back(
                {length == 2 ? pairKey(index.codes[k], index.codes[k + 1]) : hasher->key(k, length),
                 k});
        }
        pump.tick(repeated.size() / 4 + items.size());
        forEachRepeatedValue(
            items, scratch, run, length == 2 && index.narrowCodes,
            [&](std::uint32_t a, std::uint32_t b) {
              return index.bytes(a, span) == index.bytes(b, span);
            },
            [&](std::uint32_t a, std::uint32_t b) {
              return index.bytes(a, span) < index.bytes(b, span);
            },
            [&](std::span<const std::uint32_t> positions) {
              const auto begin = static_cast<std::uint32_t>(groups.positions.size());
              groups.positions.insert(groups.positions.end(), positions.begin(), positions.end());
              groups.spans.emplace_back(begin, static_cast<std::uint32_t>(groups.positions.size()));
            },
            tick);
        std::sort(groups.spans.begin(), groups.spans.end(), [&](const auto& a, const auto& b) {
          return groups.positions[a.first] < groups.positions[b.first];
        });
      }
    }

    for (const auto& [begin, end] : groups.spans) {
      selected.clear();
      std::size_t free = 0;  // the next occurrence may start here
      for (std::uint32_t g = begin; g < end; ++g) {
        const std::size_t k = groups.positions[g];
        if (k < free) continue;
        if (std::any_of(cut.begin() + static_cast<std::ptrdiff_t>(k),
                        cut.begin() + static_cast<std::ptrdiff_t>(k + span),
                        [](std::uint8_t c) { return c != 0; }))
          continue;
        selected.push_back(static_cast<std::uint32_t>(k));
        free = k + span;
      }
      pump.tick(end - begin);
      int count = static_cast<int>(selected.size());
      if (!selected.empty() && selected.back() + span == n) --count;  // splitText's last piece
      if (count < kMinTermOccurrences) continue;

      const std::size_t firstWindow = groups.positions[begin];
      const int row = engine.termTable.insertRow(std::string(index.bytes(firstWindow, span)));
      engine.termTable.setCellText(row, 1, toText(count));
      for (const std::uint32_t k : selected) {
        cut[k] = 1;
        std::fill(cut.begin() + k + 1, cut.begin() + static_cast<std::ptrdiff_t>(k + span), 2);
      }
      anyCut = true;
      cutsSinceScan = true;
    }

    engine.controls.标签2 = progressText(pass);
    engine.processEvents();
  }

  if (!anyCut) {
    engine.workText = std::move(original);
    engine.buildCharArray();
    return;
  }
  // Every cut occurrence becomes one space; everything else stays as it was.
  std::string text;
  text.reserve(original.size());
  std::size_t copyFrom = 0;
  for (std::size_t k = 0; k < n; ++k) {
    if (cut[k] == 0) continue;
    text.append(original, copyFrom, index.offsets[k] - copyFrom);
    if (cut[k] == 1) text += ' ';
    copyFrom = index.offsets[k + 1];
  }
  text.append(original, copyFrom);
  engine.workText = std::move(text);
  engine.buildCharArray();
}

void FastChineseTermCounter::mergeTerms(Engine& engine) const {
  Table& table = engine.termTable;
  const int rows = table.rowCount();
  EventPump pump(engine);

  std::vector<std::string> terms(static_cast<std::size_t>(rows));
  std::vector<std::string> folded(static_cast<std::size_t>(rows));
  std::unordered_map<std::string_view, std::vector<int>, SubstringHash> byFolded;
  for (int i = 0; i < rows; ++i) {
    terms[i] = table.cellText(i, 0);
    folded[i] = terms[i];
    for (char& c : folded[i]) c = static_cast<char>(foldAscii(static_cast<unsigned char>(c)));
    pump.tick(8);
  }
  byFolded.reserve(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i) {
    byFolded[folded[i]].push_back(i);
    pump.tick(8);
  }
  // Most substrings of a term are no term: a bit per hash value turns them
  // away before the table is asked.
  std::vector<bool> mayBeTerm(kFilterBits);
  for (const auto& entry : byFolded)
    mayBeTerm[SubstringHash{}(entry.first) & (kFilterBits - 1)] = true;

  // containers[a]: every other term that holds term a (ignoring ASCII case),
  // ascending; innermost[b]: the last such a for container b.
  std::vector<std::vector<int>> containers(static_cast<std::size_t>(rows));
  std::vector<int> innermost(static_cast<std::size_t>(rows), -1);
  std::vector<int> seenIn(static_cast<std::size_t>(rows), -1);
  std::vector<std::size_t> boundaries;
  for (int b = 0; b < rows; ++b) {
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
          containers[a].push_back(b);
          innermost[b] = std::max(innermost[b], a);
        }
      }
      pump.tick(boundaries.size());
    }
  }

  // The weights in the order the pairwise loop adds them: a container before
  // a (already final) or after it (still its count), read as its cell holds it.
  std::vector<double> weight(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i) {
    weight[i] = toNumber(table.cell(i, 1));
    pump.tick(8);
  }
  for (int a = 0; a < rows; ++a) {
    if (containers[a].empty()) continue;
    for (const int b : containers[a]) weight[a] = asCell(weight[a]) + asCell(weight[b]);
    table.setCellText(a, 1, toText(weight[a]));
    pump.tick(containers[a].size());
  }
  for (int b = 0; b < rows; ++b) {
    if (innermost[b] >= 0) table.setCellText(b, 0, replaceText(terms[b], terms[innermost[b]], ""));
    pump.tick(8);
  }
}

}  // namespace abrivo
