// Several senders of the electronic slips on one PostgreSQL month: two and three processes at once, and
// one stopped half-way then run again, give each employee exactly one message; a log created by two
// runs starting together is made once.
#include <gtest/gtest.h>
#include <signal.h>

#include <QElapsedTimer>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <thread>

#include "data/database.h"
#include "data/schema.h"
#include "mail/send_log.h"
#include "slpayprn_cli.h"
#include "smtp_test_server.h"
#include "test_server.h"

using namespace Qt::StringLiterals;

namespace {

class MailSenders : public ::testing::Test {
  protected:
    bool prepare(const QString& serverUrl, int employees, const slp_test::SmtpServerOptions& options) {
        url = serverUrl;
        EXPECT_TRUE(home.isValid());
        const auto made = slp_test::runSlpayprn(
            {u"demo-db"_s, url, u"--employees"_s, QString::number(employees)}, home.path());
        EXPECT_EQ(made.code, 0) << made.err.toStdString();
        return server.start(options);
    }
    std::unique_ptr<QProcess> start(const QStringList& extra = {}) {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(slp_test::cliEnvironment(home.path()));
        p->start(QStringLiteral(SLP_BIN_DIR "/slpayprn"),
                 QStringList{u"--db"_s, url, u"mail"_s, u"slips"_s, u"--smtp"_s, server.url(), u"--user"_s,
                             u"payroll"_s, u"--ca-file"_s, server.caFile(), u"--from"_s,
                             u"工资组 <payroll@example.com>"_s, u"--password-file"_s, server.passwordFile()} +
                     extra);
        EXPECT_TRUE(p->waitForStarted(10000));
        return p;
    }
    // Messages received per address.
    QHash<QString, int> received() const {
        QHash<QString, int> count;
        for (const auto& mail : server.received()) ++count[mail.info[u"to_address"_s].toString()];
        return count;
    }
    int withAddress() {
        slp::data::Database db(url);
        return int(db.openNative(u"SELECT count(*) FROM \"12个人信息\" WHERE \"电子邮件\" LIKE '%@%'"_s)
                       .value(0)
                       .toInt64());
    }
    static void expectEachOnce(const QHash<QString, int>& count, int expected) {
        EXPECT_EQ(count.size(), expected);
        for (auto i = count.begin(); i != count.end(); ++i) EXPECT_EQ(i.value(), 1) << i.key().toStdString();
    }

    QString url;
    QTemporaryDir home;
    slp_test::SmtpTestServer server;
};

TEST_F(MailSenders, TwoProcessesAtOnceShareTheMonth) {
    SLP_REQUIRE_SERVER(db);
    if (!prepare(db, 40, {{}, 0, false, 0.02, 0, 0})) GTEST_SKIP() << server.why().toStdString();
    auto a = start();
    auto b = start();
    ASSERT_TRUE(a->waitForFinished(120000));
    ASSERT_TRUE(b->waitForFinished(120000));
    const QString outA = QString::fromUtf8(a->readAllStandardOutput());
    const QString outB = QString::fromUtf8(b->readAllStandardOutput());
    expectEachOnce(received(), withAddress());
    // Each says what it sent itself; both end knowing the month is done.
    const QRegularExpression mine(u"本次：已发送(\\d+)人"_s);
    EXPECT_EQ(mine.match(outA).captured(1).toInt() + mine.match(outB).captured(1).toInt(), withAddress())
        << outA.toStdString() << outB.toStdString();
    EXPECT_TRUE(outA.contains(u"本月：已发送%1人"_s.arg(withAddress())) ||
                outB.contains(u"本月：已发送%1人"_s.arg(withAddress())));
}

TEST_F(MailSenders, ThreeWorkersOfOneRunAndTheLogMadeOnce) {
    SLP_REQUIRE_SERVER(db);
    if (!prepare(db, 45, {{}, 0, false, 0, 0, 0})) GTEST_SKIP() << server.why().toStdString();
    // Two runs creating the log at once make one table.
    std::vector<std::thread> makers;
    std::atomic<int> created{0};
    for (int k = 0; k < 2; ++k) {
        makers.emplace_back([&] {
            slp::data::Database connection(url);
            created += slp::mail::ensureSendLog(connection) ? 1 : 0;
        });
    }
    for (auto& t : makers) t.join();
    EXPECT_EQ(created.load(), 1);
    auto run = start({u"--workers"_s, u"3"_s});
    ASSERT_TRUE(run->waitForFinished(120000));
    const QString out = QString::fromUtf8(run->readAllStandardOutput());
    EXPECT_EQ(run->exitCode(), 0) << out.toStdString() << run->readAllStandardError().toStdString();
    expectEachOnce(received(), withAddress());
    EXPECT_TRUE(out.startsWith(u"本次：已发送%1人，失败0人，未尝试0人\n"_s.arg(withAddress())))
        << out.toStdString();
    slp::data::Database connection(url);
    QSet<QString> runs;
    for (const auto& row : slp::mail::readSendLog(connection, u"2000-04"_s)) runs.insert(row.run);
    EXPECT_EQ(runs.size(), 3);
}

TEST_F(MailSenders, ARunStoppedHalfWayThenARerunGiveEachOneMessage) {
    SLP_REQUIRE_SERVER(db);
    if (!prepare(db, 30, {{}, 0, false, 0.2, 0, 0})) GTEST_SKIP() << server.why().toStdString();
    auto a = start();
    auto b = start();
    QElapsedTimer waited;
    waited.start();
    while (server.received().size() < 6 && waited.elapsed() < 60000) QThread::msleep(20);
    ::kill(pid_t(a->processId()), SIGTERM);
    ASSERT_TRUE(a->waitForFinished(10000));
    ASSERT_TRUE(b->waitForFinished(120000));
    auto again = start();
    ASSERT_TRUE(again->waitForFinished(120000));
    EXPECT_EQ(again->exitCode(), 0) << again->readAllStandardOutput().toStdString();
    // Nobody twice. A message whose data had gone out when the run was stopped, its answer not yet
    // come, keeps its claim (可能已发送) and is not sent again without --resend; everyone else once.
    const QHash<QString, int> count = received();
    for (auto i = count.begin(); i != count.end(); ++i) EXPECT_EQ(i.value(), 1) << i.key().toStdString();
    slp::data::Database log(url);
    const int claimed =
        int(log.openNative(u"SELECT count(*) FROM "_s + slp::data::quoteIdentifier(slp::mail::kSendLogTable) +
                           u" WHERE "_s + slp::data::quoteIdentifier(u"结果"_s) + u" = '"_s +
                           slp::mail::kResultClaimed + u"'"_s)
                .value(0)
                .toInt64());
    EXPECT_LE(claimed, 1);
    EXPECT_EQ(count.size() + claimed, withAddress());
}

}  // namespace
