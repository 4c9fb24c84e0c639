// Sending a report's pages to a real PDF spool printer: which jobs are written when a page cannot be
// drawn, a blank page, a range past the end and a missing printer.
#include "print/delivery.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "basic/error.h"
#include "print/no_printer.h"
#include "print/pdf_spool_printer.h"
#include "print/print_target.h"
#include "print/report.h"

using namespace Qt::StringLiterals;
using namespace slp::print;

namespace {

// Five pages with their number on them; page `failAt` cannot be drawn, page `blankAt` has nothing on it.
class NumberedReport : public Report {
  public:
    int failAt = 0;
    int blankAt = 0;
    int drawn = 0;

    int pageCount() const override { return 5; }
    void draw(int page, PrintTarget& target) override {
        ++drawn;
        if (page == failAt) throw slp::Error(482, u"打印机错误"_s);
        if (page == blankAt) return;
        target.SetCurrentX(1440);
        target.SetCurrentY(1440);
        target.Print(u"第%1页"_s.arg(page));
    }
};

TEST(Delivery, JobsWrittenWhenAPageFailsOrIsBlank) {
    const struct {
        const char* name;
        PageRange range;
        DeliveryOptions options;
        int failAt;
        int blankAt;
        int filesWritten;
        int returned;  // -1: throws
    } cases[] = {
        {"a job a page", {}, {}, 0, 0, 5, 5},
        {"a range past the end stops at the last page", {4, 99}, {}, 0, 0, 2, 2},
        {"a first page after the last prints nothing", {4, 3}, {}, 0, 0, 0, 0},
        {"a blank page begins no job", {}, {}, 0, 3, 4, 5},
        {"pages before the failing one stay sent", {}, {}, 3, 0, 2, -1},
        {"drawn first: a failing page sends nothing", {}, {JobSplit::JobPerPage, true}, 3, 0, 0, -1},
        {"one job: a failing page drops the whole job", {}, {JobSplit::OneJob}, 5, 0, 0, -1},
        {"one job", {2, 5}, {JobSplit::OneJob}, 0, 0, 1, 4},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        PdfSpoolPrinter printer(dir.path());
        NumberedReport report;
        report.failAt = c.failAt;
        report.blankAt = c.blankAt;
        if (c.returned < 0) {
            EXPECT_THROW(deliver(report, printer, c.range, c.options), slp::Error) << c.name;
        } else {
            EXPECT_EQ(deliver(report, printer, c.range, c.options), c.returned) << c.name;
        }
        EXPECT_EQ(printer.writtenFiles().size(), c.filesWritten) << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), c.filesWritten)
            << c.name << ": no part left";
        EXPECT_FALSE(printer.jobActive()) << c.name;
    }
}

TEST(Delivery, AMissingPrinterIsToldBeforeAnythingIsDrawn) {
    NoInstalledPrinter printer;
    NumberedReport report;
    try {
        deliver(report, printer, {});
        FAIL() << "no error";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), 484);
    }
    EXPECT_EQ(report.drawn, 0);
}

}  // namespace
