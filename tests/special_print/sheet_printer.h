#pragma once
// A printer for the special print tests: it keeps every job as its pages, recorded with the fixed metrics
// of the recording target, and takes the page size setPageLayout gives it.
#include <QPageSize>
#include <memory>
#include <vector>

#include "basic/error.h"
#include "print/page.h"
#include "print/printer.h"
#include "recording_print_target.h"

namespace special_test {

using namespace Qt::StringLiterals;
using slp::print::Page;
using slp::print::RecordingPrintTarget;

inline constexpr QSizeF kA4(11906, 16838);

// A printer keeping its jobs as pages (fixed metrics), its page set by setPageLayout.
class SheetPrinter : public slp::print::Printer {
  public:
    QString deviceName() const override { return u"测试打印机"_s; }
    float paperWidth() const override { return float(size.width()); }
    float paperHeight() const override { return float(size.height()); }
    float printableWidth() const override { return paperWidth(); }
    float printableHeight() const override { return paperHeight(); }
    int paperSizeCode() const override { return 9; }
    void setPageLayout(const QPageSize& page, QPageLayout::Orientation orientation) override {
        size = page.size(QPageSize::Inch) * 1440;
        if (orientation == QPageLayout::Landscape) size.transpose();
        layouts.push_back(size);
    }
    int metricsDpi() const override { return 1440; }
    void printPage(const Page& page) override {
        if (failAtPage > 0 && ++sent_ == failAtPage) throw slp::Error(482, u"打印机错误"_s);
        if (!open_) jobs.emplace_back();
        open_ = true;
        jobs.back().push_back(page);
    }
    std::unique_ptr<slp::print::PageRecorder> newRecorder() const override {
        RecordingPrintTarget::Setup s;
        s.kind = slp::print::TargetKind::Printer;
        s.height = paperHeight();
        auto r = std::make_unique<RecordingPrintTarget>(s);
        r->setSheet({slp::print::TargetKind::Printer, size, paperHeight(), paperWidth(), paperWidth(), 1440});
        return r;
    }
    QSizeF size = kA4;
    std::vector<QSizeF> layouts;
    // The jobs, shared so that a test still reads them after the window dropped its printer.
    std::shared_ptr<std::vector<std::vector<Page>>> log = std::make_shared<std::vector<std::vector<Page>>>();
    std::vector<std::vector<Page>>& jobs = *log;
    int failAtPage = 0;
    int dropped = 0;

  protected:
    bool jobOpen() const override { return open_; }
    void finishJob() override { open_ = false; }
    void dropJob() override {
        open_ = false;
        ++dropped;
        jobs.pop_back();
    }

  private:
    bool open_ = false;
    int sent_ = 0;
};

}  // namespace special_test
