#pragma once
// The window "发送电子工资条" and its registry handle: the month's employees with address and status,
// the server settings, the templates and the password rule, "预览邮件", "发送" with a progress bar and
// "取消". The window lays out and connects; SlipMail does the work, one employee a timer tick so rows
// update as they are sent and the window answers throughout.
#include <QPointer>
#include <atomic>
#include <future>
#include <memory>

#include "app/slip_mail/slip_mail.h"
#include "ui/reopening_window.h"
#include "windows/shared/command_window.h"
#include "windows/shared/grid_taking_window.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStandardItemModel;
class QTableView;
class QTimer;

namespace slp::windows::slipmail {

class SlipMailWindow : public CommandWindow {
    Q_OBJECT
  public:
    SlipMailWindow(SlipMail& logic, WindowServices services);

    SlipMail& logic() { return logic_; }
    // The settings as the form shows them.
    mail::MailSettings formSettings() const;
    // The employee rows selected (from 0), in order.
    QList<int> selectedEmployees() const;
    void selectEmployee(int index);

    void previewMessage();
    void startSending();
    void cancelSending();
    bool isSending() const;
    // Waits up to `milliseconds` for the message under way and records its outcome; true when none is
    // under way any more.
    bool waitForTransfer(int milliseconds);
    // The summary shown at the end of a run ("已发送n人，失败m人，无地址k人").
    QString summaryShown() const;
    QString previewShown() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* buildSettingsForm();
    void showSettings(const mail::MailSettings& settings);
    void applyForm();
    void fillList();
    void showRow(int index);
    void sendStep();
    // The transport's answer for the message under way, when it has come.
    void pollTransfer();
    void settleStep(int index);
    void finishSending();

    SlipMail& logic_;
    QStandardItemModel* model_ = nullptr;
    QTableView* list_ = nullptr;
    QLineEdit* server_ = nullptr;
    QComboBox* security_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* passwordFile_ = nullptr;
    QLineEdit* caFile_ = nullptr;
    QLineEdit* from_ = nullptr;
    QSpinBox* rate_ = nullptr;
    QLineEdit* addressColumn_ = nullptr;
    QLineEdit* passwordColumn_ = nullptr;
    QSpinBox* passwordLast_ = nullptr;
    QLineEdit* subject_ = nullptr;
    QPlainTextEdit* body_ = nullptr;
    QPlainTextEdit* preview_ = nullptr;
    QPushButton* previewButton_ = nullptr;
    QPushButton* sendButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* summary_ = nullptr;
    QTimer* timer_ = nullptr;
    QTimer* poll_ = nullptr;
    // The message under way, sent on a thread of its own so that the window answers (and 取消 stops
    // it within a second) however long the server takes.
    mail::Outgoing outgoing_;
    std::future<mail::SendOutcome> transfer_;
    std::shared_ptr<std::atomic_bool> stopFlag_ = std::make_shared<std::atomic_bool>(false);
};

class SlipMailHandle : public ReopeningWindow, public GridTakingWindow {
  public:
    explicit SlipMailHandle(WindowServices services);
    SlipMail& logic() { return logic_; }
    SlipMailWindow* window() const { return qobject_cast<SlipMailWindow*>(widget()); }
    void openWithGrid(const data::WageGrid& grid, float printFontSize, QWidget* owner) override;

  private:
    WindowServices services_;
    SlipMail logic_;
    data::WageGrid grid_;
    float printFontSize_ = 9;
};

}  // namespace slp::windows::slipmail

namespace slp {
// Gives the registry the factory of the electronic slips' window (WindowId::SlipMail), with the services
// of the running component or of the caller's own.
void registerSlipMailWindow(WindowRegistry& registry);
void registerSlipMailWindow(WindowRegistry& registry, windows::WindowServices services);
}  // namespace slp
