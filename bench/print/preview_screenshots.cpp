// preview_screenshots DIR [EMPLOYEES]: opens the preview window on a demo month (200 employees unless
// said) and saves what it shows as PNG files, for a look by eye (run it under xvfb-run): a table page, a
// slip page, a wrapped-slip page and the last page of the wrapped slips.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstdlib>

#include "basic/clock.h"
#include "basic/error.h"
#include "basic/scripted_prompts.h"
#include "data/demo_database.h"
#include "demo_wage_grid.h"
#include "print/pdf_spool_printer.h"
#include "settings/store.h"
#include "ui/window_registry.h"
#include "windows/print_preview/page_picture.h"
#include "windows/print_preview/print_preview_host.h"
#include "windows/print_preview/show_print_preview.h"

using namespace Qt::StringLiterals;

namespace {

// The columns a clerk keeps for a table that fits A4: the others narrowed away (199 twips or less).
slp::data::WageGrid narrowed(const slp::data::WageGrid& grid) {
    const QStringList keep{u"序号"_s,     u"部门"_s,     u"工号"_s,     u"姓名"_s,    u"基本工资"_s,
                           u"岗位工资"_s, u"应发工资"_s, u"扣款合计"_s, u"实发工资"_s};
    slp::data::WageGrid g = grid;
    for (int c = 0; c < g.cols(); ++c) {
        if (!keep.contains(g.text(0, c))) g.setColWidth(c, 150);
    }
    return g;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: preview_screenshots DIR [EMPLOYEES]\n");
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outDir);
    QTemporaryDir work;
    try {
        slp::data::DemoOptions options;
        options.employees = argc > 2 ? std::atoi(argv[2]) : 200;
        options.replace = true;
        const QString file = work.path() + u"/demo.db"_s;
        slp::data::createDemoDatabase(file, options);
        slp::data::WageGrid full;
        {
            slp::data::Database db(u"sqlite:"_s + file);
            if (!bench_print::fillEmployeeGrid(db, u"2000-04"_s, full)) return 1;
        }
        const slp::data::WageGrid table = narrowed(full);

        slp::HostContext host;
        host.unitCode = u"0101"_s;
        host.unitName = u"朔岚机械厂"_s;
        host.payDate = u"2000-04-25"_s;
        slp::settings::Store store(work.path() + u"/settings"_s);
        slp::SystemClock clock;
        slp::ScriptedPrompts prompts;
        slp::WindowRegistry registry(host);
        slp::print::PrintPreviewServices services;
        services.host = &host;
        services.store = &store;
        services.clock = &clock;
        services.prompts = &prompts;
        const QString spool = work.path() + u"/spool"_s;
        services.openPrinter = [spool] { return std::make_unique<slp::print::PdfSpoolPrinter>(spool); };
        slp::print::registerPrintPreviewWindow(registry, services);

        struct Shot {
            const slp::data::WageGrid* grid;
            int16_t slipMode;
            QString title;
            QString name;
            int pageDowns;
            QString columnsAnswer;  // an answer to 每行列数's input box, or none
            bool toLastPage = false;
        };
        const Shot shots[] = {{&table, slp::print::kSlipModeTable, u"工资签收联"_s, u"table"_s, 0, {}},
                              {&table, slp::print::kSlipModeSlips, QString(), u"slips"_s, 1, {}},
                              {&full, slp::print::kSlipModeSlips, QString(), u"wrapped"_s, 0, {}},
                              {&full, slp::print::kSlipModeSlips, QString(), u"wrapped-12"_s, 1, u"-12"_s},
                              {&full, slp::print::kSlipModeSlips, QString(), u"wrapped-last"_s, 0, {}, true}};
        for (const Shot& shot : shots) {
            slp::print::PrintPreviewRequest r;
            r.grid = shot.grid;
            r.title = shot.title;
            r.leftText = u"单位名称:"_s + host.unitName;
            r.rightText = shot.slipMode == 0 ? u"发薪日期:00-04"_s : QString();
            r.slipMode = shot.slipMode;
            slp::print::ShowPrintPreview(registry, r);
            auto* window =
                dynamic_cast<slp::print::PrintPreviewHost*>(registry.instance(slp::WindowId::PrintPreview))
                    ->window();
            if (!QTest::qWaitForWindowExposed(window)) std::fprintf(stderr, "window not exposed\n");
            window->activateWindow();
            if (!QTest::qWaitForWindowActive(window)) std::fprintf(stderr, "window not active\n");
            if (!shot.columnsAnswer.isEmpty()) {
                prompts.answerInput(shot.columnsAnswer);
                window->action(u"MenuPrintSet_9"_s)->trigger();
            }
            for (int i = 0; i < shot.pageDowns; ++i) QTest::keyClick(window, Qt::Key_PageDown);
            if (shot.toLastPage) QTest::keyClick(window, Qt::Key_End);
            QTest::qWait(200);
            const QString path = outDir + u'/' + shot.name + u".png"_s;
            window->grab().save(path);
            window->picture()->image().save(outDir + u'/' + shot.name + u"-page.png"_s);
            if (shot.name == u"table"_s) {
                // Moved away by the arrow keys, the picture uncovers the help lines.
                for (int i = 0; i < 14; ++i) QTest::keyClick(window, Qt::Key_Right);
                for (int i = 0; i < 3; ++i) QTest::keyClick(window, Qt::Key_Down);
                QTest::keyClick(window, Qt::Key_Plus, Qt::ControlModifier);
                QTest::qWait(100);
                window->grab().save(outDir + u"/table-moved.png"_s);
            }
            std::printf("%s: %s\n", path.toUtf8().constData(),
                        window->action(u"SELPAGE"_s)->text().toUtf8().constData());
            window->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        for (const auto& a : prompts.asked) std::printf("asked: %s\n", a.text.toUtf8().constData());
        registry.destroyAll();
    } catch (const slp::Error& e) {
        std::fprintf(stderr, "%s\n", e.description().toUtf8().constData());
        return 1;
    }
    return 0;
}
