#include "windows/slip_mail/slip_mail_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>

#include "app/employee_table/employee_commands.h"
#include "data/host_context.h"
#include "print/chinese_fonts.h"

using namespace Qt::StringLiterals;

namespace slp::windows::slipmail {

namespace {
QLineEdit* lineEdit(const QString& name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    return edit;
}
}  // namespace

SlipMailWindow::SlipMailWindow(SlipMail& logic, WindowServices services)
    : CommandWindow(std::move(services)), logic_(logic) {
    setObjectName(u"发送电子工资条"_s);
    setWindowTitle(u"发送电子工资条"_s);
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] { sendStep(); });
    poll_ = new QTimer(this);
    poll_->setInterval(50);
    connect(poll_, &QTimer::timeout, this, [this] { pollTransfer(); });

    model_ = new QStandardItemModel(0, int(SlipMail::columnCaptions().size()), this);
    model_->setHorizontalHeaderLabels(SlipMail::columnCaptions());
    list_ = new QTableView;
    list_->setObjectName(u"employees"_s);
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->verticalHeader()->hide();
    list_->setWordWrap(false);
    list_->horizontalHeader()->setStretchLastSection(true);

    preview_ = new QPlainTextEdit;
    preview_->setObjectName(u"preview"_s);
    preview_->setReadOnly(true);

    previewButton_ = new QPushButton(u"预览邮件"_s);
    previewButton_->setObjectName(u"previewButton"_s);
    sendButton_ = new QPushButton(u"发送"_s);
    sendButton_->setObjectName(u"sendButton"_s);
    cancelButton_ = new QPushButton(u"取消"_s);
    cancelButton_->setObjectName(u"cancelButton"_s);
    cancelButton_->setEnabled(false);
    progress_ = new QProgressBar;
    progress_->setObjectName(u"progress"_s);
    summary_ = new QLabel;
    summary_->setObjectName(u"summary"_s);
    connect(previewButton_, &QPushButton::clicked, this,
            [this] { runReported([this] { previewMessage(); }); });
    connect(sendButton_, &QPushButton::clicked, this, [this] { runReported([this] { startSending(); }); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { cancelSending(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(previewButton_);
    buttons->addWidget(sendButton_);
    buttons->addWidget(cancelButton_);
    buttons->addWidget(progress_, 1);
    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(buildSettingsForm());
    rightLayout->addWidget(preview_, 1);
    auto* split = new QSplitter;
    split->addWidget(list_);
    split->addWidget(right);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    layout->addWidget(summary_);
    setCentralWidget(central);
    resize(1100, 640);

    showSettings(logic_.settings());
    fillList();
}

QWidget* SlipMailWindow::buildSettingsForm() {
    auto* form = new QWidget;
    auto* layout = new QFormLayout(form);
    server_ = lineEdit(u"server"_s);
    server_->setPlaceholderText(u"smtp.example.com:587"_s);
    security_ = new QComboBox;
    security_->setObjectName(u"security"_s);
    for (const mail::Security s : {mail::Security::StartTls, mail::Security::Tls, mail::Security::None}) {
        security_->addItem(mail::securityName(s));
    }
    user_ = lineEdit(u"user"_s);
    passwordFile_ = lineEdit(u"passwordFile"_s);
    passwordFile_->setPlaceholderText(u"默认：设置文件夹中的smtp-password（权限0600）"_s);
    caFile_ = lineEdit(u"caFile"_s);
    from_ = lineEdit(u"from"_s);
    rate_ = new QSpinBox;
    rate_->setObjectName(u"rate"_s);
    rate_->setRange(0, 100000);
    rate_->setSpecialValueText(u"不限"_s);
    addressColumn_ = lineEdit(u"addressColumn"_s);
    passwordColumn_ = lineEdit(u"passwordColumn"_s);
    passwordLast_ = new QSpinBox;
    passwordLast_->setObjectName(u"passwordLast"_s);
    passwordLast_->setRange(0, 64);
    passwordLast_->setSpecialValueText(u"全部"_s);
    subject_ = lineEdit(u"subject"_s);
    body_ = new QPlainTextEdit;
    body_->setObjectName(u"body"_s);
    body_->setMaximumHeight(90);
    layout->addRow(u"SMTP服务器"_s, server_);
    layout->addRow(u"安全连接"_s, security_);
    layout->addRow(u"用户名"_s, user_);
    layout->addRow(u"密码文件"_s, passwordFile_);
    layout->addRow(u"证书文件"_s, caFile_);
    layout->addRow(u"发件人"_s, from_);
    layout->addRow(u"每分钟封数"_s, rate_);
    layout->addRow(u"邮箱列"_s, addressColumn_);
    auto* rule = new QHBoxLayout;
    rule->addWidget(passwordColumn_, 1);
    rule->addWidget(new QLabel(u"取后几位"_s));
    rule->addWidget(passwordLast_);
    layout->addRow(u"密码列"_s, rule);
    layout->addRow(u"邮件主题"_s, subject_);
    layout->addRow(u"邮件正文"_s, body_);
    return form;
}

void SlipMailWindow::showSettings(const mail::MailSettings& s) {
    server_->setText(s.server);
    security_->setCurrentText(mail::securityName(s.security));
    user_->setText(s.user);
    passwordFile_->setText(s.passwordFile);
    caFile_->setText(s.caFile);
    from_->setText(s.from);
    rate_->setValue(s.messagesPerMinute);
    addressColumn_->setText(s.addressColumn);
    passwordColumn_->setText(s.password.column);
    passwordLast_->setValue(s.password.lastChars);
    subject_->setText(s.subject);
    body_->setPlainText(s.body);
}

mail::MailSettings SlipMailWindow::formSettings() const {
    mail::MailSettings s = logic_.settings();
    s.server = server_->text().trimmed();
    s.security = mail::securityFromName(security_->currentText());
    s.user = user_->text().trimmed();
    s.passwordFile = passwordFile_->text().trimmed();
    s.caFile = caFile_->text().trimmed();
    s.from = from_->text().trimmed();
    s.messagesPerMinute = rate_->value();
    s.addressColumn = addressColumn_->text().trimmed();
    s.password.column = passwordColumn_->text().trimmed();
    s.password.lastChars = passwordLast_->value();
    s.subject = subject_->text();
    s.body = body_->toPlainText();
    return s;
}

void SlipMailWindow::applyForm() {
    const mail::MailSettings s = formSettings();
    if (s == logic_.settings()) return;
    logic_.setSettings(s);
    fillList();
}

void SlipMailWindow::fillList() {
    model_->setRowCount(logic_.employeeCount());
    for (int i = 0; i < logic_.employeeCount(); ++i) showRow(i);
    list_->resizeColumnsToContents();
    const mail::RunSummary s = logic_.mailing().summary();
    summary_->setText(u"共%1人，其中无地址%2人"_s.arg(logic_.employeeCount()).arg(s.noAddress));
}

void SlipMailWindow::showRow(int index) {
    const QStringList texts = logic_.rowTexts(index);
    for (int c = 0; c < texts.size(); ++c) {
        QStandardItem* item = model_->item(index, c);
        if (!item) {
            model_->setItem(index, c, new QStandardItem(texts[c]));
        } else {
            item->setText(texts[c]);
        }
    }
}

QList<int> SlipMailWindow::selectedEmployees() const {
    QList<int> rows;
    for (const QModelIndex& i : list_->selectionModel()->selectedRows()) rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void SlipMailWindow::selectEmployee(int index) {
    list_->selectRow(index);
}

void SlipMailWindow::previewMessage() {
    applyForm();
    const QList<int> rows = selectedEmployees();
    const int index = rows.isEmpty() ? 0 : rows.front();
    if (index >= logic_.employeeCount()) return;
    preview_->setPlainText(logic_.previewText(index));
    if (services().showPreview) {
        const data::WageGrid one = logic_.slipGrid(index);
        services().showPreview(employee::wageSlipsRequest(one, *services().context, logic_.printFontSize()));
    }
}

void SlipMailWindow::startSending() {
    if (isSending()) return;
    applyForm();
    logic_.saveSettings();
    auto client = std::make_unique<mail::SmtpClient>(logic_.account());
    stopFlag_->store(false);
    client->setStopCheck([flag = stopFlag_] { return flag->load(); });
    logic_.beginSending(std::move(client));
    fillList();
    progress_->setRange(0, std::max(1, logic_.mailing().dueCount()));
    progress_->setValue(0);
    sendButton_->setEnabled(false);
    previewButton_->setEnabled(false);
    cancelButton_->setEnabled(true);
    summary_->setText(u"正在发送…"_s);
    timer_->start(0);
}

void SlipMailWindow::sendStep() {
    mail::Outgoing out;
    const bool ran = runReported([&] { out = logic_.beginNext(); });
    if (!ran || out.index < 0) {
        finishSending();
        return;
    }
    if (out.message.isEmpty()) {
        settleStep(out.index);
        return;
    }
    outgoing_ = out;
    mail::MailTransport* transport = logic_.transport();
    transfer_ = std::async(std::launch::async,
                           [transport, out] { return transport->send(out.from, out.to, out.message); });
    poll_->start();
}

void SlipMailWindow::pollTransfer() {
    if (!transfer_.valid() || transfer_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    poll_->stop();
    const mail::SendOutcome outcome = transfer_.get();
    int index = -1;
    runReported([&] { index = logic_.finishNext(outgoing_, outcome); });
    outgoing_ = {};
    settleStep(index);
}

void SlipMailWindow::settleStep(int index) {
    if (index >= 0) {
        showRow(index);
        list_->scrollTo(model_->index(index, 0));
        progress_->setValue(progress_->value() + 1);
    }
    if (index >= 0 && !stopFlag_->load() && logic_.sending()) {
        timer_->start(logic_.pauseMilliseconds());
        return;
    }
    finishSending();
}

void SlipMailWindow::finishSending() {
    timer_->stop();
    const QString reason = logic_.mailing().stopReason();
    logic_.endSending();
    fillList();
    sendButton_->setEnabled(true);
    previewButton_->setEnabled(true);
    cancelButton_->setEnabled(false);
    QString text = logic_.summaryText();
    if (!reason.isEmpty()) text += u"（发送中断："_s + reason + u"）"_s;
    summary_->setText(text);
}

void SlipMailWindow::cancelSending() {
    if (!isSending()) return;
    stopFlag_->store(true);
    logic_.cancel();
    // A message under way ends within a second; its outcome is recorded when it does.
    if (transfer_.valid()) return;
    finishSending();
}

bool SlipMailWindow::waitForTransfer(int milliseconds) {
    if (!transfer_.valid()) return true;
    if (transfer_.wait_for(std::chrono::milliseconds(milliseconds)) != std::future_status::ready)
        return false;
    pollTransfer();
    return true;
}

bool SlipMailWindow::isSending() const {
    return cancelButton_->isEnabled();
}

QString SlipMailWindow::summaryShown() const {
    return summary_->text();
}

QString SlipMailWindow::previewShown() const {
    return preview_->toPlainText();
}

void SlipMailWindow::closeEvent(QCloseEvent* event) {
    // What was sent is in the log already; a message under way is stopped and its outcome recorded.
    if (isSending()) {
        cancelSending();
        waitForTransfer(5000);
    }
    runReported([this] {
        applyForm();
        logic_.saveSettings();
    });
    if (services().registry) services().registry->windowClosed(WindowId::SlipMail);
    CommandWindow::closeEvent(event);
}

SlipMailHandle::SlipMailHandle(WindowServices services)
    : ReopeningWindow([this](QWidget*) -> QWidget* {
          print::registerChineseFontSubstitutes();
          logic_.open(grid_, printFontSize_);
          return new SlipMailWindow(logic_, services_);
      }),
      services_(std::move(services)),
      logic_(*services_.store, *services_.context, *services_.clock) {}

void SlipMailHandle::openWithGrid(const data::WageGrid& grid, float printFontSize, QWidget* owner) {
    close();
    grid_ = grid;
    printFontSize_ = printFontSize;
    showOwnedBy(owner);
}

}  // namespace slp::windows::slipmail

namespace slp {

void registerSlipMailWindow(WindowRegistry& registry, windows::WindowServices services) {
    windows::registerWindowHandle<windows::slipmail::SlipMailHandle>(registry, WindowId::SlipMail,
                                                                     std::move(services));
}

void registerSlipMailWindow(WindowRegistry& registry) {
    registerSlipMailWindow(registry, windows::standardWindowServices(registry, hostContext()));
}

}  // namespace slp
