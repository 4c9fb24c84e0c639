#pragma once
// A workbook written a cell at a time, rows in order, so that a grid never has to be held whole: texts
// as text cells and amounts as number cells of the first sheet (grid cell (r, c) at sheet row r + 1, column c
// + 1), the title and company "朔岚软件", rows deflated into a temporary file as they come (memory stays flat
// however many rows), the file beside its place under a temporary name until finish() renames it in. Faults
// raise slp::Error with the numbers WriteGridWorkbook documents.
#include <QByteArray>
#include <QString>
#include <QStringView>
#include <memory>

#include "export/sheet_xml.h"

namespace slp::sheet {

class SheetWriter {
  public:
    // Starts the workbook for `path` (70 a folder that takes no file, 76 a missing folder).
    explicit SheetWriter(const QString& path);
    // Unless finished, nothing is left: neither the file nor the temporary one.
    ~SheetWriter();
    SheetWriter(const SheetWriter&) = delete;
    SheetWriter& operator=(const SheetWriter&) = delete;

    // A cell; an empty text stays blank. Rows come in increasing order, the cells of a row in any.
    // 5 for a cell beyond the sheet or a text it cannot hold.
    void write(int row, int col, QStringView text);
    // A number cell of `style`; `number` as isNumberCellText (sheet_xml.h) takes it, else a text cell.
    void writeNumber(int row, int col, QStringView number, NumberStyle style);
    // Writes the workbook out and puts it in its place (57 writing failed, 61 the disk is full).
    void finish();

  private:
    [[noreturn]] void refuse(int row, int col, const QString& reason) const;
    // Checks the cell's place, opens its row and says where its XML begins.
    std::size_t startCell(int row, int col, QStringView text);

    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace slp::sheet
