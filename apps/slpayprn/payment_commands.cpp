#include "payment_commands.h"

#include "basic/clock.h"
#include "print/chinese_fonts.h"
#include "print/page_recorder.h"
#include "print/pdf_print_choice.h"
#include "print/pdf_spool_printer.h"
#include "print_commands.h"
#include "print_output.h"

using namespace Qt::StringLiterals;

namespace slp::app {

using windows::payment::DepartmentPayment;

std::optional<data::WageGrid> paymentGrid(HostSession& session, DepartmentPayment& logic,
                                          bool needDepartments) {
    print::registerChineseFontSubstitutes();  // widths are measured in the grid's 宋体
    logic.beginOpening();
    try {
        logic.loadSettings(session.store);
    } catch (const std::exception&) {
        // A stored setting that does not convert is not used: the defaults stand.
    }
    try {
        logic.readCodeLength();
        if (!logic.loadCatalogue(session.prompts)) return std::nullopt;
        auto grid = logic.buildGrid(session.prompts);
        if (!grid) return std::nullopt;
        if (!logic.loadDepartments(session.prompts) && needDepartments) return std::nullopt;
        return grid;
    } catch (const std::exception& e) {
        printError(e);
        return std::nullopt;
    }
}

namespace {

// The table's width as the print measures it on a PDF page.
float printedTableWidth(const data::WageGrid& grid, const DepartmentPayment& logic) {
    print::PageRecorder measure;  // texts measured at 1440 dpi, as the PDF printer measures them
    return logic.printedTableWidth(grid, measure);
}

QString centimetres(float twips) {
    return QString::number(twips / 567.0, 'f', 1);
}

// Nobody is there to answer the window's question about a table wider than the paper: the table goes on
// the paper turned when that holds it (said on stderr), else nothing is printed and the clerk is told
// which paper to choose. nullopt after that message.
std::optional<QPageLayout::Orientation> paymentOrientation(const ParsedArgs& args, const HostSession& session,
                                                           float width) {
    const PrintPaper paper = printPaper(args, session.store);
    const QString name = print::paperNameOf(paper.size);
    const auto holding = orientationHolding(width, paper);
    if (holding && *holding != paper.orientation) {
        printMessage(u"班组签收联的表格宽%1厘米，%2纸%3放不下，已改为%4打印。"_s.arg(
            centimetres(width), name, orientationName(paper.orientation), orientationName(*holding)));
    } else if (!holding) {
        const QString wider = isoPaperHolding(width);
        printMessage(
            u"班组签收联的表格宽%1厘米，%2纸横放竖放都放不下，右边的列（包括签收栏）会打印不全，"
            u"未打印。请选用更宽的纸张：%3。"_s.arg(
                centimetres(width), name,
                wider.isEmpty() ? u"--paper 宽x高mm"_s : u"--paper "_s + wider + u" --landscape"_s));
    }
    return holding;
}

int runGridPayment(const ParsedArgs& args, const HostOptions& options) {
    const QString path = gridOutPath(args);
    HostSession session;
    if (!openHostSession(session, options)) return 1;
    DepartmentPayment logic(session.host);
    const auto grid = paymentGrid(session, logic, false);
    if (!grid) return 1;
    return writeGrid(*grid, path) ? 0 : 1;
}

int runPrintPayment(const ParsedArgs& args, const HostOptions& options) {
    checkPrintOutput(args);
    std::optional<float> rowHeight;
    if (args.has(u"row-height"_s)) {
        const auto accepted = windows::payment::acceptRowHeight(args.value(u"row-height"_s));
        if (!accepted) throw UsageError(u"--row-height 的行高应为0.2到4厘米"_s);
        rowHeight = accepted->rowHeight;
    }
    const QStringList codes = args.all(u"dept"_s);
    HostSession session;
    if (!openHostSession(session, options)) return 1;
    DepartmentPayment logic(session.host);
    const auto grid = paymentGrid(session, logic, true);
    if (!grid) return 1;
    if (rowHeight) logic.setRowHeight(*rowHeight);
    auto& list = logic.departments();
    if (!codes.isEmpty()) {
        // The departments named, in list order: every other entry is not selected.
        for (const QString& code : codes) {
            if (list.indexOf(code) < 0) {
                printMessage(windows::payment::noDepartmentsMessage() + u' ' + code);
                return 1;
            }
        }
        list.clearSelection();
        for (int i = 0; i < list.size(); ++i) {
            if (codes.contains(list.entries()[size_t(i)].key.chopped(4))) list.toggle(i);
        }
    }
    try {
        const auto orientation = paymentOrientation(args, session, printedTableWidth(*grid, logic));
        if (!orientation) return 1;
        PrintOutput output = openPrintOutput(args, session.store, *orientation);
        const SystemClock clock;
        const auto outcome = logic.printSelected(*grid, *output.printer, session.prompts, clock.now());
        finishPrintOutput(output);
        if (outcome.jobs > 0 && !outcome.groupsNote.isEmpty()) printMessage(outcome.groupsNote);
        return outcome.failed ? 1 : 0;
    } catch (const std::exception& e) {
        printError(e);
        return 1;
    }
}

}  // namespace

QList<Command> paymentCommands() {
    return {
        {{u"grid"_s, u"payment"_s},
         QString(),
         u"以制表符分隔的文本输出工资输出表2的部门表格“班组签收联”，第一行为标题，最后一行为合计"_s,
         {{u"out"_s, true, u"FILE  写入 FILE.tsv 或 FILE.xlsx 文件，而不是标准输出"_s}},
         false,
         runGridPayment},
        {{u"print"_s, u"payment"_s},
         QString(),
         u"执行工资输出表2的“打印班组签收联”：按列表顺序，每个所选部门一个PDF文件（一个打印作业）"_s,
         printOutputOptions() +
             QList<OptionSpec>{{u"dept"_s, true, u"CODE  列表中的部门号（可重复给出；默认：全部部门）"_s},
                               {u"row-height"_s, true, u"CM    打印行高，0.2到4厘米（默认：设置“ 行高”）"_s}},
         false,
         runPrintPayment},
    };
}

}  // namespace slp::app
