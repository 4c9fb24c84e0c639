#pragma once
// The bank payroll-card export window SlgzSJSC without its widgets: the four fields, the card type,
// the card grid with its totals, the status texts, the file and sort menus, the settings it keeps and
// the file command that hands the grid to the bank writers. The window class shows this state and
// forwards the clerk's actions; the command line drives the same steps.
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "basic/error.h"
#include "basic/prompts.h"
#include "data/host_context.h"
#include "data/wage_grid_model.h"
#include "export/card_input.h"
#include "settings/keys.h"
#include "settings/store.h"

namespace slp::card {

// The caption and state of the file menu's first item.
struct FileMenuItem {
    QString caption;
    bool enabled = false;
};

// Hands a grid to the spreadsheet program ("转到Excel"). Throws slp::Error when that fails.
using GridExporter = std::function<void(const data::WageGrid& grid, Prompts& prompts)>;

class CardExportForm {
  public:
    // Text1(0) ... Text1(3)
    enum Field { UnitCode = 0, CreditDate = 1, HeadCount = 2, TotalAmount = 3 };
    static constexpr int kFieldCount = 4;
    // The menu indexes of the file menu.
    static constexpr int kSaveFile = 10, kToSpreadsheet = 20, kExit = 90;

    // `host` is read at every step (the host may change it between them); `defaultFolder` is the
    // folder the save dialog starts in while nothing is stored under "文件位置".
    CardExportForm(const HostContext& host, settings::Store& store, Prompts& prompts, QString defaultFolder,
                   GridExporter exporter = {});

    // Form_Load: card types and the stored choice, the fields, the month's amount item, the grid in the
    // order of 工号 and the status texts. False when it stopped early (no database, no items for the
    // month, or a fault of the database, each told to the clerk); the window stays usable then.
    bool load();
    // Form_Unload: keeps the card type ("工资卡名称"). A store that cannot be written is told.
    void unload();

    // Combo1
    const QStringList& cardTypeList() const { return cardTypeList_; }
    const QString& cardType() const { return cardType_; }
    // Combo1_Click: the list item becomes the text, then the first field is relabelled.
    void clickCardType(const QString& type);
    // Combo1_KeyUp: "邮局局号:" for the postal savings card, "单位代码:" for any other text.
    void relabelUnitCode();
    // Label1(0); the designed caption is "单位代码：".
    const QString& unitCodeLabel() const { return unitCodeLabel_; }

    // Text1(i), as shown and as edited by the clerk.
    const QString& field(int i) const { return fields_.at(size_t(i)); }
    void setField(int i, const QString& text) { fields_.at(size_t(i)) = text; }

    // MSGrid1
    data::WageGridModel& gridModel() { return model_; }
    const data::WageGrid& grid() const { return model_.grid(); }

    // SBar1's two panels (1 and 2).
    const QString& statusText(int panel) const { return panel == 1 ? status1_ : status2_; }

    // MnuFileS_Click: prepares the first item of the file menu and returns it.
    const FileMenuItem& openFileMenu();
    const FileMenuItem& fileMenuItem() const { return fileMenu_; }
    // MnuFile_Click: 10 writes the card file, 20 hands the grid to the spreadsheet, 90 asks the window
    // to close (true).
    bool fileCommand(int index);
    // MnuPx_Click with 10, 20, 30 or 40. False when the new order could not be queried (the clerk has
    // been told) or the index is no sort item.
    bool sortCommand(int index);
    // The index of the checked sort item (0 when none is).
    int checkedSort() const { return checkedSort_; }

    // GetCardFileName: the stored file name of a card type with its default; "未知文件格式" for any other.
    QString cardFileName(QStringView type) const;

    // The form's own variables; they outlive a closing of the window.
    const QString& amountItem() const { return amountItem_; }
    const QString& sortColumn() const { return sortColumn_; }
    const QString& cardFileTitle() const { return cardFileTitle_; }
    const QString& cardFilePath() const { return cardFilePath_; }

    // The card query as the present month, amount item and order give it.
    QString cardQuery() const;
    // LoadCardGrid: runs the card query and fills the grid, the count, the total and status panel 2.
    // Throws the database's errors (the grid is then left as the query found it: empty).
    void loadCardGrid();
    // What the bank writers get: the four fields, the host's unit name and the grid's rows.
    bank::CardFileInput cardFileInput() const;
    // What a clerk should look at before the file of `cardType` is written; empty when nothing caught
    // the eye or the type has no file layout.
    QStringList checkBeforeWriting() const;

  private:
    void resetControls();
    bool hasDatabase();
    void showError(const Error& e);
    void saveCardFile();
    settings::Setting setting(const settings::KeyDef& key) const;

    const HostContext& host_;
    settings::Store& store_;
    Prompts& prompts_;
    QString defaultFolder_;
    GridExporter exporter_;

    // Controls: rebuilt at every loading.
    QStringList cardTypeList_;
    QString cardType_;
    QString unitCodeLabel_;
    std::array<QString, kFieldCount> fields_;
    data::WageGridModel model_;
    QString status1_;
    QString status2_;
    FileMenuItem fileMenu_;
    int checkedSort_ = 0;
    bool monthLoaded_ = false;  // the opening found the month's items (the sort menu may re-query)

    // Form variables.
    QString amountItem_;
    QString sortColumn_ = QStringLiteral("[16工资输出数据].工号");
    QString cardFileTitle_;
    QString cardFilePath_;
};

}  // namespace slp::card
