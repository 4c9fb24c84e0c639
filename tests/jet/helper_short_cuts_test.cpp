// The helpers read plain ASCII numbers from their bytes and take the general way (QString) for
// everything else. These tests hold the short cuts to the general way: values bit for bit, joined texts
// byte for byte.
#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QStringList>
#include <cstring>

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
    QStringList texts = {u"0"_s,
                         u"-0"_s,
                         u"+0.0"_s,
                         u"5."_s,
                         u".5"_s,
                         u"."_s,
                         u"-"_s,
                         u""_s,
                         u" "_s,
                         u" 1 2"_s,
                         u"1e5"_s,
                         u"&H1F"_s,
                         u"１２"_s,
                         u"12\r"_s,
                         u"\t7\n"_s,
                         u"- 5"_s,
                         u"1.2.3"_s,
                         u"0.1"_s,
                         u"1234.56"_s,
                         u"-.25"_s,
                         u"+12"_s,
                         u"6222021950919135691 "_s,
                         u"9007199254740993"_s,
                         u"0.30000000000000004441"_s};
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

}  // namespace
}  // namespace slp::jet::test
