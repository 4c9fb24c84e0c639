// bench_print: a month of the demo database printed to PDF through the preview driver, as the command
// line prints it (one process a run).
//   bench_print create FILE EMPLOYEES                 writes the demo database (replacing FILE)
//   bench_print widths FILE [FONTSIZE]                the grid's column widths and their sum
//   bench_print table|slips FILE DIR [options]        prints every page into DIR
//     --paper A4|A3 --landscape --font N --lines N --one-job
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

#include "app/print_preview/headless_print.h"
#include "basic/clock.h"
#include "basic/error.h"
#include "data/demo_database.h"
#include "demo_wage_grid.h"
#include "print/pdf_spool_printer.h"
#include "settings/store.h"

using namespace Qt::StringLiterals;

namespace {

const QString kMonth = u"2000-04"_s;

void out(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
}

int widths(const QString& file, float fontSize) {
    slp::data::Database db(u"sqlite:"_s + file);
    slp::data::WageGrid grid;
    if (!bench_print::fillEmployeeGrid(db, kMonth, grid, fontSize)) return 1;
    int sum = 0;
    for (int c = 0; c < grid.cols(); ++c) {
        out(u"%1 %2\n"_s.arg(grid.text(0, c)).arg(grid.colWidth(c)));
        sum += grid.colWidth(c);
    }
    out(u"sum %1 twips, %2 columns, %3 rows\n"_s.arg(sum).arg(grid.cols()).arg(grid.rows()));
    return 0;
}

int print(bool slips, const QStringList& args) {
    const QString file = args.value(0);
    const QString folder = args.value(1);
    QPageSize paper(QPageSize::A4);
    auto orientation = QPageLayout::Portrait;
    float font = 9;
    int lines = 40;
    bool oneJob = false;
    for (int i = 2; i < args.size(); ++i) {
        if (args[i] == u"--paper"_s)
            paper = QPageSize(args.value(++i) == u"A3"_s ? QPageSize::A3 : QPageSize::A4);
        if (args[i] == u"--landscape"_s) orientation = QPageLayout::Landscape;
        if (args[i] == u"--font"_s) font = args.value(++i).toFloat();
        if (args[i] == u"--lines"_s) lines = args.value(++i).toInt();
        if (args[i] == u"--one-job"_s) oneJob = true;
    }
    QElapsedTimer total;
    total.start();
    slp::data::WageGrid grid;
    {
        slp::data::Database db(u"sqlite:"_s + file);
        if (!bench_print::fillEmployeeGrid(db, kMonth, grid, font)) return 1;
    }
    const qint64 fillMs = total.elapsed();

    // The layout settings of a fresh user, with the lines a page asked for.
    QTemporaryDir settingsDir;
    slp::settings::Store store(settingsDir.path());
    store.write(u"Sl_PAYPRN"_s, (slips ? u"工资条"_s : QString()) + u"打印设置"_s, u"每页行数"_s,
                QString::number(lines));
    slp::print::PdfSpoolPrinter printer(folder, paper, orientation);

    slp::print::PrintPreviewRequest request;
    request.grid = &grid;
    request.title = slips ? QString() : u"工资签收联"_s;
    request.leftText = u"单位名称:朔岚机械厂"_s;
    request.rightText = slips ? QString() : u"发薪日期:00-04"_s;
    request.slipMode = slips ? slp::print::kSlipModeSlips : slp::print::kSlipModeTable;
    request.printFontSize = font;
    slp::print::HeadlessPrintOptions options;
    options.payDate = kMonth + u"-25"_s;
    options.oneJob = oneJob;
    QElapsedTimer printing;
    printing.start();
    const auto result = slp::print::PrintPages(request, store, u"0101"_s, printer, 1, 0, options);
    const qint64 printMs = printing.elapsed();
    for (const QString& m : result.messages) std::fprintf(stderr, "%s\n", m.toUtf8().constData());
    out(u"%1 rows: fill %2 ms, print %3 pages in %4 files %5 ms, total %6 ms\n"_s.arg(grid.rows() - 2)
            .arg(fillMs)
            .arg(result.pagesPrinted)
            .arg(printer.writtenFiles().size())
            .arg(printMs)
            .arg(total.elapsed()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Fonts need a GUI application; no display is needed to print.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        if (args.size() == 4 && args[1] == u"create"_s) {
            slp::data::DemoOptions options;
            options.employees = args[3].toInt();
            options.replace = true;
            slp::data::createDemoDatabase(args[2], options);
            return 0;
        }
        if (args.size() >= 3 && args[1] == u"widths"_s)
            return widths(args[2], args.value(3, u"9"_s).toFloat());
        if (args.size() >= 4 && (args[1] == u"table"_s || args[1] == u"slips"_s)) {
            return print(args[1] == u"slips"_s, args.mid(2));
        }
    } catch (const slp::Error& e) {
        std::fprintf(stderr, "%s\n", e.description().toUtf8().constData());
        return 1;
    }
    std::fprintf(
        stderr,
        "usage: bench_print create FILE N | widths FILE [FONT] | table|slips FILE DIR [--paper A4|A3] "
        "[--landscape] [--font N] [--lines N] [--one-job]\n");
    return 2;
}
