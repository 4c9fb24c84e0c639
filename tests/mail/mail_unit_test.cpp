// The pieces of the electronic slips without a server: headers and templates, the password rule and
// addresses, the settings, the password file, the encryption, the send log and the run's bookkeeping.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimeZone>
#include <thread>

#include "basic/clock.h"
#include "basic/error.h"
#include "data/database.h"
#include "mail/mail_settings.h"
#include "mail/mime_message.h"
#include "mail/recipients.h"
#include "mail/secret_file.h"
#include "mail/send_log.h"
#include "mail/slip_mailing.h"
#include "mail/worker_pool.h"
#include "pdf_unlock.h"
#include "print/page.h"
#include "print/pdf/pdf_encryption.h"
#include "print/pdf_spool_printer.h"
#include "settings/store.h"

using namespace Qt::StringLiterals;
using namespace slp::mail;
using slp_test::decryptPdf;
using slp_test::pdfOpensWith;

namespace {

// The text of RFC 2047 words joined again (each word decoded by itself, as a reader does).
QString decodeWords(const QByteArray& header) {
    QByteArray bytes;
    for (QByteArray word : header.split(' ')) {
        word = word.trimmed();
        EXPECT_TRUE(word.startsWith("=?UTF-8?B?") && word.endsWith("?=")) << word.constData();
        EXPECT_LE(word.size(), 75);
        bytes += QByteArray::fromBase64(word.mid(10, word.size() - 12));
        EXPECT_FALSE(QString::fromUtf8(QByteArray::fromBase64(word.mid(10, word.size() - 12)))
                         .contains(QChar::ReplacementCharacter));
    }
    return QString::fromUtf8(bytes);
}

TEST(MailHeaders, ChineseTextBecomesEncodedWordsAndAsciiStays) {
    EXPECT_EQ(encodeHeaderText(u"April slips"_s), "April slips");
    EXPECT_TRUE(encodeHeaderText(u"a =?x?= b"_s).startsWith("=?UTF-8?B?"));
    for (const QString& text : {u"2000年4月工资条"_s, u"王 芳"_s, QString(40, QChar(u'薪')) + u"𠀀末"_s}) {
        QByteArray encoded = encodeHeaderText(text);
        EXPECT_EQ(decodeWords(encoded.replace("\r\n", "")), text);
    }
    EXPECT_EQ(encodeMailbox({u"李娜"_s, u"a@example.com"_s}), "=?UTF-8?B?5p2O5aic?= <a@example.com>");
    EXPECT_EQ(encodeMailbox({QString(), u"a@example.com"_s}), "a@example.com");
}

TEST(MailHeaders, MailboxesTemplatesAndAttachmentNames) {
    const struct {
        QString text, name, address;
    } boxes[] = {{u"工资组 <pay@example.com>"_s, u"工资组"_s, u"pay@example.com"_s},
                 {u"\"工资 组\" <pay@example.com>"_s, u"工资 组"_s, u"pay@example.com"_s},
                 {u" pay@example.com "_s, QString(), u"pay@example.com"_s}};
    for (const auto& b : boxes) {
        EXPECT_EQ(parseMailbox(b.text).name, b.name);
        EXPECT_EQ(parseMailbox(b.text).address, b.address);
    }
    const TemplateValues values{{u"年"_s, u"2000"_s}, {u"月"_s, u"4"_s}, {u"姓名"_s, u"李娜"_s}};
    EXPECT_EQ(expandTemplate(defaultSubjectTemplate(), values), u"2000年4月工资条"_s);
    EXPECT_EQ(expandTemplate(u"{姓名}{未知}{年"_s, values), u"李娜{未知}{年"_s);
    EXPECT_EQ(attachmentName(u"2000-4"_s, 1234), u"工资条_200004_001234.pdf"_s);
    EXPECT_TRUE(newMessageId(u"pay@例子.cn"_s).endsWith("@xn--fsqu00a.cn"));
    EXPECT_NE(newMessageId(u"pay@example.com"_s), newMessageId(u"pay@example.com"_s));
}

TEST(MailHeaders, MessageHasOneAttachmentAndShortCrlfLines) {
    SlipMessage m{{u"工资组"_s, u"pay@example.com"_s},
                  {u"李娜"_s, u"li@example.com"_s},
                  u"2000年4月工资条"_s,
                  u"您好\n附件"_s,
                  u"工资条_200004_000001.pdf"_s,
                  QByteArray(5000, 'x'),
                  "id@example.com",
                  QDateTime(QDate(2000, 4, 25), QTime(9, 0), QTimeZone(8 * 3600))};
    const QByteArray text = buildMessage(m);
    EXPECT_TRUE(text.contains("Date: Tue, 25 Apr 2000 09:00:00 +0800\r\n"));
    EXPECT_TRUE(text.contains("filename*=UTF-8''%E5%B7%A5%E8%B5%84%E6%9D%A1_200004_000001.pdf"));
    EXPECT_EQ(text.count("Content-Disposition: attachment"), 1);
    for (const QByteArray& line : text.split('\n')) {
        EXPECT_LE(line.size(), 78);
        if (!line.isEmpty()) {
            EXPECT_TRUE(line.endsWith('\r'));
        }
    }
}

TEST(PasswordRule, TakesTheColumnOrItsLastCharacters) {
    const EmployeeFields row{
        {u"工号"_s, u" 0007 "_s}, {u"身份证号"_s, u"11010519491231002X"_s}, {u"空"_s, u"  "_s}};
    const struct {
        PasswordRule rule;
        QString password;
    } cases[] = {{{u"工号"_s, 0}, u"0007"_s},
                 {{u"身份证号"_s, 6}, u"31002X"_s},
                 {{u"工号"_s, 6}, u"0007"_s},
                 {{u"空"_s, 0}, QString()},
                 {{u"没有"_s, 4}, QString()}};
    for (const auto& c : cases)
        EXPECT_EQ(slipPassword(row, c.rule), c.password) << c.rule.column.toStdString();
    EXPECT_EQ(describePasswordRule({u"身份证号"_s, 6}), u"身份证号的后6位"_s);
    EXPECT_EQ(describePasswordRule({u"工号"_s, 0}), u"工号"_s);
}

TEST(Addresses, OnlyPlainAddressesCount) {
    for (const QString& good : {u"a@example.com"_s, u"li.na+4@例子.cn"_s}) EXPECT_TRUE(isMailAddress(good));
    for (const QString& bad :
         {u""_s, u"a"_s, u"@x"_s, u"a@"_s, u"a@b@c"_s, u"a b@c"_s, u"<a@b>"_s, u"a@b,c@d"_s}) {
        EXPECT_FALSE(isMailAddress(bad)) << bad.toStdString();
    }
    EXPECT_EQ(employeeAddress({{u"电子邮件"_s, u" a@example.com "_s}}, u"电子邮件"_s), u"a@example.com"_s);
    EXPECT_EQ(employeeAddress({{u"电子邮件"_s, u"无"_s}}, u"电子邮件"_s), QString());
}

TEST(MailSettingsStore, RoundTripAndServerUrls) {
    QTemporaryDir dir;
    slp::settings::Store store(dir.path());
    const MailSettings defaults = loadMailSettings(store, u"0101"_s);
    EXPECT_EQ(defaults.subject, defaultSubjectTemplate());
    EXPECT_EQ(defaults.body, defaultBodyTemplate());
    EXPECT_EQ(defaults.password, PasswordRule{});
    MailSettings s = defaults;
    s.server = u"mail.example.com:2525"_s;
    s.security = Security::None;
    s.body = u"第一行\n第二行 \\ 完"_s;
    s.password = {u"身份证号"_s, 6};
    s.messagesPerMinute = 30;
    saveMailSettings(store, u"0101"_s, s);
    EXPECT_EQ(loadMailSettings(store, u"0101"_s), s);
    EXPECT_EQ(serverUrl(s), u"smtp://mail.example.com:2525"_s);
    const struct {
        QString url;
        bool ok;
        QString server;
        Security security;
    } urls[] = {{u"smtps://m.example.com"_s, true, u"m.example.com"_s, Security::Tls},
                {u"smtp://127.0.0.1:8025"_s, true, u"127.0.0.1:8025"_s, Security::None},
                {u"http://m.example.com"_s, false, QString(), Security::None},
                {u"smtp://"_s, false, QString(), Security::None}};
    for (const auto& u : urls) {
        MailSettings t = s;
        ASSERT_EQ(applyServerUrl(u.url, t), u.ok) << u.url.toStdString();
        if (!u.ok) continue;
        EXPECT_EQ(t.server, u.server);
        EXPECT_EQ(t.security, u.security);
    }
    MailSettings t;
    EXPECT_TRUE(applyServerUrl(u"smtp://m.example.com"_s, t));
    EXPECT_EQ(serverUrl(t), u"smtp://m.example.com:587"_s);
}

TEST(PasswordFile, ReadOnlyWhenOnlyTheOwnerMayReadIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"pw"_s);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("口令 1\r\nsecond line\n");
    f.close();
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0600), 0);
    EXPECT_EQ(readPasswordFile(path), u"口令 1"_s);
    for (const mode_t mode : {0640, 0604, 0660}) {
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
        try {
            readPasswordFile(path);
            ADD_FAILURE() << "read with mode " << mode;
        } catch (const slp::Error& e) {
            EXPECT_EQ(e.number(), slp::errnum::PermissionDenied);
            EXPECT_TRUE(e.description().contains(u"0600"_s));
            EXPECT_FALSE(e.description().contains(u"口令"_s));
        }
    }
    try {
        readPasswordFile(dir.filePath(u"missing"_s));
        ADD_FAILURE();
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), slp::errnum::FileNotFound);
    }
    EXPECT_EQ(defaultPasswordFile(u"/c"_s), u"/c/smtp-password"_s);
}

