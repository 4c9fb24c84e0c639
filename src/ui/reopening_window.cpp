#include "ui/reopening_window.h"

namespace slp::windows {

ReopeningWindow::~ReopeningWindow() {
    delete widget_.data();
}

void ReopeningWindow::showOrRaise() {
    if (isOpen()) {
        if (widget_->isMinimized()) widget_->showNormal();
        widget_->raise();
        widget_->activateWindow();
        return;
    }
    delete widget_.data();
    QWidget* made = make_(owner_);
    if (!made) return;
    widget_ = made;
    widget_->setAttribute(Qt::WA_DeleteOnClose);
    widget_->show();
}

void ReopeningWindow::showOwnedBy(QWidget* owner) {
    if (!isOpen()) owner_ = owner;
    showOrRaise();
}

void ReopeningWindow::close() {
    if (widget_) widget_->close();
}

}  // namespace slp::windows
