#pragma once
// The frame every wage window shares: a CommandWindow (services, dialogs, menu commands whose faults are
// reported) with a WageGridView placed by the resizing rule, a status bar of two panels and the placement
// at opening. A window class derives from it, adds its menus and runs its logic.
#include "data/wage_grid_model.h"
#include "windows/shared/command_window.h"

class QLabel;

namespace slp::windows {

class WageGridView;

class WageWindow : public CommandWindow {
    Q_OBJECT
  public:
    explicit WageWindow(WindowServices services, QWidget* parent = nullptr);
    ~WageWindow() override;

    data::WageGridModel& gridModel() { return *model_; }
    const data::WageGrid& grid() const { return model_->grid(); }
    WageGridView* gridView() const { return view_; }

    // Status bar panels 1 and 2.
    void setStatusPanel(int panel, const QString& text);
    QString statusPanel(int panel) const;

    // The top left corner of the screen, the screen's width and its height less 360 twips.
    void placeAtOpening();
    // Applies the resizing rule to the grid now (also done on every resize).
    void placeGrid();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    data::WageGridModel* model_;
    WageGridView* view_;
    QLabel* panel1_;
    QLabel* panel2_;
};

}  // namespace slp::windows
