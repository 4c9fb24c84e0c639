#pragma once
// The printer the preview measures when the system has none installed: a sheet of A4 (or the size the
// user sets) to lay the pages out on, and error 484 the moment anything is to be printed, before any
// job exists.
#include "print/printer.h"

namespace slp::print {

class NoInstalledPrinter : public Printer {
  public:
    explicit NoInstalledPrinter(const QPageSize& size = QPageSize(QPageSize::A4),
                                QPageLayout::Orientation orientation = QPageLayout::Portrait);

    QString deviceName() const override { return QString(); }
    float paperWidth() const override;
    float paperHeight() const override;
    float printableWidth() const override { return paperWidth(); }
    float printableHeight() const override { return paperHeight(); }
    int paperSizeCode() const override;
    void setPageLayout(const QPageSize& size, QPageLayout::Orientation orientation) override;
    int metricsDpi() const override { return 1440; }
    // Throws slp::Error 484 (no printer installed).
    void printPage(const Page& page) override;

  protected:
    bool jobOpen() const override { return false; }
    void finishJob() override {}
    void dropJob() override {}

  private:
    QPageLayout layout_;
};

// Whether the printer stands for a missing one.
bool isMissingPrinter(const Printer& printer);

// The message of a missing printer: "   未找到打印驱动程序" CR LF "请先安装了打印驱动程序!"
QString missingPrinterMessage();

}  // namespace slp::print
