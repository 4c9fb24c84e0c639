#include "app/special_print/layout_table.h"

#include "basic/conversions.h"
#include "basic/error.h"
#include "data/database.h"

using namespace Qt::StringLiterals;

namespace slp::windows::special {

using data::FieldDef;
using data::FieldType;
using data::Value;

data::TableDef layoutTableDef(const QString& table) {
    return {table,
            {FieldDef{u"项目名称"_s, FieldType::Text, kCaptionLimit, {}},
             FieldDef{u"X坐标"_s, FieldType::Single, 0, {}}, FieldDef{u"Y坐标"_s, FieldType::Single, 0, {}},
             FieldDef{u"序号"_s, FieldType::Integer, 0, {}}, FieldDef{u"位置"_s, FieldType::Integer, 0, {}},
             FieldDef{u"是否打印名称"_s, FieldType::Boolean, 0, {}}}};
}

bool EnsureLayoutTable(data::Database& database, const QString& table) {
    if (database.hasTable(table)) return false;
    database.createTable(layoutTableDef(table));
    return true;
}

std::vector<LayoutRow> ReadLayout(data::Database& database, const QString& table) {
    std::vector<LayoutRow> rows;
    if (!database.hasTable(table)) return rows;
    data::ResultSet set = database.open(u"select * from "_s + table + u" order by 序号"_s);
    for (int i = 0; i < set.recordCount(); ++i) {
        set.setAbsolutePosition(i);
        LayoutRow row;
        row.caption = set.text(u"项目名称");
        row.x = float(set.number(u"X坐标"));
        row.y = float(set.number(u"Y坐标"));
        row.order = toInt16(set.number(u"序号"));
        row.position = toInt16(set.number(u"位置"));
        row.printName = set.value(u"是否打印名称").toBool();
        rows.push_back(row);
    }
    return rows;
}

bool HasStoredLayout(data::Database& database, const QString& table) {
    return !ReadLayout(database, table).empty();
}

QString tooLongCaption(const std::vector<LayoutRow>& rows) {
    for (const LayoutRow& row : rows) {
        if (row.caption.size() > kCaptionLimit) return row.caption;
    }
    return {};
}

QString captionTooLongMessage(const QString& caption) {
    return u"项目名称\""_s + caption + u"\"长于"_s + QString::number(kCaptionLimit) + u"个字符,设置未存盘!"_s;
}

void SaveLayout(data::Database& database, const std::vector<LayoutRow>& rows, const QString& table) {
    const QString tooLong = tooLongCaption(rows);
    if (!tooLong.isEmpty()) throw Error(captionTooLongError, captionTooLongMessage(tooLong));
    EnsureLayoutTable(database, table);
    data::Transaction transaction(database);
    database.execute(u"delete * from "_s + table);
    {
        data::RowWriter writer(
            database, table,
            {u"项目名称"_s, u"X坐标"_s, u"Y坐标"_s, u"序号"_s, u"位置"_s, u"是否打印名称"_s});
        int order = 0;
        for (const LayoutRow& row : rows) {
            writer.add({Value(row.caption), Value::real(row.x), Value::real(row.y), Value::integer(order++),
                        Value::integer(row.position), Value::boolean(row.printName)});
        }
    }
    transaction.commit();
}

QString layoutSavedMessage() {
    return u"你所做的设置已存盘确认!"_s;
}

}  // namespace slp::windows::special
