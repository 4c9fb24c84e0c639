// The window "发送电子工资条" offscreen: opened from 工资输出表1's menu on its grid, the list with
// addresses and statuses, "预览邮件", and "发送" to the loopback SMTP server with rows and the summary
// updated; the settings are remembered.
#include "windows/slip_mail/slip_mail_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "mail/mail_settings.h"
#include "smtp_test_server.h"
#include "window_services_fixture.h"
#include "windows/employee_table/employee_table_window.h"
#include "windows/employee_table/register_employee_table.h"

using namespace Qt::StringLiterals;
using slp::windows::slipmail::SlipMailHandle;
using slp::windows::slipmail::SlipMailWindow;

namespace {

class SlipMailWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        w.writeDemo(20);
        slp::registerEmployeeTableWindow(f.registry, f.services);
        slp::registerSlipMailWindow(f.registry, f.services);
    }
    // Opens 工资输出表1 and chooses "发送电子工资条…" in its 文件 menu.
    SlipMailWindow* open() {
        f.registry.open(slp::WindowId::EmployeeTable);
        auto* table = dynamic_cast<slp::windows::employee::EmployeeTableHandle*>(
            f.registry.instance(slp::WindowId::EmployeeTable));
        if (!table || !table->window()) return nullptr;
        auto* entry = table->window()->findChild<QAction*>(u"MnuSlipMail"_s);
        EXPECT_TRUE(entry);
        if (!entry) return nullptr;
        EXPECT_EQ(entry->text(), u"发送电子工资条…"_s);
        entry->trigger();
        auto* handle = dynamic_cast<SlipMailHandle*>(f.registry.instance(slp::WindowId::SlipMail));
        return handle ? handle->window() : nullptr;
    }
    // The text of column `col` in the row of 工号 `number`.
    QString cell(SlipMailWindow* window, const QString& number, int col) {
        auto* model = window->findChild<QTableView*>(u"employees"_s)->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, 0).data().toString() == number)
                return model->index(row, col).data().toString();
        }
        ADD_FAILURE() << "no row " << number.toStdString();
        return QString();
    }
    int rowOf(SlipMailWindow* window, const QString& number) {
        auto* model = window->findChild<QTableView*>(u"employees"_s)->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, 0).data().toString() == number) return row;
        }
        return -1;
    }
    void type(SlipMailWindow* window, const QString& name, const QString& text) {
        auto* edit = window->findChild<QLineEdit*>(name);
        ASSERT_TRUE(edit) << name.toStdString();
        edit->setText(text);
    }

    wage_test::WageDatabase w;
    wage_test::WindowFixture f{w};
    slp_test::SmtpTestServer server;
};

TEST_F(SlipMailWindowTest, ListsTheMonthAndPreviewsTheSelectedMessage) {
    SlipMailWindow* window = open();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), u"发送电子工资条"_s);
    auto* view = window->findChild<QTableView*>(u"employees"_s);
    ASSERT_EQ(view->model()->rowCount(), 20);
    EXPECT_EQ(cell(window, u"0001"_s, 2), u"emp0001@example.com"_s);
    EXPECT_EQ(cell(window, u"0001"_s, 3), u"未发送"_s);
    EXPECT_EQ(cell(window, u"0006"_s, 2), QString());
    EXPECT_EQ(cell(window, u"0006"_s, 3), u"无地址"_s);
    EXPECT_EQ(window->summaryShown(), u"共20人，其中无地址2人"_s);

    window->selectEmployee(rowOf(window, u"0002"_s));
    window->findChild<QPushButton*>(u"previewButton"_s)->click();
    const QString preview = window->previewShown();
    EXPECT_TRUE(preview.contains(u"主题：2000年4月工资条"_s)) << preview.toStdString();
    EXPECT_TRUE(preview.contains(u"<emp0002@example.com>"_s));
    EXPECT_TRUE(preview.contains(u"附件：工资条_200004_"_s));
    EXPECT_TRUE(preview.contains(u".pdf（AES-256加密，密码为工号）"_s));
    ASSERT_EQ(f.previews.size(), 1u);
    EXPECT_EQ(f.previews[0].grid.rows(), 2);
    EXPECT_EQ(f.previews[0].slipMode, -1);

    // A password rule over a column nobody has: no password, nothing may be sent to anyone.
    type(window, u"passwordColumn"_s, u"身份证号"_s);
    window->previewMessage();
    EXPECT_TRUE(window->previewShown().contains(u"密码为空，不能发送"_s));
    EXPECT_EQ(cell(window, u"0001"_s, 3), u"无密码"_s);
    window->close();
    EXPECT_EQ(slp::mail::loadMailSettings(*f.services.store, w.host.unitCode).password.column, u"身份证号"_s);
}

