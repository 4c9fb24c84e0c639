#include "print/pdf_spool_printer.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "basic/error.h"
#include "print/page.h"
#include "print/pdf/pdf_document.h"

using namespace Qt::StringLiterals;

namespace slp::print {

namespace {
QPageLayout marginless(const QPageSize& size, QPageLayout::Orientation orientation) {
    return QPageLayout(size, orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Point, QMarginsF(0, 0, 0, 0));
}
}  // namespace

PdfSpoolPrinter::PdfSpoolPrinter(QString folder, const QPageSize& size, QPageLayout::Orientation orientation)
    : folder_(QDir(folder).absolutePath()), layout_(marginless(size, orientation)) {
    if (!QDir().mkpath(folder_)) {
        throw Error(errnum::PathNotFound, u"无法建立打印文件夹“%1”"_s.arg(QDir::toNativeSeparators(folder_)));
    }
}

PdfSpoolPrinter::~PdfSpoolPrinter() {
    if (document_) dropJob();
}

QString PdfSpoolPrinter::jobFileName(int number) {
    return u"job-%1.pdf"_s.arg(number, 4, 10, QLatin1Char('0'));
}

int PdfSpoolPrinter::nextJobNumber() const {
    const QRegularExpression pattern(u"^job-(\\d+)\\.pdf$"_s);
    int last = 0;
    const QStringList names = QDir(folder_).entryList({u"job-*.pdf"_s}, QDir::Files);
    for (const QString& name : names) {
        const auto match = pattern.match(name);
        if (!match.hasMatch()) continue;
        bool ok = false;
        const int n = match.captured(1).toInt(&ok);
        if (ok && n > last) last = n;
    }
    return last + 1;
}

QString PdfSpoolPrinter::deviceName() const {
    return u"PDF:"_s + QDir::toNativeSeparators(folder_);
}

float PdfSpoolPrinter::paperWidth() const {
    return float(paperSizeTwips(layout_).width());
}
float PdfSpoolPrinter::paperHeight() const {
    return float(paperSizeTwips(layout_).height());
}
int PdfSpoolPrinter::paperSizeCode() const {
    return paperSizeCodeOf(layout_.pageSize());
}

void PdfSpoolPrinter::setPageLayout(const QPageSize& size, QPageLayout::Orientation orientation) {
    if (jobActive()) throw Error(printerError, u"打印作业进行中,不能更改纸张"_s);
    layout_ = marginless(size, orientation);
}

pdf::PdfDocument& PdfSpoolPrinter::job() {
    if (document_) return *document_;
    jobNumber_ = nextJobNumber();
    partPath_ = QDir(folder_).filePath(u"."_s + jobFileName(jobNumber_) + u".part"_s);
    try {
        document_ =
            std::make_unique<pdf::PdfDocument>(partPath_, jobFileName(jobNumber_), u"Sl_PAYPRN 朔岚软件"_s);
    } catch (...) {
        QFile::remove(partPath_);
        throw;
    }
    return *document_;
}

void PdfSpoolPrinter::printPage(const Page& page) {
    job().addPage(page, QSizeF(layout_.fullRectPoints().size()), kPenPixelTwips, metricsDpi());
}

void PdfSpoolPrinter::closeJob() {
    document_.reset();
}

void PdfSpoolPrinter::finishJob() {
    try {
        document_->finish();
    } catch (...) {
        closeJob();
        QFile::remove(partPath_);
        throw;
    }
    closeJob();
    // Another writer may have taken the number meanwhile: the job then gets the next free one.
    QString path = QDir(folder_).filePath(jobFileName(jobNumber_));
    if (QFile::exists(path)) path = QDir(folder_).filePath(jobFileName(nextJobNumber()));
    if (!QFile::rename(partPath_, path)) {
        QFile::remove(partPath_);
        throw Error(printerError, u"无法写入打印文件“%1”"_s.arg(QDir::toNativeSeparators(path)));
    }
    written_ << path;
}

void PdfSpoolPrinter::dropJob() {
    closeJob();
    QFile::remove(partPath_);
}

}  // namespace slp::print
