// Printing into one PDF file: every job's pages in the one document, nothing written before the file is
// finished or when nothing was printed or a job was dropped; the paper names of the command line and the
// remembered setup of "打印到PDF文件".
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "basic/error.h"
#include "print/pdf_print_choice.h"
#include "print/pdf_spool_printer.h"
#include "print/print_target.h"
#include "qstring_print.h"
#include "settings/store.h"

using namespace Qt::StringLiterals;
using namespace slp::print;

namespace {

void drawPage(Printer& printer, const QString& text) {
    PrintTarget& t = printer.target();
    t.SetCurrentX(1440);
    t.SetCurrentY(1440);
    t.Print(text);
}

// The page count a PDF file's page tree states.
int pdfPageCount(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray bytes = f.readAll();
    const QByteArray key = "/Type/Pages/Count ";
    const qsizetype at = bytes.indexOf(key);
    if (at < 0) return -1;
    qsizetype end = at + key.size();
    while (end < bytes.size() && bytes[end] >= '0' && bytes[end] <= '9') ++end;
    return bytes.mid(at + key.size(), end - at - key.size()).toInt();
}

TEST(PdfOneFile, EveryJobGoesIntoTheOneFileWrittenAtTheEnd) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"sub/all.pdf"_s);
    auto printer = PdfSpoolPrinter::oneFile(path);
    for (int job = 0; job < 3; ++job) {
        drawPage(*printer, u"第%1页"_s.arg(job + 1));
        printer->endDoc();
        EXPECT_FALSE(printer->jobActive());
    }
    EXPECT_FALSE(QFile::exists(path));  // nothing before the file is finished
    EXPECT_TRUE(printer->finishFile());
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(pdfPageCount(path), 3);
    EXPECT_EQ(printer->writtenFiles(), QStringList{QDir(dir.path()).filePath(u"sub/all.pdf"_s)});
    EXPECT_EQ(QDir(dir.filePath(u"sub"_s)).entryList(QDir::Files | QDir::Hidden), QStringList{u"all.pdf"_s});
}

TEST(PdfOneFile, ReplacesAnOldFileAndWritesNothingWithoutPages) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"a.pdf"_s);
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    {
        auto empty = PdfSpoolPrinter::oneFile(path);
        EXPECT_FALSE(empty->finishFile());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray("old"));
    }
    auto printer = PdfSpoolPrinter::oneFile(path);
    drawPage(*printer, u"新"_s);
    EXPECT_TRUE(printer->finishFile());  // the job under way is ended first
    EXPECT_EQ(pdfPageCount(path), 1);
}

TEST(PdfOneFile, ADroppedJobDropsTheWholeFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"a.pdf"_s);
    auto printer = PdfSpoolPrinter::oneFile(path);
    drawPage(*printer, u"一"_s);
    printer->endDoc();
    drawPage(*printer, u"二"_s);
    printer->newPage();
    printer->abortDoc();
    EXPECT_THROW(printer->finishFile(), slp::Error);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(PdfOneFile, PaperOfEachJobFollowsTheLayout) {
    QTemporaryDir dir;
    auto printer =
        PdfSpoolPrinter::oneFile(dir.filePath(u"a.pdf"_s), QPageSize(QPageSize::A3), QPageLayout::Landscape);
    EXPECT_EQ(printer->paperWidth(), 23811.f);
    EXPECT_EQ(printer->paperHeight(), 16838.f);
    drawPage(*printer, u"一"_s);
    printer->endDoc();
    printer->setPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait);  // between jobs
    EXPECT_EQ(printer->paperWidth(), 11906.f);
    EXPECT_THROW(PdfSpoolPrinter::oneFile(dir.path()), slp::Error);  // a folder is no file name
}

