// Ordering a table by the weight in one of its columns.
#pragma once

#include "state/Table.h"

namespace abrivo {

// Reorders the rows so that the integer part of the column never rises from
// one row to the next. Rows with equal keys keep their relative order.
void sortRows(Table& table, int column);

}  // namespace abrivo
