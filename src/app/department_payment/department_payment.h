#pragma once
// 工资输出表2, the department payment table "班组签收联": what the window computes, without widgets. The
// month's items and the grid of every employee with its totals row, the department list and its
// selection, the printed row height, and the printing of one payment table per selected department or
// the preview of one.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "app/department_payment/department_list.h"
#include "basic/prompts.h"
#include "data/column_widths.h"
#include "data/wage_grid.h"
#include "data/wage_items.h"
#include "print/font_metrics.h"
#include "print/page.h"
#include "print/reports/pay_table_report.h"

namespace slp {
struct HostContext;
}
namespace slp::settings {
class Store;
}
namespace slp::print {
class Printer;
class PrintTarget;
class PageRecorder;
}  // namespace slp::print

namespace slp::data {
class Database;
}

namespace slp::windows::payment {

QString paymentCaption();                         // "班组签收联"
QString noPaymentDataMessage();                   // "未找到数据,请确定是否计算过!"
QString noDepartmentsMessage();                   // "部门未找到!"
QString workMonthPanel(const QString& monthKey);  // "工作年月:" & month
QString headCountPanel(int employees);            // "本月发薪人数为" & n
// "每行高度为" & Format(rowHeight / 567, "0.00") & "厘米".
QString rowHeightCaption(float rowHeight);
// The print command's message for a missing printer: three blanks, "未找到打印驱动程序", CR LF,
// "请先安装了打印驱动程序!".
QString noPrinterMessage();
// Asked before printing a table wider than the printer's paper (widths in twips).
QString tooWideMessage(float tableWidth, float paperWidth);
// Told after printing when selected groups ("部门名称（部门号）" each) were printed as their whole
// departments, each department once.
QString groupsPrintedAsDepartmentsMessage(const QStringList& groups);
// The print command's title for any other error: "错误号" & number.
QString printErrorTitle(int number);

// The row-height box: accepted answers are 0.2 to 4 centimetres.
struct RowHeightAnswer {
    float rowHeight = 0;  // twips
    QString caption;      // "每行高度为" & Format(answer, "0.00") & "厘米"
};
std::optional<RowHeightAnswer> acceptRowHeight(const QString& answer);

class DepartmentPayment {
  public:
    using OpenPrinter = std::function<std::unique_ptr<print::Printer>()>;

    explicit DepartmentPayment(const HostContext& context,
                               data::CharUnitMeasure measure = print::measureCharUnit);

    // Opening: print font size 9 and charUnit of "我" at 9 points in 宋体.
    void beginOpening();
    // The settings read at opening ("IMAGELEFT", "LISTV.VISIBLE", " 行高"); a stored text that does not
    // convert raises its conversion error and leaves the values as they were.
    void loadSettings(const settings::Store& store);
    // The settings written at closing; each key is attempted, then the first failure raised.
    void saveSettings(settings::Store& store) const;
    // Reads the length of the first department code of 11部门信息; 0 when it is empty.
    int16_t readCodeLength();
    // Loads the month's catalogue; false after the message when the month has none.
    bool loadCatalogue(Prompts& prompts);
    // FillPaymentGrid: a new grid of every employee of the month and the totals row; nullopt after
    // "未找到数据,请确定是否计算过!". Fewer than two items raise slp::Error 9.
    std::optional<data::WageGrid> buildGrid(Prompts& prompts) const;
    // The same from `db` for `month`, without the message (nullopt when the month has no rows); it reads
    // nothing else of the host record, so a copy may build on another thread.
    std::optional<data::WageGrid> buildGridFrom(data::Database& db, const QString& month) const;
    // LoadDepartmentList: every department of the month, all selected; false after "部门未找到!".
    bool loadDepartments(Prompts& prompts);

    // "每行高度": asks and, for an answer of 0.2 to 4, sets rowHeight and returns the new caption.
    std::optional<QString> askRowHeight(Prompts& prompts);

