#include "mail/send_log.h"

#include "data/database.h"

using namespace Qt::StringLiterals;

namespace slp::mail {

using data::FieldDef;
using data::FieldType;

data::TableDef sendLogTableDef(const QString& table) {
    const auto text = [](const QString& name, int size) { return FieldDef{name, FieldType::Text, size, {}}; };
    return {table,
            {text(u"工作年月"_s, 10), text(u"工号"_s, 0), text(u"电子邮件"_s, 0), text(u"发送时间"_s, 19),
             text(u"结果"_s, 10), text(u"服务器回复"_s, 0), text(u"邮件标识"_s, 0)}};
}

bool ensureSendLog(data::Database& database, const QString& table) {
    if (database.hasTable(table)) return false;
    database.createTable(sendLogTableDef(table));
    return true;
}

void recordSend(data::Database& database, const LogEntry& e, const QString& table) {
    ensureSendLog(database, table);
    database.addRow(table, {{u"工作年月"_s, e.month},
                            {u"工号"_s, e.number},
                            {u"电子邮件"_s, e.address},
                            {u"发送时间"_s, e.time},
                            {u"结果"_s, e.result},
                            {u"服务器回复"_s, e.reply},
                            {u"邮件标识"_s, e.messageId}});
}

QList<LogEntry> readSendLog(data::Database& database, const QString& month, const QString& table) {
    QList<LogEntry> rows;
    if (!database.hasTable(table)) return rows;
    QString key = month;
    key.replace(u'\'', u"''"_s);
    data::ResultSet set = database.open(u"select * from "_s + table + u" where 工作年月='"_s + key + u"'"_s);
    for (int i = 0; i < set.recordCount(); ++i) {
        set.setAbsolutePosition(i);
        rows.push_back({set.text(u"工作年月"), set.text(u"工号"), set.text(u"电子邮件"),
                        set.text(u"发送时间"), set.text(u"结果"), set.text(u"服务器回复"),
                        set.text(u"邮件标识")});
    }
    return rows;
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

}  // namespace slp::mail
