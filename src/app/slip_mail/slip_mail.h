#pragma once
// The electronic slips of the month (window "发送电子工资条" and "slpayprn mail slips"): the employees of
// the wage grid with their address and status, the mail settings, the preview of a message, and the run
// that mails each employee's slip, one employee a step so a window stays responsive and can stop it.
#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>

#include "data/wage_grid.h"
#include "mail/mail_settings.h"
#include "mail/slip_mailing.h"
#include "mail/smtp_client.h"

namespace slp {
class Clock;
struct HostContext;
}  // namespace slp
namespace slp::settings {
class Store;
}

namespace slp::windows::slipmail {

class SlipMail {
  public:
    SlipMail(settings::Store& store, HostContext& host, const Clock& clock);
    ~SlipMail();
    SlipMail(const SlipMail&) = delete;
    SlipMail& operator=(const SlipMail&) = delete;

    // The employee grid (as 工资输出表1 shows it) and its print font size; reads the settings, the
    // addresses and passwords from the database and the send log. Throws slp::Error (a database error).
    void open(data::WageGrid grid, float printFontSize, const mail::RunOptions& options = {});
    // The settings changed (address column, password rule, templates): the list is made again.
    void setSettings(const mail::MailSettings& settings);
    const mail::MailSettings& settings() const { return settings_; }
    // Remembers the settings for the unit.
    void saveSettings();

    const mail::SlipMailing& mailing() const { return *mailing_; }
    int employeeCount() const { return int(mailing_->entries().size()); }
    // The list's columns and the texts of employee `index` (from 0).
    static QStringList columnCaptions();
    QStringList rowTexts(int index) const;
    mail::MonthInfo month() const;

    // The unencrypted slip of a recipient: the page "print slips --per-employee" writes for the employee.
    // The recipient's slip locked with `seal` (see sealFor).
    QByteArray slipPdf(const mail::Recipient& recipient, const mail::SlipSeal& seal);
    // A seal for the slips of `password`: a file key sealed for it (AES-256); slp::Error for an empty one.
    static mail::SlipSeal sealFor(const QString& password);
    // What employee `index` would receive, as a mail program shows it: 发件人, 收件人, 主题, 附件 (with
    // the password rule) and the text. Throws slp::Error when the slip cannot be made.
    QString previewText(int index);
    // The one employee's grid for showing the slip in the preview.
    data::WageGrid slipGrid(int index) const;
    float printFontSize() const { return printFontSize_; }

    // The server account of the settings, with the password read from `passwordFile` (empty: the
    // settings' file, else the default file). Throws slp::Error when the password file is refused or
    // the server is not set up.
    mail::SmtpAccount account(const QString& passwordFile = QString()) const;
    // Starts a run over `transport`: the send log checked (created when missing) before anything is
    // sent, then sendNext() sends one employee a call and returns its index (-1 when nothing is due or
    // the run stopped). cancel() stops after the message under way. Throws slp::Error when the log
    // cannot be kept.
    void beginSending(std::unique_ptr<mail::MailTransport> transport);
    int sendNext();
    // The same in two halves, so that the transport can work on another thread while the caller
    // stays responsive: the next message made and claimed (index -1: nothing due; an empty message:
    // settled without sending), then its outcome recorded.
    mail::Outgoing beginNext();
    int finishNext(const mail::Outgoing& outgoing, const mail::SendOutcome& outcome);
    mail::MailTransport* transport() { return transport_.get(); }
    bool sending() const { return transport_ != nullptr && mailing_->nextDue() >= 0; }
    void cancel();
    // Ends the run: the transport closed and the list brought up to date from the log (what other
    // senders did meanwhile), so the summary's month totals are the log's.
    void endSending();
    const QString& runName() const { return runName_; }
    // The list brought up to date from the log, outside a run (after the senders of --workers).
    void refreshFromLog();
    // Employees the runs whose names begin with `runPrefix` sent, and those whose last attempt by
    // them failed, as the log says.
    std::pair<int, int> runCounts(const QString& runPrefix);
    // Milliseconds to wait between two messages for the rate limit (0: none).
    int pauseMilliseconds() const;
    QString summaryText() const { return mail::summaryText(mailing_->summary()); }

  private:
    void makeList();

    settings::Store& store_;
    HostContext& host_;
    const Clock& clock_;
    data::WageGrid grid_;
    float printFontSize_ = 9;
    mail::RunOptions options_;
    mail::MailSettings settings_;
    QHash<QString, mail::EmployeeFields> fields_;
    std::unique_ptr<mail::SlipMailing> mailing_;
    std::unique_ptr<mail::MailTransport> transport_;
    std::unique_ptr<mail::SendLog> log_;
    QString runName_;
    std::optional<QTemporaryDir> slipFolder_;
};

// The grid as the list of employees the mailing needs (rows between the caption row and the totals).
class EmployeeGridRows : public mail::WageGridRows {
  public:
    explicit EmployeeGridRows(const data::WageGrid& grid);
    int employeeCount() const override;
    QString number(int index) const override;
    QString name(int index) const override;

  private:
    const data::WageGrid& grid_;
    int numberColumn_;
    int nameColumn_;
};

}  // namespace slp::windows::slipmail
