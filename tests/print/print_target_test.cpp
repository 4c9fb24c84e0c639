// The two print targets: the recording one with its fixed metrics and call log, the QPainter one with
// its twips transform, font sizes, substitutes and refused faces.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>

#include "basic/error.h"
#include "print/chinese_fonts.h"
#include "print/font_metrics.h"
#include "print/preview_picture.h"
#include "qstring_print.h"
#include "recording_print_target.h"

using namespace Qt::StringLiterals;
using namespace slp::print;

namespace {

// Dark pixels of an image inside a rectangle of pixels.
int darkPixels(const QImage& image, QRect r) {
    int n = 0;
    r = r.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) ++n;
        }
    }
    return n;
}

}  // namespace

TEST(PrintRecordingTarget, FixedMetricsCountFullAndHalfWidthCharacters) {
    RecordingPrintTarget t;
    t.SetFontSize(9);
    EXPECT_FLOAT_EQ(t.TextWidth(u"我"_s), 180);
    EXPECT_FLOAT_EQ(t.TextWidth(u"O"_s), 90);
    EXPECT_FLOAT_EQ(t.TextWidth(u"共3页  第1页"_s), 4 * 180 + 4 * 90);
    EXPECT_FLOAT_EQ(t.TextWidth(u"【朔岚软件】"_s), 6 * 180);  // full-width brackets
    EXPECT_FLOAT_EQ(t.TextWidth(u"财务主管:"_s), 4 * 180 + 90);
    EXPECT_FLOAT_EQ(t.TextWidth(u"财务主管："_s), 5 * 180);
    EXPECT_FLOAT_EQ(t.TextWidth(QString()), 0);
    EXPECT_FLOAT_EQ(t.TextHeight(u"O"_s), 180);
    t.SetFontSize(14);
    EXPECT_FLOAT_EQ(t.TextWidth(u"工资"_s), 560);
    EXPECT_FLOAT_EQ(t.TextHeight(u"工资"_s), 280);
}

TEST(PrintRecordingTarget, PrintMovesTheCursorToTheNextLineAndLogsState) {
    RecordingPrintTarget t;
    t.SetFontSize(10);
    t.SetFontBold(true);
    t.SetCurrentX(500);
    t.SetCurrentY(700);
    t.Print(u"应发工资"_s);
    EXPECT_FLOAT_EQ(t.CurrentX(), 0);
    EXPECT_FLOAT_EQ(t.CurrentY(), 900);
    t.Print(u"x"_s);
    EXPECT_FLOAT_EQ(t.CurrentY(), 1100);
    const auto texts = t.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, u"应发工资"_s);
    EXPECT_FLOAT_EQ(texts[0].x, 500);
    EXPECT_FLOAT_EQ(texts[0].y, 700);
    EXPECT_FLOAT_EQ(texts[0].fontSize, 10);
    EXPECT_TRUE(texts[0].bold);
    EXPECT_EQ(texts[0].fontName, u"宋体"_s);
    EXPECT_FLOAT_EQ(texts[1].x, 0);
    EXPECT_FLOAT_EQ(texts[1].y, 900);
}

TEST(PrintRecordingTarget, LinesCarryThePenAndLeaveTheCursor) {
    RecordingPrintTarget t;
    t.SetCurrentX(11);
    t.SetCurrentY(22);
    t.SetDrawWidth(3);
    t.Line(1, 2, 3, 4);
    t.SetDrawWidth(0);  // a pen is at least one pixel wide
    t.Line(5, 6, 7, 8);
    const auto lines = t.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_FLOAT_EQ(lines[0].x, 1);
    EXPECT_FLOAT_EQ(lines[0].y, 2);
    EXPECT_FLOAT_EQ(lines[0].x2, 3);
    EXPECT_FLOAT_EQ(lines[0].y2, 4);
    EXPECT_EQ(lines[0].drawWidth, 3);
    EXPECT_EQ(lines[1].drawWidth, 1);
    EXPECT_FLOAT_EQ(t.CurrentX(), 11);
    EXPECT_FLOAT_EQ(t.CurrentY(), 22);
}

