// The workbook package as our code writes it: each cell's XML (escaping as the library the workbook was
// written with before did it), the used range, the sheet's limits, cells of a row out of order, and the
// zip read back by our own reader, by unzip and by Python (zipfile, and openpyxl where it is installed),
// zip64 records included.
#include <gtest/gtest.h>
#include <zlib.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <climits>
#include <stdexcept>

#include "basic/error.h"
#include "export/deflate_spool.h"
#include "export/sheet_writer.h"
#include "export/sheet_xml.h"
#include "export/zip_check.h"
#include "export/zip_writer.h"
#include "xlsx_reader.h"

using namespace Qt::StringLiterals;
using slp::sheet::ByteBuffer;
using slp::sheet::SheetWriter;

namespace {

QByteArray bytesOf(const ByteBuffer& b) {
    return QByteArray(b.data(), qsizetype(b.size()));
}

QByteArray cellXml(int row, int col, const QString& text) {
    ByteBuffer b;
    slp::sheet::appendTextCell(b, row, col, text);
    return bytesOf(b);
}

// Runs Python on `script` with `args`; its exit code (-1 when it did not run) and output.
int runPython(const QString& python, const QString& script, const QStringList& args,
              QByteArray* out = nullptr) {
    QProcess p;
    p.start(python, QStringList{u"-c"_s, script} + args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) return -1;
    if (out) *out = p.readAllStandardOutput() + p.readAllStandardError();
    return p.exitCode();
}

TEST(SheetXml, TextsAreEscapedAsTheLibraryDidIt) {
    const struct {
        QString text;
        const char* inner;  // what lies between <c r="A1" t="inlineStr"><is> and </is></c>
    } cases[] = {
        {u"工资"_s, "<t>工资</t>"},
        {u"<a&b>\"'"_s, "<t>&lt;a&amp;b&gt;\"'</t>"},
        {u"a\u0001b"_s, "<t>a_x0001_b</t>"},
        {u"\u001f"_s, "<t>_x001F_</t>"},
        {u"a\rb"_s, "<t>a_x000D_b</t>"},
        {u"\u000b"_s, "<t>_x000B_</t>"},  // escaped first, so no space to keep
        {u"甲\t乙"_s, "<t>甲\t乙</t>"},
        {u"x\n"_s, "<t xml:space=\"preserve\">x\n</t>"},
        {u"  前后有空格  "_s, "<t xml:space=\"preserve\">  前后有空格  </t>"},
        {u"\tx"_s, "<t xml:space=\"preserve\">\tx</t>"},
        {u"\u3000全角"_s, "<t>\u3000全角</t>"},  // a full-width space is no XML blank
        {u"_x0041_"_s, "<t>_x0041_</t>"},
        {u"x\u007f"_s, "<t>x\u007f</t>"},
        {u"𠀋字"_s, "<t>𠀋字</t>"},
        {QString(QChar(0xD800)) + u"z"_s, "<t>?z</t>"},  // a lone surrogate, as QString::toUtf8 has it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(cellXml(0, 0, c.text),
                  "<c r=\"A1\" t=\"inlineStr\"><is>" + QByteArray(c.inner) + "</is></c>");
    }
}

TEST(SheetXml, ReferencesAndUsedRanges) {
    const struct {
        int row, col;
        const char* ref;
    } refs[] = {{0, 0, "A1"},
                {0, 25, "Z1"},
                {0, 26, "AA1"},
                {31, 28, "AC32"},
                {0, 701, "ZZ1"},
                {0, 702, "AAA1"},
                {1048575, 16383, "XFD1048576"}};
    for (const auto& r : refs) EXPECT_EQ(slp::sheet::cellReference(r.row, r.col), r.ref) << r.ref;
    EXPECT_EQ(slp::sheet::dimensionReference(INT_MAX, INT_MAX, -1, -1), "A1");  // nothing written
    EXPECT_EQ(slp::sheet::dimensionReference(1, 1, 1, 1), "B2");
    EXPECT_EQ(slp::sheet::dimensionReference(0, 0, 31, 28), "A1:AC32");
    EXPECT_EQ(slp::sheet::characterCount(u"a𠀋b"_s), 3);
    EXPECT_EQ(slp::sheet::cellText(QStringView(u"ab\0cd", 5)), u"ab"_s);
}

