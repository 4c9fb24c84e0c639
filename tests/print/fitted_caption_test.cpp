// Captions fitted into their cells: right-aligned on one line, or split into centred lines.
#include <gtest/gtest.h>

#include "print/wage_print.h"
#include "qstring_print.h"
#include "recording_print_target.h"

using namespace Qt::StringLiterals;
using namespace slp::print;

namespace {

struct PrintCaption : ::testing::Test {
    RecordingPrintTarget t;
    void SetUp() override { t.SetFontSize(9); }  // a CJK character 180 twips, a line 180 twips
};

}  // namespace

TEST_F(PrintCaption, FittingCaptionIsRightAligned) {
    PrintFittedCaption(t, u"工资"_s, 500, 1000, 2000);
    const auto texts = t.texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_FLOAT_EQ(texts[0].x, 1000 + 500 - 360);
    EXPECT_FLOAT_EQ(texts[0].y, 2000);
}

TEST_F(PrintCaption, UpToHundredTwipsTooWideStaysOnOneLineAndProtrudes) {
    PrintFittedCaption(t, u"工资"_s, 260, 1000, 2000);  // 360 = 260 + 100
    ASSERT_EQ(t.texts().size(), 1u);
    EXPECT_FLOAT_EQ(t.texts()[0].x, 900);
    t.clear();
    PrintFittedCaption(t, u"工资"_s, 259, 1000, 2000);  // one twip more: split
    EXPECT_EQ(t.printedTexts(), (QStringList{u"工"_s, u"资"_s}));
}

TEST_F(PrintCaption, SplitIntoCentredLinesOfWhatFits) {
    // Four characters fit in 750 twips; 8 characters make 8 / 4 + 0.5 = 2.5, two lines (halves to even).
    PrintFittedCaption(t, u"应发工资合计金额"_s, 750, 1000, 2000);
    const auto texts = t.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, u"应发工资"_s);
    EXPECT_EQ(texts[1].text, u"合计金额"_s);
    EXPECT_FLOAT_EQ(texts[0].x, 1000 + (750 - 720) / 2.0f);
    EXPECT_FLOAT_EQ(texts[0].y, 2000);
    EXPECT_FLOAT_EQ(texts[1].y, 2180);
}

TEST_F(PrintCaption, LineCountRoundsHalvesToEven) {
    // 12 characters at 4 a line: 3.5 gives 4 lines, the last one empty.
    PrintFittedCaption(t, u"一二三四五六七八九十甲乙"_s, 720, 0, 0);
    EXPECT_EQ(t.printedTexts(), (QStringList{u"一二三四"_s, u"五六七八"_s, u"九十甲乙"_s, QString()}));
    EXPECT_FLOAT_EQ(t.texts()[3].y, 540);
    t.clear();
    // 9 characters: 2.75 gives 3 lines, the last holding one character, centred.
    PrintFittedCaption(t, u"一二三四五六七八九"_s, 720, 0, 0);
    EXPECT_EQ(t.printedTexts(), (QStringList{u"一二三四"_s, u"五六七八"_s, u"九"_s}));
    EXPECT_FLOAT_EQ(t.texts()[2].x, (720 - 180) / 2.0f);
}

TEST_F(PrintCaption, MixedWidthCharactersCountByTheirWidth) {
    // "实发 Total" = 2 x 180 + 6 x 90 = 900; 400 twips hold "实发" (360) but not "实发 " (450). The lines
    // take that many characters (2) whatever their widths: 8 / 2 + 0.5 = 4.5, four lines.
    PrintFittedCaption(t, u"实发 Total"_s, 400, 0, 0);
    EXPECT_EQ(t.printedTexts(), (QStringList{u"实发"_s, u" T"_s, u"ot"_s, u"al"_s}));
    EXPECT_FLOAT_EQ(t.texts()[1].x, (400 - 180) / 2.0f);
}

TEST_F(PrintCaption, CellNarrowerThanOneCharacterPrintsOneCharacterPerLine) {
    PrintFittedCaption(t, u"工资额"_s, 100, 1000, 2000);
    // 3 / 1 + 0.5 = 3.5: four lines, the last empty; each character centred (protruding on both sides).
    EXPECT_EQ(t.printedTexts(), (QStringList{u"工"_s, u"资"_s, u"额"_s, QString()}));
    EXPECT_FLOAT_EQ(t.texts()[0].x, 1000 + (100 - 180) / 2.0f);
    EXPECT_FLOAT_EQ(t.texts()[2].y, 2360);
}
