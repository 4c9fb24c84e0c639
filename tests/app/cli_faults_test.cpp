// The command line under faults: a file-size limit (below and above a 16 KiB write buffer), a full
// stdout, host texts that must not reach a query, ranges that print nothing, totals too wide for the
// file. Each checks the exit status, the message and that the folder holds the old file alone, as it was.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

struct Outcome {
    int code;
    QString err;
};

Outcome run(const QTemporaryDir& home, const QStringList& args, qint64 limit = 0, const QString& out = {}) {
    QProcess p;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_DATA_HOME"_s, home.filePath(u"data"_s));
    env.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(out.isEmpty() ? QProcess::nullDevice() : out);
    if (limit > 0) {
        p.setChildProcessModifier([limit] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit r{rlim_t(limit), rlim_t(limit)};
            ::setrlimit(RLIMIT_FSIZE, &r);
        });
    }
    p.start(QStringLiteral(SLP_BIN_DIR "/slpayprn"), args);
    p.waitForFinished(300000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardError())};
}

TEST(CliFaults, EveryFailureIsSaidAndLeavesTheOldFile) {
    QTemporaryDir home;
    const QString db = home.filePath(u"w.db"_s);
    // 1000 employees: a 龙卡 file of about 33 KB, past any write buffer.
    ASSERT_EQ(run(home, {u"demo-db"_s, db, u"--wide"_s, u"--employees"_s, u"1000"_s}).code, 0);
    const QString long_ = u"中国建设银行龙卡"_s;
    const struct {
        const char* name;
        QStringList args;  // "F" is the file in the test's folder, "D" the folder
        qint64 limit;
        QString out;
        int code;
        QString message;
    } cases[] = {
        {"card, limit below the buffer",
         {u"card"_s, u"--type"_s, long_, u"--out"_s, u"F"_s},
         2048,
         {},
         1,
         u"文件过大"_s},
        {"card, limit above the buffer",
         {u"card"_s, u"--type"_s, long_, u"--out"_s, u"F"_s},
         24576,
         {},
         1,
         u"文件过大"_s},
        {"tsv", {u"grid"_s, u"employee"_s, u"--out"_s, u"F.tsv"_s}, 24576, {}, 1, u"文件过大"_s},
        {"pdf",
         {u"print"_s, u"wage-table"_s, u"--pdf-dir"_s, u"D"_s},
         24576,
         {},
         1,
         u"无法写入打印文件“D/job-0001.pdf”（文件过大）"_s},
        {"pdf, one file",
         {u"print"_s, u"slips"_s, u"--one-file"_s, u"F.pdf"_s},
         24576,
         {},
         1,
         u"无法写入打印文件“D/F.pdf”（文件过大）"_s},
        {"full stdout",
         {u"grid"_s, u"employee"_s},
         0,
         u"/dev/full"_s,
         1,
         u"写入标准输出失败（磁盘空间不足）"_s},
        {"month injection",
         {u"--month"_s, u"2000-04' or '1'='1"_s, u"card"_s, u"--type"_s, long_, u"--out"_s, u"F"_s},
         0,
         {},
         2,
         u"--month 应为四位年份"_s},
        {"unit name with a tab",
         {u"--unit-name"_s, u"朔岚\t公司"_s, u"grid"_s, u"employee"_s},
         0,
         {},
         2,
         u"朔岚\\x09公司"_s},
        {"total too wide",
         {u"card"_s, u"--type"_s, u"中国农业银行白玉兰卡"_s, u"--out"_s, u"F"_s, u"--total"_s,
          u"99999999999999999999"_s},
         0,
         {},
         1,
         u"入卡金额“99999999999999999999”写入文件有22位，超出该栏的13位"_s},
        {"a month no calendar has",
         {u"--month"_s, u"2000-13"_s, u"grid"_s, u"employee"_s},
         0,
         {},
         2,
         u"--month 的月份应为1到12，而不是2000-13"_s},
        {"an unknown card type names the ones there are",
         {u"card"_s, u"--type"_s, u"某某卡"_s, u"--out"_s, u"F"_s},
         0,
         {},
         1,
         u"未知文件格式!\n可以输出的工资卡类型：中国建设银行龙卡、中国人民邮政储蓄卡、"_s},
        {"slips backwards",
         {u"print"_s, u"slips"_s, u"--pdf-dir"_s, u"D"_s, u"--from"_s, u"5"_s, u"--to"_s, u"2"_s},
         0,
         {},
         0,
         u"所选范围（第5页至第2页）内没有可打印的内容"_s},
        {"slips past the end",
         {u"print"_s, u"slips"_s, u"--pdf-dir"_s, u"D"_s, u"--from"_s, u"99999"_s},
         0,
         {},
         0,
         u"所选范围（第99999页至第末页）内没有可打印的内容"_s},
        {"strips from zero",
         {u"print"_s, u"strips"_s, u"--pdf-dir"_s, u"D"_s, u"--first"_s, u"0"_s, u"--last"_s, u"5"_s},
         0,
         {},
         0,
         u"所选范围（第0名至第5名）内没有可打印的内容（共1000名员工）"_s},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        QFile old(dir.filePath(u"F"_s));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the previous good file\n");
        old.close();
        QStringList args{u"--db"_s, db};
        for (const QString& a : c.args) {
            args << (a == u"D"_s ? dir.path() : a.startsWith(u'F') ? dir.filePath(a) : a);
        }
        const Outcome r = run(home, args, c.limit, c.out);
        EXPECT_EQ(r.code, c.code) << c.name << ": " << r.err.toStdString();
        const QString message = QString(c.message).replace(u"D/"_s, dir.path() + u'/');
        EXPECT_TRUE(r.err.contains(message)) << c.name << ": " << r.err.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{u"F"_s})
            << c.name;
        QFile after(dir.filePath(u"F"_s));
        EXPECT_TRUE(after.open(QIODevice::ReadOnly) && after.readAll() == "the previous good file\n")
            << c.name;
    }
}

// Qt's remarks to developers (here "QStandardPaths: XDG_RUNTIME_DIR not set") never reach the clerk.
TEST(CliFaults, QtsOwnRemarksStayOffStderr) {
    QTemporaryDir home;
    QProcess p;
    auto env = QProcessEnvironment::systemEnvironment();
    env.remove(u"XDG_RUNTIME_DIR"_s);
    env.insert(u"XDG_DATA_HOME"_s, home.filePath(u"data"_s));
    env.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(QStringLiteral(SLP_BIN_DIR "/slpayprn"), {u"grid"_s, u"summary"_s});
    ASSERT_TRUE(p.waitForFinished(120000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardError()), QString());
}

}  // namespace
