#include "print/pdf/truetype_face.h"

#include <fontconfig/fontconfig.h>

#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <algorithm>
#include <unordered_map>

namespace slp::print::pdf {

namespace {
quint16 u16(QByteArrayView d, qsizetype at) {
    if (at < 0 || at + 2 > d.size()) return 0;
    return quint16((quint8(d[at]) << 8) | quint8(d[at + 1]));
}
qint16 s16(QByteArrayView d, qsizetype at) {
    return qint16(u16(d, at));
}
quint32 u32(QByteArrayView d, qsizetype at) {
    return (quint32(u16(d, at)) << 16) | u16(d, at + 2);
}
void put16(QByteArray& d, qsizetype at, quint16 v) {
    d[at] = char(v >> 8);
    d[at + 1] = char(v);
}
void put32(QByteArray& d, qsizetype at, quint32 v) {
    put16(d, at, quint16(v >> 16));
    put16(d, at + 2, quint16(v));
}
void append16(QByteArray& d, quint16 v) {
    d.append(char(v >> 8));
    d.append(char(v));
}
void append32(QByteArray& d, quint32 v) {
    append16(d, quint16(v >> 16));
    append16(d, quint16(v));
}

quint32 checksum(QByteArrayView d) {
    quint32 sum = 0;
    for (qsizetype i = 0; i < d.size(); i += 4) {
        quint32 word = 0;
        for (int k = 0; k < 4; ++k) word = (word << 8) | (i + k < d.size() ? quint8(d[i + k]) : 0u);
        sum += word;
    }
    return sum;
}

// Composite glyph flags.
constexpr quint16 kArgsAreWords = 0x0001;
constexpr quint16 kHaveScale = 0x0008;
constexpr quint16 kMoreComponents = 0x0020;
constexpr quint16 kHaveXYScale = 0x0040;
constexpr quint16 kHaveTwoByTwo = 0x0080;

// Calls f(offset of the component's glyph number) for every component of a composite glyph.
template <typename F>
void forEachComponent(QByteArrayView glyph, F f) {
    if (glyph.size() < 10 || s16(glyph, 0) >= 0) return;
    qsizetype at = 10;
    for (;;) {
        if (at + 4 > glyph.size()) return;
        const quint16 flags = u16(glyph, at);
        f(at + 2);
        at += 4 + ((flags & kArgsAreWords) ? 4 : 2);
        if (flags & kHaveScale)
            at += 2;
        else if (flags & kHaveXYScale)
            at += 4;
        else if (flags & kHaveTwoByTwo)
            at += 8;
        if (!(flags & kMoreComponents)) return;
    }
}

QByteArray familyPostScriptName(const QString& family) {
    QByteArray name;
    for (const QChar c : family) {
        if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')) {
            name.append(char(c.unicode()));
        }
    }
    return name.isEmpty() ? QByteArrayLiteral("Font") : name;
}
}  // namespace

void TrueTypeFace::parse() {
    glyphCount_ = u16(maxp_, 4);
    metricsCount_ = u16(hhea_, 34);
    unitsPerEm_ = u16(head_, 18);
    if (unitsPerEm_ == 0) unitsPerEm_ = 1000;
    xMin_ = s16(head_, 36);
    yMin_ = s16(head_, 38);
    xMax_ = s16(head_, 40);
    yMax_ = s16(head_, 42);
    longLoca_ = s16(head_, 50) == 1;
    ascender_ = s16(hhea_, 4);
    descender_ = s16(hhea_, 6);
    const qsizetype locaNeeded = qsizetype(glyphCount_ + 1) * (longLoca_ ? 4 : 2);
    embeddable_ = head_.size() >= 54 && hhea_.size() >= 36 && maxp_.size() >= 6 && glyphCount_ > 0 &&
                  metricsCount_ > 0 && hmtx_.size() >= qsizetype(metricsCount_) * 4 &&
                  loca_.size() >= locaNeeded && !glyf_.isEmpty();
}

TrueTypeFace::~TrueTypeFace() = default;

std::shared_ptr<const TrueTypeFace> TrueTypeFace::fromTables(QByteArray head, QByteArray hhea,
                                                             QByteArray maxp, QByteArray hmtx,
                                                             QByteArray loca, QByteArray glyf) {
    std::shared_ptr<TrueTypeFace> face(new TrueTypeFace);
    face->owned_ = {std::move(head), std::move(hhea), std::move(maxp),
                    std::move(hmtx), std::move(loca), std::move(glyf)};
    face->head_ = face->owned_[0];
    face->hhea_ = face->owned_[1];
    face->maxp_ = face->owned_[2];
    face->hmtx_ = face->owned_[3];
    face->loca_ = face->owned_[4];
    face->glyf_ = face->owned_[5];
    face->name_ = QByteArrayLiteral("Font");
    face->parse();
    return face;
}

