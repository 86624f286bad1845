// Table operations and their out-of-range rules.
#include "abrivo/internal/state/Table.h"

#include <gtest/gtest.h>

namespace abrivo {
namespace {

Table fiveRows() {
  Table t({{"c0", 100}, {"c1", 50}});
  for (int i = 0; i < 5; ++i) t.insertRow("row" + std::to_string(i));
  return t;
}

TEST(Table, InsertReturnsIndexAndLeavesOtherCellsEmpty) {
  Table t({{"c0", 100}, {"c1", 50}});
  EXPECT_EQ(t.insertRow("a"), 0);
  EXPECT_EQ(t.insertRow("b"), 1);
  EXPECT_EQ(t.rowCount(), 2);
  EXPECT_EQ(t.cellText(1, 0), "b");
  EXPECT_EQ(t.cellText(1, 1), "");
  EXPECT_EQ(t.rowValue(1), 0);
}

TEST(Table, ReadsOutsideRowsAreEmptyAndWritesDoNothing) {
  Table t = fiveRows();
  for (int column = 0; column < 3; ++column) {
    EXPECT_EQ(t.cellText(5, column), "") << "one past the last row";
    EXPECT_EQ(t.cellText(-1, column), "");
  }
  t.setCellText(5, 0, "x");
  t.setCellText(-1, 0, "x");
  t.setRowValue(7, 3);
  t.deleteRow(5);
  t.deleteRow(-1);
  EXPECT_EQ(t.rowCount(), 5);
  EXPECT_EQ(t.cellText(4, 0), "row4");
}

TEST(Table, DeleteMovesLaterRowsUp) {
  Table t = fiveRows();
  t.deleteRow(2);
  EXPECT_EQ(t.rowCount(), 4);
  EXPECT_EQ(t.cellText(2, 0), "row3");
}

TEST(Table, ClearAndLongCells) {
  Table t({{"c0", 100}});
  t.clearRows();
  EXPECT_EQ(t.rowCount(), 0);
  const std::string longText(1 << 20, 'x');
  const int row = t.insertRow(longText);
  EXPECT_EQ(t.cellText(row, 0), longText);
  t.clearRows();
  EXPECT_EQ(t.rowCount(), 0);
}

TEST(Table, SetCellAndRowValue) {
  Table t = fiveRows();
  t.setCellText(3, 1, "7");
  t.setRowValue(3, 42);
  EXPECT_EQ(t.cellText(3, 1), "7");
  EXPECT_EQ(t.rowValue(3), 42);
}

}  // namespace
}  // namespace abrivo
