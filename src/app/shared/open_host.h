#pragma once
// One way to be the payroll host: the database, the unit, the month and the pay day put into a
// HostContext exactly as a host puts them through 打印工资, each field under the same rules. The entry
// class, the command line and the tests all open the host through here.
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "data/host_context.h"

namespace slp {

class Prompts;
namespace data {
class Database;
}

// The rules of the fields: each sets its field and returns nothing, or leaves the field as it was and
// returns the description of the refusal (a control character in a unit code or name; a month that is
// not four digits, "-" and one or two digits).
std::optional<QString> setUnitCode(HostContext& host, const QString& unitCode);
std::optional<QString> setUnitName(HostContext& host, const QString& unitName);
std::optional<QString> setWorkMonth(HostContext& host, const QString& workMonthText);
// The pay date from the year and month held now and the day given; a later month leaves it as it is.
void setPayDay(HostContext& host, const QString& payDay);

// What a host hands over.
struct HostRequest {
    // The database: a connection as data::Database takes it ("sqlite:PATH", a postgresql:// address).
    QString connection;
    QString unitCode;
    QString unitName;
    QString month;  // "YYYY-MM"
    QString payDay;
    // Told the rows read so far while long queries run (none: nothing is told).
    std::function<void(int rows)> rowsRead;
};

// Fills `host` from `request` in the host's order (unit code, unit name, month, pay day, database).
// A field refused by its rule, or a database that cannot be opened, is told through `prompts` (the
// refusal's text, or "错误号:" and the number as the title of the database's error) and returns false;
// the fields taken before stay set and no database is held.
bool openHost(HostContext& host, const HostRequest& request, Prompts& prompts);

}  // namespace slp
