#include "print/painter_print_target.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include "print/chinese_fonts.h"

namespace slp::print {

namespace {
constexpr double twipsPerInch = 1440.0;
}

QFont PainterPrintTarget::currentFont() const {
    QFont font;
    // The named face first, then its stand-ins: the result does not depend on how the font system's
    // own aliases happen to be configured.
    font.setFamilies(QStringList{FontName()} + chineseFontSubstitutes(FontName()));
    // A point is 20 twips; the font is resolved at the device's resolution and then drawn through the
    // twips transform, so the size is given in points of a 1440 dpi device.
    const int dpi = metricsDevice().logicalDpiY();
    font.setPointSizeF(double(FontSize()) * twipsPerInch / (dpi > 0 ? dpi : 96));
    font.setBold(FontBold());
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

float PainterPrintTarget::TextWidth(const QString& text) {
    return float(QFontMetricsF(currentFont(), &metricsDevice()).horizontalAdvance(text));
}

float PainterPrintTarget::TextHeight(const QString&) {
    return float(QFontMetricsF(currentFont(), &metricsDevice()).height());
}

bool PainterPrintTarget::faceAvailable(const QString& face) const {
    return fontFaceAvailable(face);
}

QPainter& PainterPrintTarget::preparedPainter() {
    QPainter& p = painter();
    const QPaintDevice* device = p.device();
    const double sx = device->logicalDpiX() / twipsPerInch;
    const double sy = device->logicalDpiY() / twipsPerInch;
    p.setWorldTransform(QTransform::fromScale(sx, sy));
    p.setRenderHint(QPainter::TextAntialiasing, true);
    return p;
}

void PainterPrintTarget::Line(float x1, float y1, float x2, float y2) {
    QPainter& p = preparedPainter();
    QPen pen(Qt::black);
    pen.setWidthF(double(DrawWidth()) * penPixelTwips());
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.drawLine(QLineF(x1, y1, x2, y2));
}

void PainterPrintTarget::drawText(float x, float y, const QString& text) {
    if (text.isEmpty()) return;
    QPainter& p = preparedPainter();
    const QFont font = currentFont();
    p.setFont(font);
    p.setPen(QPen(Qt::black));
    const QFontMetricsF fm(font, &metricsDevice());
    p.drawText(QPointF(x, double(y) + fm.ascent()), text);
}

}  // namespace slp::print
