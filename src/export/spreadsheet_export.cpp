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

bool openWithDesktop(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
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
    for (int r = 0; r < grid.rows(); ++r) {
        if (progress && r % kRowsBetweenReports == 0 && !progress(r, grid.rows())) return false;
        for (int c = 0; c < grid.cols(); ++c) sheet.write(r, c, grid.textView(r, c));
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
