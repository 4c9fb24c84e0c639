// The card file's rows keep their texts in one buffer: a row changed or added, even from a text of the
// rows themselves, leaves every other row as it was.
#include <gtest/gtest.h>

#include "export/card_input.h"

using namespace Qt::StringLiterals;

namespace slp::bank {
namespace {

QStringList textsOf(const CardRows& rows) {
    QStringList texts;
    for (const CardRowView row : rows)
        texts << row.name.toString() << row.cardNumber.toString() << row.amount.toString();
    return texts;
}

TEST(CardRows, ChangesReachOnlyTheirOwnRow) {
    CardRows rows = {{u"张三"_s, u"6222000011112222"_s, u"1234.56"_s}, {u"李四"_s, u""_s, u"0.05"_s}};
    const CardRows before = rows;
    rows.append(rows[0].name, rows[1].amount, rows[0].cardNumber);  // texts of the rows themselves
    for (int i = 0; i < 50; ++i) rows.setAmount(1, rows[2].name);   // grows the buffer many times
    rows.setName(0, rows[1].name);
    rows.setCardNumber(2, u"");
    EXPECT_EQ(textsOf(rows), (QStringList{u"李四"_s, u"6222000011112222"_s, u"1234.56"_s, u"李四"_s, u""_s,
                                          u"张三"_s, u"张三"_s, u""_s, u"6222000011112222"_s}));
    EXPECT_EQ(textsOf(before), (QStringList{u"张三"_s, u"6222000011112222"_s, u"1234.56"_s, u"李四"_s, u""_s,
                                            u"0.05"_s}));  // a copy keeps its own texts
}

}  // namespace
}  // namespace slp::bank
