// The window 工资卡输出 on the offscreen platform: its pages, fields, labels and grid, the menus as the
// clerk uses them, the save dialog answered from a script, and opening, raising and closing.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "basic/scripted_prompts.h"
#include "card_test_database.h"
#include "export/bank_card_writers.h"
#include "settings/keys.h"
#include "windows/card_export/card_export_registration.h"
#include "windows/card_export/card_export_window.h"

using namespace Qt::StringLiterals;
using slp::ScriptedPrompts;
using slp::card::CardExport;
using slp::card::CardExportHandle;
using slp::card::CardExportWindow;
using slp::card::FileCommand;
using slp::card::SortOrder;
using namespace slp::test;
namespace key = slp::settings::key;

namespace {

class CardWindowTest : public ::testing::Test {
  protected:
    CardWindowTest() : data(30), host(demoHost(data.database())), store(storeDir.path()) {
        data.keepCardNumbersTo(8);  // numbers every format holds (the 邮政卡 keeps 8 characters)
        slp::windows::WindowServices services;
        services.context = &host;
        services.store = std::shared_ptr<slp::settings::Store>(std::shared_ptr<void>(), &store);
        services.prompts = std::shared_ptr<slp::Prompts>(std::shared_ptr<void>(), &prompts);
        services.exportGrid = [this](const slp::data::WageGrid& g, slp::Prompts&) {
            exportedRows = g.rows();
        };
        handle = std::make_unique<CardExportHandle>(services, u"/home/clerk/文档"_s);
    }
    ~CardWindowTest() override {
        handle.reset();
        QApplication::processEvents();
    }

    CardExportWindow* open() {
        handle->showOrRaise();
        return handle->window();
    }
    template <class T>
    T* child(const QString& name) const {
        return handle->window()->findChild<T*>(name);
    }
    QString status(int panel) const { return child<QLabel>(u"SBar1_"_s + QString::number(panel))->text(); }
    void chooseCardType(int listIndex) {
        auto* combo = child<QComboBox>(u"Combo1"_s);
        combo->setCurrentIndex(listIndex);
        emit combo->activated(listIndex);
    }
    void openFileMenu() { emit handle->window()->fileMenu()->aboutToShow(); }
    std::optional<QString> stored(const slp::settings::KeyDef& k) const {
        const slp::settings::Store other(storeDir.path());
        const auto s = slp::settings::resolve(k, host.unitCode);
        return other.find(s.app, s.section, s.key);
    }

    CardDatabase data;
    slp::HostContext host;
    QTemporaryDir storeDir;
    QTemporaryDir outDir;
    slp::settings::Store store;
    ScriptedPrompts prompts;
    int exportedRows = -1;
    std::unique_ptr<CardExportHandle> handle;
};

TEST_F(CardWindowTest, OpensOnTheDetailPageWithItsFieldsInOrder) {
    slp::settings::writeText(store, slp::settings::resolve(key::CardUnitCode, u"0101"_s), u"330100"_s);
    CardExportWindow* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(handle->isOpen());
    EXPECT_EQ(w->windowTitle(), u"工资卡输出"_s);
    EXPECT_TRUE(prompts.asked.isEmpty());

    QTabWidget* pages = w->pages();
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->tabText(0), u"基本资料"_s);
    EXPECT_EQ(pages->tabText(1), u"详细资料"_s);
    EXPECT_EQ(pages->currentIndex(), 1);

