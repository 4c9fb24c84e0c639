#pragma once
// Printing a grid without a window: the preview driver's opening (settings of the report kind, layout,
// page count) and its printing of a page range, exactly as the preview's 打印 would print them, without
// a picture. For the
// command line ("slpayprn print wage-table|slips --pdf-dir DIR") and the measurements.
#include <QString>
#include <QStringList>

#include "app/print_preview/print_preview_request.h"

namespace slp {
class Clock;
}
namespace slp::settings {
class Store;
}

namespace slp::print {

class Printer;

struct HeadlessPrintOptions {
    QString payDate;               // the host's pay date (year-month-day), printed where the pages show it
    const Clock* clock = nullptr;  // today's date in the footers; none: the system clock
    // The whole range as one print job (one file on the PDF spool printer) instead of a job a page.
    bool oneJob = false;
};

struct HeadlessPrintResult {
    int pageCount = 0;     // pages of the layout
    int pagesPrinted = 0;  // pages sent to the printer
    // What the preview would have shown in message boxes while opening and printing: the too-tall
    // message, warnings of refused fonts.
    QStringList messages;
    // What the clerk is told of how the pages were laid out (fewer items a line than set); no refusal.
    QStringList notes;
};

// Prints pages `from` to `to` of the request's grid on `printer` with the settings of `unitCode` in
// `store`, which are read and not written. `to` below 1 means the last page. Pages past the last are
// not printed; a first page after the last prints nothing. The request's grid is used in place, not
// copied. Throws slp::Error for a printer that fails (the failing job leaves nothing behind).
HeadlessPrintResult PrintPages(const PrintPreviewRequest& request, settings::Store& store,
                               const QString& unitCode, Printer& printer, int from, int to,
                               const HeadlessPrintOptions& options = {});

}  // namespace slp::print
