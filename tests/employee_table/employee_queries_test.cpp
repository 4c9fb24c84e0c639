// The query texts of the employee wage table, character for character.
#include "windows/employee_table/employee_queries.h"

#include <gtest/gtest.h>

#include "basic/error.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::employee;

namespace {

slp::data::WageCatalogue catalogue(const QStringList& names, int firstAmount) {
    slp::data::WageCatalogue c;
    c.itemName = names;
    for (int i = 0; i < names.size(); ++i) {
        c.itemFormat << (i < firstAmount ? u"0"_s : u"0.00"_s);
        c.itemWidth << int16_t(5);
    }
    c.itemCount = int16_t(names.size());
    c.firstAmountIndex = int16_t(firstAmount);
    return c;
}

TEST(EmployeeQueries, TheItemQueryListsEveryItemInBracketsInDepartmentOrder) {
    const auto c = catalogue({u"部门"_s, u"工号"_s, u"姓名"_s, u"基本工资"_s, u"实发工资"_s}, 3);
    EXPECT_EQ(
        employeeItemQuery(c, u"2000-04"_s),
        u"select [部门],[工号],[姓名],[基本工资],[实发工资] from 16工资输出数据 where 工作年月='2000-04' "
        u"order by 部门号"_s);
    // The month key goes in as the host set it.
    EXPECT_EQ(employeeItemQuery(catalogue({u"a b"_s}, 0), u"2000-4"_s),
              u"select [a b] from 16工资输出数据 where 工作年月='2000-4' order by 部门号"_s);
}

TEST(EmployeeQueries, TheTotalsQueryCountsTheTextItemsAndSumsTheAmounts) {
    const auto c = catalogue({u"部门"_s, u"工号"_s, u"姓名"_s, u"基本工资"_s, u"工龄"_s, u"实发工资"_s}, 3);
    // The blank pairs and the blank before the last closing bracket are the host's own.
    EXPECT_EQ(
        employeeTotalsQuery(c, u"2000-04"_s),
        u" Select  count([部门]) as 部门ofcount, count([工号]) as 工号ofcount, count([姓名]) as 姓名ofcount, "
        u"sum(val([基本工资] & '')) as  基本工资ofsum, sum(val([工龄] & '')) as  工龄ofsum,"
        u"sum(val([实发工资 ] & '')) as 实发工资ofsum from 16工资输出数据 where 工作年月='2000-04' "_s);
    // One text item and one amount: no loops run.
    EXPECT_EQ(
        employeeTotalsQuery(catalogue({u"姓名"_s, u"实发"_s}, 1), u"1999-12"_s),
        u" Select  count([姓名]) as 姓名ofcount,sum(val([实发 ] & '')) as 实发ofsum from 16工资输出数据 "
        u"where 工作年月='1999-12' "_s);
}

TEST(EmployeeQueries, CataloguesTheQueriesCannotBeBuiltFromAreRefused) {
    // No text item: the count of the item before the first amount does not exist.
    EXPECT_THROW(employeeTotalsQuery(catalogue({u"a"_s, u"b"_s}, 0), u"2000-04"_s), slp::Error);
    // No item at all.
    EXPECT_THROW(employeeItemQuery(catalogue({}, 0), u"2000-04"_s), slp::Error);
    try {
        employeeItemQuery(catalogue({}, 0), u"2000-04"_s);
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), 9);
    }
    // A first amount index left from an earlier, longer catalogue.
    EXPECT_THROW(employeeTotalsQuery(catalogue({u"a"_s, u"b"_s}, 4), u"2000-04"_s), slp::Error);
}

}  // namespace
