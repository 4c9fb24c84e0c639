// The month's item catalogue: formats from decimal places, the first amount item, widths from print
// widths, item order, and the message for a month without items.
#include "data/wage_items.h"

#include <gtest/gtest.h>

#include "basic/scripted_prompts.h"
#include "data/database.h"
#include "test_files.h"

namespace slp::data {
namespace {

using namespace Qt::StringLiterals;

class DataWageItems : public ::testing::Test {
  protected:
    void SetUp() override {
        db = test::newDatabase(folder);
        db->executeNative(
            u"CREATE TABLE \"14工资输出及公式\" (\"工作年月\" TEXT, \"项目序号\" INTEGER, \"项目名称\" TEXT, "
            "\"小数位数\", \"打印宽度\", \"计算公式\" TEXT)"_s);
    }
    // decimals and width are stored as given: numbers, texts or null.
    void addItem(const QString& month, int order, const QString& name, const Value& decimals,
                 const Value& width) {
        db->addRow(u"14工资输出及公式"_s, {{u"工作年月"_s, month},
                                           {u"项目序号"_s, Value::integer(order)},
                                           {u"项目名称"_s, name},
                                           {u"小数位数"_s, decimals},
                                           {u"打印宽度"_s, width}});
    }

    test::TempFolder folder;
    std::unique_ptr<Database> db;
    ScriptedPrompts prompts;
};

TEST_F(DataWageItems, FormatsFollowDecimalPlacesAndWidthsHalveToEven) {
    // Inserted out of order: the catalogue follows 项目序号.
    addItem(u"2000-04"_s, 5, u"奖金"_s, Value::real(1.5), Value::integer(13));
    addItem(u"2000-04"_s, 1, u"部门"_s, Value::integer(0), Value::integer(12));
    addItem(u"2000-04"_s, 3, u"基本工资"_s, u"2"_s, u"11"_s);
    addItem(u"2000-04"_s, 2, u"加班费"_s, Value::integer(1), Value::integer(9));
    addItem(u"2000-04"_s, 4, u"税"_s, Value::integer(3), Value());
    addItem(u"2000-04"_s, 6, u"补贴"_s, Value(), u""_s);
    addItem(u"2000-04"_s, 7, u"扣款"_s, u"2位"_s, Value::integer(15));
    addItem(u"2000-03"_s, 1, u"上月"_s, Value::integer(2), Value::integer(10));

    WageCatalogue c;
    ASSERT_TRUE(LoadWageItems(*db, u"2000-04"_s, prompts, c));
    EXPECT_TRUE(prompts.asked.isEmpty());
    EXPECT_EQ(c.itemCount, 7);
    EXPECT_EQ(c.itemName,
              (QStringList{u"部门"_s, u"加班费"_s, u"基本工资"_s, u"税"_s, u"奖金"_s, u"补贴"_s, u"扣款"_s}));
    // 0, 1, 2 (as text), 3, 1.5, null (0) and "2位" (its leading 2).
    EXPECT_EQ(c.itemFormat,
              (QStringList{u"0"_s, u"0.0"_s, u"0.00"_s, QString(), QString(), u"0"_s, u"0.00"_s}));
    // 12 -> 6, 9 -> 4.5 -> 4, "11" -> 5.5 -> 6, null -> 0, 13 -> 6.5 -> 6, "" -> 0, 15 -> 7.5 -> 8.
    EXPECT_EQ(c.itemWidth, (QList<int16_t>{6, 4, 6, 0, 6, 0, 8}));
    EXPECT_EQ(c.firstAmountIndex, 1);
    EXPECT_EQ(c.item(2).itemName, u"基本工资"_s);
    EXPECT_EQ(c.item(2).itemFormat, u"0.00"_s);
    EXPECT_EQ(c.item(2).itemWidth, 6);
}

TEST(DataPrintedWidth, HalfOfThePrintWidthAndNothingBelowZero) {
    const struct {
        double halfWidths;
        int16_t chars;
    } cases[] = {
        {0, 0},  {1, 0},  {2, 1},  {3, 2},      {5, 2},         {7, 4},
        {12, 6}, {-1, 0}, {-8, 0}, {-65536, 0}, {65534, 32767},
    };
    for (const auto& c : cases) EXPECT_EQ(printedWidth(c.halfWidths), c.chars) << c.halfWidths;
    EXPECT_THROW(printedWidth(65536), slp::Error);
    EXPECT_THROW(printedWidth(qQNaN()), slp::Error);
}

TEST_F(DataWageItems, FirstAmountIndexIsTheFirstItemWithDecimalPlaces) {
    const int places[] = {0, 0, 2, 0, 2};
    for (int i = 0; i < 5; ++i) {
        addItem(u"2000-04"_s, i + 1, u"项目"_s + QString::number(i), Value::integer(places[i]),
                Value::integer(8));
    }
    WageCatalogue c;
    c.firstAmountIndex = 4;  // a value from an earlier load is replaced
    ASSERT_TRUE(LoadWageItems(*db, u"2000-04"_s, prompts, c));
    EXPECT_EQ(c.firstAmountIndex, 2);
    EXPECT_FALSE(c.isAmount(1));
    EXPECT_TRUE(c.isAmount(3));          // after the first amount item, 0 places is an amount item...
    EXPECT_EQ(c.itemFormat[3], u"0"_s);  // ...formatted "0"
}

TEST_F(DataWageItems, WithoutDecimalPlacesTheFirstAmountIndexStaysAsItWas) {
    addItem(u"2000-04"_s, 1, u"部门"_s, Value::integer(0), Value::integer(8));
    addItem(u"2000-04"_s, 2, u"姓名"_s, Value::integer(0), Value::integer(8));
    WageCatalogue c;
    c.firstAmountIndex = 5;
    ASSERT_TRUE(LoadWageItems(*db, u"2000-04"_s, prompts, c));
    EXPECT_EQ(c.itemCount, 2);
    EXPECT_EQ(c.firstAmountIndex, 5);
    WageCatalogue fresh;
    ASSERT_TRUE(LoadWageItems(*db, u"2000-04"_s, prompts, fresh));
    EXPECT_EQ(fresh.firstAmountIndex, 0);
}

TEST_F(DataWageItems, AMonthWithoutItemsIsReportedAndKeepsTheCatalogue) {
    addItem(u"2000-04"_s, 1, u"部门"_s, Value::integer(0), Value::integer(8));
    addItem(u"2000-04"_s, 2, u"基本工资"_s, Value::integer(2), Value::integer(10));
    WageCatalogue c;
    ASSERT_TRUE(LoadWageItems(*db, u"2000-04"_s, prompts, c));
    const WageCatalogue before = c;

    EXPECT_FALSE(LoadWageItems(*db, u"2000-4"_s, prompts, c));  // the month key is compared as it is
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].kind, ScriptedPrompts::Asked::Message);
    EXPECT_EQ(prompts.asked[0].text, u"未找到本月计算公,请先设置本月公式!"_s);
    EXPECT_EQ(prompts.asked[0].title, QString());
    EXPECT_EQ(prompts.asked[0].icon, MessageIcon::Warning);
    EXPECT_EQ(c.itemName, before.itemName);
    EXPECT_EQ(c.itemWidth, before.itemWidth);
    EXPECT_EQ(c.itemCount, 2);
    EXPECT_EQ(c.firstAmountIndex, 1);
}

