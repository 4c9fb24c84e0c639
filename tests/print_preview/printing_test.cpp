// Printing page ranges: the questions of 打印, one print job a page on the PDF spool printer, ranges
// past the last page, a missing printer, a printer that fails, the whole range as one job, printing
// without a window; and the grid the preview keeps.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "app/print_preview/headless_print.h"
#include "basic/error.h"
#include "preview_fixture.h"
#include "print/no_printer.h"
#include "print/page.h"

using namespace Qt::StringLiterals;
using preview_test::Fixture;
using slp::print::kSlipModeSlips;
using slp::print::kSlipModeTable;

namespace {

// 170 data rows and the totals row: 5 table pages of 40 lines, 9 slip pages of 20.
slp::data::WageGrid fivePageGrid() {
    return preview_test::narrowGrid(170);
}

TEST(PreviewPrinting, PagesTwoToThreeOfFiveAreTwoJobs) {
    Fixture f;
    const auto grid = fivePageGrid();
    f.open(grid, kSlipModeTable);
    ASSERT_EQ(f.driver.pageCount(), 5);
    f.prompts.answerInput(u"2"_s);
    f.prompts.answerInput(u"3"_s);
    f.driver.printChosenPages();
    // The two questions, then where the files went: a file a job (the printer's choice here), named for
    // the document, its month and the time of the print.
    ASSERT_EQ(f.prompts.asked.size(), 3);
    EXPECT_EQ(f.prompts.asked[2].text, u"已打印到2个PDF文件，文件在文件夹“"_s +
                                           QFileInfo(f.spoolPath(u"x"_s)).absolutePath() + u"”中。"_s);
    EXPECT_EQ(f.prompts.asked[0].text, u"共有5页,请选择打印起始页!"_s);
    EXPECT_EQ(f.prompts.asked[0].defaultText, u"1"_s);
    EXPECT_TRUE(f.prompts.asked[0].title.isEmpty());
    EXPECT_EQ(f.prompts.asked[1].text, u"共有5页,打印起始页为2,请选择打印终止页!"_s);
    EXPECT_EQ(f.prompts.asked[1].defaultText, u"5"_s);
    EXPECT_EQ(f.driver.printFromPage(), 2);
    EXPECT_EQ(f.driver.printToPage(), 3);
    const QString name = u"工资签收联_2000-04_103000"_s;
    ASSERT_EQ(f.spooled(), QStringList({name + u".pdf"_s, name + u"_2.pdf"_s}));

    const QString first = preview_test::pdfText(f.spoolPath(name + u".pdf"_s));
    if (!first.isNull()) {
        EXPECT_TRUE(first.contains(u"第2页"_s));
        EXPECT_TRUE(first.contains(u"r41c1"_s));
        EXPECT_TRUE(first.contains(u"r80c1"_s));
        EXPECT_FALSE(first.contains(u"r81c1"_s));
        EXPECT_FALSE(first.contains(u"表格宽度"_s)) << "the width line is for the preview only";
        const QString second = preview_test::pdfText(f.spoolPath(name + u"_2.pdf"_s));
        EXPECT_TRUE(second.contains(u"第3页"_s));
        EXPECT_TRUE(second.contains(u"r81c1"_s));
        EXPECT_EQ(preview_test::pdfPages(f.spoolPath(name + u"_2.pdf"_s)), 1);
    }
    // Printing draws on page values of its own; the layout keeps the picture as its target.
    EXPECT_EQ(f.driver.layout().printTarget, &f.canvas.target());
    f.driver.turnPage(slp::print::PrintPreviewDriver::PagingKey::PageDown);
    EXPECT_EQ(f.driver.layout().printTarget, &f.canvas.target());
}

TEST(PreviewPrinting, TheStartPageDefaultsToThePageShown) {
    Fixture f;
    const auto grid = fivePageGrid();
    f.open(grid, kSlipModeTable);
    f.driver.turnPage(slp::print::PrintPreviewDriver::PagingKey::End);
    f.driver.printChosenPages();  // cancelled
    ASSERT_EQ(f.prompts.asked.size(), 1);
    EXPECT_EQ(f.prompts.asked[0].defaultText, u"5"_s);
    EXPECT_TRUE(f.spooled().isEmpty());
}

TEST(PreviewPrinting, RangesThatPrintNothingOrLess) {
    const auto grid = fivePageGrid();
    {
        Fixture f;  // a first page after the last
        f.open(grid, kSlipModeTable);
        f.prompts.answerInput(u"4"_s);
        f.prompts.answerInput(u"2"_s);
        f.driver.printChosenPages();
        EXPECT_TRUE(f.spooled().isEmpty());
    }
    {
        Fixture f;  // pages past the last are left out
        f.open(grid, kSlipModeTable);
        f.prompts.answerInput(u"4"_s);
        f.prompts.answerInput(u"99"_s);
        f.driver.printChosenPages();
        EXPECT_EQ(f.driver.printToPage(), 99);
        ASSERT_EQ(f.spooled().size(), 2);
        const QString last = preview_test::pdfText(f.spoolPath(u"job-0002.pdf"_s));
        if (!last.isNull()) {
            EXPECT_TRUE(last.contains(u"第5页"_s));
        }
    }
    {
        Fixture f;  // a start beyond 32 bits is a page past the last
        f.open(grid, kSlipModeTable);
        f.prompts.answerInput(u"1e10"_s);
        f.prompts.answerInput(u"5"_s);
        f.driver.printChosenPages();
        EXPECT_EQ(f.driver.printFromPage(), 2147483647);
        EXPECT_TRUE(f.spooled().isEmpty());
    }
    for (const QString& answer : {u"0"_s, u""_s, u"abc"_s, u"0.5"_s}) {
        Fixture f;  // the start refused: no second question
        f.open(grid, kSlipModeTable);
        f.prompts.answerInput(answer);
        f.driver.printChosenPages();
        EXPECT_EQ(f.prompts.asked.size(), 1);
        EXPECT_TRUE(f.spooled().isEmpty());
    }
    {
        Fixture f;  // the end refused
        f.open(grid, kSlipModeTable);
        f.prompts.answerInput(u"2"_s);
        f.prompts.answerInput(u"0"_s);
        f.driver.printChosenPages();
        EXPECT_EQ(f.prompts.asked.size(), 2);
        EXPECT_TRUE(f.spooled().isEmpty());
    }
}

TEST(PreviewPrinting, ASinglePageIsPrintedWithoutQuestions) {
    Fixture f;
    const auto grid = preview_test::narrowGrid(20);
    f.open(grid, kSlipModeTable);
    ASSERT_EQ(f.driver.pageCount(), 1);
    f.driver.printChosenPages();
    // No question; only where the file went.
    ASSERT_EQ(f.prompts.asked.size(), 1);
    EXPECT_TRUE(f.prompts.asked[0].text.startsWith(u"已打印到PDF文件"_s));
    EXPECT_EQ(f.spooled().size(), 1);
}

TEST(PreviewPrinting, SlipPagesAreAJobEachOrOneJobForTheRange) {
    Fixture f;
    const auto grid = fivePageGrid();
    f.open(grid, kSlipModeSlips, QString());
    ASSERT_EQ(f.driver.pageCount(), 9);
    f.prompts.answerInput(u"1"_s);
    f.prompts.answerInput(u"3"_s);
    f.driver.printChosenPages();
    ASSERT_EQ(f.spooled().size(), 3);
    const int single = preview_test::pdfPages(f.spoolPath(u"2000-04_103000_3.pdf"_s));
    if (single != -1) {
        EXPECT_EQ(single, 1);
    }

    EXPECT_EQ(f.driver.printPages(2, 4, true), 3);
    ASSERT_EQ(f.spooled().size(), 4);
    // Printed without the window, the files are numbered.
    const QString path = f.spoolPath(u"job-0001.pdf"_s);
    const int pages = preview_test::pdfPages(path);
    if (pages != -1) {
        EXPECT_EQ(pages, 3);
        const QString text = preview_test::pdfText(path);
        EXPECT_TRUE(text.contains(u"r21c1"_s));
        EXPECT_TRUE(text.contains(u"r80c1"_s));
        EXPECT_FALSE(text.contains(u"r81c1"_s));
    }
    EXPECT_EQ(f.driver.layout().printTarget, &f.canvas.target());
}

TEST(PreviewPrinting, OnePrintIsOneFileNamedForTheDocumentAndTheNoticeNamesIt) {
    Fixture f;
    f.printer.setFilePerJob(false);  // the windows' PDF printer unless the clerk chose a file a job
    const auto grid = fivePageGrid();
    f.open(grid, kSlipModeTable);
    for (const QString& file : {u"工资签收联_2000-04_103000.pdf"_s, u"工资签收联_2000-04_103000_2.pdf"_s}) {
        f.prompts.asked.clear();
        f.prompts.answerInput(u"2"_s);
        f.prompts.answerInput(u"4"_s);
        f.driver.printChosenPages();
        ASSERT_EQ(f.prompts.asked.size(), 3);
        EXPECT_EQ(f.prompts.asked[2].text, u"已打印到PDF文件“"_s + f.spoolPath(file) + u"”。"_s);
        EXPECT_TRUE(f.spooled().contains(file));
        const int pages = preview_test::pdfPages(f.spoolPath(file));
        if (pages != -1) {
            EXPECT_EQ(pages, 3);
        }
    }
    EXPECT_EQ(f.spooled().size(), 2);
}

TEST(PreviewPrinting, NoPrinterInstalledIsSaidBeforeAnyQuestion) {
    Fixture f;
    slp::print::NoInstalledPrinter none;
    f.driver.setPrinter(none);
    const auto grid = fivePageGrid();
    f.open(grid, kSlipModeTable);
    EXPECT_EQ(f.driver.pageCount(), 5);
    EXPECT_EQ(f.driver.statusTexts()[0], u"你的打印机为   A4, 210 x 297 毫米."_s);
    f.driver.printChosenPages();
    ASSERT_EQ(f.prompts.asked.size(), 1);
    EXPECT_EQ(f.prompts.asked[0].kind, slp::ScriptedPrompts::Asked::Message);
    EXPECT_EQ(f.prompts.asked[0].text, u"   未找到打印驱动程序\r\n请先安装了打印驱动程序!"_s);
    EXPECT_EQ(f.prompts.asked[0].icon, slp::MessageIcon::Warning);
    try {
        f.driver.printPages(1, 1);
        ADD_FAILURE() << "printing without a printer";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), slp::errnum::NoPrinter);
    }
}

