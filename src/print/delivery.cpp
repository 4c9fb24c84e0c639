#include "print/delivery.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "basic/error.h"
#include "print/no_printer.h"
#include "print/page.h"
#include "print/page_recorder.h"
#include "print/printer.h"
#include "print/report.h"
#include "print/system_printer.h"
#include "settings/store.h"

namespace slp::print {

int deliver(Report& report, Printer& printer, PageRange range, DeliveryOptions options) {
    if (isMissingPrinter(printer)) throw Error(errnum::NoPrinter, noPrinterDescription());
    const int first = std::max(range.first, 1);
    const int last = std::min(range.last, report.pageCount());
    if (first > last) return 0;
    const bool perPage = options.jobs == JobSplit::JobPerPage;
    // One document, one set of settings: line widths and extra columns are read once, not per page.
    const settings::ReadSnapshot settingsAtStart;
    const std::unique_ptr<PageRecorder> recorder = printer.newRecorder();
    auto send = [&](const Page& page) {
        if (!page.empty()) printer.printPage(page);
        if (perPage) printer.endDoc();
    };
    int drawn = 0;
    try {
        std::vector<Page> held;
        for (int page = first; page <= last; ++page) {
            report.draw(page, *recorder);
            ++drawn;
            if (options.drawAllFirst) {
                held.push_back(recorder->takePage());
            } else {
                send(recorder->takePage());
            }
        }
        for (const Page& page : held) send(page);
        if (!perPage) printer.endDoc();
    } catch (...) {
        printer.abortDoc();
        throw;
    }
    return drawn;
}

}  // namespace slp::print
