// Real pages through the PDF spool printer, read back with `pdftotext -bbox`: the texts stand where the
// layout puts them (one twip is 1/20 point), the fonts keep their text, and a page range gives one file
// per job. Set SLP_PRINT_PDF_DIR to keep the files for a look.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>

#include "basic/conversions.h"
#include "print/page_layout.h"
#include "print/pdf_spool_printer.h"
#include "print/preview_picture.h"
#include "print_fixture.h"
#include "qstring_print.h"

using namespace Qt::StringLiterals;
using namespace slp::print;

namespace {

struct Word {
    double xMin, yMin, xMax, yMax;
    QString text;
};

// The words of a one-page PDF with their boxes in points.
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
        out.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                       m.captured(4).toDouble(), m.captured(5)});
    }
    return out;
}

// The words of exactly this text, top to bottom (pdftotext's own order is not the page's).
std::vector<Word> find(const std::vector<Word>& words, const QString& text) {
    std::vector<Word> out;
    for (const auto& w : words) {
        if (w.text == text) out.push_back(w);
    }
    std::sort(out.begin(), out.end(), [](const Word& a, const Word& b) {
        return a.yMin != b.yMin ? a.yMin < b.yMin : a.xMin < b.xMin;
    });
    return out;
}

// A month's wage grid: 101 employees and the totals row, amounts formatted, widths of a real table.
slp::data::WageGrid wageGrid(const QStringList& captions, const std::vector<int>& widths) {
    const int cols = int(captions.size());
    slp::data::WageGrid g(103, cols);
    for (int c = 0; c < cols; ++c) {
        g.setText(0, c, captions[c]);
        g.setColWidth(c, widths.at(size_t(c)));
        g.setColAlignment(c, c == 0 ? 4 : (c < 3 ? 1 : 7));
    }
    for (int r = 1; r <= 101; ++r) {
        g.setText(r, 0, QString::number(r));
        g.setText(r, 1, u"职工%1"_s.arg(r));
        g.setText(r, 2, r % 2 ? u"一车间"_s : u"二车间"_s);
        for (int c = 3; c < cols; ++c) g.setText(r, c, slp::formatNumber(1000 + r * 1.5 + c, u"0.00"));
    }
    g.setText(102, 0, u"合计"_s);
    g.setText(102, 1, u"共101人"_s);
    for (int c = 3; c < cols; ++c) g.setText(102, c, slp::formatNumber(123456.78 + c, u"0.00"));
    return g;
}

class PrintPdfOutput : public ::testing::Test {
  protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty()) GTEST_SKIP() << "pdftotext missing";
        const QByteArray keep = qgetenv("SLP_PRINT_PDF_DIR");
        folder_ = keep.isEmpty() ? tmp_.path() : QString::fromLocal8Bit(keep);
        printer_ = std::make_unique<PdfSpoolPrinter>(folder_);
        // The layouts measured from the paper's corner; the margins have tests of their own.
        printer_->setMarginMm(0);
        f_.layout.headerLeftText = u"单位名称:朔岚公司"_s;
        f_.layout.printTarget = &printer_->target();
    }

    // The text offset the driver computes for a line of 360 twips at the base font size.
    float textOffset() {
        PrintTarget& t = printer_->target();
        t.SetFontSize(9);
        return TextOffset(360, t.TextHeight(u"O"_s));
    }

    QTemporaryDir tmp_;
    QString folder_;
    std::unique_ptr<PdfSpoolPrinter> printer_;
    print_test::Fixture f_;
    slp::data::WageGrid grid_;
};

}  // namespace

