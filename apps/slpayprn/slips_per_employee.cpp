#include "slips_per_employee.h"

#include <QDir>
#include <QSet>

#include "app/employee_table/one_employee_slip.h"
#include "basic/clock.h"
#include "basic/error.h"
#include "print_commands.h"
#include "print_output.h"

using namespace Qt::StringLiterals;

namespace slp::app {

using windows::employee::captionColumn;

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
        int failed = 0;
        for (int row = 1; row <= employees; ++row) {
            const QString number = numberColumn >= 0 ? grid.text(row, numberColumn) : QString::number(row);
            const QString name = nameColumn >= 0 ? grid.text(row, nameColumn) : QString();
            const QString path = QDir(dir).filePath(slipFileName(number, name, taken));
            ParsedArgs fileArgs = args;
            fileArgs.values.remove(u"per-employee"_s);
            fileArgs.values.insert(u"one-file"_s, path);
            PrintOutput output = openPrintOutput(fileArgs, session.store);
            const auto result = windows::employee::printOneEmployeeSlip(
                grid, row, session.host, session.store, *output.printer, printFontSize, clock);
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

int printChosenSlips(const data::WageGrid& grid, HostSession& session, const ParsedArgs& args,
                     float printFontSize) {
    const ChosenEmployees chosen = chooseEmployees(grid, args.all(u"only"_s));
    if (!chosen.problems.isEmpty()) {
        for (const QString& problem : chosen.problems) printMessage(problem + u"，未打印任何工资条。"_s);
        return 1;
    }
    try {
        PrintOutput output = openPrintOutput(args, session.store);
        const SystemClock clock;
        int failed = 0;
        for (const int row : chosen.rows) {
            const auto result = windows::employee::printOneEmployeeSlip(
                grid, row, session.host, session.store, *output.printer, printFontSize, clock);
            for (const QString& message : result.messages) printMessage(message);
            if (result.pagesPrinted == 0) ++failed;
        }
        finishPrintOutput(output);
        return failed == 0 ? 0 : 1;
    } catch (const std::exception& e) {
        printError(e);
        return 1;
    }
}

}  // namespace slp::app