// A spool printer whose second job fails when it is sent.
class FailingPrinter : public slp::print::Printer {
  public:
    explicit FailingPrinter(slp::print::PdfSpoolPrinter& inner) : inner_(inner) {}
    QString deviceName() const override { return inner_.deviceName(); }
    float paperWidth() const override { return inner_.paperWidth(); }
    float paperHeight() const override { return inner_.paperHeight(); }
    float printableWidth() const override { return inner_.printableWidth(); }
    float printableHeight() const override { return inner_.printableHeight(); }
    int paperSizeCode() const override { return inner_.paperSizeCode(); }
    void setPageLayout(const QPageSize& s, QPageLayout::Orientation o) override {
        inner_.setPageLayout(s, o);
    }
    int metricsDpi() const override { return inner_.metricsDpi(); }
    void printPage(const slp::print::Page& page) override { inner_.printPage(page); }
    int aborted = 0;

  protected:
    bool jobOpen() const override { return inner_.jobActive(); }
    void finishJob() override {
        if (++jobs_ == 2) throw slp::Error(slp::print::printerError, u"打印机脱机"_s);
        inner_.endDoc();
    }
    void dropJob() override {
        ++aborted;
        inner_.abortDoc();
    }

  private:
    slp::print::PdfSpoolPrinter& inner_;
    int jobs_ = 0;
};

