#pragma once
// The window 特殊打印设置: the item tree, the sheet picture with a label per caption, the menus and the
// status bar, over SpecialLayout. Dragging, the pop-up, the rubber band and the menus change the
// logic; the labels are placed from it.
#include <QMainWindow>
#include <QPixmap>
#include <memory>
#include <vector>

#include "ui/reopening_window.h"
#include "windows/shared/window_services.h"
#include "windows/special_print/special_layout.h"
#include "windows/special_print/special_settings.h"

class QAction;
class QLabel;
class QMenu;
class QTreeWidget;

namespace slp::ui {
class QtPrompts;
}

namespace slp::windows::special {

// The sheet picture PicSelItem: white paper, the form's background picture when one is set, the rubber
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

class SpecialPrintWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit SpecialPrintWindow(WindowServices services, QWidget* parent = nullptr);
    ~SpecialPrintWindow() override;

    SpecialLayout& layout() { return layout_; }
    SheetPicture* sheet() const { return sheet_; }
    QTreeWidget* tree() const { return tree_; }
    QLabel* label(int index) const { return labels_.at(size_t(index)); }
    QMenu* popup() const { return popup_; }
    QString statusPanel(int panel) const;
    // Twips of a screen pixel.
    double twipsPerPixel() const { return tpp_; }
    // Label `index` moved to the logic's position.
    void placeLabels();
    // The menu actions by object name (MenuJUST, MenuSetPlace_1, ...).
    QAction* action(const QString& objectName) const;

    // The handlers the widgets call (public for the tests).
    void openPopup(int index, const QPoint& globalPos);
    void choosePlace(int item);
    void askPaperWidth();
    void askPaperHeight();
    void confirmLayout();
    void printLayout();
    void askCalibration();
    void askBackground();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    Prompts& prompts();
    bool runReported(const std::function<void()>& handler);
    void buildMenus();
    void load();
    void buildSheet();
    void resizeSheet(QSizeF twips);
    void showLabelState(int index);
    void setAllPlaces(int item);
    void toggleAllNames();
    bool labelMouse(int index, QEvent* event);
    bool sheetMouse(QEvent* event);
    QAction* addCommand(QWidget* menu, const QString& name, const QString& caption, std::function<void()> run,
                        bool checkable = false);

    WindowServices services_;
    std::unique_ptr<ui::QtPrompts> ownPrompts_;
    SpecialLayout layout_;
    SpecialSettings settings_;
    double tpp_ = 15;
    QTreeWidget* tree_ = nullptr;
    QWidget* area_ = nullptr;
    SheetPicture* sheet_ = nullptr;
    std::vector<QLabel*> labels_;
    QMenu* popup_ = nullptr;
    QLabel* panel1_ = nullptr;
    QLabel* panel2_ = nullptr;
    int currentLabel_ = -1;
    QPoint labelPress_;
    QPoint sheetGrab_;
    QPoint bandOrigin_;
};

class SpecialPrintHandle : public ReopeningWindow {
  public:
    explicit SpecialPrintHandle(WindowServices services);
    SpecialPrintWindow* window() const { return qobject_cast<SpecialPrintWindow*>(widget()); }

  private:
    WindowServices services_;
};

}  // namespace slp::windows::special
