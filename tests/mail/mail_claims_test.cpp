// The send log's claims on SQLite: what a row of the log means to the next sender, two runs on one
// database sharing a month, a run killed between the server's answer and the log, a log that cannot be
// written or is of another shape, and the command line's senders at once and stopped by a signal.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include "basic/clock.h"
#include "basic/error.h"
#include "data/database.h"
#include "mail/send_log.h"
#include "mail/sender_lock.h"
#include "mail/slip_mailing.h"
#include "slpayprn_cli.h"
#include "smtp_test_server.h"

using namespace Qt::StringLiterals;
using namespace slp::mail;

namespace {

const QString kMonth = u"2000-04"_s;

LogEntry row(const QString& number, const QString& time, const QString& result, const QString& run = u"r"_s) {
    return {kMonth, number, number + u"@x"_s, time, result, QString(), QString(), run};
}

TEST(SendLogStates, WhatARowMeansToTheNextSender) {
    const QString now = u"2000-04-25 09:20:00"_s;
    const struct {
        QList<LogEntry> rows;
        QString resendSince;
        LoggedState state;
    } cases[] = {
        {{}, {}, LoggedState::None},
        {{row(u"1"_s, u"2000-04-25 09:00:00"_s, kResultFailed)}, {}, LoggedState::Failed},
        {{row(u"1"_s, u"2000-04-25 09:00:00"_s, kResultSent),
          row(u"1"_s, u"2000-04-25 09:01:00"_s, kResultFailed)},
         {},
         LoggedState::Sent},
        // A claim younger than the timeout: another run is at it.
        {{row(u"1"_s, u"2000-04-25 09:15:00"_s, kResultClaimed)}, {}, LoggedState::Claimed},
        // An old claim: a run died between the server's answer and the log.
        {{row(u"1"_s, u"2000-04-25 09:00:00"_s, kResultClaimed)}, {}, LoggedState::MaybeSent},
        // --resend: what happened before the run began no longer stops it; a young claim still does.
        {{row(u"1"_s, u"2000-04-25 09:00:00"_s, kResultSent)}, u"2000-04-25 09:19:00"_s, LoggedState::Failed},
        {{row(u"1"_s, u"2000-04-25 09:00:00"_s, kResultClaimed)},
         u"2000-04-25 09:19:00"_s,
         LoggedState::Failed},
        {{row(u"1"_s, u"2000-04-25 09:15:00"_s, kResultClaimed)},
         u"2000-04-25 09:19:00"_s,
         LoggedState::Claimed},
        {{row(u"1"_s, u"2000-04-25 09:19:30"_s, kResultSent)}, u"2000-04-25 09:19:00"_s, LoggedState::Sent},
    };
    int i = 0;
    for (const auto& c : cases) {
        EXPECT_EQ(loggedStates(c.rows, now, c.resendSince).value(u"1"_s).state, c.state) << "case " << i;
        ++i;
    }
}

class LogFile : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(u"w.db"_s);
        first = std::make_unique<slp::data::Database>(u"sqlite:"_s + path,
                                                      slp::data::Database::Options{true, false});
        second = std::make_unique<slp::data::Database>(u"sqlite:"_s + path);
    }
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<slp::data::Database> first;
    std::unique_ptr<slp::data::Database> second;
};

TEST_F(LogFile, AClaimKeepsOtherRunsAwayUntilItIsAnsweredOrOld) {
    SendLog a(*first, kMonth, u"A"_s);
    SendLog b(*second, kMonth, u"B"_s);
    a.prepare();
    b.prepare();
    EXPECT_EQ(a.claim(u"0001"_s, u"a@x"_s, u"2000-04-25 09:00:00"_s).state, LoggedState::None);
    EXPECT_EQ(b.claim(u"0001"_s, u"a@x"_s, u"2000-04-25 09:00:01"_s).state, LoggedState::Claimed);
    a.settle({kMonth, u"0001"_s, u"a@x"_s, u"2000-04-25 09:00:02"_s, kResultSent, u"250 OK"_s, u"id"_s, {}});
    EXPECT_EQ(b.claim(u"0001"_s, u"a@x"_s, u"2000-04-25 09:00:03"_s).state, LoggedState::Sent);
    // A claim nobody answered: young it holds, old it is said and only --resend goes again.
    EXPECT_EQ(a.claim(u"0002"_s, u"b@x"_s, u"2000-04-25 09:00:00"_s).state, LoggedState::None);
    EXPECT_EQ(b.claim(u"0002"_s, u"b@x"_s, u"2000-04-25 09:09:59"_s).state, LoggedState::Claimed);
    EXPECT_EQ(b.claim(u"0002"_s, u"b@x"_s, u"2000-04-25 09:10:01"_s).state, LoggedState::MaybeSent);
    SendLog resend(*second, kMonth, u"C"_s, u"2000-04-25 09:10:00"_s);
    EXPECT_EQ(resend.claim(u"0002"_s, u"b@x"_s, u"2000-04-25 09:10:01"_s).state, LoggedState::None);
    // A claim whose message never reached the server is taken back.
    EXPECT_EQ(a.claim(u"0003"_s, u"c@x"_s, u"2000-04-25 09:00:00"_s).state, LoggedState::None);
    a.release(u"0003"_s);
    EXPECT_EQ(b.claim(u"0003"_s, u"c@x"_s, u"2000-04-25 09:00:01"_s).state, LoggedState::None);
    const auto rows = readSendLog(*first, kMonth);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].result, kResultSent);
    EXPECT_EQ(rows[0].run, u"A"_s);
    EXPECT_EQ(rows[0].messageId, u"id"_s);
}

