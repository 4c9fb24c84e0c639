// Every query text the windows and the item catalogue build, from fixed inputs, against its golden file
// in queries/ (one file a builder and case). SLP_UPDATE_GOLDEN=1 rewrites the files (README.md).
#include <gtest/gtest.h>

#include <QDir>
#include <functional>

#include "data/wage_items.h"
#include "golden_file.h"
#include "windows/card_export/card_query.h"
#include "windows/department_payment/payment_queries.h"
#include "windows/department_summary/summary_queries.h"
#include "windows/employee_table/employee_queries.h"
#include "windows/query/query_conditions.h"
#include "windows/special_print/special_print.h"

using namespace Qt::StringLiterals;
namespace win = slp::windows;

namespace {

// The names are all a query builder reads of a catalogue, with the count and the first amount.
slp::data::WageCatalogue catalogue(const QStringList& names, int firstAmount) {
    slp::data::WageCatalogue c;
    c.itemName = names;
    c.itemCount = int16_t(names.size());
    c.firstAmountIndex = int16_t(firstAmount);
    return c;
}

const auto kPayment = catalogue({u"部门"_s, u"姓名"_s, u"基本工资"_s, u"实发工资"_s}, 2);
const auto kSummary =
    catalogue({u"部门"_s, u"工号"_s, u"姓名"_s, u"基本工资"_s, u"工龄"_s, u"实发工资"_s}, 3);
const auto kThreeItems = catalogue({u"部门"_s, u"姓名"_s, u"实发工资"_s}, 2);
const auto kSevenItems =
    catalogue({u"部门"_s, u"工号"_s, u"姓名"_s, u"基本工资"_s, u"工龄"_s, u"加班费"_s, u"实发工资"_s}, 3);

struct QueryCase {
    const char* file;  // queries/<file>.sql, and the test's name
    std::function<QString()> build;
};

const QueryCase kCases[] = {
    {"payment_code_length", [] { return win::payment::codeLengthQuery(); }},
    {"payment_department_list", [] { return win::payment::departmentListQuery(u"2000-04"_s); }},
    {"payment_items", [] { return win::payment::paymentItemQuery(kPayment, u"2000-04"_s); }},
    {"payment_totals", [] { return win::payment::paymentTotalsQuery(kPayment, u"2000-04"_s); }},
    {"payment_department_rows",
     [] { return win::payment::departmentRowsQuery(kPayment, u"2000-04"_s, 2, u"01"_s); }},
    {"payment_department_totals",
     [] { return win::payment::departmentTotalsQuery(kPayment, u"2000-04"_s, 2, u"01"_s); }},
    {"summary_code_length", [] { return win::summary::codeLengthQuery(); }},
    {"summary_two_characters",
     [] { return win::summary::departmentSummaryQuery(kSummary, 2, u"2000-04"_s); }},
    // One amount item: summed once, as the last column.
    {"summary_one_amount_item",
     [] {
         return win::summary::departmentSummaryQuery(catalogue({u"部门"_s, u"工号"_s, u"实发"_s}, 2), 4,
                                                     u"2000-4"_s);
     }},
    {"employee_items",
     [] {
         const auto c = catalogue({u"部门"_s, u"工号"_s, u"姓名"_s, u"基本工资"_s, u"实发工资"_s}, 3);
         return win::employee::employeeItemQuery(c, u"2000-04"_s);
     }},
    {"employee_items_month_as_set",
     [] { return win::employee::employeeItemQuery(catalogue({u"a b"_s}, 0), u"2000-4"_s); }},
    {"employee_totals", [] { return win::employee::employeeTotalsQuery(kSummary, u"2000-04"_s); }},
    {"employee_totals_one_text_one_amount",
     [] {
         return win::employee::employeeTotalsQuery(catalogue({u"姓名"_s, u"实发"_s}, 1), u"1999-12"_s);
     }},
    {"conditional_name",
     [] {
         const QString conditions = win::query::joinConditions(win::query::nameCondition(u"张"), QString());
         return win::query::conditionalQueryStatement(kThreeItems, u"2000-04"_s, conditions);
     }},
    {"conditional_name_and_department",
     [] {
         const QString conditions = win::query::joinConditions(win::query::nameCondition(u"张"),
                                                               win::query::departmentCondition(u"01"));
         return win::query::conditionalQueryStatement(kThreeItems, u"2000-04"_s, conditions);
     }},
    // The statement the conditional query runs for "张" on the month of query/conditional_query_test.cpp.
    {"conditional_seven_items",
     [] {
         const QString conditions = win::query::joinConditions(win::query::nameCondition(u"张"), QString());
         return win::query::conditionalQueryStatement(kSevenItems, u"2000-04"_s, conditions);
     }},
    // Only the names that would not read as one column go between brackets.
    {"special_data",
     [] {
         return win::special::specialDataQuery({u"工号"_s, u"实发-工资"_s, u"1月奖金"_s, u"a]b"_s},
                                               u"16工资输出数据"_s, u"2000-04"_s, u"order by 部门号"_s);
     }},
    {"special_items_quote_in_month", [] { return win::special::specialItemsQuery(u"20'0"_s); }},
    {"card_items", [] { return slp::card::cardItemsQuery(u"2000-04"_s); }},
    {"card_by_employee_number",
     [] { return slp::card::cardQuery(u"实发工资"_s, u"[16工资输出数据].工号"_s, u"2000-04"_s); }},
    {"card_by_card_number",
     [] { return slp::card::cardQuery(u"Net_Pay2"_s, u"[12个人信息].信用卡号"_s, u"2000-4"_s); }},
    {"wage_items", [] { return slp::data::wageItemsQuery(u"2000-04"_s); }},
};

void PrintTo(const QueryCase& c, std::ostream* os) {
    *os << c.file;
}

class QueryGolden : public ::testing::TestWithParam<QueryCase> {};

TEST_P(QueryGolden, TextIsTheGoldenFile) {
    const QueryCase& c = GetParam();
    EXPECT_TRUE(slp::test::matchesGolden(u"queries/"_s + QLatin1StringView(c.file) + u".sql"_s, c.build()));
}

INSTANTIATE_TEST_SUITE_P(Builders, QueryGolden, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<QueryCase>& info) {
                             return std::string(info.param.file);
                         });

// A golden file without its case would go unchecked.
TEST(QueryGoldenFiles, EveryFileHasItsCase) {
    QStringList cases;
    for (const QueryCase& c : kCases) cases << QLatin1StringView(c.file) + u".sql"_s;
    cases.sort();
    const QStringList files =
        QDir(QStringLiteral(SLP_GOLDEN_DIR) + u"/queries"_s).entryList({u"*.sql"_s}, QDir::Files, QDir::Name);
    EXPECT_EQ(files.join(u' ').toStdString(), cases.join(u' ').toStdString());
}

}  // namespace
