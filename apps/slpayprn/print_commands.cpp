#include "print_commands.h"

#include <QDir>
#include <cstdio>

#include "app/employee_table/employee_commands.h"
#include "app/print_preview/headless_print.h"
#include "app/shared/font_size_menu.h"
#include "basic/clock.h"
#include "basic/conversions.h"
#include "basic/error.h"
#include "data/wage_grid.h"
#include "data/wage_items.h"
#include "grid_commands.h"
#include "print/pdf_spool_printer.h"
#include "print/reports/strip_report.h"
#include "print_output.h"
#include "slips_per_employee.h"

using namespace Qt::StringLiterals;

namespace slp::app {

namespace {

// A range that prints nothing is said to the clerk, not passed over in silence.
QString nothingPrinted(const QString& range, const QString& available) {
    return u"所选范围（"_s + range + u"）内没有可打印的内容（"_s + available + u"），未写入任何文件。"_s;
}

}  // namespace

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
    if (!ok) throw UsageError(u"--"_s + name + u" 应为整数"_s);
    return n;
}

float fontSize(const ParsedArgs& args) {
    if (!args.has(u"font-size"_s)) return windows::kOpeningPrintFontSize;
    const auto size = windows::acceptPrintFontSize(args.value(u"font-size"_s));
    if (!size) throw UsageError(u"--font-size 的字号应为4到17"_s);
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
        for (const QString& note : result.notes) printMessage(note);
        for (const QString& message : result.messages) printMessage(message);
        if (result.pagesPrinted == 0 && result.messages.isEmpty()) {
            printMessage(
                nothingPrinted(u"第%1页至第%2页"_s.arg(from).arg(to < 1 ? u"末"_s : QString::number(to)),
                               u"共%1页"_s.arg(result.pageCount)));
        }
        finishPrintOutput(output);
        return result.pagesPrinted > 0 || result.messages.isEmpty() ? 0 : 1;
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
    const bool chosen = slips && args.has(u"only"_s);
    if (chosen && (perEmployee || args.has(u"from"_s) || args.has(u"to"_s))) {
        throw UsageError(u"--only 只打印所指员工的工资条，不能与 --per-employee、--from 或 --to 同用"_s);
    }
    if (perEmployee) {
        if (args.has(u"pdf-dir"_s) || args.has(u"one-file"_s)) {
            throw UsageError(u"--per-employee DIR 已指定输出位置，不能再用 --pdf-dir 或 --one-file"_s);
        }
        if (args.has(u"from"_s) || args.has(u"to"_s)) {
            throw UsageError(u"--per-employee 打印全部员工，不能与 --from 或 --to 同用"_s);
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
    if (chosen) return printChosenSlips(*grid, session, args, size);
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
        throw UsageError(u"print strips 需要 --first N 和 --last N"_s);
    const int first = wholeNumber(args, u"first"_s, 1);
    const int last = wholeNumber(args, u"last"_s, 1);
    const float size = fontSize(args);
    HostSession session;
    if (!openHostSession(session, options)) return 1;
    const auto grid = employeeGrid(session, !args.has(u"hide-zeros"_s), size);
    if (!grid) return 1;
    if (data::hidesEveryItemColumn(*grid, strips::kStripHiddenWidth)) {
        printMessage(data::noPrintedItemMessage());
        return 1;
    }
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

const OptionSpec kHideZerosOption{u"hide-zeros"_s, false, u"      金额为零时不显示（不显示零）"_s};
const OptionSpec kFontSizeOption{u"font-size"_s, true, u"S     打印字号，4到17（默认 9）"_s};

}  // namespace

QList<Command> printCommands() {
    const QList<OptionSpec> pages =
        printOutputOptions() + QList<OptionSpec>{{u"from"_s, true, u"P     从第几页开始（默认 1）"_s},
                                                 {u"to"_s, true, u"P     打印到第几页（默认最后一页）"_s},
                                                 kHideZerosOption,
                                                 kFontSizeOption};
    return {
        {{u"print"_s, u"wage-table"_s},
         QString(),
         u"按预览的打印方式打印工资输出表1的工资表“工资签收联”，每页一个PDF文件"_s,
         pages,
         false,
         runPrintTable},
        {{u"print"_s, u"slips"_s},
         QString(),
         u"按预览的打印方式打印工资输出表1的工资条“个人发放联”，每页一个PDF文件"_s,
         pages +
             QList<OptionSpec>{{u"per-employee"_s, true,
                                u"DIR   改为每名员工一个PDF文件，命名为 工号_姓名.pdf，放在 DIR 中"_s},
                               {u"only"_s, true, u"KEY   只补打工号或姓名为 KEY 的员工的工资条（可重复）"_s}},
         false,
         runPrintSlips},
        {{u"print"_s, u"strips"_s},
         QString(),
         u"像“打印个人发放联”那样打印第 N 名到第 N 名员工的工资条，整个范围一个PDF文件"_s,
         printOutputOptions() +
             QList<OptionSpec>{{u"first"_s, true, u"N     从第几名员工开始（从 1 算起）"_s},
                               {u"last"_s, true, u"N     打印到第几名员工（超过总人数时到最后一名）"_s},
                               {u"rules"_s, false, u"      每格上方打印横线（打印工资条横线）"_s},
                               kHideZerosOption,
                               kFontSizeOption},
         false,
         runPrintStrips},
    };
}

}  // namespace slp::app