TEST_F(LogFile, ALogThatCannotKeepWhatWasSentStopsTheRunBeforeAnyMessage) {
    const struct {
        QString create;
        QString named;  // what the refusal names
    } shapes[] = {
        {u"CREATE TABLE 电子工资条发送记录 (工作年月 TEXT, 工号 INTEGER, 电子邮件 TEXT, 发送时间 TEXT, "
         u"结果 TEXT, 服务器回复 TEXT, 邮件标识 TEXT)"_s,
         u"“工号”列不是文本列"_s},
        {u"CREATE TABLE 电子工资条发送记录 (工作年月 TEXT, 工号 TEXT, 结果 TEXT)"_s, u"缺少“电子邮件”列"_s},
    };
    for (const auto& shape : shapes) {
        first->executeNative(u"DROP TABLE IF EXISTS 电子工资条发送记录"_s);
        first->executeNative(shape.create);
        try {
            SendLog(*first, kMonth, u"A"_s).prepare();
            ADD_FAILURE() << shape.create.toStdString();
        } catch (const slp::Error& e) {
            EXPECT_TRUE(e.description().contains(shape.named)) << e.description().toStdString();
            EXPECT_TRUE(e.description().contains(u"未发送任何邮件"_s));
        }
    }
    // A log of the earlier shape (without the run's column) is kept and given the column.
    first->executeNative(u"DROP TABLE 电子工资条发送记录"_s);
    first->executeNative(
        u"CREATE TABLE 电子工资条发送记录 (工作年月 TEXT, 工号 TEXT, 电子邮件 TEXT, 发送时间 TEXT, "
        u"结果 TEXT, 服务器回复 TEXT, 邮件标识 TEXT); INSERT INTO 电子工资条发送记录 VALUES "
        u"('2000-04', '0001', 'a@x', '2000-04-25 08:00:00', '已发送', '250', 'id')"_s);
    SendLog(*first, kMonth, u"A"_s).prepare();
    EXPECT_EQ(loggedStates(readSendLog(*first, kMonth), u"2000-04-25 09:00:00"_s).value(u"0001"_s).state,
              LoggedState::Sent);
    // A database that takes no writes says so before anything is sent.
    second->executeNative(u"PRAGMA query_only = 1"_s);
    EXPECT_THROW(SendLog(*second, kMonth, u"B"_s).prepare(), slp::Error);
}

// A transport that accepts everything and keeps the addresses.
class Accepting : public MailTransport {
  public:
    SendOutcome send(const QString&, const QString& to, const QByteArray&) override {
        sentTo << to;
        return {SendOutcome::Accepted, u"250 OK"_s, true};
    }
    QStringList sentTo;
};

std::vector<Recipient> people(int count) {
    std::vector<Recipient> list;
    for (int i = 1; i <= count; ++i) {
        const QString n = u"%1"_s.arg(i, 4, 10, QChar(u'0'));
        list.push_back({i, n, u"员工"_s + n, n + u"@x"_s, n, {}, {}});
    }
    return list;
}

const SlipPdfMaker kSlip{[](const QString&) { return std::make_shared<int>(1); },
                         [](const Recipient&, const SlipSeal&) { return QByteArray("%PDF-1.7"); }};

