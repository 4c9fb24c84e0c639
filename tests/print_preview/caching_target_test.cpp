// The target in front of the printer and the picture: settings already in force are not set again,
// sizes are remembered for the font in force and forgotten when too many are kept.
#include "print/preview/caching_target.h"

#include <gtest/gtest.h>

#include "basic/error.h"
#include "preview_fixture.h"
#include "print/recording_print_target.h"

using namespace Qt::StringLiterals;
using slp::print::CachingTarget;
using slp::print::RecordedCall;

namespace {

class CountingTarget : public slp::print::RecordingPrintTarget {
  public:
    float TextWidth(const QString& text) override {
        ++widths;
        return RecordingPrintTarget::TextWidth(text);
    }
    int widths = 0;
};

TEST(CachingTarget, SetsOnlyWhatChanges) {
    CountingTarget inner;
    CachingTarget t(inner);
    t.SetFontName(u"宋体"_s);  // already in force
    t.SetFontSize(9);
    t.SetFontBold(false);
    t.SetDrawWidth(1);
    EXPECT_TRUE(inner.calls().empty());
    t.SetFontName(u"黑体"_s);
    t.SetFontName(u"黑体"_s);
    t.SetFontSize(12);
    t.SetFontBold(true);
    t.SetDrawWidth(3);
    EXPECT_EQ(inner.only(RecordedCall::FontName).size(), 1u);
    EXPECT_EQ(inner.FontName(), u"黑体"_s);
    EXPECT_EQ(inner.FontSize(), 12);
    EXPECT_TRUE(inner.FontBold());
    EXPECT_EQ(inner.DrawWidth(), 3);
    // Drawing goes straight through.
    t.SetCurrentX(100);
    t.SetCurrentY(200);
    t.Print(u"实发工资"_s);
    t.Line(1, 2, 3, 4);
    ASSERT_TRUE(inner.findText(u"实发工资"_s));
    EXPECT_EQ(inner.findText(u"实发工资"_s)->x, 100);
    EXPECT_EQ(inner.lines().size(), 1u);
}

TEST(CachingTarget, RemembersSizesForTheFontInForce) {
    CountingTarget inner;
    CachingTarget t(inner);
    const float w9 = t.TextWidth(u"基本工资"_s);
    EXPECT_EQ(t.TextWidth(u"基本工资"_s), w9);
    EXPECT_EQ(inner.widths, 1);
    t.SetFontSize(18);
    EXPECT_EQ(t.TextWidth(u"基本工资"_s), 2 * w9);
    EXPECT_EQ(inner.widths, 2);
    t.SetFontSize(9);
    EXPECT_EQ(t.TextWidth(u"基本工资"_s), w9);
    EXPECT_EQ(inner.widths, 2);
    EXPECT_EQ(t.TextHeight(u"O"_s), 180);

    for (int i = 0; i < CachingTarget::kMaxRemembered + 10; ++i) t.TextWidth(QString::number(i));
    const int before = inner.widths;
    t.TextWidth(u"基本工资"_s);  // forgotten with the rest
    EXPECT_EQ(inner.widths, before + 1);
}

TEST(CachingTarget, ARefusedFaceStaysRefused) {
    slp::print::RecordingPrintTarget::Setup setup;
    setup.refusedFaces = {u"隶书"_s};
    slp::print::RecordingPrintTarget inner(setup);
    CachingTarget t(inner);
    EXPECT_THROW(t.SetFontName(u"隶书"_s), slp::Error);
    EXPECT_EQ(t.FontName(), u"宋体"_s);
}

}  // namespace
