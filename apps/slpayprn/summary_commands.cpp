#include "summary_commands.h"

#include "print/chinese_fonts.h"
#include "print_commands.h"
#include "print_output.h"
#include "windows/department_summary/department_summary.h"

using namespace Qt::StringLiterals;

namespace slp::app {

std::optional<data::WageGrid> summaryGrid(HostSession& session, float printFontSize) {
    print::registerChineseFontSubstitutes();  // widths are measured in the grid's 宋体
    windows::summary::DepartmentSummary summary(session.host);
    summary.beginOpening();
    try {
        if (printFontSize != summary.printFontSize()) {
            summary.setPrintFontSize(printFontSize);
            summary.setCharUnit(summary.measure()(u"宋体"_s, printFontSize));
        }
        summary.readCodeLength();
        if (!summary.loadCatalogue(session.prompts)) return std::nullopt;
        return summary.buildGrid(session.prompts);
    } catch (const std::exception& e) {
        printError(e);
        return std::nullopt;
    }
}

namespace {

int runGridSummary(const ParsedArgs& args, const HostOptions& options) {
    const QString path = gridOutPath(args);
    HostSession session;
    if (!openHostSession(session, options)) return 1;
    const auto grid = summaryGrid(session);
    if (!grid) return 1;
    return writeGrid(*grid, path) ? 0 : 1;
}

int runPrintSummary(const ParsedArgs& args, const HostOptions& options) {
    checkPrintOutput(args);
    const int from = wholeNumber(args, u"from"_s, 1);
    const int to = wholeNumber(args, u"to"_s, 0);
    const float size = fontSize(args);
    HostSession session;
    if (!openHostSession(session, options)) return 1;
    const auto grid = summaryGrid(session, size);
    if (!grid) return 1;
    return printPreviewedPages(windows::summary::summaryPrintRequest(*grid, session.host, size), session,
                               args, from, to);
}

}  // namespace

QList<Command> summaryCommands() {
    return {
        {{u"grid"_s, u"summary"_s},
         QString(),
         u"print the department summary 班组汇总联 of 工资输出表3 as tab-separated text, caption row first, "_s
         u"totals row last"_s,
         {{u"out"_s, true, u"FILE  write FILE.tsv or FILE.xlsx instead of stdout"_s}},
         false,
         runGridSummary},
        {{u"print"_s, u"summary"_s},
         QString(),
         u"print the department summary 班组汇总联 of 工资输出表3 as the preview prints it, a PDF file a page"_s,
         printOutputOptions() +
             QList<OptionSpec>{{u"from"_s, true, u"P     first page (default 1)"_s},
                               {u"to"_s, true, u"P     last page (default the last)"_s},
                               {u"font-size"_s, true, u"S     print font size, 4 to 17 (default 9)"_s}},
         false,
         runPrintSummary},
    };
}

}  // namespace slp::app
