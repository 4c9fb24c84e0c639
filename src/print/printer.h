#pragma once
// The printer the print engine prints on: the system's printers (Qt PrintSupport on CUPS) or a PDF
// spool folder. One print job at a time; drawing on the target begins a job, endDoc sends it.
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>

namespace slp::print {

class PrintTarget;

class Printer {
  public:
    virtual ~Printer() = default;

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

    // The printer as a drawing target; the first drawing begins a print job.
    virtual PrintTarget& target() = 0;
    virtual bool jobActive() const = 0;
    // Ends the page and starts another in the same job.
    virtual void newPage() = 0;
    // Sends the job under way; nothing when no job was begun.
    virtual void endDoc() = 0;
    // Drops the job under way: nothing of it is sent.
    virtual void abortDoc() = 0;
};

// The paper of a page layout in whole twips, in its orientation, converted from the units the paper size
// is defined in (A4 is 11906 x 16838, Letter 12240 x 15840).
QSizeF paperSizeTwips(const QPageLayout& layout);

// Error number of a printer that cannot begin or finish a job (the host's "printer error").
inline constexpr int printerError = 482;

}  // namespace slp::print
