// The font metrics' remembered fonts and glyphs: widths agree with Qt's own text layout for every
// face, size and weight however often the font changes, texts on a PDF page stand where their cursor and
// width put them and keep their text (whether placed from remembered glyphs or laid out by Qt), and a
// face missing at first is found once it exists.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "basic/error.h"
#include "print/font_metrics.h"
#include "print/pdf_spool_printer.h"
#include "print/preview_picture.h"
#include "qstring_print.h"

using namespace Qt::StringLiterals;
using namespace slp::print;

namespace {

// A device of the resolution a target sizes its fonts at.
QImage deviceAt(int dpi) {
    QImage image(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

// Amounts, captions, a footer with full-width brackets and blanks, full-width and half-width colons;
// then texts Qt has to lay out itself: a combining accent, Hangul, a character the first face lacks.
const QStringList kTexts{u"0"_s,         u"1234.56"_s,
                         u"-98765.43"_s, u"实发工资"_s,
                         u"共10000人"_s, u"【朔岚软件】    2024-03-15"_s,
                         u"财务主管:"_s, u"财务主管："_s,
                         u"Ab Cd ef"_s,  u"e\u0301t\u00e9"_s,
                         u"工资가"_s,    u"工资\u3400"_s};

struct Word {
    double xMin, yMin, xMax;
    QString text;
};

std::vector<Word> wordsOf(const QString& pdf) {
    QProcess p;
    p.start(u"pdftotext"_s, {u"-bbox"_s, pdf, u"-"_s});
    EXPECT_TRUE(p.waitForFinished(30000));
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    const QRegularExpression word(
        uR"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"_s);
    std::vector<Word> out;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out.push_back(
            {m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(), m.captured(4)});
    }
    return out;
}

}  // namespace

TEST(PainterTargetText, WidthsAgreeWithQtLayoutWhateverTheFontChanges) {
    QTemporaryDir dir;
    PdfSpoolPrinter printer(dir.path());
    printer.setMarginMm(0);  // positions measured from the paper's corner
    PreviewPicture picture(11906, 16838, 11906, 11906);
    struct Case {
        PrintTarget* target;
        int dpi;
    } cases[] = {{&printer.target(), 1440}, {&picture.target(), 96}};
    for (auto& c : cases) {
        PrintTarget& t = *c.target;
        const QImage device = deviceAt(c.dpi);
        // Twice over, the faces changing innermost, so every width is asked again after other fonts.
        for (int round = 0; round < 2; ++round) {
            for (const float size : {8.0f, 9.0f, 18.0f}) {
                for (const bool bold : {false, true}) {
                    for (const QString& face : {u"宋体"_s, u"黑体"_s, u"隶书"_s}) {
                        t.SetFontName(face);
                        t.SetFontSize(size);
                        t.SetFontBold(bold);
                        const QFontMetricsF qt(FontMetrics::instance().font(face, size, bold, c.dpi)->font(),
                                               &device);
                        for (const QString& text : kTexts) {
                            EXPECT_FLOAT_EQ(t.TextWidth(text), float(qt.horizontalAdvance(text)))
                                << face.toStdString() << " " << size << (bold ? " bold " : " ")
                                << text.toStdString();
                        }
                        EXPECT_FLOAT_EQ(t.TextHeight(u"O"_s), float(qt.height()));
                    }
                }
            }
        }
    }
}

TEST(PainterTargetText, ManyTextsAreMeasuredAlikeBeyondWhatIsRemembered) {
    QTemporaryDir dir;
    PdfSpoolPrinter printer(dir.path());
    printer.setMarginMm(0);  // positions measured from the paper's corner
    PrintTarget& t = printer.target();
    const QImage device = deviceAt(1440);
    const QFontMetricsF qt(FontMetrics::instance().font(t.FontName(), t.FontSize(), false, 1440)->font(),
                           &device);
    const int count = MeasuredFont::kMaxRememberedWidths + 100;
    for (int i = 0; i < count; i += 7) {
        const QString text = QString::number(i * 1.25, 'f', 2);
        ASSERT_FLOAT_EQ(t.TextWidth(text), float(qt.horizontalAdvance(text))) << text.toStdString();
    }
    EXPECT_FLOAT_EQ(t.TextWidth(u"实发工资"_s), float(qt.horizontalAdvance(u"实发工资"_s)));
}

TEST(PainterTargetText, PdfTextsStandAtTheirCursorAndKeepTheirText) {
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty()) GTEST_SKIP() << "pdftotext missing";
    QTemporaryDir dir;
    PdfSpoolPrinter printer(dir.path());
    printer.setMarginMm(0);  // positions measured from the paper's corner
    PrintTarget& t = printer.target();
    struct Placed {
        QString text;
        float x, y, width;
    };
    std::vector<Placed> placed;
    // Two jobs, so the second starts with a fresh painter; faces change between texts.
    for (int job = 0; job < 2; ++job) {
        float y = 600;
        for (const QString& face : {u"宋体"_s, u"黑体"_s, u"隶书"_s}) {
            t.SetFontName(face);
            t.SetFontSize(job == 0 ? 9 : 12);
            float x = 300;
            for (const QString& text : kTexts) {
                // pdftotext splits words at blanks and gives an accent its own way
                if (text.contains(u' ') || text.contains(QChar(0x0301))) continue;
                t.SetCurrentX(x);
                t.SetCurrentY(y);
                t.Print(text);
                if (job == 1) placed.push_back({text, x, y, t.TextWidth(text)});
                x += t.TextWidth(text) + 400;
            }
            y += 600;
        }
        t.EndDoc();
    }
    ASSERT_EQ(printer.writtenFiles().size(), 2);
    const auto words = wordsOf(printer.writtenFiles()[1]);
    ASSERT_FALSE(words.empty());
    for (const auto& p : placed) {
        const Word* found = nullptr;
        for (const auto& w : words) {
            // Each face has its own line, 600 twips (30 points) apart; a word's top is about the cursor's.
            if (w.text == p.text && std::abs(w.xMin - p.x / 20) < 0.3 && std::abs(w.yMin - p.y / 20) < 10)
                found = &w;
        }
        ASSERT_NE(found, nullptr) << p.text.toStdString() << " at " << p.x;
        EXPECT_NEAR(found->xMax, (p.x + p.width) / 20, 0.3) << p.text.toStdString();
    }
}

