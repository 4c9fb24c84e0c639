#include "slips_per_employee.h"

#include <QDir>
#include <QSet>

#include "basic/clock.h"
#include "basic/error.h"
#include "print_commands.h"
#include "print_output.h"
#include "windows/employee_table/employee_commands.h"
#include "windows/print_preview/headless_print.h"

using namespace Qt::StringLiterals;

namespace slp::app {

namespace {
// The column whose caption is `caption`; -1 when none.
int captionColumn(const data::WageGrid& grid, const QString& caption) {
    for (int c = 0; c < grid.cols(); ++c) {
        if (grid.textView(0, c).trimmed() == caption) return c;
    }
    return -1;
}
}  // namespace

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

QString slipFileName(const QString& number, const QString& name, QSet<QString>& taken) {
    const QString stem = safeFileName(number.trimmed() + u'_' + name.trimmed());
    QString file = stem + u".pdf"_s;
    for (int n = 2; taken.contains(file.toLower()); ++n) file = stem + u" (%1).pdf"_s.arg(n);
    taken.insert(file.toLower());
    return file;
}

int printSlipsPerEmployee(const data::WageGrid& grid, HostSession& session, const ParsedArgs& args,
                          float printFontSize) {
    const QString dir = args.value(u"per-employee"_s);
    if (dir.isEmpty()) throw UsageError(u"--per-employee 需要一个文件夹 DIR"_s);
    const int numberColumn = captionColumn(grid, u"工号"_s);
    const int nameColumn = captionColumn(grid, u"姓名"_s);
    // The employees are the rows between the caption row and the totals row.
    const int employees = grid.rows() - 2;
    try {
        if (!QDir().mkpath(dir)) {
            throw Error(errnum::PathNotFound, u"无法建立打印文件夹“%1”"_s.arg(QDir::toNativeSeparators(dir)));
        }
        if (employees < 1) {
            printMessage(u"没有可打印的员工，未写入任何文件。"_s);
            return 1;
        }
        QSet<QString> taken;
        const SystemClock clock;
        print::HeadlessPrintOptions printOptions;
        printOptions.payDate = session.host.payDate;
        printOptions.clock = &clock;
        printOptions.oneJob = true;
        int failed = 0;
        for (int row = 1; row <= employees; ++row) {
            const QString number = numberColumn >= 0 ? grid.text(row, numberColumn) : QString::number(row);
            const QString name = nameColumn >= 0 ? grid.text(row, nameColumn) : QString();
            const QString path = QDir(dir).filePath(slipFileName(number, name, taken));
            ParsedArgs fileArgs = args;
            fileArgs.values.remove(u"per-employee"_s);
            fileArgs.values.insert(u"one-file"_s, path);
            PrintOutput output = openPrintOutput(fileArgs, session.store);
            const data::WageGrid one = oneEmployeeGrid(grid, row);
            const auto request = windows::employee::wageSlipsRequest(one, session.host, printFontSize);
            const auto result = print::PrintPages(request, session.store, session.host.unitCode,
                                                  *output.printer, 1, 0, printOptions);
            for (const QString& message : result.messages) printMessage(message);
            if (result.pagesPrinted == 0) ++failed;
            finishPrintOutput(output);
        }
        return failed == 0 ? 0 : 1;
    } catch (const std::exception& e) {
        printError(e);
        return 1;
    }
}

}  // namespace slp::app