    // One department's employees and totals; count 0 when it has none this month.
    DepartmentRows readDepartment(const QString& code) const;
    // PrintDepartmentPayTable(code, false): every page of the department as one print job; nothing (0)
    // for a department without employees. Errors go to the caller.
    int printDepartment(const QString& code, const data::WageGrid& grid, print::Printer& printer,
                        const QDateTime& now);
    // PrintDepartmentPayTable(code, true): page 1 and the department's totals recorded on `recorder`;
    // nullopt (nothing drawn) for a department without employees.
    std::optional<print::Page> previewDepartment(const QString& code, const data::WageGrid& grid,
                                                 print::PageRecorder& recorder, const QDateTime& now);
    // What the preview turns through for a department: the very pages the print gives on `printer`, its
    // paper turned first when the print would turn it (turnedNote says so then); no pages for a
    // department without employees. The clerk sees what the printer will get, last page and totals alike.
    struct PreviewPages {
        std::vector<print::Page> pages;
        QString turnedNote;
    };
    PreviewPages previewPrintedPages(const QString& code, const data::WageGrid& grid, print::Printer& printer,
                                     const QDateTime& now);
    // "打印班组签收联": opens the printer (error 484 when there is none) and prints every selected
    // department in list order, one job each. Any error is shown (the missing printer with its own
    // message, others with "错误号" & number) and stops the printing.
    struct PrintOutcome {
        int jobs = 0;         // departments printed
        bool failed = false;  // an error was shown
        QString notice;       // where the PDF files went, for the clerk; empty after printing on paper
        QString groupsNote;   // the selected groups printed as their whole departments, for the clerk
        QString turnedNote;   // the table went on the paper turned, as it did not fit upright
    };
    PrintOutcome printSelected(const data::WageGrid& grid, const OpenPrinter& openPrinter, Prompts& prompts,
                               const QDateTime& now);
    // The table's width as the print measures it with the text metrics of `measure` (a recorder of the
    // sheet it is printed on).
    float printedTableWidth(const data::WageGrid& grid, print::PrintTarget& measure) const;
    // Turns the printer's paper when the table is wider than the paper upright but fits it turned;
    // returns what the clerk is told then, else an empty text.
    QString turnPaperWhenNeeded(const data::WageGrid& grid, print::Printer& printer) const;
    // The same on a printer already open. Printed to files, with a `reportName` each department's file
    // is named for the report, the department, the month and the time (the window's print); without,
    // they are numbered (the command line).
    PrintOutcome printSelected(const data::WageGrid& grid, print::Printer& printer, Prompts& prompts,
                               const QDateTime& now, const QString& reportName = {});
    // Shows an error of the print command: the missing printer with its own message, others with their
    // description and "错误号" & number.
    static void reportPrintError(const std::exception& error, Prompts& prompts);
    // Whether the grid prints a wage item; if not, says why (no item has a print width) and returns false.
    static bool refuseWithoutPrintedItem(const data::WageGrid& grid, Prompts& prompts);

    DepartmentList& departments() { return departments_; }
    const DepartmentList& departments() const { return departments_; }
    const data::WageCatalogue& catalogue() const { return catalogue_; }
    void setCatalogue(const data::WageCatalogue& catalogue) { catalogue_ = catalogue; }
    int16_t deptCodeLength() const { return deptCodeLength_; }
    void setDeptCodeLength(int16_t n) { deptCodeLength_ = n; }
    float rowHeight() const { return rowHeight_; }
    void setRowHeight(float twips) { rowHeight_ = twips; }
    float charUnit() const { return charUnit_; }
    float printFontSize() const { return printFontSize_; }
    float splitterLeft() const { return splitterLeft_; }
    void setSplitterLeft(float x) { splitterLeft_ = x; }
    bool listVisible() const { return listVisible_; }
    void setListVisible(bool shown) { listVisible_ = shown; }
    float savedSplitterLeft() const { return savedSplitterLeft_; }
    void setSavedSplitterLeft(float x) { savedSplitterLeft_ = x; }
    // The measures of the last print or preview.
    const PayTableMetrics& metrics() const { return metrics_; }
    QString monthKey() const;
    data::ColumnItems columns(int columnCount) const { return data::departmentPaymentColumns(columnCount); }

  private:
    PayTableJob jobFor(const QString& code, const data::WageGrid& grid, const QDateTime& now) const;

    const HostContext& context_;
    data::CharUnitMeasure measure_;
    data::WageCatalogue catalogue_;
    DepartmentList departments_;
    int16_t deptCodeLength_ = 0;
    float printFontSize_ = 9;
    float charUnit_ = 0;
    float rowHeight_ = 360;
    float splitterLeft_ = 0;
    bool listVisible_ = false;
    float savedSplitterLeft_ = 0;
    PayTableMetrics metrics_;
};

}  // namespace slp::windows::payment
