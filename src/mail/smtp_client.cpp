#include "mail/smtp_client.h"

#include <curl/curl.h>
#include <sys/socket.h>
#include <unistd.h>

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
    bool done() const { return data && offset >= data->size(); }
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
        case CURLE_ABORTED_BY_CALLBACK:
            return true;
        default:
            return false;
    }
}

// What went wrong, in the clerk's words; the library's own description follows it.
QString faultText(CURLcode code) {
    switch (code) {
        case CURLE_COULDNT_CONNECT:
            return u"无法连接SMTP服务器"_s;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return u"找不到SMTP服务器"_s;
        case CURLE_OPERATION_TIMEDOUT:
            return u"SMTP服务器在规定时间内没有应答"_s;
        case CURLE_LOGIN_DENIED:
        case CURLE_AUTH_ERROR:
            return u"SMTP服务器拒绝登录（用户名或密码不对）"_s;
        case CURLE_USE_SSL_FAILED:
            return u"SMTP服务器不提供加密连接（STARTTLS）"_s;
        case CURLE_SSL_CONNECT_ERROR:
            return u"无法与SMTP服务器建立加密连接"_s;
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
            return u"SMTP服务器的证书无法验证"_s;
        case CURLE_GOT_NOTHING:
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
            return u"与SMTP服务器的连接中断"_s;
        case CURLE_ABORTED_BY_CALLBACK:
            return u"发送已停止"_s;
        case CURLE_URL_MALFORMAT:
        case CURLE_UNSUPPORTED_PROTOCOL:
            return u"SMTP服务器地址无效"_s;
        default:
            break;
    }
    return u"邮件发送失败"_s;
}

}  // namespace

struct SmtpClient::Impl {
    CURL* curl = nullptr;
    SmtpAccount account;
    char error[CURL_ERROR_SIZE] = {};
    // The server's replies to the message under way, as received (the last complete line counts).
    QByteArray replies;
    bool messageStarted = false;  // MAIL FROM went out for the message under way
    Upload upload;
    // The server's answer to the whole message (a reply after the last byte of its data went out).
    QByteArray finalReply;
    std::function<bool()> stopRequested;
    bool healthy = true;                     // the last message had an answer (taken or refused)
    curl_socket_t socket = CURL_SOCKET_BAD;  // the connection's socket, while one is open

    static curl_socket_t openSocket(void* user, curlsocktype, curl_sockaddr* address) {
        auto* self = static_cast<Impl*>(user);
        self->socket = ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
        return self->socket;
    }
    static int closeSocket(void* user, curl_socket_t socket) {
        auto* self = static_cast<Impl*>(user);
        if (self->socket == socket) self->socket = CURL_SOCKET_BAD;
        return ::close(socket);
    }

    static int debug(CURL*, curl_infotype type, char* data, size_t size, void* user) {
        auto* self = static_cast<Impl*>(user);
        if (type == CURLINFO_HEADER_IN) {
            self->replies.append(data, qsizetype(size));
            if (self->upload.done() && self->finalReply.isEmpty())
                self->finalReply = QByteArray(data, qsizetype(size)).trimmed();
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

    static int progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        const auto* self = static_cast<Impl*>(user);
        return self->stopRequested && self->stopRequested() ? 1 : 0;
    }
};

SmtpClient::SmtpClient(SmtpAccount account) : impl_(std::make_unique<Impl>()) {
    initializeCurl();
    impl_->account = std::move(account);
    impl_->curl = curl_easy_init();
}

SmtpClient::~SmtpClient() {
    if (!impl_->curl) return;
    // A healthy connection ends with QUIT, its answer waited for briefly. After a stop or a server that
    // went silent there is nothing to say: the socket is shut first, so that QUIT fails at once instead
    // of waiting minutes for a server that will not answer.
    const bool stopping = impl_->stopRequested && impl_->stopRequested();
    curl_easy_setopt(impl_->curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(impl_->account.quitSeconds));
    curl_easy_setopt(impl_->curl, CURLOPT_TIMEOUT, long(impl_->account.quitSeconds));
    if ((stopping || !impl_->healthy) && impl_->socket != CURL_SOCKET_BAD)
        ::shutdown(impl_->socket, SHUT_RDWR);
    curl_easy_cleanup(impl_->curl);
}

void SmtpClient::setStopCheck(std::function<bool()> stopRequested) {
    impl_->stopRequested = std::move(stopRequested);
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
    impl_->upload = Upload{&message, 0};
    impl_->finalReply.clear();

    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_USE_SSL,
                     long(a.security == Security::None ? CURLUSESSL_NONE : CURLUSESSL_ALL));
    if (!a.user.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
    }
    if (!a.caFile.isEmpty()) curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.constData());
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, long(std::max(1, a.connectSeconds)));
    // A server that answers nothing for the time allowed, at any step, is taken as gone.
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(std::max(1, a.timeoutSeconds)));
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, long(std::max(1, a.timeoutSeconds)));
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, &Impl::openSocket);
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETDATA, impl_.get());
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, &Impl::closeSocket);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETDATA, impl_.get());
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Impl::progress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, impl_.get());
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, mailFrom.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readUpload);
    curl_easy_setopt(curl, CURLOPT_READDATA, &impl_->upload);
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

    impl_->healthy = code == CURLE_OK;
    const bool started = impl_->messageStarted;
    const bool dataSent = impl_->upload.done();
    impl_->upload = Upload{};
    const QString reply = impl_->lastReply();
    if (code == CURLE_OK) return {SendOutcome::Accepted, reply, true};
    // The server took the whole message and said so; what broke afterwards does not undo that.
    if (dataSent && impl_->finalReply.startsWith('2'))
        return {SendOutcome::Accepted, QString::fromUtf8(impl_->finalReply), true};
    const QString detail = QString::fromUtf8(impl_->error[0] ? impl_->error : curl_easy_strerror(code));
    QString fault = faultText(code) + u"（"_s + detail;
    if (!reply.isEmpty() && reply != detail) fault += u"；服务器："_s + reply;
    fault += u"）"_s;
    // The data went out and no answer came: the message may have been taken.
    if (dataSent && impl_->finalReply.isEmpty()) return {SendOutcome::Unknown, fault, true};
    // The server answered this message with a refusal (4xx or 5xx after MAIL FROM): the next may go.
    const int replyCode = impl_->lastReplyCode();
    if (!isSessionFault(code) && started && replyCode >= 400 && replyCode < 600) {
        impl_->healthy = true;
        return {SendOutcome::Refused, reply, true};
    }
    return {SendOutcome::Broken, fault, started};
}

}  // namespace slp::mail
