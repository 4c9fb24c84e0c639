#pragma once
// The designer's settings: the paper of the sheet, one record a page, the window placement, and the
// two helps a clerk may use: a printer's calibration offset and the form's background picture.
#include <QPointF>
#include <QRect>
#include <QSizeF>
#include <QString>

namespace slp::settings {
class Store;
}

namespace slp::windows::special {

struct SpecialSettings {
    QSizeF paper{18000, 10000};  // twips
    bool onePerPage = false;
    QString background;  // path of the form's picture, "" for none
};

// The paper (read under unit code & "GZ", else "GZGL"; written under "GZ"), one record a page and the
// background picture ("特殊设置" 背景图片 under unit code & "GZ").
SpecialSettings readSpecialSettings(const settings::Store& store, const QString& unitCode);
void writePaperWidth(settings::Store& store, const QString& unitCode, double cm);
void writePaperHeight(settings::Store& store, const QString& unitCode, double cm);
void writeOnePerPage(settings::Store& store, const QString& unitCode, bool on);
void writeBackground(settings::Store& store, const QString& unitCode, const QString& path);

// The calibration of a printer in millimetres, "打印机校准" under the unit's application, keys the
// printer's name & "X偏移" / "Y偏移"; (0, 0) when none is stored.
QPointF readCalibrationMm(const settings::Store& store, const QString& unitCode, const QString& printer);
void writeCalibrationMm(settings::Store& store, const QString& unitCode, const QString& printer, QPointF mm);

// The window placement (twips): the component's application, section "特殊打印设置Settings".
QRect readPlacement(const settings::Store& store);
void writePlacement(settings::Store& store, const QRect& twips);

}  // namespace slp::windows::special
