// Wage slips on the recording target: caption and value lines, the rules, the extra columns, the scale
// lowered for a table wider than the paper (and seen by the caller), the end of the job on the printer.
#include <gtest/gtest.h>

#include "print/wage_print.h"
#include "print_fixture.h"
#include "qstring_print.h"

using namespace Qt::StringLiterals;
using namespace slp::print;
using print_test::Fixture;
using print_test::horizontalAt;
using print_test::makeGrid;

namespace {

RecordingPrintTarget::Setup paper(float paperWidth, TargetKind kind = TargetKind::Picture,
                                  float height = 16838) {
    RecordingPrintTarget::Setup s;
    s.paperWidth = paperWidth;
    s.printableWidth = paperWidth;
    s.kind = kind;
    s.height = height;
    return s;
}

struct PrintSlipPageTest : ::testing::Test {
    slp::data::WageGrid grid =
        makeGrid({u"序号"_s, u"姓名"_s, u"基本工资"_s, u"实发工资"_s}, {600, 1000, 1200, 1200}, 3);

    // Draws rows 1 to 20 and returns the scale the caller's variable holds afterwards.
    float slips(Fixture& f) {
        return PrintSlipPage(f.layout, grid, {1, 20}, print_test::geometry(grid.cols() - 1));
    }
    static RecordedCall text(const Fixture& f, const QString& s, size_t index = 0) {
        const auto all = f.target.findTexts(s);
        EXPECT_GT(all.size(), index) << s.toStdString();
        return all.size() > index ? all[index] : RecordedCall{};
    }
};

}  // namespace

TEST_F(PrintSlipPageTest, CaptionsOverValuesWithTheGridWidths) {
    Fixture f(paper(11906));
    EXPECT_FLOAT_EQ(slips(f), 1);
    EXPECT_FLOAT_EQ(text(f, u"序号"_s).x, 300 + 600 - 360);
    EXPECT_FLOAT_EQ(text(f, u"序号"_s).y, 690);
    EXPECT_FLOAT_EQ(text(f, u"r1c0"_s).x, 300 + 600 - 360);
    EXPECT_FLOAT_EQ(text(f, u"r1c0"_s).y, 690 + 360);
    EXPECT_FLOAT_EQ(text(f, u"基本工资"_s).x, 1900 + 1200 - 720);
    EXPECT_FLOAT_EQ(text(f, u"r1c2"_s).x, 1900 + 1200 - 360);
    // Every row is a slip, the totals row too; each slip repeats the captions.
    EXPECT_EQ(f.target.findTexts(u"实发工资"_s).size(), 4u);
    EXPECT_FLOAT_EQ(text(f, u"实发工资"_s, 3).y, 600 + 3 * 720 + 90);
    EXPECT_FLOAT_EQ(text(f, u"t3"_s).y, 600 + 3 * 720 + 450);
    EXPECT_FALSE(f.target.findText(u"r4c0"_s).has_value());
    for (const auto& t : f.target.texts()) {
        EXPECT_FLOAT_EQ(t.fontSize, 9);
        EXPECT_EQ(t.fontName, u"宋体"_s);  // the face is never changed
    }
}

TEST_F(PrintSlipPageTest, RulesAtEverySlipAndBetweenItsLines) {
    Fixture f(paper(11906));
    slips(f);
    for (float y : {600.0f, 1320.0f, 2040.0f, 2760.0f, 3480.0f}) {
        const auto rules = horizontalAt(f.target, y);
        ASSERT_EQ(rules.size(), 1u) << y;
        EXPECT_FLOAT_EQ(rules[0].x, 300);
        EXPECT_FLOAT_EQ(rules[0].x2, 4300);
    }
    // The middle rule is drawn once per column of the slip.
    EXPECT_EQ(horizontalAt(f.target, 960).size(), 4u);
    // No vertical lines, no page head, no footer.
    for (const auto& l : f.target.lines()) EXPECT_FLOAT_EQ(l.y, l.y2);
    EXPECT_EQ(f.target.texts().size(), 4u * 8u);
    f.target.clear();
    f.layout.drawHorizontalLines = false;
    f.layout.drawMiddleLines = false;
    slips(f);
    EXPECT_TRUE(f.target.lines().empty());
}

TEST_F(PrintSlipPageTest, TitleCentredOnThePrintWidth) {
    Fixture f(paper(11906));
    f.layout.printTitle = u"个人发放联"_s;
    f.layout.printWidth = 11106;
    slips(f);
    const auto title = text(f, u"个人发放联"_s);
    EXPECT_FLOAT_EQ(title.fontSize, 14);
    EXPECT_FLOAT_EQ(title.x, 300 + (11106 - 1400) / 2.0f);
    EXPECT_FLOAT_EQ(title.y, 200);
    EXPECT_FLOAT_EQ(text(f, u"序号"_s).fontSize, 9);
}

