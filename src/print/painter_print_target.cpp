#include "print/painter_print_target.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRawFont>
#include <QSet>
#include <algorithm>
#include <array>
#include <vector>

#include "print/chinese_fonts.h"
#include "print/page_drawing.h"
#include "print/page_pieces.h"
#include "print/pdf/truetype_face.h"

namespace slp::print {

namespace {
constexpr double twipsPerInch = 1440.0;

int dpiOf(const QPaintDevice& device) {
    const int dpi = device.logicalDpiY();
    return dpi > 0 ? dpi : 96;
}

}  // namespace

// One face, size and weight at one resolution, resolved once.
struct PainterPrintTarget::ResolvedFont {
    ResolvedFont(const QFont& f, const QPaintDevice& device)
        : font(f),
          metrics(f, &device),
          ascent(metrics.ascent()),
          height(metrics.height()),
          raw(QRawFont::fromFont(QFont(f, &device))) {
        run.setRawFont(raw);
    }

    // A character's glyph in the first face of the font and its advance in 1/64 units (as Qt's text
    // layout adds them up); index 0 when the face does not hold the character.
    struct Glyph {
        quint32 index = 0;
        int advance = 0;
        bool known = false;
    };
    const Glyph& glyph(char16_t c);
    // Adds the glyphs of a text of plain characters that the first face holds, placed one after
    // another from the origin on the baseline, and their characters; false (and nothing added) when
    // Qt's text layout has to place the text.
    bool place(const QString& text, QPointF origin, std::vector<quint32>& indexes,
               std::vector<QPointF>& positions, std::vector<char32_t>& characters);
    // The width of such a text in 1/64 units; false for any other text.
    bool plainWidth(const QString& text, qint64& width);

    QFont font;
    QFontMetricsF metrics;
    qreal ascent;
    qreal height;
    QHash<QString, float> widths;
    // The painter's copy of the font after it was last set there: while the painter holds it, the font
    // is in force.
    QFont painterFont;
    bool painterFontSet = false;

    QRawFont raw;  // the first face, the one the font draws these characters with
    QGlyphRun run;
    // Whether the painter has to embolden the font's glyphs itself: bold asked of a face without a
    // bold of its own. Qt's font engine emboldens such a face only for glyphs it draws unscaled, never
    // through the twips transform or into a PDF. Found out once (-1 until then).
    int embolden = -1;
    std::array<Glyph, 0x80> ascii;
    QHash<char16_t, Glyph> others;
};

const PainterPrintTarget::ResolvedFont::Glyph& PainterPrintTarget::ResolvedFont::glyph(char16_t c) {
    Glyph* g;
    if (c < ascii.size()) {
        g = &ascii[c];
    } else {
        auto found = others.find(c);
        if (found != others.end()) return found.value();
        if (others.size() >= kMaxRememberedWidths) others.clear();
        g = &others[c];
    }
    if (g->known) return *g;
    g->known = true;
    const QChar ch(c);
    quint32 index = 0;
    int count = 1;
    if (raw.isValid() && raw.glyphIndexesForChars(&ch, 1, &index, &count) && count == 1 && index != 0) {
        QPointF advance;
        if (raw.advancesForGlyphIndexes(&index, &advance, 1, QRawFont::SeparateAdvances)) {
            g->index = index;
            g->advance = qRound(advance.x() * 64);
        }
    }
    return *g;
}

bool PainterPrintTarget::ResolvedFont::place(const QString& text, QPointF origin,
                                             std::vector<quint32>& indexes, std::vector<QPointF>& positions,
                                             std::vector<char32_t>& characters) {
    const size_t start = indexes.size();
    int x = 0;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        const Glyph* g = plainCharacter(c) ? &glyph(c) : nullptr;
        if (!g || g->index == 0) {
            indexes.resize(start);
            positions.resize(start);
            characters.resize(start);
            return false;
        }
        indexes.push_back(g->index);
        characters.push_back(c);
        positions.push_back(origin + QPointF(x / 64.0, 0.0));
        x += g->advance;
    }
    return true;
}

