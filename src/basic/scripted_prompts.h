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
        QString text;  // prompt or message text, or the dialog title
        QString title;
        QString defaultText;  // input box default, or "folder/name" of a save dialog
        MessageIcon icon = MessageIcon::None;
    };

    // Queue answers; an unanswered input box counts as cancelled, an unanswered message box as its
    // first button (Ok or Yes), an unanswered save dialog as cancelled.
    void answerInput(std::optional<QString> answer) { inputs_.push_back(Answer::from(answer)); }
    void answerMessage(MessageAnswer answer) { messages_.push_back(answer); }
    void answerSave(std::optional<QString> path) { saves_.push_back(Answer::from(path)); }

    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override {
        asked.push_back({Asked::Input, prompt, title, defaultText, MessageIcon::None});
        return take(inputs_);
    }
    MessageAnswer messageBox(const QString& text, const QString& title, MessageIcon icon,
                             MessageButtons buttons) override {
        asked.push_back({Asked::Message, text, title, QString(), icon});
        if (messages_.empty())
            return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
        auto a = messages_.front();
        messages_.pop_front();
        return a;
    }
    std::optional<QString> saveFile(const SaveDialogRequest& r) override {
        asked.push_back(
            {Asked::Save, r.title, r.title, r.folder + QLatin1Char('/') + r.fileName, MessageIcon::None});
        return take(saves_);
    }

    QList<Asked> asked;

  private:
    // A queued answer: a text, or a cancelled dialog. (Kept as a plain pair: g++ 12 warns falsely about
    // copies of std::optional<QString> at higher optimisation levels.)
    struct Answer {
        bool given = false;
        QString text;
        static Answer from(const std::optional<QString>& a) { return a ? Answer{true, *a} : Answer{}; }
    };
    static std::optional<QString> take(std::deque<Answer>& queue) {
        if (queue.empty()) return std::nullopt;
        const Answer a = std::move(queue.front());
        queue.pop_front();
        if (!a.given) return std::nullopt;
        return a.text;
    }

    std::deque<Answer> inputs_;
    std::deque<MessageAnswer> messages_;
    std::deque<Answer> saves_;
};

}  // namespace slp
