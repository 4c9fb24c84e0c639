#include "windows/employee_table/employee_table_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>

#include "app/employee_table/employee_commands.h"
#include "app/employee_table/one_employee_slip.h"
#include "app/shared/font_size_menu.h"
#include "app/shared/grid_widths.h"
#include "basic/clock.h"
#include "data/host_context.h"
#include "data/wage_grid.h"
#include "data/wage_items.h"
#include "print/pdf_print_choice.h"
#include "print/printer.h"
#include "print/reports/strip_report.h"
#include "windows/employee_table/register_employee_table.h"
#include "windows/print_preview/printer_choice_dialog.h"
#include "windows/query/query_window.h"
#include "windows/shared/caption_markers.h"
#include "windows/shared/grid_taking_window.h"
#include "windows/shared/wage_grid_view.h"

using namespace Qt::StringLiterals;

namespace slp::windows::employee {

EmployeeTableWindow::EmployeeTableWindow(EmployeeTable& logic, WindowServices services)
    : WageWindow(std::move(services)), logic_(logic) {
    setObjectName(u"工资输出表1"_s);
    setWindowTitle(employeeTableCaption());
    buildMenus();
    connect(gridView(), &WageGridView::columnClicked, this,
            [this](int col) { toggleCaptionMarker(gridModel(), col); });
    connect(gridView(), &WageGridView::popupRequested, this, [this](const QPoint& at) { popup_->popup(at); });
    load();
}

void EmployeeTableWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(u"文件"_s);
    file->setObjectName(u"MnuFile"_s);
    addCommand(file, u"MnuFileSet_10"_s, u"自动调整宽度"_s, [] {})->setEnabled(false);
    zeroAction_ =
        addCommand(file, u"MnuFileSet_20"_s, zeroDisplayCaption(true), [this] { toggleZeroDisplay(); });
    fontAction_ = addCommand(file, u"MnuFileSet_30"_s, printFontCaption(kOpeningPrintFontSize),
                             [this] { choosePrintFontSize(); });
    addCommand(file, u"MnuFileSet_35"_s, u"选择所有项目"_s, [this] { markAllCaptions(gridModel()); });
    addCommand(file, u"MnuFileSet_36"_s, u"清除选择"_s, [this] { clearAllCaptions(gridModel()); });
    addCommand(file, u"MnuFileSet_40"_s, u"转到Excel"_s, [this] {
        if (services().exportGrid) services().exportGrid(grid(), prompts());
    });
    addCommand(file, u"MnuSlipMail"_s, u"发送电子工资条…"_s, [this] { openSlipMail(); });

    QMenu* set = menuBar()->addMenu(u"打印设置"_s);
    set->setObjectName(u"MnuSet"_s);
    lineAction_ = addCommand(set, u"MnuLine"_s, stripRulesCaption(), [] {});
    lineAction_->setCheckable(true);
    // Slips print one line an employee: the single-line entry carries the mark; the double-line one,
    // which prints nothing different, stays greyed so that no clerk expects it to.
    QAction* single = addCommand(set, u"SL"_s, u"单行打印（默认）"_s, [] {});
    single->setCheckable(true);
    single->setChecked(true);
    QAction* twoLines = addCommand(set, u"DL"_s, u"双行打印"_s, [] {});
    twoLines->setCheckable(true);
    twoLines->setEnabled(false);

    set->addSeparator();
    addCommand(set, u"PrinterSetup"_s, print::printerSetupCaption(), [this] {
        if (services().store) print::askPrinterChoice(*services().store, prompts(), this);
    });
    addCommand(menuBar(), u"MnuFind"_s, u"查询"_s, [this] { openQuery(); });
    addCommand(menuBar(), u"MnuPrint_10"_s, u"打印工资表"_s, [this] {
        services().showPreview(wageTableRequest(grid(), *services().context, logic_.printFontSize()));
    });
    addCommand(menuBar(), u"MnuPrint_15"_s, u"预览个人发放联"_s, [this] {
        services().showPreview(wageSlipsRequest(grid(), *services().context, logic_.printFontSize()));
    });
    addCommand(menuBar(), u"MnuPrint_20"_s, u"打印个人发放联"_s, [this] { printStrips(); });
    addCommand(menuBar(), u"reprintSlipAction"_s, u"补打工资条"_s, [this] { reprintSlip(); });
    addCommand(menuBar(), u"MnuExit"_s, u"退出"_s, [this] { close(); });

    popup_ = new QMenu(this);
    popup_->setObjectName(u"MnuPop"_s);
    addCommand(popup_, u"MnuPopChild_10"_s, u"选择所有项目"_s, [this] { markAllCaptions(gridModel()); });
    addCommand(popup_, u"MnuPopChild_20"_s, u"清除选择"_s, [this] { clearAllCaptions(gridModel()); });
}

void EmployeeTableWindow::load() {
    // A setting that does not convert is reported; the window opens with zeros shown.
    runReported([this] { logic_.beginOpening(); });
    fontAction_->setText(printFontCaption(logic_.printFontSize()));
    zeroAction_->setText(zeroDisplayCaption(logic_.showZeros()));
    placeAtOpening();
    setStatusPanel(1, workMonthPanel(logic_.monthKey()));
    runReported([this] {
        if (!logic_.loadCatalogue(prompts())) return markNoCatalogue();
        // Read on a copy of the table, so that the window's own may change meanwhile.
        readGrid([table = logic_,
                  month = logic_.monthKey()](data::Database& db) { return table.buildGridFrom(db, month); },
                 [this](BuiltGrid& built) { showGrid(built); });
    });
}

