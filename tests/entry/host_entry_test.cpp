// The host's calls on 打印工资: the work month, the pay date, the database and the windows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "basic/error.h"
#include "data/database.h"
#include "entry/打印工资.h"
#include "ui/translations.h"

using namespace Qt::StringLiterals;
using slp::HostContext;
using slp::WindowId;
using slp::WindowRegistry;
using slp::打印工资;

namespace {

struct MonthCase {
    const char16_t* month;
    const char16_t* payDay;
    const char16_t* year;
    const char16_t* monthPart;
    const char16_t* key;
    const char16_t* payDate;
};

TEST(HostEntry, WorkMonthAndPayDate) {
    // Refused months leave the month held as it was (here: none), so the key stays "-".
    const MonthCase cases[] = {
        {u"2000-04", u"25", u"2000", u"04", u"2000-04", u"2000-04-25"},
        {u"2000-4", u"25", u"2000", u"4", u"2000-4", u"2000-4-25"},
        {u"99-12", u"5", u"", u"", u"-", u"--5"},
        {u"200004", u"25", u"", u"", u"-", u"--25"},
        {u"", u"25", u"", u"", u"-", u"--25"},
        {u"2000-04-01", u"", u"", u"", u"-", u"--"},
        {u"2000-04' or '1'='1", u"25", u"", u"", u"-", u"--25"},
        {u"2000-123", u"25", u"", u"", u"-", u"--25"},
        {u"２０００-04", u"25", u"", u"", u"-", u"--25"},
        {u"年月-十二", u"廿五", u"", u"", u"-", u"--廿五"},
    };
    for (const auto& c : cases) {
        HostContext ctx;
        WindowRegistry reg(ctx);
        打印工资 host(ctx, reg);
        const slp::Status s = host.GetRQ(QString::fromUtf16(c.month));
        host.GetFXRQ(QString::fromUtf16(c.payDay));
        const QString m = QString::fromUtf16(c.month);
        const bool accepted = *c.year != 0;
        EXPECT_EQ(s.code, accepted ? slp::status::Ok : slp::status::BadParamCount) << m.toStdString();
        EXPECT_EQ(s.description.contains(u"工作年月"_s), !accepted) << m.toStdString();
        EXPECT_EQ(ctx.workYear, QString::fromUtf16(c.year)) << m.toStdString();
        EXPECT_EQ(ctx.workMonth, QString::fromUtf16(c.monthPart)) << m.toStdString();
        EXPECT_EQ(ctx.monthKey(), QString::fromUtf16(c.key)) << m.toStdString();
        EXPECT_EQ(ctx.payDate, QString::fromUtf16(c.payDate)) << m.toStdString();
    }
}

TEST(HostEntry, PayDateIsAssembledWhenSetAndNotRepairedLater) {
    HostContext ctx;
    WindowRegistry reg(ctx);
    打印工资 host(ctx, reg);
    host.GetFXRQ(u"25"_s);
    EXPECT_EQ(ctx.payDate, u"--25"_s);
    host.GetRQ(u"2000-04"_s);
    EXPECT_EQ(ctx.payDate, u"--25"_s);
    EXPECT_EQ(ctx.monthKey(), u"2000-04"_s);
    host.GetFXRQ(u"25"_s);
    EXPECT_EQ(ctx.payDate, u"2000-04-25"_s);
    // Switching month later keeps the assembled pay date until GetFXRQ is called again.
    host.GetRQ(u"2001-01"_s);
    EXPECT_EQ(ctx.payDate, u"2000-04-25"_s);
    EXPECT_EQ(ctx.monthKey(), u"2001-01"_s);
}

TEST(HostEntry, UnitPutsReplaceOneFieldEach) {
    HostContext ctx;
    WindowRegistry reg(ctx);
    打印工资 host(ctx, reg);
    host.GetDWDM(u"0101"_s);
    host.GetDWMC(u"朔岚示范公司"_s);
    host.GetDWDM(u"0202"_s);
    EXPECT_EQ(ctx.unitCode, u"0202"_s);
    EXPECT_EQ(ctx.unitName, u"朔岚示范公司"_s);
    EXPECT_TRUE(ctx.workYear.isEmpty());
}

// A window that counts how it is shown: the registry's contract, not a product window.
class CountingWindow : public slp::ManagedWindow {
  public:
    explicit CountingWindow(int* loads) : loads_(loads) {}
    void showOrRaise() override {
        if (!widget_.isVisible()) ++*loads_;  // a closed window loads afresh
        widget_.show();
        widget_.raise();
        ++shows;
    }
    bool isOpen() const override { return widget_.isVisible(); }
    void close() { widget_.close(); }
    int shows = 0;

