// A table of text cells in fixed columns, the form in which the stages keep
// sentences, terms and chosen sentences. Every operation is total: reading
// outside the rows and columns gives the empty text, writing there does
// nothing. The cells lie in one array, row after row, so that a row costs its
// cells and nothing more.
//
// Tested by tests/table_test.cpp.
#pragma once

#include <string>
#include <vector>

namespace abrivo {

class Table {
 public:
  struct Column {
    std::string header;
  };

  Table() : Table(std::vector<Column>{}) {}
  explicit Table(std::vector<Column> columns)
      : m_columns(std::move(columns)), m_width(m_columns.empty() ? 1 : m_columns.size()) {}

  const std::vector<Column>& columns() const { return m_columns; }

  int rowCount() const { return static_cast<int>(m_cells.size() / m_width); }

  // Room for this many rows in all, so that filling them allocates once.
  void reserveRows(std::size_t rows) { m_cells.reserve(rows * m_width); }
  // Appends a row whose column 0 holds text; returns its index.
  int insertRow(std::string text);
  void clearRows() {
    m_cells.clear();
    m_cells.shrink_to_fit();
  }

  std::string cellText(int row, int column) const { return cell(row, column); }
  // The cell without a copy; the empty text outside the rows and columns.
  const std::string& cell(int row, int column) const;
  void setCellText(int row, int column, std::string text);

  // Reorders the rows: row k becomes the old row order[k]; rows that order
  // does not name are removed.
  void permuteRows(const std::vector<int>& order);

 private:
  bool hasCell(int row, int column) const {
    return row >= 0 && row < rowCount() && column >= 0 &&
           static_cast<std::size_t>(column) < m_width;
  }
  std::size_t at(int row, int column) const {
    return static_cast<std::size_t>(row) * m_width + static_cast<std::size_t>(column);
  }

  std::vector<Column> m_columns;
  std::size_t m_width;
  std::vector<std::string> m_cells;
};

}  // namespace abrivo
