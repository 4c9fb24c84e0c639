// The print commands' output on a fresh machine: the default demo month prints as a framed table and as
// slips, in one file or a file a job, on the paper chosen; a slip file per employee with safe names.
#include "print_output.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "slips_per_employee.h"
#include "slpayprn_cli.h"

using namespace Qt::StringLiterals;

namespace {

using slp_test::CliResult;

// slpayprn in a fresh home: no database (the default demo month is made), no settings.
CliResult slpayprn(const QStringList& args, const QString& home) {
    return slp_test::runSlpayprn(args, home);
}

QString tool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool havePoppler() {
    return !QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty() &&
           !QStandardPaths::findExecutable(u"pdfinfo"_s).isEmpty();
}

int pageCount(const QString& pdf) {
    const auto m = QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(tool(u"pdfinfo"_s, {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString pageText(const QString& pdf, int page) {
    return tool(u"pdftotext"_s,
                {u"-layout"_s, u"-f"_s, QString::number(page), u"-l"_s, QString::number(page), pdf, u"-"_s});
}

TEST(DefaultDemoPrinting, WageTableIsAFramedTableWithItsClosingLinesOnTheLastPage) {
    if (!havePoppler()) GTEST_SKIP() << "pdftotext/pdfinfo not installed";
    QTemporaryDir home;
    const QString file = home.filePath(u"table.pdf"_s);
    const CliResult r = slpayprn({u"print"_s, u"wage-table"_s, u"--one-file"_s, file}, home.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QDir(home.path()).filePath(u"table.pdf"_s));
    const int pages = pageCount(file);
    ASSERT_GT(pages, 1);
    const QString first = pageText(file, 1);
    // A table: the caption row once, then a row of values a line for every employee of the page.
    EXPECT_EQ(first.count(u"基本工资"_s), 1) << first.toStdString();
    EXPECT_TRUE(first.contains(u"工资签收联"_s));
    EXPECT_TRUE(first.contains(u"李娜"_s) || first.contains(u"序号"_s));
    const QString last = pageText(file, pages);
    for (const QString& label : {u"财务主管:"_s, u"复核:"_s, u"制单:"_s, u"发薪日期:"_s, u"共200人"_s}) {
        EXPECT_TRUE(last.contains(label)) << label.toStdString() << "\n" << last.toStdString();
    }
    // A4 portrait, the remembered paper of a fresh machine.
    EXPECT_TRUE(tool(u"pdfinfo"_s, {file}).contains(u"595 x 842"_s));
}

TEST(DefaultDemoPrinting, SlipsAreSlipsOfOneCaptionLineAndOneValueLineAndNoEmployeeIsLost) {
    if (!havePoppler()) GTEST_SKIP() << "pdftotext/pdfinfo not installed";
    QTemporaryDir home;
    const QString file = home.filePath(u"slips.pdf"_s);
    const CliResult r = slpayprn({u"print"_s, u"slips"_s, u"--one-file"_s, file}, home.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QString text = tool(u"pdftotext"_s, {u"-layout"_s, file, u"-"_s});
    // Every caption line holds the whole catalogue, from 部门 to 实发工资.
    int captionLines = 0;
    for (const QString& line : text.split(u'\n')) {
        if (line.contains(u"姓名"_s)) {
            EXPECT_TRUE(line.contains(u"部门"_s) && line.contains(u"实发工资"_s)) << line.toStdString();
            ++captionLines;
        }
    }
    EXPECT_GE(captionLines, 200);  // a slip for each of the 200 employees (and the totals)
    EXPECT_TRUE(text.contains(u"李娜"_s));
    EXPECT_TRUE(text.contains(u"共200人"_s));
}

TEST(DefaultDemoPrinting, PaymentTableTooWideForPortraitIsPrintedLandscapeAndSaysSo) {
    if (!havePoppler()) GTEST_SKIP() << "pdftotext/pdfinfo not installed";
    QTemporaryDir home;
    const QString file = home.filePath(u"payment.pdf"_s);
    const CliResult r = slpayprn({u"print"_s, u"payment"_s, u"--one-file"_s, file}, home.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(u"是否仍然打印"_s)) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u"A4纸纵向放不下，已改为横向打印。"_s)) << r.err.toStdString();
    EXPECT_TRUE(tool(u"pdfinfo"_s, {file}).contains(u"842 x 595"_s));
    EXPECT_TRUE(pageText(file, 1).contains(QRegularExpression(u"签\\s+收"_s)))
        << pageText(file, 1).toStdString();
}

TEST(PrintOutputOptions, ThePaperThatHoldsATable) {
    const slp::app::PrintPaper a4{QPageSize(QPageSize::A4), QPageLayout::Portrait};
    EXPECT_EQ(slp::app::orientationHolding(11906, a4), QPageLayout::Portrait);
    EXPECT_EQ(slp::app::orientationHolding(11907, a4), QPageLayout::Landscape);
    EXPECT_EQ(slp::app::orientationHolding(16839, a4), std::nullopt);
    EXPECT_EQ(slp::app::isoPaperHolding(16838), u"A4"_s);
    EXPECT_EQ(slp::app::isoPaperHolding(28000), u"A2"_s);
    EXPECT_TRUE(slp::app::isoPaperHolding(1e6f).isEmpty());
}

TEST(PrintOutputOptions, PaperOrientationAndFilesAsAsked) {
    if (!havePoppler()) GTEST_SKIP() << "pdftotext/pdfinfo not installed";
    QTemporaryDir home;
    struct Case {
        QStringList args;
        QString size;
    };
    for (const Case& c :
         {Case{{u"--paper"_s, u"A3"_s, u"--landscape"_s}, u"1191 x 842"_s},
          Case{{u"--paper"_s, u"letter"_s}, u"612 x 792"_s}, Case{{u"--landscape"_s}, u"842 x 595"_s}}) {
        const QString file = home.filePath(u"p.pdf"_s);
        const CliResult r =
            slpayprn(QStringList{u"print"_s, u"summary"_s, u"--one-file"_s, file} + c.args, home.path());
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(tool(u"pdfinfo"_s, {file}).contains(c.size)) << c.args.join(u' ').toStdString();
    }
    // A file a job stays the default: a file a page.
    const QString dir = home.filePath(u"jobs"_s);
    const CliResult jobs = slpayprn({u"print"_s, u"wage-table"_s, u"--pdf-dir"_s, dir}, home.path());
    ASSERT_EQ(jobs.code, 0) << jobs.err.toStdString();
    const QStringList files = QDir(dir).entryList({u"job-*.pdf"_s}, QDir::Files);
    EXPECT_GT(files.size(), 1);
    EXPECT_EQ(jobs.out.trimmed().split(u'\n').size(), files.size());
    for (const QString& f : files) EXPECT_EQ(pageCount(QDir(dir).filePath(f)), 1) << f.toStdString();
}

TEST(PrintOutputOptions, WrongOutputLinesExitWithStatusTwo) {
    QTemporaryDir home;
    for (const QStringList& args :
         {QStringList{u"print"_s, u"wage-table"_s},
          QStringList{u"print"_s, u"wage-table"_s, u"--one-file"_s, u"a.txt"_s},
          QStringList{u"print"_s, u"summary"_s, u"--one-file"_s, u"a.pdf"_s, u"--pdf-dir"_s, u"d"_s},
          QStringList{u"print"_s, u"strips"_s, u"--one-file"_s, u"a.pdf"_s, u"--paper"_s, u"Z9"_s,
                      u"--first"_s, u"1"_s, u"--last"_s, u"2"_s},
          QStringList{u"print"_s, u"slips"_s, u"--per-employee"_s, u"d"_s, u"--one-file"_s, u"a.pdf"_s},
          QStringList{u"print"_s, u"wage-table"_s, u"--per-employee"_s, u"d"_s},
          QStringList{u"print"_s, u"slips"_s, u"--per-employee"_s, u"d"_s, u"--to"_s, u"2"_s},
          QStringList{u"print"_s, u"payment"_s, u"--pdf-dir"_s, u"d"_s, u"--paper"_s, u""_s}}) {
        const CliResult r = slpayprn(args, home.path());
        EXPECT_EQ(r.code, 2) << args.join(u' ').toStdString() << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(home.filePath(u"a.pdf"_s)));
}

TEST(SlipsPerEmployee, AFileForEveryEmployeeNamedByNumberAndName) {
    if (!havePoppler()) GTEST_SKIP() << "pdftotext/pdfinfo not installed";
    QTemporaryDir home;
    const QString db = home.filePath(u"w.db"_s);
    ASSERT_EQ(slpayprn({u"demo-db"_s, db, u"--employees"_s, u"12"_s}, home.path()).code, 0);
    const QString dir = home.filePath(u"slips"_s);
    const CliResult r =
        slpayprn({u"--db"_s, db, u"print"_s, u"slips"_s, u"--per-employee"_s, dir}, home.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList files = QDir(dir).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 12);
    EXPECT_TRUE(files.contains(u"0002_李娜.pdf"_s)) << files.join(u' ').toStdString();
    EXPECT_TRUE(files.contains(u"0003_王 芳.pdf"_s));
    for (const QString& f : files) {
        const QString path = QDir(dir).filePath(f);
        EXPECT_EQ(pageCount(path), 1);
        QString text = tool(u"pdftotext"_s, {path, u"-"_s});
        const QString name = f.mid(5).chopped(4).remove(u' ');
        // The employee's own slip and no one else's, no totals.
        EXPECT_TRUE(text.remove(u' ').contains(name)) << f.toStdString();
        EXPECT_FALSE(text.contains(u"人"_s) && text.contains(u"共"_s)) << f.toStdString();
    }
}

TEST(SafeFileNames, UnsafeCharactersBecomeUnderscoresAndNamesStayDistinct) {
    struct Case {
        QString text;
        QString safe;
    };
    for (const Case& c : {Case{u"0001_李娜"_s, u"0001_李娜"_s}, Case{u"a/b\\c"_s, u"a_b_c"_s},
                          Case{u"x:*?\"<>|y"_s, u"x_______y"_s}, Case{u"..hidden"_s, u"hidden"_s},
                          Case{u" 王 芳. "_s, u"王 芳"_s}, Case{u"tab\there"_s, u"tab_here"_s},
                          Case{u"..."_s, u"_"_s}, Case{u""_s, u"_"_s}, Case{u"a\u200Eb"_s, u"a_b"_s}}) {
        EXPECT_EQ(slp::app::safeFileName(c.text), c.safe) << c.text.toStdString();
    }
    const QString longName = QString(300, QChar(u'张'));
    const QString cut = slp::app::safeFileName(longName);
    EXPECT_LE(cut.toUtf8().size(), 200);
    EXPECT_EQ(cut, QString(66, QChar(u'张')));

    QSet<QString> taken;
    EXPECT_EQ(slp::app::slipFileName(u"0001"_s, u"李娜"_s, taken), u"0001_李娜.pdf"_s);
    EXPECT_EQ(slp::app::slipFileName(u" 0001 "_s, u"李娜 "_s, taken), u"0001_李娜 (2).pdf"_s);
    EXPECT_EQ(slp::app::slipFileName(u"0001"_s, u"李娜"_s, taken), u"0001_李娜 (3).pdf"_s);
    EXPECT_EQ(slp::app::slipFileName(u"0002"_s, u"../x"_s, taken), u"0002_.._x.pdf"_s);
}

TEST(SlipsPerEmployee, OneEmployeeGridKeepsCaptionsWidthsAndTheRow) {
    slp::data::WageGrid grid(4, 3);
    grid.setFixedRows(1);
    grid.setFontSize(12);
    for (int c = 0; c < 3; ++c) {
        grid.setColWidth(c, 500 + c * 100);
        grid.setColAlignment(c, int16_t(c + 1));
        for (int r = 0; r < 4; ++r) grid.setText(r, c, u"%1-%2"_s.arg(r).arg(c));
    }
    grid.setRowHeight(2, 444);
    const slp::data::WageGrid one = slp::app::oneEmployeeGrid(grid, 2);
    ASSERT_EQ(one.rows(), 2);
    ASSERT_EQ(one.cols(), 3);
    EXPECT_EQ(one.fontSize(), 12.f);
    EXPECT_EQ(one.fixedRows(), 1);
    EXPECT_EQ(one.rowHeight(1), 444);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(one.text(0, c), u"0-%1"_s.arg(c));
        EXPECT_EQ(one.text(1, c), u"2-%1"_s.arg(c));
        EXPECT_EQ(one.colWidth(c), 500 + c * 100);
        EXPECT_EQ(one.colAlignment(c), c + 1);
    }
}

TEST(ChooseEmployees, ANameTwoEmployeesShareIsToldWithTheirNumbers) {
    slp::data::WageGrid g(4, 3);
    const QStringList rows[] = {{u"序号"_s, u"工号"_s, u"姓名"_s},
                                {u"1"_s, u"0107"_s, u"李娜"_s},
                                {u"2"_s, u"0108"_s, u"李娜"_s},
                                {u"合计"_s, u"共2人"_s, u""_s}};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) g.setText(r, c, rows[r][c]);
    }
    const auto chosen = slp::app::chooseEmployees(g, {u"李娜"_s, u"0108"_s});
    EXPECT_EQ(chosen.rows, QList<int>{2});
    EXPECT_EQ(chosen.problems, QStringList{u"姓名为“李娜”的员工有2名（工号 0107、0108），请用工号指明"_s});
}

}  // namespace
