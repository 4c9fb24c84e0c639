// The window's print of the department payment table on A4: a table that fits the paper only turned is
// printed turned and the clerk is told; one that fits upright or fits neither way is left as it is.
#include <gtest/gtest.h>

#include <QTemporaryDir>

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

}  // namespace