TEST(PreviewPrinting, APrinterErrorStopsTheRangeAndLeavesNothingOfThatJob) {
    Fixture f;
    FailingPrinter failing(f.printer);
    f.driver.setPrinter(failing);
    const auto grid = fivePageGrid();
    f.open(grid, kSlipModeTable);
    f.prompts.answerInput(u"1"_s);
    f.prompts.answerInput(u"4"_s);
    f.driver.printChosenPages();
    EXPECT_EQ(f.spooled(), QStringList({u"job-0001.pdf"_s}));
    EXPECT_EQ(failing.aborted, 1);
    EXPECT_FALSE(f.printer.jobActive());
    EXPECT_TRUE(
        QDir(f.dir.path() + u"/spool"_s).entryList({u".*part"_s}, QDir::Files | QDir::Hidden).isEmpty());
    ASSERT_EQ(f.prompts.asked.size(), 3);
    EXPECT_EQ(f.prompts.asked[2].text, u"打印机脱机"_s);
    EXPECT_EQ(f.prompts.asked[2].title, u"错误号482"_s);
    EXPECT_EQ(f.prompts.asked[2].icon, slp::MessageIcon::Warning);
}

// A printer that keeps the pages it is sent, on an A4 sheet.
class PageKeeper : public slp::print::Printer {
  public:
    QString deviceName() const override { return u"pages"_s; }
    float paperWidth() const override { return 11906; }
    float paperHeight() const override { return 16838; }
    float printableWidth() const override { return 11906; }
    float printableHeight() const override { return 16838; }
    int paperSizeCode() const override { return 9; }
    void setPageLayout(const QPageSize&, QPageLayout::Orientation) override {}
    int metricsDpi() const override { return 1440; }
    void printPage(const slp::print::Page& page) override { pages.push_back(page); }
    std::vector<slp::print::Page> pages;

