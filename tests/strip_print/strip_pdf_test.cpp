// Strips through the PDF spool printer: one file for the range, one page a strip, pages of 21800 by
// 720 twips, the texts readable; and the same through the command line.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "data/wage_grid.h"
#include "print/pdf_spool_printer.h"
#include "print/reports/strip_report.h"
#include "slpayprn_cli.h"

using namespace Qt::StringLiterals;

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000)) return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool havePopplerTools() {
    return !QStandardPaths::findExecutable(u"pdfinfo"_s).isEmpty() &&
           !QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty();
}

TEST(StripPdf, ARangeBecomesOneFileOfOneStripAPage) {
    if (!havePopplerTools()) GTEST_SKIP() << "pdfinfo / pdftotext not installed";
    QTemporaryDir dir;
    slp::print::PdfSpoolPrinter printer(dir.path());
    slp::data::WageGrid grid(4, 3);
    const QStringList captions{u"序号"_s, u"姓名"_s, u"实发工资"_s};
    for (int c = 0; c < 3; ++c) {
        grid.setText(0, c, captions[c]);
        grid.setColWidth(c, 1200);
    }
    grid.setText(1, 1, u"张三"_s);
    grid.setText(2, 1, u"李四"_s);
    grid.setText(2, 2, u"4551.79"_s);
    grid.setText(3, 1, u"王五"_s);

    EXPECT_EQ(slp::strips::PrintGridStrips(printer, grid, 1, 3, true, 30, 60, 9), 3);
    ASSERT_EQ(printer.writtenFiles().size(), 1);
    const QString file = printer.writtenFiles().front();
    const QString info = run(u"pdfinfo"_s, {file});
    EXPECT_TRUE(info.contains(QRegularExpression(u"Pages:\\s+3\\b"_s))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(u"Page size:\\s+1090 x 36 pts"_s))) << info.toStdString();
    const QString second = run(u"pdftotext"_s, {u"-f"_s, u"2"_s, u"-l"_s, u"2"_s, file, u"-"_s});
    for (const QString& text : {u"姓名"_s, u"实发工资"_s, u"李四"_s, u"4551.79"_s}) {
        EXPECT_TRUE(second.contains(text)) << text.toStdString() << " in " << second.toStdString();
    }
    EXPECT_FALSE(second.contains(u"王五"_s));
}

using slp_test::CliResult;

CliResult slpayprn(const QStringList& args, const QString& home) {
    return slp_test::runSlpayprn(args, home);
}

TEST(StripPdf, TheCommandLinePrintsTheEmployeesAsTheMenuDoes) {
    if (!havePopplerTools()) GTEST_SKIP() << "pdfinfo / pdftotext not installed";
    QTemporaryDir home;
    const QString db = home.filePath(u"w.db"_s);
    ASSERT_EQ(slpayprn({u"demo-db"_s, db, u"--wide"_s, u"--employees"_s, u"12"_s}, home.path()).code, 0);
    const QString pdf = home.filePath(u"strips"_s);

    // Employees 2 to 4: one file of three pages, the second holding employee 3.
    CliResult r = slpayprn({u"print"_s, u"strips"_s, u"--db"_s, db, u"--pdf-dir"_s, pdf, u"--first"_s, u"2"_s,
                            u"--last"_s, u"4"_s, u"--rules"_s},
                           home.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList files = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(files.size(), 1) << r.out.toStdString();
    EXPECT_TRUE(run(u"pdfinfo"_s, {files[0]}).contains(QRegularExpression(u"Pages:\\s+3\\b"_s)));
    const QString grid = slpayprn({u"grid"_s, u"employee"_s, u"--db"_s, db}, home.path()).out;
    const QString third = grid.split(u'\n').at(3).split(u'\t').at(3);  // row 3, 姓名
    const QString page2 = run(u"pdftotext"_s, {u"-f"_s, u"2"_s, u"-l"_s, u"2"_s, files[0], u"-"_s});
    EXPECT_TRUE(page2.simplified().remove(u' ').contains(QString(third).remove(u' ')))
        << third.toStdString() << " / " << page2.toStdString();

    // A last beyond the employees is the last one; a first after the last prints nothing.
    r = slpayprn({u"print"_s, u"strips"_s, u"--db"_s, db, u"--pdf-dir"_s, pdf, u"--first"_s, u"11"_s,
                  u"--last"_s, u"99"_s},
                 home.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(run(u"pdfinfo"_s, {r.out.trimmed()}).contains(QRegularExpression(u"Pages:\\s+2\\b"_s)));
    r = slpayprn({u"print"_s, u"strips"_s, u"--db"_s, db, u"--pdf-dir"_s, pdf, u"--first"_s, u"5"_s,
                  u"--last"_s, u"4"_s},
                 home.path());
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.isEmpty());
    // Wrong lines.
    EXPECT_EQ(slpayprn({u"print"_s, u"strips"_s, u"--db"_s, db, u"--first"_s, u"1"_s, u"--last"_s, u"2"_s},
                       home.path())
                  .code,
              2);
    EXPECT_EQ(slpayprn({u"print"_s, u"strips"_s, u"--db"_s, db, u"--pdf-dir"_s, pdf, u"--first"_s, u"x"_s,
                        u"--last"_s, u"2"_s},
                       home.path())
                  .code,
              2);
}

}  // namespace
