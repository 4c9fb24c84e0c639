#pragma once
// The program of this build run as a clerk runs it, for the command-line tests: in a home of its own
// (its database and settings under `home`/data and `home`/config), without a display.
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace slp_test {

struct CliResult {
    int code = -1;  // -1: it did not end by itself in time
    QString out;
    QString err;
};

// The system's environment with the home's data and settings folders and the offscreen platform.
QProcessEnvironment cliEnvironment(const QString& home);

// Runs build/bin/slpayprn with `args` in `home`; a run that does not end in `timeoutMs` is killed.
CliResult runSlpayprn(const QStringList& args, const QString& home, int timeoutMs = 120000);

}  // namespace slp_test
