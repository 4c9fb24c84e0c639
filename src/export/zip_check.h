#pragma once
// A check of a finished .xlsx package: every XML part is whole. The spreadsheet library writes its
// parts through temporary files without checking those writes, so a full disk or a size limit can
// leave a well-formed zip whose parts are cut short; this finds them.
#include <QString>

namespace slp::sheet {

// Empty when every part of the zip at `path` inflates to its recorded size and CRC and every XML part
// ends by closing its root element; otherwise what is wrong (the part's name and the fault).
QString incompletePart(const QString& path);

}  // namespace slp::sheet
