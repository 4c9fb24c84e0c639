// The helpers read plain ASCII numbers from their bytes and compare printable ASCII texts by a rank
// table, and take the general way (QString, ICU) for everything else. These tests hold the short cuts
// to the general way: values bit for bit, joined texts byte for byte, and the collation's order against
// an ICU collator set up as the host's order is described (Chinese, secondary strength, Latin first).
#include <gtest/gtest.h>
#include <unicode/ucol.h>

#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <cstring>
#include <vector>

#include "basic/conversions.h"
#include "data/jet/translate.h"
#include "host_database.h"

using namespace Qt::StringLiterals;

namespace slp::jet::test {
namespace {

// A prepared statement with one text parameter, stepped once per text.
class Probe {
  public:
    Probe(sqlite3* db, const char* sql) {
        EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr), SQLITE_OK);
    }
    ~Probe() { sqlite3_finalize(stmt_); }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    // Binds the texts (as UTF-8) to ?1, ?2, … and steps: SQLITE_ROW or the error code.
    int run(const QStringList& texts) {
        sqlite3_reset(stmt_);
        for (int i = 0; i < texts.size(); ++i) {
            const QByteArray utf8 = texts[i].toUtf8();
            sqlite3_bind_text(stmt_, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
        return sqlite3_step(stmt_);
    }
    sqlite3_stmt* get() const { return stmt_; }

  private:
    sqlite3_stmt* stmt_ = nullptr;
};

QString columnText(sqlite3_stmt* stmt, int column) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return QString::fromUtf8(bytes, sqlite3_column_bytes(stmt, column));
}

bool sameDouble(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;  // also tells 0 from -0
}

QString draw(QRandomGenerator& random, const QStringList& pool, int maxLength) {
    QString text;
    const int length = random.bounded(maxLength + 1);
    for (int k = 0; k < length; ++k) text += pool[random.bounded(int(pool.size()))];
    return text;
}

// Numbers in plain form with blanks and signs, some too long for the short cut, and texts just outside
// the plain form (exponents, blanks inside, full-width digits, a carriage return, hex).
QStringList numberTexts() {
    QStringList texts = {
        u"0"_s, u"-0"_s, u"+0.0"_s, u"5."_s, u".5"_s, u"."_s, u"-"_s, u""_s, u" "_s, u" 1 2"_s, u"1e5"_s,
        u"&H1F"_s, u"１２"_s, u"12\r"_s, u"\t7\n"_s, u"- 5"_s, u"1.2.3"_s, u"0.1"_s, u"1234.56"_s, u"-.25"_s,
        u"+12"_s, u"6222021950919135691 "_s, u"9007199254740993"_s, u"0.30000000000000004441"_s,
        // Around the exact cases: 19 and 20 digits, 2^53 and above it with a fraction.
        u"9999999999999999999"_s, u"18446744073709551615"_s, u"18446744073709551616"_s,
        u"0.9007199254740992"_s, u"0.9007199254740993"_s, u"900719925474099.3"_s,
        u"1.0000000000000000000000001"_s, u"123.4567890123456789012"_s, u"0.0000000000000000000001"_s};
    QRandomGenerator random(20000425);
    const QStringList digits = {u"0"_s, u"1"_s, u"3"_s, u"5"_s, u"7"_s, u"9"_s};
    const QStringList blanks = {u" "_s, u"\t"_s, u"\n"_s};
    for (int i = 0; i < 3000; ++i) {
        QString t = draw(random, blanks, 2);
        if (random.bounded(3) == 0) t += random.bounded(2) ? u"-"_s : u"+"_s;
        t += draw(random, digits, random.bounded(10) == 0 ? 80 : 20);
        if (random.bounded(2)) t += u'.' + draw(random, digits, 20);
        t += draw(random, blanks, 2);
        texts << t;
    }
    return texts;
}

TEST(HelperShortCuts, ValAndNumReadPlainNumbersAsTheGeneralReadingDoes) {
    HostDatabase db;
    Probe val(db.handle(), "SELECT slp_val(?1), slp_val(slp_cat(?1, ''))");
    Probe num(db.handle(), "SELECT slp_num(?1)");
    for (const QString& text : numberTexts()) {
        ASSERT_EQ(val.run({text}), SQLITE_ROW);
        const double expected = leadingValue(text);
        EXPECT_TRUE(sameDouble(sqlite3_column_double(val.get(), 0), expected))
            << text.toStdString() << ": " << sqlite3_column_double(val.get(), 0) << " != " << expected;
        EXPECT_TRUE(sameDouble(sqlite3_column_double(val.get(), 1), expected)) << text.toStdString();

        const int rc = num.run({text});
        if (isNumericText(text)) {
            ASSERT_EQ(rc, SQLITE_ROW) << text.toStdString();
            EXPECT_TRUE(sameDouble(sqlite3_column_double(num.get(), 0), leadingValue(text)))
                << text.toStdString();
        } else {
            EXPECT_EQ(rc, SQLITE_ERROR) << text.toStdString();
        }
    }
}

TEST(HelperShortCuts, CatJoinsAsciiNumbersAndNullsAsTheTextsDo) {
    HostDatabase db;
    const struct {
        const char* sql;
        QString expected;
    } cases[] = {
        {"SELECT slp_cat('12', '')", u"12"_s},
        {"SELECT slp_cat('', '')", u""_s},
        {"SELECT slp_cat(NULL, '')", u""_s},
        {"SELECT slp_cat(-9223372036854775808, 'x', 9223372036854775807)",
         u"-9223372036854775808x9223372036854775807"_s},
        {"SELECT slp_cat(0, NULL, ' ')", u"0 "_s},
        {"SELECT slp_cat('a' || char(0) || 'b', 'c')", u"a"_s + QChar(0) + u"bc"_s},
        {"SELECT slp_cat('工号', 12)", u"工号12"_s},
        {"SELECT slp_cat(1.5, 'x')", u"1.5x"_s},
        {"SELECT slp_cat(x'4142', 'c')", u"ABc"_s},
        {"SELECT slp_cat(hex(zeroblob(150)), 7)", QString(300, u'0') + u'7'},  // beyond the short cut
    };
    for (const auto& c : cases) {
        Probe p(db.handle(), c.sql);
        ASSERT_EQ(p.run({}), SQLITE_ROW) << c.sql;
        EXPECT_EQ(sqlite3_column_type(p.get(), 0), SQLITE_TEXT) << c.sql;
        EXPECT_EQ(columnText(p.get(), 0), c.expected) << c.sql;
    }
    Probe nulls(db.handle(), "SELECT slp_cat(NULL, NULL)");
    ASSERT_EQ(nulls.run({}), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_type(nulls.get(), 0), SQLITE_NULL);
}

// An ICU collator set up as the host's order is described.
class HostOrder {
  public:
    HostOrder() {
        UErrorCode status = U_ZERO_ERROR;
        collator_ = ucol_open("zh", &status);
        ucol_setStrength(collator_, UCOL_SECONDARY);
        const int32_t none[] = {UCOL_REORDER_CODE_NONE};
        ucol_setReorderCodes(collator_, none, 1, &status);
        EXPECT_TRUE(U_SUCCESS(status));
    }
    ~HostOrder() { ucol_close(collator_); }
    HostOrder(const HostOrder&) = delete;
    HostOrder& operator=(const HostOrder&) = delete;

