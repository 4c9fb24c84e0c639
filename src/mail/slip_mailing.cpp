#include "mail/slip_mailing.h"

#include "basic/clock.h"
#include "basic/error.h"
#include "data/database.h"
#include "mail/pdf_encryption.h"

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
                         const RunOptions& options) {
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

QByteArray SlipMailing::composeMessage(int index, const MailSettings& settings, const MonthInfo& month,
                                       const SlipPdfMaker& makeSlip, const QDateTime& now,
                                       QByteArray* messageId) const {
    const Recipient& r = entries_.at(size_t(index)).recipient;
    const TemplateValues values = templateValues(settings, month, r);
    SlipMessage m;
    m.from = parseMailbox(settings.from);
    m.to = {r.name, r.address};
    m.subject = expandTemplate(settings.subject, values);
    m.body = expandTemplate(settings.body, values);
    m.attachmentName = attachmentName(r.number, month.monthKey);
    m.pdf = encryptPdf(makeSlip(r), r.password);
    m.messageId = newMessageId(r.number, m.from.address);
    m.date = now;
    if (messageId) *messageId = m.messageId;
    return buildMessage(m);
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
    if (index < 0) return -1;
    next_ = size_t(index) + 1;
    const Recipient& r = entries_[size_t(index)].recipient;
    const QDateTime now = clock.now();
    const QString time = now.toString(u"yyyy-MM-dd HH:mm:ss"_s);
    QByteArray messageId;
    SendOutcome outcome;
    try {
        const QByteArray message = composeMessage(index, settings, month, makeSlip, now, &messageId);
        outcome = transport.send(parseMailbox(settings.from).address, r.address, message);
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
