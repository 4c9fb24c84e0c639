// The quick amount formatter gives exactly the text of slp::formatNumber, on wage-like amounts, on
// halves that round away from zero, and on random values of every magnitude.
#include "data/amount_format.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>

#include "basic/conversions.h"
#include "basic/error.h"

namespace slp::data {
namespace {

using namespace Qt::StringLiterals;

const QStringList kPatterns{u"0"_s, u"0.0"_s, u"0.00"_s, QString(), u"0.000"_s, u"#.##"_s};

void expectSame(double v) {
    for (const QString& pattern : kPatterns) {
        const AmountFormat format(pattern);
        AmountFormat::Buffer buffer;
        QString spill;
        const QStringView quick = format.format(v, buffer, spill);
        const QString general = formatNumber(v, pattern);
        ASSERT_EQ(quick.toString(), general) << "value " << v << " pattern '" << pattern.toStdString() << "'";
    }
}

TEST(DataAmountFormat, KnownAmounts) {
    EXPECT_EQ(AmountFormat(u"0.00"_s).format(1200.5), u"1200.50"_s);
    EXPECT_EQ(AmountFormat(u"0.00"_s).format(2.675), u"2.68"_s);  // its shortest text is 2.675
    EXPECT_EQ(AmountFormat(u"0.0"_s).format(-0.04), u"0.0"_s);    // no sign on a rounded zero
    EXPECT_EQ(AmountFormat(u"0"_s).format(9.5), u"10"_s);
    EXPECT_EQ(AmountFormat(u"0"_s).format(0.4), u"0"_s);
    EXPECT_EQ(AmountFormat(u"0.00"_s).format(0.005), u"0.01"_s);
    EXPECT_EQ(AmountFormat(u"0.00"_s).format(-999.995), u"-1000.00"_s);
    EXPECT_EQ(AmountFormat(u"0.00"_s).pattern(), u"0.00"_s);
}

TEST(DataAmountFormat, EdgeValuesMatchTheGeneralFormatter) {
    for (const double v : {0.0,
                           -0.0,
                           0.5,
                           -0.5,
                           1.5,
                           2.5,
                           0.05,
                           0.15,
                           0.25,
                           1.005,
                           1.045,
                           99.95,
                           99.995,
                           0.0049,
                           0.0051,
                           1e-300,
                           -1e-300,
                           5e-324,
                           123456789012345.6,
                           999999999999999.0,
                           1e15,
                           1e15 + 0.5,
                           -1e15,
                           1e20,
                           1e300,
                           4503599627370495.5,
                           0.1 + 0.2,
                           1.0 / 3,
                           -2.0 / 3,
                           1234567.891,
                           0.995,
                           0.9949999}) {
        expectSame(v);
        expectSame(-v);
    }
    EXPECT_THROW(AmountFormat(u"0.00"_s).format(std::nan("")), slp::Error);
}

TEST(DataAmountFormat, RandomValuesMatchTheGeneralFormatter) {
    std::mt19937_64 random(20000425);
    std::uniform_int_distribution<int64_t> cents(-100000000, 100000000);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 17);
    std::uniform_int_distribution<int> thousandths(0, 999999);
    for (int i = 0; i < 20000; ++i) {
        expectSame(double(cents(random)) / 100);
        expectSame(double(thousandths(random)) / 1000);  // many exact halves at the third place
        expectSame(mantissa(random) * std::pow(10.0, exponent(random)));
    }
}

// The text path: for any stored text, formatting from the text gives what formatting its value gives,
// whether the text is taken as it is (plain decimals in the format's form) or passed over.
void expectSameFromText(const QByteArray& text) {
    double value = 0;
    const auto [end, ec] = std::from_chars(text.constData(), text.constData() + text.size(), value);
    if (ec != std::errc()) value = leadingValue(QString::fromUtf8(text));
    for (const QString& pattern : kPatterns) {
        const AmountFormat format(pattern);
        AmountFormat::Buffer buffer;
        QString spill;
        const QString fromText = format.format(value, text, buffer, spill).toString();
        ASSERT_EQ(fromText, formatNumber(value, pattern))
            << "text '" << text.toStdString() << "' pattern '" << pattern.toStdString() << "'";
    }
}

QString fromText(const QString& pattern, double value, const char* text) {
    AmountFormat::Buffer buffer;
    QString spill;
    return AmountFormat(pattern).format(value, QByteArrayView(text), buffer, spill).toString();
}

TEST(DataAmountFormat, StoredTextsGiveTheTextOfTheirValue) {
    EXPECT_EQ(fromText(u"0.00"_s, 1200.5, "1200.5"), u"1200.50"_s);
    EXPECT_EQ(fromText(u"0.0"_s, -37, "-37"), u"-37.0"_s);
    EXPECT_EQ(fromText(u"0"_s, 2.5, "2.5"), u"3"_s);  // more decimals than shown: rounded
    for (const char* text : {"1200.5",
                             "-37",
                             "0.5",
                             "-0.5",
                             "0.05",
                             "2.675",
                             "2.67",
                             "9.99",
                             "99.995",
                             "0",
                             "-0",
                             "0.00",
                             "-0.00",
                             "00.5",
                             "007",
                             "1.",
                             ".5",
                             "-",
                             "",
                             "1e3",
                             " 12",
                             "12 ",
                             "+12",
                             "1,200",
                             "123456789012345",
                             "1234567890123456",
                             "12345678901234.5",
                             "999999999999999.9",
                             "0.000001",
                             "-999.995",
                             "12abc",
                             "1.2.3",
                             "0.10",
                             "5.00"}) {
        expectSameFromText(QByteArray(text));
    }
}

TEST(DataAmountFormat, RandomStoredTextsGiveTheTextOfTheirValue) {
    std::mt19937_64 random(20000426);
    std::uniform_int_distribution<int64_t> whole(-999999999999, 999999999999);
    std::uniform_int_distribution<int> decimals(0, 4);
    std::uniform_int_distribution<int> digit(0, 9);
    for (int i = 0; i < 20000; ++i) {
        QByteArray text = QByteArray::number(qlonglong(whole(random) >> (i % 40)));
        const int d = decimals(random);
        if (d > 0) text += '.';
        for (int k = 0; k < d; ++k) text += char('0' + digit(random));
        expectSameFromText(text);
    }
}

}  // namespace
}  // namespace slp::data
