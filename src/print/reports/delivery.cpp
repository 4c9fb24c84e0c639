#include "print/reports/delivery.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "basic/error.h"
#include "print/no_printer.h"
#include "print/page.h"
#include "print/page_recorder.h"
#include "print/printer.h"
#include "print/reports/report.h"
#include "print/system_printer.h"
#include "settings/store.h"

namespace slp::print {

int deliver(Report& report, Printer& printer, PageRange range, DeliveryOptions options) {
    if (isMissingPrinter(printer)) throw Error(errnum::NoPrinter, noPrinterDescription());
    const int first = std::max(range.first, 1);
    const int last = std::min(range.last, report.pageCount());
    if (first > last) return 0;
    const bool perPage = options.jobs == JobSplit::JobPerPage && !printer.oneFilePerPrint();
    // One document, one set of settings: line widths and extra columns are read once, not per page.
    const settings::ReadSnapshot settingsAtStart;
    const std::unique_ptr<PageRecorder> recorder = printer.newRecorder();
    // Drawing and sending each count as a step when every page is drawn first.
    const int steps = (last - first + 1) * (options.drawAllFirst ? 2 : 1);
    int done = 0;
    int ended = 0;  // pages in jobs that have ended
    int sent = 0;
    auto goOn = [&] { return !options.progress || options.progress(++done, steps); };
    auto send = [&](const Page& page) {
        if (!page.empty()) printer.printPage(page);
        ++sent;
        if (perPage) {
            printer.endDoc();
            ended = sent;
        }
    };
    printer.nameNextFiles(options.fileName);
    try {
        bool stopped = false;
        std::vector<Page> held;
        for (int page = first; page <= last && !stopped; ++page) {
            report.draw(page, *recorder);
            if (options.drawAllFirst) {
                held.push_back(recorder->takePage());
            } else {
                send(recorder->takePage());
            }
            stopped = !goOn();
        }
        for (size_t i = 0; i < held.size() && !stopped; ++i) {
            send(held[i]);
            stopped = !goOn();
        }
        if (stopped) {
            printer.abortDoc();
        } else if (!perPage) {
            printer.endDoc();
            ended = sent;
        }
    } catch (...) {
        printer.abortDoc();
        printer.nameNextFiles({});
        throw;
    }
    printer.nameNextFiles({});
    return ended;
}

}  // namespace slp::print