class SheetPackage : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
    QTemporaryDir dir;
};

TEST_F(SheetPackage, OddTextsReadBackAsTheyWereGiven) {
    const QStringList texts = {u"&<>\"'"_s,     u" 前导空格"_s, u"末尾空格 "_s, u"欧阳明华"_s,
                               u"甲\t乙\n丙"_s, u"𠀋"_s,        u"1200.00"_s};
    {
        SheetWriter sheet(path(u"odd.xlsx"_s));
        for (int c = 0; c < texts.size(); ++c) sheet.write(0, c, texts[c]);
        sheet.write(1, 0, QString());                   // blank
        sheet.write(1, 1, QString(QChar(0)) + u"x"_s);  // nothing before its NUL: blank
        sheet.write(2, 0, u"ab"_s + QChar(0) + u"cd"_s);
        sheet.finish();
    }
    const auto cells = slp::test::readSheetCells(path(u"odd.xlsx"_s));
    for (int c = 0; c < texts.size(); ++c) {
        EXPECT_EQ(cells.value(QString::fromLatin1(slp::sheet::cellReference(0, c))).text, texts[c]) << c;
    }
    EXPECT_FALSE(cells.contains(u"A2"_s));
    EXPECT_FALSE(cells.contains(u"B2"_s));
    EXPECT_EQ(cells.value(u"A3"_s).text, u"ab"_s);
    EXPECT_EQ(cells.size(), texts.size() + 1);
    const QByteArray sheet = slp::test::packagePart(path(u"odd.xlsx"_s), u"xl/worksheets/sheet1.xml"_s);
    EXPECT_TRUE(sheet.contains("<dimension ref=\"A1:G3\"/>")) << sheet.left(400).constData();
}

TEST_F(SheetPackage, CellsOfARowInAnyOrderTheLastTextOfACellWins) {
    {
        SheetWriter sheet(path(u"o.xlsx"_s));
        sheet.write(3, 5, u"F"_s);
        sheet.write(3, 1, u"B"_s);
        sheet.write(3, 5, u"F again"_s);
        sheet.write(3, 2, u"C"_s);
        sheet.write(4, 0, u"A"_s);
        sheet.finish();
    }
    const QByteArray sheet = slp::test::packagePart(path(u"o.xlsx"_s), u"xl/worksheets/sheet1.xml"_s);
    EXPECT_TRUE(sheet.contains("<dimension ref=\"A4:F5\"/>"));
    EXPECT_TRUE(sheet.contains("<sheetData><row r=\"4\">" + cellXml(3, 1, u"B"_s) + cellXml(3, 2, u"C"_s) +
                               cellXml(3, 5, u"F again"_s) + "</row><row r=\"5\">" + cellXml(4, 0, u"A"_s) +
                               "</row></sheetData>"))
        << sheet.constData();
}

TEST_F(SheetPackage, AnEmptySheetIsStillAWorkbook) {
    {
        SheetWriter sheet(path(u"e.xlsx"_s));
        sheet.finish();
    }
    EXPECT_EQ(slp::sheet::incompletePart(path(u"e.xlsx"_s)), QString());
    const QByteArray sheet = slp::test::packagePart(path(u"e.xlsx"_s), u"xl/worksheets/sheet1.xml"_s);
    EXPECT_TRUE(sheet.contains("<dimension ref=\"A1\"/>"));
    EXPECT_TRUE(sheet.contains("<sheetData/><pageMargins"));
}

