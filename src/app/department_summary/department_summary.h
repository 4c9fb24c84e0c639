#pragma once
// 工资输出表3, the department summary "班组汇总联": what the window computes, without widgets. The length
// of a department code at the level summarised, the month's items, one grid row per department of that
// level with its name, head count and the sums of the amount items, and the totals row added from the
// shown texts; the print font size and its widths; the status line and the print request.
#include <QString>
#include <cstdint>
#include <optional>

#include "app/print_preview/print_preview_request.h"
#include "basic/prompts.h"
#include "data/column_widths.h"
#include "data/wage_grid.h"
#include "data/wage_items.h"
#include "print/font_metrics.h"

namespace slp {
struct HostContext;
}

namespace slp::data {
class Database;
}

namespace slp::windows::summary {

// The window's design caption and the title of the printed table.
QString summaryCaption();  // "班组汇总联"
// "未找到数据,请确定是否计算过!"
QString noSummaryDataMessage();
// Status panel 1: "工作年月:" & the month key.
QString workMonthPanel(const QString& monthKey);
// Status panel 2 after filling: "本月发薪部门数为" & departments & two blanks & "本月总金额为" & the text of
// the last column's total.
QString summaryStatusLine(int departments, const QString& grandTotal);
// The status line of a filled grid: its departments (rows - 2) and its last totals cell.
QString summaryStatusLine(const data::WageGrid& grid);

// "打印班组汇总联": a table (slipMode 0) titled "班组汇总联", "单位名称:" & the unit name at the left and
// "发薪日期:" & the pay date as the host gave it at the right. The request refers to `grid`, which the
// preview copies when it is shown.
print::PrintPreviewRequest summaryPrintRequest(const data::WageGrid& grid, const HostContext& context,
                                               float printFontSize);

class DepartmentSummary {
  public:
    // The context is read at every step (the host may change it between them).
    explicit DepartmentSummary(const HostContext& context,
                               data::CharUnitMeasure measure = print::measureCharUnit);

    // The first thing opening does: print font size 9 and charUnit of "我" at 9 points in 宋体.
    void beginOpening();
    // Opening then reads the length of the first department code the engine returns from 11部门信息,
    // 0 when the table is empty (or that code is null). A length beyond 16 bits raises slp::OverflowError;
    // database faults raise DatabaseError, no database slp::Error 91.
    int16_t readCodeLength();
    // Opening, next: loads the month's catalogue. False (after the message) when the month has none.
    bool loadCatalogue(Prompts& prompts);
    // Fills a new grid: one row per department of the code length, the totals row, captions, widths and
    // the grid's font at the print font size. nullopt after "未找到数据,请确定是否计算过!" when no department
    // has wages this month (an empty 11部门信息 included). Database faults raise DatabaseError; slp::Error 9
    // when the catalogue has fewer than two items; slp::OverflowError when a total leaves the fixed-point
    // range.
    std::optional<data::WageGrid> buildGrid(Prompts& prompts) const;
    // The same from `db` for `month`, without the message (nullopt when the month has no rows); it reads
    // nothing else of the host record, so a copy may build on another thread.
    std::optional<data::WageGrid> buildGridFrom(data::Database& db, const QString& month) const;

    // The print font size menu: asks, and when the answer is accepted changes printFontSize and returns
    // it; the caller applies the width rule with columns() and keeps the new charUnit.
    std::optional<int16_t> choosePrintFontSize(Prompts& prompts);
    float printFontSize() const { return printFontSize_; }
    void setPrintFontSize(float size) { printFontSize_ = size; }
    float charUnit() const { return charUnit_; }
    void setCharUnit(float twips) { charUnit_ = twips; }
    const data::CharUnitMeasure& measure() const { return measure_; }

    int16_t deptCodeLength() const { return deptCodeLength_; }
    void setDeptCodeLength(int16_t n) { deptCodeLength_ = n; }
    const data::WageCatalogue& catalogue() const { return catalogue_; }
    void setCatalogue(const data::WageCatalogue& catalogue) { catalogue_ = catalogue; }
    // Column 0 the sequence (3 characters), column 1 item 0, column 2 item 1, column c >= 3 item
    // c + firstAmountIndex - 3.
    data::ColumnItems columns(int columnCount) const {
        return data::departmentSummaryColumns(columnCount, catalogue_.firstAmountIndex);
    }
    // Grid columns for the catalogue: itemCount - firstAmountIndex + 3.
    int columnCount() const { return catalogue_.itemCount - catalogue_.firstAmountIndex + 3; }
    QString monthKey() const;

  private:
    const HostContext& context_;
    data::CharUnitMeasure measure_;
    data::WageCatalogue catalogue_;
    int16_t deptCodeLength_ = 0;
    float printFontSize_ = 9;
    float charUnit_ = 0;
};

}  // namespace slp::windows::summary
