#pragma once
// The print preview 工资MSGPRINT without its widgets: the layout settings, the page count of the chosen
// layout (table, wage slips, wrapped wage slips), the menus as data, paging, page choice and printing of
// page ranges, the settings written on closing. The window shows what this class holds and forwards its
// menus, keys and status-bar click here; the command line prints through it without a picture.
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/print_preview/preview_menus.h"
#include "app/print_preview/print_preview_request.h"
#include "print/page_layout.h"
#include "print/print_layout.h"
#include "print/reports/page_geometry.h"
#include "print/warning_sink.h"

namespace slp {
class Clock;
class Prompts;
struct HostContext;
}  // namespace slp
namespace slp::settings {
class Store;
}

namespace slp::print {

class Printer;
class PreviewCanvas;

class PrintPreviewDriver {
  public:
    struct Environment {
        settings::Store& store;
        Prompts& prompts;
        const Clock& clock;
        // The unit code (names of the settings) and the pay date (printed pages), read at each use.
        const HostContext& host;
    };

    // Without a canvas nothing is drawn on a picture (printing without a window).
    PrintPreviewDriver(Environment env, Printer& printer, PreviewCanvas* canvas);
    PrintPreviewDriver(const PrintPreviewDriver&) = delete;
    PrintPreviewDriver& operator=(const PrintPreviewDriver&) = delete;

    // What ShowPrintPreview stores: the grid (a copy of the caller's), caption rows, texts, slip mode and
    // font size. Nothing is redrawn; an open preview uses them at its next redraw.
    void setRequest(const PrintPreviewRequest& request);
    // The same with a grid the driver shares instead of copying.
    void setRequest(const PrintPreviewRequest& request, std::shared_ptr<const data::WageGrid> grid);
    const data::WageGrid* grid() const { return grid_.get(); }

    // The printer the pages are measured for and printed on.
    void setPrinter(Printer& printer) { printer_ = &printer; }
    Printer& printer() const { return *printer_; }
    // Opening: report kind, settings, text offset, captions and checks, caption, then measureLayout,
    // loadLineOptions and setUpPages. A stored setting that does not convert leaves its value as it
    // was; the other steps still run.
    void open();
    // Closing: writes columns per line, indent and the four rules under unit code & "GZGL", the origin
    // and row metrics under "Sl_PAYPRN". Every key is attempted; a failure is shown.
    void close();

    // Measures the grid against the paper: too wide or not, and which options the menus show.
    void measureLayout();
    // The rules' switches from the settings.
    void loadLineOptions();
    // Lays the pages out for the printer and paper in force, counts them and draws the first. Returns
    // false when the too-tall check stopped it (the message was shown).
    bool setUpPages();
    // A table (not slips) wider than the printable width: the paper turned when that holds it (and the
    // lines a page fitted to the turned paper), turned back when it fits upright again; paperNote_ says
    // what was done or which paper would hold it.
    void fitTableToPaper();
    void countSlipPages();
    void countTablePages();
    void drawCurrentPage();

    enum class PagingKey { PageUp, PageDown, Home, End };
    // Page Up, Page Down, Home, End; returns whether another page was drawn.
    bool turnPage(PagingKey key);

    // Asks which page to show and shows it.
    void choosePage();
    // Asks for the first and last page and prints them; a print of more than kPagesWithoutProgress
    // pages reports its progress to a callback the progress source makes for it, and stops when that
    // says so (the pages of the jobs that ended stay printed).
    void printChosenPages();
    static constexpr int kPagesWithoutProgress = 4;
    using PrintProgress = std::function<bool(int done, int total)>;
    // Makes the callback of one print (a window shows a bar as long as it lives); none by default.
    void setPrintProgressSource(std::function<PrintProgress()> source) {
        progressSource_ = std::move(source);
    }
    // Asks for a new value of the setting (X and Y origin, row height, lines per page).
    void askSetting(PageSetting setting);
    // Flips a rule or an extra column, or asks for a change of a wrapped slip's count.
    void changeOption(PrintOption option);
    // After the printer setup dialog: lays the pages out for the printer and paper now in force.
    void afterPrinterSetup() { setUpPages(); }

    // Prints pages from..to without asking, every page a job of its own (or all in one job); pages past
    // the last are not printed, a first page after the last prints nothing. Throws slp::Error (484 when
    // no printer is installed) and the printer's errors. Printing to files, `fileName` names them (see
    // DeliveryOptions). Returns the pages printed.
    int printPages(int from, int to, bool oneJob = false, const QString& fileName = {},
                   const PrintProgress& progress = {});
    // Draws again the page the picture shows (after zooming); warnings are not shown again.
    void redrawShownPage();
    // Shows an error in a message box: error 484 as the missing-printer message, any other with the
    // exclamation icon, its description and the title "错误号" & its number.
    void reportError(const std::exception& error);

