// The spreadsheet export read back from the workbook it writes: where each grid cell lands, that texts
// stay texts, the document properties, the file appearing whole, and what the clerk is told.
#include "export/spreadsheet_export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "basic/clock.h"
#include "basic/error.h"
#include "basic/scripted_prompts.h"
#include "data/wage_grid.h"
#include "export/sheet_writer.h"
#include "xlsx_reader.h"

using namespace Qt::StringLiterals;
using slp::data::WageGrid;
using slp::sheet::ExportGridToSpreadsheet;
using slp::sheet::SpreadsheetOptions;
using slp::sheet::WriteGridWorkbook;
using slp::test::readSheetCells;

namespace {

// "A", "B", ... "Z", "AA", ... for a 0-based column.
QString columnLetters(int col) {
    QString s;
    for (++col; col > 0; col = (col - 1) / 26) s.prepend(QChar(u'A' + char16_t((col - 1) % 26)));
    return s;
}
QString ref(int row, int col) {
    return columnLetters(col) + QString::number(row + 1);
}

// A small wage table as a window shows it: caption row, employees, the totals row.
WageGrid wageTable() {
    WageGrid g(5, 4);
    const QStringList rows[] = {
        {u"序号"_s, u"姓名"_s, u"基本工资"_s, u"实发工资"_s},
        {u"1"_s, u"李娜"_s, u"1200.00"_s, u"0980.5"_s},
        {u"2"_s, u"王 芳"_s, u""_s, u"1.10"_s},
        {u"3"_s, u"欧阳明华"_s, u"0.00"_s, u"-12.30"_s},
        {u"合计"_s, u"共3人"_s, u"1200.00"_s, u"969.30"_s},
    };
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 4; ++c) g.setText(r, c, rows[r][c]);
    }
    return g;
}

class SpreadsheetExport : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList filesInDir() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
    slp::ScriptedPrompts prompts;
    slp::FixedClock clock{QDateTime(QDate(2000, 4, 25), QTime(9, 30, 5))};
};

TEST_F(SpreadsheetExport, EveryCellLandsOneRowAndOneColumnFurtherOnAsText) {
    const WageGrid grid = wageTable();
    WriteGridWorkbook(grid, path(u"t.xlsx"_s));
    const auto cells = readSheetCells(path(u"t.xlsx"_s));
    int nonEmpty = 0;
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            SCOPED_TRACE(ref(r, c).toStdString());
            if (grid.text(r, c).isEmpty()) {
                EXPECT_FALSE(cells.contains(ref(r, c)));
                continue;
            }
            ++nonEmpty;
            ASSERT_TRUE(cells.contains(ref(r, c)));
            // Formatted numbers keep their zeros: every cell is a string (inline), never a number.
            EXPECT_EQ(cells[ref(r, c)].type, u"inlineStr"_s);
            EXPECT_EQ(cells[ref(r, c)].text, grid.text(r, c));
        }
    }
    EXPECT_EQ(cells.size(), nonEmpty);
    EXPECT_EQ(cells[u"A5"_s].text, u"合计"_s);  // the totals row is the sheet's fifth row
    EXPECT_EQ(cells[u"D2"_s].text, u"0980.5"_s);
    EXPECT_EQ(cells[u"B3"_s].text, u"王 芳"_s);
}

