// The card export logic on a real SQLite month: opening, the grid and its totals, the orders, the file
// menu, relabelling, the settings it reads and keeps, and how it survives faults.
#include "app/card_export/card_export.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>

#include "basic/error.h"
#include "basic/scripted_prompts.h"
#include "card_test_database.h"
#include "data/wage_grid.h"
#include "settings/keys.h"

using namespace Qt::StringLiterals;
using slp::MessageIcon;
using slp::ScriptedPrompts;
using slp::card::CardExport;
using slp::card::FileCommand;
using slp::card::SortOrder;
using namespace slp::test;
namespace key = slp::settings::key;

namespace {

const QStringList kTypes{u"中国银行长城卡"_s,     u"中国建设银行龙卡"_s,   u"中国人民邮政储蓄卡"_s,
                         u"中国工商银行浦江卡"_s, u"中国工商银行牡丹卡"_s, u"中国农业银行白玉兰卡"_s};

QList<QStringList> gridRows(const slp::data::WageGrid& g) {
    QList<QStringList> rows;
    for (int r = 0; r < g.rows(); ++r) {
        QStringList row;
        for (int c = 0; c < g.cols(); ++c) row << g.text(r, c);
        rows << row;
    }
    return rows;
}

QList<QStringList> expectedDataRows(const QList<ExpectedRow>& rows) {
    QList<QStringList> out;
    for (qsizetype k = 0; k < rows.size(); ++k) {
        out << QStringList{QString::number(k + 1), rows[k].name, rows[k].card, rows[k].shown};
    }
    return out;
}

// Name, card and amount of the data rows, sorted, to compare rows whatever their order.
QStringList rowSet(const QList<QStringList>& rows) {
    QStringList set;
    for (const QStringList& r : rows) set << r.mid(1).join(u'|');
    set.sort();
    return set;
}

class CardExportTest : public ::testing::Test {
  protected:
    explicit CardExportTest(bool oddAmount = false)
        : data(60, oddAmount), host(demoHost(data.database())), store(storeDir.path()) {
        card = std::make_unique<CardExport>(host, store, u"/home/clerk/文档"_s,
                                            [this](const slp::data::WageGrid& g, slp::Prompts&) {
                                                if (exportFails) throw slp::Error(70, u"拒绝写入"_s);
                                                exported << gridRows(g);
                                            });
    }
    slp::settings::Setting setting(const slp::settings::KeyDef& k) const {
        return slp::settings::resolve(k, host.unitCode);
    }
    // What another reader of the store finds.
    std::optional<QString> stored(const slp::settings::KeyDef& k) const {
        const slp::settings::Store other(storeDir.path());
        const auto s = setting(k);
        return other.find(s.app, s.section, s.key);
    }
    QList<QStringList> dataRows() const { return gridRows(card->grid()).mid(1); }

    CardDatabase data;
    slp::HostContext host;
    QTemporaryDir storeDir;
    slp::settings::Store store;
    ScriptedPrompts prompts;
    std::unique_ptr<CardExport> card;
    QList<QList<QStringList>> exported;
    bool exportFails = false;
};

class CardExportOddAmount : public CardExportTest {
  protected:
    CardExportOddAmount() : CardExportTest(true) {}
};

TEST_F(CardExportTest, OpeningFillsFieldsGridTotalsAndStatus) {
    slp::settings::writeText(store, setting(key::CardUnitCode), u"  330100 "_s);
    slp::settings::writeText(store, setting(key::CardName), u"中国工商银行牡丹卡"_s);
    ASSERT_TRUE(card->open(prompts));
    EXPECT_TRUE(prompts.asked.isEmpty());

    const QList<ExpectedRow> expected = data.expectedRows();
    ASSERT_GT(expected.size(), 40);
    const QString count = QString::number(expected.size());
    const QString total = yuanText(data.expectedTotalFen());
    EXPECT_EQ(card->cardTypeList(), kTypes);
    EXPECT_EQ(card->cardType(), u"中国工商银行牡丹卡"_s);
    EXPECT_EQ(card->unitCodeLabel(), u"单位代码："_s);  // the opening does not relabel
    EXPECT_EQ(card->field(CardExport::UnitCode), u"  330100 "_s);
    EXPECT_EQ(card->field(CardExport::CreditDate), u"2000-04-25"_s);
    EXPECT_EQ(card->field(CardExport::HeadCount), count);
    EXPECT_EQ(card->field(CardExport::TotalAmount), total);
    EXPECT_EQ(card->amountItem(), u"实发工资"_s);
    EXPECT_EQ(card->sortColumn(), u"[16工资输出数据].工号"_s);
    EXPECT_EQ(card->checkedSort(), SortOrder::ByEmployeeNumber);
    EXPECT_EQ(card->statusText(1), u"工作年月:2000-04"_s);
    EXPECT_EQ(card->statusText(2), u"入卡人数为:"_s + count + u"人 金额为:"_s + total + u"元"_s);

    const slp::data::WageGrid& g = card->grid();
    ASSERT_EQ(g.cols(), 4);
    EXPECT_EQ(g.fixedRows(), 1);
    EXPECT_EQ(gridRows(g).first(), (QStringList{u"序号"_s, u"姓名"_s, u"卡号"_s, u"金额"_s}));
    const int widths[] = {540, 900, 2160, 900};
    const int16_t alignments[] = {slp::data::align::CenterCenter, slp::data::align::CenterCenter,
                                  slp::data::align::LeftTop, slp::data::align::General};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(g.colWidth(c), widths[c]);
        EXPECT_EQ(g.colAlignment(c), alignments[c]);
        EXPECT_EQ(g.captionAlignment(c), slp::data::align::CenterCenter);
    }
    EXPECT_EQ(dataRows(), expectedDataRows(expected));
}

