#pragma once
// What a print target hands a page to when the printer writes the PDF itself rather than through a
// QPainter: the page's lines, a pen width at a time, and its glyphs, a font at a time. Lengths are
// twips from the top left corner of the page; everything is black.
#include <QLineF>
#include <QPointF>
#include <QRawFont>
#include <cstddef>

namespace slp::print {

class PageDrawing {
  public:
    virtual ~PageDrawing() = default;
    // Straight lines of one pen width (twips), square-capped.
    virtual void strokeLines(float width, const QLineF* lines, size_t count) = 0;
    // Glyphs of a raw font whose pixel size is its size in twips, each with its baseline origin and the
    // character it stands for (0 when none is known). bold: the text asked for a bold face, which is
    // drawn emboldened when the font itself is not bold.
    virtual void showGlyphs(const QRawFont& font, bool bold, const quint32* glyphs, const QPointF* origins,
                            const char32_t* characters, size_t count) = 0;
};

}  // namespace slp::print