// Amount columns go over as numbers in their item's format, so the clerk's SUM adds them up; 序号, names
// and the caption row stay texts as shown, and a text in an amount column (an empty cell, "共3人") too.
TEST_F(SpreadsheetExport, AmountColumnsAreNumbersInTheirFormatAndTextsStayTexts) {
    WageGrid grid = wageTable();
    grid.setFixedRows(1);
    grid.setText(2, 0, u"0002"_s);
    grid.setAmountFormat(2, u"0.00"_s);
    grid.setAmountFormat(3, u"0.0"_s);
    grid.setAmountFormat(1, u"0"_s);  // 姓名 marked an amount: its names are no numbers, so texts
    WriteGridWorkbook(grid, path(u"n.xlsx"_s));
    const auto cells = readSheetCells(path(u"n.xlsx"_s));
    const struct {
        const char16_t* ref;
        const char16_t* type;
        const char16_t* text;
        const char16_t* style;
    } expected[] = {
        {u"C1", u"inlineStr", u"基本工资", u""},  // captions stay texts
        {u"A3", u"inlineStr", u"0002", u""},      // leading zeros kept in a text column
        {u"B2", u"inlineStr", u"李娜", u""},     {u"C2", u"", u"1200.00", u"2"},  // "0.00"
        {u"D2", u"", u"0980.5", u"3"},                                            // "0.0"
        {u"D4", u"", u"-12.30", u"3"},           {u"C5", u"", u"1200.00", u"2"},  // the totals row too
        {u"B5", u"inlineStr", u"共3人", u""},
    };
    for (const auto& e : expected) {
        const QString r = QString::fromUtf16(e.ref);
        SCOPED_TRACE(r.toStdString());
        ASSERT_TRUE(cells.contains(r));
        EXPECT_EQ(cells[r].type, QString::fromUtf16(e.type));
        EXPECT_EQ(cells[r].text, QString::fromUtf16(e.text));
        EXPECT_EQ(cells[r].style, QString::fromUtf16(e.style));
    }
    EXPECT_FALSE(cells.contains(u"C3"_s));  // an empty amount stays blank
    // The styles the cells name: General, "0", "0.00" and "0.0" of our own.
    const QByteArray styles = slp::test::packagePart(path(u"n.xlsx"_s), u"xl/styles.xml"_s);
    EXPECT_TRUE(styles.contains(R"(<numFmt numFmtId="164" formatCode="0.0"/>)")) << styles.constData();
    EXPECT_TRUE(styles.contains(R"(<cellXfs count="4">)")) << styles.constData();
    EXPECT_TRUE(slp::test::packageIsSound(path(u"n.xlsx"_s)));
}

