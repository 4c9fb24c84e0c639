#pragma once
// The system's printers through Qt PrintSupport (CUPS on Linux).
#include <QPainter>
#include <QPrinter>
#include <QStringList>
#include <memory>

#include "print/paper_size_name.h"
#include "print/printer.h"

class QPrinterInfo;

namespace slp::print {

// The installed printers' names, and the default one (empty when there is none).
QStringList systemPrinterNames();
QString defaultSystemPrinterName();

// Opens a system printer by name, or the default printer (the first installed one when none is the
// default) for an empty name. With no printer installed, or none of that name, throws slp::Error with
// number 484 (slp::errnum::NoPrinter) before anything is sent.
std::unique_ptr<Printer> openSystemPrinter(const QString& name = QString());

// The description of error 484.
QString noPrinterDescription();

class SystemPrinter : public Printer {
  public:
    explicit SystemPrinter(const QPrinterInfo& info);
    ~SystemPrinter() override;
    SystemPrinter(const SystemPrinter&) = delete;
    SystemPrinter& operator=(const SystemPrinter&) = delete;

    // The Qt printer, for the printer setup dialog.
    QPrinter& qtPrinter() { return printer_; }

    QString deviceName() const override { return printer_.printerName(); }
    float paperWidth() const override;
    float paperHeight() const override;
    float printableWidth() const override;
    float printableHeight() const override;
    int paperSizeCode() const override { return paperSizeCodeOf(printer_.pageLayout().pageSize()); }
    void setPageLayout(const QPageSize& size, QPageLayout::Orientation orientation) override;
    int metricsDpi() const override;
    void printPage(const Page& page) override;

  protected:
    bool jobOpen() const override { return painter_.isActive(); }
    void finishJob() override;
    void dropJob() override;

  private:
    QPrinter printer_;
    QPainter painter_;
};

}  // namespace slp::print
