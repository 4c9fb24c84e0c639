#include "windows/query/query_window.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

#include "data/host_context.h"
#include "windows/query/register_query.h"
#include "windows/shared/wage_grid_view.h"

using namespace Qt::StringLiterals;

namespace slp::windows::query {

QueryWindow::QueryWindow(ConditionalQuery& logic, WindowServices services,
                         std::function<float()> printFontSize, QWidget* owner)
    : WageWindow(std::move(services), owner),
      logic_(logic),
      printFontSize_(std::move(printFontSize)),
      conditions_(new QWidget(centralWidget())),
      nameLabel_(new QLabel(u"姓名："_s, conditions_)),
      departmentLabel_(new QLabel(u"部门号："_s, conditions_)),
      measureLabel_(new QLabel(u"序号："_s, conditions_)),
      nameBox_(new QLineEdit(conditions_)),
      departmentBox_(new QLineEdit(conditions_)),
      confirm_(new QPushButton(u"确定"_s, conditions_)),
      cancel_(new QPushButton(u"取消"_s, conditions_)) {
    setObjectName(u"SlgzGRCX"_s);
    setWindowTitle(queryWindowCaption());
    nameLabel_->setObjectName(u"Label1_1"_s);
    departmentLabel_->setObjectName(u"Label1_0"_s);
    measureLabel_->setObjectName(u"Label1_2"_s);
    nameBox_->setObjectName(u"Text1_1"_s);
    departmentBox_->setObjectName(u"Text1_2"_s);
    confirm_->setObjectName(u"Command1_0"_s);
    cancel_->setObjectName(u"Command1_1"_s);
    statusBar()->hide();
    gridView()->hide();

    auto* form = new QGridLayout(conditions_);
    form->addWidget(nameLabel_, 0, 0);
    form->addWidget(nameBox_, 0, 1);
    form->addWidget(departmentLabel_, 1, 0);
    form->addWidget(departmentBox_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirm_);
    buttons->addWidget(cancel_);
    form->addLayout(buttons, 2, 0, 1, 2);
    // The measuring label only lends its font to "我"; it is never shown.
    measureLabel_->hide();
    conditions_->adjustSize();
    conditions_->move(8, 8);

    printAction_ = addCommand(menuBar(), u"MnuPrint"_s, u"打印个人发放联"_s, [this] { printSlips(); });
    exitAction_ = addCommand(menuBar(), u"MnuExit"_s, u"退出"_s, [this] { close(); });
    printAction_->setVisible(false);
    exitAction_->setVisible(false);
    menuBar()->setVisible(false);

    connect(nameBox_, &QLineEdit::returnPressed, departmentBox_, [this] { departmentBox_->setFocus(); });
    connect(departmentBox_, &QLineEdit::returnPressed, confirm_, [this] { confirm_->setFocus(); });
    connect(confirm_, &QPushButton::clicked, this, [this] { runReported([this] { confirm(); }); });
    connect(cancel_, &QPushButton::clicked, this, &QWidget::close);
    confirm_->installEventFilter(this);
    cancel_->installEventFilter(this);

    // Opening: the logic's first step, empty boxes, the window sized to them.
    logic_.beginOpening();
    nameBox_->clear();
    departmentBox_->clear();
    resize(conditions_->sizeHint() + QSize(16, 16));
    nameBox_->setFocus();
}

bool QueryWindow::eventFilter(QObject* watched, QEvent* event) {
    // Enter on a focused button presses it, as it does in the host's windows.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && (watched == confirm_ || watched == cancel_)) {
            static_cast<QPushButton*>(watched)->click();
            return true;
        }
    }
    return WageWindow::eventFilter(watched, event);
}

void QueryWindow::confirm() {
    ConditionalQuery::Result result = logic_.run(nameBox_->text(), departmentBox_->text(), prompts());
    switch (result.outcome) {
        case ConditionalQuery::Outcome::Closed:
        case ConditionalQuery::Outcome::NothingFound:
            close();
            return;
        case ConditionalQuery::Outcome::NoCatalogue:
            return;
        case ConditionalQuery::Outcome::Found:
            showResults(std::move(*result.grid));
            return;
    }
}

void QueryWindow::showResults(data::WageGrid grid) {
    nameLabel_->hide();
    nameBox_->hide();
    departmentBox_->hide();
    confirm_->hide();
    cancel_->hide();
    // The department label stays behind, under the grid.
    conditions_->lower();
    menuBar()->setVisible(true);
    printAction_->setVisible(true);
    exitAction_->setVisible(true);
    gridModel().update([&](data::WageGrid& shown) { shown = std::move(grid); });
    gridView()->show();
    gridView()->raise();
    showingResults_ = true;
    placeAtOpening();
}

void QueryWindow::resizeEvent(QResizeEvent* event) {
    if (showingResults_) {
        WageWindow::resizeEvent(event);
    } else {
        QMainWindow::resizeEvent(event);
    }
}

void QueryWindow::printSlips() {
    const float size = printFontSize_ ? printFontSize_() : 9;
    if (!services().showPreview) return;
    services().showPreview(logic_.slipsRequest(grid(), size));
}

QueryHandle::QueryHandle(WindowServices services)
    : ReopeningWindow([this](QWidget* owner) -> QWidget* {
          auto* w = new QueryWindow(logic_, services_, printFontSize_, owner);
          if (owner) w->setWindowFlag(Qt::Window, true);
          return w;
      }),
      services_(std::move(services)),
      logic_(*services_.context, services_.measure) {}

}  // namespace slp::windows::query

namespace slp {

void registerQueryWindow(WindowRegistry& registry, windows::WindowServices services) {
    windows::registerWindowHandle<windows::query::QueryHandle>(registry, WindowId::Query,
                                                               std::move(services));
}

void registerQueryWindow(WindowRegistry& registry) {
    registerQueryWindow(registry, windows::standardWindowServices(registry, hostContext()));
}

}  // namespace slp
