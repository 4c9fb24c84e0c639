#include "export/sheet_writer.h"

#include <zlib.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

#include "basic/error.h"
#include "basic/file_replace.h"
#include "export/deflate_spool.h"
#include "export/sheet_xml.h"
#include "export/xlsx_parts.h"
#include "export/zip_check.h"
#include "export/zip_writer.h"

using namespace Qt::StringLiterals;

namespace slp::sheet {

namespace {

constexpr int kInvalidArgument = 5;  // a grid or a text the sheet cannot hold
const QString kCompany = u"朔岚软件"_s;
// What a refused cell is told with, in the words of the library the workbook was written with before.
const QString kOutOfRange = u"Worksheet row or column index out of range."_s;
const QString kTooLong = u"String exceeds Excel's limit of 32,767 characters."_s;
// Rows gathered before they are handed to the deflating thread.
constexpr std::size_t kXmlPiece = 256 * 1024;

QString cellName(int row, int col) {
    QString letters;
    for (int c = col + 1; c > 0; c = (c - 1) / 26) letters.prepend(QChar(u'A' + char16_t((c - 1) % 26)));
    return letters + QString::number(row + 1);
}

[[noreturn]] void fail(int number, const QString& path, const QString& what) {
    throw Error(number, u"无法写入电子表格文件 "_s + QDir::toNativeSeparators(path) + u"："_s + what);
}

// One cell of the row under way: its column and where its XML lies in the row's bytes.
struct RowCell {
    int col;
    std::size_t begin;
    std::size_t end;
};

}  // namespace

struct SheetWriter::State {
    QString path;
    QDateTime created = QDateTime::currentDateTimeUtc();
    std::optional<FileReplacement> part;
    std::optional<DeflateSpool> spool;
    ByteBuffer xml;  // whole rows not yet handed to the spool
    // The row under way. Its cells usually come in column order; when not, they are put in order (the
    // last text given for a cell wins) as the row is closed.
    int row = -1;
    bool anyRow = false;
    ByteBuffer rowXml;
    std::vector<RowCell> cells;
    bool cellsInOrder = true;
    // The used range.
    int firstRow = INT_MAX, firstCol = INT_MAX, lastRow = -1, lastCol = -1;

    void closeRow();
};

void SheetWriter::State::closeRow() {
    if (cells.empty()) return;  // no row under way: a row begins with its first cell
    if (!anyRow) xml.append("<sheetData>");
    anyRow = true;
    appendRowStart(xml, row);
    if (cellsInOrder) {
        xml.append(rowXml.data(), rowXml.size());
    } else {
        std::stable_sort(cells.begin(), cells.end(),
                         [](const RowCell& a, const RowCell& b) { return a.col < b.col; });
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i + 1 < cells.size() && cells[i + 1].col == cells[i].col) continue;  // given again later
            xml.append(rowXml.data() + cells[i].begin, cells[i].end - cells[i].begin);
        }
    }
    xml.append("</row>");
    rowXml.clear();
    cells.clear();
    cellsInOrder = true;
}

SheetWriter::SheetWriter(const QString& path) : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.path = path;
    const QFileInfo info(path);
    const QDir folder = info.absoluteDir();
    if (!folder.exists()) fail(errnum::PathNotFound, path, u"文件夹不存在"_s);
    if (info.isDir()) fail(errnum::PermissionDenied, path, u"这是一个文件夹"_s);

    // The workbook is written beside its place under a temporary name and renamed into place once
    // complete and on the disk, so the spreadsheet program (or the clerk) never sees half a file. The
    // sheet's rows wait, deflated, in a nameless temporary file until the package is put together.
    try {
        s.part.emplace(path);
        s.spool.emplace(QDir::tempPath());
    } catch (const FileWriteError& e) {
        fail(e.number(), path, e.description());
    }
}

SheetWriter::~SheetWriter() = default;