bool PainterPrintTarget::ResolvedFont::plainWidth(const QString& text, qint64& width) {
    width = 0;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (!plainCharacter(c)) return false;
        const Glyph& g = glyph(c);
        if (g.index == 0) return false;
        width += g.advance;
    }
    return true;
}

struct PainterPrintTarget::Fonts {
    struct Key {
        QString face;
        float size;
        bool bold;
        int dpi;
        friend bool operator==(const Key&, const Key&) = default;
    };
    friend size_t qHash(const Key& k, size_t seed) { return qHashMulti(seed, k.face, k.size, k.bold, k.dpi); }

    QHash<Key, std::shared_ptr<ResolvedFont>> kept;
    std::shared_ptr<ResolvedFont> current;  // the font of the face, size and weight in force
    int currentDpi = 0;
    // Faces found to exist; a face that is missing is asked again (substitutes may be registered later).
    QSet<QString> availableFaces;
    // The pen of the lines at the last width asked for.
    QPen linePen;
    float linePenWidth = -1;
    const QPen& linePenOf(float width) {
        if (width != linePenWidth) {
            linePen = QPen(Qt::black);
            linePen.setWidthF(double(width));
            linePen.setCapStyle(Qt::SquareCap);
            linePen.setJoinStyle(Qt::MiterJoin);
            linePenWidth = width;
        }
        return linePen;
    }

    // What a page on a PDF device holds back until it ends: its glyphs, in the order they were drawn
    // with a segment for each change of font, and the lines of each pen width. Everything is black, so
    // drawing the lines and then the texts of a page gives the same page as drawing them in turn. A
    // painter gets one glyph run a font and one path a pen instead of a text object and a path for
    // every cell; a page drawing gets the glyphs in their order, so a text's glyphs stay together even
    // when Qt drew some of them from another face.
    struct GlyphSegment {
        std::shared_ptr<ResolvedFont> font;  // the font the target placed them in, or
        QRawFont raw;                        // the font Qt's text layout chose (font then null)
        bool bold = false;
        size_t begin = 0;  // the first of its glyphs
        const QRawFont& rawFont() const { return font ? font->raw : raw; }
        bool sameFont(const GlyphSegment& o) const {
            return font ? font == o.font : !o.font && bold == o.bold && raw == o.raw;
        }
    };
    std::vector<GlyphSegment> segments;
    std::vector<quint32> indexes;
    std::vector<QPointF> positions;
    std::vector<char32_t> characters;
    // Makes the last segment the one of this font.
    void holdIn(GlyphSegment segment) {
        segment.begin = indexes.size();
        if (!segments.empty() && segments.back().begin == segment.begin) segments.pop_back();
        if (!segments.empty() && segments.back().sameFont(segment)) return;
        segments.push_back(std::move(segment));
    }
    void holdIn(const std::shared_ptr<ResolvedFont>& font) {
        if (!segments.empty() && segments.back().font == font) return;
        holdIn(GlyphSegment{font, {}, font->font.bold(), 0});
    }
    void clearGlyphs() {
        segments.clear();
        indexes.clear();
        positions.clear();
        characters.clear();
    }
    struct HeldLines {
        float width;
        std::vector<QLineF> lines;
    };
    std::vector<HeldLines> lines;
    size_t held = 0;  // glyphs and lines held
    std::vector<QLineF>& linesOf(float width) {
        for (auto& l : lines) {
            if (l.width == width) return l.lines;
        }
        lines.push_back({width, {}});
        return lines.back().lines;
    }
};

namespace {
// Held glyphs and lines at most before they are drawn (a page of the widest table holds far fewer).
constexpr size_t kMaxHeld = 1 << 16;

bool onPdf(QPainter& p) {
    return p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Pdf;
}

void ensureBlackPen(QPainter& p) {
    // Text is filled with the pen's brush; its width does not matter, so the lines' pen serves.
    const QPen& pen = p.pen();
    if (pen.style() == Qt::NoPen || pen.brush().style() != Qt::SolidPattern || pen.color() != Qt::black) {
        p.setPen(QPen(Qt::black));
    }
}
}  // namespace

