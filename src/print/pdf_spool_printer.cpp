#include "print/pdf_spool_printer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "basic/error.h"
#include "basic/file_replace.h"
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

std::unique_ptr<PdfSpoolPrinter> PdfSpoolPrinter::oneFile(const QString& path, const QPageSize& size,
                                                          QPageLayout::Orientation orientation) {
    const QFileInfo info(path);
    if (info.fileName().isEmpty() || info.isDir()) {
        throw Error(errnum::PathNotFound, u"“%1”不是文件名"_s.arg(QDir::toNativeSeparators(path)));
    }
    auto printer = std::make_unique<PdfSpoolPrinter>(info.absolutePath(), size, orientation);
    printer->oneFile_ = info.absoluteFilePath();
    return printer;
}

// The temporary file of an unfinished job goes with its document.
PdfSpoolPrinter::~PdfSpoolPrinter() = default;

bool PdfSpoolPrinter::finishFile() {
    if (oneFile_.isEmpty()) return false;
    if (jobActive()) endDoc();
    if (fileDropped_)
        throw Error(printerError, u"打印作业已取消,未写入文件“%1”"_s.arg(QDir::toNativeSeparators(oneFile_)));
    if (!document_) return false;
    // Whatever happens, the job's temporary file goes with its document.
    const std::unique_ptr<pdf::PdfDocument> document = std::move(document_);
    document->finish();
    try {
        document->file().commit();
    } catch (const FileWriteError& e) {
        throw Error(printerError, pdf::PdfOutput::writeFailure(oneFile_, e.description()));
    }
    written_ << oneFile_;
    return true;
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
        // A number past the last one this printer gives is not one of its jobs.
        if (ok && n > last && n <= kLastJobNumber) last = n;
    }
    return last == kLastJobNumber ? 1 : last + 1;
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
namespace {
// A margin of `margin` twips on both ends of a side of `side` twips, unless the side is too short for it.
float marginOn(float side, float margin) {
    return side >= 4 * margin ? margin : 0;
}
}  // namespace

float PdfSpoolPrinter::marginX() const {
    return marginOn(paperWidth(), float(std::round(std::max(marginMm_, 0.0) * 1440 / 25.4)));
}
float PdfSpoolPrinter::marginY() const {
    return marginOn(paperHeight(), float(std::round(std::max(marginMm_, 0.0) * 1440 / 25.4)));
}
float PdfSpoolPrinter::printableWidth() const {
    return paperWidth() - 2 * marginX();
}
float PdfSpoolPrinter::printableHeight() const {
    return paperHeight() - 2 * marginY();
}

void PdfSpoolPrinter::setMarginMm(double millimetres) {
    if (jobActive()) throw Error(printerError, u"打印作业进行中,不能更改页边距"_s);
    marginMm_ = std::max(millimetres, 0.0);
}

int PdfSpoolPrinter::paperSizeCode() const {
    return paperSizeCodeOf(layout_.pageSize());
}

void PdfSpoolPrinter::setPageLayout(const QPageSize& size, QPageLayout::Orientation orientation) {
    if (jobActive()) throw Error(printerError, u"打印作业进行中,不能更改纸张"_s);
    layout_ = marginless(size, orientation);
}

QString PdfSpoolPrinter::outputFolder() const {
    return oneFile_.isEmpty() ? folder_ : QFileInfo(oneFile_).absolutePath();
}

pdf::PdfDocument& PdfSpoolPrinter::job() {
    if (document_) return *document_;
    std::shared_ptr<const pdf::PdfEncryption> encryption = std::move(nextEncryption_);
    nextEncryption_.reset();
    if (!oneFile_.isEmpty()) {
        document_ = std::make_unique<pdf::PdfDocument>(oneFile_, QFileInfo(oneFile_).fileName(),
                                                       u"Sl_PAYPRN 朔岚软件"_s, std::move(encryption));
        return *document_;
    }
    const QString name = nextName_.isEmpty() ? jobFileName(numberToTry()) : nextName_ + u".pdf"_s;
    document_ = std::make_unique<pdf::PdfDocument>(QDir(folder_).filePath(name), name,
                                                   u"Sl_PAYPRN 朔岚软件"_s, std::move(encryption));
    return *document_;
}

void PdfSpoolPrinter::printPage(const Page& page) {
    if (fileDropped_) throw Error(printerError, u"打印作业已取消"_s);
    if (!oneFile_.isEmpty()) jobInFile_ = true;
    job().setOrigin(QPointF(marginX() / 20.0, marginY() / 20.0));
    job().addPage(page, QSizeF(layout_.fullRectPoints().size()), kPenPixelTwips, metricsDpi());
    ++pagesTaken_;
    if (pagesPrinted_) pagesPrinted_(pagesTaken_);
}

void PdfSpoolPrinter::closeJob() {
    document_.reset();
}

bool PdfSpoolPrinter::jobOpen() const {
    return oneFile_.isEmpty() ? document_ != nullptr : jobInFile_;
}

void PdfSpoolPrinter::finishJob() {
    if (!oneFile_.isEmpty()) {
        jobInFile_ = false;  // the file goes on with the next job
        return;
    }
    const std::unique_ptr<pdf::PdfDocument> document = std::move(document_);
    document->finish();
    if (claimJobFile(*document)) return;
    throw Error(printerError,
                u"打印文件夹“%1”中没有空闲的作业文件名"_s.arg(QDir::toNativeSeparators(folder_)));
}

bool PdfSpoolPrinter::claimJobFile(pdf::PdfDocument& document) {
    // A name is claimed without replacing a file that has it, so no two jobs share one, whoever wrote
    // the other.
    auto claim = [&](const QString& name) {
        const QString path = QDir(folder_).filePath(name);
        try {
            if (!document.file().commitIfAbsent(path)) return false;
        } catch (const FileWriteError& e) {
            throw Error(printerError, pdf::PdfOutput::writeFailure(path, e.description()));
        }
        written_ << path;
        return true;
    };
    if (!nextName_.isEmpty()) {
        if (claim(nextName_ + u".pdf"_s)) return true;
        for (int n = 2; n <= kJobNameTries; ++n) {
            if (claim(u"%1_%2.pdf"_s.arg(nextName_).arg(n))) return true;
        }
        return false;
    }
    // The job takes the first number free when it ends: another writer may have taken the one free
    // when it began.
    int number = numberToTry();
    for (int tries = 0; tries < kJobNameTries; ++tries) {
        const bool claimed = claim(jobFileName(number));
        number = number == kLastJobNumber ? 1 : number + 1;
        if (claimed) {
            nextNumber_ = number;
            return true;
        }
    }
    return false;
}

void PdfSpoolPrinter::dropJob() {
    closeJob();
    if (!oneFile_.isEmpty()) {
        // The pages of the jobs before are in the same file: the file as a whole is dropped.
        jobInFile_ = false;
        fileDropped_ = true;
    }
}

}  // namespace slp::print
