// The writers take short cuts for the usual rows (card numbers of printable ASCII, amounts of plain
// digits) and the general field rules for everything else. On random rows both must give the lines the
// rules give: here each line is built from the field helpers alone, field by field.
#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "basic/error.h"
#include "basic/scripted_prompts.h"
#include "card_grids.h"
#include "export/bank_card_writers.h"
#include "export/card_fields.h"
#include "golden.h"

using namespace Qt::StringLiterals;
using namespace slp::bank;
using namespace slp::bank::test;

namespace {

QByteArray gbk(QStringView text) {
    GbkEncoder enc;
    QByteArray out;
    EXPECT_FALSE(enc.encode(text, out)) << text.toString().toStdString();
    return out;
}

QByteArray blanks(qsizetype n) {
    return QByteArray(std::max<qsizetype>(n, 0), ' ');
}

QByteArray fen(QStringView amount) {
    return fenOfAmount(amount, FieldRef::cell(u"金额"_s, 1, {})).toLatin1();
}

QByteArray zeros(const QByteArray& digits, qsizetype width) {
    return QByteArray(std::max<qsizetype>(width - digits.size(), 0), '0') + digits;
}

QByteArray longLine(const CardRowView& row) {
    const QString card = trimBlanks(row.cardNumber);
    const QString field = characterCount(card) < 16 ? padLeft(card, 16) : card;
    return gbk(field) + ",," + gbk(row.name) + ",," + gbk(row.amount) + "\r\n";
}

QByteArray icbcLine(const CardRowView& row) {
    const QString card = trimBlanks(row.cardNumber);
    const qsizetype n = characterCount(card);
    const QString field =
        n == 16 ? leftChars(card, 1) + card.sliced(leftChars(card, 5).size()) : padRight(card, 12);
    return gbk(field) + " " + zeros(fen(row.amount), 7) + "\r\n";
}

QByteArray baiyulanLine(const CardRowView& row, int number) {
    return zeros(QByteArray::number(number), 4) + gbk(row.name) + blanks(12 - gbk(row.name).size()) +
           zeros(fen(row.amount), 13) + gbk(padRight(row.cardNumber, 18)) + blanks(53) + "\r\n";
}

QByteArray postLine(const CardRowView& row, int number, const QByteArray& office) {
    const QString card = padRight(row.cardNumber, 8);
    return zeros(QByteArray::number(number), 5) + gbk(row.name) + blanks(10 - gbk(row.name).size()) +
           gbk(card) + zeros(fen(row.amount), 12) + "00000000" + office + "\r\n";
}

QString draw(QRandomGenerator& random, const QStringList& pool, int maxLength) {
    QString text;
    const int length = random.bounded(maxLength + 1);
    for (int k = 0; k < length; ++k) text += pool[random.bounded(int(pool.size()))];
    return text;
}

// Card numbers of 0 to 18 characters, mostly digits, sometimes with blanks, letters, full-width digits
// or Chinese characters (control characters are refused, see the failure tests); names that fit every layout;
// amounts of plain digits and a few others.
CardRows randomRows(QRandomGenerator& random, int count) {
    const QStringList digits = {u"0"_s, u"1"_s, u"2"_s, u"5"_s, u"6"_s, u"9"_s};
    const QStringList oddAscii = {u" "_s, u"X"_s, u"-"_s, u"~"_s};
    const QStringList odd = {u" "_s, u"０"_s, u"１"_s, u"张"_s, u"X"_s};
    const QStringList names = {u"张"_s, u"王"_s, u"欧阳"_s, u" "_s, u"a"_s};
    const QStringList amounts = {u" 12.5"_s, u"+3.10"_s, u"1e2"_s, u"7 "_s};
    CardRows rows;
    for (int i = 0; i < count; ++i) {
        QString card;
        const int cardLength = random.bounded(19);
        const bool ascii = random.bounded(3) > 0;
        for (int k = 0; k < cardLength; ++k) {
            const QStringList& pool = random.bounded(6) > 0 ? digits : ascii ? oddAscii : odd;
            card += pool[random.bounded(int(pool.size()))];
        }
        if (ascii && random.bounded(4) == 0) card = u"  "_s + card + u" "_s;
        if (characterCount(card) > 18) card = leftChars(card, 18);
        QString amount = draw(random, digits, 9);
        if (random.bounded(2)) amount += u'.' + draw(random, digits, 4);
        if (amount.isEmpty() || amount == u"."_s) amount = amounts[random.bounded(int(amounts.size()))];
        rows.append({leftChars(draw(random, names, 4), 4), card, amount});
    }
    return rows;
}

QByteArray afterHeader(const QByteArray& bytes) {
    return bytes.mid(bytes.indexOf("\r\n") + 2);
}

TEST(WriterShortCuts, GiveTheLinesOfTheFieldRulesOnRandomRows) {
    QRandomGenerator random(425);
    CardFileInput in = fiveEmployees();
    in.rows = randomRows(random, 3000);
    in.unitCode = u" 31001 "_s;

    // The 牡丹卡 and 邮政卡 refuse a file with a card number their field would cut: each gets the rows
    // it can hold (the refusal has tests of its own).
    CardFileInput icbc = in;
    CardFileInput post = in;
    icbc.rows = {};
    post.rows = {};
    for (const CardRowView r : in.rows) {
        const qsizetype n = characterCount(trimBlanks(r.cardNumber));
        if (n <= 12 || n == 16) icbc.rows.append(r.name, r.cardNumber, r.amount);
        if (characterCount(r.cardNumber) <= 8) post.rows.append(r.name, r.cardNumber, r.amount);
    }
    ASSERT_GT(icbc.rows.size(), 1000);
    ASSERT_GT(post.rows.size(), 1000);

    QByteArray longBytes;
    QByteArray icbcBytes;
    QByteArray baiyulanBytes;
    QByteArray postBytes;
    for (qsizetype i = 0; i < in.rows.size(); ++i) {
        longBytes += longLine(in.rows[i]);
        baiyulanBytes += baiyulanLine(in.rows[i], int(i + 1));
    }
    for (const CardRowView row : icbc.rows) icbcBytes += icbcLine(row);
    for (qsizetype i = 0; i < post.rows.size(); ++i)
        postBytes += postLine(post.rows[i], int(i + 1), "3100100");
    EXPECT_EQ(showBytes(LongCardBytes(in)), showBytes(longBytes));
    EXPECT_EQ(showBytes(afterHeader(MudanCardBytes(icbc))), showBytes(icbcBytes));
    EXPECT_EQ(showBytes(afterHeader(PujiangCardBytes(icbc))), showBytes(icbcBytes));
    EXPECT_EQ(showBytes(afterHeader(BaiyulanCardBytes(in))), showBytes(baiyulanBytes));
    slp::ScriptedPrompts prompts;
    EXPECT_EQ(showBytes(PostSavingsCardBytes(post, prompts)), showBytes(postBytes));
}

// Fen computed in whole numbers from the digits: the whole yuan, two decimals, plus one when the third
// decimal is 5 or more.
QString fenByArithmetic(const QString& amount) {
    const qsizetype point = amount.indexOf(u'.');
    const QString whole = point < 0 ? amount : amount.first(point);
    const QString fraction = point < 0 ? QString() : amount.sliced(point + 1);
    qint64 fen = whole.isEmpty() ? 0 : whole.toLongLong() * 100;
    fen += fraction.left(2).leftJustified(2, u'0').toLongLong();
    if (fraction.size() > 2 && fraction[2] >= u'5') ++fen;
    return QString::number(fen);
}

TEST(WriterShortCuts, FenOfPlainDigitsIsTheFenOfTheSameTextWithBlanksAround) {
    QRandomGenerator random(1234);
    const FieldRef where = FieldRef::cell(u"金额"_s, 1, u"张三");
    const QStringList digits = {u"0"_s, u"1"_s, u"4"_s, u"5"_s, u"9"_s};
    for (int round = 0; round < 5000; ++round) {
        QString amount = draw(random, digits, 12);
        if (random.bounded(3)) amount += u'.' + draw(random, digits, 5);
        if (amount.isEmpty() || amount == u"."_s) continue;
        const QString plain = fenOfAmount(amount, where);
        EXPECT_EQ(plain, fenOfAmount(u' ' + amount + u' ', where)) << amount.toStdString();
        EXPECT_EQ(plain, fenByArithmetic(amount)) << amount.toStdString();
    }
}

TEST(WriterShortCuts, ErrorsQuoteTheFittedField) {
    // A card number that cannot be written is quoted as the layout fits it: padded to 16 for the 龙卡,
    // to 8 for the 邮政卡.
    CardFileInput in = fiveEmployees();
    in.rows = {{u"张三"_s, u"12345678901234😀"_s, u"1.00"_s}};
    try {
        LongCardBytes(in);
        ADD_FAILURE() << "no error";
    } catch (const slp::Error& e) {
        EXPECT_TRUE(e.description().contains(u"“ 12345678901234😀”"_s)) << e.description().toStdString();
    }
    in.rows = {{u"张三"_s, u"12😀"_s, u"1.00"_s}};
    slp::ScriptedPrompts prompts;
    try {
        PostSavingsCardBytes(in, prompts);
        ADD_FAILURE() << "no error";
    } catch (const slp::Error& e) {
        EXPECT_TRUE(e.description().contains(u"“12😀     ”"_s)) << e.description().toStdString();
    }
}

}  // namespace
