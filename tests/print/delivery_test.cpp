// Sending a report's pages to a real PDF spool printer: which jobs are written when a page cannot be
// drawn, a blank page, a range past the end and a missing printer.
#include "print/reports/delivery.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "basic/error.h"
#include "print/no_printer.h"
#include "print/pdf_spool_printer.h"
#include "print/print_target.h"
#include "print/reports/report.h"

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
        int cancelAt;  // the progress says stop after this step (0: never)
        int filesWritten;
        int returned;  // -1: throws
    } cases[] = {
        {"a job a page", {}, {}, 0, 0, 0, 5, 5},
        {"a range past the end stops at the last page", {4, 99}, {}, 0, 0, 0, 2, 2},
        {"a first page after the last prints nothing", {4, 3}, {}, 0, 0, 0, 0, 0},
        {"a blank page begins no job", {}, {}, 0, 3, 0, 4, 5},
        {"pages before the failing one stay sent", {}, {}, 3, 0, 0, 2, -1},
        {"drawn first: a failing page sends nothing",
         {},
         splitAs(JobSplit::JobPerPage, true),
         3,
         0,
         0,
         0,
         -1},
        {"one job: a failing page drops the whole job", {}, splitAs(JobSplit::OneJob), 5, 0, 0, 0, -1},
        {"one job", {2, 5}, splitAs(JobSplit::OneJob), 0, 0, 0, 1, 4},
        {"cancelled: the jobs that ended stay", {}, {}, 0, 0, 2, 2, 2},
        {"cancelled: one job leaves nothing", {}, splitAs(JobSplit::OneJob), 0, 0, 4, 0, 0},
        {"cancelled while sending what was drawn first",
         {},
         splitAs(JobSplit::JobPerPage, true),
         0,
         0,
         7,
         2,
         2},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        PdfSpoolPrinter printer(dir.path());
        NumberedReport report;
        report.failAt = c.failAt;
        report.blankAt = c.blankAt;
        DeliveryOptions options = c.options;
        if (c.cancelAt > 0) options.progress = [&c](int done, int) { return done < c.cancelAt; };
        if (c.returned < 0) {
            EXPECT_THROW(deliver(report, printer, c.range, options), slp::Error) << c.name;
        } else {
            EXPECT_EQ(deliver(report, printer, c.range, options), c.returned) << c.name;
        }
        EXPECT_EQ(printer.writtenFiles().size(), c.filesWritten) << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), c.filesWritten)
            << c.name << ": no part left";
        EXPECT_FALSE(printer.jobActive()) << c.name;
    }
}

TEST(Delivery, APrintToFilesIsOneFileNamedForItOrNumbered) {
    QTemporaryDir dir;
    PdfSpoolPrinter printer(dir.path());
    printer.setFilePerJob(false);  // as the windows print unless the clerk chose a file a job
    NumberedReport report;
    DeliveryOptions named;
    named.fileName = u"工资签收联_2000-04_153012"_s;
    EXPECT_EQ(deliver(report, printer, {}, named), 5);
    EXPECT_EQ(deliver(report, printer, {2, 3}, named), 2);
    EXPECT_EQ(deliver(report, printer, {1, 1}), 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
              QStringList({u"job-0001.pdf"_s, u"工资签收联_2000-04_153012.pdf"_s,
                           u"工资签收联_2000-04_153012_2.pdf"_s}));
    EXPECT_EQ(printer.writtenFiles().size(), 3);
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
