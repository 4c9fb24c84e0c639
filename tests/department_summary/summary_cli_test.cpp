// The command line on the department summary: the grid as the window fills it, as text or a workbook,
// the 班组汇总联 printed as the preview prints it, and the system's messages on stderr.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "app/department_summary/department_summary.h"
#include "basic/scripted_prompts.h"
#include "data/database.h"
#include "data/host_context.h"
#include "slpayprn_cli.h"

using namespace Qt::StringLiterals;

namespace {

using slp_test::CliResult;

class SummaryCli : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        db = home.filePath(u"w.db"_s);
        ASSERT_EQ(run({u"demo-db"_s, db, u"--wide"_s, u"--employees"_s, u"40"_s}).code, 0);
    }
    CliResult run(const QStringList& args) { return slp_test::runSlpayprn(args, home.path()); }
    // The grid the window's logic fills from the same database, as lines of tab-separated cells.
    QStringList windowGrid() {
        slp::HostContext host;
        host.unitCode = u"0101"_s;
        host.workYear = u"2000"_s;
        host.workMonth = u"04"_s;
        host.database = std::make_shared<slp::data::Database>(u"sqlite:"_s + db);
        slp::ScriptedPrompts prompts;
        slp::windows::summary::DepartmentSummary summary(host);
        summary.beginOpening();
        summary.readCodeLength();
        EXPECT_TRUE(summary.loadCatalogue(prompts));
        const auto grid = summary.buildGrid(prompts);
        QStringList lines;
        if (!grid) return lines;
        for (int r = 0; r < grid->rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < grid->cols(); ++c) cells << grid->text(r, c);
            lines << cells.join(u'\t');
        }
        return lines;
    }
    // Empties the department table of the database.
    void emptyDepartments() {
        slp::data::Database d(u"sqlite:"_s + db);
        d.executeNative(u"DELETE FROM \"11部门信息\""_s);
    }

    QTemporaryDir home;
    QString db;
};

TEST_F(SummaryCli, TheGridIsTheWindowsGridCaptionRowFirst) {
    const CliResult r = run({u"grid"_s, u"summary"_s, u"--db"_s, db});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines, windowGrid());
    // Captions, one line per department with wages this month, totals.
    slp::data::Database d(u"sqlite:"_s + db);
    auto departments =
        d.openNative(u"SELECT count(DISTINCT substr(\"部门号\", 1, 2)) FROM \"16工资输出数据\""_s);
    ASSERT_EQ(lines.size(), departments.number(0) + 2);
    EXPECT_TRUE(lines.front().startsWith(u"序号\t部门\t人数\t基本工资\t"_s));
    EXPECT_TRUE(lines.back().startsWith(u"\t\t共40人\t"_s));
}

TEST_F(SummaryCli, TheGridGoesToATextFileOrAWorkbook) {
    const QString tsv = home.filePath(u"summary.tsv"_s);
    const QString xlsx = home.filePath(u"summary.xlsx"_s);
    ASSERT_EQ(run({u"grid"_s, u"summary"_s, u"--db"_s, db, u"--out"_s, tsv}).code, 0);
    ASSERT_EQ(run({u"grid"_s, u"summary"_s, u"--db"_s, db, u"--out"_s, xlsx}).code, 0);
    QFile text(tsv);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(text.readAll()).split(u'\n', Qt::SkipEmptyParts), windowGrid());
    QFile book(xlsx);
    ASSERT_TRUE(book.open(QIODevice::ReadOnly));
    EXPECT_TRUE(book.read(2) == "PK");  // a zip package

    const CliResult wrong =
        run({u"grid"_s, u"summary"_s, u"--db"_s, db, u"--out"_s, home.filePath(u"x.txt"_s)});
    EXPECT_EQ(wrong.code, 2);
    EXPECT_TRUE(wrong.err.contains(u"--out"_s));
}

TEST_F(SummaryCli, PrintingWritesOnePdfAPage) {
    const QString dir = home.filePath(u"pdf"_s);
    const CliResult r = run({u"print"_s, u"summary"_s, u"--db"_s, db, u"--pdf-dir"_s, dir});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList files = QDir(dir).entryList({u"job-*.pdf"_s}, QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    EXPECT_EQ(r.out.split(u'\n', Qt::SkipEmptyParts).size(), files.size());
    QFile first(QDir(dir).filePath(files.front()));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_TRUE(first.read(5) == "%PDF-");

    // Only the first page.
    const QString one = home.filePath(u"one"_s);
    const CliResult page = run({u"print"_s, u"summary"_s, u"--db"_s, db, u"--pdf-dir"_s, one, u"--from"_s,
                                u"1"_s, u"--to"_s, u"1"_s, u"--font-size"_s, u"6"_s});
    ASSERT_EQ(page.code, 0) << page.err.toStdString();
    EXPECT_EQ(QDir(one).entryList({u"job-*.pdf"_s}, QDir::Files).size(), 1);

    EXPECT_EQ(run({u"print"_s, u"summary"_s, u"--db"_s, db}).code, 2);  // no --pdf-dir
    EXPECT_EQ(
        run({u"print"_s, u"summary"_s, u"--db"_s, db, u"--pdf-dir"_s, one, u"--font-size"_s, u"18"_s}).code,
        2);
}

TEST_F(SummaryCli, AMonthWithoutDepartmentsEndsWithTheSystemsMessage) {
    emptyDepartments();
    const CliResult grid = run({u"grid"_s, u"summary"_s, u"--db"_s, db});
    EXPECT_EQ(grid.code, 1);
    EXPECT_TRUE(grid.out.isEmpty());
    EXPECT_TRUE(grid.err.contains(u"未找到数据,请确定是否计算过!"_s)) << grid.err.toStdString();

    const QString dir = home.filePath(u"pdf"_s);
    const CliResult print = run({u"print"_s, u"summary"_s, u"--db"_s, db, u"--pdf-dir"_s, dir});
    EXPECT_EQ(print.code, 1);
    EXPECT_TRUE(print.err.contains(u"未找到数据,请确定是否计算过!"_s));
    EXPECT_TRUE(QDir(dir).entryList({u"job-*.pdf"_s}, QDir::Files).isEmpty());
}

TEST_F(SummaryCli, AnotherMonthOrAMissingDatabaseIsReported) {
    const CliResult month = run({u"grid"_s, u"summary"_s, u"--db"_s, db, u"--month"_s, u"2000-05"_s});
    EXPECT_EQ(month.code, 1);
    EXPECT_TRUE(month.err.contains(u"未找到本月计算公,请先设置本月公式!"_s)) << month.err.toStdString();

    const CliResult missing = run({u"grid"_s, u"summary"_s, u"--db"_s, home.filePath(u"none.db"_s)});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains(u"错误号:"_s)) << missing.err.toStdString();
}

}  // namespace
