#include "mail/send_log.h"

#include <sqlite3.h>
#include <unistd.h>

#include <QDateTime>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QThread>

#include "basic/error.h"
#include "data/database.h"

using namespace Qt::StringLiterals;

namespace slp::mail {

using data::FieldDef;
using data::FieldType;

namespace {

const QString kRunColumn = u"发送进程"_s;

QString quoteText(const QString& text) {
    QString quoted = text;
    quoted.replace(u'\'', u"''"_s);
    return u'\'' + quoted + u'\'';
}

bool isPostgres(data::Database& database) {
    return database.dialect() == jet::Dialect::PostgreSQL;
}

// The log's lock for one transaction: SQLite's write lock taken at once (BEGIN IMMEDIATE), so a claim's
// check and its row are one step for every other writer; on PostgreSQL an advisory lock of the log's
// name, held to the end of the transaction, which only the log's writers ask for.
class LogLock {
  public:
    LogLock(data::Database& database, const QString& table) : database_(database) {
        if (database_.sqliteHandle()) {
            database_.executeNative(u"BEGIN IMMEDIATE"_s);
        } else {
            database_.beginTransaction();
        }
        open_ = true;
        if (isPostgres(database_)) {
            database_.openNative(u"SELECT pg_advisory_xact_lock(hashtext(current_schema() || '.' || "_s +
                                 quoteText(table) + u"))"_s);
        }
    }
    ~LogLock() {
        if (!open_) return;
        try {
            if (database_.sqliteHandle()) {
                database_.executeNative(u"ROLLBACK"_s);
            } else {
                database_.rollback();
            }
        } catch (const std::exception&) {
            // A transaction that failed may have ended already.
        }
    }
    LogLock(const LogLock&) = delete;
    LogLock& operator=(const LogLock&) = delete;
    void commit() {
        if (database_.sqliteHandle()) {
            database_.executeNative(u"COMMIT"_s);
        } else {
            database_.commit();
        }
        open_ = false;
    }

