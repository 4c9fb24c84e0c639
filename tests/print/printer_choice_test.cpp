// The printer choice: PDF files when the system has no printer, the remembered PDF folder and paper, and a
// held printer exchanged between jobs by the printer setup.
#include "print/printer_choice.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "basic/error.h"
#include "print/pdf_print_choice.h"
#include "print/pdf_spool_printer.h"
#include "print/print_target.h"
#include "print/system_printer.h"
#include "qstring_print.h"
#include "settings/store.h"

using namespace Qt::StringLiterals;
using namespace slp::print;

namespace {

void printOnePage(Printer& printer) {
    PrintTarget& t = printer.target();
    t.SetCurrentX(1440);
    t.SetCurrentY(1440);
    t.Print(u"工资"_s);
    printer.endDoc();
}

TEST(PrinterChoice, PdfFilesAreOfferedAndChosenWithoutASystemPrinter) {
    QTemporaryDir dir;
    slp::settings::Store store(dir.path());
    const QStringList choices = printerChoices();
    ASSERT_FALSE(choices.isEmpty());
    EXPECT_EQ(choices.back(), u"打印到PDF文件"_s);
    EXPECT_EQ(choices.size(), systemPrinterNames().size() + 1);
    if (systemPrinterNames().isEmpty()) {
        EXPECT_EQ(chosenPrinter(store), pdfPrinterName());
        savePdfPrintSetup(store, {dir.filePath(u"pdf"_s), QPageSize(QPageSize::A3), QPageLayout::Landscape});
        const auto printer = openChosenPrinter(store);
        ASSERT_TRUE(dynamic_cast<PdfSpoolPrinter*>(printer.get()));
        EXPECT_EQ(printer->paperWidth(), 23811.f);
        printOnePage(*printer);
        EXPECT_EQ(QDir(dir.filePath(u"pdf"_s)).entryList(QDir::Files), QStringList{u"job-0001.pdf"_s});
    }
    // A remembered printer that is gone is not chosen.
    saveChosenPrinter(store, u"no such printer"_s);
    EXPECT_NE(chosenPrinter(store), u"no such printer"_s);
    saveChosenPrinter(store, pdfPrinterName());
    EXPECT_EQ(chosenPrinter(store), pdfPrinterName());
}

TEST(PrinterChoice, TheHeldPrinterIsExchangedBetweenJobsAndTheChoiceRemembered) {
    QTemporaryDir dir;
    slp::settings::Store store(dir.path());
    ChosenPrinter printer(std::make_unique<PdfSpoolPrinter>(dir.filePath(u"a"_s)));
    EXPECT_EQ(printer.paperWidth(), 11906.f);
    printOnePage(printer);
    EXPECT_EQ(QDir(dir.filePath(u"a"_s)).entryList(QDir::Files).size(), 1);

    applyPrinterChoice(store, printer, pdfPrinterName(),
                       {dir.filePath(u"b"_s), QPageSize(QPageSize::Letter), QPageLayout::Portrait});
    EXPECT_EQ(printer.paperWidth(), 12240.f);
    EXPECT_EQ(printer.deviceName(), u"PDF:"_s + dir.filePath(u"b"_s));
    printOnePage(printer);
    printOnePage(printer);
    EXPECT_EQ(QDir(dir.filePath(u"b"_s)).entryList(QDir::Files),
              (QStringList{u"job-0001.pdf"_s, u"job-0002.pdf"_s}));
    const PdfPrintSetup saved = loadPdfPrintSetup(store);
    EXPECT_EQ(saved.folder, dir.filePath(u"b"_s));
    EXPECT_EQ(saved.paper.id(), QPageSize::Letter);

    // Not while a job is under way; a printer that cannot be opened changes nothing.
    printer.target().Print(u"半页"_s);
    EXPECT_THROW(printer.replace(std::make_unique<PdfSpoolPrinter>(dir.filePath(u"c"_s))), slp::Error);
    printer.abortDoc();
    if (systemPrinterNames().isEmpty()) {
        EXPECT_THROW(applyPrinterChoice(store, printer, u"no such printer"_s, saved), slp::Error);
        EXPECT_EQ(printer.deviceName(), u"PDF:"_s + dir.filePath(u"b"_s));
        EXPECT_EQ(chosenPrinter(store), pdfPrinterName());
    }
}

}  // namespace