TEST(PaperNames, NamesAndMillimetresAreTaken) {
    struct Case {
        QString name;
        bool known;
        QPageSize::PageSizeId id;
    };
    for (const Case& c :
         {Case{u"A4"_s, true, QPageSize::A4}, Case{u"a3"_s, true, QPageSize::A3},
          Case{u"B5"_s, true, QPageSize::JisB5}, Case{u"isob5"_s, true, QPageSize::B5},
          Case{u"letter"_s, true, QPageSize::Letter}, Case{u" Legal "_s, true, QPageSize::Legal},
          Case{u"A9x"_s, false, QPageSize::Custom}, Case{u""_s, false, QPageSize::Custom},
          Case{u"Custom"_s, false, QPageSize::Custom}, Case{u"10x10mm"_s, false, QPageSize::Custom},
          Case{u"210x297mm"_s, true, QPageSize::A4}}) {
        const auto paper = paperNamed(c.name);
        ASSERT_EQ(paper.has_value(), c.known) << c.name.toStdString();
        if (c.known) {
            EXPECT_EQ(paper->id(), c.id) << c.name.toStdString();
        }
    }
    const auto custom = paperNamed(u"241x279mm"_s);
    ASSERT_TRUE(custom);
    EXPECT_EQ(custom->size(QPageSize::Millimeter), QSizeF(241, 279));
    EXPECT_EQ(paperNamed(paperNameOf(*custom)), custom);
    EXPECT_EQ(paperNameOf(QPageSize(QPageSize::JisB5)), u"B5"_s);
    EXPECT_EQ(paperNameOf(QPageSize(QPageSize::B5)), u"ISOB5"_s);
}

TEST(PdfPrintSetup, IsRememberedAndDefaultsToA4PortraitInTheDocumentsFolder) {
    QTemporaryDir dir;
    slp::settings::Store store(dir.path());
    const PdfPrintSetup fresh = loadPdfPrintSetup(store);
    EXPECT_EQ(fresh.paper.id(), QPageSize::A4);
    EXPECT_EQ(fresh.orientation, QPageLayout::Portrait);
    EXPECT_EQ(fresh.folder, defaultPdfFolder());
    EXPECT_TRUE(fresh.folder.endsWith(u"/工资打印"_s));
    EXPECT_FALSE(fresh.filePerJob);
    savePdfPrintSetup(store,
                      {dir.filePath(u"out"_s), QPageSize(QPageSize::A3), QPageLayout::Landscape, true});
    const PdfPrintSetup again = loadPdfPrintSetup(slp::settings::Store(dir.path()));
    EXPECT_EQ(again.folder, dir.filePath(u"out"_s));
    EXPECT_EQ(again.paper.id(), QPageSize::A3);
    EXPECT_EQ(again.orientation, QPageLayout::Landscape);
    EXPECT_TRUE(again.filePerJob);
    EXPECT_EQ(pdfPrinterName(), u"打印到PDF文件"_s);
}

TEST(PdfPrintSetup, TheMarginIsRememberedAndKeptWithinItsRange) {
    QTemporaryDir dir;
    slp::settings::Store store(dir.path());
    EXPECT_DOUBLE_EQ(loadPdfPrintSetup(store).marginMm, 5.0);
    const struct {
        const char16_t* stored;
        double read;
    } cases[] = {{u"4.5", 4.5}, {u"0", 0}, {u"-3", 0}, {u"45", kMaxMarginMm}, {u"abc", 5.0}, {u"nan", 5.0}};
    for (const auto& c : cases) {
        store.write(slp::settings::appComponent(), u"PdfPrinter"_s, u"MarginMm"_s,
                    QString::fromUtf16(c.stored));
        EXPECT_DOUBLE_EQ(loadPdfPrintSetup(slp::settings::Store(dir.path())).marginMm, c.read)
            << QString::fromUtf16(c.stored).toStdString();
    }
    PdfPrintSetup setup = loadPdfPrintSetup(store);
    setup.marginMm = 8.5;
    savePdfPrintSetup(store, setup);
    EXPECT_DOUBLE_EQ(loadPdfPrintSetup(slp::settings::Store(dir.path())).marginMm, 8.5);
}

}  // namespace