PainterPrintTarget::PainterPrintTarget() : fonts_(std::make_unique<Fonts>()) {}

PainterPrintTarget::~PainterPrintTarget() = default;

void PainterPrintTarget::SetFontSize(float points) {
    BasicPrintTarget::SetFontSize(points);
    fonts_->current = nullptr;
}

void PainterPrintTarget::SetFontName(const QString& face) {
    BasicPrintTarget::SetFontName(face);
    fonts_->current = nullptr;
}

void PainterPrintTarget::SetFontBold(bool bold) {
    BasicPrintTarget::SetFontBold(bold);
    fonts_->current = nullptr;
}

PainterPrintTarget::ResolvedFont& PainterPrintTarget::resolved() const {
    Fonts& f = *fonts_;
    const QPaintDevice& device = metricsDevice();
    const int dpi = dpiOf(device);
    if (f.current && f.currentDpi == dpi) return *f.current;
    Fonts::Key key{FontName(), FontSize(), FontBold(), dpi};
    auto found = f.kept.constFind(key);
    if (found == f.kept.constEnd()) {
        if (f.kept.size() >= kMaxKeptFonts) f.kept.clear();
        QFont font;
        // The named face first, then its stand-ins: the result does not depend on how the font
        // system's own aliases happen to be configured.
        font.setFamilies(QStringList{FontName()} + chineseFontSubstitutes(FontName()));
        // A point is 20 twips; the font is resolved at the device's resolution and then drawn through
        // the twips transform, so the size is given in points of a 1440 dpi device.
        font.setPointSizeF(double(FontSize()) * twipsPerInch / dpi);
        font.setBold(FontBold());
        font.setKerning(false);
        font.setHintingPreference(QFont::PreferNoHinting);
        found = f.kept.insert(key, std::make_shared<ResolvedFont>(font, device));
    }
    f.current = found.value();
    f.currentDpi = dpi;
    return *f.current;
}

bool PainterPrintTarget::needsEmbolden(ResolvedFont& font) {
    if (font.embolden < 0) {
        font.embolden = 0;
        if (font.font.bold() && font.raw.isValid() && pdf::TrueTypeFace::of(font.raw)->weight() < 600) {
            font.embolden = 1;
        }
    }
    return font.embolden == 1;
}

void PainterPrintTarget::strokeEmboldened(QPainter& p, const ResolvedFont& font,
                                          const QPainterPath& outlines) {
    // Stroking the outlines as well as filling them, as the PDF files do: a pen of a thirtieth of the
    // font size (the raw font's pixels are twips).
    QPen pen(Qt::black);
    pen.setWidthF(font.raw.pixelSize() / 30);
    pen.setJoinStyle(Qt::RoundJoin);
    p.strokePath(outlines, pen);
}

QFont PainterPrintTarget::currentFont() const {
    return resolved().font;
}

float PainterPrintTarget::TextWidth(const QString& text) {
    ResolvedFont& font = resolved();
    // A text of plain characters is as wide as its characters' advances (Qt's layout adds up the same):
    // adding them is quicker than remembering the text. Other texts are laid out once and remembered.
    qint64 plain = 0;
    if (font.plainWidth(text, plain)) return float(plain / 64.0);
    const auto found = font.widths.constFind(text);
    if (found != font.widths.constEnd()) return found.value();
    const float width = float(font.metrics.horizontalAdvance(text));
    if (font.widths.size() >= kMaxRememberedWidths) font.widths.clear();
    font.widths.insert(text, width);
    return width;
}

float PainterPrintTarget::TextHeight(const QString&) {
    return float(resolved().height);
}

bool PainterPrintTarget::faceAvailable(const QString& face) const {
    if (fonts_->availableFaces.contains(face)) return true;
    if (!fontFaceAvailable(face)) return false;
    if (fonts_->availableFaces.size() >= kMaxKeptFonts) fonts_->availableFaces.clear();
    fonts_->availableFaces.insert(face);
    return true;
}

