// The command line on the employee wage table: the grid as the window fills it, as text or a workbook,
// and the wage table and slips printed as the preview prints them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "app/employee_table/employee_table.h"
#include "basic/scripted_prompts.h"
#include "data/database.h"
#include "data/host_context.h"
#include "settings/store.h"
#include "slpayprn_cli.h"

using namespace Qt::StringLiterals;

namespace {

using slp_test::CliResult;

class EmployeeCli : public ::testing::Test {
  protected:
    void SetUp() override {
        db = home.filePath(u"w.db"_s);
        ASSERT_EQ(run({u"demo-db"_s, db, u"--wide"_s, u"--employees"_s, u"30"_s}).code, 0);
    }
    CliResult run(const QStringList& args) { return slp_test::runSlpayprn(args, home.path()); }
    // The grid the window fills from the same database, as lines of tab-separated cells.
    QStringList windowGrid(bool showZeros) {
        slp::HostContext host;
        host.unitCode = u"0101"_s;
        host.workYear = u"2000"_s;
        host.workMonth = u"04"_s;
        host.database = std::make_shared<slp::data::Database>(u"sqlite:"_s + db);
        slp::settings::Store store(home.filePath(u"config/Sl_PAYPRN"_s));
        slp::ScriptedPrompts prompts;
        slp::windows::employee::EmployeeTable table(host, store);
        table.beginOpening();
        table.setShowZeros(showZeros);
        EXPECT_TRUE(table.loadCatalogue(prompts));
        const auto grid = table.buildGrid(prompts);
        QStringList lines;
        if (!grid) return lines;
        for (int r = 0; r < grid->rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < grid->cols(); ++c) cells << grid->text(r, c);
            lines << cells.join(u'\t');
        }
        return lines;
    }

    QTemporaryDir home;
    QString db;
};

TEST_F(EmployeeCli, TheGridIsTheWindowsGridCaptionRowFirst) {
    CliResult r = run({u"grid"_s, u"employee"_s, u"--db"_s, db});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines, windowGrid(true));
    ASSERT_EQ(lines.size(), 32);
    EXPECT_TRUE(lines.front().startsWith(u"序号\t部门\t工号\t姓名\t"_s));
    EXPECT_TRUE(lines.back().startsWith(u"合计\t\t\t共30人\t"_s));

    r = run({u"grid"_s, u"employee"_s, u"--db"_s, db, u"--hide-zeros"_s});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.split(u'\n', Qt::SkipEmptyParts), windowGrid(false));
    EXPECT_NE(r.out.split(u'\n', Qt::SkipEmptyParts), lines);
}

TEST_F(EmployeeCli, TheGridGoesToATextFileOrAWorkbook) {
    const QString tsv = home.filePath(u"g.tsv"_s);
    ASSERT_EQ(run({u"grid"_s, u"employee"_s, u"--db"_s, db, u"--out"_s, tsv}).code, 0);
    QFile file(tsv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts), windowGrid(true));

    const QString xlsx = home.filePath(u"g.xlsx"_s);
    CliResult r = run({u"grid"_s, u"employee"_s, u"--db"_s, db, u"--out"_s, xlsx});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    ASSERT_TRUE(QFile::exists(xlsx));
    if (!QStandardPaths::findExecutable(u"unzip"_s).isEmpty()) {
        QProcess unzip;
        unzip.start(u"unzip"_s, {u"-p"_s, xlsx, u"xl/worksheets/sheet1.xml"_s});  // texts are inline
        unzip.waitForFinished();
        const QString strings = QString::fromUtf8(unzip.readAllStandardOutput());
        EXPECT_TRUE(strings.contains(u"合计"_s));
        EXPECT_TRUE(strings.contains(u"共30人"_s));
        // Amounts are number cells of two decimals ("0.00" is style 2), 工号 stays a text.
        EXPECT_TRUE(strings.contains(QRegularExpression(uR"(<c r="[A-Z]+2" s="2"><v>\d+\.\d\d</v></c>)"_s)));
        EXPECT_TRUE(strings.contains(u"<t>0001</t>"_s));
    }
    EXPECT_EQ(run({u"grid"_s, u"employee"_s, u"--db"_s, db, u"--out"_s, home.filePath(u"g.csv"_s)}).code, 2);
}