TEST(NumberCells, OnlyPlainDecimalsAreWrittenAsNumbers) {
    const struct {
        const char16_t* text;
        bool number;
    } cases[] = {{u"1740.00", true}, {u"-0.5", true},   {u".5", true},   {u"12", true},
                 {u"", false},       {u"-", false},     {u"1e3", false}, {u" 12", false},
                 {u"1,200", false},  {u"1.2.3", false}, {u"+5", false},  {u"共3人", false},
                 {u"0x10", false},   {u"--1", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(slp::sheet::isNumberCellText(QString::fromUtf16(c.text)), c.number)
            << QString::fromUtf16(c.text).toStdString();
    }
    EXPECT_EQ(slp::sheet::numberStyleOf(u"0"), slp::sheet::NumberStyle::Integer);
    EXPECT_EQ(slp::sheet::numberStyleOf(u"0.0"), slp::sheet::NumberStyle::OneDecimal);
    EXPECT_EQ(slp::sheet::numberStyleOf(u"0.00"), slp::sheet::NumberStyle::TwoDecimals);
    EXPECT_EQ(slp::sheet::numberStyleOf(u""), slp::sheet::NumberStyle::General);
}

// Without a desktop entry for workbooks the desktop's opener would start and open nothing: the file's
// place is said instead.
TEST(WorkbookProgram, IsFoundByTheWorkbookTypeOfADesktopEntryOrTheCache) {
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    EXPECT_FALSE(slp::sheet::workbookProgramInstalled({dir.path()}));
    write(u"vim.desktop"_s, "[Desktop Entry]\nName=Vim\nMimeType=text/plain;text/x-c;\n");
    write(u"mimeinfo.cache"_s, "[MIME Cache]\ntext/plain=vim.desktop;\n");
    EXPECT_FALSE(slp::sheet::workbookProgramInstalled({dir.path()}));
    write(u"mimeinfo.cache"_s,
          "[MIME Cache]\napplication/vnd.openxmlformats-officedocument.spreadsheetml.sheet=calc.desktop;\n");
    EXPECT_TRUE(slp::sheet::workbookProgramInstalled({dir.path()}));
    write(u"mimeinfo.cache"_s, "");
    write(u"calc.desktop"_s,
          "[Desktop Entry]\nMimeType=application/vnd.ms-excel;"
          "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet;\n");
    EXPECT_TRUE(slp::sheet::workbookProgramInstalled({dir.path(), u"/nonexistent"_s}));
}

TEST_F(SpreadsheetExport, OneByOneGridGivesA1Only) {
    WageGrid grid(1, 1);
    grid.setText(0, 0, u"工资卡输出"_s);
    WriteGridWorkbook(grid, path(u"one.xlsx"_s));
    const auto cells = readSheetCells(path(u"one.xlsx"_s));
    ASSERT_EQ(cells.size(), 1);
    EXPECT_EQ(cells.firstKey(), u"A1"_s);
    EXPECT_EQ(cells.first().text, u"工资卡输出"_s);
    const QByteArray sheet = slp::test::packagePart(path(u"one.xlsx"_s), u"xl/worksheets/sheet1.xml"_s);
    EXPECT_TRUE(sheet.contains(R"(<dimension ref="A1"/>)")) << sheet.constData();
}

TEST_F(SpreadsheetExport, ColumnsBeyondZUseTwoLetters) {
    WageGrid grid(2, 30);
    for (int c = 0; c < 30; ++c) grid.setText(1, c, QString::number(c));
    WriteGridWorkbook(grid, path(u"wide.xlsx"_s));
    const auto cells = readSheetCells(path(u"wide.xlsx"_s));
    EXPECT_EQ(cells.size(), 30);
    EXPECT_EQ(cells.value(u"Z2"_s).text, u"25"_s);
    EXPECT_EQ(cells.value(u"AA2"_s).text, u"26"_s);
    EXPECT_EQ(cells.value(u"AD2"_s).text, u"29"_s);
}

TEST_F(SpreadsheetExport, MarkupCharactersAndBlanksSurviveUnchanged) {
    WageGrid grid(1, 4);
    grid.setText(0, 0, u"<a&b>\"'"_s);
    grid.setText(0, 1, u"  前后有空格  "_s);
    grid.setText(0, 2, u"甲\t乙"_s);
    grid.setText(0, 3, u"𠀋字"_s);  // beyond the basic plane
    WriteGridWorkbook(grid, path(u"m.xlsx"_s));
    const auto cells = readSheetCells(path(u"m.xlsx"_s));
    for (int c = 0; c < 4; ++c) EXPECT_EQ(cells.value(ref(0, c)).text, grid.text(0, c)) << c;
}

TEST_F(SpreadsheetExport, TitleAndCompanyNameTheMaker) {
    WriteGridWorkbook(wageTable(), path(u"p.xlsx"_s));
    const QByteArray core = slp::test::packagePart(path(u"p.xlsx"_s), u"docProps/core.xml"_s);
    const QByteArray app = slp::test::packagePart(path(u"p.xlsx"_s), u"docProps/app.xml"_s);
    EXPECT_EQ(slp::test::elementText(core, u"title"_s), u"朔岚软件"_s);
    EXPECT_EQ(slp::test::elementText(app, u"Company"_s), u"朔岚软件"_s);
}

TEST_F(SpreadsheetExport, ReplacesAnExistingFileAndLeavesNoTemporaryBehind) {
    QFile old(path(u"r.xlsx"_s));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();
    WriteGridWorkbook(wageTable(), path(u"r.xlsx"_s));
    EXPECT_TRUE(slp::test::packageIsSound(path(u"r.xlsx"_s)));
    EXPECT_EQ(filesInDir(), QStringList{u"r.xlsx"_s});
}

TEST_F(SpreadsheetExport, WriteFailuresAreErrorsAndLeaveNothing) {
    try {
        WriteGridWorkbook(wageTable(), path(u"missing/x.xlsx"_s));
        FAIL() << "no error for a missing folder";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), slp::errnum::PathNotFound);
        EXPECT_TRUE(e.description().contains(u"x.xlsx"_s)) << e.description().toStdString();
    }
    // A text longer than a sheet cell holds: refused, and the half-written workbook is gone.
    WageGrid grid(2, 2);
    grid.setText(0, 0, u"序号"_s);
    grid.setText(1, 1, QString(40000, u'字'));
    try {
        WriteGridWorkbook(grid, path(u"long.xlsx"_s));
        FAIL() << "no error for an over-long text";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), 5);
        EXPECT_TRUE(e.description().contains(u"B2"_s)) << e.description().toStdString();
    }
    EXPECT_TRUE(filesInDir().isEmpty()) << filesInDir().join(u' ').toStdString();

    ASSERT_TRUE(QDir(dir.path()).mkdir(u"folder.xlsx"_s));
    EXPECT_THROW(WriteGridWorkbook(wageTable(), path(u"folder.xlsx"_s)), slp::Error);
}

