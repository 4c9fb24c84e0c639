// The printers: the PDF spool folder (one file per job, numbering on after existing files, nothing left
// of a dropped or failed job, paper sizes) and the system printers (error 484 without any).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <stdexcept>

#include "basic/error.h"
#include "print/page_layout.h"
#include "print/pdf_spool_printer.h"
#include "print/system_printer.h"
#include "print_fixture.h"
#include "qstring_print.h"

using namespace Qt::StringLiterals;
using namespace slp::print;

namespace {

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

void drawSomething(Printer& printer, const QString& text) {
    PrintTarget& t = printer.target();
    t.SetCurrentX(1440);
    t.SetCurrentY(1440);
    t.Print(text);
    t.Line(1440, 2000, 5000, 2000);
}

bool isPdf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-";
}

}  // namespace

TEST(PrintSpoolPrinter, EveryJobIsItsOwnNumberedFile) {
    QTemporaryDir dir;
    PdfSpoolPrinter printer(dir.path() + u"/spool"_s);
    EXPECT_EQ(printer.nextJobNumber(), 1);
    EXPECT_FALSE(printer.jobActive());
    drawSomething(printer, u"第一份"_s);
    EXPECT_TRUE(printer.jobActive());
    printer.endDoc();
    EXPECT_FALSE(printer.jobActive());
    drawSomething(printer, u"第二份"_s);
    printer.endDoc();
    EXPECT_EQ(filesIn(printer.folder()), (QStringList{u"job-0001.pdf"_s, u"job-0002.pdf"_s}));
    ASSERT_EQ(printer.writtenFiles().size(), 2);
    EXPECT_TRUE(isPdf(printer.writtenFiles()[0]));
    EXPECT_TRUE(printer.writtenFiles()[1].endsWith(u"job-0002.pdf"_s));
    // Ending again without drawing sends nothing.
    printer.endDoc();
    EXPECT_EQ(filesIn(printer.folder()).size(), 2);
}

TEST(PrintSpoolPrinter, NumberingGoesOnAfterExistingFiles) {
    QTemporaryDir dir;
    for (const QString& name :
         {u"job-0007.pdf"_s, u"job-abc.pdf"_s, u"myjob-0020.pdf"_s, u"job-0030.txt"_s}) {
        QFile f(QDir(dir.path()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    PdfSpoolPrinter printer(dir.path());
    EXPECT_EQ(printer.nextJobNumber(), 8);
    drawSomething(printer, u"x"_s);
    printer.endDoc();
    EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath(u"job-0008.pdf"_s)));
    // A second printer on the same folder continues the numbering too.
    PdfSpoolPrinter other(dir.path());
    EXPECT_EQ(other.nextJobNumber(), 9);
    EXPECT_EQ(PdfSpoolPrinter::jobFileName(12345), u"job-12345.pdf"_s);
}

TEST(PrintSpoolPrinter, DroppedJobLeavesNothing) {
    QTemporaryDir dir;
    {
        PdfSpoolPrinter printer(dir.path());
        drawSomething(printer, u"作废"_s);
        printer.abortDoc();
        EXPECT_FALSE(printer.jobActive());
        EXPECT_TRUE(filesIn(dir.path()).isEmpty());
        // A job still open when the printer goes away is dropped as well.
        drawSomething(printer, u"未完"_s);
    }
    EXPECT_TRUE(filesIn(dir.path()).isEmpty());
}

TEST(PrintSpoolPrinter, PaperSizesAndCodes) {
    QTemporaryDir dir;
    PdfSpoolPrinter printer(dir.path());
    EXPECT_FLOAT_EQ(printer.paperWidth(), 11906);
    EXPECT_FLOAT_EQ(printer.paperHeight(), 16838);
    // The printable area lies inside margins of 5 mm (283 twips) on every side.
    EXPECT_FLOAT_EQ(printer.printableWidth(), printer.paperWidth() - 566);
    EXPECT_EQ(printer.paperSizeCode(), 9);
    EXPECT_TRUE(printer.deviceName().contains(QDir::toNativeSeparators(dir.path())));
    printer.setPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape);
    EXPECT_FLOAT_EQ(printer.paperWidth(), 15840);
    EXPECT_FLOAT_EQ(printer.paperHeight(), 12240);
    EXPECT_EQ(printer.paperSizeCode(), 1);
    EXPECT_FLOAT_EQ(printer.target().PrinterPaperWidth(), printer.paperWidth());
    EXPECT_FLOAT_EQ(printer.target().Height(), printer.paperHeight() - 566);
    EXPECT_TRUE(printer.target().IsPrinter());
    printer.setPageLayout(QPageSize(QSizeF(100, 150), QPageSize::Millimeter), QPageLayout::Portrait);
    EXPECT_EQ(printer.paperSizeCode(), 256);
    drawSomething(printer, u"x"_s);
    EXPECT_THROW(printer.setPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait), slp::Error);
    printer.endDoc();
}