namespace {

// The text of one page of a PDF.
QString pageText(const QString& pdf, int page) {
    QProcess p;
    p.start(u"pdftotext"_s, {u"-f"_s, QString::number(page), u"-l"_s, QString::number(page), pdf, u"-"_s});
    EXPECT_TRUE(p.waitForFinished(30000));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// One page of a PDF as a grey image at 72 dpi (a pixel a point).
QImage pageImage(const QString& pdf, int page, const QString& folder) {
    QProcess p;
    const QString base = folder + u"/page"_s;
    p.start(u"pdftoppm"_s, {u"-r"_s, u"72"_s, u"-gray"_s, u"-singlefile"_s, u"-f"_s, QString::number(page),
                            u"-l"_s, QString::number(page), pdf, base});
    EXPECT_TRUE(p.waitForFinished(30000));
    return QImage(base + u".pgm"_s);
}

}  // namespace

TEST(PainterTargetText, HeldBackTextsAndLinesLandOnTheirOwnPageAndADroppedJobLeavesNothing) {
    for (const char* tool : {"pdftotext", "pdftoppm"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) GTEST_SKIP() << tool;
    }
    QTemporaryDir dir;
    PdfSpoolPrinter printer(dir.path() + u"/jobs"_s);
    printer.setMarginMm(0);  // positions measured from the paper's corner
    PrintTarget& t = printer.target();
    // A job that is dropped: none of its text may turn up in the next one.
    t.SetCurrentX(300);
    t.SetCurrentY(300);
    t.Print(u"作废的页"_s);
    t.Line(300, 2000, 6000, 2000);
    printer.abortDoc();
    EXPECT_TRUE(printer.writtenFiles().isEmpty());
    // Two pages: a text and a 3-pixel line (7.2 twips) 100 points down on the first, a text on the second.
    // Lines are rendered at 72 dpi, where a viewer snaps a path of straight lines to whole pixels.
    t.SetCurrentX(300);
    t.SetCurrentY(300);
    t.Print(u"第一页的字"_s);
    t.SetDrawWidth(3);
    t.Line(1000, 2000, 5000, 2000);
    // Pieces of a vertical line at 150 points that touch or overlap (joined when drawn), a gap from 150
    // to 170 points down, then another piece; and a slanting line, which is never joined.
    t.Line(3000, 2000, 3000, 2400);
    t.Line(3000, 2800, 3000, 2400);
    t.Line(3000, 2600, 3000, 3000);
    t.Line(3000, 3400, 3000, 3800);
    t.Line(4000, 3000, 4400, 3400);
    printer.newPage();
    t.SetCurrentX(300);
    t.SetCurrentY(300);
    t.Print(u"第二页的字"_s);
    t.EndDoc();
    ASSERT_EQ(printer.writtenFiles().size(), 1);
    const QString pdf = printer.writtenFiles()[0];
    const QString first = pageText(pdf, 1);
    const QString second = pageText(pdf, 2);
    EXPECT_TRUE(first.contains(u"第一页的字"_s));
    EXPECT_FALSE(first.contains(u"第二页的字"_s));
    EXPECT_TRUE(second.contains(u"第二页的字"_s));
    EXPECT_FALSE(first.contains(u"作废"_s) || second.contains(u"作废"_s));
    // The line: dark along row 100 from x 50 to 250 points, nothing on the second page there.
    const QImage page1 = pageImage(pdf, 1, dir.path());
    const QImage page2 = pageImage(pdf, 2, dir.path());
    ASSERT_FALSE(page1.isNull());
    ASSERT_FALSE(page2.isNull());
    int dark1 = 0, dark2 = 0;
    for (int x = 60; x < 240; ++x) {
        if (qGray(page1.pixel(x, 100)) < 160) ++dark1;
        if (qGray(page2.pixel(x, 100)) < 160) ++dark2;
    }
    EXPECT_EQ(dark1, 180);
    EXPECT_EQ(dark2, 0);
    auto darkRows = [&](int from, int to) {
        int n = 0;
        for (int y = from; y < to; ++y) n += qGray(page1.pixel(150, y)) < 160 ? 1 : 0;
        return n;
    };
    EXPECT_EQ(darkRows(101, 149), 48);
    EXPECT_EQ(darkRows(152, 169), 0);
    EXPECT_EQ(darkRows(171, 189), 18);
    EXPECT_LT(qGray(page1.pixel(210, 160)), 160);  // halfway along the slanting line
}

TEST(PainterTargetText, AFaceMissingAtFirstIsFoundOnceItExists) {
    PreviewPicture picture(6000, 6000, 11906, 6000);
    PrintTarget& t = picture.target();
    const QString face = u"测试用的后来字体"_s;
    EXPECT_THROW(t.SetFontName(face), slp::Error);
    QFont::insertSubstitution(face, u"AR PL UMing CN"_s);
    EXPECT_NO_THROW(t.SetFontName(face));
    EXPECT_EQ(t.FontName(), face);
    QFont::removeSubstitutions(face);
}

TEST(PainterTargetText, BoldWithoutABoldFaceIsHeavierOnThePicture) {
    // The table head's bold captions: the faces have no bold of their own and Qt does not embolden
    // glyphs it draws through the twips transform, so the target strokes their outlines itself.
    auto ink = [](bool bold, const QString& face) {
        PreviewPicture picture(6000, 2000, 11906, 11906);
        PrintTarget& t = picture.target();
        t.SetFontName(face);
        t.SetFontSize(12);
        t.SetFontBold(bold);
        t.SetCurrentX(300);
        t.SetCurrentY(300);
        t.Print(u"应发工资实发工资"_s);
        const QImage& image = picture.image();
        long dark = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 192;
        }
        return dark;
    };
    for (const QString& face : {u"宋体"_s, u"黑体"_s}) {
        const long regular = ink(false, face);
        EXPECT_GT(regular, 100) << face.toStdString();
        EXPECT_GT(ink(true, face), regular * 12 / 10) << face.toStdString();
    }
}