TEST_F(SpreadsheetExport, ExportOpensTheFinishedFileWithoutAWord) {
    QStringList opened;
    bool soundWhenOpened = false;
    SpreadsheetOptions options;
    options.folder = path(u"out"_s);  // made when missing
    options.baseName = u"工资卡"_s;
    options.clock = &clock;
    options.opener = [&](const QString& p) {
        opened << p;
        soundWhenOpened = slp::test::packageIsSound(p);
        return true;
    };
    const QString written = ExportGridToSpreadsheet(wageTable(), prompts, options);
    EXPECT_EQ(opened, QStringList{written});
    EXPECT_TRUE(soundWhenOpened);
    EXPECT_EQ(QFileInfo(written).fileName(), u"工资卡_20000425_093005.xlsx"_s);
    EXPECT_EQ(QFileInfo(written).absolutePath(), QFileInfo(path(u"out"_s)).absoluteFilePath());
    EXPECT_TRUE(prompts.asked.isEmpty());
    EXPECT_EQ(readSheetCells(written).value(u"B4"_s).text, u"欧阳明华"_s);

    // The same second again: a new name, the first file untouched.
    const QString second = ExportGridToSpreadsheet(wageTable(), prompts, options);
    EXPECT_EQ(QFileInfo(second).fileName(), u"工资卡_20000425_093005_2.xlsx"_s);
    EXPECT_TRUE(QFileInfo::exists(written));
}

TEST_F(SpreadsheetExport, WithoutASpreadsheetProgramTheClerkLearnsWhereTheFileIs) {
    SpreadsheetOptions options;
    options.folder = dir.path();
    options.clock = &clock;
    options.opener = [](const QString&) { return false; };
    const QString written = ExportGridToSpreadsheet(wageTable(), prompts, options);
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].kind, slp::ScriptedPrompts::Asked::Message);
    EXPECT_TRUE(prompts.asked[0].text.contains(QDir::toNativeSeparators(written)))
        << prompts.asked[0].text.toStdString();
    EXPECT_TRUE(slp::test::packageIsSound(written));
}

TEST_F(SpreadsheetExport, NothingIsOpenedWhenWritingFails) {
    bool opened = false;
    SpreadsheetOptions options;
    options.folder = dir.path();
    options.clock = &clock;
    options.opener = [&](const QString&) { return opened = true; };
    WageGrid grid(1, 1);
    grid.setText(0, 0, QString(40000, u'x'));
    EXPECT_THROW(ExportGridToSpreadsheet(grid, prompts, options), slp::Error);
    EXPECT_FALSE(opened);
    EXPECT_TRUE(prompts.asked.isEmpty());
}

}  // namespace

