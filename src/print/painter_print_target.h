#pragma once
// Print targets that draw with a QPainter. The world transform makes one unit one twip on any device
// (a printer, a PDF file at 1440 dpi, an image of the preview at screen resolution), so the renderers'
// coordinates serve them all. Fonts are sized so a point is 20 twips whatever the device's resolution.
#include <QFont>

#include "print/print_target.h"

class QPainter;
class QPaintDevice;

namespace slp::print {

class PainterPrintTarget : public BasicPrintTarget {
  public:
    float TextWidth(const QString& text) override;
    float TextHeight(const QString& text) override;
    void Line(float x1, float y1, float x2, float y2) override;

    // The Qt font of the current face, size and weight, sized for the metrics device.
    QFont currentFont() const;

  protected:
    // The device whose resolution sizes the fonts; it may be asked before anything is painted.
    virtual const QPaintDevice& metricsDevice() const = 0;
    // The painter to draw with; a printer begins its print job here when none is under way.
    virtual QPainter& painter() = 0;
    // Twips of one device pixel of the pen (15 on a 96 dpi picture, 2.4 on a 600 dpi printer).
    virtual float penPixelTwips() const = 0;

    bool faceAvailable(const QString& face) const override;
    void drawText(float x, float y, const QString& text) override;

  private:
    QPainter& preparedPainter();
};

}  // namespace slp::print
