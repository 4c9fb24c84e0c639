#pragma once
// Prompts shown as Qt dialogs, owned by a parent window when one is given.
#include <QPointer>
#include <QWidget>

#include "basic/prompts.h"

namespace slp::ui {

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
