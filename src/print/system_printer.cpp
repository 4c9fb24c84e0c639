#include "print/system_printer.h"

#include <QPrinterInfo>

#include "basic/error.h"
#include "print/page_painter.h"

using namespace Qt::StringLiterals;

namespace slp::print {

QStringList systemPrinterNames() {
    return QPrinterInfo::availablePrinterNames();
}

QString defaultSystemPrinterName() {
    return QPrinterInfo::defaultPrinterName();
}

QString noPrinterDescription() {
    return u"从系统中获取打印机信息时出错。请确认打印机已正确安装。"_s;
}

std::unique_ptr<Printer> openSystemPrinter(const QString& name) {
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty()) throw Error(errnum::NoPrinter, noPrinterDescription());
    QPrinterInfo chosen;
    if (name.isEmpty()) {
        chosen = QPrinterInfo::defaultPrinter();
        if (chosen.isNull()) chosen = printers.first();
    } else {
        chosen = QPrinterInfo::printerInfo(name);
    }
    if (chosen.isNull()) throw Error(errnum::NoPrinter, noPrinterDescription());
    return std::make_unique<SystemPrinter>(chosen);
}

SystemPrinter::SystemPrinter(const QPrinterInfo& info) : printer_(info, QPrinter::HighResolution) {
    if (info.isNull()) throw Error(errnum::NoPrinter, noPrinterDescription());
}

SystemPrinter::~SystemPrinter() {
    if (jobOpen()) dropJob();
}

float SystemPrinter::paperWidth() const {
    return float(paperSizeTwips(printer_.pageLayout()).width());
}
float SystemPrinter::paperHeight() const {
    return float(paperSizeTwips(printer_.pageLayout()).height());
}
float SystemPrinter::printableWidth() const {
    return float(printer_.pageLayout().paintRect(QPageLayout::Point).width() * 20);
}
float SystemPrinter::printableHeight() const {
    return float(printer_.pageLayout().paintRect(QPageLayout::Point).height() * 20);
}

void SystemPrinter::setPageLayout(const QPageSize& size, QPageLayout::Orientation orientation) {
    if (jobActive()) throw Error(printerError, u"打印作业进行中,不能更改纸张"_s);
    printer_.setPageSize(size);
    printer_.setPageOrientation(orientation);
}

int SystemPrinter::metricsDpi() const {
    const int dpi = printer_.resolution();
    return dpi > 0 ? dpi : 600;
}

void SystemPrinter::printPage(const Page& page) {
    if (!painter_.isActive()) {
        if (!painter_.begin(&printer_)) {
            throw Error(printerError, u"打印机“%1”无法开始打印"_s.arg(printer_.printerName()));
        }
    } else {
        printer_.newPage();
    }
    paint(page, painter_);
}

void SystemPrinter::finishJob() {
    painter_.end();
}

void SystemPrinter::dropJob() {
    printer_.abort();
    painter_.end();
}

}  // namespace slp::print
