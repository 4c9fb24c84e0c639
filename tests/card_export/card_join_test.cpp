// The card query's rows by the join of our own: the very grid the card query gives, and the query
// itself wherever the join could differ from it.
#include "app/card_export/card_join.h"

#include <gtest/gtest.h>

#include "app/card_export/card_export.h"
#include "app/card_export/card_grid.h"
#include "app/card_export/card_query.h"
#include "basic/error.h"
#include "card_test_database.h"
#include "data/wage_grid.h"

using namespace Qt::StringLiterals;
using namespace slp::card;
using slp::test::CardDatabase;
using slp::test::kMonth;

namespace {

QStringList gridTexts(const slp::data::WageGrid& g) {
    QStringList texts;
    for (int r = 0; r < g.rows(); ++r) {
        for (int c = 0; c < g.cols(); ++c) texts << g.text(r, c);
    }
    return texts;
}

QString amountItem(slp::data::Database& db) {
    slp::data::ResultSet items = db.open(cardItemsQuery(kMonth));
    items.moveLast();
    return items.text(u"项目名称");
}

struct JoinCase {
    const char* what;
    QStringList statements;  // run on the month first
    QStringView sort;
    bool joined;  // whether the join is taken
};

TEST(CardJoin, GivesTheCardQuerysGridOrLeavesItToTheQuery) {
    // Card holders paid this month, by their 工号.
    QStringList n;
    for (const auto& row : CardDatabase().expectedRows()) n << row.number;
    ASSERT_GT(n.size(), 6);
    const QString p = u"UPDATE \"12个人信息\" SET "_s;
    const QString w = u"UPDATE \"16工资输出数据\" SET "_s;
    const auto of = [](const QString& number) { return u" WHERE \"工号\" = '"_s + number + u"'"_s; };
    const JoinCase cases[] = {
        {"the month as it is", {}, kSortByNumber, true},
        {"by card number", {}, kSortByCard, true},
        {"工号 of either case and a null one",
         {w + u"\"工号\" = 'a3'"_s + of(n[3]), p + u"\"工号\" = 'A3'"_s + of(n[3]),
          w + u"\"工号\" = NULL"_s + of(n[4])},
         kSortByNumber,
         true},
        {"odd amounts and card numbers, still texts",
         {w + u"{amount} = ' 12.5 '"_s + of(n[0]), w + u"{amount} = '1,000'"_s + of(n[1]),
          w + u"{amount} = '-3'"_s + of(n[2]), w + u"{amount} = '0.001'"_s + of(n[3]),
          w + u"{amount} = '2e2'"_s + of(n[4]), w + u"{amount} = NULL"_s + of(n[5]),
          w + u"{amount} = '１２'"_s + of(n[6]), p + u"\"信用卡号\" = ' 0'"_s + of(n[7]),
          p + u"\"信用卡号\" = NULL"_s + of(n[8]), p + u"\"信用卡号\" = '&H1F'"_s + of(n[9]),
          p + u"\"信用卡号\" = ' 6222 '"_s + of(n[10])},
         kSortByCard,
         true},
        {"names not well-formed UTF-8, with a byte order mark, or blobs",
         {p + u"\"姓名\" = CAST(X'E5BCA0FF' AS TEXT)"_s + of(n[0]),
          p + u"\"姓名\" = CAST(X'EFBBBFE69D8E' AS TEXT)"_s + of(n[1]), p + u"\"姓名\" = X'41'"_s + of(n[2]),
          p + u"\"姓名\" = NULL"_s + of(n[3])},
         kSortByNumber,
         true},
        {"an amount stored as bytes", {w + u"{amount} = X'3132'"_s + of(n[0])}, kSortByNumber, false},
        {"a holder twice",
         {u"INSERT INTO \"12个人信息\" SELECT * FROM \"12个人信息\""_s + of(n[5])},
         kSortByNumber,
         false},
        {"a Chinese 工号",
         {w + u"\"工号\" = '甲6'"_s + of(n[6]), p + u"\"工号\" = '甲6'"_s + of(n[6])},
         kSortByNumber,
         false},
        {"a 工号 stored as bytes",
         {w + u"\"工号\" = X'37'"_s + of(n[2]), p + u"\"工号\" = '7'"_s + of(n[2])},
         kSortByNumber,
         false},
        {"one card number twice",
         {p + u"\"信用卡号\" = (SELECT \"信用卡号\" FROM \"12个人信息\""_s + of(n[0]) + u")"_s + of(n[1])},
         kSortByCard,
         false},
    };
    for (const JoinCase& c : cases) {
        SCOPED_TRACE(c.what);
        CardDatabase data;
        const QString amount = amountItem(data.db());
        for (QString s : c.statements)
            data.db().executeNative(s.replace(u"{amount}"_s, u'"' + amount + u'"'));
        const CardQuery query{amount, c.sort.toString(), kMonth};
        EXPECT_EQ(joinCardRows(data.db(), query).has_value(), c.joined);

        const CardExport::CardGridRead read = CardExport::readCardGrid(data.db(), query);
        slp::data::ResultSet records = data.db().open(query.text());
        slp::data::WageGrid expected;
        const CardGridSummary summary = fillCardGrid(records, expected);
        EXPECT_GT(summary.count, 40);
        EXPECT_EQ(read.summary.count, summary.count);
        EXPECT_EQ(read.summary.total, summary.total);
        EXPECT_EQ(gridTexts(read.grid), gridTexts(expected));
    }
}

// A name both tables hold makes the card query fail; the join does not answer in its place.
TEST(CardJoin, AnAmbiguousNameIsLeftToTheQuery) {
    CardDatabase data;
    const CardQuery query{amountItem(data.db()), kSortByNumber.toString(), kMonth};
    data.db().executeNative(u"ALTER TABLE \"12个人信息\" ADD COLUMN \""_s + query.amountItem + u"\" TEXT"_s);
    EXPECT_FALSE(joinCardRows(data.db(), query).has_value());
    EXPECT_THROW(CardExport::readCardGrid(data.db(), query), slp::Error);
}

}  // namespace
