// 打印工资表 as a new user reaches it: the demo host's PFirst on the default (narrow) demo month with a
// fresh settings folder opens 个人发放联, whose 打印工资表 previews the table on the chosen printer, PDF
// files where the system has no printer.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>

#include "demo_host.h"
#include "print/system_printer.h"

using namespace Qt::StringLiterals;

namespace {

using host_test::DemoHost;

TEST(PreviewFromTheHost, PrintWageTablePreviewsOnThePdfPrinterWithoutASystemPrinter) {
    slp::data::DemoOptions options;
    options.narrow = true;
    DemoHost host(options);
    qputenv("HOME", host.dir.path().toLocal8Bit());
    const auto r = host.call("PFirst");
    ASSERT_TRUE(r.ok()) << r.description.toStdString();
    QWidget* table = DemoHost::visibleWindow(u"工资输出表1"_s);
    ASSERT_NE(table, nullptr);
    auto* print = table->findChild<QAction*>(u"MnuPrint_10"_s);
    ASSERT_NE(print, nullptr);
    print->trigger();
    QApplication::processEvents();
    QWidget* preview = DemoHost::visibleWindow(u"工资MSGPRINT"_s);
    ASSERT_NE(preview, nullptr);
    QStringList panels;
    for (int i = 1; i <= 6; ++i) {
        if (auto* label = preview->findChild<QLabel*>(u"SBar_"_s + QString::number(i)))
            panels << label->text();
    }
    if (slp::print::systemPrinterNames().isEmpty()) {
        // The printer panel names the PDF folder, not a missing printer.
        EXPECT_TRUE(panels.join(u'|').contains(u"PDF:"_s)) << panels.join(u'|').toStdString();
    }
    if (const QByteArray shots = qgetenv("SLP_SCREENSHOT_DIR"); !shots.isEmpty()) {
        preview->grab().save(QString::fromLocal8Bit(shots) + u"/wage-table-preview.png"_s);
        table->grab().save(QString::fromLocal8Bit(shots) + u"/employee-table.png"_s);
    }
    preview->close();
    table->close();
}

}  // namespace
