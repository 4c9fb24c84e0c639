#include "print/no_printer.h"

#include "basic/error.h"
#include "print/paper_size_name.h"
#include "print/system_printer.h"

using namespace Qt::StringLiterals;

namespace slp::print {

NoInstalledPrinter::NoInstalledPrinter(const QPageSize& size, QPageLayout::Orientation orientation)
    : layout_(size, orientation, QMarginsF()) {}

float NoInstalledPrinter::paperWidth() const {
    return float(layout_.fullRect(QPageLayout::Point).width() * 20);
}

float NoInstalledPrinter::paperHeight() const {
    return float(layout_.fullRect(QPageLayout::Point).height() * 20);
}

int NoInstalledPrinter::paperSizeCode() const {
    return paperSizeCodeOf(layout_.pageSize());
}

void NoInstalledPrinter::setPageLayout(const QPageSize& size, QPageLayout::Orientation orientation) {
    layout_ = QPageLayout(size, orientation, QMarginsF());
}

void NoInstalledPrinter::printPage(const Page&) {
    throw Error(errnum::NoPrinter, noPrinterDescription());
}

bool isMissingPrinter(const Printer& printer) {
    return dynamic_cast<const NoInstalledPrinter*>(&printer);
}

QString missingPrinterMessage() {
    return u"   未找到打印驱动程序\r\n请先安装了打印驱动程序!"_s;
}

}  // namespace slp::print
