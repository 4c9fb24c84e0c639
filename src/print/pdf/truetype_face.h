#pragma once
// The tables of a TrueType face that a PDF file embeds, read once from Qt's font, and the subset of its
// glyphs a print job uses. A face whose outlines are not TrueType quadratic outlines (no glyf table,
// such as a CFF-flavoured OpenType face) cannot be subset here; its glyphs are drawn as paths instead.
#include <QByteArray>
#include <QFile>
#include <QRawFont>
#include <QString>
#include <memory>
#include <vector>

namespace slp::print::pdf {

class TrueTypeFace {
  public:
    ~TrueTypeFace();
    TrueTypeFace(const TrueTypeFace&) = delete;
    TrueTypeFace& operator=(const TrueTypeFace&) = delete;

    // The face of a Qt raw font. Faces are kept for the process (a handful are ever used), so a print
    // job a page does not read the glyph tables of a CJK face, many megabytes, again for every file.
    // The tables are read from the font file mapped into memory (found through fontconfig, and taken
    // only when its header table is the raw font's), so only the pages of the glyphs used are read;
    // otherwise they are copied from Qt.
    static std::shared_ptr<const TrueTypeFace> of(const QRawFont& font);
    // A face from its tables, for tests.
    static std::shared_ptr<const TrueTypeFace> fromTables(QByteArray head, QByteArray hhea, QByteArray maxp,
                                                          QByteArray hmtx, QByteArray loca, QByteArray glyf);

    // Whether the face has glyph outlines that can be embedded.
    bool embeddable() const { return embeddable_; }
    int glyphCount() const { return glyphCount_; }
    int unitsPerEm() const { return unitsPerEm_; }
    // The face's box and its ascender and descender, in font units.
    int xMin() const { return xMin_; }
    int yMin() const { return yMin_; }
    int xMax() const { return xMax_; }
    int yMax() const { return yMax_; }
    int ascender() const { return ascender_; }
    // The weight class of the face (400 regular, 700 bold).
    int weight() const { return weight_; }
    int descender() const { return descender_; }
    // A glyph's advance in font units (0 for a glyph the face does not have).
    int advance(quint32 glyph) const;
    // A PostScript-style name of the face: its family name with anything but ASCII letters and digits
    // left out ("ARPLUMingCN").
    const QByteArray& postScriptName() const { return name_; }

    // A TrueType font program holding the glyphs listed: glyph i of the program is the face's glyph
    // glyphs[i]. Glyphs that composite glyphs are built from are appended to the list when it does not
    // hold them yet, and the composites refer to them at their new numbers. The list must begin with
    // glyph 0, the face's missing-glyph shape. Empty when the face is not embeddable.
    QByteArray subset(std::vector<quint32>& glyphs) const;

  private:
    TrueTypeFace() = default;
    // Reads the tables from the font file that holds the raw font's face; false when none is found.
    bool mapFile(const QRawFont& font, const QByteArray& head);
    void copyTables(const QRawFont& font);
    void parse();
    // The bytes of a glyph's outline in glyf (empty for a glyph without outline).
    QByteArrayView outline(quint32 glyph) const;

    QByteArrayView head_, hhea_, maxp_, hmtx_, loca_, glyf_, cvt_, fpgm_, prep_;
    std::vector<QByteArray> owned_;  // copied tables the views look into
    std::unique_ptr<QFile> file_;    // the mapped font file the views look into
    QByteArray name_;
    bool embeddable_ = false;
    bool longLoca_ = false;
    int glyphCount_ = 0;
    int metricsCount_ = 0;
    int unitsPerEm_ = 1000;
    int xMin_ = 0, yMin_ = 0, xMax_ = 0, yMax_ = 0;
    int ascender_ = 0, descender_ = 0;
    int weight_ = 400;
};

}  // namespace slp::print::pdf
