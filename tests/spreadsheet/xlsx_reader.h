#pragma once
// Reads back what a test needs of an .xlsx file: the text of every cell of the first sheet by its
// reference ("A1"), and single elements of the document properties. The parts are taken out of the
// package with unzip, as a clerk's tools would see them.
#include <QByteArray>
#include <QMap>
#include <QString>

namespace slp::test {

// One part of the package ("xl/worksheets/sheet1.xml"); empty when unzip cannot give it.
QByteArray packagePart(const QString& xlsxPath, const QString& part);

struct SheetCell {
    QString type;   // the cell's t attribute ("s" for a shared string)
    QString text;   // the text the cell shows (a number's value)
    QString style;  // the cell's s attribute: its style's index in the style sheet, empty for none
};

// Every cell of the first sheet, keyed by reference. Shared strings are resolved.
QMap<QString, SheetCell> readSheetCells(const QString& xlsxPath);

// The text of the first element named `name` (local name, any prefix) in a part.
QString elementText(const QByteArray& xml, const QString& name);

// Whether unzip finds the package sound (every member's checksum).
bool packageIsSound(const QString& xlsxPath);

}  // namespace slp::test