TEST(PrintRecordingTarget, RefusedFaceThrowsAndKeepsThePreviousFace) {
    RecordingPrintTarget::Setup setup;
    setup.refusedFaces = {u"黑体"_s};
    RecordingPrintTarget t(setup);
    t.SetFontName(u"隶书"_s);
    try {
        t.SetFontName(u"黑体"_s);
        FAIL() << "the face was accepted";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), fontRefusedError);
        EXPECT_TRUE(e.description().contains(u"黑体"_s));
    }
    EXPECT_EQ(t.FontName(), u"隶书"_s);
    ASSERT_EQ(t.only(RecordedCall::FontRefused).size(), 1u);
    EXPECT_EQ(t.only(RecordedCall::FontRefused)[0].text, u"黑体"_s);
}

TEST(PrintRecordingTarget, KindAndPrinterWidthsComeFromTheSetup) {
    RecordingPrintTarget::Setup setup;
    setup.kind = TargetKind::Printer;
    setup.paperWidth = 16838;
    setup.printableWidth = 16500;
    setup.height = 11906;
    RecordingPrintTarget t(setup);
    EXPECT_TRUE(t.IsPrinter());
    EXPECT_FALSE(t.IsPicture());
    EXPECT_FLOAT_EQ(t.PrinterPaperWidth(), 16838);
    EXPECT_FLOAT_EQ(t.PrinterPrintableWidth(), 16500);
    EXPECT_FLOAT_EQ(t.Height(), 11906);
    t.SetCurrentY(100);
    t.EndDoc();
    EXPECT_EQ(t.only(RecordedCall::EndDoc).size(), 1u);
    EXPECT_FLOAT_EQ(t.CurrentY(), 0);
}

TEST(PrintChineseFonts, SubstitutesAreTheInstalledFreeFaces) {
    EXPECT_EQ(chineseFontSubstitutes(u"宋体"_s).value(0), u"AR PL UMing CN"_s);
    EXPECT_EQ(chineseFontSubstitutes(u"黑体"_s).value(0), u"WenQuanYi Zen Hei"_s);
    EXPECT_EQ(chineseFontSubstitutes(u"隶书"_s).value(0), u"AR PL UKai CN"_s);
    for (const QString& face : {u"宋体"_s, u"黑体"_s, u"隶书"_s}) {
        for (const QString& s : chineseFontSubstitutes(face)) {
            EXPECT_FALSE(s.contains(u"Noto"_s)) << s.toStdString();
        }
        // Registered at start-up: Qt's own matching knows them.
        EXPECT_EQ(QFont::substitutes(face).value(0).toLower(),
                  chineseFontSubstitutes(face).value(0).toLower());
        EXPECT_TRUE(fontFaceAvailable(face));
    }
    registerChineseFontSubstitutes();  // a second registration adds nothing
    EXPECT_EQ(QFont::substitutes(u"宋体"_s).size(), chineseFontSubstitutes(u"宋体"_s).size());
    EXPECT_FALSE(fontFaceAvailable(u"没有这种字体"_s));
    EXPECT_FALSE(fontFaceAvailable(QString()));
}

TEST(PrintPainterTarget, FacesResolveToTheSubstitutes) {
    PreviewPicture picture(11906, 16838, 11906, 11906);
    PrintTarget& t = picture.target();
    const struct {
        const char16_t* face;
        const char16_t* family;
    } faces[] = {{u"宋体", u"AR PL UMing CN"}, {u"黑体", u"WenQuanYi Zen Hei"}, {u"隶书", u"AR PL UKai CN"}};
    for (const auto& f : faces) {
        t.SetFontName(QString::fromUtf16(f.face));
        const auto font = FontMetrics::instance().font(t.FontName(), t.FontSize(), false, 96);
        EXPECT_EQ(QFontInfo(font->font()).family(), QString::fromUtf16(f.family));
    }
    EXPECT_THROW(t.SetFontName(u"没有这种字体"_s), slp::Error);
    EXPECT_EQ(t.FontName(), u"隶书"_s);
}

