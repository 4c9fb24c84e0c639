#include "app/employee_table/one_employee_slip.h"

#include "app/employee_table/employee_commands.h"
#include "data/host_context.h"

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

}  // namespace slp::windows::employee