QPainter& PainterPrintTarget::preparedPainter() {
    QPainter& p = painter();
    const QPaintDevice* device = p.device();
    const QTransform twips =
        QTransform::fromScale(device->logicalDpiX() / twipsPerInch, device->logicalDpiY() / twipsPerInch);
    if (p.worldTransform() != twips) p.setWorldTransform(twips);
    if (!p.testRenderHint(QPainter::TextAntialiasing)) p.setRenderHint(QPainter::TextAntialiasing, true);
    return p;
}

void PainterPrintTarget::Line(float x1, float y1, float x2, float y2) {
    Fonts& f = *fonts_;
    const float width = float(DrawWidth()) * penPixelTwips();
    // A page drawing or a PDF device gets the page's lines together (see flush).
    if (pageDrawing() || onPdf(preparedPainter())) {
        f.linesOf(width).emplace_back(x1, y1, x2, y2);
        if (++f.held >= kMaxHeld) flush();
        return;
    }
    QPainter& p = preparedPainter();
    const QPen& pen = f.linePenOf(width);
    if (p.pen() != pen) p.setPen(pen);
    p.drawLine(QLineF(x1, y1, x2, y2));
}

void PainterPrintTarget::drawText(float x, float y, const QString& text) {
    if (text.isEmpty()) return;
    Fonts& f = *fonts_;
    // A printer that writes the page itself gets every text as glyphs; a PDF device (a printer's job
    // through Qt) gets held glyphs for the texts the target can place. A text whose characters all
    // stand in the font's first face is placed here from remembered glyphs and advances rather than
    // laid out by Qt for every cell. The picture keeps Qt's own text drawing.
    const bool direct = pageDrawing() != nullptr;
    QPainter* p = direct ? nullptr : &preparedPainter();
    ResolvedFont& font = resolved();
    const QPointF baseline(x, double(y) + font.ascent);
    const QPaintDevice* device = p ? p->device() : nullptr;
    if (direct || (onPdf(*p) && device && device->logicalDpiY() == f.currentDpi &&
                   device->logicalDpiX() == f.currentDpi)) {
        f.holdIn(f.current);
        bool held = font.place(text, baseline, f.indexes, f.positions, f.characters);
        if (held) {
            f.held += size_t(text.size());
        } else if (direct) {
            holdLaidOut(font, baseline, text);
            held = true;
        }
        if (held) {
            if (f.held >= kMaxHeld) flush();
            return;
        }
    }
    ensureBlackPen(*p);
    if (!font.painterFontSet || !p->font().isCopyOf(font.painterFont)) {
        p->setFont(font.font);
        font.painterFontSet = true;
        font.painterFont = p->font();
    }
    p->drawText(baseline, text);
    if (needsEmbolden(font)) strokeEmboldened(*p, font, textOutlines(font, baseline, text));
}

QPainterPath PainterPrintTarget::textOutlines(ResolvedFont& font, QPointF baseline, const QString& text) {
    std::vector<quint32> indexes;
    std::vector<QPointF> positions;
    std::vector<char32_t> characters;
    if (font.place(text, baseline, indexes, positions, characters)) {
        return glyphOutlines(font.raw, indexes.data(), positions.data(), indexes.size());
    }
    QPainterPath path;
    for (const QGlyphRun& run : layOut(font.font, metricsDevice(), baseline, text)) {
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> at = run.positions();
        for (qsizetype i = 0; i < glyphs.size() && i < at.size(); ++i) {
            path.addPath(run.rawFont().pathForGlyph(glyphs[i]).translated(at[i]));
        }
    }
    return path;
}

