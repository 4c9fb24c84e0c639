#include "app/card_export/card_export.h"

#include <QFileInfo>
#include <exception>

#include "app/card_export/card_grid.h"
#include "app/card_export/card_join.h"
#include "app/card_export/card_query.h"
#include "app/card_export/card_types.h"
#include "app/shared/error_report.h"
#include "basic/error.h"
#include "data/database.h"
#include "export/bank_card_writers.h"
#include "export/card_checks.h"
#include "settings/keys.h"

using namespace Qt::StringLiterals;

namespace slp::card {

namespace {

const QString kWindowCaption = u"工资卡输出"_s;
constexpr qsizetype kWarningsShown = 20;  // more would not fit a message box

// Blanks (U+0020) removed at both ends, as the clerk's fields are trimmed.
QString trimBlanks(const QString& text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from] == u' ') ++from;
    while (to > from && text[to - 1] == u' ') --to;
    return text.mid(from, to - from);
}

QString checkMessage(const QStringList& warnings) {
    QString text = u"写入文件之前请核对以下各项：\n\n"_s + warnings.mid(0, kWarningsShown).join(u'\n');
    if (warnings.size() > kWarningsShown) text += u"\n……另有%1项"_s.arg(warnings.size() - kWarningsShown);
    return text + u"\n\n仍要按上面的内容写入文件吗？"_s;
}

}  // namespace

CardExport::CardExport(const HostContext& host, settings::Store& store, QString defaultFolder,
                       GridExporter exporter)
    : host_(host), store_(store), defaultFolder_(std::move(defaultFolder)), exporter_(std::move(exporter)) {
    resetControls();
}

settings::Setting CardExport::setting(const settings::KeyDef& key) const {
    return settings::resolve(key, host_.unitCode);
}

void CardExport::resetControls() {
    cardTypeList_.clear();
    cardType_.clear();
    unitCodeLabel_ = u"单位代码："_s;
    for (QString& f : fields_) f.clear();
    model_.update([](data::WageGrid& g) { g.resize(0, 0); });
    status1_.clear();
    status2_.clear();
    fileMenu_ = FileMenuItem{};
    checkedSort_.reset();
    monthLoaded_ = false;
}

bool CardExport::hasDatabase(Prompts& prompts) {
    if (host_.database) return true;
    prompts.messageBox(u"工资数据库尚未打开，无法读取本月的工资卡数据。请从工资管理程序重新打开本窗口。"_s,
                       kWindowCaption, MessageIcon::Warning);
    return false;
}

bool CardExport::open(Prompts& prompts, bool readGridLater) {
    resetControls();
    gridToRead_ = false;
    // The card types, and the stored choice whatever it is.
    for (const CardTypeInfo& t : cardTypes()) cardTypeList_ << t.type.toString();
    cardType_ = settings::readText(store_, setting(settings::key::CardName));
    fields_[UnitCode] = settings::readText(store_, setting(settings::key::CardUnitCode));
    fields_[CreditDate] = host_.payDate;
    if (!hasDatabase(prompts)) return false;
    try {
        data::ResultSet items = host_.database->open(cardItemsQuery(host_.monthKey()));
        if (items.eof()) {
            prompts.messageBox(u"本月公式未设置!"_s, QString(), MessageIcon::Warning);
            return false;
        }
        items.moveLast();
        amountItem_ = items.text(u"项目名称");
        items.close();
        monthLoaded_ = true;
        sortColumn_ = findSort(SortOrder::ByEmployeeNumber)->column.toString();
        checkedSort_ = SortOrder::ByEmployeeNumber;
        if (readGridLater) {
            gridToRead_ = true;
        } else {
            queryCardGrid();
        }
        status1_ = u"工作年月:"_s + host_.monthKey();
        return true;
    } catch (const Error& e) {
        windows::reportError(prompts, e);
        return false;
    }
}

void CardExport::close(Prompts& prompts) {
    try {
        settings::writeText(store_, setting(settings::key::CardName), cardType_);
    } catch (const Error& e) {
        windows::reportError(prompts, e);
    }
}

void CardExport::chooseCardType(const QString& type) {
    cardType_ = type;
    relabelUnitCode();
}

void CardExport::relabelUnitCode() {
    unitCodeLabel_ = cardType_ == kPostSavingsCard ? u"邮局局号:"_s : u"单位代码:"_s;
}

card::CardQuery CardExport::cardQuery() const {
    return {amountItem_, sortColumn_, host_.monthKey()};
}

void CardExport::queryCardGrid() {
    if (!host_.database) throw Error(91, u"工资数据库尚未打开"_s);
    model_.update([](data::WageGrid& g) { g.resize(0, 0); });
    CardGridRead read = readCardGrid(*host_.database, cardQuery());  // no half-filled grid on a fault
    showCardGrid(std::move(read.grid), read.summary);
}

CardExport::CardGridRead CardExport::readCardGrid(data::Database& db, const card::CardQuery& query) {
    CardGridRead read;
    if (std::optional<card::JoinedCardRows> joined = card::joinCardRows(db, query)) {
        read.summary = card::fillCardGrid(*joined, read.grid);
        return read;
    }
    data::ResultSet records = db.open(query.text());
    read.summary = fillCardGrid(records, read.grid);
    records.close();
    return read;
}