void EmployeeTableWindow::showGrid(BuiltGrid& built) {
    if (built.error) std::rethrow_exception(built.error);
    if (!built.grid) {
        prompts().messageBox(noWageDataMessage(), QString(), MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    const int employees = built.grid->rows() - 2;
    gridModel().replaceGrid(std::move(*built.grid), std::move(built.widestCells));
    setStatusPanel(2, headCountPanel(employees));
}

bool EmployeeTableWindow::fillGrid() {
    std::optional<data::WageGrid> filled = logic_.buildGrid(prompts());
    if (!filled) return false;
    const int employees = filled->rows() - 2;
    gridModel().replaceGrid(std::move(*filled));
    setStatusPanel(2, headCountPanel(employees));
    return true;
}

void EmployeeTableWindow::toggleZeroDisplay() {
    logic_.toggleZeroDisplay();
    zeroAction_->setText(zeroDisplayCaption(logic_.showZeros()));
    runReported([this] { fillGrid(); });
    setStatusPanel(2, zeroDisplayCaption(logic_.showZeros()));
}

void EmployeeTableWindow::choosePrintFontSize() {
    const auto size = logic_.choosePrintFontSize(prompts());
    if (!size) return;
    fontAction_->setText(printFontCaption(*size));
    logic_.setCharUnit(applyPrintFontSize(gridModel(), logic_.catalogue(), logic_.columns(grid().cols()),
                                          *size, logic_.measure()));
}

bool EmployeeTableWindow::stripRules() const {
    return lineAction_->isChecked();
}

void EmployeeTableWindow::printStrips() {
    // Strips of the sequence numbers alone are not printed: said before the range is asked.
    if (data::hidesEveryItemColumn(grid(), strips::kStripHiddenWidth)) {
        prompts().messageBox(data::noPrintedItemMessage(), QString(), MessageIcon::Warning,
                             MessageButtons::Ok);
        return;
    }
    const int employees = std::max(0, grid().rows() - 2);
    const auto range = askStripRange(prompts(), employees);
    if (!range) return;
    std::unique_ptr<print::Printer> printer = services().openPrinter();
    const HostContext& host = *services().context;
    const QString name =
        print::printedFileName(u"个人发放联"_s, host.workYear, host.workMonth,
                               services().clock ? services().clock->now() : QDateTime::currentDateTime());
    if (printEmployeeStrips(*printer, grid(), *range, stripRules(), logic_.printFontSize(), name) == 0)
        return;
    setStatusPanel(2, stripPageNotice());
    print::tellWherePrinted(*printer, prompts());
}

void EmployeeTableWindow::reprintSlip() {
    // One employee's slip again, by 工号 or 姓名, on the chosen printer as the slips print it.
    const QString title = u"补打工资条"_s;
    const auto key = prompts().inputBox(u"请输入要补打工资条的员工的工号或姓名"_s, title, QString());
    if (!key || key->trimmed().isEmpty()) return;
    const ChosenEmployees chosen = chooseEmployees(grid(), {*key});
    if (!chosen.problems.isEmpty()) {
        prompts().messageBox(chosen.problems.join(u'\n'), title, MessageIcon::Information,
                             MessageButtons::Ok);
        return;
    }
    std::unique_ptr<print::Printer> printer = services().openPrinter();
    const qsizetype filesBefore = printer->writtenFiles().size();
    const SystemClock systemClock;
    const Clock& clock = services().clock ? *services().clock : systemClock;
    const auto result = printOneEmployeeSlip(grid(), chosen.rows.front(), *services().context,
                                             *services().store, *printer, logic_.printFontSize(), clock);
    for (const QString& message : result.messages)
        prompts().messageBox(message, title, MessageIcon::Information, MessageButtons::Ok);
    if (result.pagesPrinted > 0) print::tellWherePrinted(*printer, prompts(), filesBefore);
}

void EmployeeTableWindow::openQuery() {
    ManagedWindow& window = services().registry->obtain(WindowId::Query);
    auto* query = dynamic_cast<query::QueryHandle*>(&window);
    if (!query) {
        window.showOrRaise();
        return;
    }
    QPointer<EmployeeTableWindow> self(this);
    query->setPrintFontSizeSource(
        [self] { return self ? self->logic().printFontSize() : kOpeningPrintFontSize; });
    query->showOwnedBy(this);
}

void EmployeeTableWindow::openSlipMail() {
    if (!services().registry || !services().registry->hasFactory(WindowId::SlipMail)) return;
    ManagedWindow& window = services().registry->obtain(WindowId::SlipMail);
    if (auto* taker = dynamic_cast<GridTakingWindow*>(&window)) {
        taker->openWithGrid(grid(), logic_.printFontSize(), this);
    } else {
        window.showOrRaise();
    }
}

void EmployeeTableWindow::closeEvent(QCloseEvent* event) {
    // Each step is attempted even when an earlier one fails.
    runReported([this] { logic_.saveZeroDisplay(); });
    if (services().registry) services().registry->windowClosed(WindowId::EmployeeTable);
    WageWindow::closeEvent(event);
}

EmployeeTableHandle::EmployeeTableHandle(WindowServices services)
    : ReopeningWindow(
          [this](QWidget*) -> QWidget* { return windowToShow(new EmployeeTableWindow(logic_, services_)); }),
      services_(std::move(services)),
      logic_(*services_.context, *services_.store, services_.measure) {}

}  // namespace slp::windows::employee

namespace slp {

void registerEmployeeTableWindow(WindowRegistry& registry, windows::WindowServices services) {
    windows::registerWindowHandle<windows::employee::EmployeeTableHandle>(registry, WindowId::EmployeeTable,
                                                                          std::move(services));
}

void registerEmployeeTableWindow(WindowRegistry& registry) {
    registerEmployeeTableWindow(registry, windows::standardWindowServices(registry, hostContext()));
}

}  // namespace slp