    int compare(const QString& a, const QString& b) const {
        const UCollationResult r =
            ucol_strcoll(collator_, reinterpret_cast<const UChar*>(a.utf16()), int(a.size()),
                         reinterpret_cast<const UChar*>(b.utf16()), int(b.size()));
        return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
    }

  private:
    UCollator* collator_ = nullptr;
};

// Sorts the texts by ICU and asks the collation about every neighbouring pair. Since both orders are
// total, agreeing on all neighbours means agreeing on every pair.
void expectSameOrder(HostDatabase& db, QStringList texts) {
    const HostOrder icu;
    std::stable_sort(texts.begin(), texts.end(),
                     [&](const QString& a, const QString& b) { return icu.compare(a, b) < 0; });
    Probe p(db.handle(), "SELECT ?1 < ?2 COLLATE slp_text, ?1 = ?2 COLLATE slp_text");
    int disagreements = 0;
    for (qsizetype i = 1; i < texts.size() && disagreements < 10; ++i) {
        ASSERT_EQ(p.run({texts[i - 1], texts[i]}), SQLITE_ROW);
        const int expected = icu.compare(texts[i - 1], texts[i]);
        const int less = sqlite3_column_int(p.get(), 0);
        const int equal = sqlite3_column_int(p.get(), 1);
        if (less != (expected < 0 ? 1 : 0) || equal != (expected == 0 ? 1 : 0)) {
            ++disagreements;
            ADD_FAILURE() << "“" << texts[i - 1].toStdString() << "” and “" << texts[i].toStdString()
                          << "”: ICU says " << expected << ", the collation less=" << less
                          << " equal=" << equal;
        }
    }
}

TEST(HelperShortCuts, CollationOrdersEveryAsciiTextOfOneAndTwoCharactersAsIcuDoes) {
    HostDatabase db;
    QStringList texts = {QString()};
    for (char16_t a = 0x20; a < 0x7F; ++a) {
        texts << QString(QChar(a));
        for (char16_t b = 0x20; b < 0x7F; ++b) texts << QString(QChar(a)) + QChar(b);
    }
    expectSameOrder(db, texts);
}

TEST(HelperShortCuts, CollationOrdersRandomTextsAsIcuDoes) {
    HostDatabase db;
    QRandomGenerator random(4251);
    QStringList printable;
    for (char16_t c = 0x20; c < 0x7F; ++c) printable << QString(QChar(c));
    const QStringList codes = {u"0"_s, u"1"_s, u"9"_s, u"-"_s, u"."_s, u" "_s, u"_"_s, u"/"_s};
    const QStringList letters = {u"a"_s, u"A"_s, u"b"_s, u"B"_s, u"z"_s, u"Z"_s, u"1"_s, u"0"_s};
    // Characters that take the general way, next to ASCII.
    const QStringList others = {u"张"_s, u"á"_s, u"Ａ"_s, u"１"_s, u"\t"_s, u"　"_s, u"😀"_s};
    QStringList texts;
    for (int i = 0; i < 6000; ++i) {
        const int kind = random.bounded(4);
        const QStringList& pool = kind == 0 ? printable : kind == 1 ? codes : letters;
        QString t = draw(random, pool, 10);
        if (kind == 3 && !t.isEmpty())
            t.insert(random.bounded(int(t.size()) + 1), others[random.bounded(int(others.size()))]);
        texts << t;
    }
    expectSameOrder(db, texts);
}

}  // namespace
}  // namespace slp::jet::test
