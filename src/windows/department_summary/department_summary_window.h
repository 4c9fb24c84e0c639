#pragma once
// The window 工资输出表3 and its registry handle. The window lays out the grid, menus and status bar and
// runs the logic of DepartmentSummary; the handle keeps the logic (the window's own variables) between
// openings and makes the window afresh at each one.
#include "app/department_summary/department_summary.h"
#include "ui/reopening_window.h"
#include "windows/shared/wage_window.h"

class QAction;

namespace slp::windows::summary {

class DepartmentSummaryWindow : public WageWindow {
    Q_OBJECT
  public:
    // Builds the window and runs its opening steps (faults are reported, the window stays usable).
    DepartmentSummaryWindow(DepartmentSummary& logic, WindowServices services);

    DepartmentSummary& logic() { return logic_; }
    // Shows the grid read at opening, or says the month has nothing to show.
    void showGrid(BuiltGrid& built);
    // Refills the grid from the database; false when nothing was filled.
    bool fillGrid();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    void load();
    void choosePrintFontSize();
    void printSummary();
    void exportToSpreadsheet();

    DepartmentSummary& logic_;
    QAction* fontAction_ = nullptr;
};

class DepartmentSummaryHandle : public ReopeningWindow {
  public:
    explicit DepartmentSummaryHandle(WindowServices services);
    DepartmentSummary& logic() { return logic_; }
    DepartmentSummaryWindow* window() const { return qobject_cast<DepartmentSummaryWindow*>(widget()); }

  private:
    WindowServices services_;
    DepartmentSummary logic_;
};

}  // namespace slp::windows::summary
