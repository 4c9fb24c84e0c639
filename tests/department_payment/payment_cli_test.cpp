// The command line on the department payment table: the grid as the window fills it, the departments
// printed one PDF file each in list order, the row height and department options, and the system's
// messages on stderr.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "app/department_payment/department_payment.h"
#include "basic/scripted_prompts.h"
#include "data/database.h"
#include "data/host_context.h"
#include "slpayprn_cli.h"

using namespace Qt::StringLiterals;

namespace {

using slp_test::CliResult;

class PaymentCli : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        db = home.filePath(u"w.db"_s);
        ASSERT_EQ(run({u"demo-db"_s, db, u"--wide"_s, u"--employees"_s, u"60"_s}).code, 0);
    }
    CliResult run(const QStringList& args) { return slp_test::runSlpayprn(args, home.path()); }
    slp::HostContext host() const {
        slp::HostContext h;
        h.unitCode = u"0101"_s;
        h.unitName = u"朔岚示范公司"_s;
        h.workYear = u"2000"_s;
        h.workMonth = u"04"_s;
        h.payDate = u"2000-04-25"_s;
        h.database = std::make_shared<slp::data::Database>(u"sqlite:"_s + db);
        return h;
    }
    QStringList files(const QString& out) const {
        QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
        for (QString& l : lines) l = QFileInfo(l).fileName();
        return lines;
    }

    QTemporaryDir home;
    QString db;
};

TEST_F(PaymentCli, TheGridIsTheWindowsGrid) {
    const slp::HostContext h = host();
    slp::ScriptedPrompts prompts;
    slp::windows::payment::DepartmentPayment logic(h);
    logic.beginOpening();
    logic.readCodeLength();
    ASSERT_TRUE(logic.loadCatalogue(prompts));
    const auto grid = logic.buildGrid(prompts);
    ASSERT_TRUE(grid);
    QStringList expected;
    for (int r = 0; r < grid->rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->cols(); ++c) cells << grid->text(r, c);
        expected << cells.join(u'\t');
    }
    const CliResult r = run({u"grid"_s, u"payment"_s, u"--db"_s, db});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines, expected);
    ASSERT_EQ(lines.size(), 62);
    EXPECT_TRUE(lines.front().startsWith(u"序号\t部门\t"_s));
    EXPECT_TRUE(lines.back().startsWith(u"合计\t\t\t共60人\t"_s));
}

TEST_F(PaymentCli, EveryDepartmentAFileInListOrderOrTheOnesNamed) {
    const QString out = home.filePath(u"pdf"_s);
    // The 28 items need a paper as wide as A2 in landscape.
    const CliResult all = run({u"print"_s, u"payment"_s, u"--db"_s, db, u"--pdf-dir"_s, out, u"--paper"_s,
                               u"A2"_s, u"--landscape"_s});
    ASSERT_EQ(all.code, 0) << all.err.toStdString();
    // Every entry of the list, departments and their groups, stands for its department: each department
    // is printed once, in list order, and the clerk is told the groups went with their departments.
    const slp::HostContext h = host();
    slp::ScriptedPrompts prompts;
    slp::windows::payment::DepartmentPayment logic(h);
    ASSERT_TRUE(logic.loadDepartments(prompts));
    // The demo's list: 12 departments of two-character codes and their groups.
    ASSERT_GT(logic.departments().size(), 12);
    EXPECT_EQ(logic.departments().selectedDepartments(2).size(), 12);
    const QStringList printed = files(all.out);
    ASSERT_EQ(printed.size(), 12);
    EXPECT_TRUE(all.err.contains(u"所选班组不单独打印，按所属部门整体打印，每个部门只打印一次："_s))
        << all.err.toStdString();
    EXPECT_EQ(printed.front(), u"job-0001.pdf"_s);
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), printed.size());

    const QString two = home.filePath(u"two"_s);
    const CliResult named =
        run({u"print"_s, u"payment"_s, u"--db"_s, db, u"--pdf-dir"_s, two, u"--dept"_s, u"02"_s, u"--dept"_s,
             u"01"_s, u"--row-height"_s, u"0.8"_s, u"--paper"_s, u"A2"_s, u"--landscape"_s});
    ASSERT_EQ(named.code, 0) << named.err.toStdString();
    EXPECT_EQ(files(named.out), (QStringList{u"job-0001.pdf"_s, u"job-0002.pdf"_s}));
    // List order: 01's file first.
    QProcess text;
    text.start(u"pdftotext"_s, {two + u"/job-0001.pdf"_s, u"-"_s});
    ASSERT_TRUE(text.waitForFinished(60000));
    const QString first = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(first.contains(u"部门名称:"_s + logic.departments().nameOf(u"01"_s))) << first.toStdString();
    EXPECT_TRUE(first.contains(u"【朔岚软件】"_s));
    EXPECT_TRUE(first.contains(u"签  收"_s) || first.contains(u"序号"_s));
}

TEST_F(PaymentCli, WrongOptionsAndMessages) {
    const QString out = home.filePath(u"pdf"_s);
    for (const QString& h : {u"0.19"_s, u"4.01"_s, u"abc"_s}) {
        const CliResult r =
            run({u"print"_s, u"payment"_s, u"--db"_s, db, u"--pdf-dir"_s, out, u"--row-height"_s, h});
        EXPECT_EQ(r.code, 2) << h.toStdString();
    }
    EXPECT_EQ(run({u"print"_s, u"payment"_s, u"--db"_s, db}).code, 2);
    const CliResult unknown =
        run({u"print"_s, u"payment"_s, u"--db"_s, db, u"--pdf-dir"_s, out, u"--dept"_s, u"99"_s});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_TRUE(unknown.err.contains(u"部门未找到!"_s));
    const CliResult empty = run({u"grid"_s, u"payment"_s, u"--db"_s, db, u"--month"_s, u"2000-05"_s});
    EXPECT_EQ(empty.code, 1);
    EXPECT_FALSE(empty.err.isEmpty());
    EXPECT_FALSE(QDir(out).exists());
    // Wider than A4 either way: nobody can answer the window's question, so nothing is printed and the
    // clerk is told the paper that holds the table.
    const CliResult wide = run({u"print"_s, u"payment"_s, u"--db"_s, db, u"--pdf-dir"_s, out});
    EXPECT_EQ(wide.code, 1);
    EXPECT_FALSE(wide.err.contains(u"是否仍然打印"_s)) << wide.err.toStdString();
    EXPECT_TRUE(wide.err.contains(u"A4纸横放竖放都放不下"_s)) << wide.err.toStdString();
    EXPECT_TRUE(wide.err.contains(u"--paper A2 --landscape"_s)) << wide.err.toStdString();
    EXPECT_FALSE(QDir(out).exists());
}

}  // namespace