TEST_F(PrintSlipPageTest, WiderThanThePaperLowersTheCallersScale) {
    Fixture f(paper(4000));  // 3400 available for a 4000-wide table
    // available / tableWidth first; the width is not recomputed, so the 0.95 margin follows.
    const float s = 3400 * 0.95f / 4000;
    const float scale = slips(f);
    EXPECT_FLOAT_EQ(scale, s);
    EXPECT_FLOAT_EQ(text(f, u"序号"_s).fontSize, 9 * s);
    // Columns advance by the scaled width; captions and values are placed with the unscaled one.
    const float left1 = 300 + s * 600;
    const float w = 9 * s * 20;  // one CJK character
    EXPECT_FLOAT_EQ(text(f, u"姓名"_s).x, left1 + 1000 - 2 * w);
    EXPECT_FLOAT_EQ(text(f, u"r1c1"_s).x, left1 + 1000 - 4 * w / 2);
    EXPECT_FLOAT_EQ(text(f, u"r1c1"_s).y, 600 + 90 * s + 360 * s);
    // The rules keep the width computed before the lowering.
    EXPECT_FLOAT_EQ(horizontalAt(f.target, 600)[0].x2, 4300);
    EXPECT_EQ(horizontalAt(f.target, 600 + 2 * 360 * s).size(), 1u);
}

TEST_F(PrintSlipPageTest, ExtraColumnsMayShrinkATableThatFits) {
    Fixture f(paper(5000));  // 4400 available: the grid fits, with both extra columns it does not
    f.setSlipOption(slp::settings::key::PrintPayDate, u"True"_s);
    f.setSlipOption(slp::settings::key::PrintSignOff, u"True"_s);
    const float scale = slips(f);
    const float expected = 4400 * 0.95f / 6000;
    EXPECT_FLOAT_EQ(scale, expected);
    const float cjk = 9 * expected * 20;
    const auto date = text(f, u"日期"_s);
    EXPECT_FLOAT_EQ(date.x, (5000 + 300 - 800) * expected + (800 - 2 * cjk) * expected / 2);
    EXPECT_FLOAT_EQ(date.y, 600 + 90 * expected);
    const auto value = text(f, u"00-04"_s);
    EXPECT_FLOAT_EQ(value.x, (5000 + 300 - 800) * expected + (800 - 5 * cjk / 2) * expected / 2);
    EXPECT_FLOAT_EQ(value.y, 600 + 450 * expected);
    const auto sign = text(f, u"签收"_s);
    EXPECT_FLOAT_EQ(sign.x, 300 + 6000 - 1000 * expected + (1000 * expected - 2 * cjk) / 2);
    EXPECT_FLOAT_EQ(horizontalAt(f.target, 600)[0].x2, 6300);
}

TEST_F(PrintSlipPageTest, OnlyTheSignatureColumn) {
    Fixture f(paper(11906));
    f.setSlipOption(slp::settings::key::PrintSignOff, u"True"_s);
    EXPECT_FLOAT_EQ(slips(f), 1);
    EXPECT_FLOAT_EQ(text(f, u"签收"_s).x, 300 + 5000 - 1000 + (1000 - 360) / 2.0f);
    EXPECT_FLOAT_EQ(text(f, u"签收"_s).y, 690);
    EXPECT_FALSE(f.target.findText(u"日期"_s).has_value());
    EXPECT_FLOAT_EQ(horizontalAt(f.target, 600)[0].x2, 5300);
}

TEST_F(PrintSlipPageTest, TableSettingsDoNotTouchSlips) {
    Fixture f(paper(11906));
    f.setTableOption(u"是否打印签收"_s, u"True"_s);
    slips(f);
    EXPECT_FALSE(f.target.findText(u"签收"_s).has_value());
}

TEST_F(PrintSlipPageTest, HiddenColumnTakesNoSpace) {
    grid = makeGrid({u"序号"_s, u"隐藏"_s, u"姓名"_s}, {600, 199, 1000}, 1);
    Fixture f(paper(11906));
    slips(f);
    EXPECT_FALSE(f.target.findText(u"隐藏"_s).has_value());
    EXPECT_FALSE(f.target.findText(u"r1c1"_s).has_value());
    EXPECT_FLOAT_EQ(text(f, u"姓名"_s).x, 900 + 1000 - 360);
    EXPECT_FLOAT_EQ(horizontalAt(f.target, 600)[0].x2, 1900);
}

TEST_F(PrintSlipPageTest, EveryPrinterPageEndsItsJob) {
    Fixture f(paper(11906, TargetKind::Printer));
    slips(f);
    EXPECT_EQ(f.target.only(RecordedCall::EndDoc).size(), 1u);
    EXPECT_EQ(f.target.calls().back().kind, RecordedCall::EndDoc);
    Fixture preview(paper(11906));
    slips(preview);
    EXPECT_TRUE(preview.target.only(RecordedCall::EndDoc).empty());
}

TEST_F(PrintSlipPageTest, OverflowWarnsOnThePreviewOnly) {
    Fixture f(paper(11906, TargetKind::Picture, 3500));  // slips end at 3480 > 3400
    slips(f);
    EXPECT_EQ(f.warnings.texts, QStringList{pageOverflowWarning()});
    Fixture p(paper(11906, TargetKind::Printer, 3500));
    slips(p);
    EXPECT_TRUE(p.warnings.texts.isEmpty());
}
