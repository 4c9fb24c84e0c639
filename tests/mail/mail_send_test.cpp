// The electronic slips sent to a real SMTP server on loopback (aiosmtpd with STARTTLS and AUTH): what it
// received, decoded by Python's email package; a refused recipient; a dropped connection and the rerun.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QRegularExpression>
#include <QSet>

#include "app/employee_table/employee_table.h"
#include "app/slip_mail/slip_mail.h"
#include "basic/clock.h"
#include "basic/scripted_prompts.h"
#include "pdf_unlock.h"
#include "print/chinese_fonts.h"
#include "smtp_test_server.h"
#include "wage_fixture.h"

using namespace Qt::StringLiterals;
using slp::windows::slipmail::SlipMail;

namespace {

class MailSend : public ::testing::Test {
  protected:
    void SetUp() override {
        slp::print::registerChineseFontSubstitutes();
        w.writeDemo(30);
        slp::windows::employee::EmployeeTable table(w.host, w.store);
        slp::ScriptedPrompts prompts;
        table.beginOpening();
        ASSERT_TRUE(table.loadCatalogue(prompts));
        grid = *table.buildGrid(prompts);
    }
    bool startServer(const slp_test::SmtpServerOptions& options = {}) {
        if (!server.start(options)) return false;
        slp::mail::MailSettings s = slp::mail::loadMailSettings(w.store, w.host.unitCode);
        EXPECT_TRUE(slp::mail::applyServerUrl(server.url(), s));
        s.user = QString::fromUtf8(slp_test::SmtpTestServer::kUser);
        s.passwordFile = server.passwordFile();
        s.caFile = server.caFile();
        s.from = u"工资组 <payroll@example.com>"_s;
        slp::mail::saveMailSettings(w.store, w.host.unitCode, s);
        return true;
    }
    // A run of the window's logic over the whole month, as "发送" runs it.
    std::unique_ptr<SlipMail> sendAll() {
        auto logic = std::make_unique<SlipMail>(w.store, w.host, clock);
        logic->open(grid, 9);
        logic->beginSending(std::make_unique<slp::mail::SmtpClient>(logic->account()));
        while (logic->sendNext() >= 0) {
        }
        logic->endSending();
        return logic;
    }
    static int withAddress(const SlipMail& logic) {
        int n = 0;
        for (const auto& e : logic.mailing().entries()) n += !e.recipient.address.isEmpty();
        return n;
    }

