#include "slpayprn_cli.h"

#include <QProcess>

namespace slp_test {

QProcessEnvironment cliEnvironment(const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

CliResult runSlpayprn(const QStringList& args, const QString& home, int timeoutMs) {
    QProcess p;
    p.setProcessEnvironment(cliEnvironment(home));
    p.start(QStringLiteral(SLP_BIN_DIR "/slpayprn"), args);
    const bool ended = p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit;
    if (!ended) p.kill();
    return {ended ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace slp_test
