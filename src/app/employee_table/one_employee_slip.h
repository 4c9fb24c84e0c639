#pragma once
// One employee's wage slip on a page of its own: the slip "print slips --per-employee" writes into an
// employee's file and the electronic slip mails, the same page the slips print gives for that employee.
#include <QList>
#include <QString>
#include <QStringList>

#include "app/print_preview/headless_print.h"
#include "data/wage_grid.h"

namespace slp {
class Clock;
struct HostContext;
}  // namespace slp
namespace slp::settings {
class Store;
}
namespace slp::print {
class Printer;
}

namespace slp::windows::employee {

// The grid of one employee: the caption row and data row `row` of `grid`, with its widths, alignments
// and font; no totals row (a slip is one person's).
data::WageGrid oneEmployeeGrid(const data::WageGrid& grid, int row);

// The grid rows of the employees `keys` name (each a 工号 or a 姓名), in the order given, or the
// messages that say which key finds no employee or more than one (a name two employees share is told
// with their 工号): no slip is printed unless every key finds exactly one.
struct ChosenEmployees {
    QList<int> rows;
    QStringList problems;
};
ChosenEmployees chooseEmployees(const data::WageGrid& grid, const QStringList& keys);

// The column of the employee grid whose caption is `caption`; -1 when none.
int captionColumn(const data::WageGrid& grid, const QString& caption);

// Prints the slip of grid row `row` (from 1) as one print job on `printer`, with the wage-slip settings
// of the host's unit as the preview reads them. Throws slp::Error for a printer that fails.
print::HeadlessPrintResult printOneEmployeeSlip(const data::WageGrid& grid, int row, const HostContext& host,
                                                settings::Store& store, print::Printer& printer,
                                                float printFontSize, const Clock& clock);

}  // namespace slp::windows::employee
