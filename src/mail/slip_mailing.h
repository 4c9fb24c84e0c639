#pragma once
// A run of the electronic slips: who is due, one message each through the transport, every outcome
// written to the send log as it happens, so a run stopped at any point (server gone, connection
// dropped, cancelled, the process ended) resumes where it stopped and sends nothing twice that the
// server accepted. The window and the command line both drive it, one employee a step. The messages
// after the one under way are made ahead: their file keys sealed for the passwords on worker threads,
// their slips printed (and encrypted) on the calling thread (printing shares the fonts' state), their
// messages composed on the workers, and sent in order over the one connection; a message made ahead but not
// sent is simply made again by the next run.
#include <QByteArray>
#include <QDateTime>
#include <QStringList>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <vector>

#include "mail/mail_settings.h"
#include "mail/mime_message.h"
#include "mail/recipients.h"
#include "mail/send_log.h"
#include "mail/smtp_client.h"

namespace slp {
class Clock;
}
namespace slp::data {
class Database;
}

namespace slp::mail {

class WorkerPool;

// An employee's state in the run, as the window's status column and the command line show it.
enum class SlipStatus {
    NoAddress,   // 无地址
    BadAddress,  // 地址无效: the column holds something that is not exactly one address
    Duplicate,   // 工号重复: the 工号 is not unique in the month, so nobody of it is mailed
    NoPassword,  // 无密码: the rule gives nothing, never sent
    Due,         // 未发送
    Sent,        // 已发送 (by this run or another)
    Failed,      // 失败
    Skipped,     // left out by --only
    Claimed,     // 发送中: another run is sending it
    MaybeSent,   // 可能已发送: a run claimed it and ended without saying what became of it
};
QString statusText(SlipStatus status);

struct SlipEntry {
    Recipient recipient;
    SlipStatus status = SlipStatus::Due;
    QString reply;              // the server's words (or the fault) of the last attempt
    QString time;               // when it was last attempted
    bool byThisRun = false;     // attempted by this run
    bool failedBefore = false;  // an earlier attempt failed
};

// What locks a recipient's slip, opaque to the run: a file key sealed for the recipient's password.
using SlipSeal = std::shared_ptr<const void>;
// A recipient's slip is made in two steps. `seal` is slow on purpose (the password hash of AES-256 PDF
// files) and safe on any thread: the run seals on its workers ahead of the slips; it throws slp::Error
// for an empty password (a slip is never sent unprotected). `print` gives the PDF of the slip, the page
// the slips print gives for that employee, locked with the seal so that it opens only with the
// recipient's password.
struct SlipPdfMaker {
    std::function<SlipSeal(const QString& password)> seal;
    std::function<QByteArray(const Recipient&, const SlipSeal&)> print;
};

// Error number of a slip that could not be protected.
inline constexpr int encryptionError = 31037;

struct RunOptions {
    bool resend = false;  // send again to those already sent
    QStringList only;     // 工号 of the employees to consider; empty: everyone
    // Where in the list this run begins, as a fraction of it (the k-th of n senders begins at k/n and
    // goes round), so several senders of one month seldom reach for the same employee.
    double startAt = 0;
    QString runName;  // the run's name in the log; empty: a new one
};

// The values of the templates common to every message of the run.
struct MonthInfo {
    QString monthKey;  // "2000-04"
    QString unitName;
};

struct RunSummary {
    // This run.
    int sent = 0;
    int failed = 0;   // attempted and not sent
    int untried = 0;  // due but not attempted (the run stopped first)
    // The month, as the log says after the run.
    int monthSent = 0;
    int monthFailed = 0;  // the last attempt failed
    int monthDue = 0;     // never attempted
    int noAddress = 0;
    int badAddress = 0;
    int duplicate = 0;
    int noPassword = 0;
    int claimed = 0;
    int maybeSent = 0;
    // Everyone of the month with an address that could be mailed got their slip.
    bool complete() const {
        return monthFailed + monthDue + badAddress + duplicate + noPassword + maybeSent == 0;
    }
};
// "本次：已发送n人，失败m人，未尝试k人" and on a second line "本月：已发送…，失败…，未发送…，无地址…"
// with the other counts of the month where they are not zero.
QString summaryText(const RunSummary& summary);

// The message of one employee made and claimed, to be handed to the transport.
struct Outgoing {
    int index = -1;
    QString from;
    QString to;
    QByteArray message;
    QByteArray messageId;
    QString time;
};

class SendLog;

class SlipMailing {
  public:
    SlipMailing(std::vector<Recipient> recipients, const QHash<QString, LoggedEmployee>& log,
                const RunOptions& options);
    ~SlipMailing();
    SlipMailing(const SlipMailing&) = delete;
    SlipMailing& operator=(const SlipMailing&) = delete;