// A small PDF of our own writer, opening only with `password`.
QByteArray samplePdf(const QString& folder, const QString& password) {
    auto printer = slp::print::PdfSpoolPrinter::oneFile(folder + u"/s.pdf"_s);
    printer->encryptNextFile(std::make_shared<const slp::print::pdf::PdfEncryption>(password.toUtf8()));
    slp::print::Page page;
    page.size = QSizeF(11906, 16838);
    page.lines.push_back({QLineF(1440, 1440, 5000, 1440), 1});
    printer->printPage(page);
    printer->endDoc();
    printer->finishFile();
    QFile f(folder + u"/s.pdf"_s);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

// What poppler's pdfinfo says of the file with a password: its output, or empty when it did not open.
QString popplerInfo(const QString& path, const QString& password) {
    QProcess p;
    p.start(u"pdfinfo"_s, {u"-upw"_s, password, path});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(SlipEncryption, OpensWithThePasswordOnlyInTwoReaders) {
    QTemporaryDir dir;
    // Only the first 127 bytes of a password count, in every reader.
    for (const QString& password : {u"0007"_s, u"口令-中文"_s, QString(140, u'9')}) {
        SCOPED_TRACE(password.toStdString());
        const QByteArray locked = samplePdf(dir.path(), password);
        ASSERT_TRUE(locked.startsWith("%PDF-1.7"));
        EXPECT_TRUE(locked.contains("/V 5/R 6"));
        const QString wrong = u"1"_s + password.mid(1);
        EXPECT_TRUE(pdfOpensWith(locked, password));
        EXPECT_FALSE(pdfOpensWith(locked, wrong));
        EXPECT_FALSE(pdfOpensWith(locked, QString()));
        EXPECT_FALSE(decryptPdf(locked, password).contains("/Encrypt"));
        // The document information's strings come out as they went in (pdfinfo takes passwords of up
        // to 32 bytes).
        if (password.size() > 32) continue;
        EXPECT_TRUE(popplerInfo(dir.filePath(u"s.pdf"_s), password).contains(u"Title:           s.pdf"_s));
        EXPECT_TRUE(popplerInfo(dir.filePath(u"s.pdf"_s), wrong).isEmpty());
    }
    EXPECT_THROW(slp::print::pdf::PdfEncryption{QByteArray()}, slp::Error);
}

TEST(SendLog, CreatedWhenMissingAndReadPerEmployee) {
    slp::data::Database db(u"sqlite::memory:"_s);
    EXPECT_TRUE(readSendLog(db, u"2000-04"_s).isEmpty());
    recordSend(db, {u"2000-04"_s, u"0001"_s, u"a@x"_s, u"t1"_s, kResultFailed, u"451 later"_s, QString(),
                    QString()});
    recordSend(db,
               {u"2000-04"_s, u"0001"_s, u"a@x"_s, u"t2"_s, kResultSent, u"250 OK"_s, u"id1"_s, QString()});
    recordSend(
        db, {u"2000-04"_s, u"0001"_s, u"a@x"_s, u"t3"_s, kResultFailed, u"550 no"_s, QString(), QString()});
    recordSend(
        db, {u"2000-04"_s, u"0002"_s, u"b@x"_s, u"t4"_s, kResultFailed, u"550 no"_s, QString(), QString()});
    recordSend(db, {u"2000-05"_s, u"0003"_s, u"c@x"_s, u"t5"_s, kResultSent, u"250"_s, u"id3"_s, QString()});
    EXPECT_FALSE(ensureSendLog(db));
    const QList<LogEntry> rows = readSendLog(db, u"2000-04"_s);
    ASSERT_EQ(rows.size(), 4);
    const auto latest = latestByEmployee(rows);
    EXPECT_EQ(latest.value(u"0001"_s).result, kResultSent);
    EXPECT_EQ(latest.value(u"0001"_s).messageId, u"id1"_s);
    EXPECT_EQ(latest.value(u"0002"_s).reply, u"550 no"_s);
    EXPECT_FALSE(latest.contains(u"0003"_s));
}

// What the log says per 工号 at the fixed time of these tests.
QHash<QString, LoggedEmployee> states(const QList<LogEntry>& rows, const QString& resendSince = QString()) {
    return loggedStates(rows, u"2000-04-25 09:00:00"_s, resendSince);
}

// A transport that answers from a script and keeps what it was given.
class ScriptedTransport : public MailTransport {
  public:
    SendOutcome send(const QString&, const QString& to, const QByteArray& message) override {
        sentTo << to;
        messages << message;
        return answers.value(to, {SendOutcome::Accepted, u"250 OK"_s});
    }
    QHash<QString, SendOutcome> answers;
    QStringList sentTo;
    QList<QByteArray> messages;
};

TEST(SlipRun, SendsTheDueOnesLogsEachAndStopsWhenTheConnectionBreaks) {
    QTemporaryDir dir;
    const QByteArray pdf = samplePdf(dir.path(), u"1"_s);
    std::vector<Recipient> people{
        {1, u"1"_s, u"甲"_s, u"a@x"_s, u"1"_s, {}, {}},    {2, u"2"_s, u"乙"_s, QString(), u"2"_s, {}, {}},
        {3, u"3"_s, u"丙"_s, u"c@x"_s, QString(), {}, {}}, {4, u"4"_s, u"丁"_s, u"d@x"_s, u"4"_s, {}, {}},
        {5, u"5"_s, u"戊"_s, u"e@x"_s, u"5"_s, {}, {}},    {6, u"6"_s, u"己"_s, u"f@x"_s, u"6"_s, {}, {}}};
    const auto log =
        states({{u"2000-04"_s, u"6"_s, u"f@x"_s, u"t"_s, kResultSent, u"250"_s, u"i"_s, QString()}});
    SlipMailing run(people, log, {});
    ScriptedTransport transport;
    transport.answers.insert(u"d@x"_s, {SendOutcome::Refused, u"550 5.1.1 unknown"_s});
    transport.answers.insert(u"e@x"_s, {SendOutcome::Broken, u"Connection died"_s, true});
    slp::data::Database db(u"sqlite::memory:"_s);
    SendLog sendLog(db, u"2000-04"_s, u"run1"_s);
    sendLog.prepare();
    const slp::FixedClock clock(QDateTime(QDate(2000, 4, 25), QTime(9, 0)));
    MailSettings settings;
    settings.from = u"工资组 <pay@example.com>"_s;
    const SlipPdfMaker slip{[](const QString&) { return std::make_shared<int>(1); },
                            [&](const Recipient&, const SlipSeal&) { return pdf; }};
    EXPECT_EQ(run.dueCount(), 3);
    while (run.sendNext(settings, {u"2000-04"_s, u"厂"_s}, slip, transport, &sendLog, clock) >= 0) {
    }
    EXPECT_EQ(transport.sentTo, (QStringList{u"a@x"_s, u"d@x"_s, u"e@x"_s}));
    EXPECT_TRUE(run.stopped());
    EXPECT_EQ(run.stopReason(), u"Connection died"_s);
    const SlipStatus expected[] = {SlipStatus::Sent,   SlipStatus::NoAddress, SlipStatus::NoPassword,
                                   SlipStatus::Failed, SlipStatus::Failed,    SlipStatus::Sent};
    for (size_t i = 0; i < people.size(); ++i) EXPECT_EQ(run.entries()[i].status, expected[i]) << i;
    EXPECT_EQ(summaryText(run.summary()),
              u"本次：已发送1人，失败2人，未尝试0人\n"
              u"本月：已发送2人，失败2人，未发送0人，无地址1人，无密码1人"_s);
    const QList<LogEntry> rows = readSendLog(db, u"2000-04"_s);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].result, kResultSent);
    EXPECT_EQ(rows[0].time, u"2000-04-25 09:00:00"_s);
    EXPECT_FALSE(rows[0].messageId.isEmpty());
    EXPECT_TRUE(transport.messages[0].contains(rows[0].messageId.toUtf8()));
    EXPECT_EQ(rows[1].reply, u"550 5.1.1 unknown"_s);

    // Again from the database's log (which knows nothing of 6): the two that failed and 6; with
    // --resend the one sent as well; --only narrows.
    EXPECT_EQ(SlipMailing(people, states(rows), {}).dueCount(), 3);
    EXPECT_EQ(SlipMailing(people, states(rows, u"2000-04-25 09:00:01"_s), {true, {}, 0, {}}).dueCount(), 4);
    EXPECT_EQ(SlipMailing(people, states(rows), {false, {u"4"_s, u"1"_s}, 0, {}}).dueCount(), 1);
}

