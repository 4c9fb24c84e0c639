#pragma once
// The special print as a report: every record of the month's wage data at the positions of the stored
// layout, several sheets across and down a printer page (a job a page) or one a page (a job a record).
// The pages are recorded first and sent afterwards, so a run that fails sends nothing half-drawn. The
// queries that read the records and the prompts that choose them are in app/special_print.
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "data/result_set.h"
#include "print/reports/layout_row.h"
#include "print/reports/report.h"

namespace slp::print {
class PrintTarget;
class Printer;
class PageRecorder;
struct Page;
}  // namespace slp::print

namespace slp::windows::special {

// Error number of a sheet larger than the printer's page (the host's "division by zero").
inline constexpr int sheetTooLargeError = 11;

// What a run prints from: the data rows (columns the items in order) and the stored layout.
struct SpecialData {
    data::ResultSet rows;
    std::vector<LayoutRow> layout;
    QString payDate;  // the value of the layout's last row
    // The format of each data column's values, as the tables show them: the item's format ("0.00")
    // for the items from the first with decimal places on, nullopt (the stored text) before it.
    std::vector<std::optional<QString>> formats;
};
struct SpecialOptions {
    bool onePerPage = false;     // 是否每张只打印一个
    bool keepPageSize = false;   // 按预定应大小打印
    QSizeF sheet{18000, 10000};  // the designer's paper, twips
    int first = 1;               // records first … last, from 1; last 0 = the last record
    int last = 0;
    QPointF calibration;  // the printer's offset, twips, added to every position
    QString fileName;     // printed to files: their name (see print::DeliveryOptions); empty: numbered
    // Told the pages done and the pages of the print (drawing and sending each count); false cancels:
    // the job under way is dropped, the jobs before stay sent.
    std::function<bool(int done, int total)> progress;
    // Asked before a print of kManyJobs jobs or more (a job a page, each a file when printing to PDF
    // files a job each); false prints nothing.
    std::function<bool(int jobs)> confirmManyJobs;
};

// From this many jobs on, the clerk is asked first.
inline constexpr int kManyJobs = 1000;

// Sheets across and down a page of `page` twips; a sheet larger than the page throws sheetTooLargeError.
struct SheetGrid {
    int across = 1;
    int down = 1;
    int perPage() const { return across * down; }
};
SheetGrid sheetGrid(QSizeF page, QSizeF sheet);
// Where record number c of the run (from 0) goes on its page.
QPointF recordOffset(int c, const SheetGrid& grid, QSizeF sheet);

// Where the value of a layout row goes, from the caption point and the caption's size.
QPointF valuePoint(QPointF caption, int16_t position, QSizeF captionSize);

// PrintOneRecord: the current data row at the layout's positions shifted by `offset` (twips), in 宋体 9.
// The text printed for data column k of the current row: formatted by `formats`, else as stored.
QString specialValueText(const SpecialData& data, int column);
void PrintOneRecord(print::PrintTarget& target, const SpecialData& data, QPointF offset);

// The page footer "第n页", pages counted from 1.
QString footerText(int page);

// Positioned printing as a report on a printer page of `page` twips: several sheets across and down a
// page with "第n页" at its foot, or one record a page (the sheet itself in one-a-page mode unless kept).
// A sheet larger than the page throws sheetTooLargeError.
class SpecialReport : public print::Report {
  public:
    SpecialReport(SpecialData& data, const SpecialOptions& options, QSizeF page);
    int pageCount() const override;
    void draw(int page, print::PrintTarget& target) override;

  private:
    SpecialData& data_;
    SpecialOptions options_;
    QSizeF page_;
    SheetGrid grid_;
    int first_;
    int last_;
};

// PrintSpecial's pages: a job a page (several a page) or a job a record (one a page), each page marked
// endsJob. `page` is the printer's page in twips (the sheet itself in one-a-page mode unless kept).
// The recorder's sheet is the printer's page.
std::vector<print::Page> RecordSpecialPages(print::PageRecorder& recorder, SpecialData& data,
                                            const SpecialOptions& options);
// Records the pages on the printer's sheet (resized to the sheet in one-a-page mode unless keepPageSize)
// and sends them, each as its own job. A failure while recording sends nothing; a job that fails while
// sending is dropped. Returns the number of jobs sent.
// Sheets that do not fit the paper as it is set are placed so that the print works: on the paper turned
// when it holds a sheet so, else one record a page at the sheet's own size; `placement` then receives
// the words that tell the clerk so (it stays untouched when the sheets fit).
int PrintSpecial(print::Printer& printer, SpecialData& data, const SpecialOptions& options,
                 QString* placement = nullptr);
// The words of those two placements.
QString turnedPaperNote();
QString sheetSizedPagesNote();

}  // namespace slp::windows::special
