#pragma once
// The send log of the electronic slips: a table of the component's own in the host's database, one row
// an attempt (month, 工号, address, time, result, the server's reply and the message id). It is created
// when missing, on any engine the database speaks.
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

struct LogEntry {
    QString month;   // 工作年月, "2000-04"
    QString number;  // 工号
    QString address;
    QString time;    // "yyyy-MM-dd HH:mm:ss"
    QString result;  // kResultSent or kResultFailed
    QString reply;   // the server's last words, or why nothing was sent
    QString messageId;
};

data::TableDef sendLogTableDef(const QString& table = kSendLogTable);
// Creates the table when the database has none of that name; true when it was created.
bool ensureSendLog(data::Database& database, const QString& table = kSendLogTable);
// Adds one row (creating the table when needed). Each row is its own transaction: what was recorded
// stays recorded whatever happens to the run afterwards.
void recordSend(data::Database& database, const LogEntry& entry, const QString& table = kSendLogTable);
// Every row of a month in the order written.
QList<LogEntry> readSendLog(data::Database& database, const QString& month,
                            const QString& table = kSendLogTable);
// Per 工号: the row that says it was sent, else the last failure.
QHash<QString, LogEntry> latestByEmployee(const QList<LogEntry>& rows);

}  // namespace slp::mail
