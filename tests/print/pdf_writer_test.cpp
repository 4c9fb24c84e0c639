// The PDF writer of the spool printer: font subsets that keep the glyphs' outlines and renumber
// composite glyphs, strings of glyph numbers that need escaping, character maps long enough to need
// several blocks, emboldened faces, number formatting and files that cannot be written.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainterPath>
#include <QProcess>
#include <QRawFont>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <limits>

#include "basic/error.h"
#include "print/pdf/pdf_document.h"
#include "print/pdf/pdf_output.h"
#include "print/pdf/truetype_face.h"
#include "print/pdf_spool_printer.h"
#include "print/print_target.h"
#include "print/printer.h"

using namespace Qt::StringLiterals;
using namespace slp::print;
using namespace slp::print::pdf;

namespace {

quint16 u16(const QByteArray& d, qsizetype at) {
    return quint16((quint8(d[at]) << 8) | quint8(d[at + 1]));
}
quint32 u32(const QByteArray& d, qsizetype at) {
    return (quint32(u16(d, at)) << 16) | u16(d, at + 2);
}
void put16(QByteArray& d, quint16 v) {
    d.append(char(v >> 8));
    d.append(char(v));
}

// A table of a font program by its tag.
QByteArray tableOf(const QByteArray& font, const char* tag) {
    const int count = u16(font, 4);
    for (int i = 0; i < count; ++i) {
        const qsizetype record = 12 + i * 16;
        if (font.mid(record, 4) == QByteArray(tag, 4))
            return font.mid(u32(font, record + 8), u32(font, record + 12));
    }
    return {};
}

// A face of four glyphs: 0 empty, 1 and 2 simple outlines (only their header matters here), 3 a composite
// of glyph 2 and glyph 1. Advances 500, 600, 700, 800 with two long metrics, the rest left side bearings.
std::shared_ptr<const TrueTypeFace> smallFace() {
    QByteArray head(54, '\0');
    head[18] = char(0x03);  // 1000 units an em
    head[19] = char(0xE8);
    QByteArray hhea(36, '\0');
    hhea[35] = 4;  // four long metrics
    QByteArray maxp(32, '\0');
    maxp[0] = 0, maxp[1] = 1;
    maxp[5] = 4;  // four glyphs
    QByteArray hmtx;
    for (const quint16 advance : {500, 600, 700, 800}) {
        put16(hmtx, advance);
        put16(hmtx, 10);
    }
    QByteArray simple1(12, '\0'), simple2(16, '\0');
    simple1[1] = 1, simple2[1] = 1;  // one contour
    simple2[15] = 0x22;
    QByteArray composite;
    put16(composite, 0xFFFF);  // -1 contours
    composite += QByteArray(8, '\0');
    put16(composite, 0x0001 | 0x0020 | 0x0008);  // word arguments, more components, a scale
    put16(composite, 2);
    composite += QByteArray(4 + 2, '\x01');
    put16(composite, 0x0000);  // byte arguments, last
    put16(composite, 1);
    composite += QByteArray(2, '\x02');
    QByteArray glyf;
    QByteArray loca;
    put16(loca, 0);
    for (const QByteArray& g : {QByteArray(), simple1, simple2, composite}) {
        glyf += g;
        if (glyf.size() % 2) glyf.append('\0');
        put16(loca, quint16(glyf.size() / 2));
    }
    return TrueTypeFace::fromTables(head, hhea, maxp, hmtx, loca, glyf);
}

quint32 checksum(const QByteArray& d) {
    quint32 sum = 0;
    for (qsizetype i = 0; i + 3 < d.size(); i += 4) sum += u32(d, i);
    return sum;
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(30000));
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool havePoppler() {
    return !QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty() &&
           !QStandardPaths::findExecutable(u"pdftoppm"_s).isEmpty();
}

}  // namespace