TEST_F(SlipMailWindowTest, SendsToTheServerRowByRowAndSumsUp) {
    if (!server.start({{u"emp0003@example.com"_s}, 0, false, 0, 0, 0}))
        GTEST_SKIP() << server.why().toStdString();
    SlipMailWindow* window = open();
    ASSERT_TRUE(window);
    type(window, u"server"_s, u"127.0.0.1:%1"_s.arg(server.port()));
    type(window, u"user"_s, QString::fromUtf8(slp_test::SmtpTestServer::kUser));
    type(window, u"passwordFile"_s, server.passwordFile());
    type(window, u"caFile"_s, server.caFile());
    type(window, u"from"_s, u"工资组 <payroll@example.com>"_s);
    window->findChild<QPushButton*>(u"sendButton"_s)->click();
    EXPECT_TRUE(window->isSending());
    EXPECT_TRUE(window->findChild<QPushButton*>(u"cancelButton"_s)->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isSending(); }, 60000));
    EXPECT_EQ(window->summaryShown(),
              u"本次：已发送17人，失败1人，未尝试0人\n本月：已发送17人，失败1人，未发送0人，无地址2人"_s);
    EXPECT_EQ(cell(window, u"0001"_s, 3), u"已发送"_s);
    EXPECT_EQ(cell(window, u"0003"_s, 3), u"失败"_s);
    EXPECT_TRUE(cell(window, u"0003"_s, 4).startsWith(u"550"_s));
    EXPECT_EQ(server.received().size(), 17u);
    // SLP_SCREENSHOT_DIR keeps a picture of the window after the run for a look.
    const QString shots = qEnvironmentVariable("SLP_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        window->previewMessage();
        EXPECT_TRUE(window->grab().save(QDir(shots).filePath(u"slip_mail_window.png"_s)));
        const auto mails = server.received();
        QFile pdf(QDir(shots).filePath(u"received_slip.pdf"_s));
        ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
        pdf.write(mails.front().attachments.front());
    }
    EXPECT_TRUE(f.prompts->asked.isEmpty());
    EXPECT_EQ(slp::mail::loadMailSettings(*f.services.store, w.host.unitCode).server,
              u"127.0.0.1:%1"_s.arg(server.port()));
}

}  // namespace

namespace {

// A server that never answers does not hold the window: 取消 ends the run within a second, the message
// under way settled, and a refused connection is said in Chinese with nobody counted.
TEST_F(SlipMailWindowTest, CancelAnswersWithinASecondAndFailuresAreSaidInChinese) {
    if (!server.start({{}, 0, false, 0, 0, 1})) GTEST_SKIP() << server.why().toStdString();
    SlipMailWindow* window = open();
    ASSERT_TRUE(window);
    type(window, u"server"_s, u"127.0.0.1:%1"_s.arg(server.port()));
    type(window, u"user"_s, QString::fromUtf8(slp_test::SmtpTestServer::kUser));
    type(window, u"passwordFile"_s, server.passwordFile());
    type(window, u"caFile"_s, server.caFile());
    type(window, u"from"_s, u"工资组 <payroll@example.com>"_s);
    window->findChild<QPushButton*>(u"sendButton"_s)->click();
    QTest::qWait(1500);
    EXPECT_TRUE(window->isSending());
    QElapsedTimer t;
    t.start();
    window->findChild<QPushButton*>(u"cancelButton"_s)->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isSending(); }, 5000));
    EXPECT_LT(t.elapsed(), 1500);
    EXPECT_TRUE(window->summaryShown().startsWith(u"本次：已发送0人，失败1人，未尝试17人"_s))
        << window->summaryShown().toStdString();
    // The first of the list, under way when 取消 came, may have been taken: it says so.
    auto* model = window->findChild<QTableView*>(u"employees"_s)->model();
    QStringList states;
    for (int row = 0; row < model->rowCount(); ++row) states << model->index(row, 3).data().toString();
    EXPECT_EQ(states.count(u"可能已发送"_s), 1) << states.join(u'|').toStdString();

    // A port nobody listens on: said at once, everyone still 未发送.
    const int closed = slp_test::closedPort();
    type(window, u"server"_s, u"127.0.0.1:%1"_s.arg(closed));
    window->findChild<QPushButton*>(u"sendButton"_s)->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isSending(); }, 15000));
    EXPECT_TRUE(window->summaryShown().contains(u"无法连接SMTP服务器"_s))
        << window->summaryShown().toStdString();
    EXPECT_EQ(cell(window, u"0002"_s, 3), u"未发送"_s);
    EXPECT_EQ(server.received().size(), 0u);
}

}  // namespace
