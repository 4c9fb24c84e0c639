#pragma once
// A face as a font of one PDF file: a CID-keyed TrueType font whose glyphs are numbered in the order the
// job first drew them, embedded as the subset of just those glyphs, with their widths and the characters
// they stand for (so the text of the file can be copied, searched and extracted).
#include <QtGlobal>
#include <memory>
#include <string>
#include <vector>

#include "print/pdf/truetype_face.h"

namespace slp::print::pdf {

class PdfOutput;

class JobFont {
  public:
    // The font is resource /F<resource> of the pages and PDF object <object>.
    JobFont(std::shared_ptr<const TrueTypeFace> face, int resource, int object);

    const TrueTypeFace& face() const { return *face_; }
    int resource() const { return resource_; }
    int object() const { return object_; }

    // The number in the file (the CID) of a glyph of the face, numbered when it is new; the character
    // it stands for is kept for text extraction (0: none known). Glyph 0 is CID 0. A glyph past the
    // 65,535 a font can number becomes the missing glyph.
    quint16 cid(quint32 glyph, char32_t character);
    // The advance of a CID in thousandths of the font size.
    double width(quint16 cid) const { return widths_[cid]; }

    // Writes the font under its object number, with its descendant font, descriptor, embedded subset and
    // character map. The tag is the six capital letters that name the subset.
    void write(PdfOutput& out, const std::string& tag) const;

    // The ToUnicode character map of a CID list (CID i stands for text[i]; 0 for none).
    static std::string toUnicodeMap(const std::vector<char32_t>& text);

  private:
    std::shared_ptr<const TrueTypeFace> face_;
    int resource_;
    int object_;
    std::vector<quint32> glyphs_;  // face glyph by CID
    std::vector<char32_t> text_;   // character by CID
    std::vector<double> widths_;   // by CID
    std::vector<quint16> cidOf_;   // CID by face glyph; 0 until numbered
};

}  // namespace slp::print::pdf
