#include "print/pdf/pdf_document.h"

#include <QDateTime>
#include <QFont>
#include <QPainterPath>
#include <cmath>

#include "basic/error.h"
#include "print/pdf/job_font.h"
#include "print/printer.h"

using namespace Qt::StringLiterals;

namespace slp::print::pdf {

namespace {
// Positions of glyphs within this distance (twips) of where the font's widths put them stay in one
// string: a twentieth of a point is far below what a printer or a viewer shows.
constexpr double kPositionSlack = 0.05;

double hundredths(double v) {
    return double(std::llround(v * 100)) / 100;
}

// The bytes of a CID in a literal string: two bytes, with the characters a literal string gives a
// meaning to escaped.
void appendCid(std::string& out, quint16 cid) {
    for (const char byte : {char(cid >> 8), char(cid & 0xFF)}) {
        switch (byte) {
            case '(':
            case ')':
            case '\\':
                out += '\\';
                out += byte;
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += byte;
        }
    }
}

std::string subsetTag(size_t index) {
    std::string tag = "SLPAAA";
    for (int i = 5; i >= 3 && index > 0; --i, index /= 26) tag[size_t(i)] = char('A' + index % 26);
    return tag;
}
}  // namespace

PdfDocument::PdfDocument(const QString& target, const QString& title, const QString& creator,
                         std::shared_ptr<const PdfEncryption> encryption)
    : out_(target, std::move(encryption)), title_(title), creator_(creator) {
    pagesObject_ = out_.reserve();
    resourcesObject_ = out_.reserve();
}

PdfDocument::~PdfDocument() = default;

void PdfDocument::beginPage(QSizeF points) {
    writer_.wait();
    if (pageOpen_) endPage();
    pageSize_ = points;
    pageOpen_ = true;
    startContent(points, origin_);
}

void PdfDocument::startContent(QSizeF points, QPointF origin) {
    content_.clear();
    lineWidth_ = -1;
    renderMode_ = 0;
    // Twips with the origin at the top left corner of the printable area; square caps and mitred joins.
    content_ += "0.05 0 0 -0.05 ";
    appendNumber(content_, origin.x());
    content_ += ' ';
    appendNumber(content_, points.height() - origin.y());
    content_ += " cm 2 J 0 j\n";
}

void PdfDocument::endPage() {
    if (!pageOpen_) return;
    pageOpen_ = false;
    const int contents = out_.reserve();
    const int page = out_.reserve();
    writeContent(pageSize_, contents, page);
}

void PdfDocument::writeContent(QSizeF points, int contents, int page) {
    out_.stream(contents, content_);
    std::string s = "<</Type/Page/Parent ";
    appendInt(s, pagesObject_);
    s += " 0 R/MediaBox[0 0 ";
    appendNumber(s, points.width());
    s += ' ';
    appendNumber(s, points.height());
    s += "]/Resources ";
    appendInt(s, resourcesObject_);
    s += " 0 R/Contents ";
    appendInt(s, contents);
    s += " 0 R>>";
    out_.object(page, s);
    pages_.push_back(page);
    content_.clear();
}

void PdfDocument::finish() {
    writer_.wait();
    if (pages_.empty() && !pageOpen_) beginPage(pageSize_);
    endPage();
    std::string fonts;
    for (size_t i = 0; i < fonts_.size(); ++i) {
        fonts_[i]->write(out_, subsetTag(i));
        fonts += "/F";
        appendInt(fonts, fonts_[i]->resource());
        fonts += ' ';
        appendInt(fonts, fonts_[i]->object());
        fonts += " 0 R";
    }
    out_.object(resourcesObject_, "<</ProcSet[/PDF/Text]/Font<<" + fonts + ">>>>");

    std::string s = "<</Type/Pages/Count ";
    appendInt(s, (long long)pages_.size());
    s += "/Kids[";
    for (const int page : pages_) {
        appendInt(s, page);
        s += " 0 R ";
    }
    s += "]>>";
    out_.object(pagesObject_, s);

    const int catalog = out_.reserve();
    s = "<</Type/Catalog/Pages ";
    appendInt(s, pagesObject_);
    s += " 0 R";
    if (out_.encrypted()) s += "/Extensions<</ADBE<</BaseVersion/1.7/ExtensionLevel 8>>>>";
    s += ">>";
    out_.object(catalog, s);

    const int info = out_.reserve();
    s = "<</Title" + pdfTextString(title_) + "/Creator" + pdfTextString(creator_) + "/Producer" +
        pdfTextString(QStringLiteral("Sl_PAYPRN")) + "/CreationDate(D:" +
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss")).toStdString() + "Z)>>";
    out_.object(info, s);
    out_.finish(catalog, info);
}

void PdfDocument::setLineWidth(double width) {
    if (width == lineWidth_) return;
    lineWidth_ = width;
    appendNumber(content_, width);
    content_ += " w\n";
}

void PdfDocument::strokeLines(float width, const QLineF* lines, size_t count) {
    if (count == 0) return;
    if (!pageOpen_) beginPage(pageSize_);
    stroke(width, lines, count);
}