    wage_test::WageDatabase w;
    slp::data::WageGrid grid;
    slp::FixedClock clock{QDateTime(QDate(2000, 4, 25), QTime(9, 0))};
    slp_test::SmtpTestServer server;
};

TEST_F(MailSend, EachEmployeeReceivesTheirOwnSlipLockedWithTheirPassword) {
    if (!startServer()) GTEST_SKIP() << server.why().toStdString();
    const auto logic = sendAll();
    const auto& entries = logic->mailing().entries();
    const int expected = withAddress(*logic);
    ASSERT_GT(expected, 20);
    ASSERT_LT(expected, int(entries.size()));  // a few have no address
    const auto mails = server.received();
    ASSERT_EQ(int(mails.size()), expected);
    EXPECT_EQ(logic->summaryText(),
              u"本次：已发送%1人，失败0人，未尝试0人\n本月：已发送%1人，失败0人，未发送0人，无地址%2人"_s
                  .arg(expected)
                  .arg(int(entries.size()) - expected));
    size_t m = 0;
    for (const auto& e : entries) {
        if (e.recipient.address.isEmpty()) {
            EXPECT_EQ(e.status, slp::mail::SlipStatus::NoAddress);
            continue;
        }
        ASSERT_LT(m, mails.size());
        const auto& mail = mails[m++];
        const QString number = e.recipient.number;
        EXPECT_TRUE(mail.info[u"tls"_s].toBool());
        EXPECT_TRUE(mail.info[u"authenticated"_s].toBool());
        EXPECT_EQ(mail.info[u"to_address"_s].toString(), e.recipient.address);
        EXPECT_EQ(mail.info[u"to_name"_s].toString(), e.recipient.name);
        EXPECT_EQ(mail.info[u"from_name"_s].toString(), u"工资组"_s);
        EXPECT_EQ(mail.info[u"subject"_s].toString(), u"2000年4月工资条"_s);
        EXPECT_TRUE(mail.info[u"body"_s].toString().contains(u"打开密码为您的工号"_s));
        const QJsonArray parts = mail.info[u"attachments"_s].toArray();
        ASSERT_EQ(parts.size(), 1);
        ASSERT_EQ(mail.attachments.size(), 1u);
        // Named by the month and a random part: the 工号 is nowhere in the headers.
        const QString filename = parts[0].toObject()[u"filename"_s].toString();
        EXPECT_TRUE(QRegularExpression(u"^工资条_200004_\\d{6}\\.pdf$"_s).match(filename).hasMatch())
            << filename.toStdString();
        // Every header but To, whose address is the employee's own.
        QByteArray head = mail.raw.left(mail.raw.indexOf("Content-Transfer-Encoding: base64"));
        const qsizetype to = head.indexOf("\r\nTo: ");
        head.remove(to, head.indexOf("\r\n", to + 2) - to);
        EXPECT_FALSE(head.contains(number.toUtf8()) || head.contains(number.toUtf8().toHex()) ||
                     head.contains(number.toUtf8().toBase64()))
            << head.constData();
        EXPECT_EQ(parts[0].toObject()[u"content_type"_s].toString(), u"application/pdf"_s);
        const QByteArray& pdf = mail.attachments[0];
        EXPECT_TRUE(slp_test::pdfOpensWith(pdf, number));
        EXPECT_FALSE(slp_test::pdfOpensWith(pdf, QString()));
        EXPECT_FALSE(slp_test::pdfOpensWith(pdf, number + u"0"_s));
        EXPECT_EQ(e.status, slp::mail::SlipStatus::Sent);
        EXPECT_TRUE(e.reply.startsWith(u"250"_s));
        // The text is that employee's slip, the page the slips print gives for them.
        if (m <= 3) {
            const QString text = slp_test::pdfText(slp_test::decryptPdf(pdf, number));
            EXPECT_TRUE(text.contains(number) && text.contains(e.recipient.name)) << text.toStdString();
            EXPECT_EQ(text, slp_test::pdfText(slp_test::decryptPdf(
                                logic->slipPdf(e.recipient, logic->sealFor(number)), number)));
        }
    }
    // The log says so, and the next run has nobody left to send to.
    const auto again = sendAll();
    EXPECT_EQ(server.received().size(), mails.size());
    EXPECT_EQ(again->summaryText(),
              logic->summaryText().replace(u"本次：已发送%1人"_s.arg(expected), u"本次：已发送0人"_s));
}

TEST_F(MailSend, ARefusedRecipientFailsWhileTheOthersGo) {
    slp::windows::slipmail::EmployeeGridRows rows(grid);
    const QString refused = u"emp"_s + rows.number(2).trimmed() + u"@example.com"_s;
    if (!startServer({{refused}, 0, false, 0, 0, 0})) GTEST_SKIP() << server.why().toStdString();
    const auto logic = sendAll();
    const auto& entries = logic->mailing().entries();
    EXPECT_EQ(entries[2].recipient.address, refused);
    EXPECT_EQ(entries[2].status, slp::mail::SlipStatus::Failed);
    EXPECT_TRUE(entries[2].reply.startsWith(u"550"_s)) << entries[2].reply.toStdString();
    EXPECT_EQ(entries[3].status, slp::mail::SlipStatus::Sent);
    EXPECT_EQ(int(server.received().size()), withAddress(*logic) - 1);
    EXPECT_FALSE(logic->mailing().stopped());
    const auto log = slp::mail::readSendLog(*w.db, u"2000-04"_s);
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const auto& r) { return r.result == slp::mail::kResultFailed; }),
              1);
}

TEST_F(MailSend, ADroppedConnectionThenARerunGiveEveryoneExactlyOneMessage) {
    if (!startServer({{}, 4, false, 0, 0, 0})) GTEST_SKIP() << server.why().toStdString();
    const auto first = sendAll();
    EXPECT_TRUE(first->mailing().stopped());
    EXPECT_FALSE(first->mailing().stopReason().isEmpty());
    EXPECT_EQ(server.received().size(), 3u);
    // The message under way when the connection dropped failed; nobody after it was counted.
    EXPECT_TRUE(first->summaryText().startsWith(
        u"本次：已发送3人，失败1人，未尝试%1人"_s.arg(withAddress(*first) - 4)))
        << first->summaryText().toStdString();
    const auto second = sendAll();
    EXPECT_FALSE(second->mailing().stopped());
    const auto mails = server.received();
    EXPECT_EQ(int(mails.size()), withAddress(*second));
    QSet<QString> to;
    for (const auto& mail : mails) to.insert(mail.info[u"to_address"_s].toString());
    EXPECT_EQ(to.size(), qsizetype(mails.size()));
    EXPECT_TRUE(
        second->summaryText().contains(u"本月：已发送%1人，失败0人，未发送0人"_s.arg(withAddress(*second))))
        << second->summaryText().toStdString();
}

}  // namespace
