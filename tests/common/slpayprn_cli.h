#pragma once
// The program of this build run as a clerk runs it, for the command-line tests: in a home of its own
// (its database and settings under `home`/data and `home`/config), without a display.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace slp_test {

struct CliResult {
    int code = -1;  // -1: it did not end by itself in time
    QString out;
    QString err;
};

inline QProcessEnvironment cliEnvironment(const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

inline CliResult runSlpayprn(const QStringList& args, const QString& home, int timeoutMs = 120000) {
    QProcess p;
    p.setProcessEnvironment(cliEnvironment(home));
    p.start(QStringLiteral(SLP_BIN_DIR "/slpayprn"), args);
    const bool ended = p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit;
    if (!ended) p.kill();
    return {ended ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace slp_test
