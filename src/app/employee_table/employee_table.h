#pragma once
// 工资输出表1, the employee wage table: what the window computes, without widgets. The month's items,
// one grid row per employee in department order with the sequence number, the leading text items as
// stored and the amounts formatted (zeros shown or left empty), and the totals row "合计" with the head
// count; the print font size and its widths; the zero display and its setting.
#include <QString>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <optional>

#include "basic/prompts.h"
#include "data/column_widths.h"
#include "data/wage_grid.h"
#include "data/wage_items.h"
#include "print/font_metrics.h"

namespace slp {
struct HostContext;
}
namespace slp::settings {
class Store;
}
namespace slp::data {
class Database;
}

namespace slp::windows::employee {

// The window's design caption.
QString employeeTableCaption();  // "个人发放联"
// "未找到数据,请确定是否计算过!"
QString noWageDataMessage();
// "显示零" when zeros are shown, "不显示零" when not.
QString zeroDisplayCaption(bool showZeros);
// Status panel 1: "工作年月:" & the month key.
QString workMonthPanel(const QString& monthKey);
// Status panel 2 after filling: "本月发薪人数为" & the number of employees.
QString headCountPanel(int employees);

class EmployeeTable {
  public:
    // The context is read at every step (it may change between them); the store holds "显示零".
    EmployeeTable(const HostContext& context, settings::Store& store,
                  data::CharUnitMeasure measure = print::measureCharUnit);

    // The first thing opening does: print font size 9, charUnit of "我" at 9 points in 宋体, and the zero
    // display from the settings (unit code & "GZ", "打印", "显示零", default 1). A stored text that does not
    // convert raises its error after the rest is done; the zeros are then shown.
    void beginOpening();
    // Opening, next: loads the month's catalogue. False (after the message) when the month has none;
    // the window then shows an empty grid. Database faults raise DatabaseError.
    bool loadCatalogue(Prompts& prompts);
    // Fills a new grid from the catalogue: employee rows, totals row, captions, widths and the grid's font
    // at the print font size. The totals row holds what employeeTotalsQuery answers (the head count of the
    // second item, the sums of the amounts' leading numbers), gathered from the rows as they are read.
    // nullopt after the message "未找到数据,请确定是否计算过!" when the month has no wage rows. Database
    // faults raise DatabaseError; a catalogue without two leading text items raises slp::Error (9 without
    // any, 3265 with one: the totals have no second item to count).
    std::optional<data::WageGrid> buildGrid(Prompts& prompts) const;
    // The same from `db` for `month`, without the message (nullopt when the month has no wage rows); it
    // reads nothing else of the host record, so a copy of the table may build on another thread.
    std::optional<data::WageGrid> buildGridFrom(data::Database& db, const QString& month) const;
    // The same grid's texts a cell at a time in row order (the caption row, the employees, the totals
    // row; an empty text is an empty cell), the month read a chunk at a time and never held whole (for a
    // file written as it goes). False, with nothing told, when the month has no wage rows; raises what
    // buildGridFrom raises (the catalogue's faults before any cell). Widths and alignments are not told.
    using CellSink = std::function<void(int row, int col, QStringView text)>;
    // The amount format of grid column `col` (WageGrid::amountFormat): the item's format for the items from
    // the first amount on, nullopt for the sequence and the leading text items.
    std::optional<QString> amountFormat(int col) const;
    bool streamGridFrom(data::Database& db, const QString& month, const CellSink& cell) const;
    static constexpr int kRowsPerChunk = 4096;

    // "显示零" / "不显示零": flips the zero display (the caller refills).
    void toggleZeroDisplay() { showZeros_ = !showZeros_; }
    bool showZeros() const { return showZeros_; }
    void setShowZeros(bool on) { showZeros_ = on; }
    // Closing: writes "显示零" as "-1" or "0".
    void saveZeroDisplay() const;

    // The print font size menu: asks, and when the answer is accepted changes printFontSize and returns
    // it; the caller applies the width rule (columns()) and keeps the new charUnit.
    std::optional<int16_t> choosePrintFontSize(Prompts& prompts);
    float printFontSize() const { return printFontSize_; }
    void setPrintFontSize(float size) { printFontSize_ = size; }
    float charUnit() const { return charUnit_; }
    void setCharUnit(float twips) { charUnit_ = twips; }
    const data::CharUnitMeasure& measure() const { return measure_; }

    const data::WageCatalogue& catalogue() const { return catalogue_; }
    // Column c shows the sequence (c = 0) or item c - 1.
    data::ColumnItems columns(int columnCount) const { return data::employeeTableColumns(columnCount); }
    QString monthKey() const;

  private:
    // The catalogue's second item must be a leading text item (the head count's): slp::Error otherwise.
    void checkCountedItem() const;

    const HostContext& context_;
    settings::Store& store_;
    data::CharUnitMeasure measure_;
    data::WageCatalogue catalogue_;
    bool showZeros_ = true;
    float printFontSize_ = 9;
    float charUnit_ = 0;
};

}  // namespace slp::windows::employee
