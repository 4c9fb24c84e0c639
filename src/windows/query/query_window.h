#pragma once
// The window SlgzGRCX and its registry handle. Two states: entering the conditions (name and
// department boxes, "确定" and "取消") and showing the employees found (the grid, the menus
// "打印个人发放联" and "退出"). A window that found nothing closes itself; a new query needs a new window.
#include <functional>

#include "app/query/conditional_query.h"
#include "ui/reopening_window.h"
#include "windows/shared/wage_window.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace slp::windows::query {

class QueryWindow : public WageWindow {
    Q_OBJECT
  public:
    // printFontSize gives the print font size of the moment (the owner's); owner may be nullptr.
    QueryWindow(ConditionalQuery& logic, WindowServices services, std::function<float()> printFontSize,
                QWidget* owner);

    QLineEdit* nameBox() const { return nameBox_; }
    QLineEdit* departmentBox() const { return departmentBox_; }
    QPushButton* confirmButton() const { return confirm_; }
    QPushButton* cancelButton() const { return cancel_; }
    bool showingResults() const { return showingResults_; }

    // "确定": closes when both boxes are empty, else runs the query.
    void confirm();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void showResults(data::WageGrid grid);
    void printSlips();

    ConditionalQuery& logic_;
    std::function<float()> printFontSize_;
    QWidget* conditions_;
    QLabel* nameLabel_;
    QLabel* departmentLabel_;
    QLabel* measureLabel_;
    QLineEdit* nameBox_;
    QLineEdit* departmentBox_;
    QPushButton* confirm_;
    QPushButton* cancel_;
    QAction* printAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    bool showingResults_ = false;
};

class QueryHandle : public ReopeningWindow {
  public:
    explicit QueryHandle(WindowServices services);
    ConditionalQuery& logic() { return logic_; }
    QueryWindow* window() const { return qobject_cast<QueryWindow*>(widget()); }
    // Where the print font size comes from (the owning employee table); 9 when none is set.
    void setPrintFontSizeSource(std::function<float()> source) { printFontSize_ = std::move(source); }

  private:
    WindowServices services_;
    ConditionalQuery logic_;
    std::function<float()> printFontSize_;
};

}  // namespace slp::windows::query
