// The send log of the electronic slips on PostgreSQL: created once with its columns, a row each attempt
// as a run goes, and the next run reading it sends only to those the server has not yet accepted.
#include <gtest/gtest.h>

#include "basic/clock.h"
#include "data/database.h"
#include "mail/send_log.h"
#include "mail/slip_mailing.h"
#include "test_server.h"

using namespace Qt::StringLiterals;
using namespace slp::mail;

namespace {

// A transport that answers from a script and keeps the addresses it was given.
class ScriptedTransport : public MailTransport {
  public:
    SendOutcome send(const QString&, const QString& to, const QByteArray&) override {
        sentTo << to;
        return answers.value(to, {SendOutcome::Accepted, u"250 OK queued"_s});
    }
    QHash<QString, SendOutcome> answers;
    QStringList sentTo;
};

TEST(ServerSendLog, CreatedOnceWrittenByARunAndReadByTheNext) {
    SLP_REQUIRE_SERVER(url);
    slp::data::Database db(url);
    EXPECT_TRUE(readSendLog(db, u"2000-04"_s).isEmpty());
    EXPECT_TRUE(ensureSendLog(db));
    EXPECT_FALSE(ensureSendLog(db));
    const auto listed = db.tables();
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed[0].name, kSendLogTable);
    EXPECT_EQ(listed[0].fields, sendLogTableDef().fields);

    // What the slip holds does not matter to the log: the transport only counts the messages.
    const QByteArray pdf = "%PDF-1.7 slip";
    const std::vector<Recipient> people{{1, u"0001"_s, u"甲"_s, u"a@x"_s, u"0001"_s, {}, {}},
                                        {2, u"0002"_s, u"乙"_s, u"b@x"_s, u"0002"_s, {}, {}},
                                        {3, u"0003"_s, u"丙"_s, u"c@x"_s, u"0003"_s, {}, {}}};
    MailSettings settings;
    settings.from = u"工资组 <pay@example.com>"_s;
    const MonthInfo month{u"2000-04"_s, u"厂"_s};
    const SlipPdfMaker slip{[](const QString&) { return std::make_shared<int>(1); },
                            [&](const Recipient&, const SlipSeal&) { return pdf; }};
    slp::FixedClock clock(QDateTime(QDate(2000, 4, 25), QTime(9, 0)));
    // First run: 0002 refused, the connection breaks at 0003.
    ScriptedTransport first;
    first.answers.insert(u"b@x"_s, {SendOutcome::Refused, u"550 5.1.1 'b' unknown"_s});
    first.answers.insert(u"c@x"_s, {SendOutcome::Broken, u"Connection died"_s, true});
    SendLog log(db, month.monthKey, u"run1"_s);
    log.prepare();
    const QString start = clock.now().toString(u"yyyy-MM-dd HH:mm:ss"_s);
    SlipMailing run(people, loggedStates(readSendLog(db, month.monthKey), start), {});
    while (run.sendNext(settings, month, slip, first, &log, clock) >= 0) clock.set(clock.now().addSecs(1));
    QList<LogEntry> rows = readSendLog(db, month.monthKey);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].result, kResultSent);
    EXPECT_EQ(rows[0].time, u"2000-04-25 09:00:00"_s);
    EXPECT_TRUE(rows[0].messageId.startsWith(u"slip."_s));
    EXPECT_EQ(rows[1].reply, u"550 5.1.1 'b' unknown"_s);
    EXPECT_EQ(rows[2].result, kResultFailed);
    EXPECT_TRUE(readSendLog(db, u"2000-05"_s).isEmpty());
    EXPECT_TRUE(readSendLog(db, u"2000'04"_s).isEmpty());

    // The next run reads the log from the server: the two not accepted go, 0001 does not go again.
    ScriptedTransport second;
    SendLog relog(db, month.monthKey, u"run2"_s);
    const QString now = clock.now().toString(u"yyyy-MM-dd HH:mm:ss"_s);
    SlipMailing rerun(people, loggedStates(readSendLog(db, month.monthKey), now), {});
    EXPECT_EQ(rerun.dueCount(), 2);
    while (rerun.sendNext(settings, month, slip, second, &relog, clock) >= 0)
        clock.set(clock.now().addSecs(1));
    EXPECT_EQ(second.sentTo, (QStringList{u"b@x"_s, u"c@x"_s}));
    rows = readSendLog(db, month.monthKey);
    ASSERT_EQ(rows.size(), 5);
    const auto latest = latestByEmployee(rows);
    for (const QString& number : {u"0001"_s, u"0002"_s, u"0003"_s}) {
        EXPECT_EQ(latest.value(number).result, kResultSent) << number.toStdString();
    }
    EXPECT_EQ(SlipMailing(people, loggedStates(rows, now), {}).dueCount(), 0);
}

}  // namespace
