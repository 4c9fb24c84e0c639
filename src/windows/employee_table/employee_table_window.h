#pragma once
// The window 工资输出表1 and its registry handle. The window lays out the grid, menus and status bar
// and runs the logic of EmployeeTable and the commands; the handle keeps the logic (the window's own
// variables) between openings and makes the window afresh at each one.
#include <QPointer>

#include "app/employee_table/employee_table.h"
#include "ui/reopening_window.h"
#include "windows/shared/wage_window.h"

class QAction;
class QMenu;

namespace slp::windows::employee {

class EmployeeTableWindow : public WageWindow {
    Q_OBJECT
  public:
    // Builds the window and runs its opening steps (faults are reported, the window stays usable).
    EmployeeTableWindow(EmployeeTable& logic, WindowServices services);

    EmployeeTable& logic() { return logic_; }
    // The rule switch of the strips (MnuLine), unchecked at every opening.
    bool stripRules() const;

    // Shows the grid read at opening, or says the month has nothing to show.
    void showGrid(BuiltGrid& built);
    // Refills the grid from the database at the current zero display; false when nothing was filled.
    bool fillGrid();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    void load();
    void toggleZeroDisplay();
    void choosePrintFontSize();
    void printStrips();
    void openQuery();
    void reprintSlip();
    // "发送电子工资条…": the electronic slips of the grid as shown.
    void openSlipMail();

    EmployeeTable& logic_;
    QAction* zeroAction_ = nullptr;
    QAction* fontAction_ = nullptr;
    QAction* lineAction_ = nullptr;
    QMenu* popup_ = nullptr;
};

class EmployeeTableHandle : public ReopeningWindow {
  public:
    explicit EmployeeTableHandle(WindowServices services);
    EmployeeTable& logic() { return logic_; }
    EmployeeTableWindow* window() const { return qobject_cast<EmployeeTableWindow*>(widget()); }

  private:
    WindowServices services_;
    EmployeeTable logic_;
};

}  // namespace slp::windows::employee
