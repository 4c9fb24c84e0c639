#include "export/spreadsheet_export.h"

#include <xlsxwriter.h>

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <cerrno>
#include <cstdio>
#include <optional>

#include "basic/clock.h"
#include "basic/error.h"
#include "basic/file_replace.h"
#include "data/wage_grid.h"
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

constexpr int kRowsBetweenReports = 4096;

// False when `progress` asked to stop.
bool fillSheet(lxw_worksheet* sheet, const data::WageGrid& grid, const QString& path,
               const WorkbookProgress& progress) {
    QByteArray utf8;
    for (int r = 0; r < grid.rows(); ++r) {
        if (progress && r % kRowsBetweenReports == 0 && !progress(r, grid.rows())) return false;
        for (int c = 0; c < grid.cols(); ++c) {
            const QStringView text = grid.textView(r, c);
            if (text.isEmpty()) continue;  // an empty cell stays blank
            utf8 = text.toUtf8();
            const lxw_error e =
                worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), utf8.constData(), nullptr);
            if (e != LXW_NO_ERROR) {
                fail(kInvalidArgument, path, u"单元格 "_s + cellName(r, c) + u" "_s + libraryText(e));
            }
        }
    }
    return !progress || progress(grid.rows(), grid.rows());
}

// Writes the workbook at `target` (a new file libxlsxwriter creates); false when `progress` stopped it.
bool writeWorkbookFile(const data::WageGrid& grid, const QString& target, const QString& shownPath,
                       const WorkbookProgress& progress) {
    QByteArray tmpdir = QFile::encodeName(QDir::tempPath());
    lxw_workbook_options options{};
    // Rows go to a temporary file as they are written (texts inline, no shared table), so memory
    // stays flat however many employees the grid holds.
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmpdir.data();
    options.use_zip64 = LXW_TRUE;  // a very large grid may pass 4 GB of XML
    const QByteArray file = QFile::encodeName(target);
    WorkbookGuard guard{workbook_new_opt(file.constData(), &options)};
    if (!guard.workbook) fail(errnum::DeviceIo, shownPath, u"内存不足"_s);

    QByteArray company = kCompany.toUtf8();
    lxw_doc_properties properties{};
    properties.title = company.data();
    properties.company = company.data();
    if (workbook_set_properties(guard.workbook, &properties) != LXW_NO_ERROR) {
        fail(errnum::DeviceIo, shownPath, u"不能设置文档属性"_s);
    }
    lxw_worksheet* sheet = workbook_add_worksheet(guard.workbook, nullptr);
    if (!sheet) fail(errnum::DeviceIo, shownPath, u"不能建立工作表"_s);
    if (!fillSheet(sheet, grid, shownPath, progress)) return false;  // the guard drops the workbook
    // The rows wait in the library's temporary file, whose write errors it does not check.
    if (FILE* rows = sheet->optimize_tmpfile) {
        errno = 0;
        if (std::fflush(rows) != 0 || std::ferror(rows)) {
            const int error = errno != 0 ? errno : EIO;
            fail(errorNumberOf(error), shownPath, systemReason(error));
        }
    }

    errno = 0;
    const lxw_error e = guard.close();
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
    if (const QString part = incompletePart(target); !part.isEmpty()) {
        if (errorNumberOf(systemError) == errnum::DiskFull) {
            fail(errnum::DiskFull, shownPath, systemReason(systemError) + u"，"_s + part);
        }
        fail(errnum::DeviceIo, shownPath, u"文件没有完整写入，"_s + part);
    }
    return true;
}

}  // namespace

bool openWithDesktop(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString defaultSpreadsheetFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    return folder;
}

bool WriteGridWorkbook(const data::WageGrid& grid, const QString& path, const WorkbookProgress& progress) {
    if (grid.rows() > LXW_ROW_MAX || grid.cols() > LXW_COL_MAX) {
        fail(kInvalidArgument, path,
             u"表格有%1行%2列，超出工作表所能容纳的%3行%4列"_s.arg(grid.rows())
                 .arg(grid.cols())
                 .arg(LXW_ROW_MAX)
                 .arg(LXW_COL_MAX));
    }
    const QFileInfo info(path);
    const QDir folder = info.absoluteDir();
    if (!folder.exists()) fail(errnum::PathNotFound, path, u"文件夹不存在"_s);
    if (info.isDir()) fail(errnum::PermissionDenied, path, u"这是一个文件夹"_s);

    // The workbook is written beside its place under a temporary name and renamed into place once
    // complete and on the disk, so the spreadsheet program (or the clerk) never sees half a file.
    std::optional<FileReplacement> part;
    try {
        part.emplace(path);
        part->close();
    } catch (const FileWriteError& e) {
        fail(e.number(), path, e.description());
    }
    if (!writeWorkbookFile(grid, part->temporaryPath(), path, progress)) {
        part->discard();
        return false;
    }
    try {
        part->commit();
    } catch (const FileWriteError& e) {
        fail(e.number(), path, e.description());
    }
    return true;
}

QString uniqueWorkbookPath(const QString& folder, const QString& baseName, const Clock& clock) {
    const QString stem = baseName + u'_' + clock.now().toString(u"yyyyMMdd_HHmmss"_s);
    const QDir dir(folder);
    QString path = dir.filePath(stem + u".xlsx"_s);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(stem + u'_' + QString::number(n) + u".xlsx"_s);
    return path;
}

QString ExportGridToSpreadsheet(const data::WageGrid& grid, Prompts& prompts,
                                const SpreadsheetOptions& options) {
    const SystemClock systemClock;
    const Clock& clock = options.clock ? *options.clock : systemClock;
    if (!QDir().mkpath(options.folder)) fail(errnum::PathNotFound, options.folder, u"无法建立文件夹"_s);
    const QString path = uniqueWorkbookPath(options.folder, options.baseName, clock);
    if (!WriteGridWorkbook(grid, path, options.progress)) return QString();
    const bool opened = options.opener && options.opener(path);
    if (!opened) {
        prompts.messageBox(
            u"没有找到能打开电子表格的程序。表格已保存在：\n"_s + QDir::toNativeSeparators(path),
            u"转到Excel"_s, MessageIcon::Information);
    }
    return path;
}

}  // namespace slp::sheet
