// Only to the owner: addresses that are exactly one address, the sender checked before anything goes,
// display names that stay one name however they are spelt, and a 工号 shared by two employees.
#include <gtest/gtest.h>

#include <QProcess>

#include "mail/address.h"
#include "mail/mime_message.h"
#include "mail/recipients.h"
#include "mail/slip_mailing.h"

using namespace Qt::StringLiterals;
using namespace slp::mail;

namespace {

TEST(OneAddress, AcceptedOrRefusedWithTheReason) {
    const struct {
        QString text;
        bool ok;
        QString why;  // part of the reason given
    } cases[] = {
        {u"a@example.com"_s, true, {}},
        {u" li.na+4@例子.cn "_s, true, {}},
        {u"o'brien@example.com"_s, true, {}},
        {u"a@example.com; b@example.com"_s, false, u"不是一个地址"_s},
        {u"李四 <li.si@example.com>"_s, false, u"不是一个地址"_s},
        {u"hr@exa mple.com"_s, false, u"空白"_s},
        {u"nobody"_s, false, u"“@”"_s},
        {u"a>, b"_s, false, u"不是一个地址"_s},
        {u"a@b@example.com"_s, false, u"“@”"_s},
        {u"a..b@example.com"_s, false, u"“.”"_s},
        {u"a@-x.example.com"_s, false, u"域名"_s},
        {u"a@localhost"_s, false, u"不完整"_s},
        {u"张三@example.com"_s, false, u"不能用的字符"_s},
        {u"a@example.com\r\nRCPT TO:<b@example.com>"_s, false, u"控制字符"_s},
    };
    for (const auto& c : cases) {
        QString why;
        const QString address = checkAddress(c.text, &why);
        EXPECT_EQ(!address.isEmpty(), c.ok) << c.text.toStdString();
        if (c.ok) {
            EXPECT_EQ(address, c.text.trimmed());
        } else {
            EXPECT_TRUE(why.contains(c.why)) << c.text.toStdString() << " → " << why.toStdString();
        }
    }
    EXPECT_EQ(wireAddress(u"li.na@例子.cn"_s), u"li.na@xn--fsqu00a.cn"_s);
    // An employee's column: none is 无地址, something else is refused with the reason.
    QString fault;
    EXPECT_EQ(employeeAddress({{u"电子邮件"_s, u"  "_s}}, u"电子邮件"_s, &fault), QString());
    EXPECT_TRUE(fault.isEmpty());
    EXPECT_EQ(employeeAddress({{u"电子邮件"_s, u"a@x.com, b@x.com"_s}}, u"电子邮件"_s, &fault), QString());
    EXPECT_FALSE(fault.isEmpty());
}

TEST(OneAddress, TheSenderIsOneMailboxWithoutLineBreaks) {
    const struct {
        QString text;
        bool ok;
        QString name, address;
    } cases[] = {
        {u"工资组 <payroll@example.com>"_s, true, u"工资组"_s, u"payroll@example.com"_s},
        {u"\"Pay, Roll\" <p@example.com>"_s, true, u"Pay, Roll"_s, u"p@example.com"_s},
        {u"p@example.com"_s, true, QString(), u"p@example.com"_s},
        {u"p@example.com\r\nRCPT TO:<x@evil.example>"_s, false, {}, {}},
        {u"hr@exa mple.com"_s, false, {}, {}},
        {u"nobody"_s, false, {}, {}},
        {u"a>, b"_s, false, {}, {}},
        {u"x <a@example.com>, y <b@example.com>"_s, false, {}, {}},
    };
    for (const auto& c : cases) {
        QString why;
        const auto box = parseSender(c.text, &why);
        ASSERT_EQ(box.has_value(), c.ok) << c.text.toStdString();
        if (!box) {
            EXPECT_FALSE(why.isEmpty());
            continue;
        }
        EXPECT_EQ(box->name, c.name);
        EXPECT_EQ(box->address, c.address);
    }
}

// What Python's email package reads of a To header: how many addresses, the first one's name.
QStringList readToHeader(const QByteArray& header) {
    QProcess p;
    p.start(u"/usr/bin/python3"_s,
            {u"-c"_s,
             u"import email, email.policy, sys\n"
             u"m = email.message_from_bytes(sys.stdin.buffer.read(), policy=email.policy.default)\n"
             u"a = m['to'].addresses\n"
             u"sys.stdout.write('%d\\n%s\\n%s' % (len(a), a[0].display_name, a[0].addr_spec))"_s});
    p.write("To: " + header + "\r\nSubject: x\r\n\r\nbody\r\n");
    p.closeWriteChannel();
    if (!p.waitForFinished(30000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput()).split(u'\n');
}

TEST(DisplayNames, StayOneNameHoweverTheyAreSpelt) {
    for (const QString& name : {u"Eve <evil@evil.example>, Mallory"_s, u"Smith, John"_s, u"O'Brien (HR)"_s,
                                u"Back\\slash \"quoted\""_s, u"王 芳"_s, u"李四, <x@y.example>"_s}) {
        const QByteArray header = encodeMailbox({name, u"owner@example.com"_s});
        EXPECT_FALSE(header.contains('\n'));
        const QStringList read = readToHeader(header);
        ASSERT_EQ(read.size(), 3) << header.constData();
        EXPECT_EQ(read[0], u"1"_s) << header.constData();
        EXPECT_EQ(read[1], name) << header.constData();
        EXPECT_EQ(read[2], u"owner@example.com"_s);
    }
    // A line break in a name never starts a header of its own.
    EXPECT_FALSE(encodeMailbox({u"a\r\nBcc: x@evil.example"_s, u"o@example.com"_s}).contains('\n'));
}

TEST(SharedNumbers, NobodyOfAShared工号IsMailed) {
    std::vector<Recipient> people{{1, u"0001"_s, u"甲"_s, u"a@x.com"_s, u"0001"_s, {}, {}},
                                  {2, u"0002"_s, u"乙"_s, u"b@x.com"_s, u"0002"_s, {}, {}},
                                  {3, u"0001"_s, u"丙"_s, u"c@x.com"_s, u"0001"_s, {}, {}},
                                  {4, u"0004"_s, u"丁"_s, QString(), u"0004"_s, u"“x”不是一个地址"_s, {}}};
    const SlipMailing run(people, {}, {});
    EXPECT_EQ(run.entries()[0].status, SlipStatus::Duplicate);
    EXPECT_EQ(run.entries()[1].status, SlipStatus::Due);
    EXPECT_EQ(run.entries()[2].status, SlipStatus::Duplicate);
    EXPECT_EQ(run.entries()[3].status, SlipStatus::BadAddress);
    EXPECT_EQ(run.dueCount(), 1);
    const RunSummary s = run.summary();
    EXPECT_EQ(s.duplicate, 2);
    EXPECT_EQ(s.badAddress, 1);
    EXPECT_FALSE(s.complete());
    EXPECT_TRUE(summaryText(s).endsWith(u"无地址0人，地址无效1人，工号重复2人"_s))
        << summaryText(s).toStdString();
}

}  // namespace