TEST(PdfFontSubset, CompositeGlyphsAreRenumberedAndTheirPartsAppended) {
    const auto face = smallFace();
    ASSERT_TRUE(face->embeddable());
    EXPECT_EQ(face->advance(3), 800);
    EXPECT_EQ(face->advance(9), 0);

    std::vector<quint32> glyphs{0, 3};
    const QByteArray font = face->subset(glyphs);
    // The composite's parts follow in the order it names them.
    EXPECT_EQ(glyphs, (std::vector<quint32>{0, 3, 2, 1}));
    EXPECT_EQ(u16(tableOf(font, "maxp"), 4), 4);
    EXPECT_EQ(u16(tableOf(font, "hhea"), 34), 4);
    EXPECT_EQ(u16(tableOf(font, "head"), 50), 1);  // long offsets
    const QByteArray hmtx = tableOf(font, "hmtx");
    ASSERT_EQ(hmtx.size(), 16);
    EXPECT_EQ(u16(hmtx, 4), 800);
    EXPECT_EQ(u16(hmtx, 8), 700);
    EXPECT_EQ(u16(hmtx, 12), 600);

    const QByteArray loca = tableOf(font, "loca");
    const QByteArray glyf = tableOf(font, "glyf");
    ASSERT_EQ(loca.size(), 5 * 4);
    EXPECT_EQ(u32(loca, 0), 0u);  // glyph 0 has no outline
    EXPECT_EQ(u32(loca, 4), 0u);
    const QByteArray composite = glyf.mid(u32(loca, 4), u32(loca, 8) - u32(loca, 4));
    ASSERT_GE(composite.size(), 24);
    EXPECT_EQ(u16(composite, 12), 2);                  // glyph 2 is the subset's glyph 2
    EXPECT_EQ(u16(composite, 12 + 2 + 4 + 2 + 2), 3);  // glyph 1 became glyph 3
    const QByteArray second = glyf.mid(u32(loca, 8), u32(loca, 12) - u32(loca, 8));
    EXPECT_EQ(second.left(16), QByteArray::fromHex("00010000000000000000000000000022"));
    EXPECT_EQ(u32(loca, 16), quint32(glyf.size()));
    // The whole file adds up to the number the checksum adjustment aims at.
    EXPECT_EQ(checksum(font), 0xB1B0AFBAu);

    // A list without glyph 0 gets it in front.
    std::vector<quint32> without{1};
    face->subset(without);
    EXPECT_EQ(without, (std::vector<quint32>{0, 1}));
}

TEST(PdfFontSubset, ARealFacesSubsetDrawsTheSameOutlines) {
    QFont font(u"AR PL UMing CN"_s);
    font.setPixelSize(1000);
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid() || !raw.familyName().contains(u"UMing"_s)) GTEST_SKIP() << "AR PL UMing missing";
    const auto face = TrueTypeFace::of(raw);
    ASSERT_TRUE(face->embeddable());
    EXPECT_EQ(TrueTypeFace::of(raw), face);  // kept for the process

    const QString text = u"实发工资合计0.5-9【】"_s;
    QList<quint32> indexes = raw.glyphIndexesForString(text);
    std::vector<quint32> glyphs{0};
    glyphs.insert(glyphs.end(), indexes.begin(), indexes.end());
    const std::vector<quint32> asked = glyphs;
    const QByteArray program = face->subset(glyphs);
    ASSERT_FALSE(program.isEmpty());
    EXPECT_LT(program.size(), 64 * 1024);
    const QRawFont subset(program, 1000);
    ASSERT_TRUE(subset.isValid());
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(indexes);
    for (size_t i = 1; i < asked.size(); ++i) {
        const QPainterPath original = raw.pathForGlyph(asked[i]);
        const QPainterPath copy = subset.pathForGlyph(quint32(i));
        EXPECT_EQ(copy.elementCount(), original.elementCount()) << text.toStdString() << " glyph " << i;
        EXPECT_EQ(copy.boundingRect(), original.boundingRect());
        EXPECT_NEAR(face->advance(asked[i]) * 1000.0 / face->unitsPerEm(), advances[qsizetype(i - 1)].x(),
                    0.5);
    }
}

TEST(PdfDocumentText, ManyGlyphsKeepTheirText) {
    if (!havePoppler()) GTEST_SKIP() << "poppler-utils missing";
    QTemporaryDir dir;
    PdfSpoolPrinter printer(dir.path());
    PrintTarget& t = printer.target();
    t.SetFontName(u"宋体"_s);
    t.SetFontSize(9);
    // 300 different ideographs: their numbers in the file run past the bytes a string escapes (the
    // brackets, the backslash and carriage return) and the map lists them in several blocks.
    QString all;
    for (int line = 0; line < 15; ++line) {
        QString text;
        for (int i = 0; i < 20; ++i) text += QChar(char16_t(0x4E00 + line * 20 + i));
        t.SetCurrentX(300);
        t.SetCurrentY(600 + line * 400);
        t.Print(text);
        all += text + u'\n';
    }
    t.EndDoc();
    ASSERT_EQ(printer.writtenFiles().size(), 1);
    const QString text = run(u"pdftotext"_s, {printer.writtenFiles()[0], u"-"_s});
    EXPECT_EQ(text.trimmed().remove(u'\f'), all.trimmed());
    const QString fonts = run(u"pdffonts"_s, {printer.writtenFiles()[0]});
    EXPECT_TRUE(fonts.contains(u"ARPLUMingCN"_s) && fonts.contains(u"CID TrueType"_s)) << fonts.toStdString();
}

