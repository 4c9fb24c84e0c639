// slpayprn grid query: the grid of the conditional query on the demo database.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "slpayprn_cli.h"

using namespace Qt::StringLiterals;

namespace {

using slp_test::CliResult;

CliResult slpayprn(const QStringList& args, const QTemporaryDir& home) {
    return slp_test::runSlpayprn(args, home.path());
}

TEST(QueryCli, TheGridOfTheQueryAsTabSeparatedText) {
    QTemporaryDir home;
    const QString db = home.filePath(u"w.db"_s);
    ASSERT_EQ(slpayprn({u"demo-db"_s, db, u"--wide"_s, u"--employees"_s, u"30"_s}, home).code, 0);

    // The demo database always has 李娜 (employee 2) and 王 芳 (employee 3).
    CliResult r = slpayprn({u"grid"_s, u"query"_s, u"--db"_s, db, u"--name"_s, u"李娜"_s}, home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(u"序号\t部门\t工号\t姓名\t"_s));
    EXPECT_TRUE(lines[1].startsWith(u"1\t"_s));
    EXPECT_EQ(lines[1].split(u'\t').at(3), u"李娜"_s);
    for (const QString& line : lines) EXPECT_FALSE(line.startsWith(u"合计"_s));  // no totals row

    r = slpayprn({u"grid"_s, u"query"_s, u"--db"_s, db, u"--name"_s, u"王 芳"_s, u"--dept"_s, u">=00"_s},
                 home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1].split(u'\t').at(3), u"王 芳"_s);

    r = slpayprn({u"grid"_s, u"query"_s, u"--db"_s, db, u"--name"_s, u"x' or '1'='1"_s}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(u"未找到满足条件的数据!"_s)) << r.err.toStdString();

    EXPECT_EQ(slpayprn({u"grid"_s, u"query"_s, u"--db"_s, db}, home).code, 2);
    EXPECT_EQ(slpayprn({u"grid"_s, u"query"_s, u"--db"_s, db, u"--name"_s, u"  "_s}, home).code, 2);
}

}  // namespace
