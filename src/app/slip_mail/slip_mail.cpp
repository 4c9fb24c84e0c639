#include "app/slip_mail/slip_mail.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/employee_table/one_employee_slip.h"
#include "app/shared/host_database.h"
#include "basic/clock.h"
#include "basic/error.h"
#include "data/database.h"
#include "data/host_context.h"
#include "mail/address.h"
#include "mail/mime_message.h"
#include "mail/secret_file.h"
#include "mail/send_log.h"
#include "print/pdf/pdf_encryption.h"
#include "print/pdf_print_choice.h"
#include "print/pdf_spool_printer.h"
#include "settings/store.h"

using namespace Qt::StringLiterals;

namespace slp::windows::slipmail {

EmployeeGridRows::EmployeeGridRows(const data::WageGrid& grid)
    : grid_(grid),
      numberColumn_(employee::captionColumn(grid, u"工号"_s)),
      nameColumn_(employee::captionColumn(grid, u"姓名"_s)) {}

int EmployeeGridRows::employeeCount() const {
    return std::max(0, grid_.rows() - 2);
}
QString EmployeeGridRows::number(int index) const {
    return numberColumn_ >= 0 ? grid_.text(index + 1, numberColumn_) : QString();
}
QString EmployeeGridRows::name(int index) const {
    return nameColumn_ >= 0 ? grid_.text(index + 1, nameColumn_) : QString();
}

SlipMail::SlipMail(settings::Store& store, HostContext& host, const Clock& clock)
    : store_(store),
      host_(host),
      clock_(clock),
      mailing_(std::make_unique<mail::SlipMailing>(
          std::vector<mail::Recipient>{}, QHash<QString, mail::LoggedEmployee>{}, mail::RunOptions{})) {}

SlipMail::~SlipMail() = default;

void SlipMail::open(data::WageGrid grid, float printFontSize, const mail::RunOptions& options) {
    grid_ = std::move(grid);
    printFontSize_ = printFontSize;
    options_ = options;
    settings_ = mail::loadMailSettings(store_, host_.unitCode);
    fields_ = mail::readEmployeeFields(requireDatabase(host_), host_.monthKey());
    makeList();
}

void SlipMail::makeList() {
    const QString now = clock_.now().toString(u"yyyy-MM-dd HH:mm:ss"_s);
    const auto log = mail::loggedStates(mail::readSendLog(requireDatabase(host_), host_.monthKey()), now,
                                        options_.resend ? now : QString());
    mailing_ = std::make_unique<mail::SlipMailing>(
        mail::listRecipients(EmployeeGridRows(grid_), fields_, settings_), log, options_);
}

void SlipMail::setSettings(const mail::MailSettings& settings) {
    settings_ = settings;
    makeList();
}

void SlipMail::saveSettings() {
    mail::saveMailSettings(store_, host_.unitCode, settings_);
}

QStringList SlipMail::columnCaptions() {
    return {u"工号"_s, u"姓名"_s, u"电子邮件"_s, u"状态"_s, u"服务器回复"_s};
}

QStringList SlipMail::rowTexts(int index) const {
    const mail::SlipEntry& e = mailing_->entries().at(size_t(index));
    return {e.recipient.number, e.recipient.name, e.recipient.address, mail::statusText(e.status), e.reply};
}

mail::MonthInfo SlipMail::month() const {
    return {host_.monthKey(), host_.unitName};
}

namespace {
// Where the unencrypted slips lie for the moment between printing and encrypting: a folder in memory
// (the user's runtime folder or /dev/shm) where there is one, so they never reach a disk and their
// syncing costs nothing; else the temporary folder.
QString slipFolderTemplate() {
    QStringList places;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) places << runtime;
    places << u"/dev/shm"_s;
    for (const QString& place : places) {
        const QFileInfo info(place);
        if (info.isDir() && info.isWritable()) return QDir(place).filePath(u"slpayprn-slips-XXXXXX"_s);
    }
    return QDir::temp().filePath(u"slpayprn-slips-XXXXXX"_s);
}
}  // namespace

mail::SlipSeal SlipMail::sealFor(const QString& password) {
    if (password.isEmpty()) throw Error(mail::encryptionError, u"密码为空，工资条不能加密"_s);
    return std::make_shared<const print::pdf::PdfEncryption>(password.toUtf8());
}

