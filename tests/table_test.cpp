// Table operations and their out-of-range rules.
#include "abrivo/internal/state/Table.h"

#include <gtest/gtest.h>

namespace abrivo {
namespace {

Table fiveRows() {
  Table t({{"c0"}, {"c1"}});
  for (int i = 0; i < 5; ++i) t.insertRow("row" + std::to_string(i));
  return t;
}

TEST(Table, InsertReturnsIndexAndLeavesOtherCellsEmpty) {
  Table t({{"c0"}, {"c1"}});
  EXPECT_EQ(t.insertRow("a"), 0);
  EXPECT_EQ(t.insertRow("b"), 1);
  EXPECT_EQ(t.rowCount(), 2);
  EXPECT_EQ(t.cellText(1, 0), "b");
  EXPECT_EQ(t.cellText(1, 1), "");
}

TEST(Table, ReadsOutsideRowsAreEmptyAndWritesDoNothing) {
  Table t = fiveRows();
  for (int column = 0; column < 3; ++column) {
    EXPECT_EQ(t.cellText(5, column), "") << "one past the last row";
    EXPECT_EQ(t.cellText(-1, column), "");
  }
  t.setCellText(5, 0, "x");
  t.setCellText(-1, 0, "x");
  t.setCellText(4, 2, "x");
  t.setCellText(4, -1, "x");
  EXPECT_EQ(t.rowCount(), 5);
  EXPECT_EQ(t.cellText(4, 0), "row4");
  EXPECT_EQ(t.cellText(4, 1), "");
  EXPECT_EQ(t.cellText(4, 2), "") << "a column past the last one";
}

TEST(Table, PermuteReordersAndDropsRows) {
  Table t = fiveRows();
  t.setCellText(3, 1, "w3");
  t.permuteRows({3, 0});
  ASSERT_EQ(t.rowCount(), 2);
  EXPECT_EQ(t.cellText(0, 0), "row3");
  EXPECT_EQ(t.cellText(0, 1), "w3") << "a row's cells move together";
  EXPECT_EQ(t.cellText(1, 0), "row0");
  EXPECT_EQ(t.cellText(1, 1), "");
}

TEST(Table, ClearAndLongCells) {
  Table t({{"c0"}});
  t.clearRows();
  EXPECT_EQ(t.rowCount(), 0);
  const std::string longText(1 << 20, 'x');
  const int row = t.insertRow(longText);
  EXPECT_EQ(t.cellText(row, 0), longText);
  t.clearRows();
  EXPECT_EQ(t.rowCount(), 0);
}

TEST(Table, SetCell) {
  Table t = fiveRows();
  t.setCellText(3, 1, "7");
  EXPECT_EQ(t.cellText(3, 1), "7");
  EXPECT_EQ(t.cellText(2, 1), "");
}

}  // namespace
}  // namespace abrivo
