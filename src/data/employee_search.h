#pragma once
// Finding an employee in a wage grid by 工号 or 姓名, as a clerk types either: the rows of the grid's
// data part whose 工号 is the text typed, or, when none is, whose 姓名 is.
#include <QList>
#include <QString>

#include "data/wage_grid.h"

namespace slp::data {

// The columns whose caption (row 0) is "工号" and "姓名"; -1 for one the grid has not.
struct EmployeeColumns {
    int number = -1;
    int name = -1;
};
EmployeeColumns employeeColumns(const WageGrid& grid);

// The rows from firstRow to lastRow (both included) of the employee `key` names: those whose 工号 is
// `key` (blanks around either ignored; a 工号 of digits also matches the same number typed without its
// leading zeros, 1 for 0001), or when no 工号 matches, those whose 姓名 is `key` with every blank ignored
// ("王芳" finds "王 芳"). Empty for an empty key or a grid without either column.
QList<int> rowsOfEmployee(const WageGrid& grid, const QString& key, int firstRow, int lastRow);

// The first of those rows after `after`, going round to firstRow past lastRow; -1 when there is none.
int nextRowOfEmployee(const WageGrid& grid, const QString& key, int firstRow, int lastRow, int after);

}  // namespace slp::data
