// charArray: the characters of a text in order, one element each, of the
// size charSize gives: two bytes for a character whose first byte is 0x80 or
// more, four for a four-byte GB18030 sequence, one byte otherwise (a lead
// byte standing last is an element of its own). The elements are
// views into the array's own copy of the text, so an element costs four
// bytes beside the text instead of a string of its own.
//
// Tested by tests/terms_test.cpp.
#pragma once

#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace abrivo {

class CharArray {
 public:
  class const_iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    const_iterator() = default;
    const_iterator(const CharArray* array, std::size_t k) : m_array(array), m_k(k) {}
    std::string_view operator*() const { return (*m_array)[m_k]; }
    std::string_view operator[](difference_type d) const {
      return (*m_array)[m_k + static_cast<std::size_t>(d)];
    }
    const_iterator& operator++() { return ++m_k, *this; }
    const_iterator operator++(int) { return {m_array, m_k++}; }
    const_iterator& operator--() { return --m_k, *this; }
    const_iterator operator--(int) { return {m_array, m_k--}; }
    const_iterator& operator+=(difference_type d) {
      m_k += static_cast<std::size_t>(d);
      return *this;
    }
    const_iterator& operator-=(difference_type d) {
      m_k -= static_cast<std::size_t>(d);
      return *this;
    }
    friend const_iterator operator+(const_iterator it, difference_type d) { return it += d; }
    friend const_iterator operator+(difference_type d, const_iterator it) { return it += d; }
    friend const_iterator operator-(const_iterator it, difference_type d) { return it -= d; }
    friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
      return static_cast<difference_type>(a.m_k) - static_cast<difference_type>(b.m_k);
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) {
      return a.m_k == b.m_k;
    }
    friend auto operator<=>(const const_iterator& a, const const_iterator& b) {
      return a.m_k <=> b.m_k;
    }

   private:
    const CharArray* m_array = nullptr;
    std::size_t m_k = 0;
  };

  // Replaces every element by the characters of text.
  void assign(std::string_view text);
  void clear();

  std::size_t size() const { return m_offsets.empty() ? 0 : m_offsets.size() - 1; }
  bool empty() const { return size() == 0; }
  // Element k, counted from 0.
  std::string_view operator[](std::size_t k) const {
    return std::string_view(m_text).substr(m_offsets[k], m_offsets[k + 1] - m_offsets[k]);
  }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

 private:
  std::string m_text;
  std::vector<std::uint32_t> m_offsets;  // size() + 1 entries when not empty
};

}  // namespace abrivo
