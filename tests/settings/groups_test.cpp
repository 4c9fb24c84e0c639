// The settings a window reads and writes together.
#include "settings/groups.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "basic/error.h"
#include "settings_test_support.h"

using namespace Qt::StringLiterals;
using namespace slp::settings;
using slp::settings::testing::fileBytes;

namespace {

const QString kSlip = kWageSlipReportKind.toString();

class SettingsGroups : public ::testing::Test {
  protected:
    QTemporaryDir home;
    Store store{home.path() + u"/Sl_PAYPRN"_s};
};

TEST_F(SettingsGroups, EmptyStoreGivesTheWageSlipPreviewDefaults) {
    const PrintOriginSettings origin = PrintOriginSettings::load(store, kSlip);
    EXPECT_EQ(origin.originX, 300.0f);
    EXPECT_EQ(origin.originY, 600.0f);
    EXPECT_EQ(origin.rowHeight, 360.0f);
    EXPECT_EQ(origin.linesPerPage, 40);
    const PreviewLayoutSettings layout = PreviewLayoutSettings::load(store, u"0101"_s, kSlip);
    EXPECT_EQ(layout.columnsPerLine, 24);
    EXPECT_EQ(layout.continuationIndent, 0);
    EXPECT_TRUE(layout.horizontalRules);
    EXPECT_TRUE(layout.verticalRules);
    EXPECT_TRUE(layout.middleRules);
    EXPECT_TRUE(layout.innermostMiddleRule);
    EXPECT_FALSE(layout.printSignOff);
    EXPECT_FALSE(layout.printPayDate);
    EXPECT_TRUE(QDir(store.folder()).isEmpty());
}

TEST_F(SettingsGroups, ADefaultConstructedGroupEqualsAnEmptyStore) {
    EXPECT_EQ(PreviewLayoutSettings{}, PreviewLayoutSettings::load(store, u"0101"_s, QString()));
    EXPECT_EQ(PrintOriginSettings{}, PrintOriginSettings::load(store, QString()));
    EXPECT_EQ(TableLineWidths{}, TableLineWidths::load(store, u"0101"_s));
    EXPECT_EQ(PaperSizeSettings{}, PaperSizeSettings::load(store, u"0101"_s));
    EXPECT_EQ(EmployeeTableSettings{}, EmployeeTableSettings::load(store, u"0101"_s));
    EXPECT_EQ(DepartmentPaymentSettings{}, DepartmentPaymentSettings::load(store, u"0101"_s));
    EXPECT_EQ(DesignerWindowSettings{}, DesignerWindowSettings::load(store));
    EXPECT_EQ(SpecialPrintSettings{}, SpecialPrintSettings::load(store, u"0101"_s));
    CardExportSettings card;
    card.fileFolder = u"/opt/"_s;
    EXPECT_EQ(card, CardExportSettings::load(store, u"0101"_s, u"/opt/"_s));
}

TEST_F(SettingsGroups, WageSlipAndTableLayoutsAreIndependent) {
    PreviewLayoutSettings slip = PreviewLayoutSettings::load(store, u"0101"_s, kSlip);
    slip.columnsPerLine = 30;
    slip.verticalRules = false;
    slip.save(store, u"0101"_s, kSlip);
    PrintOriginSettings origin;
    origin.rowHeight = 400;
    origin.save(store, kSlip);

    EXPECT_EQ(PreviewLayoutSettings::load(store, u"0101"_s, kSlip), slip);
    EXPECT_EQ(PreviewLayoutSettings::load(store, u"0101"_s, QString()), PreviewLayoutSettings{});
    EXPECT_EQ(PrintOriginSettings::load(store, kSlip).rowHeight, 400.0f);
    EXPECT_EQ(PrintOriginSettings::load(store, QString()).rowHeight, 360.0f);
    EXPECT_EQ(store.read(u"0101GZGL"_s, u"汇总表工资条设置"_s, u"每行列数"_s, u"?"_s), u"30"_s);
    EXPECT_EQ(store.read(u"0101GZGL"_s, u"汇总表设置"_s, u"每行列数"_s, u"?"_s), u"?"_s);
    EXPECT_EQ(store.read(u"Sl_PAYPRN"_s, u"工资条打印设置"_s, u"每行行高"_s, u"?"_s), u"400"_s);
}

TEST_F(SettingsGroups, ClosingDoesNotUndoTheSignOffMenu) {
    PreviewLayoutSettings opened = PreviewLayoutSettings::load(store, u"0101"_s, kSlip);
    PreviewLayoutSettings::savePrintSignOff(store, u"0101"_s, kSlip, true);
    PreviewLayoutSettings::savePrintPayDate(store, u"0101"_s, kSlip, true);
    opened.save(store, u"0101"_s, kSlip);  // the copy read at opening still says off
    const PreviewLayoutSettings now = PreviewLayoutSettings::load(store, u"0101"_s, kSlip);
    EXPECT_TRUE(now.printSignOff);
    EXPECT_TRUE(now.printPayDate);
    EXPECT_EQ(store.read(u"0101GZGL"_s, u"汇总表工资条设置"_s, u"是否打印签收"_s, u"?"_s), u"True"_s);
    EXPECT_EQ(store.read(u"0101GZGL"_s, u"汇总表工资条设置"_s, u"打印横线"_s, u"?"_s), u"是"_s);
}

TEST_F(SettingsGroups, TwoUnitsKeepTheirOwnValuesButShareTheComponentsKeys) {
    PreviewLayoutSettings a;
    a.columnsPerLine = 18;
    a.save(store, u"0101"_s, QString());
    EmployeeTableSettings{false}.save(store, u"0101"_s);
    PaperSizeSettings::saveWidth(store, u"0101"_s, 20000);
    CardExportSettings card;
    card.cardName = u"中国银行长城卡"_s;
    card.save(store, u"0101"_s);
    PrintOriginSettings origin;
    origin.originX = 500;
    origin.save(store, QString());
    DepartmentPaymentSettings payment;
    payment.rowHeight = 420;
    payment.listVisible = true;
    payment.save(store, u"0101"_s);

    EXPECT_EQ(PreviewLayoutSettings::load(store, u"0202"_s, QString()).columnsPerLine, 24);
    EXPECT_TRUE(EmployeeTableSettings::load(store, u"0202"_s).showZeros);
    EXPECT_EQ(PaperSizeSettings::load(store, u"0202"_s).width, 18000.0f);
    EXPECT_EQ(CardExportSettings::load(store, u"0202"_s, QString()).cardName, QString());
    EXPECT_EQ(PrintOriginSettings::load(store, QString()).originX, 500.0f);  // no unit in its name
    const DepartmentPaymentSettings other = DepartmentPaymentSettings::load(store, u"0202"_s);
    EXPECT_EQ(other.rowHeight, 360.0f);  // unit code & "GZ"
    EXPECT_TRUE(other.listVisible);      // "Sl_PAYPRN"

    EXPECT_EQ(PreviewLayoutSettings::load(store, u"0101"_s, QString()).columnsPerLine, 18);
    EXPECT_FALSE(EmployeeTableSettings::load(store, u"0101"_s).showZeros);
    EXPECT_EQ(DepartmentPaymentSettings::load(store, u"0101"_s).rowHeight, 420.0f);
    EXPECT_EQ(store.read(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"?"_s), u"0"_s);
    EXPECT_EQ(store.read(u"0101GZ"_s, u"打印设置"_s, u" 行高"_s, u"?"_s), u"420"_s);
    EXPECT_EQ(store.read(u"0101GZ"_s, u"打印设置"_s, u"行高"_s, u"?"_s), u"?"_s);

    // An empty unit code gives the bare names.
    EmployeeTableSettings{false}.save(store, QString());
    EXPECT_EQ(store.read(u"GZ"_s, u"打印"_s, u"显示零"_s, u"?"_s), u"0"_s);
    EXPECT_FALSE(fileBytes(store.folder() + u"/GZ.ini"_s).isEmpty());
}

TEST_F(SettingsGroups, WindowSectionsDifferOnlyInCase) {
    DepartmentPaymentSettings payment;
    payment.splitterLeft = 2500;
    payment.save(store, u"0101"_s);
    DesignerWindowSettings designer;
    designer.left = 200;
    designer.save(store);
    EXPECT_EQ(store.read(u"Sl_PAYPRN"_s, u"班组签收联SETTINGS"_s, u"IMAGELEFT"_s, u"?"_s), u"2500"_s);
    EXPECT_EQ(store.read(u"Sl_PAYPRN"_s, u"特殊打印设置Settings"_s, u"MainLeft"_s, u"?"_s), u"200"_s);
    EXPECT_EQ(store.read(u"Sl_PAYPRN"_s, u"班组签收联SETTINGS"_s, u"LISTV.VISIBLE"_s, u"?"_s), u"False"_s);
    // The same caption with both sections: neither disturbs the other.
    DesignerWindowSettings sameCaption;
    sameCaption.top = 77;
    sameCaption.save(store, u"班组签收联"_s);
    EXPECT_EQ(DepartmentPaymentSettings::load(store, u"0101"_s).splitterLeft, 2500.0f);
    EXPECT_EQ(DesignerWindowSettings::load(store, u"班组签收联"_s), sameCaption);
    EXPECT_EQ(DesignerWindowSettings::load(store), designer);
}

TEST_F(SettingsGroups, PaperSizeReadsWhatTheMenusWrite) {
    // A value kept under the "GZGL" name serves while "GZ" has none.
    store.write(u"0101GZGL"_s, u"打印纸张设置"_s, u"纸张宽度"_s, u"15000"_s);
    EXPECT_EQ(PaperSizeSettings::load(store, u"0101"_s).width, 15000.0f);
    PaperSizeSettings::saveWidth(store, u"0101"_s, 11340);
    PaperSizeSettings::saveHeight(store, u"0101"_s, 8505.5f);
    EXPECT_EQ(store.read(u"0101GZ"_s, u"打印纸张设置"_s, u"纸张宽度"_s, u"?"_s), u"11340"_s);
    EXPECT_EQ(store.read(u"0101GZ"_s, u"打印纸张设置"_s, u"纸张高度"_s, u"?"_s), u"8505.5"_s);
    const PaperSizeSettings paper = PaperSizeSettings::load(store, u"0101"_s);
    EXPECT_EQ(paper.width, 11340.0f);
    EXPECT_EQ(paper.height, 8505.5f);
}

TEST_F(SettingsGroups, SpecialPrintDefaultIsTheMenuState) {
    EXPECT_TRUE(SpecialPrintSettings::load(store, u"0101"_s, true).oneRecordPerSheet);
    EXPECT_FALSE(SpecialPrintSettings::load(store, u"0101"_s, false).oneRecordPerSheet);
    SpecialPrintSettings{false}.save(store, u"0101"_s);
    EXPECT_FALSE(SpecialPrintSettings::load(store, u"0101"_s, true).oneRecordPerSheet);
    EXPECT_EQ(store.read(u"0101GZ"_s, u"特殊设置"_s, u"特殊设置"_s, u"?"_s), u"False"_s);
}

TEST_F(SettingsGroups, CardExportFileNames) {
    const CardExportSettings fresh = CardExportSettings::load(store, u"0101"_s, u"/srv/payroll/"_s);
    const QString expected[] = {u""_s,       u"DFMX.TXT"_s, u"SEND.TXT"_s,
                                u"SLFGTF"_s, u"SLFGTFC"_s,  u"DFG2.DAT"_s};
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(fresh.fileNames[i], expected[i]) << i;
    EXPECT_EQ(fresh.fileNameFor(u"龙卡文件"), u"DFMX.TXT"_s);
    EXPECT_EQ(fresh.fileNameFor(u"白玉兰卡文件"), u"DFG2.DAT"_s);
    EXPECT_EQ(fresh.fileNameFor(u"工资卡名称"), QString());
    EXPECT_EQ(fresh.fileFolder, u"/srv/payroll/"_s);
    EXPECT_EQ(fresh.bankUnitCode, QString());

    store.write(u"0101GZ"_s, u"工资卡"_s, u"邮政卡文件"_s, u"POST.TXT"_s);
    CardExportSettings changed = CardExportSettings::load(store, u"0101"_s, u"/srv/payroll/"_s);
    EXPECT_EQ(changed.fileNameFor(u"邮政卡文件"), u"POST.TXT"_s);
    changed.bankUnitCode = u"310000"_s;
    changed.fileFolder = u"/home/clerk"_s;
    changed.save(store, u"0101"_s);
    EXPECT_EQ(CardExportSettings::load(store, u"0101"_s, u"/srv/payroll/"_s), changed);
}

TEST_F(SettingsGroups, AStoredTextThatIsNoNumberFailsTheLoad) {
    store.write(u"Sl_PAYPRN"_s, u"工资条打印设置"_s, u"每页行数"_s, u"四十"_s);
    EXPECT_THROW(PrintOriginSettings::load(store, kSlip), slp::ConversionError);
    EXPECT_NO_THROW(PrintOriginSettings::load(store, QString()));
    store.write(u"0101GZGL"_s, u"汇总表设置"_s, u"线的宽度"_s, u" 2 "_s);
    EXPECT_EQ(TableLineWidths::load(store, u"0101"_s).lineWidth, 2);
    store.write(u"0101GZGL"_s, u"汇总表设置"_s, u"外围线的宽度"_s, u"2px"_s);
    EXPECT_THROW(TableLineWidths::load(store, u"0101"_s), slp::ConversionError);
    store.write(u"Sl_PAYPRN"_s, u"班组签收联SETTINGS"_s, u"LISTV.VISIBLE"_s, u"maybe"_s);
    EXPECT_THROW(DepartmentPaymentSettings::load(store, u"0101"_s), slp::ConversionError);
}

TEST_F(SettingsGroups, ASaveWritesWhatItCanAndReportsTheFailure) {
    // The unit's file cannot be replaced (a folder is in its place); the component's file can.
    ASSERT_TRUE(QDir().mkpath(store.filePath(u"0101GZ"_s)));
    DepartmentPaymentSettings payment;
    payment.splitterLeft = 1500;
    payment.rowHeight = 500;
    EXPECT_THROW(payment.save(store, u"0101"_s), slp::Error);
    EXPECT_EQ(store.read(u"Sl_PAYPRN"_s, u"班组签收联SETTINGS"_s, u"IMAGELEFT"_s, u"?"_s), u"1500"_s);
}

}  // namespace