  protected:
    bool jobOpen() const override { return false; }
    void finishJob() override {}
    void dropJob() override {}
};

TEST(PreviewPrinting, WrappedSlipsTallerThanCountedFlowOntoMorePagesAndNoneIsLost) {
    const auto grid = preview_test::wideGrid(25);  // 31 columns, too wide for A4
    for (const int perLine : {10, 24, 40}) {
        Fixture f;
        PageKeeper keeper;
        f.driver.setPrinter(keeper);
        f.setLayoutSetting(QString(), u"每行列数"_s, QString::number(perLine));
        f.open(grid, kSlipModeTable);
        ASSERT_EQ(f.driver.layoutKind(), slp::print::PageLayoutKind::WrappedSlips);
        ASSERT_EQ(f.driver.layout().columnsPerLine, perLine);
        const int pages = f.driver.pageCount();
        EXPECT_EQ(f.driver.printPages(1, pages), pages);
        ASSERT_EQ(int(keeper.pages.size()), pages);
        // Every employee's first and last value and the totals are printed, each on the sheet.
        for (int r = 1; r <= 26; ++r) {
            const QString first = r <= 25 ? u"r%1c1"_s.arg(r) : u"t1"_s;
            const QString last = r <= 25 ? u"r%1c30"_s.arg(r) : u"t30"_s;
            int found = 0;
            for (const auto& page : keeper.pages) {
                for (const QString& text : {first, last}) {
                    if (const auto* t = page.find(text)) {
                        ++found;
                        EXPECT_LT(t->at.y() + 180, page.size.height())
                            << perLine << " " << text.toStdString();
                    }
                }
            }
            EXPECT_EQ(found, 2) << perLine << " slots a line, row " << r;
        }
    }
}

TEST(PreviewPrinting, TheGridIsACopyAndANewRequestWaitsForTheNextRedraw) {
    Fixture f;
    auto grid = std::make_unique<slp::data::WageGrid>(preview_test::narrowGrid(101));
    f.open(*grid, kSlipModeTable);
    grid->setText(41, 1, u"changed"_s);
    grid.reset();  // the caller's window closed
    using Key = slp::print::PrintPreviewDriver::PagingKey;
    f.driver.turnPage(Key::PageDown);
    EXPECT_TRUE(f.canvas.recording().findText(u"r41c1"_s));

    // A second request while open: the new grid is drawn with the pages counted for the first.
    auto small = preview_test::narrowGrid(5);
    small.setText(0, 1, u"新项"_s);
    slp::print::PrintPreviewRequest r;
    r.grid = &small;
    r.title = u"班组汇总联"_s;
    r.slipMode = kSlipModeSlips;
    f.driver.setRequest(r);
    EXPECT_EQ(f.driver.pageCount(), 3);
    EXPECT_EQ(f.driver.layoutKind(), slp::print::PageLayoutKind::Table);
    EXPECT_EQ(f.driver.reportKind(), QString());
    f.driver.turnPage(Key::PageUp);
    EXPECT_TRUE(f.canvas.recording().findText(u"新项"_s));
    EXPECT_TRUE(f.canvas.recording().findText(u"班组汇总联"_s));
    EXPECT_TRUE(f.canvas.recording().findText(u"共3页  第1页"_s));
    f.driver.turnPage(Key::End);  // a page past the new grid's end: no rows
    EXPECT_FALSE(f.canvas.recording().findText(u"r5c1"_s));
    EXPECT_EQ(f.driver.windowCaption(), u"工资签收联"_s);

    // A setting change lays the new grid out: slips now, still under the table's settings.
    f.driver.changeOption(PrintOption::HorizontalRules);
    EXPECT_EQ(f.driver.layoutKind(), slp::print::PageLayoutKind::Slips);
    EXPECT_EQ(f.driver.pageCount(), 1);
    EXPECT_EQ(f.driver.reportKind(), QString());
}

