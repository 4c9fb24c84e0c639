#include "print/page_pieces.h"

#include <QTextLayout>
#include <algorithm>

#include "print/page.h"

namespace slp::print {

// Characters whose glyph and advance do not depend on their neighbours in the faces used here: Latin
// letters, digits and punctuation, general punctuation and symbols, CJK ideographs, their punctuation
// and full-width forms. Control characters, combining marks, format characters, surrogates and the
// scripts that need shaping are left to Qt's text layout.
bool plainCharacter(char16_t c) {
    if (c < 0x20) return false;
    if (c < 0x0300) return c < 0x7F || c >= 0xA0;
    if (c >= 0x2000 && c < 0x2C00)
        return (c >= 0x2010 && c < 0x2028) || (c >= 0x2030 && c < 0x2060) || c >= 0x2070;
    if (c >= 0x3000 && c < 0x3100)
        return c != 0x302A && (c < 0x302A || c > 0x302F) && c != 0x3099 && c != 0x309A;
    if (c >= 0x3400 && c < 0x4DC0) return true;
    if (c >= 0x4E00 && c < 0xA000) return true;
    if (c >= 0xF900 && c < 0xFB00) return true;
    return c >= 0xFF01 && c < 0xFFF0;
}

// A text laid out by Qt on one line as QPainter::drawText lays it out, falling back to other faces for
// characters the font lacks: its glyph runs in the order of the text (left to right; Qt gives them a
// face at a time) with their positions moved onto the baseline given.
QList<QGlyphRun> layOut(const QFont& font, const QPaintDevice& device, QPointF baseline,
                        const QString& text) {
    QTextLayout layout(text, font, const_cast<QPaintDevice*>(&device));
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        return {};
    }
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
    const QPointF origin = baseline - QPointF(0, line.ascent());
    QList<QGlyphRun> runs = layout.glyphRuns();
    for (QGlyphRun& run : runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF& at : positions) at += origin;
        run.setPositions(positions);
    }
    std::stable_sort(runs.begin(), runs.end(), [](const QGlyphRun& a, const QGlyphRun& b) {
        const auto left = [](const QGlyphRun& r) {
            return r.positions().isEmpty() ? 0.0 : r.positions().first().x();
        };
        return left(a) < left(b);
    });
    return runs;
}

// The outlines of glyphs, each at its position.
QPainterPath glyphOutlines(const QRawFont& raw, const quint32* glyphs, const QPointF* positions,
                           size_t count) {
    QPainterPath path;
    for (size_t i = 0; i < count; ++i) path.addPath(raw.pathForGlyph(glyphs[i]).translated(positions[i]));
    return path;
}

// Joins the horizontal and the vertical lines of one pen that continue or overlap one another (the cell
// edges of a table's rows make one line down the page). With square caps the joined line covers
// exactly what its pieces covered. Slanting lines are moved to the end, unjoined; the count of the
// straight lines is returned (viewers snap a path of straight lines to whole pixels, but not a path
// with a slanting line in it, so the two kinds are drawn apart).
size_t joinStraightLines(std::vector<QLineF>& lines) {
    std::vector<QLineF> vertical, horizontal, other;
    for (const QLineF& l : lines) {
        if (l.x1() == l.x2()) {
            vertical.emplace_back(l.x1(), std::min(l.y1(), l.y2()), l.x2(), std::max(l.y1(), l.y2()));
        } else if (l.y1() == l.y2()) {
            horizontal.emplace_back(std::min(l.x1(), l.x2()), l.y1(), std::max(l.x1(), l.x2()), l.y2());
        } else {
            other.push_back(l);
        }
    }
    // along: the coordinate the line runs along; across: the one it keeps.
    auto join = [](std::vector<QLineF>& parts, auto across, auto from, auto to, auto make) {
        std::sort(parts.begin(), parts.end(), [&](const QLineF& a, const QLineF& b) {
            return across(a) != across(b) ? across(a) < across(b) : from(a) < from(b);
        });
        std::vector<QLineF> joined;
        for (const QLineF& l : parts) {
            if (!joined.empty() && across(joined.back()) == across(l) && from(l) <= to(joined.back())) {
                joined.back() = make(across(l), from(joined.back()), std::max(to(joined.back()), to(l)));
            } else {
                joined.push_back(l);
            }
        }
        parts.swap(joined);
    };
    join(
        vertical, [](const QLineF& l) { return l.x1(); }, [](const QLineF& l) { return l.y1(); },
        [](const QLineF& l) { return l.y2(); }, [](qreal x, qreal a, qreal b) { return QLineF(x, a, x, b); });
    join(
        horizontal, [](const QLineF& l) { return l.y1(); }, [](const QLineF& l) { return l.x1(); },
        [](const QLineF& l) { return l.x2(); }, [](qreal y, qreal a, qreal b) { return QLineF(a, y, b, y); });
    lines.clear();
    lines.insert(lines.end(), vertical.begin(), vertical.end());
    lines.insert(lines.end(), horizontal.begin(), horizontal.end());
    const size_t straight = lines.size();
    lines.insert(lines.end(), other.begin(), other.end());
    return straight;
}

std::vector<PenLines> linesByPen(const std::vector<PageLine>& lines) {
    std::vector<PenLines> pens;
    for (const PageLine& l : lines) {
        auto it = std::find_if(pens.begin(), pens.end(),
                               [&](const PenLines& p) { return p.penPixels == l.penPixels; });
        if (it == pens.end()) it = pens.insert(pens.end(), PenLines{l.penPixels, {}});
        it->lines.push_back(l.line);
    }
    return pens;
}

}  // namespace slp::print
