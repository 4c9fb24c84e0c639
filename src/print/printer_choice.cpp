#include "print/printer_choice.h"

#include <stdexcept>

#include "basic/error.h"
#include "print/page_recorder.h"
#include "print/pdf_print_choice.h"
#include "print/pdf_spool_printer.h"
#include "print/system_printer.h"
#include "settings/store.h"

using namespace Qt::StringLiterals;

namespace slp::print {

namespace {
const QString kSection = u"PdfPrinter"_s;
const QString kKey = u"Printer"_s;
}  // namespace

QStringList printerChoices() {
    return systemPrinterNames() << pdfPrinterName();
}

QString chosenPrinter(const settings::Store& store) {
    const QString remembered = store.read(settings::appComponent(), kSection, kKey, QString());
    if (remembered == pdfPrinterName()) return remembered;
    const QStringList system = systemPrinterNames();
    if (!remembered.isEmpty() && system.contains(remembered)) return remembered;
    const QString fallback = defaultSystemPrinterName();
    if (!fallback.isEmpty()) return fallback;
    return system.isEmpty() ? pdfPrinterName() : system.front();
}

void saveChosenPrinter(settings::Store& store, const QString& choice) {
    store.write(settings::appComponent(), kSection, kKey, choice);
}

namespace {

// The windows' PDF printer: a file a print, unless the clerk chose a file a job.
std::unique_ptr<Printer> openPdfPrinter(const PdfPrintSetup& setup) {
    auto printer = std::make_unique<PdfSpoolPrinter>(setup.folder, setup.paper, setup.orientation);
    printer->setFilePerJob(setup.filePerJob);
    printer->setMarginMm(setup.marginMm);
    return printer;
}

}  // namespace

std::unique_ptr<Printer> openChosenPrinter(const settings::Store& store) {
    const QString choice = chosenPrinter(store);
    if (choice != pdfPrinterName()) return openSystemPrinter(choice);
    return openPdfPrinter(loadPdfPrintSetup(store));
}

void applyPrinterChoice(settings::Store& store, ChosenPrinter& printer, const QString& choice,
                        const PdfPrintSetup& setup) {
    std::unique_ptr<Printer> opened =
        choice == pdfPrinterName() ? openPdfPrinter(setup) : openSystemPrinter(choice);
    savePdfPrintSetup(store, setup);
    saveChosenPrinter(store, choice);
    printer.replace(std::move(opened));
}

ChosenPrinter::ChosenPrinter(std::unique_ptr<Printer> printer) : printer_(std::move(printer)) {
    if (!printer_) throw std::invalid_argument("ChosenPrinter without a printer");
}

ChosenPrinter::~ChosenPrinter() = default;

std::unique_ptr<PageRecorder> ChosenPrinter::newRecorder() const {
    return printer_->newRecorder();
}

void ChosenPrinter::replace(std::unique_ptr<Printer> printer) {
    if (!printer) throw std::invalid_argument("ChosenPrinter without a printer");
    if (jobActive()) throw Error(printerError, u"打印作业进行中,不能更换打印机"_s);
    printer_ = std::move(printer);
}

}  // namespace slp::print
