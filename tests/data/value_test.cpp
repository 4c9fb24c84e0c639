// Field values: kinds from Qt variants, the host's text and numeric readings, equality.
#include "data/value.h"

#include <gtest/gtest.h>

namespace slp::data {
namespace {

using namespace Qt::StringLiterals;

TEST(DataValue, VariantsKeepTheirKind) {
    EXPECT_TRUE(Value::fromVariant(QVariant()).isNull());
    EXPECT_TRUE(Value::fromVariant(QVariant(QMetaType::fromType<QString>())).isNull());
    EXPECT_EQ(Value::fromVariant(QVariant(true)), Value::integer(-1));  // True as the host stores it
    EXPECT_EQ(Value::fromVariant(QVariant(qlonglong(7))), Value::integer(7));
    EXPECT_EQ(Value::fromVariant(QVariant(2.5)), Value::real(2.5));
    EXPECT_EQ(Value::fromVariant(QVariant(u"王 芳"_s)), Value(u"王 芳"_s));
    EXPECT_EQ(Value::fromVariant(QVariant(QByteArray("ab"))).type(), Value::Type::Blob);
    EXPECT_NE(Value(u"1"_s), Value::integer(1));  // a text never equals a number
    EXPECT_EQ(Value::integer(12).toVariant(), QVariant(qlonglong(12)));
    EXPECT_FALSE(Value().toVariant().isValid());
}

TEST(DataValue, TextAndNumbersAsTheHostReadsThem) {
    EXPECT_EQ(Value().toText(), QString());
    EXPECT_EQ(Value::real(0.1).toText(), u"0.1"_s);
    EXPECT_EQ(Value::real(300).toText(), u"300"_s);
    EXPECT_EQ(Value::integer(-5).toText(), u"-5"_s);
    EXPECT_EQ(Value(u"12abc"_s).toDouble(), 12);
    EXPECT_EQ(Value().toDouble(), 0);
    EXPECT_EQ(Value::real(2.5).toInt64(), 2);  // halves to even
    EXPECT_EQ(Value::real(3.5).toInt64(), 4);
    EXPECT_EQ(Value::real(1e300).toInt64(), 0);  // out of range
    EXPECT_TRUE(Value(u"True"_s).toBool());
    EXPECT_FALSE(Value(u"0"_s).toBool());
    EXPECT_FALSE(Value(u"是"_s).toBool());
    EXPECT_TRUE(Value::boolean(true).toBool());
    EXPECT_FALSE(Value().toBool());
}

}  // namespace
}  // namespace slp::data