void PdfDocument::stroke(float width, const QLineF* lines, size_t count) {
    if (count == 0) return;
    setLineWidth(double(width));
    for (size_t i = 0; i < count; ++i) {
        const QLineF& l = lines[i];
        appendNumber(content_, l.x1());
        content_ += ' ';
        appendNumber(content_, l.y1());
        content_ += " m ";
        appendNumber(content_, l.x2());
        content_ += ' ';
        appendNumber(content_, l.y2());
        content_ += " l\n";
    }
    content_ += "S\n";
}

JobFont* PdfDocument::fontOf(const QRawFont& font) {
    for (const auto& [raw, job] : rawFonts_) {
        if (raw == font) return job;
    }
    // Without a face there is nothing to embed nor outlines to fill: a page printed blank is worse than
    // no page (a machine without fonts, or a display platform that offers none).
    if (!font.isValid()) throw Error(printerError, u"找不到可用于打印的字体，未打印"_s);
    const std::shared_ptr<const TrueTypeFace> face = TrueTypeFace::of(font);
    JobFont* job = nullptr;
    if (face->embeddable()) {
        for (const auto& f : fonts_) {
            if (&f->face() == face.get()) job = f.get();
        }
        if (!job) {
            fonts_.push_back(std::make_unique<JobFont>(face, int(fonts_.size() + 1), out_.reserve()));
            job = fonts_.back().get();
        }
    }
    rawFonts_.emplace_back(font, job);
    return job;
}

void PdfDocument::showGlyphs(const QRawFont& font, bool bold, const quint32* glyphs, const QPointF* origins,
                             const char32_t* characters, size_t count) {
    if (count == 0) return;
    if (!pageOpen_) beginPage(pageSize_);
    JobFont* job = fontOf(font);
    if (!job) {
        content_ += glyphOutlines(font, glyphs, origins, count);
        return;
    }
    text(*job, font.pixelSize(), bold, glyphs, origins, characters, count);
}

void PdfDocument::text(JobFont& font, double size, bool bold, const quint32* glyphs, const QPointF* origins,
                       const char32_t* characters, size_t count) {
    if (count == 0) return;
    JobFont* const job = &font;
    // A face without a bold of its own is emboldened by stroking its outlines as well as filling them.
    const bool embolden = bold && job->face().weight() < 600;
    const double boldStroke = hundredths(size / 30);
    content_ += "BT/F";
    appendInt(content_, job->resource());
    content_ += ' ';
    appendNumber(content_, size);
    content_ += " Tf 1 0 0 -1 0 0 Tm\n";
    if (embolden) {
        setLineWidth(boldStroke);
        if (renderMode_ != 2) content_ += "2 Tr\n";
        renderMode_ = 2;
    } else if (renderMode_ != 0) {
        content_ += "0 Tr\n";
        renderMode_ = 0;
    }
    // The text line starts where a string starts (Td moves it from the previous start; the text matrix
    // turns the page's downward y up again, so y goes in negated). Where the next glyph stands off the
    // place the widths of the string give it, a new string starts.
    double lineX = 0, lineY = 0;
    double nextX = 0, nextY = 0;
    bool open = false;
    for (size_t i = 0; i < count; ++i) {
        const QPointF& p = origins[i];
        const quint16 cid = job->cid(glyphs[i], characters ? characters[i] : 0);
        if (!open || p.y() != nextY || std::abs(p.x() - nextX) > kPositionSlack) {
            if (open) content_ += ")Tj\n";
            const double dx = hundredths(p.x() - lineX);
            const double dy = hundredths(p.y() - lineY);
            appendNumber(content_, dx);
            content_ += ' ';
            appendNumber(content_, -dy);
            content_ += " Td(";
            lineX += dx;
            lineY += dy;
            nextX = lineX;
            nextY = p.y();
            open = true;
        }
        appendCid(content_, cid);
        nextX += job->width(cid) * size / 1000;
    }
    content_ += ")Tj\nET\n";
}

namespace {
void appendPath(std::string& out, const QPainterPath& path) {
    auto point = [&out](const QPainterPath::Element& e) {
        appendNumber(out, e.x);
        out += ' ';
        appendNumber(out, e.y);
        out += ' ';
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element& e = path.elementAt(i);
        if (e.isMoveTo()) {
            point(e);
            out += "m\n";
        } else if (e.isLineTo()) {
            point(e);
            out += "l\n";
        } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            point(e);
            point(path.elementAt(i + 1));
            point(path.elementAt(i + 2));
            out += "c\n";
            i += 2;
        }
    }
}
}  // namespace

std::string PdfDocument::glyphOutlines(const QRawFont& font, const quint32* glyphs, const QPointF* origins,
                                       size_t count) {
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        QPainterPath path = font.pathForGlyph(glyphs[i]);
        if (path.isEmpty()) continue;
        path.translate(origins[i]);
        appendPath(out, path);
        out += path.fillRule() == Qt::WindingFill ? "f\n" : "f*\n";
    }
    return out;
}

}  // namespace slp::print::pdf
