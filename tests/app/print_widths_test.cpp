// Items of 打印宽度 0, empty or negative are kept off every printed report as if the month did not have
// them, and a month where no item has a print width prints nothing and says where to set one.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "slpayprn_cli.h"

using namespace Qt::StringLiterals;

namespace {

bool runSql(const QString& db, const QString& sql) {
    QProcess p;
    p.start(u"sqlite3"_s, {db, u"pragma ignore_check_constraints = on; "_s + sql});
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Three amount items after the third, of widths 0, empty and -8, with values in every row: a month that
// prints exactly as the same month without them.
const char16_t kHideThreeItems[] =
    u"update \"14工资输出及公式\" set 项目序号 = 项目序号 * 10;"
    u"insert into \"14工资输出及公式\" (工作年月, 项目序号, 项目名称, 小数位数, 打印宽度, 计算公式) "
    u"select 工作年月, 35, '备用甲', 2, 0, '' from \"14工资输出及公式\" where 项目序号 = 10 union all "
    u"select 工作年月, 36, '备用乙', 2, '', '' from \"14工资输出及公式\" where 项目序号 = 10 union all "
    u"select 工作年月, 37, '备用丙', 0, -8, '' from \"14工资输出及公式\" where 项目序号 = 10;"
    u"alter table \"16工资输出数据\" add column 备用甲 real;"
    u"alter table \"16工资输出数据\" add column 备用乙 real;"
    u"alter table \"16工资输出数据\" add column 备用丙 real;"
    u"update \"16工资输出数据\" set 备用甲 = 98765.43, 备用乙 = 1234.5, 备用丙 = 77;";

// The words of a PDF with their boxes, less the print time of the payment table's foot (it has seconds).
QStringList wordBoxes(const QString& pdf) {
    QProcess p;
    p.start(u"pdftotext"_s, {u"-bbox"_s, pdf, u"-"_s});
    if (!p.waitForFinished(60000)) return {u"pdftotext did not finish"_s};
    static const QRegularExpression clock(u">\\d{1,2}:\\d{2}:\\d{2}<"_s);
    QStringList words;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n')) {
        if (line.contains(u"<word "_s) && !line.contains(clock)) words << line.trimmed();
    }
    return words;
}

// Empty when the lists are equal, else their first difference.
QString firstDifference(const QStringList& expected, const QStringList& got) {
    for (qsizetype i = 0; i < std::max(expected.size(), got.size()); ++i) {
        if (expected.value(i) != got.value(i)) {
            return u"word %1: expected %2, got %3"_s.arg(i).arg(expected.value(i), got.value(i));
        }
    }
    return {};
}

struct Document {
    const char* name;
    bool wide;  // on the wide month: the table and its slips wrapped
    QStringList command;
};

const Document kDocuments[] = {
    {"table", false, {u"print"_s, u"wage-table"_s}},
    {"slips", false, {u"print"_s, u"slips"_s}},
    {"strips", false, {u"print"_s, u"strips"_s, u"--first"_s, u"1"_s, u"--last"_s, u"4"_s, u"--rules"_s}},
    {"payment", false, {u"print"_s, u"payment"_s}},
    {"wide-table", true, {u"print"_s, u"wage-table"_s}},
    {"wrapped-slips", true, {u"print"_s, u"slips"_s}},
};

class PrintWidths : public ::testing::Test {
  protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(u"sqlite3"_s).isEmpty() ||
            QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty()) {
            GTEST_SKIP() << "sqlite3 or pdftotext not installed";
        }
    }
    // A demo month of 30 employees in the home's folder.
    QString demo(const QString& name, bool wide) {
        const QString db = home.filePath(name);
        QStringList args{u"demo-db"_s, db, u"--employees"_s, u"30"_s};
        if (wide) args << u"--wide"_s;
        const slp_test::CliResult r = slp_test::runSlpayprn(args, home.path());
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        return db;
    }
    slp_test::CliResult print(const QString& db, const QStringList& command, const QString& pdf) {
        return slp_test::runSlpayprn(QStringList{u"--db"_s, db} + command + QStringList{u"--one-file"_s, pdf},
                                     home.path());
    }

    QTemporaryDir home;
};

TEST_F(PrintWidths, HiddenItemsLeaveEveryReportAsWithoutThem) {
    const QString plain = demo(u"plain.db"_s, false), plainWide = demo(u"plain-wide.db"_s, true);
    const QString hidden = demo(u"hidden.db"_s, false), hiddenWide = demo(u"hidden-wide.db"_s, true);
    for (const QString& db : {hidden, hiddenWide})
        ASSERT_TRUE(runSql(db, QString::fromUtf16(kHideThreeItems)));

    for (const Document& d : kDocuments) {
        SCOPED_TRACE(d.name);
        const QString without = home.filePath(QString::fromLatin1(d.name) + u"-without.pdf"_s);
        const QString with = home.filePath(QString::fromLatin1(d.name) + u"-with.pdf"_s);
        const slp_test::CliResult a = print(d.wide ? plainWide : plain, d.command, without);
        const slp_test::CliResult b = print(d.wide ? hiddenWide : hidden, d.command, with);
        ASSERT_EQ(a.code, 0) << a.err.toStdString();
        ASSERT_EQ(b.code, 0) << b.err.toStdString();
        const QStringList expected = wordBoxes(without), got = wordBoxes(with);
        ASSERT_GT(expected.size(), 50);
        // Every word where it was: column edges, the centred title, the page head's right edge, the totals'
        // halves and the foot; and nothing of the hidden items, neither captions nor values.
        EXPECT_EQ(firstDifference(expected, got).toStdString(), "");
        const QString all = got.join(u'\n');
        for (const QString& absent : {u"备用"_s, u"98765"_s, u"1234.5"_s}) EXPECT_FALSE(all.contains(absent));
    }
}

TEST_F(PrintWidths, AMonthWithoutAnyPrintWidthPrintsNothingAndSaysWhereToSetIt) {
    const QString db = demo(u"none.db"_s, false);
    ASSERT_TRUE(runSql(db,
                       u"update \"14工资输出及公式\" set 打印宽度 = case when 项目序号 % 3 = 0 then 0 "
                       u"when 项目序号 % 3 = 1 then '' else -4 end"_s));
    for (const Document& d : kDocuments) {
        if (d.wide) continue;
        SCOPED_TRACE(d.name);
        const QString pdf = home.filePath(u"out/"_s + QString::fromLatin1(d.name) + u".pdf"_s);
        const slp_test::CliResult r = print(db, d.command, pdf);
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains(u"没有可打印的工资项目"_s) && r.err.contains(u"“打印宽度”"_s))
            << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(pdf));
        EXPECT_TRUE(QDir(home.filePath(u"out"_s)).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
}

}  // namespace
