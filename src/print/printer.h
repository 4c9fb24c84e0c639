#pragma once
// The printer the print engine prints on: the system's printers (Qt PrintSupport on CUPS) or a PDF
// spool folder. A printer takes page values; one print job at a time, begun by its first page.
// Drawing straight on a printer goes through target(): what is drawn there is recorded as a page and
// sent with newPage, endDoc or the target's EndDoc.
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <memory>

namespace slp {
class Prompts;
}

namespace slp::print {

class PrintTarget;
class PageRecorder;
struct Page;
struct Sheet;

class Printer {
  public:
    Printer();
    virtual ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    virtual QString deviceName() const = 0;
    // The paper and its printable area in twips, in the current orientation.
    virtual float paperWidth() const = 0;
    virtual float paperHeight() const = 0;
    virtual float printableWidth() const = 0;
    virtual float printableHeight() const = 0;
    // The paper size code PaperSizeName names (9 for A4, 256 for a size of the user's own).
    virtual int paperSizeCode() const = 0;
    // Paper size and orientation for the next job; refused with slp::Error while a job is under way.
    virtual void setPageLayout(const QPageSize& size, QPageLayout::Orientation orientation) = 0;
    // The resolution the texts of this printer's pages are measured at (dots per inch).
    virtual int metricsDpi() const = 0;

    // Adds a page to the job under way, beginning a job when none is.
    virtual void printPage(const Page& page) = 0;
    // Sends the job under way, the page drawn on target() first; nothing when no job was begun.
    void endDoc();
    // Drops the job under way and what was drawn on target(): nothing of it is sent.
    void abortDoc();
    // A job is under way: a page was sent, or something drawn on target().
    bool jobActive() const;

    // The printer as a drawing target (a page recorder on the printer's sheet).
    PrintTarget& target();
    // Sends the page drawn on target() and starts another in the same job.
    void newPage();

    // The sheet of this printer's pages as a recorder takes it.
    Sheet sheet() const;
    // A recorder for this printer's pages.
    virtual std::unique_ptr<PageRecorder> newRecorder() const;
    // The folder the printed pages go into as PDF files; empty for a printer that prints on paper.
    virtual QString outputFolder() const { return QString(); }
    // Printing to files: whether the pages of one print go into one file, however many jobs it asks for
    // (the clerk did not choose a file a job). False for a printer that prints on paper.
    virtual bool oneFilePerPrint() const { return false; }
    // Printing to files: the next files are named `baseName`.pdf (then baseName_2.pdf, ... when taken)
    // instead of being numbered; an empty name numbers them again. Nothing for a printer on paper.
    virtual void nameNextFiles(const QString& baseName) { Q_UNUSED(baseName); }
    // The files this printer has written, in order; none for a printer on paper.
    virtual QStringList writtenFiles() const { return {}; }

  protected:
    virtual bool jobOpen() const = 0;
    // Finishes the job under way (at least one page was sent).
    virtual void finishJob() = 0;
    // Drops the job under way.
    virtual void dropJob() = 0;

  private:
    PageRecorder& recorder();

    std::unique_ptr<PageRecorder> recorder_;
    bool pageBegun_ = false;  // newPage began a page that nothing has been drawn on yet
};

// The paper of a page layout in whole twips, in its orientation, converted from the units the paper size
// is defined in (A4 is 11906 x 16838, Letter 12240 x 15840).
QSizeF paperSizeTwips(const QPageLayout& layout);

// Error number of a printer that cannot begin or finish a job (the host's "printer error").
inline constexpr int printerError = 482;

// What a window tells the clerk after pages went into PDF files: the file when the print wrote one, else
// how many and the folder they are in. `filesBefore` is the count of writtenFiles() when the print began.
// Empty after printing on paper.
QString printedToFilesNotice(const Printer& printer, qsizetype filesBefore = 0);
// Tells the clerk that notice, when there is one.
void tellWherePrinted(const Printer& printer, Prompts& prompts, qsizetype filesBefore = 0);

}  // namespace slp::print
