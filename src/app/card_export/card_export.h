#pragma once
// The bank payroll-card export 工资卡输出 without its widgets: the four fields, the card type, the card
// grid with its totals, the status texts, the file and sort menus, the settings it keeps and the file
// command that hands the grid to the bank writers. The window shows this state and forwards the clerk's
// actions; the command line drives the same steps. Messages and faults go to the prompts each step is
// given (faults through the window's one error report).
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

#include "app/card_export/card_grid.h"
#include "app/card_export/card_query.h"
#include "app/card_export/card_types.h"
#include "basic/error.h"
#include "basic/prompts.h"
#include "data/host_context.h"
#include "data/wage_grid_model.h"
#include "export/card_input.h"
#include "settings/keys.h"
#include "settings/store.h"

namespace slp::data {
class Database;
}

namespace slp::card {

// The caption and state of the file menu's first item.
struct FileMenuItem {
    QString caption;
    bool enabled = false;
};

// The commands of the file menu, in menu order.
enum class FileCommand { SaveCardFile, ToSpreadsheet, Exit };

// Hands a grid to the spreadsheet program ("转到Excel"). Throws slp::Error when that fails.
using GridExporter = std::function<void(const data::WageGrid& grid, Prompts& prompts)>;

class CardExport {
  public:
    // The four fields, top to bottom apart from the card type between the second and the third.
    enum Field { UnitCode = 0, CreditDate = 1, HeadCount = 2, TotalAmount = 3 };
    static constexpr int kFieldCount = 4;

    // `host` is read at every step (the host may change it between them); `defaultFolder` is the
    // folder the save dialog starts in while nothing is stored under "文件位置".
    CardExport(const HostContext& host, settings::Store& store, QString defaultFolder,
               GridExporter exporter = {});

    // Opening: card types and the stored choice, the fields, the month's amount item, the grid in the
    // order of 工号 and the status texts. False when it stopped early (no database, no items for the
    // month, or a fault of the database, each told to the clerk); the window stays usable then.
    // With `readGridLater` the grid is left empty for the caller to read (cardQuery(), readCardGrid(),
    // then showCardGrid()); gridToRead() then says so.
    bool open(Prompts& prompts, bool readGridLater = false);
    // Closing: keeps the card type ("工资卡名称"). A store that cannot be written is reported.
    void close(Prompts& prompts);

    // The card types of the list, and the chosen (or stored) one.
    const QStringList& cardTypeList() const { return cardTypeList_; }
    const QString& cardType() const { return cardType_; }
    // A card type chosen from the list: it becomes the text, then the first field is relabelled.
    void chooseCardType(const QString& type);
    // "邮局局号:" for the postal savings card, "单位代码:" for any other text.
    void relabelUnitCode();
    // The first field's caption; the designed one is "单位代码：".
    const QString& unitCodeLabel() const { return unitCodeLabel_; }

    // A field, as shown and as edited by the clerk.
    const QString& field(int i) const { return fields_.at(size_t(i)); }
    void setField(int i, const QString& text) { fields_.at(size_t(i)) = text; }

    // The card grid.
    data::WageGridModel& gridModel() { return model_; }
    const data::WageGrid& grid() const { return model_.grid(); }

    // The status bar's two panels (1 and 2).
    const QString& statusText(int panel) const { return panel == 1 ? status1_ : status2_; }

    // The file menu is opening: prepares its first item (the card file of the chosen type) and returns it.
    const FileMenuItem& prepareFileMenu();
    const FileMenuItem& fileMenuItem() const { return fileMenu_; }
    // Runs a command of the file menu; true when the window is to close (Exit).
    bool run(FileCommand command, Prompts& prompts);
    // Writes the card file of the chosen type where the clerk chooses, after the checks; keeps the folder
    // and the unit code. Faults are reported.
    void saveCardFile(Prompts& prompts);
    // Hands the grid to the spreadsheet exporter; a fault is reported.
    void exportToSpreadsheet(Prompts& prompts);

    // Orders the grid anew (when the order changes and the month was found) and shows the order's
    // caption. False when the new order could not be queried (the clerk has been told) or `order` is no
    // order of the menu.
    bool sortBy(SortOrder order, Prompts& prompts);
    // The checked order of the sort menu (none before a successful opening).
    std::optional<SortOrder> checkedSort() const { return checkedSort_; }

    // The stored file name of a card type with its default; "未知文件格式" for any other.
    QString cardFileName(QStringView type) const;

    // What the export keeps between openings of its window.
    const QString& amountItem() const { return amountItem_; }
    const QString& sortColumn() const { return sortColumn_; }
    const QString& cardFileTitle() const { return cardFileTitle_; }
    const QString& cardFilePath() const { return cardFilePath_; }

    // The card query as the present month, amount item and order give it.
    card::CardQuery cardQuery() const;
    // Runs the card query and fills the grid, the count, the total and status panel 2.
    // Throws the database's errors (the grid is then left as the query found it: empty).
    void queryCardGrid();
    // The card grid of `query`'s records read from `db`, and its count and total; any thread may read.
    // On SQLite the records come from a join of our own where that gives the query's very rows and
    // order (see card_join.h), else from the query. Throws the database's and the total's errors.
    struct CardGridRead {
        data::WageGrid grid;
        CardGridSummary summary;
    };
    static CardGridRead readCardGrid(data::Database& db, const card::CardQuery& query);
    // Shows a card grid read for the present order: the grid, the count, the total and status panel 2.
    void showCardGrid(data::WageGrid&& grid, const CardGridSummary& summary);
    // Whether opening left the card grid to be read apart (open(prompts, true) found the month).
    bool gridToRead() const { return gridToRead_; }
    // What the bank writers get: the four fields, the host's unit name and the grid's rows.
    bank::CardFileInput cardFileInput() const;
    // What a clerk should look at before the file of `cardType` is written; empty when nothing caught
    // the eye or the type has no file layout.
    QStringList checkBeforeWriting() const;

  private:
    void resetControls();
    bool hasDatabase(Prompts& prompts);
    void writeCardFile(Prompts& prompts);
    settings::Setting setting(const settings::KeyDef& key) const;

    const HostContext& host_;
    settings::Store& store_;
    QString defaultFolder_;
    GridExporter exporter_;

    // What the window shows: rebuilt at every opening.
    QStringList cardTypeList_;
    QString cardType_;
    QString unitCodeLabel_;
    std::array<QString, kFieldCount> fields_;
    data::WageGridModel model_;
    QString status1_;
    QString status2_;
    FileMenuItem fileMenu_;
    std::optional<SortOrder> checkedSort_;
    bool monthLoaded_ = false;  // the opening found the month's items (the sort menu may re-query)
    bool gridToRead_ = false;   // the opening left the grid to its caller

    // Kept between openings.
    QString amountItem_;
    QString sortColumn_ = QStringLiteral("[16工资输出数据].工号");
    QString cardFileTitle_;
    QString cardFilePath_;
};

}  // namespace slp::card
