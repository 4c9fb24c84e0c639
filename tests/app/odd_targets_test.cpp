// Output targets that are not plain files, and a relative data folder: a pipe named as the output (or
// linked from it) stays a pipe and the command says why; a relative XDG_DATA_HOME is ignored.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "slpayprn_cli.h"

using namespace Qt::StringLiterals;

namespace {

bool isFifo(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

TEST(OddTargets, APipeIsNeverReplacedByAFile) {
    QTemporaryDir home;
    const struct {
        QStringList args;  // "T" is the target
        QString message;
    } cases[] = {
        {{u"grid"_s, u"employee"_s, u"--out"_s, u"T"_s}, u"T：这不是普通文件"_s},
        {{u"grid"_s, u"payment"_s, u"--out"_s, u"T"_s}, u"T：这不是普通文件"_s},
        {{u"print"_s, u"wage-table"_s, u"--one-file"_s, u"T"_s}, u"无法写入打印文件“T”（这不是普通文件）"_s},
    };
    for (const bool linked : {false, true}) {
        for (const auto& c : cases) {
            QTemporaryDir dir;
            const QString extension = c.args[0] == u"print"_s ? u".pdf"_s : u".xlsx"_s;
            const QString pipe = dir.filePath(u"pipe"_s + extension);
            ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
            QString target = pipe;
            if (linked) {
                target = dir.filePath(u"link"_s + extension);
                ASSERT_TRUE(QFile::link(pipe, target));
            }
            QStringList args;
            for (const QString& a : c.args) args << (a == u"T"_s ? target : a);
            const slp_test::CliResult r = slp_test::runSlpayprn(args, home.path());
            // The message names the file the clerk gave.
            const QString message = QString(c.message).replace(u"T"_s, target);
            const std::string name = args.join(u' ').toStdString();
            EXPECT_EQ(r.code, 1) << name << ": " << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(message)) << name << ": " << r.err.toStdString();
            EXPECT_TRUE(isFifo(pipe)) << name;
            EXPECT_EQ(QDir(dir.path())
                          .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                          .size(),
                      linked ? 2 : 1)
                << name;
        }
    }
}

TEST(OddTargets, ARelativeDataFolderIsIgnored) {
    QTemporaryDir home;
    QTemporaryDir work;
    QProcess p;
    QProcessEnvironment env = slp_test::cliEnvironment(home.path());
    env.insert(u"XDG_DATA_HOME"_s, u"relative-data"_s);
    env.insert(u"HOME"_s, home.path());
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(work.path());
    p.start(QStringLiteral(SLP_BIN_DIR "/slpayprn"), {u"grid"_s, u"employee"_s});
    ASSERT_TRUE(p.waitForFinished(120000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    EXPECT_TRUE(QFile::exists(home.filePath(u".local/share/Sl_PAYPRN/demo.db"_s)));
    EXPECT_TRUE(QDir(work.path()).isEmpty());
}

}  // namespace
