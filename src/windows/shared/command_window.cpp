#include "windows/shared/command_window.h"

#include <QAction>

#include "app/shared/error_report.h"
#include "ui/qt_prompts.h"

namespace slp::windows {

CommandWindow::CommandWindow(WindowServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)) {
    if (!services_.prompts) ownPrompts_ = std::make_unique<ui::QtPrompts>(this);
}

CommandWindow::~CommandWindow() = default;

Prompts& CommandWindow::prompts() {
    if (services_.prompts) return *services_.prompts;
    return *ownPrompts_;
}

QAction* CommandWindow::addCommand(QWidget* menu, const QString& objectName, const QString& caption,
                                   std::function<void()> handler) {
    auto* action = new QAction(caption, menu);
    action->setObjectName(objectName);
    connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] {
        settleBeforeCommand();
        runReported(handler);
    });
    menu->addAction(action);
    return action;
}

bool CommandWindow::runReported(const std::function<void()>& handler) {
    return windows::runReported(prompts(), handler);
}

}  // namespace slp::windows