// Like a real printer, the PDF printer cannot print at the paper's edge: what is drawn at (0, 0) lands on
// the corner of the printable area, 5 mm in from both edges unless set otherwise, and the printable area
// is the paper less the margins. A strip of continuous paper, too low for its margins, prints from its
// top edge.
TEST(PdfPrinterMargins, TheOriginIsTheCornerOfThePrintableArea) {
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty()) GTEST_SKIP() << "pdftotext missing";
    const struct {
        double marginMm;
        QPageSize paper;
        float marginX;
        float marginY;
    } cases[] = {
        {-1, QPageSize(QPageSize::A4), 283, 283},  // the default
        {10, QPageSize(QPageSize::A4), 567, 567},
        {0, QPageSize(QPageSize::A4), 0, 0},
        {-1, QPageSize(QSizeF(1090, 36), QPageSize::Point, u"strip"_s, QPageSize::ExactMatch), 283, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.marginMm);
        QTemporaryDir dir;
        PdfSpoolPrinter printer(dir.path());
        if (c.marginMm >= 0) printer.setMarginMm(c.marginMm);
        printer.setPageLayout(c.paper, QPageLayout::Portrait);
        EXPECT_FLOAT_EQ(printer.marginX(), c.marginX);
        EXPECT_FLOAT_EQ(printer.marginY(), c.marginY);
        EXPECT_FLOAT_EQ(printer.printableWidth(), printer.paperWidth() - 2 * c.marginX);
        EXPECT_FLOAT_EQ(printer.printableHeight(), printer.paperHeight() - 2 * c.marginY);

        PrintTarget& t = printer.target();
        t.SetFontSize(9);
        t.SetCurrentX(0);
        t.SetCurrentY(0);
        t.Print(u"左上角"_s);
        printer.endDoc();
        ASSERT_EQ(printer.writtenFiles().size(), 1);
        const auto words = find(wordsOf(printer.writtenFiles()[0]), u"左上角"_s);
        ASSERT_EQ(words.size(), 1u);
        EXPECT_NEAR(words[0].xMin, c.marginX / 20.0, 0.3);
        EXPECT_NEAR(words[0].yMin, c.marginY / 20.0, 1.0);
    }
}

TEST_F(PrintPdfOutput, TablePagesStandWhereTheLayoutPutsThem) {
    grid_ = wageGrid({u"序号"_s, u"姓名"_s, u"部门"_s, u"基本工资"_s, u"应发工资"_s, u"实发工资"_s},
                     {600, 1000, 1200, 1200, 1200, 1200});
    f_.layout.printGrid = &grid_;
    f_.layout.printTitle = u"工资签收联"_s;
    f_.layout.headerRightText = u"发薪日期:00-04"_s;
    CountTablePages(f_.layout, grid_.rows());
    ASSERT_EQ(f_.layout.pageCount, 3);
    const float offset = textOffset();
    const PageGeometry m{300, 600, 360, offset};
    ASSERT_EQ(print_test::printPages(f_.layout, *printer_, PageLayoutKind::Table, m, 1, 3), 3);
    ASSERT_EQ(printer_->writtenFiles().size(), 3);

    const auto page1 = wordsOf(printer_->writtenFiles()[0]);
    ASSERT_FALSE(page1.empty());
    const double tableRight = (300 + 6400) / 20.0;
    // Unit name at the left above the table, page numbers ending at the table's right edge.
    const auto unit = find(page1, u"单位名称:朔岚公司"_s);
    ASSERT_EQ(unit.size(), 1u);
    EXPECT_NEAR(unit[0].xMin, 15, 0.3);
    const auto pages = find(page1, u"第1页"_s);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pages[0].xMax, tableRight, 0.5);
    EXPECT_EQ(find(page1, u"共3页"_s).size(), 1u);
    // The title centred over the table.
    const auto title = find(page1, u"工资签收联"_s);
    ASSERT_EQ(title.size(), 1u);
    EXPECT_NEAR((title[0].xMin + title[0].xMax) / 2, (300 + 3200) / 20.0, 1);
    // Row 1 below the caption row: the name left with the 30-twip inset, the amount ending at its cell.
    const auto name = find(page1, u"职工1"_s);
    ASSERT_EQ(name.size(), 1u);
    EXPECT_NEAR(name[0].xMin, (900 + 30) / 20.0, 0.3);
    EXPECT_NEAR(name[0].yMin, (960 + offset) / 20.0, 0.6);
    const auto pay = find(page1, slp::formatNumber(1000 + 1.5 + 5, u"0.00"));
    ASSERT_EQ(pay.size(), 1u);
    EXPECT_NEAR(pay[0].xMax, tableRight, 0.6);
    // Row 40 is the last of page 1, 39 rows lower.
    const auto row40 = find(page1, u"职工40"_s);
    ASSERT_EQ(row40.size(), 1u);
    EXPECT_NEAR(row40[0].yMin - name[0].yMin, 39 * 18.0, 0.1);
    EXPECT_TRUE(find(page1, u"职工41"_s).empty());
    EXPECT_TRUE(find(page1, u"合计"_s).empty());
    // The footer and the signature line; no preview width line on paper.
    const auto maker = find(page1, u"【朔岚软件】"_s);
    ASSERT_EQ(maker.size(), 1u);
    EXPECT_NEAR(maker[0].xMin, 15, 0.3);
    EXPECT_EQ(find(page1, u"2024-03-15"_s).size(), 1u);
    EXPECT_EQ(find(page1, u"财务主管:"_s).size(), 1u);
    EXPECT_EQ(find(page1, u"制单:"_s).size(), 1u);
    for (const auto& w : page1) EXPECT_FALSE(w.text.startsWith(u"表格宽度"_s));

    // The totals row on the last page only, in its double-height row.
    const auto page3 = wordsOf(printer_->writtenFiles()[2]);
    const auto totals = find(page3, u"合计"_s);
    ASSERT_EQ(totals.size(), 1u);
    const auto lastRow = find(page3, u"职工101"_s);
    ASSERT_EQ(lastRow.size(), 1u);
    EXPECT_NEAR(totals[0].yMin - lastRow[0].yMin, 18, 0.6);
    // The second total sits in the lower half of the double row.
    const auto count = find(page3, u"共101人"_s);
    ASSERT_EQ(count.size(), 1u);
    EXPECT_NEAR(count[0].yMin - totals[0].yMin, 18, 0.6);
    EXPECT_EQ(find(page3, u"第3页"_s).size(), 1u);
}

