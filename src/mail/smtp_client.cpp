#include "mail/smtp_client.h"

#include <curl/curl.h>

#include <cstring>
#include <mutex>

using namespace Qt::StringLiterals;

namespace slp::mail {

namespace {

void initializeCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The message handed to curl piece by piece.
struct Upload {
    const QByteArray* data = nullptr;
    qsizetype offset = 0;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* user) {
    auto* upload = static_cast<Upload*>(user);
    const size_t left = size_t(upload->data->size() - upload->offset);
    const size_t n = std::min(left, size * count);
    std::memcpy(buffer, upload->data->constData() + upload->offset, n);
    upload->offset += qsizetype(n);
    return n;
}

// Outcomes where the server said nothing about this message: the connection or the session is at fault.
bool isSessionFault(CURLcode code) {
    switch (code) {
        case CURLE_COULDNT_CONNECT:
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_LOGIN_DENIED:
        case CURLE_OPERATION_TIMEDOUT:
        case CURLE_USE_SSL_FAILED:
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_GOT_NOTHING:
        case CURLE_RECV_ERROR:
        case CURLE_URL_MALFORMAT:
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_AUTH_ERROR:
            return true;
        default:
            return false;
    }
}

}  // namespace

struct SmtpClient::Impl {
    CURL* curl = nullptr;
    SmtpAccount account;
    char error[CURL_ERROR_SIZE] = {};
    // The server's replies to the message under way, as received (the last complete line counts).
    QByteArray replies;
    bool messageStarted = false;  // MAIL FROM went out for the message under way

    static int debug(CURL*, curl_infotype type, char* data, size_t size, void* user) {
        auto* self = static_cast<Impl*>(user);
        if (type == CURLINFO_HEADER_IN) {
            self->replies.append(data, qsizetype(size));
        } else if (type == CURLINFO_HEADER_OUT && size >= 10 && std::strncmp(data, "MAIL FROM:", 10) == 0) {
            self->messageStarted = true;
            self->replies.clear();
        }
        return 0;
    }

    // The server's refusal of the message (its first reply of 400 or more, not what it said on
    // closing afterwards), else its last reply.
    QString lastReply() const {
        const QList<QByteArray> lines = replies.trimmed().split('\n');
        for (const QByteArray& line : lines) {
            if (line.left(3).toInt() >= 400) return QString::fromUtf8(line.trimmed());
        }
        return lines.isEmpty() ? QString() : QString::fromUtf8(lines.last().trimmed());
    }
    int lastReplyCode() const { return lastReply().left(3).toInt(); }
};

SmtpClient::SmtpClient(SmtpAccount account) : impl_(std::make_unique<Impl>()) {
    initializeCurl();
    impl_->account = std::move(account);
    impl_->curl = curl_easy_init();
}

SmtpClient::~SmtpClient() {
    if (impl_->curl) curl_easy_cleanup(impl_->curl);
}

SendOutcome SmtpClient::send(const QString& from, const QString& to, const QByteArray& message) {
    CURL* curl = impl_->curl;
    if (!curl) return {SendOutcome::Broken, u"无法初始化邮件发送"_s};
    const SmtpAccount& a = impl_->account;
    const QByteArray url = a.url.toUtf8();
    const QByteArray user = a.user.toUtf8();
    const QByteArray password = a.password.toUtf8();
    const QByteArray caFile = a.caFile.toLocal8Bit();
    const QByteArray mailFrom = '<' + from.toUtf8() + '>';
    const QByteArray rcpt = '<' + to.toUtf8() + '>';
    curl_slist* recipients = curl_slist_append(nullptr, rcpt.constData());
    Upload upload{&message, 0};

    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_USE_SSL,
                     long(a.security == Security::None ? CURLUSESSL_NONE : CURLUSESSL_ALL));
    if (!a.user.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
    }
    if (!a.caFile.isEmpty()) curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.constData());
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, long(a.timeoutSeconds));
    // A server that sends nothing for the time allowed is taken as gone.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, long(a.timeoutSeconds));
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, mailFrom.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readUpload);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(message.size()));
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, impl_->error);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, &Impl::debug);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, impl_.get());
    impl_->error[0] = 0;
    impl_->replies.clear();
    impl_->messageStarted = false;

    const CURLcode code = curl_easy_perform(curl);
    curl_slist_free_all(recipients);
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, nullptr);
    curl_easy_setopt(curl, CURLOPT_READDATA, nullptr);
    long made = 0;
    if (curl_easy_getinfo(curl, CURLINFO_NUM_CONNECTS, &made) == CURLE_OK) connections_ += made;

    const QString reply = impl_->lastReply();
    if (code == CURLE_OK) return {SendOutcome::Accepted, reply};
    const QString fault = QString::fromUtf8(impl_->error[0] ? impl_->error : curl_easy_strerror(code));
    // The server answered this message with a refusal (4xx or 5xx after MAIL FROM): the next may go.
    const int replyCode = impl_->lastReplyCode();
    if (!isSessionFault(code) && impl_->messageStarted && replyCode >= 400 && replyCode < 600) {
        return {SendOutcome::Refused, reply};
    }
    return {SendOutcome::Broken,
            reply.isEmpty() || isSessionFault(code) ? fault : fault + u"（"_s + reply + u"）"_s};
}

}  // namespace slp::mail
