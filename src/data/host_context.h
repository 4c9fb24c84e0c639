#pragma once
// The process-wide record the host fills through 打印工资 and every window reads when it opens,
// queries or prints.
#include <QString>
#include <memory>

namespace slp::data {
class Database;
}

namespace slp {

struct HostContext {
    QString unitCode;                          // the employer unit's code
    QString unitName;                          // printed after "单位名称:"
    QString workYear;                          // first four characters of the work-month text
    QString workMonth;                         // the work-month text after its first "-"
    QString payDate;                           // workYear-workMonth-payDay, assembled when the pay day is set
    std::shared_ptr<data::Database> database;  // counted reference to the host's database, or empty

    // The key every month query compares with 工作年月; built on the spot, never stored.
    QString monthKey() const { return workYear + u'-' + workMonth; }
};

// The one record of this process. Only 打印工资 writes it, apart from the release of the
// database when a wage window closes.
HostContext& hostContext();

}  // namespace slp
