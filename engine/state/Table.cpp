// Tested by tests/table_test.cpp.
#include "state/Table.h"

#include <utility>

namespace abrivo {

namespace {
const std::string kEmpty;
}

int Table::insertRow(std::string text) {
  m_cells.resize(m_cells.size() + m_width);
  m_cells[m_cells.size() - m_width] = std::move(text);
  return rowCount() - 1;
}

const std::string& Table::cell(int row, int column) const {
  return hasCell(row, column) ? m_cells[at(row, column)] : kEmpty;
}

void Table::setCellText(int row, int column, std::string text) {
  if (hasCell(row, column)) m_cells[at(row, column)] = std::move(text);
}

void Table::permuteRows(const std::vector<int>& order) {
  std::vector<std::string> cells;
  cells.reserve(order.size() * m_width);
  for (const int k : order)
    for (std::size_t c = 0; c < m_width; ++c) cells.push_back(std::move(m_cells[at(k, 0) + c]));
  m_cells = std::move(cells);
}

}  // namespace abrivo
