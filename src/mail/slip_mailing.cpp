#include "mail/slip_mailing.h"

#include "basic/clock.h"
#include "basic/error.h"
#include "data/database.h"
#include "mail/address.h"
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
        case SlipStatus::BadAddress:
            return u"地址无效"_s;
        case SlipStatus::Duplicate:
            return u"工号重复"_s;
        case SlipStatus::Claimed:
            return u"发送中"_s;
        case SlipStatus::MaybeSent:
            return u"可能已发送"_s;
        case SlipStatus::Due:
            break;
    }
    return u"未发送"_s;
}

QString summaryText(const RunSummary& s) {
    QString text = u"本次：已发送%1人，失败%2人，未尝试%3人\n"_s.arg(s.sent).arg(s.failed).arg(s.untried);
    text += u"本月：已发送%1人，失败%2人，未发送%3人，无地址%4人"_s.arg(s.monthSent)
                .arg(s.monthFailed)
                .arg(s.monthDue)
                .arg(s.noAddress);
    const std::pair<int, QString> others[] = {{s.badAddress, u"地址无效"_s},
                                              {s.duplicate, u"工号重复"_s},
                                              {s.noPassword, u"无密码"_s},
                                              {s.maybeSent, u"可能已发送"_s},
                                              {s.claimed, u"其他进程发送中"_s}};
    for (const auto& [count, what] : others) {
        if (count > 0) text += u"，"_s + what + QString::number(count) + u"人"_s;
    }
    return text;
}

TemplateValues templateValues(const MailSettings& settings, const MonthInfo& month, const Recipient& r) {
    return {{u"年"_s, month.monthKey.section(u'-', 0, 0)},
            {u"月"_s, QString::number(month.monthKey.section(u'-', 1, 1).toInt())},
            {u"单位"_s, month.unitName},
            {u"姓名"_s, r.name},
            {u"工号"_s, r.number},
            {u"密码"_s, describePasswordRule(settings.password)}};
}

SlipMailing::SlipMailing(std::vector<Recipient> recipients, const QHash<QString, LoggedEmployee>& log,
                         const RunOptions& options)
    : prepareThreads_(WorkerPool::defaultThreadCount()) {
    entries_.reserve(recipients.size());
    QHash<QString, int> numbers;
    for (const Recipient& r : recipients) ++numbers[r.number];
    for (Recipient& r : recipients) {
        SlipEntry e;
        const LoggedEmployee logged = log.value(r.number);
        if (logged.state != LoggedState::None) {
            e.reply = logged.row.reply;
            e.time = logged.row.time;
        }
        e.failedBefore = logged.state == LoggedState::Failed;
        if (numbers.value(r.number) > 1) {
            e.status = SlipStatus::Duplicate;
            e.reply = u"工号在本月不唯一，未发送"_s;
        } else if (r.address.isEmpty()) {
            e.status = r.addressFault.isEmpty() ? SlipStatus::NoAddress : SlipStatus::BadAddress;
            if (!r.addressFault.isEmpty()) e.reply = r.addressFault;
        } else if (!options.only.isEmpty() && !options.only.contains(r.number)) {
            e.status = logged.state == LoggedState::Sent ? SlipStatus::Sent : SlipStatus::Skipped;
        } else if (logged.state == LoggedState::Sent) {
            e.status = SlipStatus::Sent;
        } else if (logged.state == LoggedState::Claimed) {
            e.status = SlipStatus::Claimed;
        } else if (logged.state == LoggedState::MaybeSent) {
            e.status = SlipStatus::MaybeSent;
        } else if (r.password.isEmpty()) {
            e.status = SlipStatus::NoPassword;
            e.reply = r.passwordFault.isEmpty() ? u"密码为空，未发送"_s : r.passwordFault;
        } else {
            // Due in this run, whatever an earlier run said of it.
            e.status = SlipStatus::Due;
        }
        e.recipient = std::move(r);
        entries_.push_back(std::move(e));
    }
    if (!entries_.empty()) {
        cursor_ =
            std::min(entries_.size() - 1, size_t(std::max(0.0, options.startAt) * double(entries_.size())));
    }
}

int SlipMailing::dueCount() const {
    return int(std::count_if(entries_.begin(), entries_.end(),
                             [](const SlipEntry& e) { return e.status == SlipStatus::Due; }));
}

int SlipMailing::dueFrom(size_t position) const {
    const size_t n = entries_.size();
    for (size_t k = 0; k < n; ++k) {
        const size_t i = (position + k) % n;
        if (entries_[i].status == SlipStatus::Due) return int(i);
    }
    return -1;
}

int SlipMailing::nextDue() const {
    if (stopped_) return -1;
    return dueFrom(cursor_);
}

SlipMailing::~SlipMailing() {
    dropPrepared();
}

