#include "print/reports/special_report.h"

#include <QPageSize>
#include <algorithm>

#include "basic/conversions.h"
#include "basic/error.h"
#include "print/page.h"
#include "print/page_recorder.h"
#include "print/printer.h"
#include "print/reports/delivery.h"

using namespace Qt::StringLiterals;

namespace slp::windows::special {

SheetGrid sheetGrid(QSizeF page, QSizeF sheet) {
    SheetGrid grid;
    const auto w = int64_t(sheet.width());
    const auto h = int64_t(sheet.height());
    grid.across = w > 0 ? int(int64_t(page.width()) / w) : 0;
    grid.down = h > 0 ? int(int64_t(page.height()) / h) : 0;
    // The host's own words, and what they mean here.
    if (grid.across < 1 || grid.down < 1) {
        throw Error(sheetTooLargeError, u"除数为零(打印纸张大于打印机的页面)"_s);
    }
    return grid;
}

QPointF recordOffset(int c, const SheetGrid& grid, QSizeF sheet) {
    const int column = c % grid.across;
    const int row = (c % grid.perPage()) / grid.across;
    return {column * sheet.width(), row * sheet.height()};
}

QPointF valuePoint(QPointF caption, int16_t position, QSizeF captionSize) {
    switch (position) {
        case Above:
            return {caption.x(), caption.y() - captionSize.height() - 60};
        case LeftOf:
            return {caption.x() - captionSize.width() - 90, caption.y()};
        case RightOf:
            return {caption.x() + captionSize.width() + 90, caption.y()};
        default:
            return {caption.x(), caption.y() + captionSize.height() + 60};
    }
}

QString specialValueText(const SpecialData& data, int column) {
    const QString stored = data.rows.text(column);
    if (size_t(column) >= data.formats.size() || !data.formats[size_t(column)]) return stored;
    // As the tables show an amount: the numeric value of the stored text in the item's format.
    return formatNumber(data.rows.number(column), *data.formats[size_t(column)]);
}

void PrintOneRecord(print::PrintTarget& target, const SpecialData& data, QPointF offset) {
    const int m = int(data.layout.size());
    for (int k = 0; k < m; ++k) {
        const LayoutRow& row = data.layout[size_t(k)];
        const QPointF at = QPointF(row.x, row.y) + offset;
        if (row.printName) {
            target.SetCurrentX(float(at.x()));
            target.SetCurrentY(float(at.y()));
            target.Print(row.caption);
        }
        const QSizeF size(target.TextWidth(row.caption), target.TextHeight(row.caption));
        const QPointF value = valuePoint(at, row.position, size);
        target.SetCurrentX(float(value.x()));
        target.SetCurrentY(float(value.y()));
        // A layout row beyond the data's columns raises the query's "item not found".
        target.Print(k < m - 1 ? specialValueText(data, k) : data.payDate);
    }
}

QString footerText(int page) {
    return u"第"_s + QString::number(page) + u"页"_s;
}

SpecialReport::SpecialReport(SpecialData& data, const SpecialOptions& options, QSizeF page)
    : data_(data),
      options_(options),
      page_(page),
      grid_(options.onePerPage ? SheetGrid{} : sheetGrid(page, options.sheet)),
      first_(options.first),
      last_(options.last > 0 ? options.last : data.rows.recordCount()) {}

int SpecialReport::pageCount() const {
    const int records = last_ - first_ + 1;
    if (records <= 0) return 0;
    const int perPage = options_.onePerPage ? 1 : grid_.perPage();
    return (records + perPage - 1) / perPage;
}

void SpecialReport::draw(int page, print::PrintTarget& target) {
    const int perPage = options_.onePerPage ? 1 : grid_.perPage();
    const int firstOnPage = (page - 1) * perPage;
    const int lastOnPage = std::min(page * perPage, last_ - first_ + 1) - 1;
    target.SetFontName(u"宋体"_s);
    target.SetFontSize(9);
    target.SetFontBold(false);
    for (int c = firstOnPage; c <= lastOnPage; ++c) {
        data_.rows.setAbsolutePosition(first_ - 1 + c);
        const QPointF offset =
            (options_.onePerPage ? QPointF() : recordOffset(c, grid_, options_.sheet)) + options_.calibration;
        PrintOneRecord(target, data_, offset);
    }
    if (options_.onePerPage) return;
    // The page number counts the records from the first of the month, not from the first printed.
    const QString footer = footerText((first_ - 1 + lastOnPage) / grid_.perPage() + 1);
    target.SetCurrentX((float(page_.width()) - target.TextWidth(footer)) / 2);
    target.SetCurrentY(float(page_.height()) - 300);
    target.Print(footer);
}

std::vector<print::Page> RecordSpecialPages(print::PageRecorder& recorder, SpecialData& data,
                                            const SpecialOptions& options) {
    SpecialReport report(data, options, recorder.sheet().size);
    recorder.clearPage();
    std::vector<print::Page> pages = print::recordPages(report, recorder);
    for (print::Page& page : pages) page.endsJob = true;
    return pages;
}

namespace {

bool sheetFits(QSizeF printable, QSizeF sheet) {
    return sheet.width() > 0 && sheet.height() > 0 && sheet.width() <= printable.width() &&
           sheet.height() <= printable.height();
}

}  // namespace

QString turnedPaperNote() {
    return u"特殊打印纸张比打印纸宽，已改为横向打印。"_s;
}

QString sheetSizedPagesNote() {
    return u"特殊打印纸张比打印纸大，已改为每页打印一张，页面为特殊打印纸张的大小。"_s;
}

int PrintSpecial(print::Printer& printer, SpecialData& data, const SpecialOptions& asked,
                 QString* placement) {
    SpecialOptions options = asked;
    // Twips in inches: the sizes stay exact.
    const QSizeF paper(printer.paperWidth(), printer.paperHeight());
    const QPageSize before(paper / 1440, QPageSize::Inch);
    bool turn = false;
    if (!options.onePerPage) {
        const QSizeF printable(printer.printableWidth(), printer.printableHeight());
        if (!sheetFits(printable, options.sheet)) {
            turn = sheetFits(printable.transposed(), options.sheet);
            if (!turn) {
                options.onePerPage = true;
                options.keepPageSize = false;
            }
            if (placement) *placement = turn ? turnedPaperNote() : sheetSizedPagesNote();
        }
    }
    const bool resize = options.onePerPage && !options.keepPageSize;
    if (turn) {
        printer.setPageLayout(QPageSize(paper / 1440, QPageSize::Inch, {}, QPageSize::ExactMatch),
                              QPageLayout::Landscape);
    }
    if (resize) {
        printer.setPageLayout(QPageSize(options.sheet / 1440, QPageSize::Inch, {}, QPageSize::ExactMatch),
                              QPageLayout::Portrait);
    }
    const bool restore = turn || resize;
    try {
        // A job a page; every page is drawn before the first is sent, so a record that cannot be
        // drawn sends nothing.
        SpecialReport report(data, options, QSizeF(printer.paperWidth(), printer.paperHeight()));
        const int jobs = printer.oneFilePerPrint() ? 1 : report.pageCount();
        if (jobs >= kManyJobs && options.confirmManyJobs && !options.confirmManyJobs(report.pageCount())) {
            if (restore) printer.setPageLayout(before, QPageLayout::Portrait);
            return 0;
        }
        print::DeliveryOptions delivery = print::splitAs(print::JobSplit::JobPerPage, true);
        delivery.fileName = options.fileName;
        delivery.progress = options.progress;
        const int sent = print::deliver(report, printer, {}, delivery);
        if (restore) printer.setPageLayout(before, QPageLayout::Portrait);
        return sent;
    } catch (...) {
        if (restore) printer.setPageLayout(before, QPageLayout::Portrait);
        throw;
    }
}

}  // namespace slp::windows::special