TEST_F(LogFile, TwoRunsInTurnShareTheMonthAndMailEachEmployeeOnce) {
    SendLog logA(*first, kMonth, u"A"_s);
    SendLog logB(*second, kMonth, u"B"_s);
    logA.prepare();
    SlipMailing a(people(40), {}, {false, {}, 0, {}});
    SlipMailing b(people(40), {}, {false, {}, 0.5, {}});
    a.setPrepareThreads(0);
    b.setPrepareThreads(0);
    MailSettings settings;
    settings.from = u"pay@example.com"_s;
    const slp::FixedClock clock(QDateTime(QDate(2000, 4, 25), QTime(9, 0)));
    Accepting transportA;
    Accepting transportB;
    // A sends three for each of B's, so A runs into B's half and has to move away from it.
    bool more = true;
    while (more) {
        more = false;
        for (int k = 0; k < 3; ++k)
            more |= a.sendNext(settings, {kMonth, {}}, kSlip, transportA, &logA, clock) >= 0;
        more |= b.sendNext(settings, {kMonth, {}}, kSlip, transportB, &logB, clock) >= 0;
    }
    const QStringList all = transportA.sentTo + transportB.sentTo;
    EXPECT_EQ(all.size(), 40);
    EXPECT_EQ(QSet<QString>(all.begin(), all.end()).size(), 40);
    EXPECT_GT(transportB.sentTo.size(), 5);
    EXPECT_EQ(transportB.sentTo.front(), u"0021@x"_s);
    // Each run counts its own and knows the month's.
    const RunSummary sa = a.summary();
    EXPECT_EQ(sa.sent, transportA.sentTo.size());
    EXPECT_EQ(sa.monthSent, 40);
    EXPECT_TRUE(sa.complete());
}

TEST_F(LogFile, ADatabaseLockedByAnotherWriterStopsTheRunBeforeTheMessage) {
    SendLog log(*first, kMonth, u"A"_s);
    log.prepare();
    SlipMailing run(people(3), {}, {});
    run.setPrepareThreads(0);
    MailSettings settings;
    settings.from = u"pay@example.com"_s;
    const slp::FixedClock clock(QDateTime(QDate(2000, 4, 25), QTime(9, 0)));
    Accepting transport;
    EXPECT_GE(run.sendNext(settings, {kMonth, {}}, kSlip, transport, &log, clock), 0);
    second->executeNative(u"BEGIN IMMEDIATE"_s);
    EXPECT_EQ(run.sendNext(settings, {kMonth, {}}, kSlip, transport, &log, clock), -1);
    second->executeNative(u"ROLLBACK"_s);
    EXPECT_EQ(transport.sentTo, QStringList{u"0001@x"_s});
    EXPECT_TRUE(run.stopped());
    EXPECT_TRUE(run.stopReason().startsWith(u"发送记录无法写入"_s)) << run.stopReason().toStdString();
    EXPECT_EQ(run.summary().untried, 2);
    EXPECT_EQ(run.entries()[1].status, SlipStatus::Due);
}

TEST_F(LogFile, AnAnswerNeverHeardKeepsTheClaimAndANoConnectionGivesItBack) {
    SendLog log(*first, kMonth, u"A"_s);
    log.prepare();
    MailSettings settings;
    settings.from = u"pay@example.com"_s;
    const slp::FixedClock clock(QDateTime(QDate(2000, 4, 25), QTime(9, 0)));
    const struct {
        SendOutcome outcome;
        SlipStatus status;
        LoggedState logged;
    } cases[] = {
        {{SendOutcome::Unknown, u"发送已停止"_s, true}, SlipStatus::MaybeSent, LoggedState::Claimed},
        {{SendOutcome::Broken, u"无法连接SMTP服务器"_s, false}, SlipStatus::Due, LoggedState::None},
        {{SendOutcome::Broken, u"与SMTP服务器的连接中断"_s, true}, SlipStatus::Failed, LoggedState::Failed},
        {{SendOutcome::Refused, u"550 no"_s, true}, SlipStatus::Failed, LoggedState::Failed},
    };
    int n = 0;
    for (const auto& c : cases) {
        std::vector<Recipient> one{people(9)[size_t(n++)]};
        SlipMailing run(one, {}, {});
        run.setPrepareThreads(0);
        const Outgoing out = run.beginNext(settings, {kMonth, {}}, kSlip, &log, clock);
        ASSERT_EQ(out.index, 0);
        run.finishNext(out, c.outcome, &log, clock);
        EXPECT_EQ(run.entries()[0].status, c.status) << n;
        EXPECT_EQ(run.stopped(), c.outcome.kind != SendOutcome::Refused) << n;
        const auto states = loggedStates(readSendLog(*first, kMonth), u"2000-04-25 09:00:00"_s);
        EXPECT_EQ(states.value(one[0].number).state, c.logged) << n;
    }
}

TEST(SenderLock, OneSenderADatabaseFile) {
    QTemporaryDir dir;
    const QString db = dir.filePath(u"w.db"_s);
    QFile f(db);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    {
        SenderLock held(db, dir.path());
        try {
            SenderLock second(db, dir.path());
            ADD_FAILURE() << "a second sender was let in";
        } catch (const slp::Error& e) {
            EXPECT_TRUE(e.description().contains(u"SQLite数据库只能有一个发送进程"_s));
        }
    }
    EXPECT_NO_THROW(SenderLock again(db, dir.path()));
}