SlipMessage SlipMailing::messageHead(int index, const MailSettings& settings, const MonthInfo& month,
                                     const QDateTime& now) const {
    const Recipient& r = entries_.at(size_t(index)).recipient;
    const TemplateValues values = templateValues(settings, month, r);
    SlipMessage m;
    m.from = parseSender(settings.from).value_or(Mailbox{});
    m.to = {r.name, r.address};
    m.subject = expandTemplate(settings.subject, values);
    m.body = expandTemplate(settings.body, values);
    m.attachmentName = attachmentName(month.monthKey, randomAttachmentPart());
    m.messageId = newMessageId(m.from.address);
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
    // The walk goes round the list in order: what is sealed ahead is the due entries from `index` on.
    while (!sealing_.empty() && sealing_.front().index != index) sealing_.pop_front();
    if (!workers_) return;
    // Sealing takes the most time of a message: two slips a worker more than the messages made ahead,
    // so that a slip's seal is ready when its turn to be printed comes.
    const size_t depth = size_t(4 * workers_->threadCount() + 1);
    while (sealing_.size() < depth) {
        const int from = sealing_.empty() ? index : dueFrom(size_t(sealing_.back().index) + 1);
        if (from < 0 || (!sealing_.empty() && from == sealing_.front().index)) break;
        const QString password = entries_[size_t(from)].recipient.password;
        auto seal = [seal = makeSlip.seal, password] { return seal(password); };
        sealing_.push_back({from, workers_->run(std::move(seal)).share()});
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
    while (!pending_.empty() && pending_.front().index != index) pending_.pop_front();
    // Enough ahead that no worker waits for the next slip while one message is sent.
    const size_t depth = workers_ ? size_t(2 * workers_->threadCount() + 1) : 1;
    while (pending_.size() < depth) {
        const int from = pending_.empty() ? index : dueFrom(size_t(pending_.back().index) + 1);
        if (from < 0 || (!pending_.empty() && from == pending_.front().index)) break;
        pending_.push_back(prepare(from, settings, month, makeSlip, clock));
    }
}

void SlipMailing::dropPrepared() {
    pending_.clear();
    sealing_.clear();
    workers_.reset();
}

void SlipMailing::stop(const QString& reason) {
    stopped_ = true;
    if (stopReason_.isEmpty()) stopReason_ = reason;
    dropPrepared();
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
    e.byThisRun = true;
}

void SlipMailing::applyLog(const QHash<QString, LoggedEmployee>& log) {
    for (SlipEntry& e : entries_) {
        if (e.byThisRun && e.status == SlipStatus::Sent) continue;
        const bool open = e.status == SlipStatus::Due || e.status == SlipStatus::Failed ||
                          e.status == SlipStatus::Claimed || e.status == SlipStatus::MaybeSent ||
                          (e.status == SlipStatus::Sent && !e.byThisRun);
        if (!open) continue;
        const auto found = log.constFind(e.recipient.number);
        if (found == log.constEnd()) continue;
        const LoggedEmployee& logged = *found;
        const bool mine = e.byThisRun && logged.row.time <= e.time;
        if (mine) continue;
        switch (logged.state) {
            case LoggedState::Sent:
                e.status = SlipStatus::Sent;
                break;
            case LoggedState::Claimed:
                // This run's own unanswered message stays as this run left it.
                if (!e.byThisRun) e.status = SlipStatus::Claimed;
                break;
            case LoggedState::MaybeSent:
                e.status = SlipStatus::MaybeSent;
                break;
            case LoggedState::Failed:
                if (e.status != SlipStatus::Due) e.status = SlipStatus::Failed;
                e.failedBefore = true;
                break;
            case LoggedState::None:
                continue;
        }
        e.reply = logged.row.reply;
        e.time = logged.row.time;
    }
}

void SlipMailing::moveAwayFromOthers(SendLog& log, const Clock& clock) {
    applyLog(loggedStates(log.rows(), clock.now().toString(u"yyyy-MM-dd HH:mm:ss"_s)));
    dropPrepared();
    // The middle of the longest stretch of due entries, going round the list.
    const size_t n = entries_.size();
    size_t bestStart = 0;
    size_t bestLength = 0;
    for (size_t i = 0; i < n; ++i) {
        if (entries_[i].status != SlipStatus::Due || entries_[(i + n - 1) % n].status == SlipStatus::Due)
            continue;
        size_t length = 0;
        while (length < n && entries_[(i + length) % n].status == SlipStatus::Due) ++length;
        if (length > bestLength) {
            bestLength = length;
            bestStart = i;
        }
    }
    if (bestLength == 0 && dueFrom(0) >= 0) {
        bestStart = size_t(dueFrom(0));  // every entry is due: anywhere will do
        bestLength = n;
    }
    cursor_ = (bestStart + bestLength / 2) % std::max<size_t>(1, n);
}

Outgoing SlipMailing::beginNext(const MailSettings& settings, const MonthInfo& month,
                                const SlipPdfMaker& makeSlip, SendLog* log, const Clock& clock) {
    for (;;) {
        const int index = nextDue();
        if (index < 0) {
            dropPrepared();
            return {};
        }
        cursor_ = size_t(index);
        prepareAhead(index, settings, month, makeSlip, clock);
        // The entries made ahead are the due ones in order, so the first is this one.
        Pending pending = std::move(pending_.front());
        pending_.pop_front();
        const Recipient& r = entries_[size_t(index)].recipient;
        Outgoing out;
        out.index = index;
        out.from = wireAddress(parseSender(settings.from).value_or(Mailbox{}).address);
        out.to = wireAddress(r.address);
        out.time = clock.now().toString(u"yyyy-MM-dd HH:mm:ss"_s);
        try {
            Prepared prepared = pending.message.get();
            out.message = std::move(prepared.message);
            out.messageId = std::move(prepared.messageId);
        } catch (const Error& e) {
            // The slip could not be made or protected: this employee fails, the others go on.
            record(index, SlipStatus::Failed, e.description(), out.time);
            cursor_ = size_t(index) + 1;
            try {
                if (log)
                    log->record({month.monthKey, r.number, r.address, out.time, kResultFailed,
                                 e.description(), QString(), QString()});
            } catch (const Error& fault) {
                stop(fault.description());
            }
            out.message.clear();
            return out;
        }
        if (!log) return out;
        LoggedEmployee taken;
        try {
            taken = log->claim(r.number, r.address, out.time);
        } catch (const Error& fault) {
            stop(fault.description());
            return {};
        }
        if (taken.state == LoggedState::None) return out;
        // Another run has it: say so, and go where no other sender is.
        SlipEntry& e = entries_[size_t(index)];
        e.status = taken.state == LoggedState::Sent      ? SlipStatus::Sent
                   : taken.state == LoggedState::Claimed ? SlipStatus::Claimed
                                                         : SlipStatus::MaybeSent;
        e.reply = taken.row.reply;
        e.time = taken.row.time;
        try {
            moveAwayFromOthers(*log, clock);
        } catch (const Error& fault) {
            stop(fault.description());
            return {};
        }
    }
}

int SlipMailing::finishNext(const Outgoing& out, const SendOutcome& outcome, SendLog* log,
                            const Clock& clock) {
    (void)clock;
    const int index = out.index;
    const Recipient& r = entries_.at(size_t(index)).recipient;
    cursor_ = size_t(index) + 1;
    const bool sent = outcome.kind == SendOutcome::Accepted;
    // A connection that could not be made says nothing of this employee: it stays due, its claim taken
    // back.
    const bool untouched = outcome.kind == SendOutcome::Broken && !outcome.started;
    if (untouched) {
        stop(outcome.reply);
    } else if (outcome.kind == SendOutcome::Unknown) {
        record(index, SlipStatus::MaybeSent, outcome.reply, out.time);
        stop(outcome.reply);
    } else {
        record(index, sent ? SlipStatus::Sent : SlipStatus::Failed, outcome.reply, out.time);
        if (outcome.kind == SendOutcome::Broken) stop(outcome.reply);
    }
    if (!log) return index;
    try {
        if (untouched) {
            log->release(r.number);
        } else {
            // A message whose answer never came keeps its claim: the next runs list it as possibly sent.
            const QString result = sent                                   ? kResultSent
                                   : outcome.kind == SendOutcome::Unknown ? kResultClaimed
                                                                          : kResultFailed;
            log->settle({log->month(), r.number, r.address, out.time, result, outcome.reply,
                         sent ? QString::fromUtf8(out.messageId) : QString(), QString()});
        }
    } catch (const Error& fault) {
        stop(fault.description());
    }
    return index;
}

int SlipMailing::sendNext(const MailSettings& settings, const MonthInfo& month, const SlipPdfMaker& makeSlip,
                          MailTransport& transport, SendLog* log, const Clock& clock) {
    const Outgoing out = beginNext(settings, month, makeSlip, log, clock);
    if (out.index < 0) return -1;
    if (out.message.isEmpty()) return out.index;
    return finishNext(out, transport.send(out.from, out.to, out.message), log, clock);
}

RunSummary SlipMailing::summary() const {
    RunSummary s;
    for (const SlipEntry& e : entries_) {
        switch (e.status) {
            case SlipStatus::Sent:
                ++s.monthSent;
                s.sent += e.byThisRun;
                break;
            case SlipStatus::NoAddress:
                ++s.noAddress;
                break;
            case SlipStatus::BadAddress:
                ++s.badAddress;
                break;
            case SlipStatus::Duplicate:
                ++s.duplicate;
                break;
            case SlipStatus::NoPassword:
                ++s.noPassword;
                break;
            case SlipStatus::Claimed:
                ++s.claimed;
                break;
            case SlipStatus::MaybeSent:
                ++s.maybeSent;
                s.failed += e.byThisRun;
                break;
            case SlipStatus::Skipped:
                break;
            case SlipStatus::Failed:
                ++s.monthFailed;
                s.failed += e.byThisRun;
                break;
            case SlipStatus::Due:
                ++s.untried;
                ++(e.failedBefore ? s.monthFailed : s.monthDue);
                break;
        }
    }
    return s;
}

}  // namespace slp::mail