    // The state the window shows and the tests read.
    const PrintLayout& layout() const { return layout_; }
    const PreviewMenus& menus() const { return menus_; }
    const QString& reportKind() const { return reportKind_; }
    float originX() const { return originX_; }
    float originY() const { return originY_; }
    float rowHeight() const { return rowHeight_; }
    float textOffset() const { return textOffset_; }
    int currentPage() const { return currentPage_; }
    int pageCount() const { return layout_.pageCount; }
    // Whether the pages of the layout set up last hold every row (see rowsLostMessage); printPages
    // says why and prints nothing when they do not.
    bool pagesHoldRows() const { return pagesHoldRows_; }
    int printFromPage() const { return printFromPage_; }
    int printToPage() const { return printToPage_; }
    bool tooWide() const { return tooWide_; }
    PageLayoutKind layoutKind() const { return ChooseLayout(tooWide_, layout_.slipLayout); }
    // The window caption set on loading: printTitle.
    const QString& windowCaption() const { return windowCaption_; }
    // The four status panels: printer and paper, lines a page, rows, pages.
    const std::array<QString, 4>& statusTexts() const { return statusTexts_; }
    // The page the picture shows (0 before the first drawing) and the cellInset it was drawn with.
    int shownPage() const { return shownPage_; }
    float shownInset() const { return shownInset_; }
    // Wrapped slips print fewer items a line than set, as the set count would not hold them: what the
    // clerk is told (shown in the status bar); empty otherwise.
    const QString& slotsNote() const { return slotsNote_; }
    // What the clerk is told of the table and the paper: that the paper was turned for a table that fits
    // only turned (and how many lines a page it then holds), or which paper would hold a table that fits
    // neither way; empty when the table fits the paper as it is.
    const QString& paperNote() const { return paperNote_; }
    // The two help lines printed on the window's background.
    static QStringList helpLines();
    // "共" & pageCount & "页,现第" & currentPage & "页"
    QString pageCaption() const;

  private:
    void setEnvironment(WarningSink& warnings);
    PageGeometry geometry(float cellInset) const;
    void refreshSetCaptions();
    void recomputeTextOffset();
    void drawOnPicture(int page, float cellInset);
    void drawPicture(WarningSink& warnings);
    double askValue(const QString& prompt, const QString& defaultText);
    void writeSwitch(PrintOption option, bool on);

    settings::Store& store_;
    Prompts& prompts_;
    const Clock& clock_;
    const HostContext& host_;
    Printer* printer_;
    PreviewCanvas* canvas_;
    PromptsWarningSink shownWarnings_;
    CollectedWarnings mutedWarnings_;

    // Why the pages of the layout in force would lose rows; empty when they hold them all.
    QString rowsLostMessage() const;

    std::shared_ptr<const data::WageGrid> grid_;
    PrintLayout layout_;
    PreviewMenus menus_;
    QString reportKind_;
    // A window opened for the first time starts from zeros; loading reads the settings over them.
    float originX_ = 0;
    float originY_ = 0;
    float rowHeight_ = 0;
    bool pagesHoldRows_ = true;
    float textOffset_ = 0;
    int currentPage_ = 0;
    int printFromPage_ = 0;
    int printToPage_ = 0;
    bool tooWide_ = false;
    QString windowCaption_;
    QString requestCaption_;  // the caption asked for when the pages have no title
    QString slotsNote_;       // wrapped slips go fewer to a line than set: what the clerk is told
    // The lines a page as set (the menu and the settings); layout_.linesPerPage holds fewer while the
    // paper is turned for a table that fits only turned.
    int16_t linesSet_ = 0;
    bool turnedForTable_ = false;  // this driver turned the printer's paper for the table
    QString paperNote_;            // the table and the paper: turned, or which paper would hold it
    bool tableFitsPaper_ = true;   // false: the table is wider than the paper either way
    std::array<QString, 4> statusTexts_;
    int shownPage_ = 0;
    float shownInset_ = 30;
    std::function<PrintProgress()> progressSource_;
};

// The smallest office paper (A4, B4, A3; upright, then turned) whose printable width, the paper less
// `margins` twips, holds a table `width` twips wide: "B4纸纵向"; "比A3更宽的纸张" when none does.
QString paperHoldingWidth(float width, float margins);

}  // namespace slp::print
