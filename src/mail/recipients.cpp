#include "mail/recipients.h"

#include "data/database.h"
#include "mail/address.h"

using namespace Qt::StringLiterals;

namespace slp::mail {

namespace {
void mergeRows(data::ResultSet set, QHash<QString, EmployeeFields>& rows) {
    const QStringList names = set.fieldNames();
    const int number = set.fieldIndex(u"工号");
    if (number < 0) return;
    for (int i = 0; i < set.recordCount(); ++i) {
        set.setAbsolutePosition(i);
        EmployeeFields& row = rows[set.text(number).trimmed()];
        for (int c = 0; c < names.size(); ++c) row.insert(names[c].trimmed(), set.text(c));
    }
}
}  // namespace

QHash<QString, EmployeeFields> readEmployeeFields(data::Database& database, const QString& monthKey) {
    QHash<QString, EmployeeFields> rows;
    if (database.hasTable(u"16工资输出数据"_s)) {
        QString month = monthKey;
        month.replace(u'\'', u"''"_s);
        mergeRows(database.open(u"select * from 16工资输出数据 where 工作年月='"_s + month + u"'"_s), rows);
    }
    if (database.hasTable(u"12个人信息"_s)) mergeRows(database.open(u"select * from 12个人信息"_s), rows);
    return rows;
}

QString slipPassword(const EmployeeFields& fields, const PasswordRule& rule) {
    const QString value = fields.value(rule.column.trimmed()).trimmed();
    if (rule.lastChars <= 0 || value.size() <= rule.lastChars) return value;
    return value.right(rule.lastChars);
}

bool isMailAddress(const QString& address) {
    return !checkAddress(address).isEmpty();
}

QString employeeAddress(const EmployeeFields& fields, const QString& column, QString* fault) {
    const QString value = fields.value(column.trimmed()).trimmed();
    if (fault) fault->clear();
    if (value.isEmpty()) return QString();
    return checkAddress(value, fault);
}

std::vector<Recipient> listRecipients(const WageGridRows& grid, const QHash<QString, EmployeeFields>& fields,
                                      const MailSettings& settings) {
    std::vector<Recipient> list;
    list.reserve(size_t(std::max(0, grid.employeeCount())));
    for (int i = 0; i < grid.employeeCount(); ++i) {
        Recipient r;
        r.gridRow = i + 1;
        r.number = grid.number(i).trimmed();
        r.name = grid.name(i).trimmed();
        const auto row = fields.constFind(r.number);
        if (row != fields.constEnd()) {
            r.address = employeeAddress(*row, settings.addressColumn, &r.addressFault);
            r.password = slipPassword(*row, settings.password);
        }
        list.push_back(std::move(r));
    }
    return list;
}

}  // namespace slp::mail
