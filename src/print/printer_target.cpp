#include "print/printer_target.h"

#include <cmath>

#include "print/printer.h"

namespace slp::print {

QSizeF paperSizeTwips(const QPageLayout& layout) {
    const QPageSize size = layout.pageSize();
    double perUnit = 20;  // points
    switch (size.definitionUnits()) {
        case QPageSize::Millimeter:
            perUnit = 1440 / 25.4;
            break;
        case QPageSize::Inch:
            perUnit = 1440;
            break;
        case QPageSize::Pica:
            perUnit = 240;
            break;
        case QPageSize::Didot:
            perUnit = 0.375 * 1440 / 25.4;
            break;
        case QPageSize::Cicero:
            perUnit = 4.5 * 1440 / 25.4;
            break;
        case QPageSize::Point:
            break;
    }
    const QSizeF defined = size.definitionSize();
    QSizeF twips(std::round(defined.width() * perUnit), std::round(defined.height() * perUnit));
    if (layout.orientation() == QPageLayout::Landscape) twips.transpose();
    return twips;
}

float PrinterPrintTarget::Height() const {
    return printer_.printableHeight();
}
void PrinterPrintTarget::EndDoc() {
    printer_.endDoc();
}
float PrinterPrintTarget::PrinterPaperWidth() const {
    return printer_.paperWidth();
}
float PrinterPrintTarget::PrinterPrintableWidth() const {
    return printer_.printableWidth();
}

}  // namespace slp::print