// Made ahead on two workers: each slip printed on the calling thread, the messages sent in the list's
// order, a slip that cannot be made fails alone, and nothing after a broken connection is sent or logged.
TEST(SlipRun, MadeAheadOnWorkersAndSentInOrder) {
    QTemporaryDir dir;
    const QByteArray pdf = samplePdf(dir.path(), u"1"_s);
    std::vector<Recipient> people;
    for (int i = 1; i <= 20; ++i) {
        const QString n = QString::number(i);
        people.push_back({i, n, u"员工"_s + n, i == 7 ? QString() : n + u"@x"_s, n, {}, {}});
    }
    SlipMailing run(people, {}, {});
    run.setPrepareThreads(2);
    ScriptedTransport transport;
    transport.answers.insert(u"15@x"_s, {SendOutcome::Broken, u"Connection died"_s, true});
    slp::data::Database db(u"sqlite::memory:"_s);
    SendLog sendLog(db, u"2000-04"_s, u"run1"_s);
    sendLog.prepare();
    const slp::FixedClock clock(QDateTime(QDate(2000, 4, 25), QTime(9, 0)));
    MailSettings settings;
    settings.from = u"工资组 <pay@example.com>"_s;
    const std::thread::id caller = std::this_thread::get_id();
    QStringList printed;
    // Sealed on the workers, each slip with its own recipient's seal.
    const auto seal = [&](const QString& password) {
        EXPECT_NE(std::this_thread::get_id(), caller);
        return std::make_shared<const QString>(password);
    };
    const SlipPdfMaker slip{seal, [&](const Recipient& r, const SlipSeal& sealed) {
                                EXPECT_EQ(*std::static_pointer_cast<const QString>(sealed), r.password);
                                EXPECT_EQ(std::this_thread::get_id(), caller);
                                printed << r.number;
                                if (r.number == u"3"_s)
                                    throw slp::Error(slp::errnum::DeviceIo, u"工资条未能打印"_s);
                                return pdf;
                            }};
    while (run.sendNext(settings, {u"2000-04"_s, u"厂"_s}, slip, transport, &sendLog, clock) >= 0) {
    }
    QStringList expected;
    for (int i = 1; i <= 15; ++i) {
        if (i != 3 && i != 7) expected << QString::number(i) + u"@x"_s;
    }
    EXPECT_EQ(transport.sentTo, expected);
    for (qsizetype i = 0; i < transport.messages.size(); ++i) {
        const QByteArray number = transport.sentTo[i].section(u'@', 0, 0).toUtf8();
        EXPECT_FALSE(transport.messages[i].contains("slip." + number.toHex() + '.')) << i;
        EXPECT_TRUE(transport.messages[i].contains("Message-ID: <slip.")) << i;
    }
    EXPECT_EQ(printed.mid(0, 15),
              (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"8"_s, u"9"_s, u"10"_s, u"11"_s,
                           u"12"_s, u"13"_s, u"14"_s, u"15"_s, u"16"_s}));
    EXPECT_EQ(run.entries()[2].status, SlipStatus::Failed);
    EXPECT_EQ(run.entries()[2].reply, u"工资条未能打印"_s);
    EXPECT_EQ(run.entries()[15].status, SlipStatus::Due);
    const QList<LogEntry> rows = readSendLog(db, u"2000-04"_s);
    ASSERT_EQ(rows.size(), 14);
    EXPECT_EQ(rows.last().number, u"15"_s);
    EXPECT_EQ(SlipMailing(people, states(rows), {}).dueCount(), 7);
}

TEST(WorkerPool, ResultsAndFaultsThroughTheFutures) {
    WorkerPool pool(2);
    EXPECT_EQ(pool.threadCount(), 2);
    std::vector<std::future<int>> results;
    for (int i = 0; i < 50; ++i) results.push_back(pool.run([i] { return i * i; }));
    auto fault = pool.run([]() -> int { throw slp::Error(1, u"坏"_s); });
    for (int i = 0; i < 50; ++i) EXPECT_EQ(results[size_t(i)].get(), i * i);
    EXPECT_THROW(fault.get(), slp::Error);
    EXPECT_GE(WorkerPool::defaultThreadCount(), 1);
}

}  // namespace
