#pragma once
// "print slips --per-employee DIR": each employee's wage slip as a PDF file of its own, named 工号_姓名.pdf,
// for handing slips out electronically.
#include <QSet>
#include <QString>

#include "app/employee_table/one_employee_slip.h"
#include "command_line.h"
#include "grid_commands.h"

namespace slp::app {

// The grid of one employee's slip (the employee table's own, see one_employee_slip.h).
using windows::employee::chooseEmployees;
using windows::employee::ChosenEmployees;
using windows::employee::oneEmployeeGrid;

// The file name of an employee's slip: 工号_姓名.pdf made safe for file systems; a name already taken in
// `taken` (compared without case) gets " (2)", " (3)" ... before ".pdf". The name is added to `taken`.
QString slipFileName(const QString& number, const QString& name, QSet<QString>& taken);

// Prints a slip file per employee of the employee grid into --per-employee DIR on the paper of the
// command line; the files on stdout. Returns the exit status.
int printSlipsPerEmployee(const data::WageGrid& grid, HostSession& session, const ParsedArgs& args,
                          float printFontSize);

// "print slips --only 工号": the slips of those employees again, one print job each, into the output of
// --pdf-dir or --one-file. Returns the exit status.
int printChosenSlips(const data::WageGrid& grid, HostSession& session, const ParsedArgs& args,
                     float printFontSize);

}  // namespace slp::app
