#pragma once
// The fixed parts of a one-sheet workbook package, as the spreadsheet library wrote them before: the
// content types, the relationships, the document properties (title and company), the workbook, its
// styles and theme. The sheet itself is made in sheet_xml.h.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace slp::sheet {

// A part's name in the package and its bytes.
struct PackagePart {
    QByteArray name;
    QByteArray xml;
};

inline const QByteArray kSheetPartName = QByteArrayLiteral("xl/worksheets/sheet1.xml");

// The parts written before the sheet and after it, in the library's order. `title` and `company` go
// into the document properties, `created` (UTC) is the time of both creation and modification.
QList<PackagePart> partsBeforeSheet();
QList<PackagePart> partsAfterSheet(const QString& title, const QString& company, const QDateTime& created);

// The default Office theme (xl/theme/theme1.xml).
QByteArray themeXml();

// `text` escaped for XML element content (& < >).
QByteArray escapedXml(const QString& text);

}  // namespace slp::sheet
