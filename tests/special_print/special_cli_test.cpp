// The command line of the special print: the layout shown and stored, the print's files, its errors
// and wrong options.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "slpayprn_cli.h"

using namespace Qt::StringLiterals;

namespace {

using slp_test::CliResult;

class SpecialCli : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        db = home.filePath(u"w.db"_s);
        ASSERT_EQ(run({u"demo-db"_s, db, u"--employees"_s, u"10"_s, u"--wide"_s}).code, 0);  // 28 items
    }
    CliResult run(QStringList args) {
        if (args.front() != u"demo-db"_s) args = QStringList{u"--db"_s, db} + args;
        return slp_test::runSlpayprn(args, home.path());
    }
    QString path(const QString& name) const { return home.filePath(name); }
    QTemporaryDir home;
    QString db;
};

const QString kCaption = u"项目名称\tX坐标\tY坐标\t序号\t位置\t是否打印名称\n"_s;

TEST_F(SpecialCli, ShowSaveAndShowAgain) {
    EXPECT_EQ(run({u"layout"_s, u"show"_s}).out, kCaption);
    const CliResult saved = run({u"layout"_s, u"save"_s});
    EXPECT_EQ(saved.code, 0);
    EXPECT_TRUE(saved.err.contains(u"你所做的设置已存盘确认!"_s));
    const QStringList lines = run({u"layout"_s, u"show"_s}).out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + 28 + 1);  // the demo month's 28 items and the pay date
    EXPECT_EQ(lines[1], u"部门\t1000\t700\t0\t0\tFalse"_s);
    EXPECT_TRUE(lines[7].endsWith(u"\t1000\t1600\t6\t0\tFalse"_s)) << lines[7].toStdString();
    EXPECT_TRUE(lines.last().startsWith(u"发薪日期\t"_s));
    EXPECT_TRUE(lines.last().endsWith(u"\t28\t0\tFalse"_s));
}

TEST_F(SpecialCli, SaveFromAFileRenumbersAndRefusesBadRows) {
    QFile f(path(u"l.tsv"_s));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write((kCaption + u"姓名\t100\t200\t7\t3\tTrue\n发薪日期\t300.5\t400\t9\t1\tFalse\n"_s).toUtf8());
    f.close();
    EXPECT_EQ(run({u"layout"_s, u"save"_s, f.fileName()}).code, 0);
    EXPECT_EQ(run({u"layout"_s, u"show"_s}).out,
              kCaption + u"姓名\t100\t200\t0\t3\tTrue\n发薪日期\t300.5\t400\t1\t1\tFalse\n"_s);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write((kCaption + u"姓名\t100\t200\t0\t5\tTrue\n"_s).toUtf8());
    f.close();
    const CliResult bad = run({u"layout"_s, u"save"_s, f.fileName()});
    EXPECT_EQ(bad.code, 2);
    EXPECT_TRUE(bad.err.contains(u"第2行"_s)) << bad.err.toStdString();
    EXPECT_EQ(run({u"layout"_s, u"show"_s}).out.count(u'\n'), 3);  // the old layout stands
}

TEST_F(SpecialCli, PrintWritesAFileAPageOrARecord) {
    EXPECT_EQ(run({u"print"_s, u"special"_s, u"--pdf-dir"_s, path(u"none"_s)}).code, 1);  // no layout
    ASSERT_EQ(run({u"layout"_s, u"save"_s}).code, 0);
    // The default sheet, 18000 twips across, is larger than A4 either way: a record a page at the
    // sheet's size, and the clerk is told.
    const CliResult defaults =
        run({u"print"_s, u"special"_s, u"--pdf-dir"_s, path(u"a"_s), u"--from"_s, u"1"_s, u"--to"_s, u"3"_s});
    EXPECT_EQ(defaults.code, 0) << defaults.err.toStdString();
    EXPECT_TRUE(defaults.err.contains(u"已改为每页打印一张"_s)) << defaults.err.toStdString();
    EXPECT_EQ(QDir(path(u"a"_s)).entryList(QDir::Files).size(), 3);
    const QStringList sheet{u"--sheet-width"_s, u"10"_s, u"--sheet-height"_s, u"7"_s};
    const CliResult several =
        run(QStringList{u"print"_s, u"special"_s, u"--pdf-dir"_s, path(u"b"_s)} + sheet);
    EXPECT_EQ(several.code, 0);
    EXPECT_EQ(several.out.count(u'\n'), 2);  // 10 records, 8 a page
    const CliResult one = run(QStringList{u"print"_s, u"special"_s, u"--pdf-dir"_s, path(u"c"_s),
                                          u"--one-per-page"_s, u"--from"_s, u"3"_s, u"--to"_s, u"5"_s} +
                              sheet);
    EXPECT_EQ(one.code, 0);
    EXPECT_EQ(one.out.count(u'\n'), 3);
    const CliResult beyond = run(QStringList{u"print"_s, u"special"_s, u"--pdf-dir"_s, path(u"d"_s),
                                             u"--from"_s, u"9"_s, u"--to"_s, u"11"_s} +
                                 sheet);
    EXPECT_EQ(beyond.code, 1);
    const CliResult backwards = run(QStringList{u"print"_s, u"special"_s, u"--pdf-dir"_s, path(u"e"_s),
                                                u"--from"_s, u"5"_s, u"--to"_s, u"3"_s} +
                                    sheet);
    EXPECT_EQ(backwards.code, 0);
    EXPECT_TRUE(backwards.out.isEmpty());
    EXPECT_TRUE(backwards.err.contains(u"所选范围（第5号至第3号）内没有可打印的内容（共10号）"_s))
        << backwards.err.toStdString();
    EXPECT_TRUE(QDir(path(u"d"_s)).entryList(QDir::Files).isEmpty());
}

