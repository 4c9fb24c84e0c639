// A page value into the PDF document: its lines, a pen width at a time with the pieces that continue one
// another joined, then its texts as glyphs in drawing order, one segment for each change of font. The
// glyphs are placed on the caller's thread, which holds the fonts; the content is made and written on
// the document's thread.
#include <QHash>
#include <algorithm>
#include <memory>
#include <vector>

#include "basic/error.h"
#include "print/font_metrics.h"
#include "print/page.h"
#include "print/page_pieces.h"
#include "print/pdf/pdf_document.h"
#include "print/print_target.h"

using namespace Qt::StringLiterals;

namespace slp::print::pdf {

namespace {

// A page's glyphs in drawing order with a segment for each change of font, so a text's glyphs stay
// together for whoever reads the text back, even where Qt drew some of them from another face.
struct Glyphs {
    struct Segment {
        std::shared_ptr<MeasuredFont> font;  // the font the glyphs were placed in, or
        QRawFont raw;                        // the face Qt's text layout chose (font then null)
        bool bold = false;
        size_t begin = 0;  // the first of its glyphs
        const QRawFont& rawFont() const { return font ? font->raw() : raw; }
        bool sameFont(const Segment& o) const {
            return font ? font == o.font : !o.font && bold == o.bold && raw == o.raw;
        }
    };
    std::vector<Segment> segments;
    std::vector<quint32> indexes;
    std::vector<QPointF> positions;
    std::vector<char32_t> characters;

    // Makes the last segment the one of this font.
    void holdIn(Segment segment) {
        segment.begin = indexes.size();
        if (!segments.empty() && segments.back().begin == segment.begin) segments.pop_back();
        if (!segments.empty() && segments.back().sameFont(segment)) return;
        segments.push_back(std::move(segment));
    }
    void holdIn(const std::shared_ptr<MeasuredFont>& font) {
        if (!segments.empty() && segments.back().font == font) return;
        holdIn(Segment{font, {}, font->font().bold(), 0});
    }

    // A text Qt lays out: its glyphs with the faces Qt chose, in the order of the text.
    void holdLaidOut(MeasuredFont& font, QPointF baseline, const QString& text) {
        for (const QGlyphRun& run : font.layOut(baseline, text)) {
            const QRawFont raw = run.rawFont();
            const QList<quint32> runGlyphs = run.glyphIndexes();
            const QList<QPointF> at = run.positions();
            // The character of each glyph, from the face's own character map.
            QHash<quint32, char32_t> characterOf;
            for (const char32_t c : text.toUcs4()) {
                const QString one = QString::fromUcs4(&c, 1);
                quint32 glyph[2] = {0, 0};
                int count = 2;
                if (raw.glyphIndexesForChars(one.constData(), int(one.size()), glyph, &count) && count == 1 &&
                    glyph[0] != 0) {
                    characterOf.insert(glyph[0], c);
                }
            }
            holdIn(Segment{nullptr, raw, font.font().bold(), 0});
            for (qsizetype i = 0; i < runGlyphs.size() && i < at.size(); ++i) {
                indexes.push_back(runGlyphs[i]);
                positions.push_back(at[i]);
                characters.push_back(characterOf.value(runGlyphs[i], 0));
            }
        }
    }
};

}  // namespace

void PdfDocument::addPage(const Page& page, QSizeF points, float penPixelTwips, int dpi) {
    auto work = std::make_shared<PageWork>();
    work->points = points;
    work->origin = origin_;
    work->penPixelTwips = penPixelTwips;
    work->lines = page.lines;

    Glyphs g;
    FontMetrics& metrics = FontMetrics::instance();
    std::shared_ptr<MeasuredFont> font;
    const PageText* fontOf = nullptr;  // the text the font in force was found for
    for (const PageText& t : page.texts) {
        if (!fontOf || fontOf->face != t.face || fontOf->size != t.size || fontOf->bold != t.bold) {
            // Without the face nor a stand-in the font system has nothing to place the glyphs with (on
            // a machine without fonts it hands out a face without a name): the print stops here.
            if (!metrics.faceAvailable(t.face)) {
                throw Error(fontRefusedError, u"无法使用字体“%1”"_s.arg(t.face));
            }
            font = metrics.font(t.face, t.size, t.bold, dpi);
            fontOf = &t;
        }
        const QPointF baseline(t.at.x(), t.at.y() + font->ascent());
        g.holdIn(font);
        if (!font->place(t.text, baseline, g.indexes, g.positions, g.characters)) {
            g.holdLaidOut(*font, baseline, t.text);
        }
    }
    for (size_t i = 0; i < g.segments.size(); ++i) {
        const auto& segment = g.segments[i];
        const QRawFont& raw = segment.rawFont();
        TextRun run;
        run.begin = segment.begin;
        run.end = i + 1 < g.segments.size() ? g.segments[i + 1].begin : g.indexes.size();
        if (run.begin == run.end) continue;
        run.job = this->fontOf(raw);
        run.size = raw.pixelSize();
        run.bold = segment.bold;
        if (!run.job) {
            run.outlines = glyphOutlines(raw, g.indexes.data() + run.begin, g.positions.data() + run.begin,
                                         run.end - run.begin);
        }
        work->runs.push_back(std::move(run));
    }
    work->glyphs = std::move(g.indexes);
    work->origins = std::move(g.positions);
    work->characters = std::move(g.characters);

    // A page begun by drawing directly ends before this one.
    endPage();
    pageSize_ = points;
    work->contents = out_.reserve();
    work->object = out_.reserve();
    writer_.post([this, work] { writePage(*work); });
}

void PdfDocument::writePage(const PageWork& work) {
    startContent(work.points, work.origin);
    for (PenLines& pen : linesByPen(work.lines)) {
        const float width = float(pen.penPixels) * work.penPixelTwips;
        const size_t straight = joinStraightLines(pen.lines);
        stroke(width, pen.lines.data(), straight);
        stroke(width, pen.lines.data() + straight, pen.lines.size() - straight);
    }
    for (const TextRun& run : work.runs) {
        if (!run.job) {
            content_ += run.outlines;
            continue;
        }
        text(*run.job, run.size, run.bold, work.glyphs.data() + run.begin, work.origins.data() + run.begin,
             work.characters.data() + run.begin, run.end - run.begin);
    }
    writeContent(work.points, work.contents, work.object);
}

}  // namespace slp::print::pdf
