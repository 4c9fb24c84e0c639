#pragma once
// Pieces of a page that the painter and the PDF writer share: which texts can be placed from
// remembered glyphs, Qt's layout of the others, glyph outlines, and the joining of straight lines.
#include <QGlyphRun>
#include <QLineF>
#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QRawFont>
#include <vector>

class QFont;
class QPaintDevice;

namespace slp::print {

struct PageLine;

// Characters whose glyph and advance do not depend on their neighbours in the faces used here: Latin
// letters, digits and punctuation, general punctuation and symbols, CJK ideographs, their punctuation
// and full-width forms. Control characters, combining marks, format characters, surrogates and the
// scripts that need shaping are left to Qt's text layout.
bool plainCharacter(char16_t c);

// A text laid out by Qt on one line as QPainter::drawText lays it out, falling back to other faces for
// characters the font lacks: its glyph runs in the order of the text (left to right; Qt gives them a
// face at a time) with their positions moved onto the baseline given.
QList<QGlyphRun> layOut(const QFont& font, const QPaintDevice& device, QPointF baseline, const QString& text);

// The outlines of glyphs, each at its position.
QPainterPath glyphOutlines(const QRawFont& raw, const quint32* glyphs, const QPointF* positions,
                           size_t count);

// Joins the horizontal and the vertical lines of one pen that continue or overlap one another (the cell
// edges of a table's rows make one line down the page). With square caps the joined line covers
// exactly what its pieces covered. Slanting lines are moved to the end, unjoined; the count of the
// straight lines is returned (viewers snap a path of straight lines to whole pixels, but not a path
// with a slanting line in it, so the two kinds are drawn apart).
size_t joinStraightLines(std::vector<QLineF>& lines);

// A page's lines of one pen width (device pixels), in drawing order.
struct PenLines {
    int penPixels = 1;
    std::vector<QLineF> lines;
};
// The lines grouped by pen width, the widths in the order they first appear.
std::vector<PenLines> linesByPen(const std::vector<PageLine>& lines);

}  // namespace slp::print
