#pragma once
// "print slips --per-employee DIR": each employee's wage slip as a PDF file of its own, named 工号_姓名.pdf,
// for handing slips out electronically.
#include <QSet>
#include <QString>

#include "command_line.h"
#include "grid_commands.h"

namespace slp::app {

// The grid of one employee: the caption row and data row `row` of `grid`, with its widths, alignments
// and font; no totals row (a slip is one person's).
data::WageGrid oneEmployeeGrid(const data::WageGrid& grid, int row);

// The file name of an employee's slip: 工号_姓名.pdf made safe for file systems; a name already taken in
// `taken` (compared without case) gets " (2)", " (3)" ... before ".pdf". The name is added to `taken`.
QString slipFileName(const QString& number, const QString& name, QSet<QString>& taken);

// Prints a slip file per employee of the employee grid into --per-employee DIR on the paper of the
// command line; the files on stdout. Returns the exit status.
int printSlipsPerEmployee(const data::WageGrid& grid, HostSession& session, const ParsedArgs& args,
                          float printFontSize);

}  // namespace slp::app
