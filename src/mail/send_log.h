#pragma once
// The send log of the electronic slips: a table of the component's own in the host's database, one row
// an attempt (month, 工号, address, time, result, the server's reply, the message id and the run that
// made it). Before a message goes, its sender claims the employee: a row "发送中" written under the
// database's write lock (SQLite) or an advisory lock of the log (PostgreSQL), refused when the employee
// was sent already or another run's claim is still young. After the server's answer the row becomes
// "已发送" or "失败". So several senders share a month and each employee gets one message, and a run
// killed between the server's answer and the log leaves a row that says so instead of a slip sent again.
#include <QHash>
#include <QString>

#include "data/schema.h"

namespace slp::data {
class Database;
}

namespace slp::mail {

inline const QString kSendLogTable = QStringLiteral("电子工资条发送记录");
// The results a row holds.
inline const QString kResultSent = QStringLiteral("已发送");
inline const QString kResultFailed = QStringLiteral("失败");
inline const QString kResultClaimed = QStringLiteral("发送中");

// Seconds after which a claim without an answer is taken as left by a run that died: longer than any
// message may take (connecting, every step's timeout, the data).
inline constexpr int kClaimTimeoutSeconds = 600;

struct LogEntry {
    QString month;   // 工作年月, "2000-04"
    QString number;  // 工号
    QString address;
    QString time;    // "yyyy-MM-dd HH:mm:ss"
    QString result;  // kResultSent, kResultFailed or kResultClaimed
    QString reply;   // the server's last words, or why nothing was sent
    QString messageId;
    QString run;  // the run that wrote the row
};

data::TableDef sendLogTableDef(const QString& table = kSendLogTable);
// Creates the table when the database has none of that name, under the log's lock so that two runs
// starting at once create it once; true when it was created. A table of the name that lacks the run's
// column gets it. Throws slp::Error (errnum::Database) naming the column when the table has another
// shape (a column missing, or one that is not text), since such a log would not keep what was sent.
bool ensureSendLog(data::Database& database, const QString& table = kSendLogTable);
// Adds one row (creating the table when needed) in a transaction of its own.
void recordSend(data::Database& database, const LogEntry& entry, const QString& table = kSendLogTable);
// Every row of a month in the order written.
QList<LogEntry> readSendLog(data::Database& database, const QString& month,
                            const QString& table = kSendLogTable);

// What the log says of an employee when a run starts or looks again.
enum class LoggedState {
    None,       // never attempted
    Failed,     // the last attempt failed
    Sent,       // a message was accepted
    Claimed,    // a run is sending it now (its claim is young)
    MaybeSent,  // a run claimed it and never said what became of it (the claim is old)
};
struct LoggedEmployee {
    LoggedState state = LoggedState::None;
    LogEntry row;  // the row that says so
};
// Per 工号 what the log says, as of `now` ("yyyy-MM-dd HH:mm:ss"): sent wins over everything, a claim
// over a failure. With `resendSince` (a time), rows of other runs than `ownRun` from before or at that
// time count as failures, so --resend sends again whatever was sent before the run began.
QHash<QString, LoggedEmployee> loggedStates(const QList<LogEntry>& rows, const QString& now,
                                            const QString& resendSince = QString(),
                                            const QString& ownRun = QString());
// The old reading kept for callers that only want the last word per 工号: the sent row, else the last.
QHash<QString, LogEntry> latestByEmployee(const QList<LogEntry>& rows);

// The log as one run writes it: claims and their answers, each under the log's lock.
class SendLog {
  public:
    // `run` names the run in every row it writes; `resendSince` as in loggedStates().
    SendLog(data::Database& database, QString month, QString run, QString resendSince = QString(),
            QString table = kSendLogTable);

    // Checks the table (creating it when missing) and that the database takes writes, before anything
    // is sent. Throws slp::Error with the reason.
    void prepare();
    // Claims an employee at `time`: the row "发送中" is written unless the log says the employee was
    // sent (or a young claim of another run stands), in which case nothing is written and that state
    // comes back. Throws slp::Error when the log cannot be written: the message must not go.
    LoggedEmployee claim(const QString& number, const QString& address, const QString& time);
    // The answer to a claim: its row becomes `entry.result` with the reply, time and message id.
    // Tries again while the database is locked by another writer (up to about a minute), then throws.
    void settle(const LogEntry& entry);
    // Takes back a claim whose message never reached the server (no connection): the employee stays
    // as before, due for this run or the next.
    void release(const QString& number);
    // A row without a claim (a slip that could not be made: nothing went to the server).
    void record(const LogEntry& entry);
    // Every row of the month.
    QList<LogEntry> rows();

    const QString& run() const { return run_; }
    const QString& month() const { return month_; }
    data::Database& database() { return database_; }

  private:
    data::Database& database_;
    QString month_;
    QString run_;
    QString resendSince_;
    QString table_;
};

// A name for a new run, unique among runs on any machine.
QString newRunName();

}  // namespace slp::mail