    // Labels and controls top to bottom: unit code, credit date, card type, head count, total amount.
    const QStringList labels{u"单位代码："_s, u"进卡日期："_s, u"工资卡名称："_s, u"入卡人数："_s,
                             u"入卡金额："_s};
    const QStringList controls{u"Text1_0"_s, u"Text1_1"_s, u"Combo1"_s, u"Text1_2"_s, u"Text1_3"_s};
    auto* layout = qobject_cast<QGridLayout*>(child<QLabel>(u"Label1_0"_s)->parentWidget()->layout());
    ASSERT_NE(layout, nullptr);
    for (int i = 0; i < 5; ++i) {
        auto* label = child<QLabel>(u"Label1_"_s + QString::number(i));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), labels[i]);
        QWidget* control = w->findChild<QWidget*>(controls[i]);
        ASSERT_NE(control, nullptr) << controls[i].toStdString();
        EXPECT_EQ(label->buddy(), control);
        int row = -1, col = -1, rs = 0, cs = 0;
        layout->getItemPosition(layout->indexOf(control), &row, &col, &rs, &cs);
        EXPECT_EQ(row, i);
    }
    EXPECT_EQ(child<QLineEdit>(u"Text1_0"_s)->text(), u"330100"_s);
    EXPECT_EQ(child<QLineEdit>(u"Text1_1"_s)->text(), u"2000-04-25"_s);
    EXPECT_EQ(child<QLineEdit>(u"Text1_2"_s)->text(), QString::number(data.expectedCount()));
    EXPECT_EQ(child<QLineEdit>(u"Text1_3"_s)->text(), yuanText(data.expectedTotalFen()));
    auto* combo = child<QComboBox>(u"Combo1"_s);
    ASSERT_EQ(combo->count(), 6);
    EXPECT_EQ(combo->itemText(0), u"中国银行长城卡"_s);
    EXPECT_EQ(combo->itemText(5), u"中国农业银行白玉兰卡"_s);
    EXPECT_EQ(combo->currentText(), QString());

    // The grid: a view over the grid model, the caption row its own first row.
    QTableView* view = w->gridView();
    EXPECT_EQ(qobject_cast<QTableWidget*>(view), nullptr);
    EXPECT_EQ(view->model(), &handle->logic().gridModel());
    EXPECT_EQ(view->model()->rowCount(), data.expectedCount() + 1);
    EXPECT_EQ(view->model()->index(0, 2).data().toString(), u"卡号"_s);
    EXPECT_EQ(view->model()->index(1, 1).data().toString(), data.expectedRows().first().name);
    EXPECT_FALSE(view->horizontalHeader()->isVisible());
    const int twips[] = {540, 900, 2160, 900};
    for (int c = 0; c < 4; ++c)
        EXPECT_NEAR(view->columnWidth(c), twips[c] * view->logicalDpiX() / 1440.0, 1.0);

    EXPECT_EQ(status(1), u"工作年月:2000-04"_s);
    EXPECT_TRUE(status(2).startsWith(u"入卡人数为:"_s)) << status(2).toStdString();
    EXPECT_TRUE(w->sortAction(SortOrder::ByEmployeeNumber)->isChecked());
}

TEST_F(CardWindowTest, ThePostalCardRelabelsTheFirstField) {
    open();
    auto* label = child<QLabel>(u"Label1_0"_s);
    chooseCardType(2);
    EXPECT_EQ(handle->logic().cardType(), u"中国人民邮政储蓄卡"_s);
    EXPECT_EQ(label->text(), u"邮局局号:"_s);
    chooseCardType(4);
    EXPECT_EQ(label->text(), u"单位代码:"_s);
    // Typing into the list's box changes nothing.
    auto* combo = child<QComboBox>(u"Combo1"_s);
    QTest::keyClicks(combo->lineEdit(), u"xyz"_s);
    EXPECT_EQ(combo->currentText(), u"中国工商银行牡丹卡"_s);
    EXPECT_EQ(handle->logic().cardType(), u"中国工商银行牡丹卡"_s);
}

TEST_F(CardWindowTest, TheSortMenuChecksOneItemAndTellsItsCaption) {
    CardExportWindow* w = open();
    const QString firstByNumber = w->gridView()->model()->index(1, 1).data().toString();
    w->sortAction(SortOrder::ByName)->trigger();
    for (const SortOrder o :
         {SortOrder::ByEmployeeNumber, SortOrder::ByDepartment, SortOrder::ByCardNumber, SortOrder::ByName})
        EXPECT_EQ(w->sortAction(o)->isChecked(), o == SortOrder::ByName) << int(o);
    EXPECT_EQ(status(2), u"按姓名排序"_s);
    EXPECT_EQ(w->gridView()->model()->index(1, 1).data().toString(), handle->logic().grid().text(1, 1));
    EXPECT_EQ(handle->logic().sortColumn(), u"[16工资输出数据].姓名"_s);
    w->sortAction(SortOrder::ByEmployeeNumber)->trigger();
    EXPECT_EQ(w->gridView()->model()->index(1, 1).data().toString(), firstByNumber);
    EXPECT_TRUE(w->sortAction(SortOrder::ByEmployeeNumber)->isChecked());
    EXPECT_FALSE(w->sortAction(SortOrder::ByName)->isChecked());
    EXPECT_EQ(status(2), u"按职号排序"_s);
}

