// Tested by tests/terms_test.cpp.
#include "terms/RowOrdering.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "Engine.h"
#include "text/TextOps.h"

namespace abrivo {

void sortRows(Table& table, int column) {
  const int n = table.rowCount();
  std::vector<int> keys(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) keys[static_cast<std::size_t>(i)] = toInt(table.cell(i, column));
  std::vector<int> order(static_cast<std::size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return keys[static_cast<std::size_t>(a)] > keys[static_cast<std::size_t>(b)];
  });
  table.permuteRows(order);
}

void Engine::sortTermTable() {
  sortRows(m_termTable, 1);
}

}  // namespace abrivo
