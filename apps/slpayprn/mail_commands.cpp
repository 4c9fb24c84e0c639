#include "mail_commands.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <QThread>
#include <array>
#include <csignal>
#include <optional>

#include "app/shared/host_database.h"
#include "app/slip_mail/slip_mail.h"
#include "basic/clock.h"
#include "basic/error.h"
#include "data/database.h"
#include "grid_commands.h"
#include "mail/address.h"
#include "mail/mime_message.h"
#include "mail/sender_lock.h"
#include "print/chinese_fonts.h"
#include "print_commands.h"

using namespace Qt::StringLiterals;

namespace slp::app {

namespace {

volatile std::sig_atomic_t stopAsked = 0;
void askStop(int) {
    stopAsked = 1;
}
bool stopRequested() {
    return stopAsked != 0;
}

// SIGTERM, SIGINT and SIGHUP end the run: the message under way is stopped at once (its outcome
// settled in the log) and nothing after it is sent.
class StopOnSignal {
  public:
    StopOnSignal() {
        stopAsked = 0;
        struct sigaction action {};
        action.sa_handler = askStop;
        sigemptyset(&action.sa_mask);
        for (size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &action, &previous_[i]);
    }
    ~StopOnSignal() {
        for (size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &previous_[i], nullptr);
    }
    StopOnSignal(const StopOnSignal&) = delete;
    StopOnSignal& operator=(const StopOnSignal&) = delete;

  private:
    static constexpr std::array<int, 3> kSignals{SIGTERM, SIGINT, SIGHUP};
    std::array<struct sigaction, 3> previous_{};
};

void toStderr(const QString& text) {
    writeOut(stderr, (text + u'\n').toUtf8());
}

// Waits `milliseconds` a tenth of a second at a time, so that a signal ends the wait at once.
void pauseUnlessStopped(int milliseconds) {
    for (int waited = 0; waited < milliseconds && !stopAsked; waited += 100)
        QThread::msleep(ulong(std::min(100, milliseconds - waited)));
}

int secondsOption(const ParsedArgs& args, const QString& name, int fallback) {
    if (!args.has(name)) return fallback;
    bool ok = false;
    const int value = args.value(name).toInt(&ok);
    if (!ok || value < 1 || value > 3600) throw UsageError(u"--"_s + name + u" 应为1到3600之间的秒数"_s);
    return value;
}

// The settings of the unit with the command line's choices over them (not remembered).
mail::MailSettings settingsFrom(const ParsedArgs& args, mail::MailSettings s) {
    if (args.has(u"smtp"_s) && !mail::applyServerUrl(args.value(u"smtp"_s), s)) {
        throw UsageError(u"--smtp 应为 smtp://主机[:端口] 或 smtps://主机[:端口]（端口1到65535）"_s);
    }
    if (args.has(u"user"_s)) s.user = args.value(u"user"_s);
    if (args.has(u"from"_s)) {
        QString fault;
        if (!mail::parseSender(args.value(u"from"_s), &fault)) throw UsageError(u"--from："_s + fault);
        s.from = args.value(u"from"_s);
    }
    if (args.has(u"ca-file"_s)) s.caFile = args.value(u"ca-file"_s);
    if (args.has(u"password-file"_s)) s.passwordFile = args.value(u"password-file"_s);
    if (args.has(u"per-minute"_s)) {
        bool ok = false;
        const int rate = args.value(u"per-minute"_s).toInt(&ok);
        if (!ok || rate < 0 || rate > 100000) throw UsageError(u"--per-minute 应为0到100000之间的整数"_s);
        s.messagesPerMinute = rate;
    }
    s.connectSeconds = secondsOption(args, u"connect-timeout"_s, s.connectSeconds);
    s.replySeconds = secondsOption(args, u"timeout"_s, s.replySeconds);
    return s;
}

// --dry-run: who would receive what, a line each: 工号, 姓名, address, status, subject, attachment.
int listDryRun(windows::slipmail::SlipMail& logic) {
    const mail::SlipMailing& run = logic.mailing();
    QString out;
    int due = 0;
    for (const mail::SlipEntry& e : run.entries()) {
        const mail::Recipient& r = e.recipient;
        const bool willSend = e.status == mail::SlipStatus::Due;
        due += willSend;
        const auto values = mail::templateValues(logic.settings(), logic.month(), r);
        out +=
            QStringList{r.number,
                        r.name,
                        r.address,
                        willSend ? u"将发送"_s : mail::statusText(e.status),
                        willSend ? mail::expandTemplate(logic.settings().subject, values) : QString(),
                        willSend ? mail::attachmentName(logic.month().monthKey, mail::randomAttachmentPart())
                                 : QString()}
                .join(u'\t') +
            u'\n';
    }
    const mail::RunSummary s = run.summary();
    out += u"将发送%1人，已发送%2人，无地址%3人（未发送任何邮件）\n"_s.arg(due)
               .arg(s.monthSent)
               .arg(s.noAddress);
    writeOut(stdout, out.toUtf8());
    return 0;
}

// The failures of the run's employees, a line each on stderr.
void reportEntry(const mail::SlipEntry& e, bool progress) {
    if (e.status == mail::SlipStatus::Sent) return;
    toStderr((progress ? u"\r"_s : QString()) + e.recipient.number + u' ' + e.recipient.name + u" <"_s +
             e.recipient.address + u">: "_s + mail::statusText(e.status) + u"（"_s + e.reply + u"）"_s);
}

// The employees the month cannot mail, named on stderr: 工号 not unique, addresses refused, no password.
void reportUnmailable(const mail::SlipMailing& run) {
    for (const mail::SlipEntry& e : run.entries()) {
        switch (e.status) {
            case mail::SlipStatus::NoPassword:
            case mail::SlipStatus::BadAddress:
            case mail::SlipStatus::Duplicate:
            case mail::SlipStatus::MaybeSent:
                if (e.byThisRun) break;
                toStderr(e.recipient.number + u' ' + e.recipient.name + u": "_s + mail::statusText(e.status) +
                         u"（"_s + e.reply + u"）"_s);
                break;
            default:
                break;
        }
    }
}

// The database file of an SQLite connection; empty for a server.
QString sqliteFile(HostSession& session) {
    return mail::sqliteDatabaseFile(windows::requireDatabase(session.host));
}

// The arguments of this run for a worker: the same without --workers.
QStringList workerArguments() {
    QStringList args = QCoreApplication::arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"--workers"_s) {
            args.remove(i, std::min<qsizetype>(2, args.size() - i));
            break;
        }
        if (args[i].startsWith(u"--workers="_s)) {
            args.removeAt(i);
            break;
        }
    }
    return args;
}