TEST_F(CardWindowTest, TheFileMenuIsPreparedWhenItOpens) {
    CardExportWindow* w = open();
    QAction* save = w->fileAction(FileCommand::SaveCardFile);
    openFileMenu();
    EXPECT_FALSE(save->isEnabled());  // no card type chosen
    chooseCardType(1);
    openFileMenu();
    EXPECT_TRUE(save->isEnabled());
    EXPECT_EQ(save->text(), u"保存为龙卡格式DFMX.TXT"_s);
    chooseCardType(0);
    openFileMenu();
    EXPECT_EQ(save->text(), u"保存为长城卡格式"_s);
    EXPECT_EQ(w->fileAction(FileCommand::ToSpreadsheet)->text(), u"转到Excel"_s);
    EXPECT_TRUE(child<QAction>(u"fileSeparator"_s)->isSeparator());
    EXPECT_EQ(w->fileAction(FileCommand::Exit)->text(), u"退出"_s);

    auto* tables = child<QMenu>(u"MnuSJB"_s);
    ASSERT_NE(tables, nullptr);
    EXPECT_FALSE(tables->menuAction()->isEnabled());
    EXPECT_EQ(child<QAction>(u"MnuSB_30"_s)->text(), u"第三表"_s);
    EXPECT_EQ(w->sortAction(SortOrder::ByCardNumber)->text(), u"按信用卡号排序"_s);
}

TEST_F(CardWindowTest, SavingWritesTheWritersBytesAndKeepsTheSettings) {
    CardExportWindow* w = open();
    auto* unitCode = child<QLineEdit>(u"Text1_0"_s);
    unitCode->clear();
    QTest::keyClicks(unitCode, u" 4401"_s);
    chooseCardType(4);  // 牡丹卡
    openFileMenu();
    const QString path = outDir.filePath(u"SLFGTFC"_s);
    prompts.answerSave(path);
    w->fileAction(FileCommand::SaveCardFile)->trigger();

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes, slp::bank::MudanCardBytes(handle->logic().cardFileInput()));
    EXPECT_TRUE(bytes.startsWith("F 4401    20000425 ")) << bytes.left(30).constData();
    EXPECT_EQ(status(2), u"工资卡输出完毕!"_s);
    EXPECT_EQ(stored(key::CardUnitCode), u"4401"_s);
    EXPECT_EQ(stored(key::CardFileFolder), outDir.path());
    bool dialogAsked = false;
    for (const auto& a : prompts.asked) {
        if (a.kind == ScriptedPrompts::Asked::Save) {
            dialogAsked = true;
            EXPECT_EQ(a.defaultText, u"/home/clerk/文档/SLFGTFC"_s);
        }
    }
    EXPECT_TRUE(dialogAsked);
}

TEST_F(CardWindowTest, ClosingKeepsTheCardTypeAndReopeningLoadsAfresh) {
    CardExportWindow* first = open();
    chooseCardType(5);
    child<QLineEdit>(u"Text1_2"_s)->setText(u"9"_s);
    emit child<QLineEdit>(u"Text1_2"_s)->textEdited(u"9"_s);
    EXPECT_EQ(handle->logic().field(CardExport::HeadCount), u"9"_s);
    first->close();
    EXPECT_FALSE(handle->isOpen());
    EXPECT_EQ(stored(key::CardName), u"中国农业银行白玉兰卡"_s);
    QApplication::processEvents();

    CardExportWindow* second = open();
    EXPECT_TRUE(handle->isOpen());
    EXPECT_EQ(child<QLineEdit>(u"Text1_2"_s)->text(), QString::number(data.expectedCount()));
    EXPECT_EQ(child<QComboBox>(u"Combo1"_s)->currentText(), u"中国农业银行白玉兰卡"_s);
    EXPECT_EQ(child<QLabel>(u"Label1_0"_s)->text(), u"单位代码："_s);
    EXPECT_EQ(second->pages()->currentIndex(), 1);
}