void PainterPrintTarget::holdLaidOut(ResolvedFont& font, QPointF baseline, const QString& text) {
    // The glyphs are held with the faces Qt chose, in the order of the text, so a text's glyphs stay
    // together for whoever reads the text back.
    Fonts& f = *fonts_;
    for (const QGlyphRun& run : layOut(font.font, metricsDevice(), baseline, text)) {
        const QRawFont raw = run.rawFont();
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
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
        f.holdIn(Fonts::GlyphSegment{nullptr, raw, font.font.bold(), 0});
        for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i) {
            f.indexes.push_back(indexes[i]);
            f.positions.push_back(positions[i]);
            f.characters.push_back(characterOf.value(indexes[i], 0));
        }
        f.held += size_t(indexes.size());
    }
}

void PainterPrintTarget::flush() {
    Fonts& f = *fonts_;
    if (f.held == 0) {
        f.clearGlyphs();
        return;
    }
    if (PageDrawing* page = pageDrawing()) {
        for (auto& held : f.lines) {
            if (held.lines.empty()) continue;
            const size_t straight = joinStraightLines(held.lines);
            page->strokeLines(held.width, held.lines.data(), straight);
            page->strokeLines(held.width, held.lines.data() + straight, held.lines.size() - straight);
            held.lines.clear();
        }
        for (size_t i = 0; i < f.segments.size(); ++i) {
            const auto& segment = f.segments[i];
            const size_t end = i + 1 < f.segments.size() ? f.segments[i + 1].begin : f.indexes.size();
            page->showGlyphs(segment.rawFont(), segment.bold, f.indexes.data() + segment.begin,
                             f.positions.data() + segment.begin, f.characters.data() + segment.begin,
                             end - segment.begin);
        }
        f.clearGlyphs();
        f.held = 0;
        return;
    }
    QPainter& p = preparedPainter();
    for (auto& held : f.lines) {
        if (held.lines.empty()) continue;
        const QPen& pen = f.linePenOf(held.width);
        if (p.pen() != pen) p.setPen(pen);
        const size_t straight = joinStraightLines(held.lines);
        if (straight > 0) p.drawLines(held.lines.data(), int(straight));
        for (size_t i = straight; i < held.lines.size(); ++i) p.drawLine(held.lines[i]);
        held.lines.clear();
    }
    ensureBlackPen(p);
    // The painter gets the glyphs of a font together, one run a font.
    std::vector<bool> drawn(f.segments.size(), false);
    std::vector<quint32> indexes;
    std::vector<QPointF> positions;
    for (size_t i = 0; i < f.segments.size(); ++i) {
        if (drawn[i]) continue;
        indexes.clear();
        positions.clear();
        for (size_t k = i; k < f.segments.size(); ++k) {
            if (drawn[k] || !f.segments[k].sameFont(f.segments[i])) continue;
            drawn[k] = true;
            const size_t from = f.segments[k].begin;
            const size_t to = k + 1 < f.segments.size() ? f.segments[k + 1].begin : f.indexes.size();
            indexes.insert(indexes.end(), f.indexes.begin() + long(from), f.indexes.begin() + long(to));
            positions.insert(positions.end(), f.positions.begin() + long(from),
                             f.positions.begin() + long(to));
        }
        if (indexes.empty()) continue;
        QGlyphRun own;
        QGlyphRun& run = f.segments[i].font ? f.segments[i].font->run : own;
        if (!f.segments[i].font) run.setRawFont(f.segments[i].raw);
        run.setRawData(indexes.data(), positions.data(), int(indexes.size()));
        p.drawGlyphRun(QPointF(0, 0), run);
        run.setRawData(nullptr, nullptr, 0);
        if (f.segments[i].font && needsEmbolden(*f.segments[i].font)) {
            strokeEmboldened(
                p, *f.segments[i].font,
                glyphOutlines(f.segments[i].font->raw, indexes.data(), positions.data(), indexes.size()));
        }
    }
    f.clearGlyphs();
    f.held = 0;
}

void PainterPrintTarget::discard() {
    fonts_->clearGlyphs();
    for (auto& held : fonts_->lines) held.lines.clear();
    fonts_->held = 0;
}

}  // namespace slp::print
