// An Aho-Corasick automaton over the terms. A match must start on a character
// step of the text, so every byte carries a ninth bit, set when a character
// starts there; a term's bytes carry the bits of its own steps. Where the
// term starts on a step of the text, its own steps are the text's steps over
// all its bytes but possibly the last (three bytes of a four-byte sequence
// end in a lead byte that the term steps over alone), so the term enters the
// automaton twice, once with either bit on its last byte. Then every match
// the automaton reports starts on a step, and a term is marked found at its
// first match; found terms are skipped on the chains of shorter matches, so
// no term is reported twice.
//
// Tested by tests/text_ops_test.cpp.
#include "text/TermSearch.h"

#include <string>

#include "text/TextOps.h"

namespace abrivo {

namespace {

constexpr std::uint32_t kRoot = 0;
constexpr std::uint32_t kNoNode = 0xFFFFFFFFu;

// Byte, folded to lower case, and the step bit.
std::uint32_t symbol(char c, bool step) {
  return foldAscii(static_cast<unsigned char>(c)) | (step ? 0x100u : 0u);
}

// The step bit of every byte of t.
std::vector<std::uint8_t> stepBits(std::string_view t) {
  std::vector<std::uint8_t> bits(t.size(), 0);
  for (std::size_t i = 0; i < t.size(); i += charSize(t, i)) bits[i] = 1;
  return bits;
}

// The edges of the trie: (node, symbol) -> child, open addressing.
class EdgeMap {
 public:
  explicit EdgeMap(std::size_t expected) {
    std::size_t capacity = 16;
    while (capacity < 2 * expected) capacity *= 2;
    m_keys.assign(capacity, kEmpty);
    m_values.resize(capacity);
  }

  std::uint32_t find(std::uint32_t node, std::uint32_t sym) const {
    const std::uint64_t key = pack(node, sym);
    for (std::size_t i = slot(key);; i = (i + 1) & (m_keys.size() - 1)) {
      if (m_keys[i] == key) return m_values[i];
      if (m_keys[i] == kEmpty) return kNoNode;
    }
  }

  // The child, added as next when there is none yet.
  std::uint32_t findOrAdd(std::uint32_t node, std::uint32_t sym, std::uint32_t next) {
    if (2 * (m_size + 1) > m_keys.size()) grow();
    const std::uint64_t key = pack(node, sym);
    std::size_t i = slot(key);
    for (; m_keys[i] != kEmpty; i = (i + 1) & (m_keys.size() - 1))
      if (m_keys[i] == key) return m_values[i];
    m_keys[i] = key;
    m_values[i] = next;
    ++m_size;
    return next;
  }

 private:
  static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};
  static std::uint64_t pack(std::uint32_t node, std::uint32_t sym) {
    return (std::uint64_t{node} << 9) | sym;
  }
  std::size_t slot(std::uint64_t key) const {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> 20) & (m_keys.size() - 1);
  }
  void grow() {
    std::vector<std::uint64_t> keys(m_keys.size() * 2, kEmpty);
    std::vector<std::uint32_t> values(keys.size());
    keys.swap(m_keys);
    values.swap(m_values);
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (keys[i] == kEmpty) continue;
      std::size_t j = slot(keys[i]);
      while (m_keys[j] != kEmpty) j = (j + 1) & (m_keys.size() - 1);
      m_keys[j] = keys[i];
      m_values[j] = values[i];
    }
  }

  std::vector<std::uint64_t> m_keys;
  std::vector<std::uint32_t> m_values;
  std::size_t m_size = 0;
};

class TermAutomaton {
 public:
  TermAutomaton(std::size_t textSize, std::span<const std::string_view> terms)
      : m_edges(expectedNodes(textSize, terms)), m_alias(terms.size()) {
    addNode(kRoot, 0);
    for (std::size_t i = 0; i < terms.size(); ++i) {
      m_alias[i] = static_cast<std::uint32_t>(i);
      if (terms[i].empty() || terms[i].size() > textSize) continue;
      const std::vector<std::uint8_t> steps = stepBits(terms[i]);
      addTerm(terms[i], steps, static_cast<std::uint32_t>(i));
      if (terms[i].size() > 1) {
        std::vector<std::uint8_t> other = steps;
        other.back() ^= 1;
        addTerm(terms[i], other, static_cast<std::uint32_t>(i));
      }
    }
    linkFailures();
  }