// The command line: two senders at once on SQLite, and a sender stopped by SIGHUP and run again.
class MailProcesses : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        db = home.filePath(u"w.db"_s);
        ASSERT_EQ(
            slp_test::runSlpayprn({u"--db"_s, db, u"demo-db"_s, db, u"--employees"_s, u"14"_s}, home.path())
                .code,
            0);
    }
    QStringList mailArgs() const {
        return {u"--db"_s,
                db,
                u"mail"_s,
                u"slips"_s,
                u"--smtp"_s,
                server.url(),
                u"--user"_s,
                u"payroll"_s,
                u"--ca-file"_s,
                server.caFile(),
                u"--from"_s,
                u"工资组 <payroll@example.com>"_s,
                u"--password-file"_s,
                server.passwordFile()};
    }
    std::unique_ptr<QProcess> start(const QStringList& extra = {}) {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = slp_test::cliEnvironment(home.path());
        env.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        p->setProcessEnvironment(env);
        p->start(QStringLiteral(SLP_BIN_DIR "/slpayprn"), mailArgs() + extra);
        EXPECT_TRUE(p->waitForStarted(10000));
        return p;
    }
    QStringList addressesReceived() const {
        QStringList to;
        for (const auto& mail : server.received()) to << mail.info[u"to_address"_s].toString();
        return to;
    }
    QTemporaryDir home;
    QTemporaryDir runtime;
    QString db;
    slp_test::SmtpTestServer server;
};

TEST_F(MailProcesses, ASecondSenderOnSqliteIsToldAndNobodyGetsTwo) {
    if (!server.start({{}, 0, false, 0.15, 0, 0})) GTEST_SKIP() << server.why().toStdString();
    auto a = start();
    QElapsedTimer waited;
    waited.start();
    while (server.received().empty() && waited.elapsed() < 30000) QThread::msleep(50);
    auto b = start();
    ASSERT_TRUE(b->waitForFinished(60000));
    ASSERT_TRUE(a->waitForFinished(60000));
    EXPECT_EQ(a->exitCode(), 0);
    EXPECT_EQ(b->exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(b->readAllStandardError()).contains(u"SQLite数据库只能有一个发送进程"_s));
    const QStringList to = addressesReceived();
    EXPECT_EQ(to.size(), 13);
    EXPECT_EQ(QSet<QString>(to.begin(), to.end()).size(), 13);
    // --workers on SQLite is refused as a wrong command line.
    auto c = start({u"--workers"_s, u"2"_s});
    ASSERT_TRUE(c->waitForFinished(30000));
    EXPECT_EQ(c->exitCode(), 2);
}

TEST_F(MailProcesses, SighupEndsTheRunAtOnceWithEverythingLoggedAndTheRerunFinishes) {
    if (!server.start({{}, 0, false, 0.6, 0, 0})) GTEST_SKIP() << server.why().toStdString();
    auto a = start();
    QElapsedTimer waited;
    waited.start();
    while (server.received().size() < 2 && waited.elapsed() < 30000) QThread::msleep(20);
    ::kill(pid_t(a->processId()), SIGHUP);
    QElapsedTimer stopping;
    stopping.start();
    ASSERT_TRUE(a->waitForFinished(10000));
    EXPECT_LT(stopping.elapsed(), 2000);
    EXPECT_EQ(a->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(a->exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(a->readAllStandardOutput()).contains(u"未尝试"_s));
    // The slips' folder in memory went with the run.
    EXPECT_TRUE(QDir(runtime.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    const int first = int(server.received().size());
    EXPECT_LT(first, 13);
    auto b = start();
    ASSERT_TRUE(b->waitForFinished(60000));
    const QString out = QString::fromUtf8(b->readAllStandardOutput());
    const QStringList to = addressesReceived();
    // The message under way when the signal came is either taken (and logged) or not sent: nobody twice.
    EXPECT_EQ(QSet<QString>(to.begin(), to.end()).size(), to.size());
    EXPECT_GE(to.size(), 12);
    EXPECT_TRUE(out.contains(u"本次：已发送%1人"_s.arg(to.size() - first))) << out.toStdString();
}

TEST_F(MailProcesses, AConnectionDroppedAfterTheServerQueuedCountsAsSent) {
    if (!server.start({{}, 0, false, 0, 3, 0})) GTEST_SKIP() << server.why().toStdString();
    auto a = start();
    ASSERT_TRUE(a->waitForFinished(60000));
    const QString out = QString::fromUtf8(a->readAllStandardOutput());
    auto b = start();
    ASSERT_TRUE(b->waitForFinished(60000));
    const QStringList to = addressesReceived();
    EXPECT_EQ(to.size(), 13) << out.toStdString();
    EXPECT_EQ(QSet<QString>(to.begin(), to.end()).size(), 13);
}

}  // namespace
