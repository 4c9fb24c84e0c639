#pragma once
// The commands of the program; each runs on the same logic classes as the windows.
#include <QList>
#include <QStringList>
#include <functional>

#include "command_line.h"

namespace slp::app {

struct Command {
    QStringList words;  // e.g. {"grid", "employee"}
    QString synopsis;   // the arguments after the words, for --help
    QString summary;
    QList<OptionSpec> options;
    bool needsWindows = false;  // a display (or xvfb) is needed
    // Returns the exit status: 0 done, 1 a message of the system or an error, 2 a wrong command line.
    std::function<int(const ParsedArgs&, const HostOptions&)> run;
};

const QList<Command>& commands();

// The text of --help: every command with its options.
QString helpText();

}  // namespace slp::app
