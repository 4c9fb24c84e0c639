#pragma once
// A printer that records: its target is a recording target of the printer kind with fixed metrics (a
// full-width character FontSize x 20 twips wide, others half, a line FontSize x 20 high), and every page
// break, job end, dropped job and page size is logged with the number of drawing calls made before it.
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QStringList>
#include <vector>

#include "basic/error.h"
#include "print/printer.h"
#include "print/recording_print_target.h"

namespace strip_test {

class FailingTarget : public slp::print::RecordingPrintTarget {
  public:
    using RecordingPrintTarget::RecordingPrintTarget;
    QString failOn;  // printing exactly this text throws

  protected:
    void drawText(float x, float y, const QString& text) override {
        if (!failOn.isEmpty() && text == failOn) throw slp::Error(482, QStringLiteral("打印机错误"));
        RecordingPrintTarget::drawText(x, y, text);
    }
};

class RecordingPrinter : public slp::print::Printer {
  public:
    enum class Event { NewPage, EndDoc, AbortDoc, PageLayout };
    struct Logged {
        Event event;
        size_t callsBefore;  // drawing calls recorded before the event
    };

    RecordingPrinter() : target_(printerSetup()) {}

    QString deviceName() const override { return QStringLiteral("recording"); }
    float paperWidth() const override { return float(layout_.fullRect(QPageLayout::Point).width() * 20); }
    float paperHeight() const override { return float(layout_.fullRect(QPageLayout::Point).height() * 20); }
    float printableWidth() const override { return paperWidth(); }
    float printableHeight() const override { return paperHeight(); }
    int paperSizeCode() const override { return 9; }
    void setPageLayout(const QPageSize& size, QPageLayout::Orientation orientation) override {
        if (jobActive()) throw slp::Error(slp::print::printerError, QStringLiteral("job under way"));
        layout_ = QPageLayout(size, orientation, QMarginsF());
        log.push_back({Event::PageLayout, target_.calls().size()});
    }
    slp::print::PrintTarget& target() override { return target_; }
    bool jobActive() const override { return target_.calls().size() > jobStart_ || pageBroken_; }
    void newPage() override {
        log.push_back({Event::NewPage, target_.calls().size()});
        pageBroken_ = true;
        target_.SetCurrentX(0);
        target_.SetCurrentY(0);
    }
    void endDoc() override {
        if (!jobActive()) return;
        log.push_back({Event::EndDoc, target_.calls().size()});
        endJob();
    }
    void abortDoc() override {
        if (!jobActive()) return;
        log.push_back({Event::AbortDoc, target_.calls().size()});
        endJob();
    }

    FailingTarget& recording() { return target_; }
    int count(Event e) const {
        int n = 0;
        for (const auto& l : log) n += l.event == e ? 1 : 0;
        return n;
    }
    std::vector<Logged> log;

  private:
    static slp::print::RecordingPrintTarget::Setup printerSetup() {
        slp::print::RecordingPrintTarget::Setup s;
        s.kind = slp::print::TargetKind::Printer;
        return s;
    }
    void endJob() {
        jobStart_ = target_.calls().size();
        pageBroken_ = false;
    }

    FailingTarget target_;
    QPageLayout layout_{QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()};
    size_t jobStart_ = 0;
    bool pageBroken_ = false;
};

}  // namespace strip_test