TEST_F(PrintPdfOutput, SlipPageHoldsTwentySlips) {
    grid_ = wageGrid({u"序号"_s, u"姓名"_s, u"部门"_s, u"基本工资"_s, u"应发工资"_s, u"实发工资"_s},
                     {600, 1000, 1200, 1200, 1200, 1200});
    f_.layout.printGrid = &grid_;
    f_.layout.slipMode = -1;
    f_.setSlipOption(slp::settings::key::PrintSignOff, u"True"_s);
    const auto measure = MeasureLayout(f_.layout, grid_, printer_->paperWidth());
    ASSERT_FALSE(measure.tooWide);
    CountSlipPages(f_.layout, grid_.rows(), measure.tooWide, printer_->printableWidth());
    ASSERT_EQ(f_.layout.pageCount, 6);
    const float offset = textOffset();
    ASSERT_EQ(print_test::printPages(f_.layout, *printer_, PageLayoutKind::Slips,
                                     PageGeometry{300, 600, 360, offset}, 2, 2),
              1);
    ASSERT_EQ(printer_->writtenFiles().size(), 1);
    const auto words = wordsOf(printer_->writtenFiles()[0]);
    EXPECT_EQ(find(words, u"实发工资"_s).size(), 20u);
    EXPECT_EQ(find(words, u"签收"_s).size(), 20u);
    // Page 2 holds employees 21 to 40; slip k starts 720 twips (36 points) below slip k - 1.
    const auto first = find(words, u"职工21"_s);
    const auto last = find(words, u"职工40"_s);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(last.size(), 1u);
    EXPECT_NEAR(last[0].yMin - first[0].yMin, 19 * 36.0, 0.1);
    EXPECT_NEAR(first[0].yMin, (600 + offset + 360) / 20.0, 0.6);
    // Values right-aligned in their cells: the name ends at 300 + 600 + 1000.
    EXPECT_NEAR(first[0].xMax, 1900 / 20.0, 0.5);
    EXPECT_TRUE(find(words, u"职工41"_s).empty());
}

