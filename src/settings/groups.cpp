#include "settings/groups.h"

#include <functional>
#include <optional>

#include "basic/conversions.h"
#include "basic/error.h"

namespace slp::settings {

namespace {

// Attempts every write of a save, so one failing key does not keep the others from being written,
// and reports the first failure afterwards.
class SaveAll {
  public:
    void operator()(const std::function<void()>& write) {
        try {
            write();
        } catch (const Error& e) {
            if (!first_) first_.emplace(e);
        }
    }
    void finish() const {
        if (first_) throw *first_;
    }

  private:
    std::optional<Error> first_;
};

}  // namespace

PreviewLayoutSettings PreviewLayoutSettings::load(const Store& store, const QString& unitCode,
                                                  const QString& reportKind) {
    auto at = [&](const KeyDef& def) { return resolve(def, unitCode, reportKind); };
    PreviewLayoutSettings s;
    s.columnsPerLine = readInt16(store, at(key::ColumnsPerLine));
    s.continuationIndent = readInt16(store, at(key::ContinuationIndent));
    s.printSignOff = readTrueFalse(store, at(key::PrintSignOff));
    s.printPayDate = readTrueFalse(store, at(key::PrintPayDate));
    s.horizontalRules = readYesNo(store, at(key::HorizontalRules));
    s.verticalRules = readYesNo(store, at(key::VerticalRules));
    s.middleRules = readYesNo(store, at(key::MiddleRules));
    s.innermostMiddleRule = readYesNo(store, at(key::InnermostMiddleRule));
    return s;
}

void PreviewLayoutSettings::save(Store& store, const QString& unitCode, const QString& reportKind) const {
    auto at = [&](const KeyDef& def) { return resolve(def, unitCode, reportKind); };
    SaveAll all;
    all([&] { writeInt16(store, at(key::ColumnsPerLine), columnsPerLine); });
    all([&] { writeYesNo(store, at(key::HorizontalRules), horizontalRules); });
    all([&] { writeYesNo(store, at(key::VerticalRules), verticalRules); });
    all([&] { writeYesNo(store, at(key::MiddleRules), middleRules); });
    all([&] { writeYesNo(store, at(key::InnermostMiddleRule), innermostMiddleRule); });
    all([&] { writeInt16(store, at(key::ContinuationIndent), continuationIndent); });
    all.finish();
}

void PreviewLayoutSettings::savePrintSignOff(Store& store, const QString& unitCode, const QString& reportKind,
                                             bool on) {
    writeTrueFalse(store, resolve(key::PrintSignOff, unitCode, reportKind), on);
}

void PreviewLayoutSettings::savePrintPayDate(Store& store, const QString& unitCode, const QString& reportKind,
                                             bool on) {
    writeTrueFalse(store, resolve(key::PrintPayDate, unitCode, reportKind), on);
}

PrintOriginSettings PrintOriginSettings::load(const Store& store, const QString& reportKind) {
    auto at = [&](const KeyDef& def) { return resolve(def, QString(), reportKind); };
    PrintOriginSettings s;
    s.originX = readSingle(store, at(key::OriginX));
    s.originY = readSingle(store, at(key::OriginY));
    s.rowHeight = readSingle(store, at(key::RowHeight));
    s.linesPerPage = readInt16(store, at(key::LinesPerPage));
    return s;
}

void PrintOriginSettings::save(Store& store, const QString& reportKind) const {
    auto at = [&](const KeyDef& def) { return resolve(def, QString(), reportKind); };
    SaveAll all;
    all([&] { writeSingle(store, at(key::OriginX), originX); });
    all([&] { writeSingle(store, at(key::OriginY), originY); });
    all([&] { writeSingle(store, at(key::RowHeight), rowHeight); });
    all([&] { writeInt16(store, at(key::LinesPerPage), linesPerPage); });
    all.finish();
}

TableLineWidths TableLineWidths::load(const Store& store, const QString& unitCode) {
    TableLineWidths s;
    s.lineWidth = readInt16(store, resolve(key::LineWidth, unitCode));
    s.outerLineWidth = readInt16(store, resolve(key::OuterLineWidth, unitCode));
    s.middleLineWidth = readInt16(store, resolve(key::MiddleLineWidth, unitCode));
    return s;
}

PaperSizeSettings PaperSizeSettings::load(const Store& store, const QString& unitCode) {
    auto readOne = [&](const KeyDef& written, const KeyDef& fallback) {
        const Setting s = resolve(written, unitCode);
        if (store.find(s.app, s.section, s.key)) return readSingle(store, s);
        return readSingle(store, resolve(fallback, unitCode));
    };
    PaperSizeSettings p;
    p.width = readOne(key::PaperWidth, key::PaperWidthGZGL);
    p.height = readOne(key::PaperHeight, key::PaperHeightGZGL);
    return p;
}

void PaperSizeSettings::saveWidth(Store& store, const QString& unitCode, float width) {
    writeSingle(store, resolve(key::PaperWidth, unitCode), width);
}

void PaperSizeSettings::saveHeight(Store& store, const QString& unitCode, float height) {
    writeSingle(store, resolve(key::PaperHeight, unitCode), height);
}

EmployeeTableSettings EmployeeTableSettings::load(const Store& store, const QString& unitCode) {
    return EmployeeTableSettings{readFlag(store, resolve(key::ShowZeros, unitCode))};
}

void EmployeeTableSettings::save(Store& store, const QString& unitCode) const {
    writeFlag(store, resolve(key::ShowZeros, unitCode), showZeros);
}

DepartmentPaymentSettings DepartmentPaymentSettings::load(const Store& store, const QString& unitCode,
                                                          const QString& caption) {
    DepartmentPaymentSettings s;
    s.splitterLeft = readSingle(store, resolve(key::SplitterLeft, unitCode, caption));
    s.listVisible = readTrueFalse(store, resolve(key::ListVisible, unitCode, caption));
    s.rowHeight = readSingle(store, resolve(key::PaymentRowHeight, unitCode));
    return s;
}

void DepartmentPaymentSettings::save(Store& store, const QString& unitCode, const QString& caption) const {
    SaveAll all;
    all([&] { writeTrueFalse(store, resolve(key::ListVisible, unitCode, caption), listVisible); });
    all([&] { writeSingle(store, resolve(key::SplitterLeft, unitCode, caption), splitterLeft); });
    all([&] { writeSingle(store, resolve(key::PaymentRowHeight, unitCode), rowHeight); });
    all.finish();
}

DesignerWindowSettings DesignerWindowSettings::load(const Store& store, const QString& caption) {
    auto at = [&](const KeyDef& def) { return resolve(def, QString(), caption); };
    DesignerWindowSettings s;
    s.left = readSingle(store, at(key::MainLeft));
    s.top = readSingle(store, at(key::MainTop));
    s.width = readSingle(store, at(key::MainWidth));
    s.height = readSingle(store, at(key::MainHeight));
    return s;
}

void DesignerWindowSettings::save(Store& store, const QString& caption) const {
    auto at = [&](const KeyDef& def) { return resolve(def, QString(), caption); };
    SaveAll all;
    all([&] { writeSingle(store, at(key::MainLeft), left); });
    all([&] { writeSingle(store, at(key::MainTop), top); });
    all([&] { writeSingle(store, at(key::MainWidth), width); });
    all([&] { writeSingle(store, at(key::MainHeight), height); });
    all.finish();
}

SpecialPrintSettings SpecialPrintSettings::load(const Store& store, const QString& unitCode, bool current) {
    const Setting s = resolve(key::OneRecordPerSheet, unitCode).withDefault(boolText(current));
    return SpecialPrintSettings{readTrueFalse(store, s)};
}

void SpecialPrintSettings::save(Store& store, const QString& unitCode) const {
    writeTrueFalse(store, resolve(key::OneRecordPerSheet, unitCode), oneRecordPerSheet);
}

CardExportSettings CardExportSettings::load(const Store& store, const QString& unitCode,
                                            const QString& defaultFolder) {
    CardExportSettings s;
    s.bankUnitCode = readText(store, resolve(key::CardUnitCode, unitCode));
    s.cardName = readText(store, resolve(key::CardName, unitCode));
    s.fileFolder = readText(store, resolve(key::CardFileFolder, unitCode).withDefault(defaultFolder));
    for (size_t i = 0; i < kFileNameKeys.size(); ++i) {
        s.fileNames[i] = readText(store, resolve(*kFileNameKeys[i], unitCode));
    }
    return s;
}

QString CardExportSettings::fileNameFor(QStringView fileKey) const {
    for (size_t i = 0; i < kFileNameKeys.size(); ++i) {
        if (kFileNameKeys[i]->key == fileKey) return fileNames[i];
    }
    return QString();
}

void CardExportSettings::save(Store& store, const QString& unitCode) const {
    SaveAll all;
    all([&] { writeText(store, resolve(key::CardUnitCode, unitCode), bankUnitCode); });
    all([&] { writeText(store, resolve(key::CardName, unitCode), cardName); });
    all([&] { writeText(store, resolve(key::CardFileFolder, unitCode), fileFolder); });
    all.finish();
}

}  // namespace slp::settings
