#include "print_commands.h"

#include <QDir>
#include <cstdio>
#include <limits>

#include "basic/clock.h"
#include "basic/conversions.h"
#include "basic/error.h"
#include "grid_commands.h"
#include "print/pdf_spool_printer.h"
#include "print_output.h"
#include "slips_per_employee.h"
#include "windows/employee_table/employee_commands.h"
#include "windows/print_preview/headless_print.h"
#include "windows/shared/font_size_menu.h"

using namespace Qt::StringLiterals;

namespace slp::app {

namespace {

// A range that prints nothing is said to the clerk, not passed over in silence.
QString nothingPrinted(const QString& range, const QString& available) {
    return u"所选范围（"_s + range + u"）内没有可打印的内容（"_s + available + u"），未写入任何文件。"_s;
}

}  // namespace

QString tooManyPages(int rows) {
    return u"无法打印：%1行需要的页数超过了页码的上限 32767 页（页码是 16 位整数），未写入任何文件。"_s.arg(
        rows);
}

void printFiles(const QStringList& files) {
    for (const QString& file : files) {
        const QByteArray line = (QDir::toNativeSeparators(file) + u'\n').toUtf8();
        writeOut(stdout, line);
    }
}

// A whole number option (default when absent); a text that is not one is a wrong command line.
int wholeNumber(const ParsedArgs& args, const QString& name, int fallback) {
    if (!args.has(name)) return fallback;
    bool ok = false;
    const int n = args.value(name).toInt(&ok);
    if (!ok) throw UsageError(u"--"_s + name + u" needs a whole number"_s);
    return n;
}

float fontSize(const ParsedArgs& args) {
    if (!args.has(u"font-size"_s)) return windows::kOpeningPrintFontSize;
    const auto size = windows::acceptPrintFontSize(args.value(u"font-size"_s));
    if (!size) throw UsageError(u"--font-size takes a size from 4 to 17"_s);
    return *size;
}

int printPreviewedPages(const print::PrintPreviewRequest& request, HostSession& session,
                        const ParsedArgs& args, int from, int to) {
    try {
        PrintOutput output = openPrintOutput(args, session.store);
        output.printer->setPagesPrintedObserver(
            [&progress = session.progress](int pages) { progress.show(pagesWrittenProgress(pages)); });
        const SystemClock clock;
        print::HeadlessPrintOptions printOptions;
        printOptions.payDate = session.host.payDate;
        printOptions.clock = &clock;
        printOptions.oneJob = output.oneFile;
        const print::HeadlessPrintResult result = print::PrintPages(
            request, session.store, session.host.unitCode, *output.printer, from, to, printOptions);
        session.progress.clear();
        for (const QString& message : result.messages) printMessage(message);
        if (result.pagesPrinted == 0 && result.messages.isEmpty()) {
            printMessage(
                nothingPrinted(u"第%1页至第%2页"_s.arg(from).arg(to < 1 ? u"末"_s : QString::number(to)),
                               u"共%1页"_s.arg(result.pageCount)));
        }
        finishPrintOutput(output);
        return result.pagesPrinted > 0 || result.messages.isEmpty() ? 0 : 1;
    } catch (const OverflowError& e) {
        // The host numbers pages with 16-bit integers: a document of more pages cannot be printed whole.
        // Only a grid of more rows than that can need more pages (a page holds one row at least).
        session.progress.clear();
        const int rows = request.grid ? request.grid->rows() - request.captionRows : 0;
        if (rows > std::numeric_limits<int16_t>::max()) {
            printMessage(tooManyPages(rows));
        } else {
            printError(e);
        }
        return 1;
    } catch (const std::exception& e) {
        session.progress.clear();
        printError(e);
        return 1;
    }
}

namespace {

// The wage table (slips false) or the wage slips through the preview's printing.
int runPrintPreviewed(const ParsedArgs& args, const HostOptions& options, bool slips) {
    const bool perEmployee = slips && args.has(u"per-employee"_s);
    if (perEmployee) {
        if (args.has(u"pdf-dir"_s) || args.has(u"one-file"_s)) {
            throw UsageError(u"--per-employee DIR takes the place of --pdf-dir and --one-file"_s);
        }
        if (args.has(u"from"_s) || args.has(u"to"_s)) {
            throw UsageError(u"--per-employee prints every employee: it takes no --from or --to"_s);
        }
        paperChoice(args);
    } else {
        checkPrintOutput(args);
    }
    const int from = wholeNumber(args, u"from"_s, 1);
    const int to = wholeNumber(args, u"to"_s, 0);
    const float size = fontSize(args);
    HostSession session;
    if (!openHostSession(session, options)) return 1;
    const auto grid = employeeGrid(session, !args.has(u"hide-zeros"_s), size);
    if (!grid) return 1;
    const print::PrintPreviewRequest request =
        slips ? windows::employee::wageSlipsRequest(*grid, session.host, size)
              : windows::employee::wageTableRequest(*grid, session.host, size);
    if (perEmployee) return printSlipsPerEmployee(*grid, session, args, size);
    return printPreviewedPages(request, session, args, from, to);
}

int runPrintTable(const ParsedArgs& args, const HostOptions& options) {
    return runPrintPreviewed(args, options, false);
}
int runPrintSlips(const ParsedArgs& args, const HostOptions& options) {
    return runPrintPreviewed(args, options, true);
}

int runPrintStrips(const ParsedArgs& args, const HostOptions& options) {
    checkPrintOutput(args);
    if (!args.has(u"first"_s) || !args.has(u"last"_s))
        throw UsageError(u"print strips needs --first N --last N"_s);
    const int first = wholeNumber(args, u"first"_s, 1);
    const int last = wholeNumber(args, u"last"_s, 1);
    const float size = fontSize(args);
    HostSession session;
    if (!openHostSession(session, options)) return 1;
    const auto grid = employeeGrid(session, !args.has(u"hide-zeros"_s), size);
    if (!grid) return 1;
    // As "打印个人发放联" takes the answers: nothing below the first employee, the last clamped.
    const int employees = grid->rows() - 2;
    windows::employee::StripRange range{std::max(1, first), std::min(last, employees)};
    try {
        PrintOutput output = openPrintOutput(args, session.store);
        if (first >= 1 && last >= 1 && range.first <= range.last) {
            windows::employee::printEmployeeStrips(*output.printer, *grid, range, args.has(u"rules"_s), size);
        } else {
            printMessage(
                nothingPrinted(u"第%1名至第%2名"_s.arg(first).arg(last), u"共%1名员工"_s.arg(employees)));
        }
        finishPrintOutput(output);
        return 0;
    } catch (const std::exception& e) {
        printError(e);
        return 1;
    }
}

const OptionSpec kHideZerosOption{u"hide-zeros"_s, false, u"      leave zero amounts empty (不显示零)"_s};
const OptionSpec kFontSizeOption{u"font-size"_s, true, u"S     print font size, 4 to 17 (default 9)"_s};

}  // namespace

QList<Command> printCommands() {
    const QList<OptionSpec> pages =
        printOutputOptions() + QList<OptionSpec>{{u"from"_s, true, u"P     first page (default 1)"_s},
                                                 {u"to"_s, true, u"P     last page (default the last)"_s},
                                                 kHideZerosOption,
                                                 kFontSizeOption};
    return {
        {{u"print"_s, u"wage-table"_s},
         QString(),
         u"print the wage table 工资签收联 of 工资输出表1 as the preview prints it, a PDF file a page"_s,
         pages,
         false,
         runPrintTable},
        {{u"print"_s, u"slips"_s},
         QString(),
         u"print the wage slips 个人发放联 of 工资输出表1 as the preview prints them, a PDF file a page"_s,
         pages + QList<OptionSpec>{{u"per-employee"_s, true,
                                    u"DIR   a PDF file per employee instead, named 工号_姓名.pdf, in DIR"_s}},
         false,
         runPrintSlips},
        {{u"print"_s, u"strips"_s},
         QString(),
         u"print the strips of employees N to N as 打印个人发放联 does, one PDF file for the range"_s,
         printOutputOptions() +
             QList<OptionSpec>{
                 {u"first"_s, true, u"N     first employee (from 1)"_s},
                 {u"last"_s, true, u"N     last employee (beyond the last: the last)"_s},
                 {u"rules"_s, false, u"      a rule along the top of every cell (打印工资条要横线)"_s},
                 kHideZerosOption,
                 kFontSizeOption},
         false,
         runPrintStrips},
    };
}

}  // namespace slp::app
