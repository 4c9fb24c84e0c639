#pragma once
// The window 特殊打印设置 and its registry handle: the item tree, the sheet picture with a label per
// caption, the menus and the status bar, over a SpecialPrintSession. Dragging, the pop-up, the rubber
// band and the menus change the session; the labels are placed from its layout. The handle keeps the
// session between openings and makes the window afresh at each one.
#include <QPixmap>
#include <array>
#include <vector>

#include "app/special_print/special_print_session.h"
#include "ui/reopening_window.h"
#include "windows/shared/command_window.h"

class QAction;
class QLabel;
class QMenu;
class QTreeWidget;

namespace slp::windows::special {

// The sheet picture: white paper, the form's background picture when one is set, the rubber
// band while the right button is held.
class SheetPicture : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;
    void setBackground(const QPixmap& picture);
    bool hasBackground() const { return !background_.isNull(); }
    void setBand(const QRect& band);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap background_;
    QRect band_;
};

class SpecialPrintWindow : public CommandWindow {
    Q_OBJECT
  public:
    // Builds the window and runs its opening steps (faults are reported, the window stays usable).
    SpecialPrintWindow(SpecialPrintSession& logic, WindowServices services, QWidget* parent = nullptr);

    SpecialPrintSession& logic() { return logic_; }
    SpecialLayout& layout() { return logic_.layout(); }
    SheetPicture* sheet() const { return sheet_; }
    QTreeWidget* tree() const { return tree_; }
    QLabel* label(int index) const { return labels_.at(size_t(index)); }
    QMenu* popup() const { return popup_; }
    QString statusPanel(int panel) const;
    // Twips of a screen pixel.
    double twipsPerPixel() const { return tpp_; }
    // Every label moved to the layout's position, in the colour and slant of its selection.
    void placeLabels();
    // The menu actions by object name (MenuJUST, MenuSetPlace_1, ...).
    QAction* action(const QString& objectName) const;
    // Opens the pop-up menu of label `index` at `globalPos`, its entries checked as the label is set.
    void openPopup(int index, const QPoint& globalPos);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QAction* addChoice(QWidget* menu, const QString& name, const QString& caption, std::function<void()> run);
    void buildMenus();
    void open();
    void buildLabels();
    void fitSheetOnFirstOpening();
    void showSheetSize();
    void placeAllValues(PositionCode code);
    // 打印 with a progress bar that can cancel.
    void printRecords();
    // 打印 is offered once a layout is stored; until then it says why it waits.
    void enablePrint(bool stored);
    bool labelMouse(int index, QEvent* event);
    bool sheetMouse(QEvent* event);

    SpecialPrintSession& logic_;
    double tpp_ = 15;
    QTreeWidget* tree_ = nullptr;
    QWidget* area_ = nullptr;
    SheetPicture* sheet_ = nullptr;
    std::vector<QLabel*> labels_;
    QMenu* popup_ = nullptr;
    QLabel* panel1_ = nullptr;
    QLabel* panel2_ = nullptr;
    QAction* onePerPage_ = nullptr;
    QAction* paperWidth_ = nullptr;
    QAction* paperHeight_ = nullptr;
    QAction* print_ = nullptr;
    QAction* allNames_ = nullptr;
    QAction* chosenName_ = nullptr;
    std::array<QAction*, 4> allPlaces_{};     // by PositionCode
    std::array<QAction*, 4> chosenPlaces_{};  // by PositionCode
    QPoint labelPress_;
    QPoint sheetGrab_;
    QPoint bandOrigin_;
};

class SpecialPrintHandle : public ReopeningWindow {
  public:
    explicit SpecialPrintHandle(WindowServices services);
    SpecialPrintSession& logic() { return logic_; }
    SpecialPrintWindow* window() const { return qobject_cast<SpecialPrintWindow*>(widget()); }

  private:
    WindowServices services_;
    SpecialPrintSession logic_;
};

}  // namespace slp::windows::special