TEST_F(CardExportTest, EdgeRowsAreListedOrLeftOutByAmountAndCardValue) {
    ASSERT_TRUE(card->open(prompts));
    QStringList names;
    for (const QStringList& r : dataRows()) names << r[1];
    // Listed: positive amounts and card numbers with a positive value, odd ones included.
    for (const QString& n : {u"戊五"_s, u"己六"_s, u"癸十"_s, u"子十一"_s, u"寅十三"_s})
        EXPECT_TRUE(names.contains(n)) << n.toStdString();
    // Left out: empty, zero and missing amounts; empty, blank, non-numeric and zero card numbers; no
    // card at all; another month.
    for (const QString& n :
         {u"甲一"_s, u"乙二"_s, u"丙三"_s, u"丁四"_s, u"辛八"_s, u"壬九"_s, u"丑十二"_s, u"卯十四"_s}) {
        EXPECT_FALSE(names.contains(n)) << n.toStdString();
    }
    const auto row = [&](const QString& name) {
        for (const QStringList& r : dataRows()) {
            if (r[1] == name) return r;
        }
        return QStringList();
    };
    EXPECT_EQ(row(u"癸十"_s)[2], u" 0012"_s);  // the card number as stored
    EXPECT_EQ(row(u"戊五"_s)[3], u"1234.50"_s);
    EXPECT_EQ(row(u"己六"_s)[3], u"0.01"_s);
    EXPECT_EQ(row(u"寅十三"_s)[3], u"2.68"_s);
}

TEST_F(CardExportOddAmount, TheTotalAddsEveryShownAmountAsItReads) {
    ASSERT_TRUE(card->open(prompts));
    int64_t fen = 0;
    bool oddSeen = false;
    for (const QStringList& r : dataRows()) {
        fen += fenOf(r[3]);
        oddSeen = oddSeen || r[3] == u"12abc"_s;  // shown as it is, counted by its leading 12
    }
    EXPECT_TRUE(oddSeen);
    EXPECT_EQ(fen, data.expectedTotalFen());
    EXPECT_EQ(card->field(CardExport::TotalAmount), yuanText(fen));
    EXPECT_EQ(card->field(CardExport::HeadCount), QString::number(data.expectedCount()));
}

TEST_F(CardExportTest, AMonthWithoutItemsStopsTheOpeningWithAWarning) {
    host.workMonth = u"05"_s;
    host.payDate = u"2000-05-25"_s;
    EXPECT_FALSE(card->open(prompts));
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text, u"本月公式未设置!"_s);
    EXPECT_EQ(prompts.asked[0].title, QString());
    EXPECT_EQ(prompts.asked[0].icon, MessageIcon::Warning);
    EXPECT_EQ(card->grid().rows(), 0);
    EXPECT_EQ(card->statusText(1), QString());
    EXPECT_EQ(card->statusText(2), QString());
    EXPECT_EQ(card->field(CardExport::CreditDate), u"2000-05-25"_s);
    EXPECT_EQ(card->field(CardExport::HeadCount), QString());
    EXPECT_EQ(card->field(CardExport::TotalAmount), QString());
    EXPECT_EQ(card->cardTypeList(), kTypes);
    // Nothing to order: the menu still answers, without a query.
    EXPECT_TRUE(card->sortBy(SortOrder::ByName, prompts));
    EXPECT_EQ(card->statusText(2), u"按姓名排序"_s);
    EXPECT_EQ(prompts.asked.size(), 1);
}

