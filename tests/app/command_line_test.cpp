// The program's command line: wrong lines exit 2 with a message, the demo database command refuses
// to overwrite.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

struct RunResult {
    int code;
    QString out;
    QString err;
};

RunResult slpayprn(const QStringList& args, const QString& dataHome) {
    QProcess p;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_DATA_HOME"_s, dataHome);
    env.insert(u"XDG_CONFIG_HOME"_s, dataHome + u"/config"_s);
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(SLP_BIN_DIR "/slpayprn"), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

TEST(CommandLine, WrongLinesExitWithStatusTwo) {
    QTemporaryDir home;
    for (const QStringList& args :
         {QStringList{u"--bogus"_s}, QStringList{u"nosuch"_s}, QStringList{u"--db"_s},
          QStringList{u"demo-db"_s}, QStringList{u"demo-db"_s, u"x.db"_s, u"--employees"_s, u"many"_s},
          QStringList{u"host"_s, u"extra"_s}}) {
        const RunResult r = slpayprn(args, home.path());
        EXPECT_EQ(r.code, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(u"slpayprn: "_s)) << r.err.toStdString();
    }
}

TEST(CommandLine, HelpListsEveryCommandAndGlobalOption) {
    QTemporaryDir home;
    const RunResult r = slpayprn({u"--help"_s}, home.path());
    EXPECT_EQ(r.code, 0);
    for (const char16_t* word : {u"slpayprn host", u"slpayprn demo-db", u"--db", u"--unit", u"--unit-name",
                                 u"--month", u"--payday"}) {
        EXPECT_TRUE(r.out.contains(QString::fromUtf16(word))) << QString::fromUtf16(word).toStdString();
    }
}

TEST(CommandLine, ACommandsHelpTellsThatCommandOnly) {
    QTemporaryDir home;
    const struct {
        QStringList args;
        const char16_t* usage;
        const char16_t* option;  // one of its own options
    } cases[] = {
        {{u"demo-db"_s, u"--help"_s}, u"用法：slpayprn demo-db", u"--employees"},
        {{u"--help"_s, u"print"_s, u"slips"_s}, u"用法：slpayprn print slips", u"--one-file"},
    };
    for (const auto& c : cases) {
        const RunResult r = slpayprn(c.args, home.path());
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(QString::fromUtf16(c.usage))) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains(QString::fromUtf16(c.option))) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains(u"--payday"_s));  // the global options too
        EXPECT_FALSE(r.out.contains(u"slpayprn grid employee"_s)) << r.out.toStdString();
    }
}

TEST(CommandLine, APayDayTheMonthDoesNotHaveIsRefused) {
    QTemporaryDir home;
    for (const QString& day : {u"40"_s, u"abc"_s, u"31"_s}) {
        const RunResult r = slpayprn({u"grid"_s, u"summary"_s, u"--payday"_s, day}, home.path());
        EXPECT_EQ(r.code, 2) << day.toStdString();
        EXPECT_TRUE(r.err.contains(u"--payday：发薪日应为2000-04的第1到30日"_s)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(CommandLine, DemoDatabaseIsWrittenOnceAndNotOverwritten) {
    QTemporaryDir home;
    const QString file = home.filePath(u"w.db"_s);
    const RunResult first =
        slpayprn({u"demo-db"_s, file, u"--employees"_s, u"20"_s, u"--month"_s, u"2001-02"_s}, home.path());
    EXPECT_EQ(first.code, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains(u"20名员工"_s)) << first.out.toStdString();
    EXPECT_TRUE(first.out.contains(u"2001-02"_s));
    const RunResult again = slpayprn({u"demo-db"_s, file}, home.path());
    EXPECT_EQ(again.code, 1);
    EXPECT_FALSE(again.err.isEmpty());
    const RunResult replaced =
        slpayprn({u"demo-db"_s, file, u"--replace"_s, u"--employees"_s, u"3"_s}, home.path());
    EXPECT_EQ(replaced.code, 0) << replaced.err.toStdString();
}

}  // namespace
