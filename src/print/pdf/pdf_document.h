#pragma once
// A PDF file written directly, page after page, for print jobs: a page's content is built in memory,
// compressed and written when the page ends, so memory does not grow with the page count. Pages given as
// values are made into content, compressed and written on a thread of the document's own, in order,
// while the caller draws the next ones. Text goes in
// as strings of glyph numbers of embedded font subsets, a text object a font, the positions of the
// glyphs following from the fonts' widths wherever the layout put them there; fonts are written when
// the document ends. Coordinates are twips from the origin, the top left corner of the page unless
// setOrigin() moves it to a printable area's.
#include <QPointF>
#include <QRawFont>
#include <QSizeF>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "basic/ordered_worker.h"
#include "print/page.h"
#include "print/pdf/pdf_output.h"

class QLineF;

namespace slp::print::pdf {

class JobFont;

class PdfDocument {
  public:
    // Starts the file that is to become `target` (written aside, see PdfOutput); throws slp::Error
    // (printer error) when it cannot. With an encryption the file opens only with its password.
    PdfDocument(const QString& target, const QString& title, const QString& creator,
                std::shared_ptr<const PdfEncryption> encryption = {});
    ~PdfDocument();

    // Starts a page of the size given in points; a page still open is ended first.
    void beginPage(QSizeF points);
    // Where the pages begun from now on put the point (0, 0) of what is drawn on them, in points from
    // the sheet's top left corner: the corner of a printer's printable area. (0, 0) by default.
    void setOrigin(QPointF points) { origin_ = points; }
    // Ends the open page and writes the fonts, the page tree and the cross-reference table; throws
    // slp::Error when anything could not be written. A document without a page gets an empty page of
    // the last size (a PDF file has at least one page). The file is then committed through file();
    // a document destroyed before leaves nothing behind.
    void finish();
    FileReplacement& file() { return out_.file(); }

    // A page of `points` (its size in points) holding the page value: its lines, a pen width at a time
    // with pieces that continue one another joined, then its texts in drawing order as glyphs of the
    // fonts measured at `dpi`. Pens are `penPixelTwips` twips a pixel. The glyphs are placed here; the
    // page is written on the document's thread, and an error there comes out of a later addPage or
    // finish.
    void addPage(const Page& page, QSizeF points, float penPixelTwips, int dpi);

    // Drawing on the open page directly (after the pages given before are written):
    // straight lines of one pen width (twips), square-capped.
    void strokeLines(float width, const QLineF* lines, size_t count);
    // Glyphs of a raw font whose pixel size is its size in twips, each with its baseline origin and the
    // character it stands for (0 when none is known). bold: the text asked for a bold face, which is
    // drawn emboldened when the face itself is not bold.
    void showGlyphs(const QRawFont& font, bool bold, const quint32* glyphs, const QPointF* origins,
                    const char32_t* characters, size_t count);

  private:
    // Glyphs of a page in one font, ready for the page's content: the CIDs of an embedded face are numbered
    // on the writer's thread; the outlines of a face that cannot be embedded are made when the page is given.
    struct TextRun {
        JobFont* job = nullptr;  // nullptr: the glyphs are `outlines`
        double size = 0;
        bool bold = false;
        size_t begin = 0;
        size_t end = 0;
        std::string outlines;
    };

    struct PageWork {
        QSizeF points;
        QPointF origin;
        int contents = 0;
        int object = 0;
        float penPixelTwips = 1;
        std::vector<PageLine> lines;
        std::vector<TextRun> runs;
        std::vector<quint32> glyphs;
        std::vector<QPointF> origins;
        std::vector<char32_t> characters;
    };

    void endPage();
    void startContent(QSizeF points, QPointF origin);
    void writeContent(QSizeF points, int contents, int page);
    void writePage(const PageWork& work);
    void stroke(float width, const QLineF* lines, size_t count);
    void text(JobFont& job, double size, bool bold, const quint32* glyphs, const QPointF* origins,
              const char32_t* characters, size_t count);
    // The job font of a raw font; nullptr when its face cannot be embedded.
    JobFont* fontOf(const QRawFont& font);
    // Glyphs as filled outlines, for a face that cannot be embedded.
    static std::string glyphOutlines(const QRawFont& font, const quint32* glyphs, const QPointF* origins,
                                     size_t count);
    void setLineWidth(double width);

    PdfOutput out_;
    QString title_;
    QString creator_;
    int pagesObject_;
    int resourcesObject_;
    std::vector<int> pages_;
    QSizeF pageSize_{595, 842};
    QPointF origin_;
    bool pageOpen_ = false;
    std::string content_;
    double lineWidth_ = -1;  // the pen width in force on the page
    int renderMode_ = 0;     // the text rendering mode in force: 0 fill, 2 fill and stroke
    std::vector<std::unique_ptr<JobFont>> fonts_;
    // Raw fonts seen (one a face and size), with their job font (nullptr: drawn as paths).
    std::vector<std::pair<QRawFont, JobFont*>> rawFonts_;
    // Pages given and not yet written at most.
    static constexpr size_t kPagesWaiting = 8;
    // Last, so that it stops before anything it writes to goes.
    OrderedWorker writer_{kPagesWaiting};
};

}  // namespace slp::print::pdf
