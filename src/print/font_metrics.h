#pragma once
// Measuring text for printed pages: one service for the process that resolves each face, size and
// weight once, and remembers the glyphs and advances of the characters it has measured. The page
// recorder measures through it, the painter and the PDF writer place glyphs through it; nothing else
// keeps fonts or widths.
//
// Fonts are resolved at a device resolution and sized so that a point is 20 twips whatever the
// resolution: one font pixel is one twip.
#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPointF>
#include <QRawFont>
#include <QSet>
#include <QString>
#include <array>
#include <map>
#include <memory>
#include <vector>

namespace slp::print {

// One face, size and weight at one resolution.
class MeasuredFont {
  public:
    MeasuredFont(const QFont& font, const QPaintDevice& device);

    // The Qt font, sized for the device it was resolved for.
    const QFont& font() const { return font_; }
    // The device it was resolved for (Qt's text layout needs it).
    const QPaintDevice& device() const { return device_; }
    qreal ascent() const { return ascent_; }
    qreal height() const { return height_; }
    // The first face of the font, the one it draws the characters it holds with; its pixels are twips.
    const QRawFont& raw() const { return raw_; }

    // The width of a text in twips: the advances of its characters for a text of plain characters the
    // first face holds, Qt's layout (remembered) for any other.
    float width(const QString& text);

    // Adds the glyphs of a text of plain characters that the first face holds, placed one after
    // another from `origin` on the baseline, and their characters; false (and nothing added) when Qt's
    // text layout has to place the text.
    bool place(const QString& text, QPointF origin, std::vector<quint32>& glyphs, std::vector<QPointF>& at,
               std::vector<char32_t>& characters);
    // Qt's layout of a text whose baseline starts at `origin`, its runs in the order of the text.
    QList<QGlyphRun> layOut(QPointF origin, const QString& text) const;

    // Bold asked of a face without a bold of its own: the glyphs have to be emboldened by whoever draws
    // them (Qt's engine does it only for glyphs it draws unscaled).
    bool needsEmbolden();

    // Widths of texts laid out by Qt remembered at most; then the memory starts afresh.
    static constexpr int kMaxRememberedWidths = 4096;

  private:
    // A character's glyph in the first face and its advance in 1/64 units (as Qt's text layout adds
    // them up); index 0 when the face does not hold the character.
    struct Glyph {
        quint32 index = 0;
        int advance = 0;
        bool known = false;
    };
    // ASCII already measured is looked up here; anything else is measured or found in `others_`.
    const Glyph& glyph(char16_t c) { return c < ascii_.size() && ascii_[c].known ? ascii_[c] : lookUp(c); }
    const Glyph& lookUp(char16_t c);
    bool plainWidth(const QString& text, qint64& width);

    QFont font_;
    const QPaintDevice& device_;
    QFontMetricsF metrics_;
    qreal ascent_;
    qreal height_;
    QRawFont raw_;
    int embolden_ = -1;  // found out once
    QHash<QString, float> widths_;
    std::array<Glyph, 0x80> ascii_;
    QHash<char16_t, Glyph> others_;
};

class FontMetrics {
  public:
    // The process's service.
    static FontMetrics& instance();

    // The font of a face, size (points) and weight at a resolution (dots per inch). The named face comes
    // first, then its stand-ins. The result stays valid while the caller holds it.
    std::shared_ptr<MeasuredFont> font(const QString& face, float size, bool bold, int dpi);
    // Whether a face can be drawn (remembered once found).
    bool faceAvailable(const QString& face);

    // Fonts kept at most; then they are resolved afresh.
    static constexpr int kMaxKeptFonts = 32;

  private:
    FontMetrics() = default;
    const QPaintDevice& deviceAt(int dpi);

    struct Key {
        QString face;
        float size;
        bool bold;
        int dpi;
        friend bool operator==(const Key&, const Key&) = default;
    };
    friend size_t qHash(const Key& k, size_t seed) { return qHashMulti(seed, k.face, k.size, k.bold, k.dpi); }
    QHash<Key, std::shared_ptr<MeasuredFont>> kept_;
    QSet<QString> availableFaces_;
    std::map<int, std::unique_ptr<QImage>> devices_;
};

// Height in twips of a text line in the face at `size` points, measured at `dpi`: what a page target
// of that resolution answers for TextHeight.
float lineHeight(const QString& face, float size, bool bold, int dpi);

// Width in twips of "我" in the face `family` at `pointSize` points, the unit of every grid column:
// measured for a 1440-dpi device so that one device pixel is one twip (no screen rounding or hinting in
// the way). Without a QGuiApplication there is no font database: it then answers the em square,
// pointSize × 20 twips, the width of a full-width character in the CJK faces.
float measureCharUnit(const QString& family, float pointSize);

}  // namespace slp::print