// --workers N: N senders of this month, each a process of this program with the same arguments, each
// beginning at its own part of the list; the log's claims keep them from mailing anyone twice.
// Their failures pass through to stderr; the summary is the log's.
int runWorkers(windows::slipmail::SlipMail& logic, int workers) {
    const QString run = mail::newRunName();
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int k = 0; k < workers; ++k) {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"SLP_MAIL_RUN"_s, run + u'.' + QString::number(k + 1));
        env.insert(u"SLP_MAIL_START"_s, u"%1/%2"_s.arg(k).arg(workers));
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->setStandardOutputFile(QProcess::nullDevice());
        p->start(QCoreApplication::applicationFilePath(), workerArguments());
        if (!p->waitForStarted(10000)) {
            toStderr(u"无法启动发送进程（"_s + p->errorString() + u"）"_s);
            stopAsked = 1;
        }
        processes.push_back(std::move(p));
    }
    bool forwarded = false;
    for (;;) {
        if (stopAsked && !forwarded) {
            for (auto& p : processes) {
                if (p->state() != QProcess::NotRunning) p->terminate();
            }
            forwarded = true;
        }
        if (std::all_of(processes.begin(), processes.end(),
                        [](const auto& p) { return p->state() == QProcess::NotRunning; })) {
            break;
        }
        for (auto& p : processes) {
            if (p->state() != QProcess::NotRunning) p->waitForFinished(100);
        }
    }
    logic.refreshFromLog();
    mail::RunSummary s = logic.mailing().summary();
    const auto counts = logic.runCounts(run + u'.');
    s.sent = counts.first;
    s.failed = counts.second;
    s.untried = s.monthDue;
    reportUnmailable(logic.mailing());
    writeOut(stdout, (mail::summaryText(s) + u'\n').toUtf8());
    return s.complete() ? 0 : 1;
}

