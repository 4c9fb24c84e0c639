#pragma once
// The window 工资输出表2 "班组签收联" and its registry handle. The window lays out the department list, the
// splitter, the grid, the menus, the status bar and the preview picture, and runs the logic of
// DepartmentPayment; the handle keeps the logic (the window's own variables) between openings.
#include <QPoint>

#include "app/department_payment/department_payment.h"
#include "print/page_recorder.h"
#include "ui/reopening_window.h"
#include "windows/shared/wage_window.h"

class QAction;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;

namespace slp::windows::payment {

class DepartmentPaymentWindow : public WageWindow {
    Q_OBJECT
  public:
    // Builds the window and runs its opening steps (faults are reported, the window stays usable).
    DepartmentPaymentWindow(DepartmentPayment& logic, WindowServices services);

    DepartmentPayment& logic() { return logic_; }

    // The controls, for tests and screenshots.
    QListWidget* departmentList() const { return list_; }
    QFrame* splitter() const { return splitter_; }
    QFrame* splitterBar() const { return bar_; }
    QLabel* previewPicture() const { return pic_; }
    QMenu* popupMenu() const { return popup_; }
    bool inPreview() const;
    // The page the preview picture shows (the one the printer would get).
    const print::Page& previewPage() const { return previewPage_; }
    // Where the preview stands: the department shown (its code), the page (from 1) and how many.
    QString previewDepartmentCode() const;
    QString previewDepartmentName() const;
    int previewPageNumber() const { return previewPageIndex_ + 1; }
    int previewPageCount() const { return int(previewPages_.size()); }

    // ArrangeControls(x): lays the window out around splitter position x (twips); returns the x used.
    float arrangeControls(float x);
    // Splitter position in twips (Image1.Left).
    float splitterLeft() const;
    // A click on list entry `index` (-1: an empty area).
    void clickDepartment(int index);
    // The splitter dragged: pressed, moved by `pointerX` twips from its left, released.
    void pressSplitter();
    void moveSplitter(float pointerX);
    void releaseSplitter();
    // Width of the window in twips.
    float widthTwips() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void buildControls();
    void load();
    // Shows the grid read at opening, or says the month has nothing to show.
    void showGrid(BuiltGrid& built);
    bool fillGrid();
    void fillDepartmentList();
    void showIcons();
    void showOrHideDepartments();
    void changeRowHeight();
    void printDepartments();
    void preview();
    // In the preview: turns to page `index` (from 0) of the department shown, or shows department
    // `index` of the ones the preview goes through (the selected ones, or every one), from its page 1.
    void showPreviewPage(int index);
    double previewDpi() const;
    void showPreviewDepartment(int index);
    void exitPreview();
    void setPreviewMode(bool on);
    void addPreviewKeys();
    QDateTime now() const;
    double dpi() const;

    DepartmentPayment& logic_;
    QListWidget* list_ = nullptr;
    QFrame* splitter_ = nullptr;  // Image1
    QFrame* bar_ = nullptr;       // Picture1
    QLabel* pic_ = nullptr;       // Pic
    QMenu* file_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* rowHeightAction_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* selDeptAction_ = nullptr;
    QAction* findAction_ = nullptr;
    QString findKey_;  // the 工号 or 姓名 last looked for
    QAction* exitAction_ = nullptr;
    QAction* exitViewAction_ = nullptr;
    bool splitterDragging_ = false;
    float splitterLeft_ = 0;  // twips
    QPoint dragOrigin_;
    print::Page previewPage_;
    std::vector<print::Page> previewPages_;
    int previewPageIndex_ = 0;
    QStringList previewCodes_;  // the departments the preview goes through, in list order
    int previewCodeIndex_ = 0;
    QString panelBeforePreview_;
    print::Sheet previewSheet_;
    QString previewTurnedNote_;  // said with the page numbers when the preview's paper is turned
    std::vector<QAction*> previewKeys_;
};

class DepartmentPaymentHandle : public ReopeningWindow {
  public:
    explicit DepartmentPaymentHandle(WindowServices services);
    DepartmentPayment& logic() { return logic_; }
    DepartmentPaymentWindow* window() const { return qobject_cast<DepartmentPaymentWindow*>(widget()); }

  private:
    WindowServices services_;
    DepartmentPayment logic_;
};

}  // namespace slp::windows::payment