bool TrueTypeFace::mapFile(const QRawFont& font, const QByteArray& head) {
    FcPattern* pattern = FcPatternCreate();
    const QByteArray family = font.familyName().toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.constData()));
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_INDEX, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    bool found = false;
    for (int i = 0; fonts && i < fonts->nfont && !found; ++i) {
        FcChar8* path = nullptr;
        int index = 0;
        if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &path) != FcResultMatch) continue;
        FcPatternGetInteger(fonts->fonts[i], FC_INDEX, 0, &index);
        auto file = std::make_unique<QFile>(QString::fromUtf8(reinterpret_cast<const char*>(path)));
        if (!file->open(QIODevice::ReadOnly)) continue;
        const uchar* map = file->map(0, file->size());
        if (!map) continue;
        const QByteArrayView data(map, file->size());
        // A collection lists the offsets of its faces' table directories.
        qsizetype directory = 0;
        if (data.startsWith("ttcf")) {
            if (index < 0 || quint32(index) >= u32(data, 8)) continue;
            directory = u32(data, 12 + qsizetype(index) * 4);
        }
        auto table = [&](const char* tag) -> QByteArrayView {
            const int count = u16(data, directory + 4);
            for (int t = 0; t < count; ++t) {
                const qsizetype record = directory + 12 + qsizetype(t) * 16;
                if (record + 16 > data.size()) break;
                if (data.sliced(record, 4) != QByteArrayView(tag, 4)) continue;
                const qsizetype at = u32(data, record + 8);
                const qsizetype length = u32(data, record + 12);
                if (at + length > data.size()) return {};
                return data.sliced(at, length);
            }
            return {};
        };
        if (table("head") != QByteArrayView(head)) continue;
        head_ = table("head");
        hhea_ = table("hhea");
        maxp_ = table("maxp");
        hmtx_ = table("hmtx");
        loca_ = table("loca");
        glyf_ = table("glyf");
        cvt_ = table("cvt ");
        fpgm_ = table("fpgm");
        prep_ = table("prep");
        file_ = std::move(file);
        found = true;
    }
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return found;
}

void TrueTypeFace::copyTables(const QRawFont& font) {
    const char* tags[] = {"head", "hhea", "maxp", "hmtx", "loca", "glyf", "cvt ", "fpgm", "prep"};
    QByteArrayView* views[] = {&head_, &hhea_, &maxp_, &hmtx_, &loca_, &glyf_, &cvt_, &fpgm_, &prep_};
    owned_.reserve(std::size(tags));
    for (size_t i = 0; i < std::size(tags); ++i) {
        owned_.push_back(font.fontTable(tags[i]));
        *views[i] = owned_.back();
    }
}

std::shared_ptr<const TrueTypeFace> TrueTypeFace::of(const QRawFont& font) {
    static QMutex mutex;
    static std::vector<std::pair<QByteArray, std::shared_ptr<const TrueTypeFace>>> kept;
    // The family, style and the face's header tell faces apart (the header holds the face's
    // dates and checksum); the same face at any size is one face.
    const QByteArray head = font.fontTable("head");
    const QByteArray key = font.familyName().toUtf8() + '\0' + font.styleName().toUtf8() + '\0' + head;
    QMutexLocker lock(&mutex);
    for (const auto& [k, face] : kept) {
        if (k == key) return face;
    }
    std::shared_ptr<TrueTypeFace> face(new TrueTypeFace);
    if (head.isEmpty() || !face->mapFile(font, head)) face->copyTables(font);
    face->name_ = familyPostScriptName(font.familyName());
    const QByteArray os2 = font.fontTable("OS/2");
    if (os2.size() >= 6) face->weight_ = u16(os2, 4);
    face->parse();
    constexpr size_t kMaxFaces = 8;
    if (kept.size() >= kMaxFaces) kept.erase(kept.begin());
    kept.emplace_back(key, face);
    return face;
}

int TrueTypeFace::advance(quint32 glyph) const {
    if (metricsCount_ <= 0 || int(glyph) >= glyphCount_) return 0;
    const quint32 entry = std::min<quint32>(glyph, quint32(metricsCount_ - 1));
    return u16(hmtx_, qsizetype(entry) * 4);
}

