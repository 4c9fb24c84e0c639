#pragma once
// A check of a finished .xlsx package, read back from the disk as a spreadsheet program reads it: every
// part inflates whole to its recorded size and CRC and every XML part is whole. The workbook is put
// together from pieces (the sheet's opening and its rows are deflated apart, the rows spooled through a
// temporary file), so the package is read back before it is renamed into place; this finds a part cut
// short or a record that does not match. Zip64 archives are read too.
#include <QString>

namespace slp::sheet {

// Empty when every part of the zip at `path` inflates to its recorded size and CRC and every XML part
// ends by closing its root element; otherwise what is wrong (the part's name and the fault).
QString incompletePart(const QString& path);

}  // namespace slp::sheet
