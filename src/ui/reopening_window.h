#pragma once
// A window of the registry whose widgets are made afresh at every opening and deleted at closing, so
// its opening steps run each time it is loaded, while what the window keeps in its own variables lives
// in the handle's logic between openings.
#include <QPointer>
#include <QWidget>
#include <functional>

#include "ui/window_registry.h"

namespace slp::windows {

class ReopeningWindow : public ManagedWindow {
  public:
    // Makes the window's widget with its owner (nullptr: none) and runs its opening steps; the handle
    // shows it. It may throw: the opening then fails and nothing is shown.
    using Maker = std::function<QWidget*(QWidget* owner)>;

    explicit ReopeningWindow(Maker make) : make_(std::move(make)) {}
    ~ReopeningWindow() override;
    ReopeningWindow(const ReopeningWindow&) = delete;
    ReopeningWindow& operator=(const ReopeningWindow&) = delete;

    // Shows the window modeless: an open one is raised and keeps its contents; a closed one is made and
    // loaded afresh.
    void showOrRaise() override;
    bool isOpen() const override { return widget_ && widget_->isVisible(); }
    // Opens the window owned by `owner`: it stays above the owner and closes with it.
    void showOwnedBy(QWidget* owner);
    // The widget while the window exists (also while hidden), else nullptr.
    QWidget* widget() const { return widget_; }
    // Closes the window if it is open.
    void close();

  private:
    Maker make_;
    QPointer<QWidget> widget_;
    QPointer<QWidget> owner_;
};

}  // namespace slp::windows