void CardExport::showCardGrid(data::WageGrid&& grid, const CardGridSummary& summary) {
    gridToRead_ = false;
    model_.replaceGrid(std::move(grid));
    fields_[HeadCount] = QString::number(summary.count);
    fields_[TotalAmount] = currencyText(summary.total);
    status2_ = u"入卡人数为:"_s + QString::number(summary.count) + u"人"_s + u" "_s + u"金额为:"_s +
               fields_[TotalAmount] + u"元"_s;
}

bool CardExport::sortBy(SortOrder order, Prompts& prompts) {
    const SortChoice* choice = findSort(order);
    if (!choice) return false;
    const QString before = sortColumn_;
    sortColumn_ = choice->column.toString();
    checkedSort_ = order;
    bool ok = true;
    if (sortColumn_ != before && monthLoaded_) {
        ok = hasDatabase(prompts);
        if (ok) {
            try {
                queryCardGrid();
            } catch (const Error& e) {
                windows::reportError(prompts, e);
                ok = false;
            }
        }
    }
    status2_ = choice->caption.toString();
    return ok;
}

QString CardExport::cardFileName(QStringView type) const {
    const CardTypeInfo* info = findCardType(type);
    if (!info) return u"未知文件格式"_s;
    return settings::readText(store_, setting(*info->fileKey));
}

const FileMenuItem& CardExport::prepareFileMenu() {
    if (cardType_.isEmpty()) {
        fileMenu_.enabled = false;
        return fileMenu_;
    }
    cardFileTitle_ = cardFileName(cardType_);
    const CardTypeInfo* info = findCardType(cardType_);
    fileMenu_.caption = info ? info->captionPrefix.toString() + cardFileTitle_ : u"未知文件格式!"_s;
    fileMenu_.enabled = true;
    return fileMenu_;
}

bool CardExport::run(FileCommand command, Prompts& prompts) {
    switch (command) {
        case FileCommand::SaveCardFile:
            saveCardFile(prompts);
            return false;
        case FileCommand::ToSpreadsheet:
            exportToSpreadsheet(prompts);
            return false;
        case FileCommand::Exit:
            return true;
    }
    return false;  // a value that is no command of the menu
}

void CardExport::exportToSpreadsheet(Prompts& prompts) {
    if (!exporter_) return;
    windows::runReported(prompts, [&] { exporter_(grid(), prompts); });
}

bank::CardFileInput CardExport::cardFileInput() const {
    bank::CardFileInput input;
    input.unitCode = fields_[UnitCode];
    input.creditDate = fields_[CreditDate];
    input.headCount = fields_[HeadCount];
    input.totalAmount = fields_[TotalAmount];
    input.unitName = host_.unitName;
    input.rows = cardRowsOf(grid());
    return input;
}

QStringList CardExport::checkBeforeWriting() const {
    const auto format = bank::cardFormatForType(cardType_);
    if (!format) return {};
    return bank::CheckCardFileInput(cardFileInput(), *format);
}

void CardExport::saveCardFile(Prompts& prompts) {
    windows::runReported(prompts, [&] { writeCardFile(prompts); });
}

void CardExport::writeCardFile(Prompts& prompts) {
    // A card type without a layout of its own writes nothing: said before a file is asked for, and
    // the status keeps what it said before.
    const auto format = bank::cardFormatForType(cardType_);
    if (!format) {
        prompts.messageBox(u"目前尚无此工资卡格式!"_s, kWindowCaption, MessageIcon::Warning);
        return;
    }
    // A card number the file would cut is refused before a file is asked for.
    bank::RefuseCutCardNumbers(cardFileInput(), *format);
    // A file the bank would load with figures that do not add up is worth a question first.
    const QStringList warnings = checkBeforeWriting();
    if (!warnings.isEmpty() &&
        prompts.messageBox(checkMessage(warnings), kWindowCaption, MessageIcon::Question,
                           MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    SaveDialogRequest request;
    request.title = u"另存为"_s;
    request.folder =
        settings::readText(store_, setting(settings::key::CardFileFolder).withDefault(defaultFolder_));
    request.fileName = cardFileTitle_;
    request.filter = u"所有文件 (*)"_s;
    const std::optional<QString> chosen = prompts.saveFile(request);
    if (!chosen) return;  // cancelled: no message
    const QFileInfo info(*chosen);
    cardFileTitle_ = info.fileName();
    cardFilePath_ = *chosen;
    if (!cardFileTitle_.isEmpty()) {
        settings::writeText(store_, setting(settings::key::CardFileFolder), info.absolutePath());
    }
    bank::WriteBankCardFile(*format, cardFileInput(), prompts, cardFilePath_);
    settings::writeText(store_, setting(settings::key::CardUnitCode), trimBlanks(fields_[UnitCode]));
    status2_ = u"工资卡输出完毕!"_s;
}

}  // namespace slp::card
