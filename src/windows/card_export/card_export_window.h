#pragma once
// The window SlgzSJSC "工资卡输出": two pages (the four fields and the card type; the card grid), the
// file, table and sort menus and a two-panel status bar, all showing a CardExportForm.
#include <QMainWindow>
#include <array>

#include "windows/card_export/card_export_form.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;
class QTableView;

namespace slp::card {

class CardExportWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit CardExportWindow(CardExportForm& form, QWidget* parent = nullptr);

    // Form_Load, then the controls show its outcome.
    void load();
    // Shows the form's present state in every control.
    void refresh();

    // The controls, for the host's tests and tools.
    QTabWidget* pages() const { return pages_; }
    QTableView* gridView() const { return grid_; }
    QMenu* fileMenu() const { return fileMenu_; }
    QAction* fileAction(int index) const;
    QAction* sortAction(int index) const;

  signals:
    // The window has closed (after Form_Unload).
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    QWidget* buildFieldsPage();
    QWidget* buildGridPage();
    void applyColumnWidths();
    void fileCommand(int index);

    CardExportForm& form_;
    QTabWidget* pages_ = nullptr;
    std::array<QLineEdit*, CardExportForm::kFieldCount> fields_{};
    QLabel* unitCodeLabel_ = nullptr;
    QComboBox* cardType_ = nullptr;
    QTableView* grid_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QLabel* status1_ = nullptr;
    QLabel* status2_ = nullptr;
    bool unloaded_ = false;
};

}  // namespace slp::card
