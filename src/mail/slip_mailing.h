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
    NoPassword,  // 无密码: the rule gives nothing, never sent
    Due,         // 未发送
    Sent,        // 已发送 (now or by an earlier run)
    Failed,      // 失败
    Skipped,     // left out by --only
};
QString statusText(SlipStatus status);

struct SlipEntry {
    Recipient recipient;
    SlipStatus status = SlipStatus::Due;
    QString reply;  // the server's words (or the fault) of the last attempt
    QString time;   // when it was last attempted
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
};

// The values of the templates common to every message of the run.
struct MonthInfo {
    QString monthKey;  // "2000-04"
    QString unitName;
};

struct RunSummary {
    int sent = 0;
    int failed = 0;  // with an address but not sent (refused, no password, not reached)
    int noAddress = 0;
};
// "已发送n人，失败m人，无地址k人"
QString summaryText(const RunSummary& summary);

class SlipMailing {
  public:
    SlipMailing(std::vector<Recipient> recipients, const QHash<QString, LogEntry>& log,
                const RunOptions& options);
    ~SlipMailing();
    SlipMailing(const SlipMailing&) = delete;
    SlipMailing& operator=(const SlipMailing&) = delete;

    // Threads that encrypt and compose the next messages while one is sent (default one a processor);
    // 0: each message is made when its turn comes. Set before the first sendNext().
    void setPrepareThreads(int threads) { prepareThreads_ = threads; }

    const std::vector<SlipEntry>& entries() const { return entries_; }
    // The entries still due in order; empty when the run is over.
    int dueCount() const;
    // The next entry to send, -1 when none.
    int nextDue() const;
    // Stopped by a broken connection (stopReason says why) or cancelled.
    bool stopped() const { return stopped_; }
    const QString& stopReason() const { return stopReason_; }
    // Stops after the message under way; the messages made ahead are dropped.
    void cancel();

    // The message of entry `index` with its encrypted slip, ready to send.
    QByteArray composeMessage(int index, const MailSettings& settings, const MonthInfo& month,
                              const SlipPdfMaker& makeSlip, const QDateTime& now,
                              QByteArray* messageId) const;

    // Sends the next due entry and records the outcome in the log (when a database is given). Returns
    // its index, -1 when nothing was due. A broken connection marks the entry failed and stops the run.
    int sendNext(const MailSettings& settings, const MonthInfo& month, const SlipPdfMaker& makeSlip,
                 MailTransport& transport, data::Database* log, const Clock& clock);

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
    // Makes ready the due entries from `index` on, as many as the workers can keep busy.
    void prepareAhead(int index, const MailSettings& settings, const MonthInfo& month,
                      const SlipPdfMaker& makeSlip, const Clock& clock);
    // Starts sealing the due entries from `index` on, further ahead than the messages are made.
    void sealAhead(int index, const SlipPdfMaker& makeSlip);
    SlipSeal sealOf(int index, const SlipPdfMaker& makeSlip);
    Pending prepare(int index, const MailSettings& settings, const MonthInfo& month,
                    const SlipPdfMaker& makeSlip, const Clock& clock);
    void dropPrepared();
    void record(int index, SlipStatus status, const QString& reply, const QString& time);

    std::vector<SlipEntry> entries_;
    size_t next_ = 0;  // no due entry before this one
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
