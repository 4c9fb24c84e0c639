#pragma once
// Printing to PDF files as a printer of its own ("打印到PDF文件"): its folder, paper size and orientation,
// remembered per user in the component's settings, and the paper names the command line takes.
#include <QDateTime>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <optional>

namespace slp::settings {
class Store;
}

namespace slp::print {

// The printer choice's name for printing to PDF files.
QString pdfPrinterName();

inline constexpr double kMaxMarginMm = 30.0;

struct PdfPrintSetup {
    QString folder;  // where the job files go
    QPageSize paper = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    // A file a print job ("每页一个文件": the windows send a page a job, the payment table a department)
    // instead of one file a print named for the report.
    bool filePerJob = false;
    // The margin of the printable area on every side, in millimetres, as a real printer has one.
    double marginMm = 5.0;
};

// The folder PDF files go to when none was chosen: the user's documents folder, "工资打印" in it.
QString defaultPdfFolder();

// The remembered setup; what was never stored (or does not convert) is the default: the default
// folder, A4 portrait, margins of 5 mm. A margin is kept between 0 and kMaxMarginMm.
PdfPrintSetup loadPdfPrintSetup(const settings::Store& store);
// Remembers the setup. Throws slp::Error when the settings cannot be written.
void savePdfPrintSetup(settings::Store& store, const PdfPrintSetup& setup);

// The name of the file a print of the windows goes into, without ".pdf": the report, the work month
// and the time of the print, e.g. "工资签收联_2000-04_153012" (a part that is empty is left out).
// Characters a file name cannot hold become "_".
QString printedFileName(const QString& report, const QString& workYear, const QString& workMonth,
                        const QDateTime& at);

// The paper size of a name, case ignored: the names of Qt's page sizes, which are the printers' (PPD)
// names ("A4", "A3", "B5" the JIS size of 182 x 257 mm, "ISOB5" 176 x 250 mm, "Letter", "Legal", ...),
// or width x height in millimetres ("210x297mm"). nullopt for
// anything else.
std::optional<QPageSize> paperNamed(const QString& name);
// The name paperNamed takes back for a size.
QString paperNameOf(const QPageSize& size);

}  // namespace slp::print
