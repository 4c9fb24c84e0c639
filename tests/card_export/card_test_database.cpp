#include "card_test_database.h"

#include <algorithm>

#include "data/demo_database.h"

using namespace Qt::StringLiterals;

namespace slp::test {

namespace {

struct EdgeRow {
    QString number;
    QString name;
    data::Value card;
    data::Value amount;
    QString month;
    QString shown;  // empty: not listed
};

QList<EdgeRow> edgeRows(bool oddAmount) {
    using data::Value;
    QList<EdgeRow> rows{
        {u"9001"_s, u"甲一"_s, u"6222000000000001"_s, u""_s, kMonth, QString()},
        {u"9002"_s, u"乙二"_s, u"6222000000000002"_s, u"0"_s, kMonth, QString()},
        {u"9003"_s, u"丙三"_s, u"abc"_s, u"100"_s, kMonth, QString()},
        {u"9004"_s, u"丁四"_s, u"   "_s, u"100"_s, kMonth, QString()},
        {u"9005"_s, u"戊五"_s, u"4367421234567890"_s, u"1234.5"_s, kMonth, u"1234.50"_s},
        {u"9006"_s, u"己六"_s, u"6222000000000006"_s, u"0.005"_s, kMonth, u"0.01"_s},
        {u"9008"_s, u"辛八"_s, u"0000"_s, u"100"_s, kMonth, QString()},
        {u"9009"_s, u"壬九"_s, u"6222000000000009"_s, Value(), kMonth, QString()},
        {u"9010"_s, u"癸十"_s, u" 0012"_s, u"88.8"_s, kMonth, u"88.80"_s},
        {u"9011"_s, u"子十一"_s, u"12-34"_s, u"7"_s, kMonth, u"7.00"_s},
        {u"9012"_s, u"丑十二"_s, u"6222000000000012"_s, u"500"_s, u"2000-03"_s, QString()},
        {u"9013"_s, u"寅十三"_s, u"6222000000000013"_s, Value::real(2.675), kMonth, u"2.68"_s},
        {u"9014"_s, u"卯十四"_s, Value(), u"300"_s, kMonth, QString()},
    };
    if (oddAmount) rows.append({u"9007"_s, u"庚七"_s, u"6222000000000007"_s, u"12abc"_s, kMonth, u"12abc"_s});
    return rows;
}

// A stored demo amount ("1234.5", "980") as the grid shows it.
QString shownOf(const QString& stored) {
    const qsizetype point = stored.indexOf(u'.');
    if (point < 0) return stored + u".00"_s;
    return stored.left(point + 1) + stored.mid(point + 1).leftJustified(2, u'0');
}

}  // namespace

CardDatabase::CardDatabase(int employees, bool oddAmount) : oddAmount_(oddAmount) {
    data::DemoOptions options;
    options.employees = employees;
    options.month = kMonth;
    data::createDemoDatabase(path(), options);
    db_ = std::make_shared<data::Database>(u"sqlite:"_s + path());
    for (const EdgeRow& e : edgeRows(oddAmount)) {
        db_->addRow(
            u"12个人信息"_s,
            {{u"工号"_s, e.number}, {u"姓名"_s, e.name}, {u"部门号"_s, u"0101"_s}, {u"信用卡号"_s, e.card}});
        db_->addRow(u"16工资输出数据"_s, {{u"工作年月"_s, e.month},
                                          {u"部门号"_s, u"0101"_s},
                                          {u"工号"_s, e.number},
                                          {u"姓名"_s, e.name},
                                          {u"实发工资"_s, e.amount}});
    }
}

QList<ExpectedRow> CardDatabase::expectedRows() const {
    QList<ExpectedRow> rows;
    // The demo's employees: numbers below 9000, amounts and card numbers that are plain digits.
    data::ResultSet r = db_->openNative(
        uR"(SELECT w."工号", w."部门号", p."姓名", p."信用卡号", w."实发工资" FROM "16工资输出数据" w
            JOIN "12个人信息" p ON w."工号" = p."工号"
            WHERE w."工作年月" = '2000-04' AND w."工号" < '9000' AND CAST(w."实发工资" AS REAL) > 0
              AND p."信用卡号" GLOB '[1-9]*')"_s);
    for (int i = 0; i < r.recordCount(); ++i) {
        r.setAbsolutePosition(i);
        rows.append({r.text(0), r.text(1), r.text(2), r.text(3), shownOf(r.text(4))});
    }
    for (const EdgeRow& e : edgeRows(oddAmount_)) {
        if (!e.shown.isEmpty()) rows.append({e.number, u"0101"_s, e.name, e.card.toText(), e.shown});
    }
    std::sort(rows.begin(), rows.end(),
              [](const ExpectedRow& a, const ExpectedRow& b) { return a.number < b.number; });
    return rows;
}

int64_t CardDatabase::expectedTotalFen() const {
    int64_t total = 0;
    for (const ExpectedRow& row : expectedRows()) total += fenOf(row.shown);
    return total;
}

HostContext demoHost(std::shared_ptr<data::Database> database) {
    HostContext host;
    host.unitCode = u"0101"_s;
    host.unitName = u"朔岚示范公司"_s;
    host.workYear = u"2000"_s;
    host.workMonth = u"04"_s;
    host.payDate = u"2000-04-25"_s;
    host.database = std::move(database);
    return host;
}

int64_t fenOf(const QString& shown) {
    int64_t yuan = 0;
    int64_t fen = 0;
    qsizetype i = 0;
    for (; i < shown.size() && shown[i].isDigit(); ++i) yuan = yuan * 10 + shown[i].digitValue();
    if (i < shown.size() && shown[i] == u'.') {
        for (int d = 0; d < 2; ++d) {
            ++i;
            fen = fen * 10 + (i < shown.size() && shown[i].isDigit() ? shown[i].digitValue() : 0);
        }
    }
    return yuan * 100 + fen;
}

QString yuanText(int64_t fen) {
    return QString::number(fen / 100) + u'.' + QString::number(fen % 100).rightJustified(2, u'0');
}

void CardDatabase::keepCardNumbersTo(int chars) {
    db_->executeNative(
        QStringLiteral("UPDATE \"12个人信息\" SET \"信用卡号\" = substr(\"信用卡号\", 1, %1)").arg(chars));
}

}  // namespace slp::test