TEST_F(CardExportTest, AMonthWithoutCardHoldersShowsZeroes) {
    data.db().addRow(u"14工资输出及公式"_s, {{u"工作年月"_s, u"2000-06"_s},
                                             {u"项目序号"_s, slp::data::Value::integer(1)},
                                             {u"项目名称"_s, u"实发工资"_s}});
    host.workMonth = u"06"_s;
    ASSERT_TRUE(card->open(prompts));
    EXPECT_EQ(card->grid().rows(), 1);
    EXPECT_EQ(gridRows(card->grid()).first().first(), u"序号"_s);
    EXPECT_EQ(card->field(CardExport::HeadCount), u"0"_s);
    EXPECT_EQ(card->field(CardExport::TotalAmount), u"0.00"_s);
    EXPECT_EQ(card->statusText(2), u"入卡人数为:0人 金额为:0.00元"_s);
    EXPECT_EQ(card->statusText(1), u"工作年月:2000-06"_s);
}

TEST_F(CardExportTest, WithoutADatabaseTheClerkIsToldAndTheFormStaysUsable) {
    host.database.reset();
    EXPECT_FALSE(card->open(prompts));
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(prompts.asked[0].text.contains(u"工资数据库尚未打开"_s));
    EXPECT_EQ(card->grid().rows(), 0);
    EXPECT_EQ(card->field(CardExport::CreditDate), u"2000-04-25"_s);
    card->chooseCardType(u"中国建设银行龙卡"_s);
    EXPECT_TRUE(card->prepareFileMenu().enabled);
    EXPECT_TRUE(card->sortBy(SortOrder::ByCardNumber, prompts));
}

TEST_F(CardExportTest, ADatabaseFaultIsShownWithItsNumberAndTheGridStaysEmpty) {
    // The month's last item names no column of the wage table: the card query fails.
    data.db().addRow(u"14工资输出及公式"_s, {{u"工作年月"_s, kMonth},
                                             {u"项目序号"_s, slp::data::Value::integer(99)},
                                             {u"项目名称"_s, u"不存在的项目"_s}});
    EXPECT_FALSE(card->open(prompts));
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(prompts.asked[0].title.startsWith(u"错误号:"_s)) << prompts.asked[0].title.toStdString();
    EXPECT_GT(prompts.asked[0].title.mid(4).toInt(), 0);
    EXPECT_FALSE(prompts.asked[0].text.isEmpty());
    EXPECT_EQ(card->grid().rows(), 0);
    EXPECT_EQ(card->statusText(2), QString());
    // Another order queries again and is refused the same way, without harm.
    EXPECT_FALSE(card->sortBy(SortOrder::ByName, prompts));
    EXPECT_EQ(prompts.asked.size(), 2);
    EXPECT_EQ(card->statusText(2), u"按姓名排序"_s);
}

TEST_F(CardExportTest, TheSortMenuQueriesAgainOnlyWhenTheOrderChanges) {
    ASSERT_TRUE(card->open(prompts));
    const QList<ExpectedRow> before = data.expectedRows();
    // A card holder leaves the database: only a new query can notice.
    data.db().executeNative(u"DELETE FROM \"12个人信息\" WHERE \"工号\" = '"_s + before.first().number +
                            u"'"_s);

    EXPECT_TRUE(card->sortBy(SortOrder::ByEmployeeNumber, prompts));
    EXPECT_EQ(card->statusText(2), u"按职号排序"_s);
    EXPECT_EQ(dataRows(), expectedDataRows(before));
    EXPECT_EQ(card->checkedSort(), SortOrder::ByEmployeeNumber);

    EXPECT_TRUE(card->sortBy(SortOrder::ByName, prompts));
    EXPECT_EQ(card->checkedSort(), SortOrder::ByName);
    EXPECT_EQ(card->sortColumn(), u"[16工资输出数据].姓名"_s);
    EXPECT_EQ(card->statusText(2), u"按姓名排序"_s);  // the caption replaces the totals text
    const QList<ExpectedRow> after = data.expectedRows();
    EXPECT_EQ(dataRows().size(), after.size());
    EXPECT_EQ(card->field(CardExport::HeadCount), QString::number(after.size()));
    EXPECT_EQ(card->field(CardExport::TotalAmount), yuanText(data.expectedTotalFen()));
    EXPECT_TRUE(prompts.asked.isEmpty());
}

