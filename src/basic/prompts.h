#pragma once
// What the system asks and tells the clerk: input boxes, message boxes and the save dialog.
// Logic talks to this interface only; the Qt implementation lives in ui/, a scripted one in
// scripted_prompts.h serves the tests.
#include <QString>
#include <optional>

namespace slp {

enum class MessageIcon { None, Information, Warning /* exclamation */, Critical, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct SaveDialogRequest {
    QString title;
    QString folder;    // where the dialog starts
    QString fileName;  // proposed name
    QString filter;    // e.g. "所有文件 (*)"
};

class Prompts {
  public:
    virtual ~Prompts() = default;
    // Input box. nullopt when cancelled (callers read a cancelled answer as an empty text).
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
    virtual MessageAnswer messageBox(const QString& text, const QString& title, MessageIcon icon,
                                     MessageButtons buttons = MessageButtons::Ok) = 0;
    // Save-file dialog: the chosen full path, or nullopt when cancelled.
    virtual std::optional<QString> saveFile(const SaveDialogRequest& request) = 0;
};

}  // namespace slp
