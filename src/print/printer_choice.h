#pragma once
// The printer the windows print on: a system printer or "打印到PDF文件" (a PDF file a job in the
// remembered folder, on the remembered paper), the user's choice remembered in the settings. With no
// system printer installed, printing to PDF files is the choice, so a fresh machine prints at once.
#include <QString>
#include <QStringList>
#include <memory>

#include "print/printer.h"

namespace slp::settings {
class Store;
}

namespace slp::print {

// The choices: the system's printers, then pdfPrinterName().
QStringList printerChoices();

// The remembered choice when it is still offered; otherwise the system's default printer, or
// pdfPrinterName() when none is installed.
QString chosenPrinter(const settings::Store& store);
// Remembers the choice. Throws slp::Error when the settings cannot be written.
void saveChosenPrinter(settings::Store& store, const QString& choice);

// Opens the chosen printer: a PdfSpoolPrinter on the remembered PDF setup, or the system printer.
// Throws slp::Error when the PDF folder cannot be made.
std::unique_ptr<Printer> openChosenPrinter(const settings::Store& store);

struct PdfPrintSetup;
class ChosenPrinter;
// The printer setup's OK: remembers the choice and the PDF setup, and puts the chosen printer, opened
// afresh on that setup, in the place of the one `printer` holds. Throws slp::Error (nothing is changed
// then) when the printer cannot be opened or the settings cannot be written.
void applyPrinterChoice(settings::Store& store, ChosenPrinter& printer, const QString& choice,
                        const PdfPrintSetup& setup);

// The printer a window keeps while the user may choose another: it prints on the printer it holds, which
// replace() exchanges between jobs (the choice of the printer setup).
class ChosenPrinter : public Printer {
  public:
    explicit ChosenPrinter(std::unique_ptr<Printer> printer);
    ~ChosenPrinter() override;
    Printer& current() { return *printer_; }
    const Printer& current() const { return *printer_; }
    // Throws slp::Error while a job is under way.
    void replace(std::unique_ptr<Printer> printer);

    QString deviceName() const override { return printer_->deviceName(); }
    float paperWidth() const override { return printer_->paperWidth(); }
    float paperHeight() const override { return printer_->paperHeight(); }
    float printableWidth() const override { return printer_->printableWidth(); }
    float printableHeight() const override { return printer_->printableHeight(); }
    int paperSizeCode() const override { return printer_->paperSizeCode(); }
    void setPageLayout(const QPageSize& size, QPageLayout::Orientation orientation) override {
        printer_->setPageLayout(size, orientation);
    }
    int metricsDpi() const override { return printer_->metricsDpi(); }
    void printPage(const Page& page) override { printer_->printPage(page); }
    std::unique_ptr<PageRecorder> newRecorder() const override;
    QString outputFolder() const override { return printer_->outputFolder(); }
    bool oneFilePerPrint() const override { return printer_->oneFilePerPrint(); }
    void nameNextFiles(const QString& baseName) override { printer_->nameNextFiles(baseName); }
    QStringList writtenFiles() const override { return printer_->writtenFiles(); }

  protected:
    bool jobOpen() const override { return printer_->jobActive(); }
    void finishJob() override { printer_->endDoc(); }
    void dropJob() override { printer_->abortDoc(); }

  private:
    std::unique_ptr<Printer> printer_;
};

}  // namespace slp::print
