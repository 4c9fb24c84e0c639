#pragma once
// The department payment table 工资输出表2 on the command line: its grid "班组签收联" as tab-separated text
// or a workbook, and "打印班组签收联" into PDF files, one a department.
#include <QList>
#include <optional>

#include "app/department_payment/department_payment.h"
#include "commands.h"
#include "data/wage_grid.h"
#include "grid_commands.h"

namespace slp::app {

// The window's opening steps on the logic: settings, code length, catalogue, grid and department list.
// nullopt after the system's message on stderr ("未找到本月计算公,请先设置本月公式!", "未找到数据,请确定是否
// 计算过!", "部门未找到!" when `needDepartments`, or a database error).
std::optional<data::WageGrid> paymentGrid(HostSession& session, windows::payment::DepartmentPayment& logic,
                                          bool needDepartments);

// slpayprn grid payment [--out FILE.tsv|FILE.xlsx]
// slpayprn print payment --pdf-dir DIR [--dept CODE]... [--row-height CM]
QList<Command> paymentCommands();

}  // namespace slp::app
