#include "print/pdf/job_font.h"

#include <cmath>

#include "print/pdf/pdf_output.h"

namespace slp::print::pdf {

namespace {
const char hexDigits[] = "0123456789ABCDEF";

void appendHex16(std::string& out, unsigned value) {
    for (int shift = 12; shift >= 0; shift -= 4) out += hexDigits[(value >> shift) & 0xF];
}

void appendUtf16Hex(std::string& out, char32_t c) {
    if (c >= 0x10000) {
        const char32_t v = c - 0x10000;
        appendHex16(out, unsigned(0xD800 + (v >> 10)));
        appendHex16(out, unsigned(0xDC00 + (v & 0x3FF)));
    } else {
        appendHex16(out, unsigned(c));
    }
}

double thousandths(int units, int unitsPerEm) {
    return std::round(units * 100000.0 / unitsPerEm) / 100.0;
}
}  // namespace

JobFont::JobFont(std::shared_ptr<const TrueTypeFace> face, int resource, int object)
    : face_(std::move(face)), resource_(resource), object_(object) {
    cidOf_.assign(size_t(std::max(face_->glyphCount(), 1)), 0);
    glyphs_.push_back(0);
    text_.push_back(0);
    widths_.push_back(thousandths(face_->advance(0), face_->unitsPerEm()));
}

quint16 JobFont::cid(quint32 glyph, char32_t character) {
    if (glyph == 0 || glyph >= cidOf_.size()) return 0;
    quint16& number = cidOf_[glyph];
    if (number == 0) {
        if (glyphs_.size() > 0xFFFF) return 0;
        number = quint16(glyphs_.size());
        glyphs_.push_back(glyph);
        text_.push_back(character);
        widths_.push_back(thousandths(face_->advance(glyph), face_->unitsPerEm()));
    } else if (text_[number] == 0 && character != 0) {
        text_[number] = character;
    }
    return number;
}

std::string JobFont::toUnicodeMap(const std::vector<char32_t>& text) {
    std::string map =
        "/CIDInit/ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo<</Registry(Adobe)/Ordering(UCS)/Supplement 0>>def\n"
        "/CMapName/Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000><FFFF>\nendcodespacerange\n";
    std::vector<size_t> mapped;
    for (size_t cid = 0; cid < text.size(); ++cid) {
        if (text[cid] != 0) mapped.push_back(cid);
    }
    // A character map lists at most 100 entries a block.
    for (size_t from = 0; from < mapped.size(); from += 100) {
        const size_t to = std::min(mapped.size(), from + 100);
        appendInt(map, (long long)(to - from));
        map += " beginbfchar\n";
        for (size_t i = from; i < to; ++i) {
            map += '<';
            appendHex16(map, unsigned(mapped[i]));
            map += "><";
            appendUtf16Hex(map, text[mapped[i]]);
            map += ">\n";
        }
        map += "endbfchar\n";
    }
    map += "endcmap\nCMapName currentdict/CMap defineresource pop\nend\nend\n";
    return map;
}

void JobFont::write(PdfOutput& out, const std::string& tag) const {
    const TrueTypeFace& face = *face_;
    const int upem = face.unitsPerEm();
    const std::string name = tag + '+' + face.postScriptName().toStdString();
    const int descendant = out.reserve();
    const int descriptor = out.reserve();
    const int program = out.reserve();
    const int unicode = out.reserve();

    std::string s = "<</Type/Font/Subtype/Type0/BaseFont/" + name + "/Encoding/Identity-H/DescendantFonts[";
    appendInt(s, descendant);
    s += " 0 R]/ToUnicode ";
    appendInt(s, unicode);
    s += " 0 R>>";
    out.object(object_, s);

    s = "<</Type/Font/Subtype/CIDFontType2/BaseFont/" + name +
        "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>/FontDescriptor ";
    appendInt(s, descriptor);
    s += " 0 R/CIDToGIDMap/Identity/W[0[";
    for (size_t i = 0; i < widths_.size(); ++i) {
        if (i) s += ' ';
        appendNumber(s, widths_[i]);
    }
    s += "]]>>";
    out.object(descendant, s);

    s = "<</Type/FontDescriptor/FontName/" + name + "/Flags 4/FontBBox[";
    for (const int v : {face.xMin(), face.yMin(), face.xMax(), face.yMax()}) {
        appendNumber(s, thousandths(v, upem));
        s += ' ';
    }
    s += "]/ItalicAngle 0/Ascent ";
    appendNumber(s, thousandths(face.ascender(), upem));
    s += "/Descent ";
    appendNumber(s, thousandths(face.descender(), upem));
    s += "/CapHeight ";
    appendNumber(s, thousandths(face.ascender(), upem));
    s += "/StemV 80/FontFile2 ";
    appendInt(s, program);
    s += " 0 R>>";
    out.object(descriptor, s);

    std::vector<quint32> glyphs = glyphs_;
    const QByteArray subset = face.subset(glyphs);
    std::string extra = "/Length1 ";
    appendInt(extra, subset.size());
    out.stream(program, std::string_view(subset.constData(), size_t(subset.size())), extra);
    out.stream(unicode, toUnicodeMap(text_));
}

}  // namespace slp::print::pdf
