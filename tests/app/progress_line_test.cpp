// The command line's progress line: nothing off a terminal or in the first second, redrawn in place at
// most five times a second, erased at the end; and a print command's refusal of a document whose pages a
// 16-bit page number cannot count.
#include "progress_line.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "print_commands.h"
#include "slpayprn_cli.h"

using namespace Qt::StringLiterals;

namespace {

struct Step {
    int64_t at;           // the clock when the text is shown, or -1: clear the line
    const char* text;     // shown at `at`
    const char* written;  // what the line wrote then ("" nothing)
};

struct Case {
    const char* name;
    bool terminal;
    std::vector<Step> steps;
};

TEST(ProgressLineOnTerminal, DrawsLateAndSeldomAndErasesItself) {
    const std::vector<Case> cases{
        {"off a terminal nothing is written",
         false,
         {{5000, "已读取 16384 行", ""}, {9000, "已写入 3 页", ""}, {-1, nullptr, ""}}},
        {"the first second stays quiet", true, {{0, "a", ""}, {999, "b", ""}, {-1, nullptr, ""}}},
        {"after a second the text is drawn in place",
         true,
         {{1000, "已读取 16384 行", "\r已读取 16384 行\x1b[K"}, {-1, nullptr, "\r\x1b[K"}}},
        {"redrawn at most every 200 ms",
         true,
         {{1500, "a", "\ra\x1b[K"},
          {1600, "b", ""},
          {1699, "c", ""},
          {1700, "d", "\rd\x1b[K"},
          {-1, nullptr, "\r\x1b[K"},
          {-1, nullptr, ""}}},
        {"a line cleared is drawn again at once",
         true,
         {{2000, "a", "\ra\x1b[K"}, {-1, nullptr, "\r\x1b[K"}, {2001, "b", "\rb\x1b[K"}}},
    };
    for (const Case& c : cases) {
        int64_t now = 0;
        QByteArray out;
        slp::app::ProgressLine line(
            c.terminal, [&](const QByteArray& bytes) { out += bytes; }, [&] { return now; });
        for (const Step& s : c.steps) {
            out.clear();
            if (s.at < 0) {
                line.clear();
            } else {
                now = s.at;
                line.show(QString::fromUtf8(s.text));
            }
            EXPECT_EQ(out, QByteArray(s.written)) << c.name << " at " << s.at;
        }
    }
}

TEST(ProgressLineOnTerminal, ErasesTheLineWhenItGoes) {
    int64_t now = 0;
    QByteArray out;
    {
        slp::app::ProgressLine line(
            true, [&](const QByteArray& bytes) { out += bytes; }, [&] { return now; });
        now = 1200;
        line.show(slp::app::pagesWrittenProgress(250));
    }
    EXPECT_EQ(out, QByteArray("\r已写入 250 页\x1b[K\r\x1b[K"));
    EXPECT_EQ(slp::app::rowsReadProgress(16384), u"已读取 16384 行"_s);
}

// 每页行数 1 puts a row on a page: 33,000 employees and the totals row need 33,001 pages, more than a
// 16-bit page number holds. The last pages print, numbered as they are.
TEST(PrintCommandLimits, MorePagesThanA16BitPageNumberArePrinted) {
    QTemporaryDir home;
    const QString db = home.filePath(u"w.db"_s);
    ASSERT_EQ(slp_test::runSlpayprn({u"demo-db"_s, db, u"--employees"_s, u"33000"_s}, home.path()).code, 0);
    QDir().mkpath(home.filePath(u"config/Sl_PAYPRN"_s));
    QFile ini(home.filePath(u"config/Sl_PAYPRN/Sl_PAYPRN.ini"_s));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[打印设置]\n每页行数=1\n");
    ini.close();
    const QString pdf = home.filePath(u"table.pdf"_s);
    const slp_test::CliResult r =
        slp_test::runSlpayprn({u"--db"_s, db, u"print"_s, u"wage-table"_s, u"--one-file"_s, pdf, u"--from"_s,
                               u"33000"_s, u"--to"_s, u"40000"_s},
                              home.path());
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    QProcess text;
    text.start(u"pdftotext"_s, {pdf, u"-"_s});
    if (text.waitForStarted() && text.waitForFinished(60000)) {
        const QString shown = QString::fromUtf8(text.readAllStandardOutput());
        EXPECT_TRUE(shown.contains(u"第33000页"_s) && shown.contains(u"第33001页"_s)) << shown.toStdString();
        EXPECT_FALSE(shown.contains(u"第33002页"_s));
    }
}

}  // namespace
