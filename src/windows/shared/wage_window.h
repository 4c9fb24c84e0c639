#pragma once
// The frame every wage window shares: a main window with a WageGridView placed by the resizing rule, a
// status bar of two panels, menu commands as named QActions whose faults are reported in message boxes,
// and the placement at opening. A window class derives from it, adds its menus and runs its logic.
#include <QMainWindow>
#include <functional>
#include <memory>

#include "data/wage_grid_model.h"
#include "windows/shared/window_services.h"

class QLabel;

namespace slp::ui {
class QtPrompts;
}

namespace slp::windows {

class WageGridView;

class WageWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit WageWindow(WindowServices services, QWidget* parent = nullptr);
    ~WageWindow() override;

    const WindowServices& services() const { return services_; }
    // The services' dialogs, or Qt dialogs owned by this window.
    Prompts& prompts();
    data::WageGridModel& gridModel() { return *model_; }
    const data::WageGrid& grid() const { return model_->grid(); }
    WageGridView* gridView() const { return view_; }

    // Status bar panels 1 and 2.
    void setStatusPanel(int panel, const QString& text);
    QString statusPanel(int panel) const;

    // A menu command: a QAction named `objectName` (e.g. "MnuPrint_10") with `caption`, added to `menu`
    // (a QMenu or the menu bar); triggering it runs `handler` and reports any fault it raises.
    QAction* addCommand(QWidget* menu, const QString& objectName, const QString& caption,
                        std::function<void()> handler);
    // Runs a handler, reporting a fault in a message box ("错误号:" & number). Returns whether it ran
    // through.
    bool runReported(const std::function<void()>& handler);

    // The top left corner of the screen, the screen's width and its height less 360 twips.
    void placeAtOpening();
    // Applies the resizing rule to the grid now (also done on every resize).
    void placeGrid();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    WindowServices services_;
    std::unique_ptr<ui::QtPrompts> ownPrompts_;
    data::WageGridModel* model_;
    WageGridView* view_;
    QLabel* panel1_;
    QLabel* panel2_;
};

}  // namespace slp::windows
