#include "app/employee_table/one_employee_slip.h"

#include "app/employee_table/employee_commands.h"
#include "data/employee_search.h"
#include "data/host_context.h"

using namespace Qt::StringLiterals;

namespace slp::windows::employee {

int captionColumn(const data::WageGrid& grid, const QString& caption) {
    for (int c = 0; c < grid.cols(); ++c) {
        if (grid.textView(0, c).trimmed() == caption) return c;
    }
    return -1;
}

data::WageGrid oneEmployeeGrid(const data::WageGrid& grid, int row) {
    data::WageGrid one(2, grid.cols());
    one.setFixedRows(std::min(grid.fixedRows(), 1));
    one.setFixedCols(grid.fixedCols());
    one.setFontSize(grid.fontSize());
    one.setFontName(grid.fontName());
    for (int c = 0; c < grid.cols(); ++c) {
        one.setColWidth(c, grid.colWidth(c));
        one.setColAlignment(c, grid.colAlignment(c));
        one.setCaptionAlignment(c, grid.captionAlignment(c));
        one.setText(0, c, grid.textView(0, c));
        one.setText(1, c, grid.textView(row, c));
    }
    if (grid.rowHeight(0) != data::WageGrid::kAutoRowHeight) one.setRowHeight(0, grid.rowHeight(0));
    if (grid.rowHeight(row) != data::WageGrid::kAutoRowHeight) one.setRowHeight(1, grid.rowHeight(row));
    return one;
}

print::HeadlessPrintResult printOneEmployeeSlip(const data::WageGrid& grid, int row, const HostContext& host,
                                                settings::Store& store, print::Printer& printer,
                                                float printFontSize, const Clock& clock) {
    print::HeadlessPrintOptions options;
    options.payDate = host.payDate;
    options.clock = &clock;
    options.oneJob = true;
    const data::WageGrid one = oneEmployeeGrid(grid, row);
    const auto request = wageSlipsRequest(one, host, printFontSize);
    return print::PrintPages(request, store, host.unitCode, printer, 1, 0, options);
}

ChosenEmployees chooseEmployees(const data::WageGrid& grid, const QStringList& keys) {
    ChosenEmployees chosen;
    const int lastEmployee = grid.rows() - 2;  // the totals row is no employee
    const int numberColumn = captionColumn(grid, u"工号"_s);
    for (const QString& key : keys) {
        const QList<int> rows = data::rowsOfEmployee(grid, key, 1, lastEmployee);
        if (rows.size() == 1) {
            chosen.rows << rows.front();
        } else if (rows.isEmpty()) {
            chosen.problems << u"没有工号或姓名为“%1”的员工"_s.arg(key.trimmed());
        } else {
            QStringList numbers;
            for (const int r : rows)
                numbers << (numberColumn >= 0 ? grid.text(r, numberColumn) : QString::number(r));
            chosen.problems << u"姓名为“%1”的员工有%2名（工号 %3），请用工号指明"_s.arg(key.trimmed())
                                   .arg(rows.size())
                                   .arg(numbers.join(u"、"_s));
        }
    }
    return chosen;
}

}  // namespace slp::windows::employee
