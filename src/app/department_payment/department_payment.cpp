#include "app/department_payment/department_payment.h"

#include <vector>

#include "app/department_payment/payment_queries.h"
#include "app/shared/error_report.h"
#include "app/shared/font_size_menu.h"
#include "app/shared/host_database.h"
#include "basic/conversions.h"
#include "basic/error.h"
#include "data/amount_format.h"
#include "data/database.h"
#include "data/host_context.h"
#include "data/wage_grid.h"
#include "data/wage_items.h"
#include "print/page_recorder.h"
#include "print/pdf_print_choice.h"
#include "print/printer.h"
#include "print/reports/delivery.h"
#include "settings/groups.h"

using namespace Qt::StringLiterals;

namespace slp::windows::payment {

QString paymentCaption() {
    return u"班组签收联"_s;
}
QString noPaymentDataMessage() {
    return u"未找到数据,请确定是否计算过!"_s;
}
QString noDepartmentsMessage() {
    return u"部门未找到!"_s;
}
QString workMonthPanel(const QString& monthKey) {
    return u"工作年月:"_s + monthKey;
}
QString headCountPanel(int employees) {
    return u"本月发薪人数为"_s + QString::number(employees);
}
QString rowHeightCaption(float rowHeight) {
    return u"每行高度为"_s + formatSingle(rowHeight / 567, u"0.00") + u"厘米"_s;
}
QString tooWideMessage(float tableWidth, float paperWidth) {
    return u"表格宽度%1超过打印纸张宽度%2,右边的列打印不全,请在打印设置中选择横向或更宽的纸张。是否仍然打印?"_s
        .arg(plainNumber(tableWidth), plainNumber(paperWidth));
}

QString groupsPrintedAsDepartmentsMessage(const QStringList& groups) {
    return u"所选班组不单独打印，按所属部门整体打印，每个部门只打印一次："_s + groups.join(u"、"_s);
}

QString noPrinterMessage() {
    return u"   未找到打印驱动程序\r\n请先安装了打印驱动程序!"_s;
}
QString printErrorTitle(int number) {
    return u"错误号"_s + QString::number(number);
}

std::optional<RowHeightAnswer> acceptRowHeight(const QString& answer) {
    const double v = leadingValue(answer);
    if (!(v >= 0.2 && v <= 4)) return std::nullopt;
    return RowHeightAnswer{float(v * 567), u"每行高度为"_s + formatText(answer, u"0.00") + u"厘米"_s};
}

DepartmentPayment::DepartmentPayment(const HostContext& context, data::CharUnitMeasure measure)
    : context_(context), measure_(std::move(measure)) {}

QString DepartmentPayment::monthKey() const {
    return context_.monthKey();
}

void DepartmentPayment::beginOpening() {
    printFontSize_ = kOpeningPrintFontSize;
    charUnit_ = measure_(u"宋体"_s, kOpeningPrintFontSize);
}

void DepartmentPayment::loadSettings(const settings::Store& store) {
    const auto s = settings::DepartmentPaymentSettings::load(store, context_.unitCode);
    splitterLeft_ = s.splitterLeft;
    listVisible_ = s.listVisible;
    rowHeight_ = s.rowHeight;
}

void DepartmentPayment::saveSettings(settings::Store& store) const {
    settings::DepartmentPaymentSettings s;
    s.splitterLeft = splitterLeft_;
    s.listVisible = listVisible_;
    s.rowHeight = rowHeight_;
    s.save(store, context_.unitCode);
}

int16_t DepartmentPayment::readCodeLength() {
    data::ResultSet rs = requireDatabase(context_).open(codeLengthQuery());
    const int16_t n = rs.eof() ? int16_t(0) : toInt16(rs.number(u"a"));
    rs.close();
    deptCodeLength_ = n;
    return n;
}

bool DepartmentPayment::loadCatalogue(Prompts& prompts) {
    return data::LoadWageItems(requireDatabase(context_), monthKey(), prompts, catalogue_);
}

std::optional<data::WageGrid> DepartmentPayment::buildGrid(Prompts& prompts) const {
    std::optional<data::WageGrid> grid = buildGridFrom(requireDatabase(context_), monthKey());
    if (!grid)
        prompts.messageBox(noPaymentDataMessage(), QString(), MessageIcon::Warning, MessageButtons::Ok);
    return grid;
}

std::optional<data::WageGrid> DepartmentPayment::buildGridFrom(data::Database& db,
                                                               const QString& month) const {
    if (catalogue_.itemCount < 2) throw SubscriptError();
    data::ResultSet rs = db.open(paymentItemQuery(catalogue_, month));
    if (rs.eof()) {
        rs.close();
        return std::nullopt;
    }
    rs.moveLast();
    const int m = catalogue_.itemCount;
    const int cols = m + 1;
    const int rows = rs.recordCount() + 2;
    const int f = catalogue_.firstAmountIndex;
    data::WageGrid grid(rows, cols);
    grid.setFixedRows(1);
    grid.setFixedCols(f);
    grid.setFontName(u"宋体"_s);
    grid.setFontSize(9);

    std::vector<data::AmountFormat> formats;
    formats.reserve(size_t(cols));
    for (int c = 0; c < cols; ++c) formats.emplace_back(c == 0 ? QString() : catalogue_.itemFormat[c - 1]);
    data::AmountFormat::Buffer buffer;
    QString spill;
    const int lastText = std::min(f, m);
    for (int r = 1; r <= rows - 2; ++r) {
        rs.setAbsolutePosition(r - 1);
        grid.setText(r, 0, QString::number(r));
        for (int c = 1; c <= lastText; ++c) grid.setText(r, c, rs.text(c - 1));
        for (int c = f + 1; c < cols; ++c)
            grid.setText(r, c, formats[size_t(c)].format(rs.number(c - 1), buffer, spill));
    }
    rs.close();

    grid.setText(0, 0, u"序号"_s);
    for (int c = 1; c < cols; ++c) grid.setText(0, c, catalogue_.itemName[c - 1]);
    grid.setColAlignment(0, data::align::CenterCenter);
    for (int c = f + 1; c < cols; ++c) grid.setAmountFormat(c, catalogue_.itemFormat[c - 1]);
    data::applyColumnWidths(grid, catalogue_, columns(cols), charUnit_);

    // The totals row: the head count (items 0 and 1 are only counted) in the last text column, the sums
    // of the items after it. Below two leading text items, the columns of items 0 and 1 stay empty and
    // the head count stands in column 1 at least, so "合计" keeps its place.
    data::ResultSet totals = db.open(paymentTotalsQuery(catalogue_, month));
    const int t = rows - 1;
    grid.setText(t, 0, u"合计"_s);
    const int countColumn = std::max(f, 1);
    grid.setText(t, countColumn, u"共"_s + totals.text(catalogue_.nameAt(1) + u"ofcount"_s) + u"人"_s);
    for (int c = std::max(f + 1, 3); c < cols; ++c) {
        const QString alias = catalogue_.nameAt(c - 1) + u"ofsum"_s;
        grid.setText(t, c, formats[size_t(c)].format(totals.number(alias), buffer, spill));
    }
    totals.close();
    grid.squeeze();
    return grid;
}

bool DepartmentPayment::loadDepartments(Prompts& prompts) {
    departments_.clear();
    data::ResultSet rs = requireDatabase(context_).open(departmentListQuery(monthKey()));
    if (rs.eof()) {
        rs.close();
        prompts.messageBox(noDepartmentsMessage(), QString(), MessageIcon::Warning, MessageButtons::Ok);
        return false;
    }
    const int code = rs.fieldIndex(u"部门号");
    const int name = rs.fieldIndex(u"部门名称");
    if (code < 0) (void)rs.value(u"部门号");
    if (name < 0) (void)rs.value(u"部门名称");
    rs.moveLast();
    const int n = rs.recordCount();
    for (int r = 0; r < n; ++r) {
        rs.setAbsolutePosition(r);
        departments_.add(rs.text(code), rs.text(name));
    }
    rs.close();
    return true;
}

std::optional<QString> DepartmentPayment::askRowHeight(Prompts& prompts) {
    const auto answer =
        prompts.inputBox(u"请输入你想要修改的数值"_s, u"更改"_s, formatSingle(rowHeight_ / 567, u"0.00"));
    const auto accepted = acceptRowHeight(answer.value_or(QString()));
    if (!accepted) return std::nullopt;
    rowHeight_ = accepted->rowHeight;
    return accepted->caption;
}

DepartmentRows DepartmentPayment::readDepartment(const QString& code) const {
    data::Database& db = requireDatabase(context_);
    DepartmentRows rows;
    rows.employees = db.open(departmentRowsQuery(catalogue_, monthKey(), deptCodeLength_, code));
    if (rows.employees.eof()) return rows;
    rows.employees.moveLast();
    rows.count = rows.employees.recordCount();
    rows.totals = db.open(departmentTotalsQuery(catalogue_, monthKey(), deptCodeLength_, code));
    return rows;
}

PayTableJob DepartmentPayment::jobFor(const QString& code, const data::WageGrid& grid,
                                      const QDateTime& now) const {
    PayTableJob job;
    job.grid = &grid;
    job.catalogue = &catalogue_;
    job.rowHeight = rowHeight_;
    job.head.workYear = context_.workYear;
    job.head.workMonth = context_.workMonth;
    job.head.departmentName = departments_.nameOf(code);
    job.head.unitName = context_.unitName;
    job.head.payDate = context_.payDate;
    job.head.printTime = now;
    return job;
}

int DepartmentPayment::printDepartment(const QString& code, const data::WageGrid& grid,
                                       print::Printer& printer, const QDateTime& now) {
    DepartmentRows rows = readDepartment(code);
    if (rows.count == 0) return 0;
    PayTableJob job = jobFor(code, grid, now);
    const int pages = PrintPayTablePages(printer, job, rows);
    metrics_ = job.metrics;
    charUnit_ = metrics_.charUnit;
    return pages;
}

std::optional<print::Page> DepartmentPayment::previewDepartment(const QString& code,
                                                                const data::WageGrid& grid,
                                                                print::PageRecorder& recorder,
                                                                const QDateTime& now) {
    DepartmentRows rows = readDepartment(code);
    if (rows.count == 0) return std::nullopt;
    PayTableJob job = jobFor(code, grid, now);
    print::Page page = PreviewPayTablePage(recorder, job, rows);
    metrics_ = job.metrics;
    charUnit_ = metrics_.charUnit;
    return page;
}

DepartmentPayment::PreviewPages DepartmentPayment::previewPrintedPages(const QString& code,
                                                                       const data::WageGrid& grid,
                                                                       print::Printer& printer,
                                                                       const QDateTime& now) {
    PreviewPages preview;
    preview.turnedNote = turnPaperWhenNeeded(grid, printer);
    DepartmentRows rows = readDepartment(code);
    if (rows.count <= 0) return preview;
    PayTableJob job = jobFor(code, grid, now);
    const std::unique_ptr<print::PageRecorder> recorder = printer.newRecorder();
    preview.pages = RecordPayTablePages(*recorder, job, rows);
    return preview;
}

void DepartmentPayment::reportPrintError(const std::exception& error, Prompts& prompts) {
    const ErrorReport r = describeError(error);
    if (r.number == errnum::NoPrinter) {
        prompts.messageBox(noPrinterMessage(), QString(), MessageIcon::Warning, MessageButtons::Ok);
    } else {
        prompts.messageBox(r.description, printErrorTitle(r.number), MessageIcon::Warning,
                           MessageButtons::Ok);
    }
}

bool DepartmentPayment::refuseWithoutPrintedItem(const data::WageGrid& grid, Prompts& prompts) {
    if (!data::hidesEveryItemColumn(grid, kPrintedColumnWidth)) return true;
    prompts.messageBox(data::noPrintedItemMessage(), QString(), MessageIcon::Warning, MessageButtons::Ok);
    return false;
}

DepartmentPayment::PrintOutcome DepartmentPayment::printSelected(const data::WageGrid& grid,
                                                                 print::Printer& printer, Prompts& prompts,
                                                                 const QDateTime& now,
                                                                 const QString& reportName) {
    PrintOutcome outcome;
    if (!refuseWithoutPrintedItem(grid, prompts)) {
        outcome.failed = true;
        return outcome;
    }
    const qsizetype filesBefore = printer.writtenFiles().size();
    // A group prints its whole department: each department is printed once, in list order, however many
    // selected entries stand for it, and the clerk is told which groups did so.
    const QStringList groups = departments_.selectedGroups(deptCodeLength_);
    if (!groups.isEmpty()) outcome.groupsNote = groupsPrintedAsDepartmentsMessage(groups);
    bool widthAsked = false;
    try {
        for (const QString& code : departments_.selectedDepartments(deptCodeLength_)) {
            DepartmentRows rows = readDepartment(code);
            if (rows.count <= 0) continue;
            PayTableJob job = jobFor(code, grid, now);
            const std::unique_ptr<print::PageRecorder> measure = printer.newRecorder();
            PayTableReport report(job, rows, *measure);
            metrics_ = job.metrics;
            charUnit_ = metrics_.charUnit;
            // A table wider than the paper loses its right-hand columns, the signatures among them: the
            // clerk is asked once, before anything is printed.
            if (!widthAsked && outcome.jobs == 0 && metrics_.tableWidth > printer.printableWidth()) {
                widthAsked = true;
                if (prompts.messageBox(tooWideMessage(metrics_.tableWidth, printer.printableWidth()),
                                       QString(), MessageIcon::Question,
                                       MessageButtons::YesNo) != MessageAnswer::Yes) {
                    return outcome;
                }
            }
            // Every page is drawn before the first is sent: a department fails whole or prints whole.
            // Printed to files, each department's file is named for it, the month and the time.
            print::DeliveryOptions options = print::splitAs(print::JobSplit::OneJob, true);
            if (!reportName.isEmpty()) {
                options.fileName = print::printedFileName(reportName + u'_' + departments_.nameOf(code),
                                                          context_.workYear, context_.workMonth, now);
            }
            if (print::deliver(report, printer, {}, options) > 0) ++outcome.jobs;
        }
    } catch (const std::exception& e) {
        reportPrintError(e, prompts);
        outcome.failed = true;
    }
    if (outcome.jobs > 0 && !outcome.failed)
        outcome.notice = print::printedToFilesNotice(printer, filesBefore);
    return outcome;
}

DepartmentPayment::PrintOutcome DepartmentPayment::printSelected(const data::WageGrid& grid,
                                                                 const OpenPrinter& openPrinter,
                                                                 Prompts& prompts, const QDateTime& now) {
    if (!refuseWithoutPrintedItem(grid, prompts))
        return PrintOutcome{0, true, QString(), QString(), QString()};
    std::unique_ptr<print::Printer> printer;
    try {
        if (!openPrinter) throw Error(errnum::NoPrinter, u"未找到打印机"_s);
        printer = openPrinter();
    } catch (const std::exception& e) {
        reportPrintError(e, prompts);
        return PrintOutcome{0, true, QString(), QString(), QString()};
    }
    // A table the paper holds only turned is printed turned, and the clerk is told so.
    QString turned;
    try {
        turned = turnPaperWhenNeeded(grid, *printer);
    } catch (const std::exception& e) {
        reportPrintError(e, prompts);
        return PrintOutcome{0, true, QString(), QString(), QString()};
    }
    PrintOutcome outcome = printSelected(grid, *printer, prompts, now, u"班组签收联"_s);
    outcome.turnedNote = turned;
    return outcome;
}

float DepartmentPayment::printedTableWidth(const data::WageGrid& grid, print::PrintTarget& measure) const {
    PayTableJob job;
    job.grid = &grid;
    job.catalogue = &catalogue_;
    job.rowHeight = rowHeight_;
    MeasurePayTable(job, measure, 0);
    return job.metrics.tableWidth;
}

QString DepartmentPayment::turnPaperWhenNeeded(const data::WageGrid& grid, print::Printer& printer) const {
    const float width = printedTableWidth(grid, *printer.newRecorder());
    if (width <= printer.printableWidth() || width > printer.printableHeight()) return QString();
    const QSizeF paper(printer.paperWidth(), printer.paperHeight());
    printer.setPageLayout(QPageSize(paper / 1440, QPageSize::Inch, QString(), QPageSize::ExactMatch),
                          QPageLayout::Landscape);
    return u"班组签收联的表格宽%1厘米，纸张纵向放不下，已改为横向打印。"_s.arg(
        QString::number(width / 567.0, 'f', 1));
}

}  // namespace slp::windows::payment
