#include "print/painter_print_target.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QSet>

#include "print/chinese_fonts.h"

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
        : font(f), metrics(f, &device), ascent(metrics.ascent()), height(metrics.height()) {}

    QFont font;
    QFontMetricsF metrics;
    qreal ascent;
    qreal height;
    QHash<QString, float> widths;
    // The painter's copy of the font after it was last set there: while the painter holds it, the font
    // is in force.
    QFont painterFont;
    bool painterFontSet = false;
};

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
    ResolvedFont* current = nullptr;  // the font of the face, size and weight in force
    int currentDpi = 0;
    // Faces found to exist; a face that is missing is asked again (substitutes may be registered later).
    QSet<QString> availableFaces;
    // The pen of the lines at the last width asked for.
    QPen linePen;
    float linePenWidth = -1;
};

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
    f.current = found.value().get();
    f.currentDpi = dpi;
    return *f.current;
}

QFont PainterPrintTarget::currentFont() const {
    return resolved().font;
}

float PainterPrintTarget::TextWidth(const QString& text) {
    ResolvedFont& font = resolved();
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
    QPainter& p = preparedPainter();
    Fonts& f = *fonts_;
    const float width = float(DrawWidth()) * penPixelTwips();
    if (width != f.linePenWidth) {
        f.linePen = QPen(Qt::black);
        f.linePen.setWidthF(double(width));
        f.linePen.setCapStyle(Qt::SquareCap);
        f.linePen.setJoinStyle(Qt::MiterJoin);
        f.linePenWidth = width;
    }
    if (p.pen() != f.linePen) p.setPen(f.linePen);
    p.drawLine(QLineF(x1, y1, x2, y2));
}

void PainterPrintTarget::drawText(float x, float y, const QString& text) {
    if (text.isEmpty()) return;
    QPainter& p = preparedPainter();
    ResolvedFont& font = resolved();
    if (!font.painterFontSet || !p.font().isCopyOf(font.painterFont)) {
        p.setFont(font.font);
        font.painterFont = p.font();
        font.painterFontSet = true;
    }
    // Text is filled with the pen's brush; its width does not matter, so the lines' pen serves.
    const QPen& pen = p.pen();
    if (pen.style() == Qt::NoPen || pen.brush().style() != Qt::SolidPattern || pen.color() != Qt::black) {
        p.setPen(QPen(Qt::black));
    }
    p.drawText(QPointF(x, double(y) + font.ascent), text);
}

}  // namespace slp::print
