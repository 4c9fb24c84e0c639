#include "windows/shared/wage_window.h"

#include <QLabel>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>

#include "app/shared/host_database.h"
#include "app/shared/window_geometry.h"
#include "data/database.h"
#include "windows/shared/wage_grid_view.h"

namespace slp::windows {

WageWindow::WageWindow(WindowServices services, QWidget* parent)
    : CommandWindow(std::move(services), parent),
      model_(new data::WageGridModel(this)),
      view_(nullptr),
      panel1_(new QLabel(this)),
      panel2_(new QLabel(this)),
      fill_(new GridFill(this)) {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    view_ = new WageGridView(*model_, central);
    view_->setObjectName(QStringLiteral("MSGrid1"));
    panel1_->setObjectName(QStringLiteral("SBar1_1"));
    panel2_->setObjectName(QStringLiteral("SBar1_2"));
    panel1_->setFrameShape(QFrame::StyledPanel);
    panel2_->setFrameShape(QFrame::StyledPanel);
    statusBar()->setObjectName(QStringLiteral("SBar1"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(panel1_);
    statusBar()->addWidget(panel2_, 1);
}

WageWindow::~WageWindow() = default;

QWidget* windowToShow(WageWindow* window) {
    if (!window->noCatalogue()) return window;
    window->close();
    delete window;
    return nullptr;
}

void WageWindow::setStatusPanel(int panel, const QString& text) {
    (panel == 1 ? panel1_ : panel2_)->setText(text);
}

QString WageWindow::statusPanel(int panel) const {
    return (panel == 1 ? panel1_ : panel2_)->text();
}

void WageWindow::placeAtOpening() {
    const QScreen* screen = this->screen();
    if (!screen) return;
    setGeometry(openingWindowRect(screen->geometry(), screen->logicalDotsPerInchY()));
    placeGrid();
}

void WageWindow::placeGrid() {
    const double dpi = logicalDpiY();
    const auto place = gridPlacement(
        twipsFromPixels(width(), dpi), twipsFromPixels(height(), dpi),
        twipsFromPixels(statusBar()->isVisible() ? statusBar()->height() : 0, dpi), isMinimized());
    if (!place) return;
    view_->setGeometry(pixelsFromTwips(place->left(), dpi), pixelsFromTwips(place->top(), dpi),
                       pixelsFromTwips(place->width(), dpi), pixelsFromTwips(place->height(), dpi));
}

void WageWindow::readGrid(GridFill::Build build, GridFill::Shown shown) {
    data::Database& db = requireDatabase(*services().context);
    if (services().fillApart && GridFill::canReadApart(db)) {
        fill_->start(
            db.connectionText(), std::move(build),
            [this, shown = std::move(shown)](BuiltGrid& built) { runReported([&] { shown(built); }); });
        return;
    }
    BuiltGrid built;
    built.grid = build(db);
    shown(built);
}

void WageWindow::closeEvent(QCloseEvent* event) {
    finishFilling();
    CommandWindow::closeEvent(event);
}

void WageWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    placeGrid();
}

}  // namespace slp::windows
