#pragma once
// How the wage windows report a fault of a handler they trap (a database error while opening or filling,
// a printer that cannot print, a file that cannot be written): a message box with the exclamation icon,
// the error's description as its text and "错误号:" followed by the error's number as its title. The
// window stays open and usable.
#include <QString>
#include <exception>
#include <functional>

#include "basic/prompts.h"

namespace slp::windows {

// "错误号:" & number.
QString errorTitle(int number);

// The number and description of any exception: slp::Error (database errors included) as it is, an
// exhausted memory as 7 "内存不足", a missing window as 0 with its description, anything else as 0 with
// its what() text.
struct ErrorReport {
    int number = 0;
    QString description;
};
ErrorReport describeError(const std::exception& error);

// Shows the message box for `error`.
void reportError(Prompts& prompts, const std::exception& error);

// Runs `handler`; an exception it throws is reported and swallowed. Returns whether it ran through.
bool runReported(Prompts& prompts, const std::function<void()>& handler);

}  // namespace slp::windows
