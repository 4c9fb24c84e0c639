#include "mail/slip_mailing.h"

#include "basic/clock.h"
#include "basic/error.h"
#include "data/database.h"
#include "mail/worker_pool.h"

using namespace Qt::StringLiterals;

namespace slp::mail {

QString statusText(SlipStatus status) {
    switch (status) {
        case SlipStatus::NoAddress:
            return u"无地址"_s;
        case SlipStatus::NoPassword:
            return u"无密码"_s;
        case SlipStatus::Sent:
            return u"已发送"_s;
        case SlipStatus::Failed:
            return u"失败"_s;
        case SlipStatus::Skipped:
            return u"未选"_s;
        case SlipStatus::Due:
            break;
    }
    return u"未发送"_s;
}

QString summaryText(const RunSummary& s) {
    return u"已发送%1人，失败%2人，无地址%3人"_s.arg(s.sent).arg(s.failed).arg(s.noAddress);
}

TemplateValues templateValues(const MailSettings& settings, const MonthInfo& month, const Recipient& r) {
    return {{u"年"_s, month.monthKey.section(u'-', 0, 0)},
            {u"月"_s, QString::number(month.monthKey.section(u'-', 1, 1).toInt())},
            {u"单位"_s, month.unitName},
            {u"姓名"_s, r.name},
            {u"工号"_s, r.number},
            {u"密码"_s, describePasswordRule(settings.password)}};
}

SlipMailing::SlipMailing(std::vector<Recipient> recipients, const QHash<QString, LogEntry>& log,
                         const RunOptions& options)
    : prepareThreads_(WorkerPool::defaultThreadCount()) {
    entries_.reserve(recipients.size());
    for (Recipient& r : recipients) {
        SlipEntry e;
        const auto logged = log.constFind(r.number);
        if (logged != log.constEnd()) {
            e.reply = logged->reply;
            e.time = logged->time;
        }
        const bool sentBefore = logged != log.constEnd() && logged->result == kResultSent;
        if (r.address.isEmpty()) {
            e.status = SlipStatus::NoAddress;
        } else if (!options.only.isEmpty() && !options.only.contains(r.number)) {
            e.status = sentBefore ? SlipStatus::Sent : SlipStatus::Skipped;
        } else if (sentBefore && !options.resend) {
            e.status = SlipStatus::Sent;
        } else if (r.password.isEmpty()) {
            e.status = SlipStatus::NoPassword;
            e.reply = u"密码为空，未发送"_s;
        } else {
            // Due in this run, whatever an earlier run said of it.
            e.status = SlipStatus::Due;
        }
        e.recipient = std::move(r);
        entries_.push_back(std::move(e));
    }
}

int SlipMailing::dueCount() const {
    int due = 0;
    for (size_t i = next_; i < entries_.size(); ++i) due += entries_[i].status == SlipStatus::Due;
    return due;
}

int SlipMailing::nextDue() const {
    if (stopped_) return -1;
    for (size_t i = next_; i < entries_.size(); ++i) {
        if (entries_[i].status == SlipStatus::Due) return int(i);
    }
    return -1;
}

SlipMailing::~SlipMailing() {
    dropPrepared();
}

SlipMessage SlipMailing::messageHead(int index, const MailSettings& settings, const MonthInfo& month,
                                     const QDateTime& now) const {
    const Recipient& r = entries_.at(size_t(index)).recipient;
    const TemplateValues values = templateValues(settings, month, r);
    SlipMessage m;
    m.from = parseMailbox(settings.from);
    m.to = {r.name, r.address};
    m.subject = expandTemplate(settings.subject, values);
    m.body = expandTemplate(settings.body, values);
    m.attachmentName = attachmentName(r.number, month.monthKey);
    m.messageId = newMessageId(r.number, m.from.address);
    m.date = now;
    return m;
}

QByteArray SlipMailing::composeMessage(int index, const MailSettings& settings, const MonthInfo& month,
                                       const SlipPdfMaker& makeSlip, const QDateTime& now,
                                       QByteArray* messageId) const {
    SlipMessage m = messageHead(index, settings, month, now);
    const Recipient& r = entries_.at(size_t(index)).recipient;
    m.pdf = makeSlip.print(r, makeSlip.seal(r.password));
    if (messageId) *messageId = m.messageId;
    return buildMessage(m);
}

SlipMailing::Pending SlipMailing::prepare(int index, const MailSettings& settings, const MonthInfo& month,
                                          const SlipPdfMaker& makeSlip, const Clock& clock) {
    Pending pending;
    pending.index = index;
    try {
        SlipMessage head = messageHead(index, settings, month, clock.now());
        const Recipient& r = entries_.at(size_t(index)).recipient;
        head.pdf = makeSlip.print(r, sealOf(index, makeSlip));
        // Only values of its own go to the worker: the printed slip and the message's texts.
        auto finish = [head = std::move(head)]() { return Prepared{buildMessage(head), head.messageId}; };
        if (workers_) {
            pending.message = workers_->run(std::move(finish));
        } else {
            std::promise<Prepared> done;
            done.set_value(finish());
            pending.message = done.get_future();
        }
    } catch (...) {
        std::promise<Prepared> failed;
        failed.set_exception(std::current_exception());
        pending.message = failed.get_future();
    }
    return pending;
}

void SlipMailing::sealAhead(int index, const SlipPdfMaker& makeSlip) {
    while (!sealing_.empty() && sealing_.front().index < index) sealing_.pop_front();
    if (!workers_) return;
    // Sealing takes the most time of a message: two slips a worker more than the messages made ahead,
    // so that a slip's seal is ready when its turn to be printed comes.
    const size_t depth = size_t(4 * workers_->threadCount() + 1);
    size_t from = sealing_.empty() ? size_t(index) : size_t(sealing_.back().index) + 1;
    while (sealing_.size() < depth) {
        while (from < entries_.size() && entries_[from].status != SlipStatus::Due) ++from;
        if (from >= entries_.size()) break;
        const QString password = entries_[from].recipient.password;
        auto seal = [seal = makeSlip.seal, password] { return seal(password); };
        sealing_.push_back({int(from), workers_->run(std::move(seal)).share()});
        ++from;
    }
}

SlipSeal SlipMailing::sealOf(int index, const SlipPdfMaker& makeSlip) {
    for (const Sealing& s : sealing_) {
        if (s.index == index) return s.seal.get();
    }
    return makeSlip.seal(entries_.at(size_t(index)).recipient.password);
}

void SlipMailing::prepareAhead(int index, const MailSettings& settings, const MonthInfo& month,
                               const SlipPdfMaker& makeSlip, const Clock& clock) {
    if (!workers_ && prepareThreads_ > 0) workers_ = std::make_unique<WorkerPool>(prepareThreads_);
    sealAhead(index, makeSlip);
    while (!pending_.empty() && pending_.front().index < index) pending_.pop_front();
    // Enough ahead that no worker waits for the next slip while one message is sent.
    const size_t depth = workers_ ? size_t(2 * workers_->threadCount() + 1) : 1;
    size_t from = pending_.empty() ? size_t(index) : size_t(pending_.back().index) + 1;
    while (pending_.size() < depth) {
        while (from < entries_.size() && entries_[from].status != SlipStatus::Due) ++from;
        if (from >= entries_.size()) break;
        pending_.push_back(prepare(int(from), settings, month, makeSlip, clock));
        ++from;
    }
}

void SlipMailing::dropPrepared() {
    pending_.clear();
    sealing_.clear();
    workers_.reset();
}

void SlipMailing::cancel() {
    stopped_ = true;
    dropPrepared();
}

void SlipMailing::record(int index, SlipStatus status, const QString& reply, const QString& time) {
    SlipEntry& e = entries_.at(size_t(index));
    e.status = status;
    e.reply = reply;
    e.time = time;
}

int SlipMailing::sendNext(const MailSettings& settings, const MonthInfo& month, const SlipPdfMaker& makeSlip,
                          MailTransport& transport, data::Database* log, const Clock& clock) {
    const int index = nextDue();
    if (index < 0) {
        dropPrepared();
        return -1;
    }
    next_ = size_t(index) + 1;
    prepareAhead(index, settings, month, makeSlip, clock);
    // The entries made ahead are the due ones in order, so the first is this one.
    Pending pending = std::move(pending_.front());
    pending_.pop_front();
    const Recipient& r = entries_[size_t(index)].recipient;
    const QString time = clock.now().toString(u"yyyy-MM-dd HH:mm:ss"_s);
    QByteArray messageId;
    SendOutcome outcome;
    try {
        const Prepared prepared = pending.message.get();
        messageId = prepared.messageId;
        outcome = transport.send(parseMailbox(settings.from).address, r.address, prepared.message);
    } catch (const Error& e) {
        // The slip could not be made or protected: this employee fails, the others go on.
        outcome = {SendOutcome::Refused, e.description()};
        messageId.clear();
    }
    const bool sent = outcome.kind == SendOutcome::Accepted;
    record(index, sent ? SlipStatus::Sent : SlipStatus::Failed, outcome.reply, time);
    if (outcome.kind == SendOutcome::Broken) {
        stopped_ = true;
        stopReason_ = outcome.reply;
        dropPrepared();
    }
    if (log) {
        recordSend(*log, {month.monthKey, r.number, r.address, time, sent ? kResultSent : kResultFailed,
                          outcome.reply, sent ? QString::fromUtf8(messageId) : QString()});
    }
    return index;
}

RunSummary SlipMailing::summary() const {
    RunSummary s;
    for (const SlipEntry& e : entries_) {
        switch (e.status) {
            case SlipStatus::Sent:
                ++s.sent;
                break;
            case SlipStatus::NoAddress:
                ++s.noAddress;
                break;
            case SlipStatus::Skipped:
                break;
            case SlipStatus::Failed:
            case SlipStatus::NoPassword:
            case SlipStatus::Due:
                ++s.failed;
                break;
        }
    }
    return s;
}

}  // namespace slp::mail
