#pragma once
// Prompts shown as Qt dialogs, owned by a parent window when one is given.
#include <QPointer>
#include <QWidget>

#include "basic/prompts.h"

namespace slp::ui {

// The title a box shows: the one given, else the caption of the window it belongs to (its parent's
// top-level window), else the program's name "Sl_PAYPRN".
QString promptTitle(const QString& title, const QWidget* parent);

class QtPrompts : public Prompts {
  public:
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    MessageAnswer messageBox(const QString& text, const QString& title, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<QString> saveFile(const SaveDialogRequest& request) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace slp::ui
