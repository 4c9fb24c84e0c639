#include "print/font_metrics.h"

#include <QGuiApplication>
#include <cmath>

#include "print/chinese_fonts.h"
#include "print/page_pieces.h"
#include "print/pdf/truetype_face.h"

using namespace Qt::StringLiterals;

namespace slp::print {

namespace {
constexpr double twipsPerInch = 1440.0;
}

namespace {
// Printable ASCII, the bulk of a wage table, without the call.
inline bool isPlain(char16_t c) {
    return (c >= 0x20 && c < 0x7F) || plainCharacter(c);
}
}  // namespace

MeasuredFont::MeasuredFont(const QFont& font, const QPaintDevice& device)
    : font_(font),
      device_(device),
      metrics_(font, &device),
      ascent_(metrics_.ascent()),
      height_(metrics_.height()),
      raw_(QRawFont::fromFont(QFont(font, &device))) {}

const MeasuredFont::Glyph& MeasuredFont::lookUp(char16_t c) {
    Glyph* g;
    if (c < ascii_.size()) {
        g = &ascii_[c];
    } else {
        auto found = others_.find(c);
        if (found != others_.end()) return found.value();
        if (others_.size() >= kMaxRememberedWidths) others_.clear();
        g = &others_[c];
    }
    if (g->known) return *g;
    g->known = true;
    const QChar ch(c);
    quint32 index = 0;
    int count = 1;
    if (raw_.isValid() && raw_.glyphIndexesForChars(&ch, 1, &index, &count) && count == 1 && index != 0) {
        QPointF advance;
        if (raw_.advancesForGlyphIndexes(&index, &advance, 1, QRawFont::SeparateAdvances)) {
            g->index = index;
            g->advance = qRound(advance.x() * 64);
        }
    }
    return *g;
}

bool MeasuredFont::place(const QString& text, QPointF origin, std::vector<quint32>& glyphs,
                         std::vector<QPointF>& at, std::vector<char32_t>& characters) {
    const size_t start = glyphs.size();
    int x = 0;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        const Glyph* g = isPlain(c) ? &glyph(c) : nullptr;
        if (!g || g->index == 0) {
            glyphs.resize(start);
            at.resize(start);
            characters.resize(start);
            return false;
        }
        glyphs.push_back(g->index);
        characters.push_back(c);
        at.push_back(origin + QPointF(x / 64.0, 0.0));
        x += g->advance;
    }
    return true;
}

bool MeasuredFont::plainWidth(const QString& text, qint64& width) {
    width = 0;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (!isPlain(c)) return false;
        const Glyph& g = glyph(c);
        if (g.index == 0) return false;
        width += g.advance;
    }
    return true;
}

float MeasuredFont::width(const QString& text) {
    // Adding the advances of plain characters is quicker than remembering the text; other texts are laid
    // out once and remembered.
    qint64 plain = 0;
    if (plainWidth(text, plain)) return float(plain / 64.0);
    const auto found = widths_.constFind(text);
    if (found != widths_.constEnd()) return found.value();
    const float w = float(metrics_.horizontalAdvance(text));
    if (widths_.size() >= kMaxRememberedWidths) widths_.clear();
    widths_.insert(text, w);
    return w;
}

QList<QGlyphRun> MeasuredFont::layOut(QPointF origin, const QString& text) const {
    return print::layOut(font_, device_, origin, text);
}

bool MeasuredFont::needsEmbolden() {
    if (embolden_ < 0) {
        embolden_ = 0;
        if (font_.bold() && raw_.isValid() && pdf::TrueTypeFace::of(raw_)->weight() < 600) embolden_ = 1;
    }
    return embolden_ == 1;
}

FontMetrics& FontMetrics::instance() {
    // Never destroyed: at process exit Qt's font engines may already be gone, and the fonts kept here
    // must not be released after them.
    static FontMetrics* metrics = new FontMetrics;
    return *metrics;
}

const QPaintDevice& FontMetrics::deviceAt(int dpi) {
    auto& device = devices_[dpi];
    if (!device) {
        device = std::make_unique<QImage>(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = int(std::lround(dpi / 0.0254));
        device->setDotsPerMeterX(dotsPerMeter);
        device->setDotsPerMeterY(dotsPerMeter);
    }
    return *device;
}

std::shared_ptr<MeasuredFont> FontMetrics::font(const QString& face, float size, bool bold, int dpi) {
    if (dpi <= 0) dpi = 96;
    Key key{face, size, bold, dpi};
    auto found = kept_.constFind(key);
    if (found != kept_.constEnd()) return found.value();
    if (kept_.size() >= kMaxKeptFonts) kept_.clear();
    QFont font;
    // The named face first, then its stand-ins: the result does not depend on how the font system's own
    // aliases happen to be configured.
    font.setFamilies(QStringList{face} + chineseFontSubstitutes(face));
    // The font is resolved at the device's resolution and drawn through the twips transform, so the size
    // is given in points of a 1440 dpi device.
    font.setPointSizeF(double(size) * twipsPerInch / dpi);
    font.setBold(bold);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    auto measured = std::make_shared<MeasuredFont>(font, deviceAt(dpi));
    kept_.insert(std::move(key), measured);
    return measured;
}

bool FontMetrics::faceAvailable(const QString& face) {
    if (availableFaces_.contains(face)) return true;
    // A face that is missing is asked again: substitutes may be registered later.
    if (!fontFaceAvailable(face)) return false;
    if (availableFaces_.size() >= kMaxKeptFonts) availableFaces_.clear();
    availableFaces_.insert(face);
    return true;
}

float lineHeight(const QString& face, float size, bool bold, int dpi) {
    return float(FontMetrics::instance().font(face, size, bold, dpi)->height());
}

float measureCharUnit(const QString& family, float pointSize) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return pointSize * 20;
    QFont font(family);
    font.setPointSizeF(double(pointSize));
    // 1440 dots per inch: 56693 dots per metre reads back as 1440 dpi.
    QImage device(1, 1, QImage::Format_ARGB32);
    device.setDotsPerMeterX(56693);
    device.setDotsPerMeterY(56693);
    const QFontMetricsF metrics(font, &device);
    return float(metrics.horizontalAdvance(u"我"_s));
}

}  // namespace slp::print
