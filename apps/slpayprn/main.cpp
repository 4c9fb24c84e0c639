// slpayprn: the demo payroll host and the command line of the wage-printing component.
#include <QApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "basic/file_replace.h"
#include "commands.h"
#include "print/chinese_fonts.h"
#include "settings/store.h"
#include "slpayprn.h"
#include "ui/translations.h"

using namespace Qt::StringLiterals;
using namespace slp::app;

namespace {

// Qt's own remarks ("QStandardPaths: XDG_RUNTIME_DIR not set", "This plugin does not support ...") are
// for developers, not for the clerk's terminal: only Qt's critical and fatal messages get through, unless
// SLP_QT_MESSAGES is set.
void keepQtRemarksOffStderr(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if ((type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg) &&
        qEnvironmentVariableIsEmpty("SLP_QT_MESSAGES"))
        return;
    const QByteArray bytes = message.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

void printErr(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// Whatever went to stdout must have arrived: a full disk or a closed pipe behind it turns a run that
// succeeded into a failure (status 1) with the system's reason.
int finishStdout(int status) {
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int flushError = errno;
    if (flushed && !std::ferror(stdout) && firstOutputError() == 0) return status;
    const int error = firstOutputError() != 0 ? firstOutputError() : flushError != 0 ? flushError : EIO;
    printErr(u"slpayprn: 写入标准输出失败（"_s + slp::systemReason(error) + u"）\n"_s);
    return status == 0 ? 1 : status;
}

// Every option any command knows, so the command words can be found wherever options stand.
QList<OptionSpec> allOptions() {
    QList<OptionSpec> all = globalOptions();
    for (const auto& c : commands()) all += c.options;
    return all;
}

const Command* findCommand(const QStringList& positional, qsizetype* used) {
    const Command* best = nullptr;
    for (const auto& c : commands()) {
        if (c.words.size() <= positional.size() && positional.mid(0, c.words.size()) == c.words &&
            (!best || c.words.size() > best->words.size())) {
            best = &c;
        }
    }
    *used = best ? best->words.size() : 0;
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(keepQtRemarksOffStderr);
    // A settings line that could not be read is the clerk's business: said on stderr.
    slp::settings::setSkippedLineReporter([](const QString& message) { printErr(message + u'\n'); });
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);

    const Command* command = nullptr;
    ParsedArgs parsed;
    try {
        const ParsedArgs first = parseArguments(args, allOptions());
        if (first.flags.contains(u"version"_s)) {
            writeOut(stdout, QByteArray("slpayprn ") + slp_version() + '\n');
            return finishStdout(0);
        }
        if (first.flags.contains(u"man-page"_s)) {
            writeOut(stdout, manPage(QString::fromUtf8(slp_version())).toUtf8());
            return finishStdout(0);
        }
        if (first.flags.contains(u"help"_s)) {
            // "slpayprn demo-db --help" tells that command; --help alone, or after no known command, all.
            qsizetype used = 0;
            const Command* asked =
                first.positional.isEmpty() ? nullptr : findCommand(first.positional, &used);
            const QByteArray text = (asked ? commandHelpText(*asked) : helpText()).toUtf8();
            writeOut(stdout, text);
            return finishStdout(0);
        }
        QStringList words = first.positional;
        if (words.isEmpty()) words << u"host"_s;
        qsizetype used = 0;
        command = findCommand(words, &used);
        if (!command) throw UsageError(u"没有这个命令："_s + words.join(u' '));
        parsed = parseArguments(args, globalOptions() + command->options);
        parsed.positional = words.mid(used);
        if (!parsed.positional.isEmpty() && command->synopsis.isEmpty()) {
            throw UsageError(u"多余的参数："_s + parsed.positional.join(u' '));
        }
    } catch (const UsageError& e) {
        printErr(u"slpayprn: "_s + e.message() + u"\n用法说明请看 slpayprn --help。\n"_s);
        return 2;
    }

    std::unique_ptr<QCoreApplication> app;
    if (command->needsWindows) {
        app = std::make_unique<QApplication>(argc, argv);
        slp::ui::installQtChineseTranslations();
    } else {
        // Printing and measuring need fonts but no display: the plain platform with the system's fonts
        // starts fastest and never waits for a display server, whatever the desktop session sets.
        qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(u"Sl_PAYPRN"_s);
    // Grids are measured and pages printed in 宋体, 黑体 and 隶书: their stand-ins first.
    slp::print::registerChineseFontSubstitutes();
    try {
        return finishStdout(command->run(parsed, hostOptionsFrom(parsed)));
    } catch (const UsageError& e) {
        printErr(u"slpayprn: "_s + e.message() + u"\n用法说明请看 slpayprn --help。\n"_s);
        return 2;
    }
}
