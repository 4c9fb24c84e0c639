#pragma once
// The frame of every window of the component: a main window given its WindowServices, the dialogs of
// those services (or Qt dialogs owned by the window), menu commands as named QActions whose faults are
// reported in message boxes, and the one way a handler's fault reaches the clerk (error_report.h).
#include <QMainWindow>
#include <functional>
#include <memory>

#include "windows/shared/standard_services.h"

namespace slp::ui {
class QtPrompts;
}

namespace slp::windows {

class CommandWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit CommandWindow(WindowServices services, QWidget* parent = nullptr);
    ~CommandWindow() override;

    const WindowServices& services() const { return services_; }
    // The services' dialogs, or Qt dialogs owned by this window.
    Prompts& prompts();

    // A menu command: a QAction named `objectName` with `caption`, added to `menu` (a QMenu or the menu
    // bar); triggering it runs `handler` and reports any fault it raises.
    QAction* addCommand(QWidget* menu, const QString& objectName, const QString& caption,
                        std::function<void()> handler);
    // Runs a handler, reporting a fault in a message box ("错误号:" & number). Returns whether it ran
    // through.
    bool runReported(const std::function<void()>& handler);

  protected:
    // Runs before every menu command: a window finishes here what must be done before a command may
    // use it (a grid still being read).
    virtual void settleBeforeCommand() {}

  private:
    WindowServices services_;
    std::unique_ptr<ui::QtPrompts> ownPrompts_;
};

}  // namespace slp::windows
