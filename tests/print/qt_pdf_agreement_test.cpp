// The same page value written twice: by the PDF spool printer, which writes the file itself, and painted
// on Qt's own PDF writer, which is what a system printer's job goes through. pdftotext must read the same
// words from both, in the same places.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

#include "print/page.h"
#include "print/page_painter.h"
#include "print/page_recorder.h"
#include "print/pdf_spool_printer.h"

using namespace Qt::StringLiterals;
using namespace slp::print;

namespace {

// Texts of every kind the renderers print, in the three faces, two sizes, regular and bold, with a
// table's lines between them; the last two need Qt's layout (Hangul and a character the first face
// lacks come from other faces).
void drawScene(PrintTarget& t) {
    const QStringList texts{u"0"_s,         u"1234.56"_s,   u"-98765.43"_s,    u"实发工资"_s,
                            u"共10000人"_s, u"财务主管:"_s, u"【朔岚软件】"_s, u"2024-03-15"_s,
                            u"工资가"_s,    u"工资\u3400"_s};
    float y = 400;
    for (const float size : {9.0f, 12.0f}) {
        for (const bool bold : {false, true}) {
            for (const QString& face : {u"宋体"_s, u"黑体"_s, u"隶书"_s}) {
                t.SetFontName(face);
                t.SetFontSize(size);
                t.SetFontBold(bold);
                float x = 300;
                for (const QString& text : texts) {
                    t.SetCurrentX(x);
                    t.SetCurrentY(y);
                    t.Print(text);
                    x += t.TextWidth(text) + 200;
                }
                t.Line(300, y - 60, x, y - 60);
                y += 720;
            }
        }
    }
    t.EndDoc();
}

struct Word {
    QString text;
    double box[4];
};

std::vector<Word> wordsOf(const QString& pdf) {
    QProcess p;
    p.start(u"pdftotext"_s, {u"-bbox"_s, pdf, u"-"_s});
    EXPECT_TRUE(p.waitForFinished(30000));
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    const QRegularExpression word(
        uR"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"_s);
    std::vector<Word> out;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out.push_back({m.captured(5),
                       {m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                        m.captured(4).toDouble()}});
    }
    // pdftotext splits a word where the face changes with a different height (Qt's writer gives an
    // emboldened fallback face a font of its own): pieces of one line that touch are joined, the word
    // keeping the top and bottom of its first piece.
    // The scene's lines start 20 points down, 36 points apart.
    const auto line = [](const Word& w) { return std::lround((w.box[1] - 20) / 36); };
    std::sort(out.begin(), out.end(), [&](const Word& a, const Word& b) {
        return line(a) != line(b) ? line(a) < line(b) : a.box[0] < b.box[0];
    });
    std::vector<Word> joined;
    for (const Word& w : out) {
        if (!joined.empty() && line(joined.back()) == line(w) &&
            std::abs(joined.back().box[2] - w.box[0]) < 0.01) {
            joined.back().text += w.text;
            joined.back().box[2] = w.box[2];
        } else {
            joined.push_back(w);
        }
    }
    return joined;
}

}  // namespace

TEST(PdfAgreesWithQt, TheSameWordsStandInTheSamePlaces) {
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty()) GTEST_SKIP() << "pdftotext missing";
    QTemporaryDir dir;
    const QString qtFile = dir.filePath(u"qt.pdf"_s);
    PdfSpoolPrinter printer(dir.filePath(u"spool"_s));
    printer.setMarginMm(0);  // positions measured from the paper's corner
    PageRecorder recorder(printer.sheet());
    drawScene(recorder);
    const Page page = recorder.takePage();
    {
        QPdfWriter writer(qtFile);
        writer.setResolution(1440);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        QPainter painter(&writer);
        paint(page, painter);
    }
    printer.printPage(page);
    printer.endDoc();
    ASSERT_EQ(printer.writtenFiles().size(), 1);

    const auto ours = wordsOf(printer.writtenFiles()[0]);
    const auto theirs = wordsOf(qtFile);
    // Every text in 12 font settings is a word.
    ASSERT_EQ(ours.size(), 12u * 10u);
    ASSERT_EQ(ours.size(), theirs.size());
    for (size_t i = 0; i < ours.size(); ++i) {
        EXPECT_EQ(ours[i].text, theirs[i].text) << i;
        for (int k = 0; k < 4; ++k) {
            EXPECT_NEAR(ours[i].box[k], theirs[i].box[k], 0.01) << ours[i].text.toStdString() << " " << k;
        }
    }
}
