#pragma once
// Sending a report's pages to a printer: the one place where a print job begins, ends or is dropped.
// Every window and command prints through deliver().
#include <QString>
#include <climits>
#include <functional>

namespace slp::print {

class Printer;
class Report;

// Pages `first` to `last` of a report, from 1; a range past the last page stops there.
struct PageRange {
    int first = 1;
    int last = INT_MAX;
};

enum class JobSplit {
    JobPerPage,  // every page a print job of its own (a PDF file a page on the spool printer)
    OneJob,      // the whole range one job
};

struct DeliveryOptions {
    JobSplit jobs = JobSplit::JobPerPage;
    // Every page of the range is drawn before the first is sent, so a drawing that fails sends nothing
    // at all; otherwise each page is sent as soon as it is drawn (no report is held in memory whole).
    bool drawAllFirst = false;
    // Printing to files: the files' name without ".pdf" (the report, month and time); empty: numbered.
    QString fileName;
    // Called after each page sent with the pages done and the pages of the range; false stops the
    // print: the job under way is dropped and deliver returns the pages sent in jobs that ended.
    std::function<bool(int done, int total)> progress;
};

// Options of a split, the rest as they default.
inline DeliveryOptions splitAs(JobSplit jobs, bool drawAllFirst = false) {
    DeliveryOptions options;
    options.jobs = jobs;
    options.drawAllFirst = drawAllFirst;
    return options;
}

// Draws the pages of the range on the printer's sheet and sends them. A printer that puts a print into
// one file (oneFilePerPrint) gets the range as one job whatever the split asked. A page with nothing on
// it begins no job. A printer that stands for a missing one throws slp::Error 484 before anything is drawn.
// When drawing or sending fails, the job under way is dropped (nothing of it is sent) and the error goes on
// to the caller; jobs sent before stay sent. A first page after the last sends nothing. Returns the
// number of pages drawn.
int deliver(Report& report, Printer& printer, PageRange range, DeliveryOptions options = {});

}  // namespace slp::print
