#include "mail_commands.h"

#include <unistd.h>

#include <QThread>
#include <csignal>

#include "basic/clock.h"
#include "basic/error.h"
#include "grid_commands.h"
#include "mail/mime_message.h"
#include "print/chinese_fonts.h"
#include "print_commands.h"
#include "windows/slip_mail/slip_mail.h"

using namespace Qt::StringLiterals;

namespace slp::app {

namespace {

volatile std::sig_atomic_t stopAsked = 0;
void askStop(int) {
    stopAsked = 1;
}

// SIGTERM and SIGINT end the run after the message under way, so its outcome is logged.
class StopOnSignal {
  public:
    StopOnSignal() {
        stopAsked = 0;
        struct sigaction action {};
        action.sa_handler = askStop;
        sigemptyset(&action.sa_mask);
        sigaction(SIGTERM, &action, &term_);
        sigaction(SIGINT, &action, &interrupt_);
    }
    ~StopOnSignal() {
        sigaction(SIGTERM, &term_, nullptr);
        sigaction(SIGINT, &interrupt_, nullptr);
    }
    StopOnSignal(const StopOnSignal&) = delete;
    StopOnSignal& operator=(const StopOnSignal&) = delete;

  private:
    struct sigaction term_ {};
    struct sigaction interrupt_ {};
};

void toStderr(const QString& text) {
    writeOut(stderr, (text + u'\n').toUtf8());
}

// The settings of the unit with the command line's choices over them (not remembered).
mail::MailSettings settingsFrom(const ParsedArgs& args, mail::MailSettings s) {
    if (args.has(u"smtp"_s) && !mail::applyServerUrl(args.value(u"smtp"_s), s)) {
        throw UsageError(u"--smtp needs smtp://host[:port] or smtps://host[:port]"_s);
    }
    if (args.has(u"user"_s)) s.user = args.value(u"user"_s);
    if (args.has(u"from"_s)) s.from = args.value(u"from"_s);
    if (args.has(u"ca-file"_s)) s.caFile = args.value(u"ca-file"_s);
    if (args.has(u"password-file"_s)) s.passwordFile = args.value(u"password-file"_s);
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
        out += QStringList{r.number,
                           r.name,
                           r.address,
                           willSend ? u"将发送"_s : mail::statusText(e.status),
                           willSend ? mail::expandTemplate(logic.settings().subject, values) : QString(),
                           willSend ? mail::attachmentName(r.number, logic.month().monthKey) : QString()}
                   .join(u'\t') +
               u'\n';
    }
    const mail::RunSummary s = run.summary();
    out += u"将发送%1人，已发送%2人，无地址%3人（未发送任何邮件）\n"_s.arg(due).arg(s.sent).arg(s.noAddress);
    writeOut(stdout, out.toUtf8());
    return 0;
}

int runMailSlips(const ParsedArgs& args, const HostOptions& options) {
    const float size = fontSize(args);
    mail::RunOptions run;
    run.resend = args.has(u"resend"_s);
    for (const QString& number : args.lists.value(u"only"_s)) run.only << number.trimmed();
    HostSession session;
    if (!openHostSession(session, options)) return 1;
    print::registerChineseFontSubstitutes();
    const auto grid = employeeGrid(session, !args.has(u"hide-zeros"_s), size);
    if (!grid) return 1;
    const SystemClock clock;
    windows::slipmail::SlipMail logic(session.store, session.host, clock);
    try {
        logic.open(*grid, size, run);
        logic.setSettings(settingsFrom(args, logic.settings()));
        for (const QString& number : run.only) {
            const auto& entries = logic.mailing().entries();
            if (std::none_of(entries.begin(), entries.end(),
                             [&](const mail::SlipEntry& e) { return e.recipient.number == number; })) {
                throw UsageError(u"--only "_s + number + u": no such 工号 in the month"_s);
            }
        }
        if (args.has(u"dry-run"_s)) return listDryRun(logic);
        logic.beginSending(std::make_unique<mail::SmtpClient>(logic.account()));
    } catch (const UsageError&) {
        throw;
    } catch (const std::exception& e) {
        printError(e);
        return 1;
    }
    const bool progress = ::isatty(STDERR_FILENO) == 1;
    const int due = logic.mailing().dueCount();
    int done = 0;
    StopOnSignal stopOnSignal;
    try {
        while (logic.sending()) {
            if (stopAsked) {
                logic.cancel();
                break;
            }
            const int index = logic.sendNext();
            if (index < 0) break;
            ++done;
            const mail::SlipEntry& e = logic.mailing().entries().at(size_t(index));
            if (e.status != mail::SlipStatus::Sent) {
                toStderr((progress ? u"\r"_s : QString()) + e.recipient.number + u' ' + e.recipient.name +
                         u" <"_s + e.recipient.address + u">: "_s + mail::statusText(e.status) + u"（"_s +
                         e.reply + u"）"_s);
            }
            if (progress) writeOut(stderr, u"\r已处理%1/%2"_s.arg(done).arg(due).toUtf8());
            if (logic.sending() && logic.pauseMilliseconds() > 0)
                QThread::msleep(ulong(logic.pauseMilliseconds()));
        }
    } catch (const std::exception& e) {
        printError(e);
    }
    if (progress && done > 0) writeOut(stderr, "\n");
    const QString reason = logic.mailing().stopReason();
    if (!reason.isEmpty()) toStderr(u"发送中断："_s + reason);
    if (stopAsked) toStderr(u"发送已停止，未发送的下次运行时继续"_s);
    logic.endSending();
    for (const mail::SlipEntry& e : logic.mailing().entries()) {
        if (e.status == mail::SlipStatus::NoPassword) {
            toStderr(e.recipient.number + u' ' + e.recipient.name + u": "_s + e.reply);
        }
    }
    const mail::RunSummary s = logic.mailing().summary();
    writeOut(stdout, (mail::summaryText(s) + u'\n').toUtf8());
    return s.failed == 0 ? 0 : 1;
}

}  // namespace

QList<Command> mailCommands() {
    return {
        {{u"mail"_s, u"slips"_s},
         QString(),
         u"mail each employee with an address (column 电子邮件 of 12个人信息 unless set otherwise) the wage slip "_s
         u"that print slips --per-employee writes, as a PDF encrypted with AES-256 for a password made by the "_s
         u"password rule (default the 工号), through the SMTP server of the settings; a second run sends only "_s
         u"to those not yet sent; the summary on stdout, exit 1 when someone with an address was not sent"_s,
         {{u"smtp"_s, true,
           u"URL   smtp://host:port (STARTTLS) or smtps://host:port (TLS) instead of the server set"_s},
          {u"user"_s, true, u"NAME  login name at the server"_s},
          {u"password-file"_s, true,
           u"FILE  the server password, in a file only its owner may read (default: smtp-password in the "_s
           u"settings folder)"_s},
          {u"from"_s, true, u"ADDR  the sender, \"名称 <address>\" or an address"_s},
          {u"ca-file"_s, true, u"FILE  certificates to trust besides the system's"_s},
          {u"only"_s, true, u"N     only the employee of this 工号 (repeatable)"_s},
          {u"resend"_s, false, u"      send again to those already sent"_s},
          {u"dry-run"_s, false, u"      list who would receive what and send nothing"_s},
          {u"hide-zeros"_s, false, u"      leave zero amounts empty on the slips (不显示零)"_s},
          {u"font-size"_s, true, u"S     print font size of the slips, 4 to 17 (default 9)"_s}},
         false,
         runMailSlips},
    };
}

}  // namespace slp::app