TEST(PrintPainterTarget, MetricsAreTwipsWhateverTheResolution) {
    PreviewPicture screen(11906, 16838, 11906, 11906, 96);
    PreviewPicture fine(11906, 16838, 11906, 11906, 1440);
    for (PrintTarget* t : {&screen.target(), &fine.target()}) {
        t->SetFontSize(9);
        // A CJK character is one em wide: 9 points are 180 twips.
        EXPECT_NEAR(t->TextWidth(u"我"_s), 180, 3);
        EXPECT_NEAR(t->TextWidth(u"我我我我"_s), 720, 8);
        EXPECT_GT(t->TextHeight(u"O"_s), 170);
        EXPECT_LT(t->TextHeight(u"O"_s), 300);
        t->SetFontSize(18);
        EXPECT_NEAR(t->TextWidth(u"我"_s), 360, 5);
    }
    screen.target().SetFontSize(9);
    fine.target().SetFontSize(9);
    EXPECT_NEAR(screen.target().TextHeight(u"O"_s), fine.target().TextHeight(u"O"_s), 2);
}

TEST(PrintPainterTarget, DrawsTextAtTheCursorAndLinesInPixelPens) {
    PreviewPicture picture(6000, 6000, 11906, 6000);  // 400 x 400 pixels at 15 twips each
    PrintTarget& t = picture.target();
    EXPECT_TRUE(t.IsPicture());
    EXPECT_FLOAT_EQ(t.Height(), 6000);
    EXPECT_FLOAT_EQ(t.PrinterPaperWidth(), 11906);
    t.SetFontSize(12);
    t.SetCurrentX(1500);
    t.SetCurrentY(1500);
    t.Print(u"工资"_s);
    EXPECT_FLOAT_EQ(t.CurrentX(), 0);
    EXPECT_NEAR(t.CurrentY(), 1500 + t.TextHeight(u"O"_s), 0.01);
    // A horizontal line 1 pixel wide at y = 3000 twips (pixel row 200), and one 3 pixels wide at 4500.
    t.Line(300, 3000, 5700, 3000);
    t.SetDrawWidth(3);
    t.Line(300, 4500, 5700, 4500);
    const QImage& image = picture.image();
    ASSERT_EQ(image.width(), 400);
    // Text: 12 points are 240 twips = 16 pixels; two characters from pixel 100 rightwards and downwards.
    EXPECT_GT(darkPixels(image, QRect(100, 100, 32, 18)), 20);
    EXPECT_EQ(darkPixels(image, QRect(0, 0, 99, 99)), 0);
    EXPECT_EQ(darkPixels(image, QRect(140, 100, 60, 18)), 0);
    // Line rows: the 1-pixel line darkens one row, the 3-pixel line three.
    int thin = 0, thick = 0;
    for (int y = 195; y <= 205; ++y) thin += darkPixels(image, QRect(100, y, 1, 1));
    for (int y = 295; y <= 305; ++y) thick += darkPixels(image, QRect(100, y, 1, 1));
    EXPECT_EQ(thin, 1);
    EXPECT_EQ(thick, 3);
    picture.clear();
    EXPECT_EQ(darkPixels(picture.image(), picture.image().rect()), 0);
    EXPECT_FLOAT_EQ(picture.target().CurrentY(), 0);
}

TEST(PrintFontMetrics, TheCharUnitGrowsWithTheFontAndIsAboutOneEm) {
    const float at9 = measureCharUnit(u"宋体"_s, 9);
    const float at12 = measureCharUnit(u"宋体"_s, 12);
    // A full-width character is about one em: 9 points are 180 twips.
    EXPECT_GT(at9, 180 * 0.8);
    EXPECT_LT(at9, 180 * 1.2);
    EXPECT_NEAR(at12 / at9, 12.0 / 9.0, 0.05);
}