QByteArrayView TrueTypeFace::outline(quint32 glyph) const {
    if (!embeddable_ || int(glyph) >= glyphCount_) return {};
    qsizetype from, to;
    if (longLoca_) {
        from = u32(loca_, qsizetype(glyph) * 4);
        to = u32(loca_, qsizetype(glyph + 1) * 4);
    } else {
        from = qsizetype(u16(loca_, qsizetype(glyph) * 2)) * 2;
        to = qsizetype(u16(loca_, qsizetype(glyph + 1) * 2)) * 2;
    }
    if (from >= to || to > glyf_.size()) return {};
    return glyf_.sliced(from, to - from);
}

QByteArray TrueTypeFace::subset(std::vector<quint32>& glyphs) const {
    if (!embeddable_) return {};
    if (glyphs.empty() || glyphs.front() != 0) glyphs.insert(glyphs.begin(), 0);
    std::unordered_map<quint32, quint16> number;
    for (size_t i = 0; i < glyphs.size(); ++i) number.emplace(glyphs[i], quint16(i));

    // glyf and loca, composites renumbered; the list grows by their components as it is walked.
    QByteArray glyf;
    std::vector<quint32> offsets;
    for (size_t i = 0; i < glyphs.size() && glyphs.size() <= 0xFFFF; ++i) {
        offsets.push_back(quint32(glyf.size()));
        const QByteArrayView outline = this->outline(glyphs[i]);
        if (outline.isEmpty()) continue;
        QByteArray data = outline.toByteArray();
        forEachComponent(outline, [&](qsizetype at) {
            const quint32 component = u16(outline, at);
            auto [found, added] = number.emplace(component, quint16(glyphs.size()));
            if (added) glyphs.push_back(component);
            put16(data, at, found->second);
        });
        glyf += data;
        while (glyf.size() % 4) glyf.append('\0');
    }
    glyphs.resize(offsets.size());
    offsets.push_back(quint32(glyf.size()));
    const quint16 count = quint16(glyphs.size());

    QByteArray loca;
    for (const quint32 o : offsets) append32(loca, o);
    QByteArray hmtx;
    for (const quint32 g : glyphs) {
        const quint32 entry = std::min<quint32>(g, quint32(metricsCount_ - 1));
        append16(hmtx, quint16(advance(g)));
        // Left side bearings follow the long metrics for glyphs past them.
        const qsizetype lsbAt = int(g) < metricsCount_
                                    ? qsizetype(entry) * 4 + 2
                                    : qsizetype(metricsCount_) * 4 + (qsizetype(g) - metricsCount_) * 2;
        append16(hmtx, u16(hmtx_, lsbAt));
    }
    QByteArray head = head_.first(std::min<qsizetype>(54, head_.size())).toByteArray();
    put32(head, 8, 0);   // checksum adjustment, set below
    put16(head, 50, 1);  // long loca offsets
    QByteArray hhea = hhea_.first(std::min<qsizetype>(36, hhea_.size())).toByteArray();
    put16(hhea, 34, count);
    QByteArray maxp = maxp_.toByteArray();
    put16(maxp, 4, count);

    // Tables in the order of their tags, as the table directory lists them.
    std::vector<std::pair<const char*, QByteArray*>> tables{
        {"cvt ", nullptr}, {"fpgm", nullptr}, {"glyf", &glyf}, {"head", &head},  {"hhea", &hhea},
        {"hmtx", &hmtx},   {"loca", &loca},   {"maxp", &maxp}, {"prep", nullptr}};
    QByteArray cvt = cvt_.toByteArray(), fpgm = fpgm_.toByteArray(), prep = prep_.toByteArray();
    tables[0].second = &cvt;
    tables[1].second = &fpgm;
    tables[8].second = &prep;
    std::erase_if(tables, [](const auto& t) { return t.second->isEmpty(); });

    const quint16 n = quint16(tables.size());
    quint16 power = 1, log2 = 0;
    while (power * 2 <= n) {
        power *= 2;
        ++log2;
    }
    QByteArray font;
    append32(font, 0x00010000);
    append16(font, n);
    append16(font, quint16(power * 16));
    append16(font, log2);
    append16(font, quint16(n * 16 - power * 16));
    quint32 at = 12 + 16u * n;
    qsizetype headAt = 0;
    for (const auto& [tag, data] : tables) {
        font.append(tag, 4);
        append32(font, checksum(*data));
        append32(font, at);
        append32(font, quint32(data->size()));
        if (data == &head) headAt = at;
        at += quint32((data->size() + 3) & ~qsizetype(3));
    }
    for (const auto& [tag, data] : tables) {
        font += *data;
        while (font.size() % 4) font.append('\0');
    }
    put32(font, headAt + 8, 0xB1B0AFBAu - checksum(font));
    return font;
}

}  // namespace slp::print::pdf