namespace {

// A grid of `rows` rows whose every cell names itself.
WageGrid namedCells(int rows, int cols) {
    WageGrid g(rows, cols);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c)
            g.setText(r, c, u"r"_s + QString::number(r) + u"c"_s + QString::number(c));
    }
    return g;
}

TEST_F(SpreadsheetExport, ProgressIsToldTheRowsWrittenAndTheSheetIsTheSame) {
    const WageGrid grid = namedCells(10000, 3);
    std::vector<std::pair<int, int>> told;
    EXPECT_TRUE(WriteGridWorkbook(grid, path(u"p.xlsx"_s), [&](int done, int total) {
        told.emplace_back(done, total);
        return true;
    }));
    // Every 4096 rows from the first, and the end.
    EXPECT_EQ(told,
              (std::vector<std::pair<int, int>>{{0, 10000}, {4096, 10000}, {8192, 10000}, {10000, 10000}}));
    const auto withProgress = readSheetCells(path(u"p.xlsx"_s));
    ASSERT_TRUE(WriteGridWorkbook(grid, path(u"q.xlsx"_s)));
    const auto without = readSheetCells(path(u"q.xlsx"_s));
    EXPECT_EQ(withProgress.size(), 30000);
    EXPECT_EQ(withProgress.value(u"C10000"_s).text, u"r9999c2"_s);
    EXPECT_TRUE(withProgress.keys() == without.keys());
}

TEST_F(SpreadsheetExport, StoppedByItsProgressNothingIsWrittenOpenedOrSaid) {
    const WageGrid grid = namedCells(10000, 2);
    for (const int stopAt : {4096, 10000}) {  // while writing rows, and at the end
        int calls = 0;
        EXPECT_FALSE(WriteGridWorkbook(grid, path(u"s.xlsx"_s), [&](int done, int) {
            ++calls;
            return done < stopAt;
        }));
        EXPECT_EQ(calls, stopAt == 4096 ? 2 : 4);
        EXPECT_TRUE(filesInDir().isEmpty()) << filesInDir().join(u' ').toStdString();
    }
    SpreadsheetOptions options;
    options.folder = path(u"out"_s);
    options.clock = &clock;
    bool opened = false;
    options.opener = [&](const QString&) { return opened = true; };
    options.progress = [](int, int) { return false; };
    EXPECT_TRUE(ExportGridToSpreadsheet(grid, prompts, options).isEmpty());
    EXPECT_FALSE(opened);
    EXPECT_TRUE(prompts.asked.isEmpty());
    EXPECT_TRUE(QDir(path(u"out"_s)).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

}  // namespace

namespace {

TEST_F(SpreadsheetExport, ASheetWrittenACellAtATimeAppearsOnlyWhenFinished) {
    {
        slp::sheet::SheetWriter sheet(path(u"w.xlsx"_s));
        sheet.write(0, 0, u"序号"_s);
        sheet.write(1, 2, u"12.50"_s);
        sheet.write(1, 1, QString());  // stays blank
        EXPECT_FALSE(QFileInfo::exists(path(u"w.xlsx"_s)));
        EXPECT_THROW(sheet.write(-1, 0, u"x"_s), slp::Error);
        sheet.finish();
    }
    const auto cells = readSheetCells(path(u"w.xlsx"_s));
    EXPECT_EQ(cells.size(), 2);
    EXPECT_EQ(cells.value(u"A1"_s).text, u"序号"_s);
    EXPECT_EQ(cells.value(u"C2"_s).text, u"12.50"_s);
    {
        slp::sheet::SheetWriter unfinished(path(u"u.xlsx"_s));
        unfinished.write(0, 0, u"x"_s);
    }
    EXPECT_EQ(filesInDir(), QStringList{u"w.xlsx"_s});
    EXPECT_THROW(slp::sheet::SheetWriter(path(u"missing/x.xlsx"_s)), slp::Error);
}

}  // namespace