// The rank of every value of a column in the engine's own order of texts (the order the translated
// queries use), from the database itself.
QHash<QString, int> engineRanks(slp::data::Database& db, const QString& column, const QString& table) {
    slp::data::ResultSet r =
        db.openNative(u"SELECT DISTINCT "_s + column + u" FROM \""_s + table + u"\" WHERE "_s + column +
                      u" IS NOT NULL ORDER BY "_s + column + u" COLLATE slp_text"_s);
    QHash<QString, int> ranks;
    for (int i = 0; i < r.recordCount(); ++i) {
        r.setAbsolutePosition(i);
        ranks.insert(r.text(0), i);
    }
    return ranks;
}

TEST_F(CardExportTest, EachOrderSortsTheSameRowsByItsColumn) {
    ASSERT_TRUE(card->open(prompts));
    const QHash<QString, int> nameRank = engineRanks(data.db(), u"\"姓名\""_s, u"16工资输出数据"_s);
    const QHash<QString, int> cardRank = engineRanks(data.db(), u"\"信用卡号\""_s, u"12个人信息"_s);
    const QHash<QString, int> deptRank = engineRanks(data.db(), u"\"部门号\""_s, u"16工资输出数据"_s);
    const QList<ExpectedRow> expected = data.expectedRows();
    QHash<QString, QString> deptOfCard;
    for (const ExpectedRow& r : expected) deptOfCard.insert(r.card, r.dept);
    const QStringList all = rowSet(expectedDataRows(expected));
    for (const SortOrder order :
         {SortOrder::ByDepartment, SortOrder::ByCardNumber, SortOrder::ByName, SortOrder::ByEmployeeNumber}) {
        SCOPED_TRACE(int(order));
        ASSERT_TRUE(card->sortBy(order, prompts));
        const QList<QStringList> rows = dataRows();
        EXPECT_EQ(rowSet(rows), all);
        QList<int> keys;
        for (qsizetype k = 0; k < rows.size(); ++k) {
            EXPECT_EQ(rows[k][0], QString::number(k + 1));  // 序号 follows the new order
            if (order == SortOrder::ByDepartment) keys << deptRank.value(deptOfCard.value(rows[k][2]), -1);
            if (order == SortOrder::ByCardNumber) keys << cardRank.value(rows[k][2], -1);
            if (order == SortOrder::ByName) keys << nameRank.value(rows[k][1], -1);
        }
        if (order == SortOrder::ByEmployeeNumber) {
            EXPECT_EQ(rows, expectedDataRows(expected));
        } else {
            EXPECT_FALSE(keys.contains(-1));
            EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
        }
    }
}

TEST_F(CardExportTest, TheHostIsReadAtEveryStep) {
    ASSERT_TRUE(card->open(prompts));
    host.workMonth = u"4"_s;
    EXPECT_TRUE(card->cardQuery().text().contains(u"工作年月='2000-4'"_s));
    // Settings follow the unit code of the moment.
    slp::settings::writeText(store, slp::settings::resolve(key::DragonCardFile, u"0202"_s),
                             u"LONG0202.TXT"_s);
    card->chooseCardType(u"中国建设银行龙卡"_s);
    EXPECT_EQ(card->prepareFileMenu().caption, u"保存为龙卡格式DFMX.TXT"_s);
    host.unitCode = u"0202"_s;
    EXPECT_EQ(card->prepareFileMenu().caption, u"保存为龙卡格式LONG0202.TXT"_s);
}

