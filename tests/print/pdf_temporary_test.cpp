// The PDF files of the spool printer are written like every other file: aside under a name nobody can
// foresee, created exclusively, and renamed into place whole. A link planted where the old fixed names
// were, two writers of one file and two writers of one folder each find what they put there.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "print/pdf_spool_printer.h"
#include "print/print_target.h"

using namespace Qt::StringLiterals;
using namespace slp::print;

namespace {

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

QByteArray contentsOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void drawPage(Printer& printer) {
    PrintTarget& t = printer.target();
    t.SetCurrentX(1440);
    t.SetCurrentY(1440);
    t.Print(u"工资"_s);
}

// The media box a page of this paper states, as the writer writes it.
QByteArray mediaBoxOf(QPageSize::PageSizeId id) {
    return id == QPageSize::A4 ? "/MediaBox[0 0 595 842]" : "/MediaBox[0 0 842 1191]";
}

TEST(PdfTemporaryFile, ALinkPlantedAtAnOldTemporaryNameIsNeverFollowed) {
    QTemporaryDir dir;
    const QString victim = dir.filePath(u"victim"_s);
    {
        QFile f(victim);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    ASSERT_TRUE(QFile::link(victim, dir.filePath(u".out.pdf.part"_s)));
    ASSERT_TRUE(QFile::link(victim, dir.filePath(u".job-0001.pdf.part"_s)));

    auto one = PdfSpoolPrinter::oneFile(dir.filePath(u"out.pdf"_s));
    drawPage(*one);
    ASSERT_TRUE(one->finishFile());
    PdfSpoolPrinter folder(dir.path());
    drawPage(folder);
    folder.endDoc();

    EXPECT_EQ(contentsOf(victim), QByteArray("keep me"));
    for (const QString& name : {u"out.pdf"_s, u"job-0001.pdf"_s}) {
        const QFileInfo info(dir.filePath(name));
        EXPECT_FALSE(info.isSymLink()) << name.toStdString();
        EXPECT_TRUE(contentsOf(info.filePath()).startsWith("%PDF-")) << name.toStdString();
    }
    EXPECT_EQ(entriesOf(dir.path()), (QStringList{u".job-0001.pdf.part"_s, u".out.pdf.part"_s,
                                                  u"job-0001.pdf"_s, u"out.pdf"_s, u"victim"_s}));
}

TEST(PdfTemporaryFile, TwoWritersOfOneFileOrOneFolderEachKeepTheirOwnPages) {
    for (const bool oneFile : {true, false}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"out.pdf"_s);
        // Both begin before either ends: A on A4, B on A3, so each file tells whose pages it holds.
        auto make = [&](QPageSize::PageSizeId id) {
            return oneFile ? PdfSpoolPrinter::oneFile(path, QPageSize(id))
                           : std::make_unique<PdfSpoolPrinter>(dir.path(), QPageSize(id));
        };
        auto a = make(QPageSize::A4);
        auto b = make(QPageSize::A3);
        drawPage(*a);
        drawPage(*b);
        if (oneFile) {
            ASSERT_TRUE(a->finishFile());
            ASSERT_TRUE(b->finishFile());
            // The last whole writer wins whole.
            const QByteArray bytes = contentsOf(path);
            EXPECT_TRUE(bytes.contains(mediaBoxOf(QPageSize::A3)));
            EXPECT_FALSE(bytes.contains(mediaBoxOf(QPageSize::A4)));
            EXPECT_TRUE(bytes.endsWith("%%EOF\n"));
            EXPECT_EQ(entriesOf(dir.path()), QStringList{u"out.pdf"_s});
            continue;
        }
        a->endDoc();
        b->endDoc();
        ASSERT_EQ(a->writtenFiles().size(), 1);
        ASSERT_EQ(b->writtenFiles().size(), 1);
        EXPECT_NE(a->writtenFiles()[0], b->writtenFiles()[0]);
        EXPECT_TRUE(contentsOf(a->writtenFiles()[0]).contains(mediaBoxOf(QPageSize::A4)));
        EXPECT_TRUE(contentsOf(b->writtenFiles()[0]).contains(mediaBoxOf(QPageSize::A3)));
        EXPECT_EQ(entriesOf(dir.path()), (QStringList{u"job-0001.pdf"_s, u"job-0002.pdf"_s}));
    }
}

TEST(PdfTemporaryFile, JobNumbersGoOnPastFilesNotOfThisPrinter) {
    const struct {
        QStringList existing;
        QString next;
    } cases[] = {
        {{u"job-2147483647.pdf"_s}, u"job-0001.pdf"_s},
        {{u"job-99999999999999999999.pdf"_s, u"job-0041.pdf"_s}, u"job-0042.pdf"_s},
        {{u"job-99999999.pdf"_s}, u"job-0001.pdf"_s},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        for (const QString& name : c.existing) {
            QFile f(dir.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        PdfSpoolPrinter printer(dir.path());
        drawPage(printer);
        printer.endDoc();
        EXPECT_EQ(printer.writtenFiles(), QStringList{dir.filePath(c.next)})
            << c.existing.join(u' ').toStdString();
        // And the next print still finds a name.
        drawPage(printer);
        EXPECT_NO_THROW(printer.endDoc());
        EXPECT_EQ(printer.writtenFiles().size(), 2);
    }
}

}  // namespace
