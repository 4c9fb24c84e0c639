#pragma once
// The printed department payment table "部门班组签收联": its measures and paging (ComputePageMetrics)
// and the drawing of its pages as a report, one print job a department.
// The table has its own layout: the sequence column and every item column the grid shows wider than
// 200 twips, each as wide as its item's print width in character units, and an empty sign-off column;
// horizontal rules only.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <vector>

#include "data/result_set.h"
#include "data/wage_grid.h"
#include "data/wage_items.h"
#include "print/reports/report.h"

namespace slp::print {
class PrintTarget;
class PageRecorder;
class Printer;
struct Page;
}  // namespace slp::print

namespace slp::windows::payment {

// The measures of one print, kept by the window afterwards.
struct PayTableMetrics {
    float charUnit = 0;    // height of "O" in the body font
    float textOffset = 0;  // (rowHeight - charUnit) / 2
    float tableWidth = 0;
    int16_t pageRows = 0;   // employee rows a page holds
    int32_t pageTotal = 0;  // pages of the department
};

// The table width: 2 character units for the sequence column when grid column 0 is at least 201 twips
// wide, the item's width for every grid column c >= 1 at least 200 twips wide, 6 units for the
// sign-off column.
float payTableWidth(const data::WageGrid& grid, const data::WageCatalogue& catalogue, float charUnit);
// Employee rows a page holds below the head in a printable height: what the page holds from 700 twips
// down less 200, in whole rows, less the column header row, the two lines of the totals and the foot,
// and at least 2.
int16_t payTablePageRows(float printableHeight, float rowHeight);
// Pages of a department: lineCount (employees + 1) over pageRows - 1, rounded up, but never more than
// the pages its employees fill plus one for the totals, so no page is left without rows or totals.
int32_t payTablePageTotal(int lineCount, int pageRows);
// ComputePageMetrics(lineCount): tableWidth, pageRows and pageTotal into `m` (charUnit and textOffset
// already set).
void ComputePageMetrics(PayTableMetrics& m, int lineCount, const data::WageGrid& grid,
                        const data::WageCatalogue& catalogue, float rowHeight, float printableHeight);

// One department's rows as the queries answer them: its employees (field k is item k) and its totals
// (field 1 the count of item 1, field k >= 2 the sum of item k).
struct DepartmentRows {
    data::ResultSet employees;
    int count = 0;
    data::ResultSet totals;
};

// What a page of the table shows besides the rows.
// A grid column wider than this many twips is printed in the payment table.
inline constexpr int kPrintedColumnWidth = 200;

struct PayTableHead {
    QString workYear;
    QString workMonth;
    QString departmentName;
    QString unitName;
    QString payDate;
    QDateTime printTime;
};

// "打印时间:" & the date and time as the system writes them (for instance 2000-4-25 9:05:00).
QString printTimeText(const QDateTime& time);

// Everything a page is drawn from.
struct PayTableJob {
    const data::WageGrid* grid = nullptr;  // header texts and column widths
    const data::WageCatalogue* catalogue = nullptr;
    float rowHeight = 360;
    PayTableHead head;
    PayTableMetrics metrics;
};

// Sets charUnit (height of "O" in 宋体 9 on the target) and textOffset, then ComputePageMetrics with the
// department's employee count + 1 and the target's page height (the printer's printable height).
void MeasurePayTable(PayTableJob& job, print::PrintTarget& target, int employees);

// Draws page `page` (from 1) on the target: the head, the column header row and the page's employees;
// with `totals`, the totals row after them; the foot. Returns the y of the last rule.
float DrawPayTablePage(print::PrintTarget& target, const PayTableJob& job, DepartmentRows& rows, int page,
                       bool totals);

// One department's table as a report, measured (MeasurePayTable) on `measure` (a recorder of the sheet
// it is printed on: its text metrics and printable height), the totals on the last page. The job keeps
// the measures.
class PayTableReport : public print::Report {
  public:
    PayTableReport(PayTableJob& job, DepartmentRows& rows, print::PrintTarget& measure);
    int pageCount() const override { return job_.metrics.pageTotal; }
    void draw(int page, print::PrintTarget& target) override;

  private:
    PayTableJob& job_;
    DepartmentRows& rows_;
};

// Every page of the department recorded on `recorder`, the totals on the last.
std::vector<print::Page> RecordPayTablePages(print::PageRecorder& recorder, PayTableJob& job,
                                             DepartmentRows& rows);
// Prints the department on the printer as one print job, every page drawn before the first is sent.
// Returns the pages printed.
int PrintPayTablePages(print::Printer& printer, PayTableJob& job, DepartmentRows& rows);

// The preview's part: page 1 followed by the totals of the whole department, recorded on `recorder`
// (cleared first) and handed over: the page the preview picture paints.
print::Page PreviewPayTablePage(print::PageRecorder& recorder, PayTableJob& job, DepartmentRows& rows);

}  // namespace slp::windows::payment