TEST_F(SpecialCli, PositionsAndOffsetsOffThePageAreRefused) {
    const QString good = kCaption + u"姓名\t100\t200\t0\t0\tTrue\n"_s;
    QFile f(path(u"l.tsv"_s));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(good.toUtf8());
    f.close();
    ASSERT_EQ(run({u"layout"_s, u"save"_s, f.fileName()}).code, 0);
    const QStringList sheet{u"--sheet-width"_s, u"10"_s, u"--sheet-height"_s, u"10"_s};
    const struct {
        QString row;         // a layout row to save, or
        QStringList offset;  // the offset option of a print
        QString message;
    } cases[] = {
        {u"姓名\t1e39\t200\t0\t0\tTrue"_s, {}, u"版面文件第2行：X坐标超出纸张范围"_s},
        {u"姓名\t-1e30\t200\t0\t0\tTrue"_s, {}, u"版面文件第2行：X坐标超出纸张范围"_s},
        {u"姓名\t100\t1e400\t0\t0\tTrue"_s, {}, u"版面文件第2行：Y坐标超出纸张范围"_s},
        {u"姓名\t100\t170101\t0\t0\tTrue"_s, {}, u"版面文件第2行：Y坐标超出纸张范围"_s},
        {{}, {u"--offset-x"_s, u"1e30"_s}, u"--offset-x 应为毫米数"_s},
        {{}, {u"--offset-x"_s, u"1e400"_s}, u"--offset-x 应为毫米数"_s},
        {{}, {u"--offset-y"_s, u"-1e20"_s}, u"--offset-y 应为毫米数"_s},
        {{}, {u"--offset-y"_s, u"3001"_s}, u"--offset-y 应为毫米数"_s},
    };
    for (const auto& c : cases) {
        CliResult r;
        if (!c.row.isEmpty()) {
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write((kCaption + c.row + u'\n').toUtf8());
            f.close();
            r = run({u"layout"_s, u"save"_s, f.fileName()});
        } else {
            r = run(QStringList{u"print"_s, u"special"_s, u"--pdf-dir"_s, path(u"out"_s)} + sheet + c.offset);
        }
        const std::string name = (c.row + c.offset.join(u' ')).toStdString();
        EXPECT_EQ(r.code, 2) << name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << name << ": " << r.err.toStdString();
        EXPECT_EQ(run({u"layout"_s, u"show"_s}).out, good) << name;  // the stored layout stands
        EXPECT_FALSE(QDir(path(u"out"_s)).exists()) << name;
    }
    // The edge of the range still prints.
    const CliResult edge = run(QStringList{u"print"_s, u"special"_s, u"--pdf-dir"_s, path(u"out"_s)} + sheet +
                               QStringList{u"--offset-x"_s, u"-3000"_s});
    EXPECT_EQ(edge.code, 0) << edge.err.toStdString();
}

TEST_F(SpecialCli, WrongOptionsExitTwo) {
    const QList<QStringList> wrong{
        {u"print"_s, u"special"_s},
        {u"print"_s, u"special"_s, u"--pdf-dir"_s, u"x"_s, u"--from"_s, u"2"_s},
        {u"print"_s, u"special"_s, u"--pdf-dir"_s, u"x"_s, u"--sheet-width"_s, u"1.5"_s},
        {u"print"_s, u"special"_s, u"--pdf-dir"_s, u"x"_s, u"--offset-x"_s, u"left"_s},
        {u"print"_s, u"special"_s, u"--pdf-dir"_s, u"x"_s, u"--bogus"_s},
        {u"layout"_s, u"show"_s, u"extra"_s},
        {u"layout"_s, u"save"_s, u"a.tsv"_s, u"b.tsv"_s},
    };
    for (const QStringList& args : wrong) EXPECT_EQ(run(args).code, 2) << args.join(u' ').toStdString();
}

}  // namespace
