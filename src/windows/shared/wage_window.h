#pragma once
// The frame every wage window shares: a CommandWindow (services, dialogs, menu commands whose faults are
// reported) with a WageGridView placed by the resizing rule, a status bar of two panels and the placement
// at opening. A window class derives from it, adds its menus and runs its logic.
#include "app/shared/grid_fill.h"
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

    // Opening found no items for the month ("未找到本月计算公,请先设置本月公式!" was said): there is
    // nothing to show.
    void markNoCatalogue() { noCatalogue_ = true; }
    bool noCatalogue() const { return noCatalogue_; }

    // The top left corner of the screen, the screen's width and its height less 360 twips.
    void placeAtOpening();
    // Applies the resizing rule to the grid now (also done on every resize).
    void placeGrid();

    // Reads the grid with `build` and hands it to `shown`: on a thread of its own while the window shows
    // when the services ask for it and the database allows a second connection (a fault of the build
    // is then reported when it is over), otherwise at once on the host's connection (faults go to the
    // caller). Commands and closing wait for a read still running.
    void readGrid(GridFill::Build build, GridFill::Shown shown);
    // Whether a grid is still being read on its own thread.
    bool filling() const { return fill_->running(); }
    // Waits for a grid still being read and shows it.
    void finishFilling() { fill_->wait(); }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void settleBeforeCommand() override { finishFilling(); }

  private:
    data::WageGridModel* model_;
    WageGridView* view_;
    QLabel* panel1_;
    QLabel* panel2_;
    GridFill* fill_;
    bool noCatalogue_ = false;
};

// What a handle's maker hands its registry: the window, or nothing when its opening found no items for
// the month; that window is closed (its closing steps run) and deleted, so no empty window stays.
QWidget* windowToShow(WageWindow* window);

}  // namespace slp::windows
