// Nothing hangs: a server that never answers, a port nobody listens on, a password "file" that is a
// pipe, a signal while the rate limit waits or while a message waits for its answer. Each ends in
// seconds with the reason in Chinese, and what was under way is settled in the log.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include "data/database.h"
#include "mail/send_log.h"
#include "slpayprn_cli.h"
#include "smtp_test_server.h"

using namespace Qt::StringLiterals;

namespace {

class MailHangs : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        db = home.filePath(u"w.db"_s);
        ASSERT_EQ(
            slp_test::runSlpayprn({u"--db"_s, db, u"demo-db"_s, db, u"--employees"_s, u"14"_s}, home.path())
                .code,
            0);
    }
    QStringList mailArgs(const QString& url, const QString& passwordFile) const {
        return {u"--db"_s,
                db,
                u"mail"_s,
                u"slips"_s,
                u"--smtp"_s,
                url,
                u"--user"_s,
                u"payroll"_s,
                u"--ca-file"_s,
                server.caFile(),
                u"--from"_s,
                u"工资组 <payroll@example.com>"_s,
                u"--password-file"_s,
                passwordFile};
    }
    std::unique_ptr<QProcess> start(const QStringList& args) {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(slp_test::cliEnvironment(home.path()));
        p->start(QStringLiteral(SLP_BIN_DIR "/slpayprn"), args);
        EXPECT_TRUE(p->waitForStarted(10000));
        return p;
    }
    void waitForMessages(size_t count) {
        QElapsedTimer waited;
        waited.start();
        while (server.received().size() < count && waited.elapsed() < 30000) QThread::msleep(20);
    }
    // Milliseconds from the signal to the end of the process.
    static qint64 stopWith(QProcess& p, int signal) {
        QElapsedTimer t;
        t.start();
        EXPECT_EQ(p.state(), QProcess::Running);
        if (p.state() == QProcess::Running && p.processId() > 0) ::kill(pid_t(p.processId()), signal);
        EXPECT_TRUE(p.waitForFinished(30000));
        return t.elapsed();
    }
    QList<slp::mail::LogEntry> log() {
        slp::data::Database database(u"sqlite:"_s + db);
        return slp::mail::readSendLog(database, u"2000-04"_s);
    }

    QTemporaryDir home;
    QString db;
    slp_test::SmtpTestServer server;
};

TEST_F(MailHangs, ASignalWhileTheAnswerIsAwaitedEndsTheRunAtOnce) {
    if (!server.start({{}, 0, false, 0, 0, 3})) GTEST_SKIP() << server.why().toStdString();
    auto p = start(mailArgs(server.url(), server.passwordFile()));
    waitForMessages(2);
    QThread::msleep(700);  // the third message waits for an answer that never comes
    EXPECT_LT(stopWith(*p, SIGTERM), 2000);
    EXPECT_EQ(p->exitCode(), 1);
    const QString out = QString::fromUtf8(p->readAllStandardOutput());
    // The message under way may have been taken: said, and never sent again by a plain run.
    EXPECT_TRUE(out.startsWith(u"本次：已发送2人，失败1人，未尝试10人\n"_s)) << out.toStdString();
    const auto rows = log();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[2].result, slp::mail::kResultClaimed);
    EXPECT_FALSE(rows[2].reply.isEmpty());
    // The next run leaves that one alone and sends the rest.
    const auto again = slp_test::runSlpayprn(mailArgs(server.url(), server.passwordFile()), home.path());
    EXPECT_TRUE(again.out.contains(u"其他进程发送中1人"_s)) << again.out.toStdString();
    const auto mails = server.received();
    QSet<QString> to;
    for (const auto& m : mails) to.insert(m.info[u"to_address"_s].toString());
    EXPECT_EQ(to.size(), qsizetype(mails.size()));
    EXPECT_EQ(mails.size(), 12u);
}

TEST_F(MailHangs, TheRateLimitsWaitEndsWithASignal) {
    if (!server.start()) GTEST_SKIP() << server.why().toStdString();
    size_t sent = 0;
    for (const int signal : {SIGTERM, SIGINT}) {
        auto p = start(mailArgs(server.url(), server.passwordFile()) << u"--per-minute"_s << u"2"_s);
        waitForMessages(++sent);
        QThread::msleep(300);
        EXPECT_LT(stopWith(*p, signal), 2000) << signal;
        EXPECT_EQ(server.received().size(), sent);
        EXPECT_TRUE(
            QString::fromUtf8(p->readAllStandardOutput()).startsWith(u"本次：已发送1人，失败0人，未尝试"_s));
    }
}

TEST_F(MailHangs, AServerThatCannotBeReachedOrNeverAnswersCountsNobody) {
    if (!server.start()) GTEST_SKIP() << server.why().toStdString();
    // A port nobody listens on.
    const int closed = slp_test::closedPort();
    // A server that takes the connection and never says a word.
    slp_test::MuteListener mute;
    ASSERT_GT(mute.port(), 0);
    const struct {
        QString url;
        QString reason;
    } cases[] = {{u"smtp://127.0.0.1:%1"_s.arg(closed), u"无法连接SMTP服务器"_s},
                 {u"smtp://127.0.0.1:%1"_s.arg(mute.port()), u"SMTP服务器在规定时间内没有应答"_s}};
    for (const auto& c : cases) {
        QElapsedTimer t;
        t.start();
        const auto r = slp_test::runSlpayprn(
            mailArgs(c.url, server.passwordFile()) << u"--timeout"_s << u"2"_s, home.path());
        EXPECT_LT(t.elapsed(), 10000);
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains(c.reason)) << r.err.toStdString();
        EXPECT_EQ(
            r.out,
            u"本次：已发送0人，失败0人，未尝试13人\n本月：已发送0人，失败0人，未发送13人，无地址1人\n"_s);
        EXPECT_TRUE(log().isEmpty());
    }
}

TEST_F(MailHangs, APipeOrAnEmptyFileAsThePasswordFileIsRefusedAtOnce) {
    if (!server.start()) GTEST_SKIP() << server.why().toStdString();
    const QString fifo = home.filePath(u"fifo"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString empty = home.filePath(u"empty"_s);
    QFile f(empty);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    ASSERT_EQ(::chmod(QFile::encodeName(empty).constData(), 0600), 0);
    const struct {
        QString file;
        QString reason;
    } cases[] = {{fifo, u"不是普通文件"_s}, {empty, u"第一行是空的"_s}};
    for (const auto& c : cases) {
        const auto r = slp_test::runSlpayprn(mailArgs(server.url(), c.file), home.path(), 20000);
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains(c.reason)) << r.err.toStdString();
    }
    EXPECT_TRUE(server.received().empty());
    EXPECT_TRUE(log().isEmpty());
}

}  // namespace
