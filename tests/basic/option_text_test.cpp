// Two-state options as stored in the settings store and shown in the layout table.
#include <gtest/gtest.h>

#include <QString>
#include <optional>

#include "basic/conversions.h"
#include "qstring_print.h"

using namespace Qt::StringLiterals;

namespace {

TEST(ToBool, Table) {
    const std::pair<QString, std::optional<bool>> cases[] = {
        {u"True"_s, true},
        {u"False"_s, false},
        {u"TRUE"_s, true},
        {u"false"_s, false},
        {u"tRuE"_s, true},
        {u"  True  "_s, true},
        {u"\tFalse\n"_s, false},
        {u"-1"_s, true},
        {u"0"_s, false},
        {u"1"_s, true},
        {u"0.0"_s, false},
        {u"0.5"_s, true},
        {u" 2 "_s, true},
        {u"-0"_s, false},
        {u"&H0"_s, false},
        {u"1e-300"_s, true},
        {u""_s, std::nullopt},
        {u" "_s, std::nullopt},
        {u"yes"_s, std::nullopt},
        {u"Tru"_s, std::nullopt},
        {u"True1"_s, std::nullopt},
        {u"是"_s, std::nullopt},
        {u"1 0"_s, std::nullopt},
        {u"T rue"_s, std::nullopt},
        {u"12abc"_s, std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(slp::toBool(text), expected) << text.toStdString();
    }
}

TEST(OptionTexts, RoundTrips) {
    for (const bool b : {true, false}) {
        EXPECT_EQ(slp::toBool(slp::boolText(b)), b);
        EXPECT_EQ(slp::toBool(slp::flagText(b)), b);
        EXPECT_EQ(slp::isYes(slp::yesNoText(b)), b);
    }
    EXPECT_EQ(slp::boolText(true), u"True"_s);
    EXPECT_EQ(slp::boolText(false), u"False"_s);
    EXPECT_EQ(slp::flagText(true), u"-1"_s);
    EXPECT_EQ(slp::flagText(false), u"0"_s);
    EXPECT_EQ(slp::yesNoText(true), u"是"_s);
    EXPECT_EQ(slp::yesNoText(false), u"否"_s);
}

TEST(IsYes, OnlyTheExactText) {
    EXPECT_TRUE(slp::isYes(u"是"));
    for (const QString& t : {u"否"_s, u" 是"_s, u"是 "_s, u"是是"_s, u""_s, u"True"_s, u"-1"_s, u"yes"_s}) {
        EXPECT_FALSE(slp::isYes(t)) << t.toStdString();
    }
}

}  // namespace