TEST_F(PrintPdfOutput, WrappedSlipPageContinuesOnASecondLinePair) {
    QStringList captions{u"序号"_s, u"姓名"_s, u"部门"_s};
    std::vector<int> widths{600, 1000, 1200};
    for (int c = 3; c < 18; ++c) {
        captions << u"项目%1"_s.arg(c);
        widths.push_back(1200);
    }
    grid_ = wageGrid(captions, widths);
    f_.layout.printGrid = &grid_;
    f_.layout.slipMode = -1;
    f_.layout.columnsPerLine = 12;
    f_.layout.continuationIndent = 1;
    const auto measure = MeasureLayout(f_.layout, grid_, printer_->paperWidth());
    ASSERT_TRUE(measure.tooWide);
    ASSERT_FALSE(f_.layout.fitsOneLine);
    CountSlipPages(f_.layout, grid_.rows(), measure.tooWide, printer_->printableWidth());
    ASSERT_EQ(f_.layout.pageCount, 11);
    const float offset = textOffset();
    ASSERT_EQ(print_test::printPages(f_.layout, *printer_, PageLayoutKind::WrappedSlips,
                                     PageGeometry{300, 600, 360, offset}, 1, 1),
              1);
    const auto words = wordsOf(printer_->writtenFiles()[0]);
    const float slot = f_.layout.slotWidth;
    EXPECT_FLOAT_EQ(slot, (11906 - 800) / 12.0f);
    // 项目11 is the twelfth column, on the first line pair; 项目12 wraps, one slot indented.
    const auto p11 = find(words, u"项目11"_s);
    const auto p12 = find(words, u"项目12"_s);
    ASSERT_EQ(p11.size(), 10u);
    ASSERT_EQ(p12.size(), 10u);
    EXPECT_NEAR((p11[0].xMin + p11[0].xMax) / 2, (300 + 11.5 * slot) / 20.0, 0.5);
    EXPECT_NEAR(p11[0].yMin, (600 + offset) / 20.0, 0.6);
    EXPECT_NEAR((p12[0].xMin + p12[0].xMax) / 2, (300 + 1.5 * slot) / 20.0, 0.5);
    EXPECT_NEAR(p12[0].yMin - p11[0].yMin, 36, 0.1);
    // Ten slips, each two line pairs (72 points).
    const auto first = find(words, u"职工1"_s);
    const auto tenth = find(words, u"职工10"_s);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(tenth.size(), 1u);
    EXPECT_NEAR(tenth[0].yMin - first[0].yMin, 9 * 72.0, 0.1);
    EXPECT_NEAR(first[0].xMin, (300 + slot + 45) / 20.0, 0.3);  // left-aligned with the print inset
    EXPECT_EQ(find(words, u"第1页"_s).size(), 1u);
    EXPECT_EQ(find(words, u"共11页"_s).size(), 1u);
}

TEST_F(PrintPdfOutput, PreviewPictureShowsTheSamePage) {
    grid_ = wageGrid({u"序号"_s, u"姓名"_s, u"部门"_s, u"实发工资"_s}, {600, 1000, 1200, 1200});
    PreviewPicture picture(printer_->printableWidth(), printer_->printableHeight(), printer_->paperWidth(),
                           printer_->printableWidth());
    f_.layout.printGrid = &grid_;
    f_.layout.printTarget = &picture.target();
    CountTablePages(f_.layout, grid_.rows());
    print_test::drawPage(f_.layout, PageLayoutKind::Table, PageGeometry{300, 600, 360, 90}, 1);
    const QImage& image = picture.image();
    EXPECT_EQ(image.width(), qRound(printer_->printableWidth() / 15));
    // The top frame at 600 twips (pixel row 40) runs from 300 to 4300 twips (pixels 20 to 286).
    int dark = 0;
    for (int x = 22; x < 284; ++x) {
        if (qGray(image.pixel(x, 40)) < 128) ++dark;
    }
    EXPECT_EQ(dark, 284 - 22);
    if (!qEnvironmentVariableIsEmpty("SLP_PRINT_PDF_DIR"))
        image.save(QDir(folder_).filePath(u"preview.png"_s));
}
