#pragma once
// 查找 in a wage grid on screen: the clerk types a 工号 or a 姓名 and the grid goes to that employee.
#include <QString>

#include "basic/prompts.h"
#include "data/wage_grid.h"

class QTableView;

namespace slp::windows {

// The prompt and title of the question.
QString findEmployeePrompt();
inline constexpr char16_t kFindEmployeeTitle[] = u"查找";

// Asks for a 工号 or a 姓名 (the last one asked as the default; stored back in `lastKey`), selects the
// next row of that employee after the current one among the data rows firstRow to lastRow (going round),
// scrolls it into sight and returns it. A cancelled question returns -1 silently; a key that finds no
// one says "未找到工号或姓名为“X”的员工" and returns -1.
int findEmployeeInView(QTableView& view, const data::WageGrid& grid, int firstRow, int lastRow,
                       Prompts& prompts, QString& lastKey);

}  // namespace slp::windows
