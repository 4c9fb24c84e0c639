#pragma once
// The department summary 工资输出表3 on the command line: its grid "班组汇总联" as tab-separated text or a
// workbook, and its printing as the preview's 打印 prints it, into PDF files.
#include <QList>
#include <optional>

#include "commands.h"
#include "data/wage_grid.h"
#include "grid_commands.h"

namespace slp::app {

// The summary grid exactly as the window fills it at opening. nullopt after the system's message on
// stderr ("未找到本月计算公,请先设置本月公式!", "未找到数据,请确定是否计算过!", or a database error).
std::optional<data::WageGrid> summaryGrid(HostSession& session, float printFontSize = 9);

// slpayprn grid summary [--out FILE.tsv|FILE.xlsx]
// slpayprn print summary --pdf-dir DIR [--from P] [--to P] [--font-size S]
QList<Command> summaryCommands();

}  // namespace slp::app
