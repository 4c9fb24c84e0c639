#include "print/page_painter.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <vector>

#include "print/font_metrics.h"
#include "print/page.h"
#include "print/page_pieces.h"

namespace slp::print {

namespace {
constexpr double twipsPerInch = 1440.0;

int dpiOf(const QPaintDevice& device) {
    const int dpi = device.logicalDpiY();
    return dpi > 0 ? dpi : 96;
}

QPainterPath textOutlines(MeasuredFont& font, QPointF baseline, const QString& text) {
    std::vector<quint32> glyphs;
    std::vector<QPointF> at;
    std::vector<char32_t> characters;
    if (font.place(text, baseline, glyphs, at, characters)) {
        return glyphOutlines(font.raw(), glyphs.data(), at.data(), glyphs.size());
    }
    QPainterPath path;
    for (const QGlyphRun& run : font.layOut(baseline, text)) {
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i) {
            path.addPath(run.rawFont().pathForGlyph(indexes[i]).translated(positions[i]));
        }
    }
    return path;
}
}  // namespace

void paint(const Page& page, QPainter& p) {
    const QPaintDevice* device = p.device();
    if (!device) return;
    const int dpi = dpiOf(*device);
    p.save();
    p.setWorldTransform(
        QTransform::fromScale(device->logicalDpiX() / twipsPerInch, device->logicalDpiY() / twipsPerInch));
    p.setRenderHint(QPainter::TextAntialiasing, true);

    // The lines of each pen width together, pieces that continue one another joined.
    for (PenLines& pen : linesByPen(page.lines)) {
        QPen qpen(Qt::black);
        qpen.setWidthF(double(pen.penPixels) * twipsPerInch / dpi);
        qpen.setCapStyle(Qt::SquareCap);
        qpen.setJoinStyle(Qt::MiterJoin);
        p.setPen(qpen);
        const size_t straight = joinStraightLines(pen.lines);
        if (straight > 0) p.drawLines(pen.lines.data(), int(straight));
        for (size_t i = straight; i < pen.lines.size(); ++i) p.drawLine(pen.lines[i]);
    }

    p.setPen(QPen(Qt::black));
    FontMetrics& metrics = FontMetrics::instance();
    std::shared_ptr<MeasuredFont> font;
    const PageText* fontOf = nullptr;  // the text the font in force was set for
    for (const PageText& t : page.texts) {
        if (!fontOf || fontOf->face != t.face || fontOf->size != t.size || fontOf->bold != t.bold) {
            font = metrics.font(t.face, t.size, t.bold, dpi);
            p.setFont(font->font());
            fontOf = &t;
        }
        const QPointF baseline(t.at.x(), t.at.y() + font->ascent());
        p.drawText(baseline, t.text);
        if (font->needsEmbolden()) {
            // Stroked as well as filled, as the PDF files do: a pen of a thirtieth of the font size (the
            // raw font's pixels are twips).
            QPen pen(Qt::black);
            pen.setWidthF(font->raw().pixelSize() / 30);
            pen.setJoinStyle(Qt::RoundJoin);
            p.strokePath(textOutlines(*font, baseline, t.text), pen);
        }
    }
    p.restore();
}

}  // namespace slp::print
