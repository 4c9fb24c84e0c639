#pragma once
// The commands of the program; each runs on the same logic classes as the windows.
#include <QByteArray>
#include <QList>
#include <QStringList>
#include <cstdio>
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

// The text of COMMAND --help: that command, its options and the global options.
QString commandHelpText(const Command& command);

// The text of --help: every command with its options.
QString helpText();

// The same commands and options as a man page (roff), for --man-page and the installed slpayprn.1.
QString manPage(const QString& version);

// Writes the bytes to stdout or stderr. A failure is remembered with the system's error number, which
// firstOutputError() gives (0 when every write went through), so the run ends in a failure with the
// reason even when the stream's last flush has nothing left to write.
void writeOut(FILE* stream, const QByteArray& bytes);
int firstOutputError();

}  // namespace slp::app