TEST(PrintSpoolPrinter, NewPageStaysInTheJobAndHomesTheCursor) {
    QTemporaryDir dir;
    PdfSpoolPrinter printer(dir.path());
    drawSomething(printer, u"一"_s);
    printer.newPage();
    EXPECT_FLOAT_EQ(printer.target().CurrentY(), 0);
    drawSomething(printer, u"二"_s);
    printer.endDoc();
    EXPECT_EQ(printer.writtenFiles().size(), 1);
}

TEST(PrintSpoolPrinter, UnusableFolderIsAnError) {
    QTemporaryDir dir;
    QFile blocker(QDir(dir.path()).filePath(u"file"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(PdfSpoolPrinter(blocker.fileName() + u"/spool"_s), slp::Error);
}

TEST(PrintPrintPages, ARangeGivesOneJobPerPage) {
    QTemporaryDir dir;
    PdfSpoolPrinter printer(dir.path());
    print_test::Fixture f;
    auto grid = print_test::makeGrid({u"序号"_s, u"姓名"_s, u"实发"_s}, {600, 1000, 1200}, 9);
    f.layout.printGrid = &grid;
    f.layout.linesPerPage = 2;
    CountTablePages(f.layout, grid.rows());
    ASSERT_EQ(f.layout.pageCount, 5);
    const PageGeometry m{300, 600, 360, 90};
    PrintTarget* const before = f.layout.printTarget;
    EXPECT_EQ(print_test::printPages(f.layout, printer, PageLayoutKind::Table, m, 2, 3), 2);
    EXPECT_EQ(filesIn(dir.path()), (QStringList{u"job-0001.pdf"_s, u"job-0002.pdf"_s}));
    EXPECT_EQ(f.layout.printTarget, before);
    EXPECT_EQ(print_test::printPages(f.layout, printer, PageLayoutKind::Table, m, 3, 2), 0);
    // Pages past the last are not printed.
    EXPECT_EQ(print_test::printPages(f.layout, printer, PageLayoutKind::Table, m, 5, 9), 1);
    // Slip pages end their own job; the driver's end after them sends nothing more.
    f.layout.slipMode = -1;
    CountSlipPages(f.layout, grid.rows(), false, printer.printableWidth());
    EXPECT_EQ(print_test::printPages(f.layout, printer, PageLayoutKind::Slips, m, 1, f.layout.pageCount), 10);
    EXPECT_EQ(filesIn(dir.path()).size(), 13);
}

TEST(PrintPrintPages, AFailingPageSendsNothingOfItsJob) {
    QTemporaryDir dir;
    PdfSpoolPrinter printer(dir.path());
    print_test::Fixture f;
    auto grid = print_test::makeGrid({u"序号"_s, u"实发"_s}, {600, 1200}, 3);
    f.layout.printGrid = &grid;
    f.layout.pageCount = 1;
    f.layout.environment.clock = nullptr;  // the footer's date cannot be had: the page fails half drawn
    EXPECT_THROW(print_test::printPages(f.layout, printer, PageLayoutKind::Table, PageGeometry{}, 1, 1),
                 std::invalid_argument);
    EXPECT_FALSE(printer.jobActive());
    EXPECT_TRUE(filesIn(dir.path()).isEmpty());
}

TEST(PrintSystemPrinter, NoPrinterInstalledIsError484) {
    if (!systemPrinterNames().isEmpty()) GTEST_SKIP() << "this machine has printers";
    try {
        openSystemPrinter();
        FAIL() << "a printer was opened";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), slp::errnum::NoPrinter);
        EXPECT_EQ(e.description(), noPrinterDescription());
    }
    try {
        openSystemPrinter(u"没有这台打印机"_s);
        FAIL() << "a printer was opened";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), 484);
    }
    EXPECT_TRUE(defaultSystemPrinterName().isEmpty());
}
