#pragma once
// A printer that writes every print job as its own PDF file in a folder: job-0001.pdf, job-0002.pdf, ...,
// numbering on after the files already there. It serves "print to file", the command line and the
// tests. A job is written aside and renamed into place when it ends, so a dropped or failed job leaves
// no file behind. Like a real printer it cannot print to the paper's edge: what is drawn begins at the
// corner of a printable area inside margins (5 mm unless set), and a paper too small for its margins
// (a strip of continuous paper) is printed from its edge in that direction. Texts are measured at
// 1440 dpi (one device unit a twip) and pens are as on a 600 dpi printer. The printer writes the PDF itself
// (see pdf/pdf_document.h).
#include <QStringList>
#include <functional>
#include <memory>

#include "print/paper_size_name.h"
#include "print/printer.h"

namespace slp::print {

namespace pdf {
class PdfDocument;
class PdfEncryption;
}  // namespace pdf

class PdfSpoolPrinter : public Printer {
  public:
    // Creates the folder when needed; throws slp::Error (path not found) when it cannot.
    explicit PdfSpoolPrinter(QString folder, const QPageSize& size = QPageSize(QPageSize::A4),
                             QPageLayout::Orientation orientation = QPageLayout::Portrait);
    // A printer that puts the pages of every job into the one file `path`, written (or replaced) by
    // finishFile(); nothing is written before. A dropped job drops the whole file. Creates the file's
    // folder when needed.
    static std::unique_ptr<PdfSpoolPrinter> oneFile(
        const QString& path, const QPageSize& size = QPageSize(QPageSize::A4),
        QPageLayout::Orientation orientation = QPageLayout::Portrait);
    // One-file printer: ends the document and renames it into place. Returns false when no page was
    // printed (no file is written then); throws slp::Error when the file cannot be written or a job was
    // dropped.
    bool finishFile();
    ~PdfSpoolPrinter() override;
    PdfSpoolPrinter(const PdfSpoolPrinter&) = delete;
    PdfSpoolPrinter& operator=(const PdfSpoolPrinter&) = delete;

    const QString& folder() const { return folder_; }
    // The number after the highest of the job files in the folder (1 after kLastJobNumber): the number
    // a job ending now would carry, unless another writer takes it first.
    int nextJobNumber() const;
    // The highest job number; a file of a higher number is not a job of this printer.
    static constexpr int kLastJobNumber = 99999999;
    // The file name of a job number: job-0001.pdf.
    static QString jobFileName(int number);

    QString deviceName() const override;
    float paperWidth() const override;
    float paperHeight() const override;
    float printableWidth() const override;
    float printableHeight() const override;
    int paperSizeCode() const override;
    // The margin around the printable area on every side, in millimetres (kDefaultMarginMm unless set;
    // a negative one counts as 0). Refused with slp::Error while a job is under way.
    void setMarginMm(double millimetres);
    double marginMm() const { return marginMm_; }
    static constexpr double kDefaultMarginMm = 5.0;
    // The margins in force on the current paper, in twips: left and top (the right and bottom are the
    // same). A pair is 0 on a side of the paper shorter than four margins.
    float marginX() const;
    float marginY() const;
    void setPageLayout(const QPageSize& size, QPageLayout::Orientation orientation) override;
    int metricsDpi() const override { return 1440; }
    void printPage(const Page& page) override;
    // Told the number of pages this printer has taken so far after each page, for a progress display.
    void setPagesPrintedObserver(std::function<void(int)> observer) { pagesPrinted_ = std::move(observer); }
    // The folder of the job files, or of the one file.
    QString outputFolder() const override;
    // A file a job (true, the default: the command line's --pdf-dir) or a file a print (the windows,
    // unless the clerk chose a file a job).
    void setFilePerJob(bool on) { filePerJob_ = on; }
    bool oneFilePerPrint() const override { return oneFile_.isEmpty() && !filePerJob_; }
    void nameNextFiles(const QString& baseName) override { nextName_ = baseName; }
    QStringList writtenFiles() const override { return written_; }
    // The next file begun is encrypted with `encryption` and opens only with its password; the files
    // after it are written open again (each encrypted file needs a key of its own).
    void encryptNextFile(std::shared_ptr<const pdf::PdfEncryption> encryption) {
        nextEncryption_ = std::move(encryption);
    }

    // Twips of a pen pixel: a 600 dpi printer's.
    static constexpr float kPenPixelTwips = 2.4f;

  protected:
    bool jobOpen() const override;
    void finishJob() override;
    void dropJob() override;

  private:
    pdf::PdfDocument& job();
    // Claims a free file name for the finished job; returns false when every name tried was taken.
    bool claimJobFile(pdf::PdfDocument& document);
    int numberToTry() const {
        if (nextNumber_ == 0) nextNumber_ = nextJobNumber();
        return nextNumber_;
    }
    void closeJob();
    // Names tried for a finished job before the print fails: each taken by another writer meanwhile.
    static constexpr int kJobNameTries = 10000;

    QString folder_;
    QPageLayout layout_;
    double marginMm_ = kDefaultMarginMm;
    std::unique_ptr<pdf::PdfDocument> document_;
    QStringList written_;
    QString oneFile_;         // the one file of every job; empty: a file a job
    bool jobInFile_ = false;  // one file: a job is under way in it
    std::function<void(int)> pagesPrinted_;
    int pagesTaken_ = 0;
    bool fileDropped_ = false;
    bool filePerJob_ = true;
    std::shared_ptr<const pdf::PdfEncryption> nextEncryption_;  // of the next file; null: written open
    QString nextName_;  // the base name of the next job's file; empty: numbered
    // The number the next job tries first: the folder is listed once, not for every job, and a number
    // another writer took meanwhile is stepped over when the file is claimed.
    mutable int nextNumber_ = 0;
};

}  // namespace slp::print
