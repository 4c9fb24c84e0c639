#include "export/sheet_writer.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <optional>

#include "basic/error.h"
#include "basic/file_replace.h"
#include "export/zip_check.h"

using namespace Qt::StringLiterals;

namespace slp::sheet {

namespace {

constexpr int kInvalidArgument = 5;  // a grid or a text the sheet cannot hold
const QString kCompany = u"朔岚软件"_s;

// Closes a workbook that was not closed on the normal path (its memory and temporary files go).
struct WorkbookGuard {
    lxw_workbook* workbook = nullptr;
    ~WorkbookGuard() {
        if (workbook) workbook_close(workbook);
    }
    // Closes it now and returns the outcome: the file is written here.
    lxw_error close() {
        lxw_workbook* w = workbook;
        workbook = nullptr;
        return workbook_close(w);
    }
};

QString cellName(int row, int col) {
    QString letters;
    for (int c = col + 1; c > 0; c = (c - 1) / 26) letters.prepend(QChar(u'A' + char16_t((c - 1) % 26)));
    return letters + QString::number(row + 1);
}

[[noreturn]] void fail(int number, const QString& path, const QString& what) {
    throw Error(number, u"无法写入电子表格文件 "_s + QDir::toNativeSeparators(path) + u"："_s + what);
}

QString libraryText(lxw_error error) {
    return QString::fromUtf8(lxw_strerror(error));
}

}  // namespace

struct SheetWriter::State {
    QString path;
    QByteArray tmpdir = QFile::encodeName(QDir::tempPath());
    QByteArray utf8;
    std::optional<FileReplacement> part;  // declared first: it goes after the workbook is closed
    WorkbookGuard guard;
    lxw_worksheet* sheet = nullptr;
};

SheetWriter::SheetWriter(const QString& path) : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.path = path;
    const QFileInfo info(path);
    const QDir folder = info.absoluteDir();
    if (!folder.exists()) fail(errnum::PathNotFound, path, u"文件夹不存在"_s);
    if (info.isDir()) fail(errnum::PermissionDenied, path, u"这是一个文件夹"_s);

    // The workbook is written beside its place under a temporary name and renamed into place once
    // complete and on the disk, so the spreadsheet program (or the clerk) never sees half a file.
    try {
        s.part.emplace(path);
        s.part->close();
    } catch (const FileWriteError& e) {
        fail(e.number(), path, e.description());
    }
    lxw_workbook_options options{};
    // Rows go to a temporary file as they are written (texts inline, no shared table), so memory
    // stays flat however many employees the grid holds.
    options.constant_memory = LXW_TRUE;
    options.tmpdir = s.tmpdir.data();
    options.use_zip64 = LXW_TRUE;  // a very large grid may pass 4 GB of XML
    const QByteArray file = QFile::encodeName(s.part->temporaryPath());
    s.guard.workbook = workbook_new_opt(file.constData(), &options);
    if (!s.guard.workbook) fail(errnum::DeviceIo, path, u"内存不足"_s);

    QByteArray company = kCompany.toUtf8();
    lxw_doc_properties properties{};
    properties.title = company.data();
    properties.company = company.data();
    if (workbook_set_properties(s.guard.workbook, &properties) != LXW_NO_ERROR) {
        fail(errnum::DeviceIo, path, u"不能设置文档属性"_s);
    }
    s.sheet = workbook_add_worksheet(s.guard.workbook, nullptr);
    if (!s.sheet) fail(errnum::DeviceIo, path, u"不能建立工作表"_s);
}

SheetWriter::~SheetWriter() = default;

void SheetWriter::write(int row, int col, QStringView text) {
    if (text.isEmpty()) return;  // an empty cell stays blank
    State& s = *state_;
    s.utf8 = text.toUtf8();
    const lxw_error e = row < 0 || col < 0 ? LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE
                                           : worksheet_write_string(s.sheet, lxw_row_t(row), lxw_col_t(col),
                                                                    s.utf8.constData(), nullptr);
    if (e != LXW_NO_ERROR) {
        fail(kInvalidArgument, s.path, u"单元格 "_s + cellName(row, col) + u" "_s + libraryText(e));
    }
}

void SheetWriter::finish() {
    State& s = *state_;
    const QString& shownPath = s.path;
    // The rows wait in the library's temporary file, whose write errors it does not check.
    if (FILE* rows = s.sheet->optimize_tmpfile) {
        errno = 0;
        if (std::fflush(rows) != 0 || std::ferror(rows)) {
            const int error = errno != 0 ? errno : EIO;
            fail(errorNumberOf(error), shownPath, systemReason(error));
        }
    }

    errno = 0;
    const lxw_error e = s.guard.close();
    const int systemError = errno;
    // A full disk or a file past its size limit: the system's reason says more than the library's.
    if (e != LXW_NO_ERROR && errorNumberOf(systemError) == errnum::DiskFull) {
        fail(errnum::DiskFull, shownPath, systemReason(systemError));
    }
    if (e == LXW_ERROR_CREATING_XLSX_FILE || e == LXW_ERROR_CREATING_TMPFILE) {
        fail(errnum::PermissionDenied, shownPath, libraryText(e));
    }
    if (e != LXW_NO_ERROR) fail(errnum::DeviceIo, shownPath, libraryText(e));
    // The library writes its parts through temporary files without checking those writes: a part
    // cut short by a full disk or a size limit is found by reading the package back.
    const QString target = s.part->temporaryPath();
    if (const QString part = incompletePart(target); !part.isEmpty()) {
        if (errorNumberOf(systemError) == errnum::DiskFull) {
            fail(errnum::DiskFull, shownPath, systemReason(systemError) + u"，"_s + part);
        }
        fail(errnum::DeviceIo, shownPath, u"文件没有完整写入，"_s + part);
    }
    try {
        s.part->commit();
    } catch (const FileWriteError& e) {
        fail(e.number(), shownPath, e.description());
    }
}

}  // namespace slp::sheet
