// The query texts of the department summary, character for character, and their acceptance by the
// engine's translator.
#include "windows/department_summary/summary_queries.h"

#include <gtest/gtest.h>

#include "basic/error.h"
#include "summary_fixture.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::summary;

namespace {

slp::data::WageCatalogue catalogueOf(const QStringList& names, int16_t firstAmountIndex) {
    slp::data::WageCatalogue c;
    c.itemName = names;
    for (qsizetype i = 0; i < names.size(); ++i) {
        c.itemFormat << u"0.00"_s;
        c.itemWidth << int16_t(4);
    }
    c.itemCount = int16_t(names.size());
    c.firstAmountIndex = firstAmountIndex;
    return c;
}

TEST(SummaryQueries, CodeLengthQueryHasNoFilterAndNoOrder) {
    EXPECT_EQ(codeLengthQuery(), u" select len(部门号) as a from 11部门信息"_s);
}

TEST(SummaryQueries, GroupedQueryIsWrittenWithItsBlanksAndBothAliasSpellings) {
    const auto c = catalogueOf({u"部门"_s, u"工号"_s, u"姓名"_s, u"基本工资"_s, u"工龄"_s, u"实发工资"_s}, 3);
    EXPECT_EQ(
        departmentSummaryQuery(c, 2, u"2000-04"_s),
        u"select b.[部门名称] as 部门, count(a.[工号]) as 工号ofcount , sum(val(a.[基本工资] & '')) as  "
        "基本工资ofsum, sum(val(a.[工龄] & '')) as  工龄ofsum,sum(val(a.[实发工资] & '')) as 实发工资ofsum "
        "from 16工资输出数据 as a inner join 11部门信息 as b on left(a.[部门号],2)=b.[部门号] and "
        "a.[工作年月]=B.[工作年月] where a.[工作年月]= '2000-04'  group by  left(a.[部门号],2),b.[部门名称]  "
        "order by left(a.[部门号],2) "_s);
}

TEST(SummaryQueries, OneAmountItemIsSummedOnlyAsTheLastColumn) {
    const auto c = catalogueOf({u"部门"_s, u"工号"_s, u"实发"_s}, 2);
    const QString q = departmentSummaryQuery(c, 4, u"2000-4"_s);
    EXPECT_TRUE(
        q.startsWith(u"select b.[部门名称] as 部门, count(a.[工号]) as 工号ofcount ,sum(val(a.[实发] & '')) "
                     "as 实发ofsum from"_s))
        << q.toStdString();
    EXPECT_TRUE(q.contains(u"where a.[工作年月]= '2000-4'  group by  left(a.[部门号],4)"_s));
    EXPECT_EQ(q.count(u"sum("_s), 1);
}

TEST(SummaryQueries, TooSmallACatalogueIsSubscriptOutOfRange) {
    try {
        departmentSummaryQuery(catalogueOf({u"部门"_s}, 0), 2, u"2000-04"_s);
        FAIL() << "no error";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), 9);
    }
    EXPECT_THROW(departmentSummaryQuery(slp::data::WageCatalogue{}, 2, u"2000-04"_s), slp::Error);
}

TEST(SummaryQueries, AliasesAreTheItemNamesWithTheirSuffixes) {
    const auto c = catalogueOf({u"部门"_s, u"工号"_s, u"基本工资"_s}, 2);
    EXPECT_EQ(departmentNameAlias(c), u"部门"_s);
    EXPECT_EQ(headCountAlias(c), u"工号ofcount"_s);
    EXPECT_EQ(itemSumAlias(c, 2), u"基本工资ofsum"_s);
    EXPECT_THROW(itemSumAlias(c, 3), slp::Error);
}

TEST(SummaryQueries, TheEngineAcceptsBothTexts) {
    summary_test::SummaryDatabase w;
    w.createTables();
    const auto c = catalogueOf(w.names, 3);
    EXPECT_NO_THROW(w.db->translate(codeLengthQuery()));
    EXPECT_NO_THROW(w.db->translate(departmentSummaryQuery(c, 2, u"2000-04"_s)));
    EXPECT_NO_THROW(w.db->open(departmentSummaryQuery(c, 0, u"2000-04"_s)).close());
}

}  // namespace
