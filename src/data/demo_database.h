#pragma once
// A realistic, deterministic wage database for the demo host, the tests and the measurements: the four
// host tables of one month (departments with their groups, persons, the item catalogue and the computed
// wages), the same content for the same seed.
#include <QList>
#include <QString>
#include <cstdint>

namespace slp::data {

class Database;

struct DemoOptions {
    int employees = 200;
    QString month = QStringLiteral("2000-04");  // the month key written into 工作年月
    uint64_t seed = 20000425;
    bool replace = false;  // createDemoDatabase: replace an existing file instead of refusing it
    // The catalogue: the 28 items of demoWageItems() (wide, about 142 characters: wider than any paper at
    // the default font size) or the 11 of narrowDemoWageItems(), whose table fits A4 portrait.
    bool narrow = false;
};

// One item of the demo catalogue.
struct DemoItem {
    QString name;
    int decimals = 2;     // 小数位数
    int printWidth = 10;  // 打印宽度 in half-width characters
};

struct DemoSummary {
    int departments = 0;  // two-character codes
    int groups = 0;       // four-character codes
    int employees = 0;
    int items = 0;
};

// The catalogue in item order: 部门, 工号, 姓名 (text items), the earnings, 应发工资, the deductions,
// 扣款合计, 计税工资, 个人所得税 and 实发工资 last.
QList<DemoItem> demoWageItems();
// The narrow catalogue: 部门, 工号, 姓名, 基本工资, 岗位工资, 津贴补贴 (every other earning of the wide
// catalogue), 应发工资, 社会保险 (pension, medical and unemployment insurance), 住房公积金, 个人所得税
// and 实发工资 (应发工资 less the deductions shown and the tax). The same seed gives the same people,
// groups and earnings as the wide catalogue.
QList<DemoItem> narrowDemoWageItems();

// Creates the four tables in an open database and fills them, in one transaction.
DemoSummary writeDemoData(Database& database, const DemoOptions& options = {});

// Creates the SQLite file at `path` and fills it. An existing file is refused (DatabaseError) unless
// options.replace is set.
DemoSummary createDemoDatabase(const QString& path, const DemoOptions& options = {});

}  // namespace slp::data