void SheetWriter::write(int row, int col, QStringView text) {
    if (text.isEmpty()) return;  // an empty cell stays blank
    if (row < 0 || col < 0) refuse(row, col, kOutOfRange);
    text = cellText(text);
    if (text.isEmpty()) return;
    State& s = *state_;
    const std::size_t begin = startCell(row, col, text);
    appendTextCell(s.rowXml, row, col, text);
    s.cells.push_back({col, begin, s.rowXml.size()});
}

void SheetWriter::writeNumber(int row, int col, QStringView number, NumberStyle style) {
    if (!isNumberCellText(number)) {
        write(row, col, number);
        return;
    }
    if (row < 0 || col < 0) refuse(row, col, kOutOfRange);
    State& s = *state_;
    const std::size_t begin = startCell(row, col, number);
    appendNumberCell(s.rowXml, row, col, number, style);
    s.cells.push_back({col, begin, s.rowXml.size()});
}

std::size_t SheetWriter::startCell(int row, int col, QStringView text) {
    State& s = *state_;
    // Rows come in order: a row before the one under way is outside what is left of the sheet.
    if (row >= kSheetRows || col >= kSheetColumns || row < s.row) refuse(row, col, kOutOfRange);
    s.firstRow = std::min(s.firstRow, row);
    s.firstCol = std::min(s.firstCol, col);
    s.lastRow = std::max(s.lastRow, row);
    s.lastCol = std::max(s.lastCol, col);
    if (text.size() > kCellCharacters && characterCount(text) > kCellCharacters) refuse(row, col, kTooLong);
    if (row != s.row) {
        s.closeRow();
        if (s.xml.size() >= kXmlPiece) {
            try {
                s.spool->add(s.xml);
            } catch (const FileWriteError& e) {
                fail(e.number(), s.path, e.description());
            }
        }
        s.row = row;
    }
    if (!s.cells.empty() && col <= s.cells.back().col) s.cellsInOrder = false;
    return s.rowXml.size();
}

void SheetWriter::refuse(int row, int col, const QString& reason) const {
    fail(kInvalidArgument, state_->path, u"单元格 "_s + cellName(row, col) + u" "_s + reason);
}

void SheetWriter::finish() {
    State& s = *state_;
    try {
        s.closeRow();
        if (s.anyRow) {
            s.xml.append("</sheetData>");
        } else {
            s.xml.append("<sheetData/>");
        }
        const QByteArray tail = sheetTail();
        s.xml.append(tail.constData(), std::size_t(tail.size()));
        s.spool->add(s.xml);
        s.spool->finish();

        // The sheet part: its opening (the used range now known) deflated on its own, then the rows.
        const QByteArray head = sheetHead(dimensionReference(s.firstRow, s.firstCol, s.lastRow, s.lastCol));
        const QByteArray headPacked = deflateOpening(head);
        const uLong headCrc =
            crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(head.constData()), uInt(head.size()));
        const DeflateSpool& rows = *s.spool;
        const quint32 crc = quint32(crc32_combine(headCrc, rows.crc(), z_off_t(rows.size())));

        ZipWriter zip([&](QByteArrayView bytes) { s.part->write(bytes); });
        for (const PackagePart& p : partsBeforeSheet()) zip.addPart(p.name, p.xml);
        zip.addDeflatedPart(kSheetPartName, crc, quint64(head.size()) + rows.size(),
                            quint64(headPacked.size()) + rows.packed(), [&](const ByteSink& sink) {
                                sink(headPacked);
                                rows.copyTo(sink);
                            });
        for (const PackagePart& p : partsAfterSheet(kCompany, kCompany, s.created))
            zip.addPart(p.name, p.xml);
        zip.finish();
        s.part->close();
        s.spool.reset();
    } catch (const FileWriteError& e) {
        fail(e.number(), s.path, e.description());
    }
    // Read back as a spreadsheet program will: every part inflates whole to its size and CRC.
    if (const QString part = incompletePart(s.part->temporaryPath()); !part.isEmpty()) {
        fail(errnum::DeviceIo, s.path, u"文件没有完整写入，"_s + part);
    }
    try {
        s.part->commit();
    } catch (const FileWriteError& e) {
        fail(e.number(), s.path, e.description());
    }
}

}  // namespace slp::sheet
