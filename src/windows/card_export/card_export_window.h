#pragma once
// The window SlgzSJSC "工资卡输出": two pages (the four fields and the card type; the card grid), the
// file, table and sort menus and a two-panel status bar, all showing a CardExport. The window is made
// afresh at every opening through CardExportHandle; the logic lives in the handle between openings.
#include <array>

#include "app/card_export/card_export.h"
#include "app/shared/grid_fill.h"
#include "windows/shared/command_window.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;
class QTableView;

namespace slp::card {

class CardExportWindow : public windows::CommandWindow {
    Q_OBJECT
  public:
    // Builds the window and runs its opening steps (faults are reported, the window stays usable).
    CardExportWindow(CardExport& logic, windows::WindowServices services);

    CardExport& logic() { return logic_; }

    // The controls, for the host's tests and tools.
    QTabWidget* pages() const { return pages_; }
    QTableView* gridView() const { return grid_; }
    QMenu* fileMenu() const { return fileMenu_; }
    QAction* fileAction(FileCommand command) const;
    QAction* sortAction(SortOrder order) const;
    // Whether the card grid is still being read on its own thread.
    bool filling() const { return fill_->running(); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void settleBeforeCommand() override { fill_->wait(); }

  private:
    void buildMenus();
    void findEmployee();
    QWidget* buildFieldsPage();
    QWidget* buildGridPage();
    void applyColumnWidths();
    void open();
    // Reads the card grid the opening left on a thread of its own and shows it when it is read.
    void readGridApart();
    // Shows the logic's present state in every control.
    void refresh();
    void runFileCommand(FileCommand command);

    CardExport& logic_;
    QTabWidget* pages_ = nullptr;
    std::array<QLineEdit*, CardExport::kFieldCount> fields_{};
    QLabel* unitCodeLabel_ = nullptr;
    QComboBox* cardType_ = nullptr;
    QTableView* grid_ = nullptr;
    QString findKey_;  // the 工号 or 姓名 last looked for
    QMenu* fileMenu_ = nullptr;
    QLabel* status1_ = nullptr;
    QLabel* status2_ = nullptr;
    bool closed_ = false;
    windows::GridFill* fill_;
};

}  // namespace slp::card