int runMailSlips(const ParsedArgs& args, const HostOptions& options) {
    const float size = fontSize(args);
    mail::RunOptions run;
    run.resend = args.has(u"resend"_s);
    for (const QString& number : args.lists.value(u"only"_s)) run.only << number.trimmed();
    int workers = 1;
    if (args.has(u"workers"_s)) {
        bool ok = false;
        workers = args.value(u"workers"_s).toInt(&ok);
        if (!ok || workers < 1 || workers > 64) throw UsageError(u"--workers 应为1到64之间的整数"_s);
    }
    // A worker of --workers: its name in the log and its part of the list.
    const QString start = qEnvironmentVariable("SLP_MAIL_START");
    if (!start.isEmpty()) {
        const double k = start.section(u'/', 0, 0).toDouble();
        const double n = start.section(u'/', 1, 1).toDouble();
        if (n > 0 && k >= 0 && k < n) run.startAt = k / n;
    }
    run.runName = qEnvironmentVariable("SLP_MAIL_RUN");
    const mail::MailSettings fromArgs = settingsFrom(args, mail::MailSettings{});
    (void)fromArgs;  // the command line is checked before anything is opened
    HostSession session;
    if (!openHostSession(session, options)) return 1;
    print::registerChineseFontSubstitutes();
    const auto grid = employeeGrid(session, !args.has(u"hide-zeros"_s), size);
    if (!grid) return 1;
    const SystemClock clock;
    windows::slipmail::SlipMail logic(session.store, session.host, clock);
    std::optional<mail::SenderLock> senderLock;
    StopOnSignal stopOnSignal;
    try {
        logic.open(*grid, size, run);
        logic.setSettings(settingsFrom(args, logic.settings()));
        for (const QString& number : run.only) {
            const auto& entries = logic.mailing().entries();
            if (std::none_of(entries.begin(), entries.end(),
                             [&](const mail::SlipEntry& e) { return e.recipient.number == number; })) {
                throw UsageError(u"--only "_s + number + u"：本月没有这个工号"_s);
            }
        }
        if (args.has(u"dry-run"_s)) return listDryRun(logic);
        const QString file = sqliteFile(session);
        if (!file.isEmpty() && workers > 1) {
            throw UsageError(
                u"SQLite数据库只能有一个发送进程，--workers 须为1（多个发送进程需要PostgreSQL数据库）"_s);
        }
        // The account is checked (server, sender, password file) before any worker starts.
        auto client = std::make_unique<mail::SmtpClient>(logic.account());
        if (workers > 1) return runWorkers(logic, workers);
        if (!file.isEmpty()) senderLock.emplace(file);
        client->setStopCheck(stopRequested);
        logic.beginSending(std::move(client));
    } catch (const UsageError&) {
        throw;
    } catch (const std::exception& e) {
        printError(e);
        return 1;
    }
    const bool progress = ::isatty(STDERR_FILENO) == 1;
    const int due = logic.mailing().dueCount();
    int done = 0;
    try {
        while (logic.sending() && !stopAsked) {
            const int index = logic.sendNext();
            if (index < 0) break;
            ++done;
            reportEntry(logic.mailing().entries().at(size_t(index)), progress);
            if (progress) writeOut(stderr, u"\r已处理%1/%2"_s.arg(done).arg(due).toUtf8());
            if (logic.sending() && logic.pauseMilliseconds() > 0)
                pauseUnlessStopped(logic.pauseMilliseconds());
        }
    } catch (const std::exception& e) {
        printError(e);
    }
    if (stopAsked) logic.cancel();
    if (progress && done > 0) writeOut(stderr, "\n");
    const QString reason = logic.mailing().stopReason();
    if (!reason.isEmpty()) toStderr(u"发送中断："_s + reason);
    if (stopAsked) toStderr(u"发送已停止，未发送的下次运行时继续"_s);
    logic.endSending();
    reportUnmailable(logic.mailing());
    const mail::RunSummary s = logic.mailing().summary();
    writeOut(stdout, (mail::summaryText(s) + u'\n').toUtf8());
    return s.complete() ? 0 : 1;
}

}  // namespace

QList<Command> mailCommands() {
    return {
        {{u"mail"_s, u"slips"_s},
         QString(),
         u"像“发送电子工资条”窗口那样，把每位有邮箱地址（默认为12个人信息的“电子邮件”列）的职工的工资条"_s
         u"（print slips --per-employee 所写的那一页）加密成PDF（AES-256，密码由密码规则得出）发到本人邮箱；"_s
         u"每人只发一次，再次运行只发给尚未发送的人；可以同时运行多个发送进程（PostgreSQL）。"_s
         u"本次与本月的统计写到标准输出；有人未能发送时退出状态为1"_s,
         {{u"smtp"_s, true, u"URL   SMTP服务器：smtp://主机:端口（STARTTLS）或 smtps://主机:端口（TLS）"_s},
          {u"user"_s, true, u"NAME  服务器的登录名"_s},
          {u"password-file"_s, true,
           u"FILE  服务器密码所在的文件，只许本人读写（权限0600；默认：设置文件夹中的smtp-password）"_s},
          {u"from"_s, true, u"ADDR  发件人，“名称 <地址>”或地址"_s},
          {u"ca-file"_s, true, u"FILE  除系统证书外还信任的证书"_s},
          {u"only"_s, true, u"N     只发给这个工号的职工（可多次给出）"_s},
          {u"resend"_s, false, u"      已发送的和可能已发送的也再发一次"_s},
          {u"workers"_s, true, u"N     同时发送的进程数（默认1；SQLite数据库只能为1）"_s},
          {u"per-minute"_s, true, u"N     每分钟最多发送的封数（默认：设置中的每分钟封数；0为不限）"_s},
          {u"connect-timeout"_s, true, u"S     连接服务器最多等待的秒数（默认10）"_s},
          {u"timeout"_s, true, u"S     服务器每一步应答最多等待的秒数（默认60）"_s},
          {u"dry-run"_s, false, u"      只列出将发给谁、发什么，不发送"_s},
          {u"hide-zeros"_s, false, u"      工资条上的零不显示（不显示零）"_s},
          {u"font-size"_s, true, u"S     工资条的打印字号，4到17（默认9）"_s}},
         false,
         runMailSlips},
    };
}

}  // namespace slp::app
