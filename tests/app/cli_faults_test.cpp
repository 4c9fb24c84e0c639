// The command line under faults: a file-size limit (below and above a 16 KiB write buffer), a full
// stdout, texts that must not reach a query, ranges that print nothing, figures too wide for the file.
// Each checks the exit status, the message, and that an existing file is byte for byte as it was with
// no temporary file beside it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

struct CliResult {
    int code = -1;
    QString out;
    QString err;
};

class CliFaults : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        home_ = new QTemporaryDir;
        // 1000 employees: a 龙卡 file of about 33 KB, past any write buffer.
        ASSERT_EQ(run({u"demo-db"_s, db(), u"--employees"_s, u"1000"_s}).code, 0);
    }
    static void TearDownTestSuite() {
        delete home_;
        home_ = nullptr;
    }
    static QString db() { return home_->filePath(u"w.db"_s); }

    static CliResult run(const QStringList& args, qint64 fileSizeLimit = 0, const QString& stdoutFile = {}) {
        QProcess p;
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_DATA_HOME"_s, home_->filePath(u"data"_s));
        env.insert(u"XDG_CONFIG_HOME"_s, home_->filePath(u"config"_s));
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        p.setProcessEnvironment(env);
        if (!stdoutFile.isEmpty()) p.setStandardOutputFile(stdoutFile);
        if (fileSizeLimit > 0) {
            p.setChildProcessModifier([fileSizeLimit] {
                ::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            });
        }
        p.start(QStringLiteral(SLP_BIN_DIR "/slpayprn"), args);
        p.waitForFinished(300000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

    static QTemporaryDir* home_;
};

QTemporaryDir* CliFaults::home_ = nullptr;

QByteArray contentsOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

TEST_F(CliFaults, AFileSizeLimitFailsTheCommandAndKeepsTheOldFile) {
    const struct {
        const char* name;
        QStringList args;  // "%1" stands for the output file
        QString fileName;
        qint64 limit;
    } cases[] = {
        {"card below the buffer",
         {u"card"_s, u"--type"_s, u"中国建设银行龙卡"_s, u"--out"_s, u"%1"_s},
         u"c.txt"_s,
         2048},
        {"card above the buffer",
         {u"card"_s, u"--type"_s, u"中国建设银行龙卡"_s, u"--out"_s, u"%1"_s},
         u"c.txt"_s,
         24576},
        {"tsv below the buffer", {u"grid"_s, u"employee"_s, u"--out"_s, u"%1"_s}, u"g.tsv"_s, 2048},
        {"tsv above the buffer", {u"grid"_s, u"employee"_s, u"--out"_s, u"%1"_s}, u"g.tsv"_s, 24576},
        {"xlsx", {u"grid"_s, u"employee"_s, u"--out"_s, u"%1"_s}, u"g.xlsx"_s, 24576},
        {"summary tsv", {u"grid"_s, u"summary"_s, u"--out"_s, u"%1"_s}, u"s.tsv"_s, 256},
        {"demo database",
         {u"demo-db"_s, u"%1"_s, u"--employees"_s, u"1000"_s, u"--replace"_s},
         u"d.db"_s,
         24576},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString target = dir.filePath(c.fileName);
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the previous good file\n");
        old.close();
        QStringList args{u"--db"_s, db()};
        for (const QString& a : c.args) args << (a == u"%1"_s ? target : a);
        const CliResult r = run(args, c.limit);
        EXPECT_EQ(r.code, 1) << c.name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(u"文件过大"_s)) << c.name << ": " << r.err.toStdString();
        EXPECT_FALSE(r.out.contains(u"入卡人数"_s)) << c.name;
        EXPECT_EQ(contentsOf(target), "the previous good file\n") << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{c.fileName})
            << c.name;
    }
}

TEST_F(CliFaults, APdfJobUnderALimitLeavesNoFile) {
    QTemporaryDir dir;
    const CliResult r =
        run({u"--db"_s, db(), u"print"_s, u"wage-table"_s, u"--pdf-dir"_s, dir.path()}, 24576);
    EXPECT_EQ(r.code, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u"无法写入打印文件"_s)) << r.err.toStdString();
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(CliFaults, AFullStdoutIsAFailure) {
    const CliResult r = run({u"--db"_s, db(), u"grid"_s, u"employee"_s}, 0, u"/dev/full"_s);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(u"写入标准输出失败（磁盘空间不足）"_s)) << r.err.toStdString();
}

TEST_F(CliFaults, WrongTextsAndEmptyRangesAreSaid) {
    QTemporaryDir dir;
    const QString card = dir.filePath(u"c.txt"_s);
    const struct {
        const char* name;
        QStringList args;
        int code;
        QString message;
    } cases[] = {
        {"month injection",
         {u"--month"_s, u"2000-04' or '1'='1"_s, u"card"_s, u"--type"_s, u"中国建设银行龙卡"_s, u"--out"_s,
          card},
         2,
         u"--month takes a four-digit year"_s},
        {"month without a dash", {u"--month"_s, u"200004"_s, u"grid"_s, u"employee"_s}, 2, u"--month"_s},
        {"unit name with a tab",
         {u"--unit-name"_s, u"朔岚\t公司"_s, u"grid"_s, u"employee"_s},
         2,
         u"朔岚\\x09公司"_s},
        {"unit code with a NUL escape",
         {u"--unit"_s, u"01\x01"_s, u"grid"_s, u"employee"_s},
         2,
         u"01\\x01"_s},
        {"total too wide",
         {u"card"_s, u"--type"_s, u"中国农业银行白玉兰卡"_s, u"--out"_s, card, u"--total"_s,
          u"99999999999999999999"_s},
         1,
         u"入卡金额“99999999999999999999”写入文件有22位，超出该栏的13位"_s},
        {"slips backwards",
         {u"print"_s, u"slips"_s, u"--pdf-dir"_s, dir.path(), u"--from"_s, u"5"_s, u"--to"_s, u"2"_s},
         0,
         u"所选范围（第5页至第2页）内没有可打印的内容"_s},
        {"slips past the end",
         {u"print"_s, u"slips"_s, u"--pdf-dir"_s, dir.path(), u"--from"_s, u"99999"_s},
         0,
         u"所选范围（第99999页至第末页）内没有可打印的内容"_s},
        {"strips from zero",
         {u"print"_s, u"strips"_s, u"--pdf-dir"_s, dir.path(), u"--first"_s, u"0"_s, u"--last"_s, u"5"_s},
         0,
         u"所选范围（第0名至第5名）内没有可打印的内容（共1000名员工）"_s},
    };
    for (const auto& c : cases) {
        const CliResult r = run(QStringList{u"--db"_s, db()} + c.args);
        EXPECT_EQ(r.code, c.code) << c.name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << c.name << ": " << r.err.toStdString();
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty()) << c.name;
    }
}

}  // namespace