    // Threads that encrypt and compose the next messages while one is sent (default one a processor);
    // 0: each message is made when its turn comes. Set before the first sendNext().
    void setPrepareThreads(int threads) { prepareThreads_ = threads; }

    const std::vector<SlipEntry>& entries() const { return entries_; }
    // The entries still due; 0 when the run is over.
    int dueCount() const;
    // The next entry to send, -1 when none.
    int nextDue() const;
    // Stopped by a broken connection or a log that cannot be written (stopReason says why) or
    // cancelled.
    bool stopped() const { return stopped_; }
    const QString& stopReason() const { return stopReason_; }
    // Stops after the message under way; the messages made ahead are dropped.
    void cancel();

    // The message of entry `index` with its encrypted slip, ready to send.
    QByteArray composeMessage(int index, const MailSettings& settings, const MonthInfo& month,
                              const SlipPdfMaker& makeSlip, const QDateTime& now,
                              QByteArray* messageId) const;

    // Makes the next due message and claims its employee in the log (when one is given). Returns it
    // with index -1 when nothing is due any more; with an empty message when the entry was settled
    // without sending (its slip could not be made). An employee another run has sent or is sending
    // is marked so and the next one taken. A log that cannot be written stops the run (index -1).
    Outgoing beginNext(const MailSettings& settings, const MonthInfo& month, const SlipPdfMaker& makeSlip,
                       SendLog* log, const Clock& clock);
    // Records the transport's outcome for a message of beginNext(). Returns its index.
    int finishNext(const Outgoing& outgoing, const SendOutcome& outcome, SendLog* log, const Clock& clock);
    // beginNext, the transport, finishNext. Returns the entry's index, -1 when nothing was due.
    int sendNext(const MailSettings& settings, const MonthInfo& month, const SlipPdfMaker& makeSlip,
                 MailTransport& transport, SendLog* log, const Clock& clock);

    // What the log says now of the employees this run has not settled itself (another run's work).
    void applyLog(const QHash<QString, LoggedEmployee>& log);

    RunSummary summary() const;

  private:
    struct Prepared {
        QByteArray message;
        QByteArray messageId;
    };
    struct Pending {
        int index = -1;
        std::future<Prepared> message;  // holds the fault when the slip could not be made or protected
    };
    struct Sealing {
        int index = -1;
        std::shared_future<SlipSeal> seal;  // holds the fault when the password cannot seal
    };
    // The message of entry `index` without its slip.
    SlipMessage messageHead(int index, const MailSettings& settings, const MonthInfo& month,
                            const QDateTime& now) const;
    // The first due entry at or after `position`, going round the list; -1 when none.
    int dueFrom(size_t position) const;
    // Makes ready the due entries from `index` on, as many as the workers can keep busy.
    void prepareAhead(int index, const MailSettings& settings, const MonthInfo& month,
                      const SlipPdfMaker& makeSlip, const Clock& clock);
    // Starts sealing the due entries from `index` on, further ahead than the messages are made.
    void sealAhead(int index, const SlipPdfMaker& makeSlip);
    SlipSeal sealOf(int index, const SlipPdfMaker& makeSlip);
    Pending prepare(int index, const MailSettings& settings, const MonthInfo& month,
                    const SlipPdfMaker& makeSlip, const Clock& clock);
    void dropPrepared();
    void stop(const QString& reason);
    // After meeting another run's work: the log read again and the run moved to the middle of the
    // longest stretch still due, away from the other sender.
    void moveAwayFromOthers(SendLog& log, const Clock& clock);
    void record(int index, SlipStatus status, const QString& reply, const QString& time);

    std::vector<SlipEntry> entries_;
    size_t cursor_ = 0;  // where the walk round the list stands
    bool stopped_ = false;
    QString stopReason_;
    int prepareThreads_;
    std::deque<Sealing> sealing_;  // the due entries being sealed ahead, in order
    std::deque<Pending> pending_;  // the due entries made ahead, in order, the next one to send first
    std::unique_ptr<WorkerPool> workers_;
};

// The template values of one message.
TemplateValues templateValues(const MailSettings& settings, const MonthInfo& month,
                              const Recipient& recipient);

}  // namespace slp::mail
