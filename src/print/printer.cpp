#include "print/printer.h"

#include <QDir>
#include <cmath>

#include "basic/prompts.h"
#include "print/page_recorder.h"

namespace slp::print {

QSizeF paperSizeTwips(const QPageLayout& layout) {
    const QPageSize size = layout.pageSize();
    double perUnit = 20;  // points
    switch (size.definitionUnits()) {
        case QPageSize::Millimeter:
            perUnit = 1440 / 25.4;
            break;
        case QPageSize::Inch:
            perUnit = 1440;
            break;
        case QPageSize::Pica:
            perUnit = 240;
            break;
        case QPageSize::Didot:
            perUnit = 0.375 * 1440 / 25.4;
            break;
        case QPageSize::Cicero:
            perUnit = 4.5 * 1440 / 25.4;
            break;
        case QPageSize::Point:
            break;
    }
    const QSizeF defined = size.definitionSize();
    QSizeF twips(std::round(defined.width() * perUnit), std::round(defined.height() * perUnit));
    if (layout.orientation() == QPageLayout::Landscape) twips.transpose();
    return twips;
}

Printer::Printer() = default;
Printer::~Printer() = default;

Sheet Printer::sheet() const {
    Sheet s;
    s.kind = TargetKind::Printer;
    s.size = QSizeF(paperWidth(), paperHeight());
    s.printableHeight = printableHeight();
    s.paperWidth = paperWidth();
    s.printableWidth = printableWidth();
    s.dpi = metricsDpi();
    return s;
}

std::unique_ptr<PageRecorder> Printer::newRecorder() const {
    return std::make_unique<PageRecorder>(sheet());
}

PageRecorder& Printer::recorder() {
    if (!recorder_) {
        recorder_ = newRecorder();
        recorder_->onEndDoc([this] { endDoc(); });
    }
    return *recorder_;
}

PrintTarget& Printer::target() {
    PageRecorder& r = recorder();
    // The paper may have changed since the last page.
    if (r.page().empty()) r.setSheet(sheet());
    return r;
}

bool Printer::jobActive() const {
    return jobOpen() || pageBegun_ || (recorder_ && !recorder_->page().empty());
}

void Printer::newPage() {
    PageRecorder& r = recorder();
    Page page = r.takePage();
    page.endsJob = false;
    printPage(page);
    pageBegun_ = true;
}

void Printer::endDoc() {
    if (recorder_ && (pageBegun_ || !recorder_->page().empty())) {
        Page page = recorder_->takePage();
        pageBegun_ = false;
        try {
            printPage(page);
        } catch (...) {
            dropJob();
            throw;
        }
    }
    pageBegun_ = false;
    if (jobOpen()) finishJob();
}

void Printer::abortDoc() {
    if (recorder_) recorder_->clearPage();
    pageBegun_ = false;
    if (jobOpen()) dropJob();
}

QString printedToFilesNotice(const Printer& printer, qsizetype filesBefore) {
    const QString folder = printer.outputFolder();
    if (folder.isEmpty()) return QString();
    const QStringList files = printer.writtenFiles().mid(filesBefore);
    if (files.size() == 1) {
        return QStringLiteral("已打印到PDF文件“%1”。").arg(QDir::toNativeSeparators(files.front()));
    }
    if (files.size() > 1) {
        return QStringLiteral("已打印到%1个PDF文件，文件在文件夹“%2”中。")
            .arg(files.size())
            .arg(QDir::toNativeSeparators(folder));
    }
    return QStringLiteral("已打印到PDF文件，文件在文件夹“%1”中。").arg(QDir::toNativeSeparators(folder));
}

void tellWherePrinted(const Printer& printer, Prompts& prompts, qsizetype filesBefore) {
    const QString notice = printedToFilesNotice(printer, filesBefore);
    if (!notice.isEmpty())
        prompts.messageBox(notice, QString(), MessageIcon::Information, MessageButtons::Ok);
}

}  // namespace slp::print
