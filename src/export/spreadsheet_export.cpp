#include "export/spreadsheet_export.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <vector>

#include "basic/clock.h"
#include "basic/error.h"
#include "basic/file_replace.h"
#include "data/wage_grid.h"
#include "export/sheet_writer.h"
#include "export/sheet_xml.h"

using namespace Qt::StringLiterals;

namespace slp::sheet {

namespace {

constexpr int kInvalidArgument = 5;  // a grid or a text the sheet cannot hold
constexpr int kRowsBetweenReports = 4096;

[[noreturn]] void fail(int number, const QString& path, const QString& what) {
    throw Error(number, u"无法写入电子表格文件 "_s + QDir::toNativeSeparators(path) + u"："_s + what);
}

}  // namespace

bool workbookProgramInstalled(const QStringList& folders) {
    static const QByteArray kWorkbookType =
        "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";
    const QStringList where =
        folders.isEmpty() ? QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation) : folders;
    for (const QString& folder : where) {
        const QDir dir(folder);
        QStringList files = dir.entryList({u"*.desktop"_s}, QDir::Files);
        files << u"mimeinfo.cache"_s;
        for (const QString& name : files) {
            QFile file(dir.filePath(name));
            if (!file.open(QIODevice::ReadOnly)) continue;
            while (!file.atEnd()) {
                const QByteArray line = file.readLine().trimmed();
                // "MimeType=a;b;" in an entry, "type=a.desktop;b.desktop;" in the cache.
                if (line.startsWith("MimeType=")) {
                    if (line.mid(9).split(';').contains(kWorkbookType)) return true;
                } else if (line.startsWith(kWorkbookType + '=') && line.size() > kWorkbookType.size() + 1) {
                    return true;
                }
            }
        }
    }
    return false;
}

bool openWithDesktop(const QString& path) {
    return workbookProgramInstalled() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString defaultSpreadsheetFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    return folder;
}

bool WriteGridWorkbook(const data::WageGrid& grid, const QString& path, const WorkbookProgress& progress) {
    if (grid.rows() > kSheetRows || grid.cols() > kSheetColumns) {
        fail(kInvalidArgument, path,
             u"表格有%1行%2列，超出工作表所能容纳的%3行%4列"_s.arg(grid.rows())
                 .arg(grid.cols())
                 .arg(kSheetRows)
                 .arg(kSheetColumns));
    }
    SheetWriter sheet(path);
    // The amount columns' styles; the caption rows stay texts in every column.
    std::vector<std::optional<NumberStyle>> styles(size_t(grid.cols()));
    for (int c = 0; c < grid.cols(); ++c) {
        if (const auto& format = grid.amountFormat(c)) styles[size_t(c)] = numberStyleOf(*format);
    }
    for (int r = 0; r < grid.rows(); ++r) {
        if (progress && r % kRowsBetweenReports == 0 && !progress(r, grid.rows())) return false;
        const bool data = r >= grid.fixedRows();
        for (int c = 0; c < grid.cols(); ++c) {
            const auto& style = styles[size_t(c)];
            if (data && style) {
                sheet.writeNumber(r, c, grid.textView(r, c), *style);
            } else {
                sheet.write(r, c, grid.textView(r, c));
            }
        }
    }
    if (progress && !progress(grid.rows(), grid.rows())) return false;  // nothing is left
    sheet.finish();
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
