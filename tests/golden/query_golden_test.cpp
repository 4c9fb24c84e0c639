// Every query text the windows and the item catalogue build, from fixed inputs, against its golden file
// in queries/ (one file a builder and case). SLP_UPDATE_GOLDEN=1 rewrites the files (README.md).
#include <gtest/gtest.h>

#include <QDir>

#include "app/card_export/card_query.h"
#include "app/department_payment/payment_queries.h"
#include "app/department_summary/summary_queries.h"
#include "app/employee_table/employee_queries.h"
#include "app/query/query_conditions.h"
#include "app/special_print/special_print.h"
#include "data/wage_items.h"
#include "golden_file.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::employee;
using namespace slp::windows::query;
using namespace slp::windows::special;
using slp::card::cardItemsQuery, slp::card::cardQuery, slp::data::WageCatalogue;
namespace pay = slp::windows::payment;
namespace sum = slp::windows::summary;

namespace {

// The names are all a query builder reads of a catalogue, with the count and the first amount.
WageCatalogue catalogue(const QStringList& names, int firstAmount) {
    WageCatalogue c;
    c.itemName = names;
    c.itemCount = int16_t(names.size());
    c.firstAmountIndex = int16_t(firstAmount);
    return c;
}

const WageCatalogue kPay = catalogue({u"部门"_s, u"姓名"_s, u"基本工资"_s, u"实发工资"_s}, 2);
const WageCatalogue kSix =
    catalogue({u"部门"_s, u"工号"_s, u"姓名"_s, u"基本工资"_s, u"工龄"_s, u"实发工资"_s}, 3);
const WageCatalogue kThree = catalogue({u"部门"_s, u"姓名"_s, u"实发工资"_s}, 2);
// The month of query/conditional_query_test.cpp, whose run compares its statement with the file.
const WageCatalogue kSeven =
    catalogue({u"部门"_s, u"工号"_s, u"姓名"_s, u"基本工资"_s, u"工龄"_s, u"加班费"_s, u"实发工资"_s}, 3);

QString conditional(const WageCatalogue& c, QStringView name, QStringView department) {
    return conditionalQueryStatement(c, u"2000-04"_s,
                                     joinConditions(nameCondition(name), departmentCondition(department)));
}

struct QueryCase {
    const char* file;  // queries/<file>.sql, and the case's name
    QString (*build)();
};

void PrintTo(const QueryCase& c, std::ostream* os) {
    *os << c.file;
}

const QueryCase kCases[] = {
    {"payment_code_length", [] { return pay::codeLengthQuery(); }},
    {"payment_department_list", [] { return pay::departmentListQuery(u"2000-04"_s); }},
    {"payment_items", [] { return pay::paymentItemQuery(kPay, u"2000-04"_s); }},
    {"payment_totals", [] { return pay::paymentTotalsQuery(kPay, u"2000-04"_s); }},
    {"payment_department_rows", [] { return pay::departmentRowsQuery(kPay, u"2000-04"_s, 2, u"01"_s); }},
    {"payment_department_totals", [] { return pay::departmentTotalsQuery(kPay, u"2000-04"_s, 2, u"01"_s); }},
    {"summary_code_length", [] { return sum::codeLengthQuery(); }},
    {"summary_two_characters", [] { return sum::departmentSummaryQuery(kSix, 2, u"2000-04"_s); }},
    // One amount item: summed once, as the last column.
    {"summary_one_amount_item",
     [] {
         return sum::departmentSummaryQuery(catalogue({u"部门"_s, u"工号"_s, u"实发"_s}, 2), 4, u"2000-4"_s);
     }},
    {"employee_items",
     [] {
         return employeeItemQuery(
             catalogue({u"部门"_s, u"工号"_s, u"姓名"_s, u"基本工资"_s, u"实发工资"_s}, 3), u"2000-04"_s);
     }},
    {"employee_items_month_as_set", [] { return employeeItemQuery(catalogue({u"a b"_s}, 0), u"2000-4"_s); }},
    {"employee_totals", [] { return employeeTotalsQuery(kSix, u"2000-04"_s); }},
    {"employee_totals_one_text_one_amount",
     [] {
         return employeeTotalsQuery(catalogue({u"姓名"_s, u"实发"_s}, 1), u"1999-12"_s);
     }},
    {"conditional_name", [] { return conditional(kThree, u"张", {}); }},
    {"conditional_name_and_department", [] { return conditional(kThree, u"张", u"01"); }},
    {"conditional_seven_items", [] { return conditional(kSeven, u"张", {}); }},
    // Only the names that would not read as one column go between brackets.
    {"special_data",
     [] {
         return specialDataQuery({u"工号"_s, u"实发-工资"_s, u"1月奖金"_s, u"a]b"_s}, u"16工资输出数据"_s,
                                 u"2000-04"_s, u"order by 部门号"_s);
     }},
    {"special_items_quote_in_month", [] { return specialItemsQuery(u"20'0"_s); }},
    {"card_items", [] { return cardItemsQuery(u"2000-04"_s); }},
    {"card_by_employee_number",
     [] { return cardQuery(u"实发工资"_s, u"[16工资输出数据].工号"_s, u"2000-04"_s); }},
    {"card_by_card_number", [] { return cardQuery(u"Net_Pay2"_s, u"[12个人信息].信用卡号"_s, u"2000-4"_s); }},
    {"wage_items", [] { return slp::data::wageItemsQuery(u"2000-04"_s); }},
};

class QueryGolden : public ::testing::TestWithParam<QueryCase> {};

TEST_P(QueryGolden, TextIsTheGoldenFile) {
    const QueryCase& c = GetParam();
    EXPECT_TRUE(slp::test::matchesGolden(u"queries/"_s + QLatin1StringView(c.file) + u".sql"_s, c.build()));
}

INSTANTIATE_TEST_SUITE_P(Builders, QueryGolden, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.file); });

// A golden file without its case would go unchecked.
TEST(QueryGoldenFiles, EveryFileHasItsCase) {
    QStringList cases;
    for (const QueryCase& c : kCases) cases << QLatin1StringView(c.file) + u".sql"_s;
    cases.sort();
    const QStringList files = QDir(QStringLiteral(SLP_GOLDEN_DIR) + u"/queries"_s).entryList({u"*.sql"_s});
    EXPECT_EQ(files.join(u' ').toStdString(), cases.join(u' ').toStdString());
}

}  // namespace
