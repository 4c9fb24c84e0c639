#include "summary_commands.h"

#include "app/department_summary/department_summary.h"
#include "print/chinese_fonts.h"
#include "print_commands.h"
#include "print_output.h"

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
         u"以制表符分隔的文本输出工资输出表3的部门汇总“班组汇总联”，第一行为标题，最后一行为合计"_s,
         {{u"out"_s, true, u"FILE  写入 FILE.tsv 或 FILE.xlsx 文件，而不是标准输出"_s}},
         false,
         runGridSummary},
        {{u"print"_s, u"summary"_s},
         QString(),
         u"按预览的打印方式打印工资输出表3的部门汇总“班组汇总联”，每页一个PDF文件"_s,
         printOutputOptions() +
             QList<OptionSpec>{{u"from"_s, true, u"P     从第几页开始（默认 1）"_s},
                               {u"to"_s, true, u"P     打印到第几页（默认最后一页）"_s},
                               {u"font-size"_s, true, u"S     打印字号，4到17（默认 9）"_s}},
         false,
         runPrintSummary},
    };
}

}  // namespace slp::app
