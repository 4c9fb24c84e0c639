#pragma once
// A grid copied into a spreadsheet for the clerk: every cell as shown, amounts as numbers, in a new .xlsx
// workbook (grid cell (r, c) at sheet row r + 1, column c + 1, so (0, 0) is A1), which is then opened with
// the desktop's spreadsheet program. The workbook's title and company read "朔岚软件".
#include <QString>
#include <QStringList>
#include <functional>

#include "basic/prompts.h"

namespace slp {
class Clock;
}

namespace slp::data {
class WageGrid;
}

namespace slp::sheet {

// Told the grid rows written so far and the grid's rows while a workbook is written (every few thousand
// rows and at the end); false stops the writing: nothing is written then.
using WorkbookProgress = std::function<bool(int rowsWritten, int rows)>;

// Hands a finished file to the program that opens it; false when nothing opened it.
using FileOpener = std::function<bool(const QString& path)>;

// The desktop's own choice (QDesktopServices::openUrl), when a program for workbooks is installed: the
// desktop would otherwise start its opener and report success with nothing opened.
bool openWithDesktop(const QString& path);

// Whether a desktop entry (*.desktop) in one of `folders`, or their mimeinfo.cache, names the .xlsx
// workbook type among the types it opens. The folders are the applications folders of the
// XDG data directories by default.
bool workbookProgramInstalled(const QStringList& folders = {});

// The folder exported workbooks go to: the user's documents folder ("Sl_PAYPRN" inside it is not
// made; the clerk finds the file where the other documents are), the home folder when there is none.
QString defaultSpreadsheetFolder();

struct SpreadsheetOptions {
    QString folder = defaultSpreadsheetFolder();
    QString baseName = QStringLiteral("工资表");  // the file is baseName_yyyyMMdd_HHmmss[_n].xlsx
    const Clock* clock = nullptr;                 // the time in the name; the system clock when null
    FileOpener opener = openWithDesktop;
    WorkbookProgress progress;  // none: the workbook is written without reports
};

// Writes every cell of `grid` into the first sheet of a new workbook at `path`: the data cells of a
// column with an amount format (WageGrid::amountFormat) that hold a number as number cells in that format,
// every other cell as a text cell, as shown. The file
// appears complete or not at all. Throws slp::Error (70 the file cannot be created, 57 writing failed,
// 5 a grid or text beyond what a sheet holds). False when `progress` stopped it (no file is left).
bool WriteGridWorkbook(const data::WageGrid& grid, const QString& path,
                       const WorkbookProgress& progress = {});

// A path in `folder` that does not exist yet: baseName_yyyyMMdd_HHmmss.xlsx, with _2, _3 ... when taken.
QString uniqueWorkbookPath(const QString& folder, const QString& baseName, const Clock& clock);

// The whole export: writes the workbook to a new file in options.folder and opens it. When no program
// opens it the clerk is told where it was saved (through `prompts`). Returns the file's path, empty when
// options.progress stopped the writing (nothing written, opened or said). Throws slp::Error when the
// workbook cannot be written; nothing is opened then.
QString ExportGridToSpreadsheet(const data::WageGrid& grid, Prompts& prompts,
                                const SpreadsheetOptions& options = {});

}  // namespace slp::sheet
