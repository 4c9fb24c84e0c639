#include "host_window.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "basic/host_text.h"
#include "command_line.h"

using namespace Qt::StringLiterals;

namespace slp::app {

HostWindow::HostWindow(const HostOptions& options, QWidget* parent) : QWidget(parent) {
    setWindowTitle(u"工资管理"_s);
    setObjectName(u"HostWindow"_s);

    database_ = new QLineEdit(options.database, this);
    database_->setObjectName(u"database"_s);
    database_->setMinimumWidth(320);
    auto* browse = new QPushButton(u"浏览…"_s, this);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, u"选择工资数据库"_s, database_->text(),
                                                          u"工资数据库 (*.db *.sqlite);;所有文件 (*)"_s);
        if (!path.isEmpty()) database_->setText(path);
    });
    auto* dbRow = new QHBoxLayout;
    dbRow->addWidget(database_);
    dbRow->addWidget(browse);

    unitCode_ = new QLineEdit(options.unitCode, this);
    unitName_ = new QLineEdit(options.unitName, this);
    month_ = new QLineEdit(options.month, this);
    payDay_ = new QLineEdit(options.payDay, this);
    unitCode_->setObjectName(u"unitCode"_s);
    unitName_->setObjectName(u"unitName"_s);
    month_->setObjectName(u"workMonth"_s);
    payDay_->setObjectName(u"payDay"_s);

    auto* form = new QFormLayout;
    form->addRow(u"数据库文件:"_s, dbRow);
    form->addRow(u"单位代码:"_s, unitCode_);
    form->addRow(u"单位名称:"_s, unitName_);
    form->addRow(u"工作年月:"_s, month_);
    form->addRow(u"发薪日:"_s, payDay_);

    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, QString> methods[] = {
        {"Card", u"工资卡输出"_s},   {"PFirst", u"个人发放联"_s}, {"PSecond", u"班组签收联"_s},
        {"PThird", u"班组汇总联"_s}, {"PSEL", u"特殊打印"_s},
    };
    for (const auto& [method, caption] : methods) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(method));
        connect(b, &QPushButton::clicked, this, [this, method, caption] { call(method, caption); });
        buttons->addWidget(b);
    }

    status_ = new QLabel(this);
    status_->setObjectName(u"status"_s);
    status_->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(status_);
}

HostFields HostWindow::fields() const {
    return {database_->text().trimmed(), unitCode_->text(), unitName_->text(), month_->text(),
            payDay_->text()};
}

void HostWindow::call(const char* method, const QString& caption) {
    const HostFields f = fields();
    // The host checks the pay day it hands over: it is printed on every table as the pay date.
    if (isWorkMonthText(f.workMonth)) {
        if (const QString problem = payDayProblem(f.workMonth, f.payDay); !problem.isEmpty()) {
            status_->setText(problem);
            QMessageBox::warning(this, u"工资管理"_s, problem);
            return;
        }
    }
    const CallResult r = driver_.request(f, method);
    if (r.ok()) {
        status_->setText(caption + u" 已打开。"_s);
        return;
    }
    const QString text = failureText(r);
    status_->setText(text.section(u'\n', 0, 0));
    QMessageBox::warning(this, u"工资管理"_s, text);
}

}  // namespace slp::app
