#include "payment_commands.h"

#include "basic/clock.h"
#include "print/chinese_fonts.h"
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
        if (!accepted) throw UsageError(u"--row-height takes centimetres from 0.2 to 4"_s);
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
        PrintOutput output = openPrintOutput(args, session.store);
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
         u"print the department payment grid 班组签收联 of 工资输出表2 as tab-separated text, caption row "_s
         u"first, totals row last"_s,
         {{u"out"_s, true, u"FILE  write FILE.tsv or FILE.xlsx instead of stdout"_s}},
         false,
         runGridPayment},
        {{u"print"_s, u"payment"_s},
         QString(),
         u"print 打印班组签收联 of 工资输出表2: a PDF file (one print job) per selected department, in list "_s
         u"order"_s,
         printOutputOptions() +
             QList<OptionSpec>{
                 {u"dept"_s, true,
                  u"CODE  a department of the list (may repeat; default: every department)"_s},
                 {u"row-height"_s, true,
                  u"CM    printed row height, 0.2 to 4 centimetres (default: the setting \" 行高\")"_s}},
         false,
         runPrintPayment},
    };
}

}  // namespace slp::app
