#pragma once
// A printer that records: its target is a recording target of the printer kind with fixed metrics (a
// full-width character FontSize x 20 twips wide, others half, a line FontSize x 20 high), and every page
// break, job end, dropped job and page size is logged with the number of drawing calls made before it.
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "basic/error.h"
#include "print/page.h"
#include "print/printer.h"
#include "recording_print_target.h"

namespace strip_test {

class FailingTarget : public slp::print::RecordingPrintTarget {
  public:
    using RecordingPrintTarget::RecordingPrintTarget;
    FailingTarget(const FailingTarget&) = default;
    ~FailingTarget() override {
        if (finished) finished(*this);
    }
    QString failOn;                                      // printing exactly this text throws
    std::function<void(const FailingTarget&)> finished;  // told when the job's recorder goes

  protected:
    void drawText(float x, float y, const QString& text) override {
        if (!failOn.isEmpty() && text == failOn) throw slp::Error(482, QStringLiteral("打印机错误"));
        RecordingPrintTarget::drawText(x, y, text);
    }
};

// A printer whose pages are recorded with fixed metrics; every page sent, job end, dropped job and page
// size is logged with the number of drawing calls made before it, and the pages are kept.
class RecordingPrinter : public slp::print::Printer {
  public:
    enum class Event { Page, EndDoc, AbortDoc, PageLayout };
    struct Logged {
        Event event;
        size_t callsBefore;  // drawing calls recorded before the event
    };

    QString deviceName() const override { return QStringLiteral("recording"); }
    float paperWidth() const override { return float(layout_.fullRect(QPageLayout::Point).width() * 20); }
    float paperHeight() const override { return float(layout_.fullRect(QPageLayout::Point).height() * 20); }
    float printableWidth() const override { return paperWidth(); }
    float printableHeight() const override { return paperHeight(); }
    int paperSizeCode() const override { return 9; }
    int metricsDpi() const override { return 1440; }
    void setPageLayout(const QPageSize& size, QPageLayout::Orientation orientation) override {
        if (jobActive()) throw slp::Error(slp::print::printerError, QStringLiteral("job under way"));
        layout_ = QPageLayout(size, orientation, QMarginsF());
        log.push_back({Event::PageLayout, callCount()});
    }
    // Every job draws on a recorder of its own. recording() is the one drawn on now, or a copy of the
    // last one after its job; a text to fail on set there before printing passes on to the next.
    std::unique_ptr<slp::print::PageRecorder> newRecorder() const override {
        slp::print::RecordingPrintTarget::Setup s;
        s.kind = slp::print::TargetKind::Printer;
        auto made = std::make_unique<FailingTarget>(s);
        made->failOn = kept_ ? kept_->failOn : QString();
        made->finished = [this](const FailingTarget& done) {
            kept_ = std::make_unique<FailingTarget>(done);
            kept_->finished = nullptr;
            live_ = nullptr;
        };
        live_ = made.get();
        return made;
    }
    void printPage(const slp::print::Page& page) override {
        log.push_back({Event::Page, callCount()});
        pages.push_back(page);
        open_ = true;
    }

    FailingTarget& recording() {
        if (live_) return *live_;
        if (!kept_) {
            slp::print::RecordingPrintTarget::Setup s;
            s.kind = slp::print::TargetKind::Printer;
            kept_ = std::make_unique<FailingTarget>(s);
        }
        return *kept_;
    }
    int count(Event e) const {
        int n = 0;
        for (const auto& l : log) n += l.event == e ? 1 : 0;
        return n;
    }
    std::vector<Logged> log;
    std::vector<slp::print::Page> pages;

  protected:
    bool jobOpen() const override { return open_; }
    void finishJob() override {
        log.push_back({Event::EndDoc, callCount()});
        open_ = false;
    }
    void dropJob() override {
        log.push_back({Event::AbortDoc, callCount()});
        open_ = false;
    }

  private:
    size_t callCount() { return static_cast<const FailingTarget&>(recording()).calls().size(); }

    QPageLayout layout_{QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()};
    bool open_ = false;
    mutable FailingTarget* live_ = nullptr;
    mutable std::unique_ptr<FailingTarget> kept_;
};

}  // namespace strip_test