TEST_F(EmployeeCli, SystemMessagesGoToStderrWithStatusOne) {
    CliResult r = run({u"grid"_s, u"employee"_s, u"--db"_s, db, u"--month"_s, u"2000-05"_s});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(u"未找到本月计算公,请先设置本月公式!"_s)) << r.err.toStdString();
    r = run({u"grid"_s, u"employee"_s, u"--db"_s, home.filePath(u"nosuch.db"_s)});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(u"错误号:"_s)) << r.err.toStdString();
}

TEST_F(EmployeeCli, TheWageTableAndSlipsArePrintedAPageAFile) {
    const QString table = home.filePath(u"table"_s);
    CliResult r = run({u"print"_s, u"wage-table"_s, u"--db"_s, db, u"--pdf-dir"_s, table});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList files = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(files.isEmpty());
    EXPECT_EQ(QDir(table).entryList({u"job-*.pdf"_s}, QDir::Files).size(), files.size());

    const QString one = home.filePath(u"one"_s);
    r = run(
        {u"print"_s, u"slips"_s, u"--db"_s, db, u"--pdf-dir"_s, one, u"--from"_s, u"2"_s, u"--to"_s, u"2"_s});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    ASSERT_EQ(r.out.split(u'\n', Qt::SkipEmptyParts).size(), 1);
    if (!QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty()) {
        QProcess text;
        text.start(u"pdftotext"_s, {r.out.trimmed(), u"-"_s});
        text.waitForFinished();
        const QString page = QString::fromUtf8(text.readAllStandardOutput());
        EXPECT_TRUE(page.contains(u"单位名称:朔岚示范公司"_s)) << page.toStdString();
    }
    EXPECT_EQ(run({u"print"_s, u"slips"_s, u"--db"_s, db}).code, 2);
    EXPECT_EQ(
        run({u"print"_s, u"slips"_s, u"--db"_s, db, u"--pdf-dir"_s, one, u"--font-size"_s, u"30"_s}).code, 2);
}

}  // namespace

namespace {

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// One employee's slip printed again by 工号 or 姓名; a key that finds nobody, or a name two employees
// share, prints nothing and says why.
TEST_F(EmployeeCli, OneEmployeesSlipIsPrintedAgainByNumberOrName) {
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty()) GTEST_SKIP() << "pdftotext missing";
    const QString one = home.filePath(u"one.pdf"_s);
    CliResult r = run({u"print"_s, u"slips"_s, u"--db"_s, db, u"--only"_s, u"0003"_s, u"--one-file"_s, one});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QString text = pdfText(one);
    EXPECT_TRUE(text.contains(u"王 芳"_s) || text.contains(u"王芳"_s)) << text.toStdString();
    EXPECT_FALSE(text.contains(u"李娜"_s)) << text.toStdString();

    const QString two = home.filePath(u"two.pdf"_s);
    r = run({u"print"_s, u"slips"_s, u"--db"_s, db, u"--only"_s, u"王芳"_s, u"--only"_s, u"2"_s,
             u"--one-file"_s, two});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    text = pdfText(two);
    EXPECT_TRUE(text.contains(u"李娜"_s)) << text.toStdString();

    const QString none = home.filePath(u"none.pdf"_s);
    r = run({u"print"_s, u"slips"_s, u"--db"_s, db, u"--only"_s, u"赵六六"_s, u"--only"_s, u"0003"_s,
             u"--one-file"_s, none});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(u"没有工号或姓名为“赵六六”的员工，未打印任何工资条。"_s))
        << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(none));
    EXPECT_EQ(run({u"print"_s, u"slips"_s, u"--db"_s, db, u"--only"_s, u"2"_s, u"--from"_s, u"1"_s,
                   u"--one-file"_s, none})
                  .code,
              2);
}

}  // namespace
