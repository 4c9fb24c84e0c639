// "slpayprn mail slips" against the loopback SMTP server: --dry-run sends nothing, a run sends each
// employee with an address their slip (the page "print slips --per-employee" writes), a second run
// sends nothing, a refused recipient and a password file others may read end in status 1.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "pdf_unlock.h"
#include "slpayprn_cli.h"
#include "smtp_test_server.h"

using namespace Qt::StringLiterals;

namespace {

class MailCli : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        db = home.filePath(u"w.db"_s);
        ASSERT_EQ(run({u"demo-db"_s, db, u"--employees"_s, u"14"_s}).code, 0);
    }
    slp_test::CliResult run(const QStringList& args) {
        return slp_test::runSlpayprn(QStringList{u"--db"_s, db} + args, home.path());
    }
    QStringList serverArgs(const QString& passwordFile) const {
        return {u"mail"_s,
                u"slips"_s,
                u"--smtp"_s,
                server.url(),
                u"--user"_s,
                u"payroll"_s,
                u"--ca-file"_s,
                server.caFile(),
                u"--from"_s,
                u"工资组 <payroll@example.com>"_s,
                u"--password-file"_s,
                passwordFile};
    }

    QTemporaryDir home;
    QString db;
    slp_test::SmtpTestServer server;
};

TEST_F(MailCli, DryRunListsAndSendsNothing) {
    if (!server.start()) GTEST_SKIP() << server.why().toStdString();
    const auto r = run(serverArgs(server.passwordFile()) << u"--dry-run"_s);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"0002\t李娜\temp0002@example.com\t将发送\t2000年4月工资条\t工资条_200004_"_s))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"0006\t"_s) && r.out.contains(u"\t无地址\t"_s));
    EXPECT_TRUE(r.out.endsWith(u"将发送13人，已发送0人，无地址1人（未发送任何邮件）\n"_s))
        << r.out.toStdString();
    EXPECT_TRUE(server.received().empty());
}

TEST_F(MailCli, SendsEachSlipOnceAndTheSlipIsThePrintedOne) {
    if (!server.start()) GTEST_SKIP() << server.why().toStdString();
    const auto r = run(serverArgs(server.passwordFile()));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
              u"本次：已发送13人，失败0人，未尝试0人\n本月：已发送13人，失败0人，未发送0人，无地址1人\n"_s);
    EXPECT_FALSE(r.err.contains(QString::fromUtf8(slp_test::SmtpTestServer::kPassword)));
    const auto mails = server.received();
    ASSERT_EQ(mails.size(), 13u);
    // 李娜's attachment, opened with the 工号, reads as the file print slips --per-employee
    // writes.
    const QString dir = home.filePath(u"each"_s);
    ASSERT_EQ(run({u"print"_s, u"slips"_s, u"--per-employee"_s, dir}).code, 0);
    const QString printed = [&] {
        QFile f(QDir(dir).filePath(u"0002_李娜.pdf"_s));
        return f.open(QIODevice::ReadOnly) ? slp_test::pdfText(f.readAll()) : QString();
    }();
    const auto first = std::find_if(mails.begin(), mails.end(), [](const auto& m) {
        return m.info[u"to_address"_s].toString() == u"emp0002@example.com"_s;
    });
    ASSERT_NE(first, mails.end());
    ASSERT_EQ(first->attachments.size(), 1u);
    EXPECT_FALSE(printed.isEmpty());
    EXPECT_EQ(slp_test::pdfText(slp_test::decryptPdf(first->attachments[0], u"0002"_s)), printed);

    const auto again = run(serverArgs(server.passwordFile()));
    EXPECT_EQ(again.code, 0);
    EXPECT_EQ(again.out,
              u"本次：已发送0人，失败0人，未尝试0人\n本月：已发送13人，失败0人，未发送0人，无地址1人\n"_s);
    EXPECT_EQ(server.received().size(), 13u);
    const auto only = run(serverArgs(server.passwordFile()) << u"--only"_s << u"0002"_s << u"--resend"_s);
    EXPECT_EQ(only.code, 0);
    EXPECT_EQ(server.received().size(), 14u);
    EXPECT_EQ(run(serverArgs(server.passwordFile()) << u"--only"_s << u"9999"_s).code, 2);
}

TEST_F(MailCli, RefusalsAndUnsafePasswordFilesEndInStatusOne) {
    if (!server.start({{u"emp0003@example.com"_s}, 0, false, 0, 0, 0}))
        GTEST_SKIP() << server.why().toStdString();
    const QString file = server.passwordFile();
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0644), 0);
    const auto unsafe = run(serverArgs(file));
    EXPECT_EQ(unsafe.code, 1);
    EXPECT_TRUE(unsafe.err.contains(u"0600"_s)) << unsafe.err.toStdString();
    EXPECT_TRUE(server.received().empty());
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0600), 0);
    const auto refused = run(serverArgs(file));
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.out,
              u"本次：已发送12人，失败1人，未尝试0人\n本月：已发送12人，失败1人，未发送0人，无地址1人\n"_s);
    EXPECT_TRUE(refused.err.contains(u"0003"_s) && refused.err.contains(u"550"_s))
        << refused.err.toStdString();
    EXPECT_EQ(run({u"mail"_s, u"slips"_s, u"--smtp"_s, u"http://x"_s}).code, 2);
}

}  // namespace