  private:
    data::Database& database_;
    bool open_ = false;
};

// The table as listed, or an empty definition when there is none.
data::TableDef findTable(data::Database& database, const QString& table) {
    for (const data::TableDef& t : database.tables()) {
        if (t.name == table) return t;
    }
    return {};
}

QString indexStatement(const QString& table) {
    return u"CREATE INDEX IF NOT EXISTS "_s + data::quoteIdentifier(table + u"_工号"_s) + u" ON "_s +
           data::quoteIdentifier(table) + u" ("_s + data::quoteIdentifier(u"工作年月"_s) + u", "_s +
           data::quoteIdentifier(u"工号"_s) + u')';
}

// Creates the table, or checks the one there and adds the run's column when an older version made it
// without. Called under the log's lock.
bool createOrCheck(data::Database& database, const QString& table) {
    const data::TableDef found = findTable(database, table);
    const data::TableDef wanted = sendLogTableDef(table);
    if (found.name.isEmpty()) {
        database.createTable(wanted);
        database.executeNative(indexStatement(table));
        return true;
    }
    bool hasRun = false;
    for (const FieldDef& w : wanted.fields) {
        const auto f = std::find_if(found.fields.begin(), found.fields.end(),
                                    [&](const FieldDef& field) { return field.name == w.name; });
        if (f == found.fields.end()) {
            if (w.name == kRunColumn) continue;
            throw Error(errnum::Database, u"发送记录表“"_s + table + u"”缺少“"_s + w.name +
                                              u"”列，不能记录发送结果，未发送任何邮件"_s);
        }
        if (f->type != FieldType::Text) {
            throw Error(errnum::Database, u"发送记录表“"_s + table + u"”的“"_s + w.name +
                                              u"”列不是文本列，不能记录发送结果，未发送任何邮件"_s);
        }
        hasRun = hasRun || w.name == kRunColumn;
    }
    if (!hasRun) {
        database.executeNative(u"ALTER TABLE "_s + data::quoteIdentifier(table) + u" ADD COLUMN "_s +
                               data::quoteIdentifier(kRunColumn) + u" TEXT"_s);
    }
    database.executeNative(indexStatement(table));
    return false;
}

bool isLocked(const data::DatabaseError& e) {
    const int code = e.engineCode() & 0xff;
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

LogEntry readRow(data::ResultSet& set) {
    return {set.text(u"工作年月"), set.text(u"工号"),
            set.text(u"电子邮件"), set.text(u"发送时间"),
            set.text(u"结果"),     set.text(u"服务器回复"),
            set.text(u"邮件标识"), set.fieldIndex(kRunColumn) >= 0 ? set.text(kRunColumn) : QString()};
}

data::FieldValues rowValues(const LogEntry& e) {
    return {{u"工作年月"_s, e.month},     {u"工号"_s, e.number}, {u"电子邮件"_s, e.address},
            {u"发送时间"_s, e.time},      {u"结果"_s, e.result}, {u"服务器回复"_s, e.reply},
            {u"邮件标识"_s, e.messageId}, {kRunColumn, e.run}};
}

QString timeBefore(const QString& now, int seconds) {
    const QDateTime t = QDateTime::fromString(now, u"yyyy-MM-dd HH:mm:ss"_s);
    return t.isValid() ? t.addSecs(-seconds).toString(u"yyyy-MM-dd HH:mm:ss"_s) : QString();
}

}  // namespace

data::TableDef sendLogTableDef(const QString& table) {
    const auto text = [](const QString& name, int size) { return FieldDef{name, FieldType::Text, size, {}}; };
    return {table,
            {text(u"工作年月"_s, 10), text(u"工号"_s, 0), text(u"电子邮件"_s, 0), text(u"发送时间"_s, 19),
             text(u"结果"_s, 10), text(u"服务器回复"_s, 0), text(u"邮件标识"_s, 0), text(kRunColumn, 0)}};
}

bool ensureSendLog(data::Database& database, const QString& table) {
    LogLock lock(database, table);
    const bool created = createOrCheck(database, table);
    lock.commit();
    return created;
}

void recordSend(data::Database& database, const LogEntry& e, const QString& table) {
    ensureSendLog(database, table);
    LogLock lock(database, table);
    database.addRow(table, rowValues(e));
    lock.commit();
}

QList<LogEntry> readSendLog(data::Database& database, const QString& month, const QString& table) {
    QList<LogEntry> rows;
    if (!database.hasTable(table)) return rows;
    data::ResultSet set = database.openNative(
        u"SELECT * FROM "_s + data::quoteIdentifier(table) + u" WHERE "_s +
        data::quoteIdentifier(u"工作年月"_s) + u" = "_s + quoteText(month) +
        (database.sqliteHandle() ? u" ORDER BY rowid"_s
                                 : u" ORDER BY "_s + data::quoteIdentifier(u"发送时间"_s)));
    for (int i = 0; i < set.recordCount(); ++i) {
        set.setAbsolutePosition(i);
        rows.push_back(readRow(set));
    }
    return rows;
}

QHash<QString, LoggedEmployee> loggedStates(const QList<LogEntry>& rows, const QString& now,
                                            const QString& resendSince, const QString& ownRun) {
    const QString young = timeBefore(now, kClaimTimeoutSeconds);
    const auto rank = [](LoggedState s) {
        switch (s) {
            case LoggedState::Sent:
                return 4;
            case LoggedState::Claimed:
                return 3;
            case LoggedState::MaybeSent:
                return 2;
            case LoggedState::Failed:
                return 1;
            case LoggedState::None:
                break;
        }
        return 0;
    };
    QHash<QString, LoggedEmployee> states;
    for (const LogEntry& row : rows) {
        // A resend started in the second of the run before still sends what that run sent.
        const bool before =
            !resendSince.isEmpty() && row.time <= resendSince && (ownRun.isEmpty() || row.run != ownRun);
        LoggedState state = LoggedState::Failed;
        if (row.result == kResultSent) {
            state = before ? LoggedState::Failed : LoggedState::Sent;
        } else if (row.result == kResultClaimed) {
            // A claim of a run that may still be under way blocks even a resend; an old one is said.
            if (row.time >= young) {
                state = LoggedState::Claimed;
            } else {
                state = before ? LoggedState::Failed : LoggedState::MaybeSent;
            }
        }
        LoggedEmployee& e = states[row.number.trimmed()];
        if (rank(state) >= rank(e.state)) e = {state, row};
    }
    return states;
}

QHash<QString, LogEntry> latestByEmployee(const QList<LogEntry>& rows) {
    QHash<QString, LogEntry> latest;
    for (const LogEntry& row : rows) {
        const QString number = row.number.trimmed();
        const auto found = latest.constFind(number);
        if (found != latest.constEnd() && found->result == kResultSent) continue;
        latest.insert(number, row);
    }
    return latest;
}

SendLog::SendLog(data::Database& database, QString month, QString run, QString resendSince, QString table)
    : database_(database),
      month_(std::move(month)),
      run_(std::move(run)),
      resendSince_(std::move(resendSince)),
      table_(std::move(table)) {}

void SendLog::prepare() {
    try {
        LogLock lock(database_, table_);
        createOrCheck(database_, table_);
        lock.commit();
        // A row written and taken back: a database that cannot be written says so before any message.
        LogLock probe(database_, table_);
        database_.addRow(table_, {{u"工作年月"_s, month_}, {u"工号"_s, QString()}, {kRunColumn, run_}});
    } catch (const Error& e) {
        throw Error(e.number(), u"发送记录无法写入，未发送任何邮件（"_s + e.description() + u"）"_s);
    }
}

LoggedEmployee SendLog::claim(const QString& number, const QString& address, const QString& time) {
    try {
        LogLock lock(database_, table_);
        data::ResultSet set = database_.openNative(
            u"SELECT * FROM "_s + data::quoteIdentifier(table_) + u" WHERE "_s +
            data::quoteIdentifier(u"工作年月"_s) + u" = "_s + quoteText(month_) + u" AND "_s +
            data::quoteIdentifier(u"工号"_s) + u" = "_s + quoteText(number) + u" AND "_s +
            data::quoteIdentifier(u"结果"_s) + u" IN ("_s + quoteText(kResultSent) + u", "_s +
            quoteText(kResultClaimed) + u')');
        QList<LogEntry> rows;
        for (int i = 0; i < set.recordCount(); ++i) {
            set.setAbsolutePosition(i);
            rows.push_back(readRow(set));
        }
        const LoggedEmployee logged = loggedStates(rows, time, resendSince_, run_).value(number);
        if (logged.state == LoggedState::Sent || logged.state == LoggedState::Claimed ||
            logged.state == LoggedState::MaybeSent) {
            return logged;
        }
        const LogEntry row{month_, number, address, time, kResultClaimed, QString(), QString(), run_};
        database_.addRow(table_, rowValues(row));
        lock.commit();
        return {LoggedState::None, row};
    } catch (const Error& e) {
        throw Error(e.number(), u"发送记录无法写入，发送已停止（"_s + e.description() + u"）"_s);
    }
}

void SendLog::settle(const LogEntry& e) {
    for (int attempt = 0;; ++attempt) {
        try {
            LogLock lock(database_, table_);
            database_.updateRows(table_,
                                 {{u"结果"_s, e.result},
                                  {u"服务器回复"_s, e.reply},
                                  {u"邮件标识"_s, e.messageId},
                                  {u"电子邮件"_s, e.address}},
                                 {{u"工作年月"_s, month_},
                                  {u"工号"_s, e.number},
                                  {kRunColumn, run_},
                                  {u"结果"_s, kResultClaimed}});
            lock.commit();
            return;
        } catch (const data::DatabaseError& fault) {
            // The server has answered: worth waiting for a writer that holds the database a while.
            if (!isLocked(fault) || attempt >= 12) {
                throw Error(fault.number(),
                            u"发送记录无法写入，发送已停止（"_s + fault.description() + u"）"_s);
            }
            QThread::msleep(200);
        }
    }
}

void SendLog::release(const QString& number) {
    try {
        LogLock lock(database_, table_);
        database_.executeNative(u"DELETE FROM "_s + data::quoteIdentifier(table_) + u" WHERE "_s +
                                data::quoteIdentifier(u"工作年月"_s) + u" = "_s + quoteText(month_) +
                                u" AND "_s + data::quoteIdentifier(u"工号"_s) + u" = "_s + quoteText(number) +
                                u" AND "_s + data::quoteIdentifier(kRunColumn) + u" = "_s + quoteText(run_) +
                                u" AND "_s + data::quoteIdentifier(u"结果"_s) + u" = "_s +
                                quoteText(kResultClaimed));
        lock.commit();
    } catch (const Error& e) {
        throw Error(e.number(), u"发送记录无法写入，发送已停止（"_s + e.description() + u"）"_s);
    }
}

void SendLog::record(const LogEntry& entry) {
    try {
        LogEntry e = entry;
        e.run = run_;
        LogLock lock(database_, table_);
        database_.addRow(table_, rowValues(e));
        lock.commit();
    } catch (const Error& e) {
        throw Error(e.number(), u"发送记录无法写入，发送已停止（"_s + e.description() + u"）"_s);
    }
}

QList<LogEntry> SendLog::rows() {
    return readSendLog(database_, month_, table_);
}

QString newRunName() {
    return QSysInfo::machineHostName() + u'.' + QString::number(::getpid()) + u'.' +
           QString::number(QRandomGenerator::system()->generate64(), 36);
}

}  // namespace slp::mail
