#pragma once
// Prompts answered from a script, recording every question: for tests and the command line.
#include <QList>
#include <QString>
#include <deque>
#include <optional>

#include "basic/prompts.h"

namespace slp {

class ScriptedPrompts : public Prompts {
public:
    struct Asked {
        enum Kind { Input, Message, Save } kind;
        QString text;   // prompt or message text, or the dialog title
        QString title;
        QString defaultText;  // input box default, or "folder/name" of a save dialog
        MessageIcon icon = MessageIcon::None;
    };

    // Queue answers; an unanswered input box counts as cancelled, an unanswered message box as its
    // first button (Ok or Yes), an unanswered save dialog as cancelled.
    void answerInput(std::optional<QString> answer) { inputs_.push_back(std::move(answer)); }
    void answerMessage(MessageAnswer answer) { messages_.push_back(answer); }
    void answerSave(std::optional<QString> path) { saves_.push_back(std::move(path)); }

    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override {
        asked.push_back({Asked::Input, prompt, title, defaultText, MessageIcon::None});
        if (inputs_.empty()) return std::nullopt;
        auto a = inputs_.front();
        inputs_.pop_front();
        return a;
    }
    MessageAnswer messageBox(const QString& text, const QString& title, MessageIcon icon,
                             MessageButtons buttons) override {
        asked.push_back({Asked::Message, text, title, QString(), icon});
        if (messages_.empty()) return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
        auto a = messages_.front();
        messages_.pop_front();
        return a;
    }
    std::optional<QString> saveFile(const SaveDialogRequest& r) override {
        asked.push_back({Asked::Save, r.title, r.title, r.folder + QLatin1Char('/') + r.fileName,
                         MessageIcon::None});
        if (saves_.empty()) return std::nullopt;
        auto a = saves_.front();
        saves_.pop_front();
        return a;
    }

    QList<Asked> asked;

private:
    std::deque<std::optional<QString>> inputs_;
    std::deque<MessageAnswer> messages_;
    std::deque<std::optional<QString>> saves_;
};

}  // namespace slp