TEST(PreviewPrinting, HeadlessPrintingGivesThePreviewsJobs) {
    Fixture f;
    const auto grid = fivePageGrid();
    slp::print::PrintPreviewRequest r;
    r.grid = &grid;
    r.title = u"工资签收联"_s;
    r.leftText = u"单位名称:朔岚机械厂"_s;
    slp::print::HeadlessPrintOptions options;
    options.payDate = u"2000-04-25"_s;
    options.clock = &f.clock;
    const auto result = slp::print::PrintPages(r, f.store, u"0101"_s, f.printer, 2, 3, options);
    EXPECT_EQ(result.pageCount, 5);
    EXPECT_EQ(result.pagesPrinted, 2);
    EXPECT_TRUE(result.messages.isEmpty());
    ASSERT_EQ(f.spooled().size(), 2);
    const QString text = preview_test::pdfText(f.spoolPath(u"job-0001.pdf"_s));
    if (!text.isNull()) {
        EXPECT_TRUE(text.contains(u"第2页"_s));
        EXPECT_TRUE(text.contains(u"2024-03-15"_s));
    }

    // The stored layout is used and nothing is written back.
    f.setOriginSetting(QString(), u"每页行数"_s, u"20"_s);
    const auto all = slp::print::PrintPages(r, f.store, u"0101"_s, f.printer, 1, 0, options);
    EXPECT_EQ(all.pageCount, 9);
    EXPECT_EQ(all.pagesPrinted, 9);
    EXPECT_EQ(f.spooled().size(), 11);
    EXPECT_EQ(f.originSetting(QString(), u"X起始位置"_s), u"<none>"_s);

    // Pages that would lose rows are refused with the preview's message, and nothing is printed.
    f.setOriginSetting(u"工资条"_s, u"每行行高"_s, u"900"_s);
    r.slipMode = kSlipModeSlips;
    options.oneJob = true;
    const auto slips = slp::print::PrintPages(r, f.store, u"0101"_s, f.printer, 1, 0, options);
    EXPECT_EQ(slips.messages,
              QStringList({u"你所选择的行高与每页打印的行数之积\r\n   大于你所设置的打印纸张高度!"_s}));
    EXPECT_EQ(slips.pagesPrinted, 0);
    EXPECT_EQ(f.spooled().size(), 11);

    // A row height or a line count that would put rows on top of one another or print headers alone.
    r.slipMode = 0;
    const struct {
        QString key;
        QString value;
        QString message;
    } wrong[] = {
        {u"每行行高"_s, u"0"_s, u"每行行高为0，必须大于0，请重新设置每行行高"_s},
        {u"每行行高"_s, u"-360"_s, u"每行行高为-360，必须大于0，请重新设置每行行高"_s},
        {u"每页行数"_s, u"0"_s, u"每页行数为0，必须大于0，请重新设置每页行数"_s},
        {u"每页行数"_s, u"32767"_s,
         u"你所选择的行高与每页打印的行数之积\r\n   大于你所设置的打印纸张高度!"_s},
    };
    for (const auto& w : wrong) {
        f.setOriginSetting(QString(), u"每页行数"_s, u"20"_s);
        f.setOriginSetting(QString(), u"每行行高"_s, u"360"_s);
        f.setOriginSetting(QString(), w.key, w.value);
        const auto refused = slp::print::PrintPages(r, f.store, u"0101"_s, f.printer, 1, 0, options);
        EXPECT_EQ(refused.messages, QStringList{w.message}) << w.key.toStdString() << w.value.toStdString();
        EXPECT_EQ(refused.pagesPrinted, 0);
        EXPECT_EQ(f.spooled().size(), 11);
    }
}

}  // namespace

