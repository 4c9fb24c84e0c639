#include "ui/qt_prompts.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

using namespace Qt::StringLiterals;

namespace slp::ui {

QString promptTitle(const QString& title, const QWidget* parent) {
    if (!title.isEmpty()) return title;
    if (parent && !parent->window()->windowTitle().isEmpty()) return parent->window()->windowTitle();
    return u"Sl_PAYPRN"_s;
}

std::optional<QString> QtPrompts::inputBox(const QString& prompt, const QString& title,
                                           const QString& defaultText) {
    bool ok = false;
    QString answer = QInputDialog::getText(parent_, promptTitle(title, parent_), prompt, QLineEdit::Normal,
                                           defaultText, &ok);
    if (!ok) return std::nullopt;
    return answer;
}

MessageAnswer QtPrompts::messageBox(const QString& text, const QString& title, MessageIcon icon,
                                    MessageButtons buttons) {
    QMessageBox box(parent_);
    box.setWindowTitle(promptTitle(title, parent_));
    box.setText(text);
    switch (icon) {
        case MessageIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    switch (buttons) {
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            return buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel : MessageAnswer::Ok;
    }
}

std::optional<QString> QtPrompts::saveFile(const SaveDialogRequest& request) {
    const QString start = QDir(request.folder).filePath(request.fileName);
    QString path = QFileDialog::getSaveFileName(
        parent_, request.title, start, request.filter.isEmpty() ? u"所有文件 (*)"_s : request.filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

}  // namespace slp::ui
