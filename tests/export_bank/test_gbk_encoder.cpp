#include <gtest/gtest.h>

#include <QString>

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

}  // namespace
