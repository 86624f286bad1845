// Tested by tests/table_test.cpp.
#include "state/Table.h"

#include <utility>

namespace abrivo {

namespace {
const std::string kEmpty;
}

int Table::insertRow(std::string text) {
  Row row;
  row.cells.resize(m_columns.empty() ? 1 : m_columns.size());
  row.cells[0] = std::move(text);
  m_rows.push_back(std::move(row));
  return rowCount() - 1;
}

void Table::deleteRow(int row) {
  if (hasRow(row)) m_rows.erase(m_rows.begin() + row);
}

const std::string& Table::cell(int row, int column) const {
  if (!hasRow(row) || column < 0) return kEmpty;
  const auto& cells = m_rows[static_cast<std::size_t>(row)].cells;
  return static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)]
                                                         : kEmpty;
}

void Table::setCellText(int row, int column, std::string text) {
  if (!hasRow(row) || column < 0) return;
  auto& cells = m_rows[static_cast<std::size_t>(row)].cells;
  if (static_cast<std::size_t>(column) >= cells.size()) cells.resize(column + 1);
  cells[static_cast<std::size_t>(column)] = std::move(text);
}

void Table::setRowValue(int row, int value) {
  if (hasRow(row)) m_rows[static_cast<std::size_t>(row)].value = value;
}

int Table::rowValue(int row) const {
  return hasRow(row) ? m_rows[static_cast<std::size_t>(row)].value : 0;
}

void Table::permuteRows(const std::vector<int>& order) {
  std::vector<Row> rows;
  rows.reserve(order.size());
  for (int k : order) rows.push_back(std::move(m_rows[static_cast<std::size_t>(k)]));
  m_rows = std::move(rows);
}

}  // namespace abrivo
