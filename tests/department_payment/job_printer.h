#pragma once
// A printer for the payment table tests: it keeps every print job as its pages, recorded with the fixed
// metrics of the recording target (a full-width character size x 20 twips wide, a line size x 20 high).
#include <memory>
#include <vector>

#include "basic/error.h"
#include "print/page.h"
#include "print/printer.h"
#include "recording_print_target.h"

namespace payment_test {

// What the printers of a test printed: their jobs as pages, finished or dropped.
struct JobLog {
    std::vector<std::vector<slp::print::Page>> jobs;
    int finished = 0;
    int dropped = 0;
};

class JobPrinter : public slp::print::Printer {
  public:
    explicit JobPrinter(float printableHeight = 9540,
                        std::shared_ptr<JobLog> log = std::make_shared<JobLog>())
        : log_(std::move(log)),
          jobs(log_->jobs),
          finished(log_->finished),
          dropped(log_->dropped),
          height_(printableHeight) {}

    QString deviceName() const override { return QStringLiteral("测试打印机"); }
    float paperWidth() const override { return width; }
    float paperHeight() const override { return height_; }
    float printableWidth() const override { return width; }
    float printableHeight() const override { return height_; }
    int paperSizeCode() const override { return 9; }
    void setPageLayout(const QPageSize&, QPageLayout::Orientation) override {}
    int metricsDpi() const override { return 1440; }
    void printPage(const slp::print::Page& page) override {
        if (failAtPage > 0 && ++sent_ == failAtPage) throw slp::Error(482, QStringLiteral("打印机错误"));
        if (!open_) jobs.emplace_back();
        open_ = true;
        jobs.back().push_back(page);
    }
    std::unique_ptr<slp::print::PageRecorder> newRecorder() const override {
        slp::print::RecordingPrintTarget::Setup s;
        s.kind = slp::print::TargetKind::Printer;
        s.height = height_;
        return std::make_unique<slp::print::RecordingPrintTarget>(s);
    }

  private:
    std::shared_ptr<JobLog> log_;

  public:
    std::vector<std::vector<slp::print::Page>>& jobs;  // finished and under way
    int& finished;
    int& dropped;
    int failAtPage = 0;   // the n-th page sent fails (0: none)
    float width = 11906;  // of the paper and its printable area, twips

  protected:
    bool jobOpen() const override { return open_; }
    void finishJob() override {
        open_ = false;
        ++finished;
    }
    void dropJob() override {
        open_ = false;
        ++dropped;
        jobs.pop_back();
    }

  private:
    float height_;
    bool open_ = false;
    int sent_ = 0;
};

}  // namespace payment_test
