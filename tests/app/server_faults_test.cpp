// A server database that never answers, and passwords: a listener on the loopback address that takes
// the connection and says nothing ends the command by the default connect timeout, and the password of
// a URL is in no message and no output.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTemporaryDir>

#include "slpayprn_cli.h"

using namespace Qt::StringLiterals;

namespace {

// A socket listening on 127.0.0.1: the system completes every connection to it; nothing is ever read
// or written.
class SilentListener {
  public:
    SilentListener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(fd_, 16) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        port_ = ntohs(address.sin_port);
    }
    ~SilentListener() {
        if (fd_ >= 0) ::close(fd_);
    }
    int port() const { return port_; }

  private:
    int fd_ = -1;
    int port_ = 0;
};

TEST(ServerFaults, ASilentServerEndsTheCommandAndNoPasswordIsShown) {
    SilentListener listener;
    ASSERT_NE(listener.port(), 0);
    const QString at = u"127.0.0.1:"_s + QString::number(listener.port());
    QTemporaryDir home;
    const struct {
        QStringList args;
        QString message;  // part of what stderr says
    } cases[] = {
        {{u"--db"_s, u"postgresql://clerk:s3cr3t@"_s + at + u"/wages"_s, u"grid"_s, u"employee"_s},
         u"timeout"_s},
        {{u"demo-db"_s, u"postgresql://slp:s3cr3t@"_s + at + u"/wages"_s}, u"timeout"_s},
        {{u"--db"_s, u"postgresql://clerk@"_s + at + u"/wages?password=s3cr3t"_s, u"grid"_s, u"employee"_s},
         u"timeout"_s},
        {{u"--db"_s, u"postgresql://clerk:s3cr3t@[::1/wages"_s, u"grid"_s, u"employee"_s},
         u"无法识别的数据库连接: postgresql://clerk:***@[::1/wages"_s},
        {{u"--db"_s, u"postgresql://clerk:s3/cr@t@%%/wages"_s, u"grid"_s, u"employee"_s},
         u"无法识别的数据库连接: postgresql://clerk:***@%%/wages"_s},
    };
    for (const auto& c : cases) {
        const slp_test::CliResult r = slp_test::runSlpayprn(c.args, home.path(), 120000);
        const std::string name = c.args.join(u' ').toStdString();
        EXPECT_EQ(r.code, 1) << name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << name << ": " << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(u"s3"_s) || r.out.contains(u"s3"_s))
            << name << ": " << r.err.toStdString();
    }
}

}  // namespace
