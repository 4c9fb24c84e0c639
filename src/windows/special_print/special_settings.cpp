#include "special_settings.h"

#include "basic/conversions.h"
#include "settings/store.h"

using namespace Qt::StringLiterals;

namespace slp::windows::special {

namespace {

const QString kPaperSection = u"打印纸张设置"_s;
const QString kSpecialSection = u"特殊设置"_s;
const QString kCalibrationSection = u"打印机校准"_s;
const QString kPlacementSection = u"特殊打印设置Settings"_s;

double numberOr(const settings::Store& store, const QString& app, const QString& section, const QString& key,
                double fallback) {
    const auto text = store.find(app, section, key);
    if (!text || !isNumericText(*text)) return fallback;
    return leadingValue(*text);
}

}  // namespace

SpecialSettings readSpecialSettings(const settings::Store& store, const QString& unitCode) {
    const QString app = settings::appUnitGZ(unitCode);
    SpecialSettings s;
    s.paper.setWidth(numberOr(store, app, kPaperSection, u"纸张宽度"_s, s.paper.width()));
    s.paper.setHeight(numberOr(store, app, kPaperSection, u"纸张高度"_s, s.paper.height()));
    if (const auto flag = store.find(app, kSpecialSection, u"特殊设置"_s)) {
        s.onePerPage = toBool(*flag).value_or(false);
    }
    s.background = store.read(app, kSpecialSection, u"背景图片"_s, {});
    return s;
}

void writePaperWidth(settings::Store& store, const QString& unitCode, double cm) {
    store.write(settings::appUnitGZ(unitCode), kPaperSection, u"纸张宽度"_s, plainNumber(cm * 567));
}

void writePaperHeight(settings::Store& store, const QString& unitCode, double cm) {
    store.write(settings::appUnitGZ(unitCode), kPaperSection, u"纸张高度"_s, plainNumber(cm * 567));
}

void writeOnePerPage(settings::Store& store, const QString& unitCode, bool on) {
    store.write(settings::appUnitGZ(unitCode), kSpecialSection, u"特殊设置"_s, on ? u"True"_s : u"False"_s);
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
    const QString app = settings::appComponent();
    const auto get = [&](const QString& key, int fallback) {
        return int(numberOr(store, app, kPlacementSection, key, fallback));
    };
    return {get(u"MainLeft"_s, 1000), get(u"MainTop"_s, 1000), get(u"MainWidth"_s, 6500),
            get(u"MainHeight"_s, 4500)};
}

void writePlacement(settings::Store& store, const QRect& twips) {
    const QString app = settings::appComponent();
    store.write(app, kPlacementSection, u"MainLeft"_s, QString::number(twips.x()));
    store.write(app, kPlacementSection, u"MainTop"_s, QString::number(twips.y()));
    store.write(app, kPlacementSection, u"MainWidth"_s, QString::number(twips.width()));
    store.write(app, kPlacementSection, u"MainHeight"_s, QString::number(twips.height()));
}

}  // namespace slp::windows::special
