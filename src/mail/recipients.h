#pragma once
// Who receives which slip: the month's employees with their address and the password of their slip,
// from the employee's row (12个人信息 joined with the month's 16工资输出数据 by 工号).
#include <QHash>
#include <QString>
#include <vector>

#include "mail/mail_settings.h"

namespace slp::data {
class Database;
}

namespace slp::mail {

// An employee's row: column name (trimmed) to value as text.
using EmployeeFields = QHash<QString, QString>;

// The rows of the month's employees keyed by 工号 (trimmed): the month's 16工资输出数据 with the
// employee's 12个人信息 over it. A table that is missing gives no columns.
QHash<QString, EmployeeFields> readEmployeeFields(data::Database& database, const QString& monthKey);

// The password of a slip by the rule; empty when the column is missing or empty (such a slip is never
// sent). Blanks around the value do not count.
QString slipPassword(const EmployeeFields& fields, const PasswordRule& rule);

// The address of an employee: the column's value, trimmed; empty when there is none or it is not
// exactly one address (checkAddress), and then *fault says why.
QString employeeAddress(const EmployeeFields& fields, const QString& column, QString* fault = nullptr);
bool isMailAddress(const QString& address);

struct Recipient {
    int gridRow = 0;        // the employee's row in the employee wage grid (from 1)
    QString number;         // 工号
    QString name;           // 姓名
    QString address;        // empty: no address
    QString password;       // empty: none can be made, the slip is not sent
    QString addressFault;   // why the address column's value was refused (empty: none or fine)
    QString passwordFault;  // why no password could be made of the rule's column
};

// The employees of the wage grid (rows 1 .. rows-2: the caption row first, the totals row last), in
// grid order, with their address and password from `fields`.
class WageGridRows {
  public:
    virtual ~WageGridRows() = default;
    virtual int employeeCount() const = 0;
    // 工号 and 姓名 of employee `index` (from 0) as the grid shows them.
    virtual QString number(int index) const = 0;
    virtual QString name(int index) const = 0;
};
std::vector<Recipient> listRecipients(const WageGridRows& grid, const QHash<QString, EmployeeFields>& fields,
                                      const MailSettings& settings);

}  // namespace slp::mail
