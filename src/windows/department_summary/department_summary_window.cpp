#include "windows/department_summary/department_summary_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>

#include "app/shared/font_size_menu.h"
#include "app/shared/grid_widths.h"
#include "data/host_context.h"
#include "print/chinese_fonts.h"
#include "windows/department_summary/register_department_summary.h"
#include "windows/shared/caption_markers.h"
#include "windows/shared/wage_grid_view.h"

using namespace Qt::StringLiterals;

namespace slp::windows::summary {

DepartmentSummaryWindow::DepartmentSummaryWindow(DepartmentSummary& logic, WindowServices services)
    : WageWindow(std::move(services)), logic_(logic) {
    setObjectName(u"工资输出表3"_s);
    setWindowTitle(summaryCaption());
    buildMenus();
    connect(gridView(), &WageGridView::columnClicked, this,
            [this](int col) { toggleCaptionMarker(gridModel(), col); });
    load();
}

void DepartmentSummaryWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(u"文件"_s);
    file->setObjectName(u"MnuFile"_s);
    addCommand(file, u"MnuFileSet_10"_s, u"自动调整宽度"_s, [] {})->setEnabled(false);
    fontAction_ = addCommand(file, u"MnuFileSet_30"_s, u"打印字体"_s, [this] { choosePrintFontSize(); });
    addCommand(file, u"MnuFileSet_35"_s, u"选择所有项目"_s, [this] { markAllCaptions(gridModel()); });
    addCommand(file, u"MnuFileSet_36"_s, u"清除选择"_s, [this] { clearAllCaptions(gridModel()); });
    addCommand(file, u"MnuFileSet_40"_s, u"转到Excel"_s, [this] { exportToSpreadsheet(); });
    addCommand(menuBar(), u"MnuPrint_10"_s, u"打印班组汇总联"_s, [this] { printSummary(); });
    addCommand(menuBar(), u"MnuExit"_s, u"退出"_s, [this] { close(); });
}

void DepartmentSummaryWindow::load() {
    logic_.beginOpening();
    fontAction_->setText(printFontCaption(logic_.printFontSize()));
    placeAtOpening();
    setStatusPanel(1, workMonthPanel(logic_.monthKey()));
    runReported([this] {
        logic_.readCodeLength();
        if (!logic_.loadCatalogue(prompts())) return markNoCatalogue();
        // Read on a copy of the logic, so that the window's own may change meanwhile.
        readGrid([summary = logic_,
                  month = logic_.monthKey()](data::Database& db) { return summary.buildGridFrom(db, month); },
                 [this](BuiltGrid& built) { showGrid(built); });
    });
}

void DepartmentSummaryWindow::showGrid(BuiltGrid& built) {
    if (built.error) std::rethrow_exception(built.error);
    if (!built.grid) {
        prompts().messageBox(noSummaryDataMessage(), QString(), MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    const QString status = summaryStatusLine(*built.grid);
    gridModel().replaceGrid(std::move(*built.grid), std::move(built.widestCells));
    setStatusPanel(2, status);
}

bool DepartmentSummaryWindow::fillGrid() {
    std::optional<data::WageGrid> filled = logic_.buildGrid(prompts());
    if (!filled) return false;
    const QString status = summaryStatusLine(*filled);
    gridModel().update([&](data::WageGrid& shown) { shown = std::move(*filled); });
    setStatusPanel(2, status);
    return true;
}

void DepartmentSummaryWindow::choosePrintFontSize() {
    const auto size = logic_.choosePrintFontSize(prompts());
    if (!size) return;
    fontAction_->setText(printFontCaption(*size));
    logic_.setCharUnit(applyPrintFontSize(gridModel(), logic_.catalogue(), logic_.columns(grid().cols()),
                                          *size, logic_.measure()));
}

void DepartmentSummaryWindow::printSummary() {
    if (services().showPreview) {
        services().showPreview(summaryPrintRequest(grid(), *services().context, logic_.printFontSize()));
    }
}

void DepartmentSummaryWindow::exportToSpreadsheet() {
    if (services().exportGrid) services().exportGrid(grid(), prompts());
}

void DepartmentSummaryWindow::closeEvent(QCloseEvent* event) {
    // The window keeps no result set open between handlers; closing releases the host's database.
    if (services().registry) services().registry->windowClosed(WindowId::DepartmentSummary);
    WageWindow::closeEvent(event);
}

DepartmentSummaryHandle::DepartmentSummaryHandle(WindowServices services)
    : ReopeningWindow([this](QWidget*) -> QWidget* {
          print::registerChineseFontSubstitutes();  // the grid's 宋体 and its width of "我"
          return windowToShow(new DepartmentSummaryWindow(logic_, services_));
      }),
      services_(std::move(services)),
      logic_(*services_.context, services_.measure) {}

}  // namespace slp::windows::summary

namespace slp {

void registerDepartmentSummaryWindow(WindowRegistry& registry, windows::WindowServices services) {
    windows::registerWindowHandle<windows::summary::DepartmentSummaryHandle>(
        registry, WindowId::DepartmentSummary, std::move(services));
}

void registerDepartmentSummaryWindow(WindowRegistry& registry) {
    registerDepartmentSummaryWindow(registry, windows::standardWindowServices(registry, hostContext()));
}

}  // namespace slp
