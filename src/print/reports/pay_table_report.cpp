#include "print/reports/pay_table_report.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "basic/conversions.h"
#include "print/page.h"
#include "print/page_recorder.h"
#include "print/printer.h"
#include "print/reports/delivery.h"

using namespace Qt::StringLiterals;

namespace slp::windows::payment {

namespace {

constexpr float kHeadBottom = 700;  // the first rule; the head stands above it
bool printed(const data::WageGrid& grid, int col) {
    return grid.colWidth(col) > kPrintedColumnWidth;
}

float itemWidth(const data::WageCatalogue& catalogue, int item, float charUnit) {
    if (item < 0 || item >= catalogue.itemWidth.size()) throw SubscriptError();
    return float(catalogue.itemWidth[item]) * charUnit;
}

void printAt(print::PrintTarget& t, float x, float y, const QString& text) {
    t.SetCurrentX(x);
    t.SetCurrentY(y);
    t.Print(text);
}

void rule(print::PrintTarget& t, float y, float width) {
    t.Line(0, y, width, y);
}

// Step 3: the title, the department and page label, the unit and pay date, the first rule.
float drawHead(print::PrintTarget& t, const PayTableJob& job, int page) {
    const float width = job.metrics.tableWidth;
    t.SetFontName(u"隶书"_s);
    t.SetFontSize(19);
    const QString title = job.head.workYear + u"年"_s + job.head.workMonth + u"月"_s + u"部门班组签收联"_s;
    printAt(t, (width - t.TextWidth(title)) / 2, kHeadBottom - 1.5f * t.TextWidth(u"提"_s), title);

    t.SetFontName(u"宋体"_s);
    t.SetFontSize(9);
    const QString department = u"部门名称:"_s + job.head.departmentName;
    const float h = t.TextHeight(department);
    const float line1 = kHeadBottom - 2 * (h + 30);
    printAt(t, 0, line1, department);
    const QString label =
        u"共"_s + QString::number(job.metrics.pageTotal) + u"页   第"_s + QString::number(page) + u"页"_s;
    printAt(t, width - t.TextWidth(label), line1, label);

    const float line2 = kHeadBottom - h - 30;
    printAt(t, 0, line2, u"单位名称:"_s + job.head.unitName + u"    "_s);
    const QString payDate = u"发薪日期:"_s + job.head.payDate;
    printAt(t, width - t.TextWidth(payDate), line2, payDate);

    rule(t, kHeadBottom, width);
    return kHeadBottom;
}

// Step 4: the captions of the printed columns right-aligned, "签  收" centred.
float drawColumnHeads(print::PrintTarget& t, const PayTableJob& job, float y) {
    const data::WageGrid& grid = *job.grid;
    const float cu = job.metrics.charUnit;
    const float ty = y + job.metrics.textOffset;
    float x = 0;
    if (printed(grid, 0)) {
        const QString s = grid.text(0, 0);
        printAt(t, x + 2 * cu - t.TextWidth(s), ty, s);
        x += 2 * cu;
    }
    for (int c = 1; c < grid.cols(); ++c) {
        if (!printed(grid, c)) continue;
        const float w = itemWidth(*job.catalogue, c - 1, cu);
        const QString s = grid.text(0, c);
        printAt(t, x + w - t.TextWidth(s), ty, s);
        x += w;
    }
    const QString signOff = u"签  收"_s;
    printAt(t, x + (6 * cu - t.TextWidth(signOff)) / 2, ty, signOff);
    y += job.rowHeight;
    rule(t, y, job.metrics.tableWidth);
    return y;
}

// Step 5: the employees of the page.
float drawRows(print::PrintTarget& t, const PayTableJob& job, DepartmentRows& rows, int page, float y) {
    const data::WageGrid& grid = *job.grid;
    const data::WageCatalogue& cat = *job.catalogue;
    const float cu = job.metrics.charUnit;
    const int perPage = job.metrics.pageRows;
    const int first = (page - 1) * perPage;
    const int last = std::min(page * perPage, rows.count) - 1;
    for (int r = first; r <= last; ++r) {
        rows.employees.setAbsolutePosition(r);
        const float ty = y + job.metrics.textOffset;
        float x = 0;
        if (printed(grid, 0)) {
            const QString s = QString::number(r + 1);
            printAt(t, x + 2 * cu - t.TextWidth(s), ty, s);
            x += 2 * cu;
        }
        for (int c = 1; c < grid.cols(); ++c) {
            if (!printed(grid, c)) continue;
            const int item = c - 1;
            const float w = itemWidth(cat, item, cu);
            const QString& format = cat.itemFormat[item];
            const QString stored = rows.employees.text(item);
            const QString s = formatText(stored, format);
            // An item formatted "0" is printed as stored (a code keeps its leading zeros), placed by the
            // width of its formatted text.
            printAt(t, x + w - t.TextWidth(s), ty, format == u"0"_s ? stored : s);
            x += w;
        }
        y += job.rowHeight;
        rule(t, y, job.metrics.tableWidth);
    }
    return y;
}

// Step 6: "合计:" and the count under the third printed column, the totals alternating lower and upper.
float drawTotals(print::PrintTarget& t, const PayTableJob& job, DepartmentRows& rows, float y) {
    const data::WageGrid& grid = *job.grid;
    const data::WageCatalogue& cat = *job.catalogue;
    const float cu = job.metrics.charUnit;
    data::ResultSet& totals = rows.totals;
    float x = 0;
    if (printed(grid, 0)) x += 2 * cu;
    if (grid.cols() > 1 && printed(grid, 1)) x += itemWidth(cat, 0, cu);
    if (grid.cols() > 2 && printed(grid, 2)) {
        printAt(t, x + 60, y + job.metrics.textOffset, u"合计:"_s + totals.text(1));
        x += itemWidth(cat, 1, cu);
    }
    int k = 1;
    for (int c = 3; c < grid.cols(); ++c) {
        if (!printed(grid, c)) continue;
        const int item = c - 1;
        const float w = itemWidth(cat, item, cu);
        // A text item (工号, 姓名, ...) has no total: its place stays empty, the amounts keep theirs.
        if (cat.isAmount(item)) {
            const QString s = formatNumber(totals.number(item), cat.itemFormat[item]);
            printAt(t, x + w - t.TextWidth(s), (k % 2 == 1) ? y + 30 + job.rowHeight : y + 30, s);
        }
        ++k;
        x += w;
    }
    y += 2 * job.rowHeight;
    rule(t, y, job.metrics.tableWidth);
    return y;
}

// Step 7.
void drawFoot(print::PrintTarget& t, const PayTableJob& job, float y) {
    printAt(t, 0, y + 60, u"【朔岚软件】"_s);
    const QString time = printTimeText(job.head.printTime);
    printAt(t, job.metrics.tableWidth - t.TextWidth(time), y + 60, time);
}

}  // namespace

float payTableWidth(const data::WageGrid& grid, const data::WageCatalogue& catalogue, float charUnit) {
    float width = 0;
    if (grid.cols() > 0 && grid.colWidth(0) >= 201) width = 2 * charUnit;
    for (int c = 1; c < grid.cols(); ++c) {
        if (grid.colWidth(c) >= 200) width += itemWidth(catalogue, c - 1, charUnit);
    }
    return width + 6 * charUnit;
}

int16_t payTablePageRows(float printableHeight, float rowHeight) {
    const double room = roundHalfEven(double(printableHeight) - kHeadBottom - 200);
    const double row = std::max(roundHalfEven(double(rowHeight)), 1.0);
    // The header row, the totals' two lines and the foot come below the rows on the same page.
    const double rows = std::floor(room / row) - 4;
    return toInt16(std::clamp(rows, 2.0, 32767.0));
}

int32_t payTablePageTotal(int lineCount, int pageRows) {
    pageRows = std::max(pageRows, 2);
    const int counted = int(std::ceil(double(lineCount) / double(pageRows - 1)));
    const int employees = std::max(lineCount - 1, 0);
    const int needed = (employees + pageRows - 1) / pageRows + 1;
    return std::max(std::min(counted, needed), 1);
}

void ComputePageMetrics(PayTableMetrics& m, int lineCount, const data::WageGrid& grid,
                        const data::WageCatalogue& catalogue, float rowHeight, float printableHeight) {
    m.tableWidth = payTableWidth(grid, catalogue, m.charUnit);
    m.pageRows = payTablePageRows(printableHeight, rowHeight);
    m.pageTotal = payTablePageTotal(lineCount, m.pageRows);
}

QString printTimeText(const QDateTime& time) {
    return u"打印时间:"_s + time.toString(u"yyyy-M-d H:mm:ss"_s);
}

void MeasurePayTable(PayTableJob& job, print::PrintTarget& target, int employees) {
    target.SetFontName(u"宋体"_s);
    target.SetFontSize(9);
    job.metrics.charUnit = target.TextHeight(u"O"_s);
    job.metrics.textOffset = (job.rowHeight - job.metrics.charUnit) / 2;
    ComputePageMetrics(job.metrics, employees + 1, *job.grid, *job.catalogue, job.rowHeight, target.Height());
}

float DrawPayTablePage(print::PrintTarget& target, const PayTableJob& job, DepartmentRows& rows, int page,
                       bool totals) {
    float y = drawHead(target, job, page);
    y = drawColumnHeads(target, job, y);
    y = drawRows(target, job, rows, page, y);
    if (totals) y = drawTotals(target, job, rows, y);
    drawFoot(target, job, y);
    return y;
}

PayTableReport::PayTableReport(PayTableJob& job, DepartmentRows& rows, print::PrintTarget& measure)
    : job_(job), rows_(rows) {
    MeasurePayTable(job_, measure, rows_.count);
}

void PayTableReport::draw(int page, print::PrintTarget& target) {
    DrawPayTablePage(target, job_, rows_, page, page == pageCount());
}

std::vector<print::Page> RecordPayTablePages(print::PageRecorder& recorder, PayTableJob& job,
                                             DepartmentRows& rows) {
    PayTableReport report(job, rows, recorder);
    recorder.clearPage();
    return print::recordPages(report, recorder);
}

int PrintPayTablePages(print::Printer& printer, PayTableJob& job, DepartmentRows& rows) {
    const std::unique_ptr<print::PageRecorder> measure = printer.newRecorder();
    PayTableReport report(job, rows, *measure);
    return print::deliver(report, printer, {}, print::splitAs(print::JobSplit::OneJob, true));
}

print::Page PreviewPayTablePage(print::PageRecorder& recorder, PayTableJob& job, DepartmentRows& rows) {
    recorder.clearPage();
    MeasurePayTable(job, recorder, rows.count);
    DrawPayTablePage(recorder, job, rows, 1, true);
    return recorder.takePage();
}

}  // namespace slp::windows::payment
