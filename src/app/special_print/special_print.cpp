#include "app/special_print/special_print.h"

#include "app/special_print/layout_table.h"
#include "basic/conversions.h"
#include "basic/host_text.h"
#include "basic/prompts.h"
#include "data/database.h"
#include "data/wage_items.h"

using namespace Qt::StringLiterals;

namespace slp::windows::special {

QString specialItemsQuery(const QString& monthKey) {
    return u"select 项目名称 from 14工资输出及公式 where  工作年月="_s + sqlTextLiteral(monthKey) +
           u" order by 项目序号"_s;
}

QString columnName(QStringView itemName) {
    bool plain = !itemName.isEmpty();
    bool first = true;
    for (const uint code : itemName.toUcs4()) {
        const char32_t c = code;
        const bool digit = c >= U'0' && c <= U'9';
        if ((first && digit) || (c != U'_' && !digit && !QChar::isLetterOrNumber(c))) {
            plain = false;
            break;
        }
        first = false;
    }
    return plain ? itemName.toString() : sqlBracketed(itemName);
}

QString specialDataQuery(const QStringList& items, const QString& dataTable, const QString& monthKey,
                         const QString& orderClause) {
    QStringList columns;
    for (const QString& item : items) columns << columnName(item);
    return u" select "_s + columns.join(u',') + u" from  "_s + dataTable + u" where 工作年月= "_s +
           sqlTextLiteral(monthKey) + u' ' + orderClause;
}

SpecialData openSpecialData(data::Database& database, const QString& monthKey, const QString& orderClause,
                            const QString& dataTable, const QString& payDate) {
    QStringList items;
    data::ResultSet names = database.open(specialItemsQuery(monthKey));
    for (int i = 0; i < names.recordCount(); ++i) {
        names.setAbsolutePosition(i);
        items << names.text(0);
    }
    SpecialData data;
    data.rows = database.open(specialDataQuery(items, dataTable, monthKey, orderClause));
    data.rows.moveLast();
    data.layout = ReadLayout(database);
    data.payDate = payDate;
    data.formats = specialValueFormats(database, monthKey);
    return data;
}

std::vector<std::optional<QString>> specialValueFormats(data::Database& database, const QString& monthKey) {
    std::vector<std::optional<QString>> formats;
    data::ResultSet rs = database.open(data::wageItemsQuery(monthKey));
    bool amounts = false;
    for (int i = 0; i < rs.recordCount(); ++i) {
        rs.setAbsolutePosition(i);
        const double places = rs.number(u"小数位数");
        amounts = amounts || places > 0;
        formats.push_back(amounts ? std::optional<QString>(data::itemFormatFor(places)) : std::nullopt);
    }
    return formats;
}

QString firstPrompt(int recordCount) {
    return u"请选择从几号开始打印\r\n请注意共有"_s + QString::number(recordCount) + u"号"_s;
}

QString lastPrompt(int first, int recordCount) {
    return u"你已选择从"_s + QString::number(first) + u"号开始,请选择到几号结束\r\n请注意共有"_s +
           QString::number(recordCount) + u"号"_s;
}

std::optional<std::pair<int, int>> askRange(Prompts& prompts, int recordCount) {
    const int first =
        toInt32(leadingValue(prompts.inputBox(firstPrompt(recordCount), {}, u"1"_s).value_or(u""_s)));
    if (first == 0) return std::nullopt;
    const int last =
        toInt32(leadingValue(prompts.inputBox(lastPrompt(first, recordCount), {}, {}).value_or(u""_s)));
    if (last == 0) return std::nullopt;
    return std::make_pair(first, last);
}

QString manyJobsQuestion(int jobs, bool files) {
    return u"将打印%1个作业%2，可能需要较长时间。是否继续?"_s.arg(jobs).arg(
        files ? u"（每个作业一个PDF文件）"_s : QString());
}

QString emptyRangeMessage(int first, int last, int recordCount) {
    return u"所选范围（第"_s + QString::number(first) + u"号至第"_s + QString::number(last) +
           u"号）内没有可打印的内容（共"_s + QString::number(recordCount) + u"号），未打印任何内容。"_s;
}

double mmToTwips(double mm) {
    return mm * 1440.0 / 25.4;
}

}  // namespace slp::windows::special