QByteArray SlipMail::slipPdf(const mail::Recipient& recipient, const mail::SlipSeal& seal) {
    if (!slipFolder_) slipFolder_.emplace(slipFolderTemplate());
    if (!slipFolder_->isValid()) {
        throw Error(errnum::PathNotFound, u"无法建立临时文件夹（"_s + slipFolder_->errorString() + u"）"_s);
    }
    if (!seal) throw Error(mail::encryptionError, u"密码为空，工资条不能加密"_s);
    const QString path = slipFolder_->filePath(u"slip.pdf"_s);
    // On the paper "打印到PDF文件" remembers, as "print slips --per-employee" prints.
    const print::PdfPrintSetup paper = print::loadPdfPrintSetup(store_);
    auto printer = print::PdfSpoolPrinter::oneFile(path, paper.paper, paper.orientation);
    printer->encryptNextFile(std::static_pointer_cast<const print::pdf::PdfEncryption>(seal));
    const auto result = employee::printOneEmployeeSlip(grid_, recipient.gridRow, host_, store_, *printer,
                                                       printFontSize_, clock_);
    if (result.pagesPrinted == 0 || !printer->finishFile()) {
        throw Error(print::printerError,
                    result.messages.isEmpty() ? u"工资条未能打印"_s : result.messages.join(u'\n'));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw Error(errnum::FileNotFound, file.errorString());
    QByteArray bytes = file.readAll();
    file.close();
    QFile::remove(path);
    return bytes;
}

data::WageGrid SlipMail::slipGrid(int index) const {
    return employee::oneEmployeeGrid(grid_, mailing_->entries().at(size_t(index)).recipient.gridRow);
}

QString SlipMail::previewText(int index) {
    const mail::SlipEntry& e = mailing_->entries().at(size_t(index));
    const mail::Recipient& r = e.recipient;
    const mail::TemplateValues values = mail::templateValues(settings_, month(), r);
    QString text;
    text += u"发件人："_s + settings_.from + u'\n';
    text +=
        u"收件人："_s + (r.address.isEmpty() ? u"（无地址）"_s : r.name + u" <"_s + r.address + u'>') + u'\n';
    text += u"主题："_s + mail::expandTemplate(settings_.subject, values) + u'\n';
    text += u"附件："_s + mail::attachmentName(host_.monthKey(), mail::randomAttachmentPart());
    text += r.password.isEmpty()
                ? u"（密码为空，不能发送）"_s
                : u"（AES-256加密，密码为"_s + mail::describePasswordRule(settings_.password) + u"）"_s;
    text += u"\n\n"_s + mail::expandTemplate(settings_.body, values) + u'\n';
    return text;
}

mail::SmtpAccount SlipMail::account(const QString& passwordFile) const {
    if (settings_.server.trimmed().isEmpty()) throw Error(errnum::PathNotFound, u"未设置SMTP服务器"_s);
    if (settings_.from.trimmed().isEmpty()) throw Error(errnum::PathNotFound, u"未设置发件人"_s);
    QString fault;
    if (!mail::parseSender(settings_.from, &fault)) throw Error(errnum::PathNotFound, fault);
    mail::SmtpAccount a;
    a.url = mail::serverUrl(settings_);
    a.security = settings_.security;
    a.user = settings_.user;
    a.caFile = settings_.caFile;
    a.connectSeconds = settings_.connectSeconds;
    a.timeoutSeconds = settings_.replySeconds;
    if (!a.user.isEmpty()) {
        QString file = passwordFile;
        if (file.isEmpty()) file = settings_.passwordFile;
        if (file.isEmpty()) file = mail::defaultPasswordFile(store_.folder());
        a.password = mail::readPasswordFile(file);
        // An empty password would only be refused by the server, as if the login were wrong.
        if (a.password.isEmpty()) {
            throw Error(errnum::PermissionDenied,
                        u"密码文件“"_s + QDir::toNativeSeparators(file) + u"”的第一行是空的，未连接服务器"_s);
        }
    }
    return a;
}

void SlipMail::beginSending(std::unique_ptr<mail::MailTransport> transport) {
    runName_ = options_.runName.isEmpty() ? mail::newRunName() : options_.runName;
    const QString now = clock_.now().toString(u"yyyy-MM-dd HH:mm:ss"_s);
    log_ = std::make_unique<mail::SendLog>(requireDatabase(host_), host_.monthKey(), runName_,
                                           options_.resend ? now : QString());
    log_->prepare();
    makeList();
    transport_ = std::move(transport);
}

namespace {
mail::SlipPdfMaker slipMaker(SlipMail& logic) {
    return {SlipMail::sealFor, [&logic](const mail::Recipient& r, const mail::SlipSeal& seal) {
                return logic.slipPdf(r, seal);
            }};
}
}  // namespace

int SlipMail::sendNext() {
    if (!transport_) return -1;
    return mailing_->sendNext(settings_, month(), slipMaker(*this), *transport_, log_.get(), clock_);
}

mail::Outgoing SlipMail::beginNext() {
    if (!transport_) return {};
    return mailing_->beginNext(settings_, month(), slipMaker(*this), log_.get(), clock_);
}

int SlipMail::finishNext(const mail::Outgoing& outgoing, const mail::SendOutcome& outcome) {
    return mailing_->finishNext(outgoing, outcome, log_.get(), clock_);
}

void SlipMail::cancel() {
    mailing_->cancel();
}

void SlipMail::endSending() {
    transport_.reset();
    if (!log_) return;
    try {
        mailing_->applyLog(mail::loggedStates(log_->rows(), clock_.now().toString(u"yyyy-MM-dd HH:mm:ss"_s)));
    } catch (const Error&) {
        // The list keeps what this run knows; the log said its fault when it stopped the run.
    }
    log_.reset();
}

void SlipMail::refreshFromLog() {
    mailing_->applyLog(mail::loggedStates(mail::readSendLog(requireDatabase(host_), host_.monthKey()),
                                          clock_.now().toString(u"yyyy-MM-dd HH:mm:ss"_s)));
}

std::pair<int, int> SlipMail::runCounts(const QString& runPrefix) {
    QList<mail::LogEntry> mine;
    for (const mail::LogEntry& row : mail::readSendLog(requireDatabase(host_), host_.monthKey())) {
        if (row.run.startsWith(runPrefix)) mine << row;
    }
    int sent = 0;
    int failed = 0;
    for (const mail::LogEntry& row : mail::latestByEmployee(mine)) {
        if (row.result == mail::kResultSent) {
            ++sent;
        } else {
            ++failed;
        }
    }
    return {sent, failed};
}

int SlipMail::pauseMilliseconds() const {
    return settings_.messagesPerMinute > 0 ? 60000 / settings_.messagesPerMinute : 0;
}

}  // namespace slp::windows::slipmail
