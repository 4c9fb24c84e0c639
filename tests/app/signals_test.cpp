// A long command ended by SIGTERM, SIGINT or SIGHUP while its file is under way: the process ends by
// the signal, the file it was replacing is as it was and no temporary file is left beside it.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "slpayprn_cli.h"

using namespace Qt::StringLiterals;

namespace {

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

bool holdsTemporary(const QString& folder) {
    for (const QString& name : entriesOf(folder)) {
        if (name.startsWith(u".~"_s)) return true;
    }
    return false;
}

TEST(Signals, AnInterruptedCommandLeavesTheOldFileAndNoTemporary) {
    QTemporaryDir home;
    const QString db = home.filePath(u"big.db"_s);
    // Enough employees that every command below has its file under way for a while.
    const QStringList many{u"--employees"_s, u"300000"_s};
    ASSERT_EQ(slp_test::runSlpayprn(QStringList{u"demo-db"_s, db} + many, home.path()).code, 0);
    const struct {
        int signal;
        QString file;
        QStringList args;  // "F" is the file
    } cases[] = {
        {SIGTERM, u"demo.db"_s, QStringList{u"demo-db"_s, u"F"_s, u"--replace"_s} + many},
        {SIGINT, u"grid.xlsx"_s, {u"--db"_s, db, u"grid"_s, u"employee"_s, u"--out"_s, u"F"_s}},
        {SIGHUP, u"slips.pdf"_s, {u"--db"_s, db, u"print"_s, u"slips"_s, u"--one-file"_s, u"F"_s}},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString file = dir.filePath(c.file);
        {
            QFile old(file);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("the previous good file");
        }
        QStringList args;
        for (const QString& a : c.args) args << (a == u"F"_s ? file : a);
        QProcess p;
        p.setProcessEnvironment(slp_test::cliEnvironment(home.path()));
        p.start(QStringLiteral(SLP_BIN_DIR "/slpayprn"), args);
        ASSERT_TRUE(p.waitForStarted());
        // The signal comes once the temporary file is there.
        bool seen = false;
        while (!seen && p.state() == QProcess::Running) {
            seen = holdsTemporary(dir.path());
            if (!seen) QThread::usleep(500);
            p.waitForFinished(0);
        }
        ASSERT_TRUE(seen) << c.file.toStdString() << ": the command ended before its file was under way";
        ::kill(pid_t(p.processId()), c.signal);
        ASSERT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitStatus(), QProcess::CrashExit) << c.file.toStdString();
        EXPECT_EQ(entriesOf(dir.path()), QStringList{c.file}) << c.file.toStdString();
        QFile after(file);
        EXPECT_TRUE(after.open(QIODevice::ReadOnly) && after.readAll() == "the previous good file")
            << c.file.toStdString();
    }
}

}  // namespace
