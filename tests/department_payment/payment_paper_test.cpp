// The window's print of the department payment table on A4: a table that fits the paper only turned is
// printed turned and the clerk is told; one that fits upright or fits neither way is left as it is.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/department_payment/department_list.h"
#include "app/department_payment/department_payment.h"
#include "basic/scripted_prompts.h"
#include "data/database.h"
#include "data/host_context.h"
#include "print/page_recorder.h"
#include "print/pdf_spool_printer.h"
#include "slpayprn_cli.h"

using namespace Qt::StringLiterals;

namespace {

TEST(PaymentPaper, ATableWiderThanA4IsTurnedWhenThatHoldsIt) {
    const struct {
        QStringList demo;
        QPageSize paper;
        bool turned;
    } cases[] = {
        {{}, QPageSize(QPageSize::A4), true},              // the demo month: 22.1 cm
        {{}, QPageSize(QPageSize::A3), false},             // fits upright
        {{u"--wide"_s}, QPageSize(QPageSize::A4), false},  // 49 cm: fits neither way, the question stays
    };
    for (const auto& c : cases) {
        QTemporaryDir home;
        const QString db = home.filePath(u"w.db"_s);
        ASSERT_EQ(slp_test::runSlpayprn(QStringList{u"demo-db"_s, db, u"--employees"_s, u"30"_s} + c.demo,
                                        home.path())
                      .code,
                  0);
        slp::HostContext host;
        host.unitCode = u"0101"_s;
        host.workYear = u"2000"_s;
        host.workMonth = u"04"_s;
        host.database = std::make_shared<slp::data::Database>(u"sqlite:"_s + db);
        slp::ScriptedPrompts prompts;
        slp::windows::payment::DepartmentPayment logic(host);
        logic.beginOpening();
        logic.readCodeLength();
        ASSERT_TRUE(logic.loadCatalogue(prompts));
        const auto grid = logic.buildGrid(prompts);
        ASSERT_TRUE(grid);
        slp::print::PdfSpoolPrinter printer(home.filePath(u"pdf"_s), c.paper);
        const float upright = printer.paperWidth();
        const QString note = logic.turnPaperWhenNeeded(*grid, printer);
        EXPECT_EQ(!note.isEmpty(), c.turned) << note.toStdString();
        EXPECT_EQ(printer.paperWidth() > upright, c.turned);
        if (c.turned) {
            EXPECT_TRUE(note.endsWith(u"已改为横向打印。"_s));
            EXPECT_LE(logic.printedTableWidth(*grid, *printer.newRecorder()), printer.printableWidth());
        }
    }
}

// The preview shows the pages the print gives: on A4 the demo month's table is turned, and every page of
// a department is the printer's page, paper size included.
TEST(PaymentPaper, ThePreviewShowsThePrintedPagesOnTheTurnedPaper) {
    QTemporaryDir home;
    const QString db = home.filePath(u"w.db"_s);
    ASSERT_EQ(slp_test::runSlpayprn({u"demo-db"_s, db, u"--employees"_s, u"60"_s}, home.path()).code, 0);
    slp::HostContext host;
    host.unitCode = u"0101"_s;
    host.workYear = u"2000"_s;
    host.workMonth = u"04"_s;
    host.database = std::make_shared<slp::data::Database>(u"sqlite:"_s + db);
    slp::ScriptedPrompts prompts;
    slp::windows::payment::DepartmentPayment logic(host);
    logic.beginOpening();
    logic.readCodeLength();
    ASSERT_TRUE(logic.loadCatalogue(prompts));
    const auto grid = logic.buildGrid(prompts);
    ASSERT_TRUE(grid);
    ASSERT_TRUE(logic.loadDepartments(prompts));
    const QString code = slp::windows::payment::DepartmentList::codeOf(logic.departments().entries().at(0),
                                                                       logic.deptCodeLength());
    const QDateTime now(QDate(2000, 4, 25), QTime(9, 5));

    slp::print::PdfSpoolPrinter shown(home.filePath(u"preview"_s));
    const auto preview = logic.previewPrintedPages(code, *grid, shown, now);
    EXPECT_TRUE(preview.turnedNote.endsWith(u"已改为横向打印。"_s)) << preview.turnedNote.toStdString();
    ASSERT_FALSE(preview.pages.empty());

    // The print of the same department on a printer turned the same way: as many pages, as large.
    slp::print::PdfSpoolPrinter printed(home.filePath(u"printed"_s));
    int pagesPrinted = 0;
    printed.setPagesPrintedObserver([&](int n) { pagesPrinted = n; });
    EXPECT_FALSE(logic.turnPaperWhenNeeded(*grid, printed).isEmpty());
    logic.printDepartment(code, *grid, printed, now);
    EXPECT_EQ(pagesPrinted, int(preview.pages.size()));
    for (const auto& page : preview.pages) {
        EXPECT_EQ(page.size, QSizeF(printed.paperWidth(), printed.paperHeight()));
        EXPECT_GT(page.size.width(), page.size.height());  // turned
    }
    EXPECT_TRUE(logic.previewPrintedPages(u"ZZ"_s, *grid, shown, now).pages.empty());
}

}  // namespace