TEST_F(SheetPackage, TheSheetsLimitsRefuseACellAndLeaveNothing) {
    const QString outOfRange = u"Worksheet row or column index out of range."_s;
    const QString tooLong = u"String exceeds Excel's limit of 32,767 characters."_s;
    QString pairs;
    for (int i = 0; i < 32767; ++i) pairs += u"𠀋"_s;  // 65,534 UTF-16 units, 32,767 characters
    const struct {
        int row, col;
        QString text;
        QString refused;  // empty: taken
        const char* cell;
    } cases[] = {
        {1048575, 16383, u"x"_s, {}, ""},
        {1048576, 0, u"x"_s, outOfRange, "A1048577"},
        {0, 16384, u"x"_s, outOfRange, "XFE1"},
        {0, 0, QString(32767, u'字'), {}, ""},
        {0, 0, QString(32768, u'字'), tooLong, "A1"},
        {0, 0, pairs, {}, ""},
        {0, 0, pairs + u"x"_s, tooLong, "A1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.row) + "," + std::to_string(c.col));
        try {
            SheetWriter sheet(path(u"l.xlsx"_s));
            sheet.write(c.row, c.col, c.text);
            EXPECT_TRUE(c.refused.isEmpty()) << "taken";
        } catch (const slp::Error& e) {
            EXPECT_EQ(e.number(), 5);
            EXPECT_FALSE(c.refused.isEmpty()) << e.description().toStdString();
            EXPECT_TRUE(
                e.description().endsWith(u"单元格 "_s + QString::fromLatin1(c.cell) + u' ' + c.refused))
                << e.description().toStdString();
        }
        EXPECT_TRUE(files().isEmpty()) << files().join(u' ').toStdString();  // unfinished: nothing left
    }
    // Rows come in order: one before the row under way is refused.
    SheetWriter sheet(path(u"b.xlsx"_s));
    sheet.write(5, 0, u"x"_s);
    EXPECT_THROW(sheet.write(4, 0, u"y"_s), slp::Error);
}

// Inflates a raw deflate stream whole; empty when it is not one that ends.
QByteArray inflateRaw(const QByteArray& packed, qsizetype size) {
    QByteArray out(size + 1, Qt::Uninitialized);
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return {};
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    z.avail_in = uInt(packed.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int rc = inflate(&z, Z_FINISH);
    out.truncate(qsizetype(z.total_out));
    inflateEnd(&z);
    return rc == Z_STREAM_END ? out : QByteArray();
}

// Whatever pieces the rows come in (none, empty ones, many), the spool gives back one stream of them.
TEST(DeflateSpool, PiecesComeBackAsOneStreamWithTheirSizeAndCrc) {
    const QList<QList<int>> cases = {{}, {0}, {1}, {100, 0, 7}, {300000, 300000, 5, 300000}};
    for (const QList<int>& pieces : cases) {
        SCOPED_TRACE(pieces.size());
        slp::sheet::DeflateSpool spool(QDir::tempPath());
        QByteArray all;
        for (const int n : pieces) {
            ByteBuffer piece;
            for (int i = 0; i < n; ++i) {
                if (i % 97 == 0) {
                    piece.append("<row>");
                } else {
                    piece.append("x");
                }
            }
            all += bytesOf(piece);
            spool.add(piece);
            EXPECT_TRUE(piece.empty());
        }
        spool.finish();
        QByteArray packed;
        spool.copyTo([&](QByteArrayView b) { packed += b; });
        EXPECT_EQ(spool.size(), quint64(all.size()));
        EXPECT_EQ(spool.packed(), quint64(packed.size()));
        EXPECT_EQ(spool.crc(),
                  quint32(crc32(0, reinterpret_cast<const Bytef*>(all.data()), uInt(all.size()))));
        EXPECT_TRUE(inflateRaw(packed, all.size()) == all);
    }
}

// A package with every kind of record, zip64 ones when forced, read back by each reader there is.
TEST_F(SheetPackage, ThePackageReadsBackInEveryReaderZip64Too) {
    const QByteArray head = "<b>" + QByteArray(5000, 'x');
    const QByteArray rest = QByteArray(3000, 'y') + "</b>";
    const QByteArray whole = head + rest;
    // Two raw deflate streams, the first left open, inflate as one part.
    const QByteArray packed = slp::sheet::deflateOpening(head) + slp::sheet::deflateWhole(rest);
    const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef*>(whole.data()), uInt(whole.size())));
    for (const bool zip64 : {false, true}) {
        SCOPED_TRACE(zip64 ? "zip64" : "zip");
        const QString file = path(zip64 ? u"z64.zip"_s : u"z.zip"_s);
        QByteArray bytes;
        slp::sheet::ZipWriter zip([&](QByteArrayView b) { bytes += b; }, zip64);
        zip.addPart("a.xml", "<a>甲乙</a>");
        zip.addDeflatedPart("b.xml", crc, quint64(whole.size()), quint64(packed.size()),
                            [&](const slp::sheet::ByteSink& sink) { sink(packed); });
        EXPECT_THROW(zip.addDeflatedPart("c.xml", crc, quint64(whole.size()), quint64(packed.size()),
                                         [&](const slp::sheet::ByteSink& sink) { sink(packed.chopped(1)); }),
                     std::logic_error);
        zip.finish();
        EXPECT_EQ(bytes.contains("PK\x06\x06"), zip64);
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        out.close();

        EXPECT_EQ(slp::sheet::incompletePart(file), QString());
        EXPECT_TRUE(slp::test::packageIsSound(file));
        EXPECT_EQ(slp::test::packagePart(file, u"b.xml"_s), whole);
        QByteArray said;
        EXPECT_EQ(runPython(u"python3"_s,
                            u"import sys, zipfile\n"
                            "z = zipfile.ZipFile(sys.argv[1])\n"
                            "assert z.testzip() is None\n"
                            "print(len(z.read('b.xml')), z.read('a.xml').decode())\n"_s,
                            {file}, &said),
                  0)
            << said.constData();
        EXPECT_EQ(said.trimmed(), "8007 <a>甲乙</a>");

        // A CRC that does not match what inflates is found.
        QByteArray wrong = bytes;
        const qsizetype at = wrong.indexOf("PK\x01\x02", 0) + 16;  // the first part's CRC in the directory
        wrong[at] = char(wrong[at] ^ 1);
        QFile bad(path(u"bad.zip"_s));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly) && bad.write(wrong) == wrong.size());
        bad.close();
        EXPECT_EQ(slp::sheet::incompletePart(path(u"bad.zip"_s)), u"a.xml 不完整"_s);
    }
}

