#include "app/special_print/special_settings.h"

#include "basic/conversions.h"
#include "settings/groups.h"
#include "settings/store.h"

using namespace Qt::StringLiterals;

namespace slp::windows::special {

namespace {

const QString kSpecialSection = u"特殊设置"_s;
const QString kCalibrationSection = u"打印机校准"_s;

double numberOr(const settings::Store& store, const QString& app, const QString& section, const QString& key,
                double fallback) {
    const auto text = store.find(app, section, key);
    if (!text || !isNumericText(*text)) return fallback;
    return leadingValue(*text);
}

}  // namespace

SpecialSettings readSpecialSettings(const settings::Store& store, const QString& unitCode) {
    SpecialSettings s;
    const auto paper = settings::PaperSizeSettings::load(store, unitCode);
    s.paper = QSizeF(paper.width, paper.height);
    s.onePerPage = settings::SpecialPrintSettings::load(store, unitCode).oneRecordPerSheet;
    s.background = store.read(settings::appUnitGZ(unitCode), kSpecialSection, u"背景图片"_s, {});
    return s;
}

void writePaperWidth(settings::Store& store, const QString& unitCode, double cm) {
    settings::PaperSizeSettings::saveWidth(store, unitCode, float(cm * 567));
}

void writePaperHeight(settings::Store& store, const QString& unitCode, double cm) {
    settings::PaperSizeSettings::saveHeight(store, unitCode, float(cm * 567));
}

void writeOnePerPage(settings::Store& store, const QString& unitCode, bool on) {
    settings::SpecialPrintSettings{on}.save(store, unitCode);
}

void writeBackground(settings::Store& store, const QString& unitCode, const QString& path) {
    store.write(settings::appUnitGZ(unitCode), kSpecialSection, u"背景图片"_s, path);
}

QPointF readCalibrationMm(const settings::Store& store, const QString& unitCode, const QString& printer) {
    const QString app = settings::appUnitGZ(unitCode);
    return {numberOr(store, app, kCalibrationSection, printer + u"X偏移"_s, 0),
            numberOr(store, app, kCalibrationSection, printer + u"Y偏移"_s, 0)};
}

void writeCalibrationMm(settings::Store& store, const QString& unitCode, const QString& printer, QPointF mm) {
    const QString app = settings::appUnitGZ(unitCode);
    store.write(app, kCalibrationSection, printer + u"X偏移"_s, plainNumber(mm.x()));
    store.write(app, kCalibrationSection, printer + u"Y偏移"_s, plainNumber(mm.y()));
}

QRect readPlacement(const settings::Store& store) {
    const auto p = settings::DesignerWindowSettings::load(store);
    return QRect(int(p.left), int(p.top), int(p.width), int(p.height));
}

void writePlacement(settings::Store& store, const QRect& twips) {
    settings::DesignerWindowSettings{float(twips.x()), float(twips.y()), float(twips.width()),
                                     float(twips.height())}
        .save(store);
}

}  // namespace slp::windows::special