TEST(PdfDocumentText, BoldWithoutABoldFaceIsEmboldened) {
    if (!havePoppler()) GTEST_SKIP() << "poppler-utils missing";
    QTemporaryDir dir;
    PdfSpoolPrinter printer(dir.path());
    PrintTarget& t = printer.target();
    t.SetFontName(u"宋体"_s);
    t.SetFontSize(12);
    for (const bool bold : {false, true}) {
        t.SetFontBold(bold);
        t.SetCurrentX(300);
        t.SetCurrentY(600);
        t.Print(u"应发工资实发工资"_s);
        t.EndDoc();
    }
    ASSERT_EQ(printer.writtenFiles().size(), 2);
    auto ink = [&](const QString& pdf) {
        const QString base = dir.filePath(u"page"_s);
        run(u"pdftoppm"_s, {u"-r"_s, u"150"_s, u"-gray"_s, u"-singlefile"_s, u"-png"_s, pdf, base});
        const QImage image(base + u".png"_s);
        long dark = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 128;
        }
        return dark;
    };
    const long regular = ink(printer.writtenFiles()[0]);
    const long bold = ink(printer.writtenFiles()[1]);
    EXPECT_GT(regular, 500);
    EXPECT_GT(bold, regular * 12 / 10);
    // The text stays the same.
    EXPECT_EQ(run(u"pdftotext"_s, {printer.writtenFiles()[1], u"-"_s}).trimmed().remove(u'\f'),
              u"应发工资实发工资"_s);
}

TEST(PdfOutputNumbers, TwoDecimalsAtMostAndNoNegativeZero) {
    const std::pair<double, const char*> cases[] = {
        {0, "0"},         {12, "12"},    {-3.5, "-3.5"},    {0.25, "0.25"},
        {0.004, "0"},     {-0.004, "0"}, {-0.006, "-0.01"}, {1234.567, "1234.57"},
        {16838, "16838"}, {0.1, "0.1"},  {99.995, "100"},   {-1e9, "-1000000000"}};
    for (const auto& [value, expected] : cases) {
        std::string out;
        appendNumber(out, value);
        EXPECT_EQ(out, expected) << value;
    }
}

TEST(PdfOutputFile, ANumberOffAnyPageIsRefusedAndNothingIsLeft) {
    const double wrong[] = {std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN(),
                            1e30,
                            -1e20,
                            kMaxNumber * 1.5};
    for (const double value : wrong) {
        std::string out;
        EXPECT_THROW(appendNumber(out, value), slp::Error) << value;
        EXPECT_EQ(out, "") << value;
    }
    std::string edge;
    appendNumber(edge, -kMaxNumber);
    EXPECT_EQ(edge, "-10000000000");

    // A line drawn that far: the document is refused and its temporary file goes.
    QTemporaryDir dir;
    {
        PdfDocument document(dir.filePath(u"far.pdf"_s), u"t"_s, u"c"_s);
        const QLineF line(0, 0, 1e30, 0);
        EXPECT_THROW(document.strokeLines(1, &line, 1), slp::Error);
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

TEST(PdfOutputFile, AFileThatCannotBeWrittenIsAPrinterError) {
    QTemporaryDir dir;
    try {
        PdfDocument document(dir.filePath(u"missing/folder/job.pdf"_s), u"t"_s, u"c"_s);
        FAIL() << "no error";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), printerError);
        EXPECT_TRUE(e.description().contains(u"job.pdf"_s));
    }
    // A document ended without a page still has one, so the file opens.
    const QString path = dir.filePath(u"empty.pdf"_s);
    {
        PdfDocument document(path, u"t"_s, u"c"_s);
        document.finish();
        document.file().commit();
    }
    if (havePoppler()) {
        EXPECT_TRUE(run(u"pdfinfo"_s, {path}).contains(u"Pages:           1"_s));
    }

    // Text without a face to draw it with is an error, not a blank page.
    PdfDocument document(dir.filePath(u"faceless.pdf"_s), u"t"_s, u"c"_s);
    const quint32 glyph = 1;
    const QPointF origin(100, 100);
    const char32_t character = U'工';
    try {
        document.showGlyphs(QRawFont(), false, &glyph, &origin, &character, 1);
        FAIL() << "no error";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), printerError);
    }
}
