// The conditions of the conditional query as the engine is given them, from what the clerk types (the
// statements around them are golden files, tests/golden/queries).
#include "app/query/query_conditions.h"

#include <gtest/gtest.h>

#include "basic/error.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::query;

namespace {

TEST(QueryConditions, TheNameIsAPrefixUnlessItHoldsAStarOrAQuestionMark) {
    EXPECT_EQ(nameCondition(u"张"), u"left(姓名,1)='张'"_s);
    EXPECT_EQ(nameCondition(u"欧阳明"), u"left(姓名,3)='欧阳明'"_s);
    EXPECT_EQ(nameCondition(u"张*"), u"姓名='张*'"_s);
    EXPECT_EQ(nameCondition(u"?五"), u"姓名='?五'"_s);
    EXPECT_TRUE(nameCondition(u"").isEmpty());
}

TEST(QueryConditions, TheDepartmentPrefixLengthCountsTheOperator) {
    EXPECT_EQ(departmentCondition(u"01"), u"Left(部门号,2)='01'"_s);
    EXPECT_EQ(departmentCondition(u">=03"), u"left(部门号,4)>='03'"_s);
    EXPECT_EQ(departmentCondition(u"<=0102"), u"left(部门号,6)<='0102'"_s);
    EXPECT_EQ(departmentCondition(u">01"), u"left(部门号,3)>'01'"_s);
    EXPECT_EQ(departmentCondition(u"<5"), u"left(部门号,2)<'5'"_s);
    EXPECT_EQ(departmentCondition(u"=01"), u"Left(部门号,3)='=01'"_s);
    EXPECT_TRUE(departmentCondition(u"").isEmpty());
}

TEST(QueryConditions, TypedQuotesAreDoubledSoTheyCannotEndTheText) {
    EXPECT_EQ(quotedText(u"O'Neil"), u"'O''Neil'"_s);
    EXPECT_EQ(nameCondition(u"O'Neil"), u"left(姓名,6)='O''Neil'"_s);
    EXPECT_EQ(nameCondition(u"张'"), u"left(姓名,2)='张'''"_s);
    EXPECT_EQ(nameCondition(u"x' or '1'='1"), u"left(姓名,12)='x'' or ''1''=''1'"_s);
    EXPECT_EQ(departmentCondition(u">='"), u"left(部门号,3)>=''''"_s);
    EXPECT_EQ(departmentCondition(u"0'"), u"Left(部门号,2)='0'''"_s);
}

TEST(QueryConditions, ConditionsJoinAsTheHostWritesThem) {
    EXPECT_EQ(joinConditions(u"A"_s, u"B"_s), u"and A and B"_s);
    EXPECT_EQ(joinConditions(u"A"_s, QString()), u" and A"_s);
    EXPECT_EQ(joinConditions(QString(), u"B"_s), u" and B"_s);
    EXPECT_TRUE(joinConditions(QString(), QString()).isEmpty());
}

TEST(QueryConditions, AnEmptyCatalogueMakesNoStatement) {
    EXPECT_THROW(conditionalQueryStatement(slp::data::WageCatalogue{}, u"2000-04"_s, QString()), slp::Error);
}

TEST(QueryConditions, OnlyBlanksAreTrimmed) {
    EXPECT_EQ(trimBlanks(u"  张三 "), u"张三"_s);
    EXPECT_EQ(trimBlanks(u"   "), QString());
    EXPECT_EQ(trimBlanks(u"\t张\t"), u"\t张\t"_s);
    EXPECT_EQ(trimBlanks(u"王 芳"), u"王 芳"_s);
}

}  // namespace