TEST_F(CardWindowTest, ASecondRequestOnlyRaisesTheOpenWindow) {
    CardExportWindow* w = open();
    emit child<QLineEdit>(u"Text1_3"_s)->textEdited(u"1.00"_s);
    child<QLineEdit>(u"Text1_3"_s)->setText(u"1.00"_s);
    EXPECT_EQ(open(), w);
    EXPECT_EQ(child<QLineEdit>(u"Text1_3"_s)->text(), u"1.00"_s);
    EXPECT_EQ(handle->logic().field(CardExport::TotalAmount), u"1.00"_s);
}

TEST_F(CardWindowTest, ExitClosesAndSpreadsheetHandsTheGridOver) {
    CardExportWindow* w = open();
    w->fileAction(FileCommand::ToSpreadsheet)->trigger();
    EXPECT_EQ(exportedRows, data.expectedCount() + 1);
    chooseCardType(3);
    w->fileAction(FileCommand::Exit)->trigger();
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(handle->isOpen());
    EXPECT_EQ(stored(key::CardName), u"中国工商银行浦江卡"_s);
}

TEST_F(CardWindowTest, WithoutADatabaseTheWindowOpensAndSaysSo) {
    host.database.reset();
    CardExportWindow* w = open();
    EXPECT_TRUE(w->isVisible());
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(prompts.asked[0].text.contains(u"数据库"_s));
    EXPECT_EQ(w->gridView()->model()->rowCount(), 0);
    w->sortAction(SortOrder::ByDepartment)->trigger();
    EXPECT_EQ(status(2), u"按部门排序"_s);
}

TEST(CardWindowRegistration, TheRegistryGetsTheCardWindowsFactory) {
    slp::HostContext host;
    slp::WindowRegistry registry(host);
    EXPECT_FALSE(registry.hasFactory(slp::WindowId::CardExport));
    slp::card::registerCardExportWindow(registry);
    EXPECT_TRUE(registry.hasFactory(slp::WindowId::CardExport));
    EXPECT_FALSE(registry.hasFactory(slp::WindowId::EmployeeTable));
}

}  // namespace

namespace {

// With the component's services the card grid is read on a thread of its own while the window shows;
// a command waits for it, and the grid, the head count and the total are those read on the host's
// connection.
TEST(CardWindowReadingApart, TheGridIsReadWhileTheWindowShowsAndACommandWaitsForIt) {
    CardDatabase data(40);
    slp::HostContext host = demoHost(data.database());
    QTemporaryDir storeDir;
    slp::settings::Store store(storeDir.path());
    ScriptedPrompts prompts;
    int exportedRows = -1;
    slp::windows::WindowServices services;
    services.context = &host;
    services.store = std::shared_ptr<slp::settings::Store>(std::shared_ptr<void>(), &store);
    services.prompts = std::shared_ptr<slp::Prompts>(std::shared_ptr<void>(), &prompts);
    services.exportGrid = [&](const slp::data::WageGrid& g, slp::Prompts&) { exportedRows = g.rows(); };
    services.fillApart = true;
    auto handle = std::make_unique<CardExportHandle>(services, u"/home/clerk/文档"_s);
    handle->showOrRaise();
    CardExportWindow* w = handle->window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->filling());
    EXPECT_EQ(w->logic().grid().rows(), 0);
    w->fileAction(FileCommand::ToSpreadsheet)->trigger();
    EXPECT_FALSE(w->filling());
    EXPECT_EQ(exportedRows, data.expectedCount() + 1);
    EXPECT_EQ(w->findChild<QLineEdit*>(u"Text1_2"_s)->text(), QString::number(data.expectedCount()));
    EXPECT_EQ(w->findChild<QLineEdit*>(u"Text1_3"_s)->text(), yuanText(data.expectedTotalFen()));
    const CardExport::CardGridRead eager = CardExport::readCardGrid(data.db(), w->logic().cardQuery());
    const slp::data::WageGrid& shown = w->logic().grid();
    ASSERT_EQ(shown.rows(), eager.grid.rows());
    ASSERT_EQ(shown.cols(), eager.grid.cols());
    for (int r = 0; r < shown.rows(); ++r) {
        for (int c = 0; c < shown.cols(); ++c) EXPECT_EQ(shown.text(r, c), eager.grid.text(r, c));
    }
    EXPECT_TRUE(prompts.asked.isEmpty());
    handle.reset();
    QApplication::processEvents();
}

}  // namespace