  std::vector<std::uint8_t> run(std::string_view text, const std::function<void()>& tick) {
    std::vector<std::uint8_t> found(m_alias.size(), 0);
    const std::vector<std::uint8_t> steps = stepBits(text);
    std::uint32_t state = kRoot;
    for (std::size_t p = 0; p < text.size(); ++p) {
      const std::uint32_t sym = symbol(text[p], steps[p] != 0);
      std::uint32_t child = m_edges.find(state, sym);
      while (child == kNoNode && state != kRoot) {
        state = m_fail[state];
        child = m_edges.find(state, sym);
      }
      state = child == kNoNode ? kRoot : child;
      for (std::uint32_t w = unfound(state); w != kRoot; w = unfound(w)) {
        found[m_owner[w]] = 1;
        m_next[w] = m_fail[w];
      }
      if (tick && (p & 4095) == 4095) tick();
    }
    for (std::size_t i = 0; i < found.size(); ++i) found[i] = found[m_alias[i]];
    return found;
  }

 private:
  static std::size_t expectedNodes(std::size_t textSize, std::span<const std::string_view> terms) {
    std::size_t bytes = 0;
    for (const std::string_view term : terms)
      if (term.size() <= textSize) bytes += term.size() + 1;
    return bytes + 1;
  }

  std::uint32_t addNode(std::uint32_t parent, std::uint32_t sym) {
    m_parent.push_back(parent);
    m_symbol.push_back(sym);
    m_owner.push_back(kNoNode);
    m_depth.push_back(m_depth.empty() ? 0 : m_depth[parent] + 1);
    return static_cast<std::uint32_t>(m_parent.size() - 1);
  }

  void addTerm(std::string_view term, const std::vector<std::uint8_t>& steps, std::uint32_t index) {
    std::uint32_t node = kRoot;
    for (std::size_t k = 0; k < term.size(); ++k) {
      const std::uint32_t sym = symbol(term[k], steps[k] != 0);
      const auto next = static_cast<std::uint32_t>(m_parent.size());
      const std::uint32_t child = m_edges.findOrAdd(node, sym, next);
      if (child == next) addNode(node, sym);
      node = child;
    }
    if (m_owner[node] == kNoNode)
      m_owner[node] = index;
    else
      m_alias[index] = m_owner[node];
  }

  // Failure links in order of depth: the longest proper suffix of a node's
  // symbols that is a node itself. m_next starts as the node for a node that
  // ends a term, else its failure link.
  void linkFailures() {
    const std::size_t nodes = m_parent.size();
    std::vector<std::uint32_t> byDepth(nodes);
    std::vector<std::uint32_t> start(nodes + 1, 0);
    for (const std::uint32_t d : m_depth) ++start[d + 1];
    for (std::size_t d = 1; d <= nodes; ++d) start[d] += start[d - 1];
    for (std::uint32_t v = 0; v < nodes; ++v) byDepth[start[m_depth[v]]++] = v;
    m_fail.assign(nodes, kRoot);
    m_next.assign(nodes, kRoot);
    for (const std::uint32_t v : byDepth) {
      if (m_depth[v] >= 2) {
        std::uint32_t f = m_fail[m_parent[v]];
        std::uint32_t child = m_edges.find(f, m_symbol[v]);
        while (child == kNoNode && f != kRoot) {
          f = m_fail[f];
          child = m_edges.find(f, m_symbol[v]);
        }
        m_fail[v] = child == kNoNode ? kRoot : child;
      }
      m_next[v] = m_owner[v] != kNoNode ? v : m_fail[v];
    }
    m_next[kRoot] = kRoot;
    std::vector<std::uint32_t>().swap(m_depth);
    std::vector<std::uint32_t>().swap(m_parent);
    std::vector<std::uint32_t>().swap(m_symbol);
  }

  // The nearest node on the failure chain from node on, node included, that
  // ends a term not yet found; the root when none. Path halving keeps the
  // chains short once their terms are found.
  std::uint32_t unfound(std::uint32_t node) {
    while (m_next[node] != node) {
      m_next[node] = m_next[m_next[node]];
      node = m_next[node];
    }
    return node;
  }

  EdgeMap m_edges;
  std::vector<std::uint32_t> m_alias;  // a term's index, or that of an equal term before it
  std::vector<std::uint32_t> m_parent;
  std::vector<std::uint32_t> m_symbol;
  std::vector<std::uint32_t> m_owner;  // the term a node ends; kNoNode when none
  std::vector<std::uint32_t> m_depth;
  std::vector<std::uint32_t> m_fail;
  std::vector<std::uint32_t> m_next;  // see unfound
};

}  // namespace

std::vector<std::uint8_t> findTerms(std::string_view text, std::span<const std::string_view> terms,
                                    const std::function<void()>& tick) {
  TermAutomaton automaton(text.size(), terms);
  std::vector<std::uint8_t> found = automaton.run(text, tick);
  for (std::size_t i = 0; i < terms.size(); ++i)
    if (terms[i].empty()) found[i] = !text.empty();
  return found;
}

}  // namespace abrivo
