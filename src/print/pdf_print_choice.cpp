#include "print/pdf_print_choice.h"

#include <QDir>
#include <QRegularExpression>
#include <QSizeF>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>

#include "settings/store.h"

using namespace Qt::StringLiterals;

namespace slp::print {

namespace {
const QString kSection = u"PdfPrinter"_s;
}  // namespace

QString pdfPrinterName() {
    return u"打印到PDF文件"_s;
}

QString defaultPdfFolder() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (base.isEmpty()) base = QDir::homePath();
    return QDir(base).filePath(u"工资打印"_s);
}

QString printedFileName(const QString& report, const QString& workYear, const QString& workMonth,
                        const QDateTime& at) {
    bool numeric = false;
    const int month = workMonth.trimmed().toInt(&numeric);
    const QString monthText = numeric ? u"%1"_s.arg(month, 2, 10, QLatin1Char('0')) : workMonth.trimmed();
    QStringList parts;
    if (!report.trimmed().isEmpty()) parts << report.trimmed();
    if (!workYear.trimmed().isEmpty()) parts << workYear.trimmed() + u'-' + monthText;
    parts << at.toString(u"HHmmss"_s);
    QString name = parts.join(u'_');
    static const QRegularExpression unsafe(u"[/\\\\:*?\"<>|\\x00-\\x1f]"_s);
    return name.replace(unsafe, u"_"_s);
}

std::optional<QPageSize> paperNamed(const QString& name) {
    const QString wanted = name.trimmed();
    if (wanted.isEmpty()) return std::nullopt;
    static const QRegularExpression custom(u"^(\\d+(?:\\.\\d+)?)\\s*[xX×]\\s*(\\d+(?:\\.\\d+)?)\\s*mm$"_s);
    if (const auto m = custom.match(wanted); m.hasMatch()) {
        const double w = m.captured(1).toDouble();
        const double h = m.captured(2).toDouble();
        // From a visiting card to a large plan.
        if (w < 50 || h < 50 || w > 2000 || h > 2000) return std::nullopt;
        return QPageSize(QSizeF(w, h), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    }
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
        const auto pageId = QPageSize::PageSizeId(id);
        if (pageId == QPageSize::Custom) continue;
        if (QPageSize::key(pageId).compare(wanted, Qt::CaseInsensitive) == 0) return QPageSize(pageId);
    }
    return std::nullopt;
}

QString paperNameOf(const QPageSize& size) {
    if (size.id() != QPageSize::Custom) return size.key();
    const QSizeF mm = size.size(QPageSize::Millimeter);
    return u"%1x%2mm"_s.arg(mm.width()).arg(mm.height());
}

PdfPrintSetup loadPdfPrintSetup(const settings::Store& store) {
    PdfPrintSetup setup;
    const QString app = settings::appComponent();
    setup.folder = store.read(app, kSection, u"Folder"_s, QString());
    if (setup.folder.isEmpty()) setup.folder = defaultPdfFolder();
    if (const auto paper = paperNamed(store.read(app, kSection, u"Paper"_s, QString()))) setup.paper = *paper;
    // Read as the paper's name is: without regard to case or blanks around it.
    if (store.read(app, kSection, u"Orientation"_s, QString())
            .trimmed()
            .compare(u"Landscape"_s, Qt::CaseInsensitive) == 0) {
        setup.orientation = QPageLayout::Landscape;
    }
    setup.filePerJob = store.read(app, kSection, u"FilePerJob"_s, QString()).trimmed() == u"1"_s;
    bool ok = false;
    const double margin = store.read(app, kSection, u"MarginMm"_s, QString()).trimmed().toDouble(&ok);
    if (ok && std::isfinite(margin)) setup.marginMm = std::clamp(margin, 0.0, kMaxMarginMm);
    return setup;
}

void savePdfPrintSetup(settings::Store& store, const PdfPrintSetup& setup) {
    const QString app = settings::appComponent();
    store.write(app, kSection, u"Folder"_s, setup.folder);
    store.write(app, kSection, u"Paper"_s, paperNameOf(setup.paper));
    store.write(app, kSection, u"Orientation"_s,
                setup.orientation == QPageLayout::Landscape ? u"Landscape"_s : u"Portrait"_s);
    store.write(app, kSection, u"FilePerJob"_s, setup.filePerJob ? u"1"_s : u"0"_s);
    store.write(app, kSection, u"MarginMm"_s, QString::number(setup.marginMm));
}

}  // namespace slp::print
