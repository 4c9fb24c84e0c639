#include <gtest/gtest.h>
#include <iconv.h>

#include <QList>
#include <QRandomGenerator>
#include <QString>
#include <QSysInfo>
#include <cerrno>

#include "export/gbk_encoder.h"

using namespace Qt::StringLiterals;
using slp::bank::GbkEncoder;

namespace {

TEST(GbkEncoder, EncodesAsciiInOneByteAndChineseInTwo) {
    GbkEncoder enc;
    QByteArray out = "prefix:";
    EXPECT_FALSE(enc.encode(u"张三 A1", out));
    EXPECT_EQ(out, QByteArray("prefix:\xD5\xC5\xC8\xFD A1"));
    EXPECT_FALSE(enc.encode(u"", out));
    EXPECT_EQ(out.size(), 7 + 7);
}

TEST(GbkEncoder, ReportsTheFirstCharacterGbkLacksAndLeavesTheOutputAsItWas) {
    GbkEncoder enc;
    QByteArray out = "keep";
    auto failure = enc.encode(u"刘䶮", out);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->index, 1);
    EXPECT_EQ(failure->character, U'\u4DAE');
    EXPECT_EQ(out, QByteArray("keep"));

    failure = enc.encode(u"ab😀c😀", out);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->index, 2) << "counted in characters, not UTF-16 units";
    EXPECT_EQ(failure->character, U'\U0001F600');

    // A broken surrogate is no character at all.
    const QChar lone[] = {QChar(u'张'), QChar(0xD800)};
    failure = enc.encode(QStringView(lone, 2), out);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->index, 1);
    EXPECT_EQ(out, QByteArray("keep"));

    // The encoder is still fit for use after a failure.
    EXPECT_FALSE(enc.encode(u"王五", out));
    EXPECT_EQ(out, QByteArray("keep\xCD\xF5\xCE\xE5"));
}

TEST(GbkEncoder, LongTextsGrowTheOutput) {
    GbkEncoder enc;
    QString text;
    for (int i = 0; i < 5000; ++i) text += i % 2 ? u"张"_s : u"a"_s;
    QByteArray out;
    EXPECT_FALSE(enc.encode(text, out));
    EXPECT_EQ(out.size(), 2500 * 2 + 2500);
}

// The whole text through iconv in one call, the way the encoder worked before it kept a table: the
// bytes, or the index and character of the first character GBK lacks.
struct Whole {
    QByteArray bytes;
    std::optional<GbkEncoder::Failure> failure;
};

Whole wholeTextIconv(QStringView text) {
    const QList<uint> ucs4 = text.toUcs4();
    iconv_t cd = iconv_open("GBK", QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-32LE" : "UTF-32BE");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    Whole w;
    w.bytes.resize(ucs4.size() * 4 + 16);
    char* in = reinterpret_cast<char*>(const_cast<uint*>(ucs4.constData()));
    size_t inLeft = size_t(ucs4.size()) * sizeof(uint);
    char* out = w.bytes.data();
    size_t outLeft = size_t(w.bytes.size());
    if (inLeft > 0 && iconv(cd, &in, &inLeft, &out, &outLeft) == size_t(-1)) {
        EXPECT_EQ(errno, EILSEQ);
        const qsizetype index =
            (in - reinterpret_cast<const char*>(ucs4.constData())) / qsizetype(sizeof(uint));
        w.failure = GbkEncoder::Failure{index, char32_t(ucs4.at(index))};
    }
    w.bytes.resize(out - w.bytes.data());
    iconv_close(cd);
    return w;
}

TEST(GbkEncoder, GivesTheBytesAndFailuresOfOneIconvCallOverTheWholeText) {
    // Characters GBK has, lacks, writes in one byte (the euro sign) or in none (tag characters), broken
    // and whole surrogate pairs, drawn at random into texts of up to 12 UTF-16 units.
    const QList<QList<char32_t>> pools = {
        {U'0', U'9', U' ', U'A', U'z', U'~', U'\t', U'\r', U'\0', U'\x7F'},
        {U'张', U'王', U'李', U'赵', U'钱', U'孙', U'周', U'吴', U'郑', U'　', U'，', U'１', U'Ａ'},
        {U'\u20AC', U'\u00E9', U'\u00B7', U'\u2014', U'\u4DAE', U'\uFFFD', U'\uE000', U'\u0E01'},
        {U'\U0001F600', U'\U00020000', U'\U000E0041', U'\U000E007F'},
    };
    QRandomGenerator random(20000425);
    GbkEncoder enc;
    int failures = 0;
    for (int round = 0; round < 4000; ++round) {
        QString text;
        const int length = random.bounded(13);
        for (int k = 0; k < length; ++k) {
            const int kind = random.bounded(10);
            if (kind == 9) {
                text += QChar(char16_t(random.bounded(2) ? 0xD83D : 0xDE00));  // half a pair
                continue;
            }
            const auto& pool = pools[kind < 4 ? 0 : kind < 7 ? 1 : kind < 8 ? 2 : 3];
            // A random BMP character now and then: most of them are not in GBK.
            const char32_t c = random.bounded(8) == 0 ? char32_t(random.bounded(0x20, 0xD800))
                                                      : pool[random.bounded(int(pool.size()))];
            text += QString::fromUcs4(&c, 1);
        }
        const Whole expected = wholeTextIconv(text);
        QByteArray out = "before";
        const auto failure = enc.encode(text, out);
        ASSERT_EQ(failure.has_value(), expected.failure.has_value()) << text.toStdString();
        if (failure) {
            ++failures;
            EXPECT_EQ(failure->index, expected.failure->index) << text.toStdString();
            EXPECT_EQ(failure->character, expected.failure->character) << text.toStdString();
            EXPECT_EQ(out, QByteArray("before"));
        } else {
            EXPECT_EQ(out, "before" + expected.bytes) << text.toStdString();
        }
    }
    // Both outcomes were drawn often.
    EXPECT_GT(failures, 500);
    EXPECT_LT(failures, 3500);
}

}  // namespace
