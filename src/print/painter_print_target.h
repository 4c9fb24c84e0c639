#pragma once
// Print targets that draw with a QPainter. The world transform makes one unit one twip on any device
// (a printer, a PDF file at 1440 dpi, an image of the preview at screen resolution), so the renderers'
// coordinates serve them all. Fonts are sized so a point is 20 twips whatever the device's resolution.
//
// A table page sets a face for every cell and measures most of its texts: the target keeps the Qt font
// and its metrics of each face, size and weight it has used, remembers the widths of the texts it has
// measured in each, and hands the painter a font, pen or transform only when it differs from the one in
// force (every change costs the PDF writer a new graphics state on the page). On a PDF device it holds
// a page's texts and lines back and hands them to the writer together (see flush).
#include <QFont>
#include <memory>

#include "print/print_target.h"

class QPainter;
class QPaintDevice;
class QPointF;
class QPainterPath;

namespace slp::print {

class PageDrawing;

class PainterPrintTarget : public BasicPrintTarget {
  public:
    PainterPrintTarget();
    ~PainterPrintTarget() override;
    PainterPrintTarget(const PainterPrintTarget&) = delete;
    PainterPrintTarget& operator=(const PainterPrintTarget&) = delete;

    void SetFontSize(float points) override;
    void SetFontName(const QString& face) override;
    void SetFontBold(bool bold) override;
    float TextWidth(const QString& text) override;
    float TextHeight(const QString& text) override;
    void Line(float x1, float y1, float x2, float y2) override;

    // The Qt font of the current face, size and weight, sized for the metrics device.
    QFont currentFont() const;

    // On a PDF device the texts and lines of a page are held back and drawn together: a printer draws
    // them with flush before it ends a page or a job, and drops them with discard when it drops a job.
    void flush();
    void discard();

    // Widths of texts laid out by Qt remembered for one font at most; then that font's memory starts
    // afresh.
    static constexpr int kMaxRememberedWidths = 4096;
    // Fonts (face, size, weight) kept at most; then the fonts are resolved afresh.
    static constexpr int kMaxKeptFonts = 32;

  protected:
    // The device whose resolution sizes the fonts; it may be asked before anything is painted.
    virtual const QPaintDevice& metricsDevice() const = 0;
    // The painter to draw with; a printer begins its print job here when none is.
    virtual QPainter& painter() = 0;
    // Twips of one device pixel of the pen (15 on a 96 dpi picture, 2.4 on a 600 dpi printer).
    virtual float penPixelTwips() const = 0;

    // The page of a printer that writes PDF itself (see PageDrawing), or nullptr when the painter
    // draws; asking may begin the printer's job.
    virtual PageDrawing* pageDrawing() { return nullptr; }

    bool faceAvailable(const QString& face) const override;
    void drawText(float x, float y, const QString& text) override;

  private:
    struct Fonts;
    struct ResolvedFont;
    ResolvedFont& resolved() const;
    QPainter& preparedPainter();
    void holdLaidOut(ResolvedFont& font, QPointF baseline, const QString& text);
    bool needsEmbolden(ResolvedFont& font);
    void strokeEmboldened(QPainter& p, const ResolvedFont& font, const QPainterPath& outlines);
    QPainterPath textOutlines(ResolvedFont& font, QPointF baseline, const QString& text);

    std::unique_ptr<Fonts> fonts_;
};

}  // namespace slp::print