TEST_F(CardExportTest, FileMenuCaptionFollowsTheCardTypeAndItsStoredName) {
    ASSERT_TRUE(card->open(prompts));
    EXPECT_FALSE(card->prepareFileMenu().enabled);  // no card type yet

    const QStringList captions{u"保存为长城卡格式"_s,         u"保存为龙卡格式DFMX.TXT"_s,
                               u"保存为邮政卡格式SEND.TXT"_s, u"保存为浦江卡格式SLFGTF"_s,
                               u"保存为牡丹卡格式SLFGTFC"_s,  u"保存为白玉兰卡格式DFG2.DAT"_s};
    for (qsizetype i = 0; i < kTypes.size(); ++i) {
        card->chooseCardType(kTypes[i]);
        const auto& item = card->prepareFileMenu();
        EXPECT_EQ(item.caption, captions[i]);
        EXPECT_TRUE(item.enabled);
        EXPECT_EQ(card->cardFileTitle(), captions[i].mid(captions[i].indexOf(u"格式"_s) + 2));
    }
    slp::settings::writeText(store, setting(key::PeonyCardFile), u"GZ0425.TXT"_s);
    card->chooseCardType(u"中国工商银行牡丹卡"_s);
    EXPECT_EQ(card->prepareFileMenu().caption, u"保存为牡丹卡格式GZ0425.TXT"_s);

    card->chooseCardType(QString());
    const auto& off = card->prepareFileMenu();
    EXPECT_FALSE(off.enabled);
    EXPECT_EQ(off.caption, u"保存为牡丹卡格式GZ0425.TXT"_s);  // the caption is left as it was
    // The window never writes the file-name keys.
    EXPECT_FALSE(stored(key::DragonCardFile).has_value());
}

TEST_F(CardExportTest, AStoredNameThatIsNoCardTypeIsShownAndGivesAnUnknownFormat) {
    slp::settings::writeText(store, setting(key::CardName), u"某某银行卡"_s);
    ASSERT_TRUE(card->open(prompts));
    EXPECT_EQ(card->cardType(), u"某某银行卡"_s);
    const auto& item = card->prepareFileMenu();
    EXPECT_EQ(item.caption, u"未知文件格式!"_s);
    EXPECT_TRUE(item.enabled);
    EXPECT_EQ(card->cardFileTitle(), u"未知文件格式"_s);
    EXPECT_EQ(card->cardFileName(u"中国建设银行龙卡"), u"DFMX.TXT"_s);
}

TEST_F(CardExportTest, ThePostalCardRelabelsTheFirstField) {
    ASSERT_TRUE(card->open(prompts));
    card->chooseCardType(u"中国人民邮政储蓄卡"_s);
    EXPECT_EQ(card->unitCodeLabel(), u"邮局局号:"_s);
    for (const QString& t : {u"中国建设银行龙卡"_s, u"中国银行长城卡"_s, u""_s}) {
        card->chooseCardType(t);
        EXPECT_EQ(card->unitCodeLabel(), u"单位代码:"_s);
    }
    // A new opening brings the designed caption back.
    ASSERT_TRUE(card->open(prompts));
    EXPECT_EQ(card->unitCodeLabel(), u"单位代码："_s);
}

TEST_F(CardExportTest, ClosingKeepsTheCardTypeOnly) {
    ASSERT_TRUE(card->open(prompts));
    card->chooseCardType(u"中国农业银行白玉兰卡"_s);
    card->setField(CardExport::UnitCode, u"999"_s);
    card->close(prompts);
    EXPECT_EQ(stored(key::CardName), u"中国农业银行白玉兰卡"_s);
    EXPECT_FALSE(stored(key::CardUnitCode).has_value());
    EXPECT_FALSE(stored(key::CardFileFolder).has_value());
    // The next opening restores it.
    ASSERT_TRUE(card->open(prompts));
    EXPECT_EQ(card->cardType(), u"中国农业银行白玉兰卡"_s);
}

TEST_F(CardExportTest, SpreadsheetAndExitCommands) {
    ASSERT_TRUE(card->open(prompts));
    EXPECT_FALSE(card->run(FileCommand::ToSpreadsheet, prompts));
    ASSERT_EQ(exported.size(), 1);
    EXPECT_EQ(exported[0], gridRows(card->grid()));
    exportFails = true;
    EXPECT_FALSE(card->run(FileCommand::ToSpreadsheet, prompts));
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text, u"拒绝写入"_s);
    EXPECT_EQ(prompts.asked[0].title, u"错误号:70"_s);
    EXPECT_TRUE(card->run(FileCommand::Exit, prompts));
    EXPECT_FALSE(card->run(FileCommand(80), prompts));  // a value that is no command of the menu
}

}  // namespace