namespace {

// 打印 of more than a few pages reports to a callback made for that print, which may stop it; a print of
// a few pages makes none.
TEST(PreviewPrinting, AManyPagePrintReportsItsProgressAndStopsWhenTold) {
    struct Case {
        QString from, to;
        int stopAfter;  // pages the callback lets through; 0 lets all
        int sources;    // callbacks made
        int printed;    // files spooled
        std::vector<int> told;
    };
    const Case cases[] = {
        {u"1"_s, u"5"_s, 0, 1, 5, {1, 2, 3, 4, 5}},
        {u"2"_s, u"3"_s, 0, 0, 2, {}},
        {u"1"_s, u"4"_s, 0, 0, 4, {}},
        {u"1"_s, u"5"_s, 2, 1, 2, {1, 2}},
    };
    const auto grid = fivePageGrid();
    for (const Case& c : cases) {
        Fixture f;
        f.open(grid, kSlipModeTable);
        ASSERT_EQ(f.driver.pageCount(), 5);
        int sources = 0;
        std::vector<int> told;
        f.driver.setPrintProgressSource([&] {
            ++sources;
            return [&told, &c](int done, int total) {
                EXPECT_EQ(total, 5);
                told.push_back(done);
                return c.stopAfter == 0 || done < c.stopAfter;
            };
        });
        f.prompts.answerInput(c.from);
        f.prompts.answerInput(c.to);
        f.driver.printChosenPages();
        EXPECT_EQ(sources, c.sources) << c.from.toStdString() << '-' << c.to.toStdString();
        EXPECT_EQ(told, c.told);
        EXPECT_EQ(f.spooled().size(), c.printed);
    }
}

// A line a page: as many pages as rows, past what a 16-bit page number holds. The count, the last page, the
// page caption and a range at the end are all counted in 32 bits.
TEST(PreviewPrinting, PagesPastSixteenBitsAreCountedTurnedAndPrinted) {
    for (const int pages : {32767, 32768, 65535, 65536, 70001}) {
        SCOPED_TRACE(pages);
        Fixture f;
        const auto grid = preview_test::narrowGrid(pages - 1);
        f.open(grid, kSlipModeTable);
        f.prompts.answerInput(u"1"_s);
        f.driver.askSetting(slp::print::PageSetting::LinesPerPage);
        ASSERT_EQ(f.driver.pageCount(), pages);
        EXPECT_EQ(f.driver.statusTexts()[3], u"共%1页"_s.arg(pages));
        EXPECT_TRUE(f.driver.turnPage(slp::print::PrintPreviewDriver::PagingKey::End));
        EXPECT_EQ(f.driver.currentPage(), pages);
        EXPECT_FALSE(f.driver.turnPage(slp::print::PrintPreviewDriver::PagingKey::PageDown));
        EXPECT_TRUE(f.driver.turnPage(slp::print::PrintPreviewDriver::PagingKey::PageUp));
        EXPECT_EQ(f.driver.currentPage(), pages - 1);

        f.prompts.answerInput(QString::number(pages - 1));
        f.prompts.answerInput(QString::number(pages + 5));
        f.driver.printChosenPages();
        EXPECT_EQ(f.driver.printFromPage(), pages - 1);
        EXPECT_EQ(f.driver.printToPage(), pages + 5);
        ASSERT_EQ(f.spooled().size(), 2);
        const QString last = preview_test::pdfText(f.spoolPath(f.spooled().back()));
        if (!last.isNull()) {
            EXPECT_TRUE(last.contains(u"第%1页"_s.arg(pages))) << last.toStdString();
        }
    }
}

}  // namespace