// The workbook as openpyxl (the yardstick's library) loads it, where Debian's Python has it.
TEST_F(SheetPackage, OpenpyxlLoadsTheWorkbook) {
    const QString python = u"/usr/bin/python3"_s;
    if (runPython(python, u"import openpyxl"_s, {}) != 0)
        GTEST_SKIP() << "no openpyxl in " << python.toStdString();
    const QStringList texts = {u"序号"_s, u"<a&b>"_s, u" 空格 "_s, u"甲\t乙"_s, u"𠀋"_s};
    {
        SheetWriter sheet(path(u"p.xlsx"_s));
        for (int c = 0; c < texts.size(); ++c) sheet.write(2, c, texts[c]);
        sheet.finish();
    }
    QByteArray said;
    ASSERT_EQ(runPython(python,
                        u"import sys, json, openpyxl\n"
                        "wb = openpyxl.load_workbook(sys.argv[1])\n"
                        "ws = wb.active\n"
                        "print(json.dumps([ws.dimensions, wb.properties.title] +\n"
                        "                 [ws.cell(3, c).value for c in range(1, 6)]))\n"_s,
                        {path(u"p.xlsx"_s)}, &said),
              0)
        << said.constData();
    EXPECT_EQ(QString::fromUtf8(said.trimmed()),
              u"[\"A3:E3\", \"\\u6714\\u5c9a\\u8f6f\\u4ef6\", \"\\u5e8f\\u53f7\", \"<a&b>\", "
              "\" \\u7a7a\\u683c \", \"\\u7532\\t\\u4e59\", \"\\ud840\\udc0b\"]"_s);
}

}  // namespace
