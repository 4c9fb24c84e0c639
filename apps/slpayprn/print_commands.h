#pragma once
// Printing from the command line into PDF files (one file a print job): the wage table and the wage
// slips exactly as the preview's 打印 prints them, and the strips of a range of employees as
// "打印个人发放联" prints them.
#include <QList>

#include "commands.h"

namespace slp::app {

// slpayprn print wage-table|slips --pdf-dir DIR [--from P] [--to P]
// slpayprn print strips --pdf-dir DIR --first N --last N [--rules]
QList<Command> printCommands();

}  // namespace slp::app