  private:
    int* loads_;
    QWidget widget_;
};

class RegistryTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_entry";
            static char* argv[] = {name, nullptr};
            new QApplication(argc, argv);
        }
    }
};

TEST_F(RegistryTest, SecondRequestBringsTheSameWindowForward) {
    HostContext ctx;
    WindowRegistry reg(ctx);
    int created = 0, loads = 0;
    reg.setFactory(WindowId::EmployeeTable, [&] {
        ++created;
        return std::make_unique<CountingWindow>(&loads);
    });
    打印工资 host(ctx, reg);
    ASSERT_TRUE(host.PFirst().ok());
    auto* first = reg.instance(WindowId::EmployeeTable);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(host.PFirst().ok());
    EXPECT_EQ(reg.instance(WindowId::EmployeeTable), first);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(loads, 1);  // the second call only raised it
    EXPECT_EQ(static_cast<CountingWindow*>(first)->shows, 2);

    // Closed, the same object loads afresh on the next request.
    static_cast<CountingWindow*>(first)->close();
    ASSERT_TRUE(host.PFirst().ok());
    EXPECT_EQ(created, 1);
    EXPECT_EQ(loads, 2);
}

TEST_F(RegistryTest, MissingWindowIsReportedByName) {
    HostContext ctx;
    WindowRegistry reg(ctx);
    打印工资 host(ctx, reg);
    const struct {
        slp::Status status;
        const char16_t* name;
    } calls[] = {{host.Card(), u"SlgzSJSC"},
                 {host.PFirst(), u"工资输出表1"},
                 {host.PSecond(), u"工资输出表2"},
                 {host.PThird(), u"工资输出表3"},
                 {host.PSEL(), u"特殊打印设置"}};
    for (const auto& c : calls) {
        EXPECT_EQ(c.status.code, slp::status::NotImplemented);
        EXPECT_TRUE(c.status.description.contains(QString::fromUtf16(c.name)))
            << c.status.description.toStdString();
    }
    EXPECT_EQ(reg.instance(WindowId::EmployeeTable), nullptr);
}

TEST_F(RegistryTest, FailingOpeningIsReturnedAsTheMembersError) {
    HostContext ctx;
    WindowRegistry reg(ctx);
    struct FailingWindow : slp::ManagedWindow {
        void showOrRaise() override { throw slp::Error(3021, u"无当前记录。"_s); }
        bool isOpen() const override { return false; }
    };
    reg.setFactory(WindowId::DepartmentSummary, [] { return std::make_unique<FailingWindow>(); });
    打印工资 host(ctx, reg);
    const slp::Status s = host.PThird();
    EXPECT_EQ(s.code, slp::status::Exception);
    EXPECT_TRUE(s.description.contains(u"无当前记录。"_s));
    EXPECT_TRUE(s.description.contains(u"3021"_s));
}

TEST_F(RegistryTest, ClosingAWageWindowReleasesTheDatabase) {
    HostContext ctx;
    WindowRegistry reg(ctx);
    打印工资 host(ctx, reg);
    auto db = std::make_shared<slp::data::Database>(u"sqlite::memory:"_s);
    host.GetDB(db);
    EXPECT_EQ(db.use_count(), 2);

    // Closing windows that do not own the month's data keeps the database.
    for (WindowId id :
         {WindowId::CardExport, WindowId::SpecialPrint, WindowId::PrintPreview, WindowId::Query}) {
        reg.windowClosed(id);
        EXPECT_EQ(ctx.database, db);
    }
    for (WindowId id : {WindowId::EmployeeTable, WindowId::DepartmentPayment, WindowId::DepartmentSummary}) {
        host.GetDB(db);
        reg.windowClosed(id);
        EXPECT_EQ(ctx.database, nullptr);
    }
    EXPECT_EQ(db.use_count(), 1);
}

}  // namespace

namespace {
TEST_F(RegistryTest, QtDialogsSpeakChinese) {
    if (!slp::ui::installQtChineseTranslations()) {
        GTEST_SKIP() << "Qt's Chinese translations are not installed (qt6-translations-l10n)";
    }
    // The buttons of a message box and the file dialog's labels come out of Qt's own translations.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("是(&Y)"));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "File &name:"), QStringLiteral("File &name:"));
    EXPECT_TRUE(slp::ui::installQtChineseTranslations()) << "a second call keeps them";
}
}  // namespace