TEST_F(DataWageItems, FailuresLeaveTheCatalogueWhole) {
    addItem(u"2000-04"_s, 1, u"部门"_s, Value::integer(0), Value::integer(8));
    addItem(u"2000-05"_s, 1, u"部门"_s, Value::integer(0), Value::integer(70000));  // 35000 is beyond 16 bits
    WageCatalogue c;
    ASSERT_TRUE(LoadWageItems(*db, u"2000-04"_s, prompts, c));
    EXPECT_THROW(LoadWageItems(*db, u"2000-05"_s, prompts, c), OverflowError);
    EXPECT_EQ(c.itemWidth, (QList<int16_t>{4}));
    // A month key with a quote is a literal like any other: it finds no month and changes nothing.
    EXPECT_FALSE(LoadWageItems(*db, u"2000-04' or '1'='1"_s, prompts, c));
    EXPECT_EQ(c.itemCount, 1);
    EXPECT_EQ(prompts.asked.size(), 1);
    // The engine's refusal (here: no catalogue table at all) comes back as an error.
    db->executeNative(u"drop table \"14工资输出及公式\""_s);
    EXPECT_THROW(LoadWageItems(*db, u"2000-04"_s, prompts, c), DatabaseError);
    EXPECT_EQ(c.itemCount, 1);
}

TEST(DataItemFormat, OnlyZeroOneAndTwoPlacesHaveAFormat) {
    EXPECT_EQ(itemFormatFor(0), u"0"_s);
    EXPECT_EQ(itemFormatFor(1), u"0.0"_s);
    EXPECT_EQ(itemFormatFor(2), u"0.00"_s);
    EXPECT_EQ(itemFormatFor(3), QString());
    EXPECT_EQ(itemFormatFor(1.5), QString());
    EXPECT_EQ(itemFormatFor(-1), QString());
}

}  // namespace
}  // namespace slp::data
