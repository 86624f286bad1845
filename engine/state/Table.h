// A table of text cells in fixed columns, the form in which the stages keep
// sentences, terms and chosen sentences. Every operation is total: reading
// outside the rows gives the empty text, writing or deleting there does
// nothing.
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
    int width = 0;
  };

  Table() = default;
  explicit Table(std::vector<Column> columns) : m_columns(std::move(columns)) {}

  const std::vector<Column>& columns() const { return m_columns; }

  int rowCount() const { return static_cast<int>(m_rows.size()); }

  // Appends a row whose column 0 holds text; returns its index.
  int insertRow(std::string text);
  void deleteRow(int row);
  void clearRows() { m_rows.clear(); }

  std::string cellText(int row, int column) const { return cell(row, column); }
  // The cell without a copy; the empty text outside the rows and columns.
  const std::string& cell(int row, int column) const;
  void setCellText(int row, int column, std::string text);
  void setRowValue(int row, int value);
  int rowValue(int row) const;

  // Reorders the rows: row k becomes the old row order[k]; rows that order
  // does not name are removed.
  void permuteRows(const std::vector<int>& order);

 private:
  struct Row {
    std::vector<std::string> cells;
    int value = 0;
  };

  bool hasRow(int row) const { return row >= 0 && row < rowCount(); }

  std::vector<Column> m_columns;
  std::vector<Row> m_rows;
};

}  // namespace abrivo
