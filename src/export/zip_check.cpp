#include "export/zip_check.h"

#include <zlib.h>

#include <QByteArray>
#include <QFile>
#include <optional>

using namespace Qt::StringLiterals;

namespace slp::sheet {

namespace {

quint32 le(const QByteArray& b, qsizetype at, int bytes) {
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | uchar(b[at + i]);
    return v;
}

// The root element's name: the first tag that is no declaration or comment.
QByteArray rootName(const QByteArray& xml) {
    qsizetype at = 0;
    while ((at = xml.indexOf('<', at)) >= 0) {
        if (at + 1 < xml.size() && xml[at + 1] != '?' && xml[at + 1] != '!') {
            qsizetype end = at + 1;
            while (end < xml.size() && !QByteArrayView(" \t\r\n/>").contains(xml[end])) ++end;
            return xml.mid(at + 1, end - at - 1);
        }
        ++at;
    }
    return {};
}

bool closesItsRoot(const QByteArray& xml) {
    const QByteArray root = rootName(xml);
    if (root.isEmpty()) return false;
    const QByteArray body = xml.trimmed();
    return body.endsWith("</" + root + '>') || (body.endsWith("/>") && body.count('<') <= 2);
}

std::optional<QByteArray> inflated(const QByteArray& data, quint32 size) {
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return std::nullopt;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int rc = inflate(&z, Z_FINISH);
    const bool whole = rc == Z_STREAM_END && z.total_out == size;
    inflateEnd(&z);
    if (!whole) return std::nullopt;
    return out;
}

}  // namespace

QString incompletePart(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return u"无法读回"_s;
    const QByteArray zip = file.readAll();
    if (zip.size() < 22 || !zip.endsWith(QByteArray(2, '\0'))) return u"没有结束记录"_s;
    const qsizetype endRecord = zip.size() - 22;
    if (!zip.mid(endRecord).startsWith("PK\x05\x06")) return u"没有结束记录"_s;
    const quint32 entries = le(zip, endRecord + 10, 2);
    qsizetype at = le(zip, endRecord + 16, 4);
    for (quint32 n = 0; n < entries; ++n) {
        if (at + 46 > endRecord || !zip.mid(at, 4).startsWith("PK\x01\x02")) return u"目录不完整"_s;
        const quint32 method = le(zip, at + 10, 2);
        const quint32 crc = le(zip, at + 16, 4);
        const quint32 packed = le(zip, at + 20, 4);
        const quint32 size = le(zip, at + 24, 4);
        const quint32 nameLength = le(zip, at + 28, 2);
        const QByteArray name = zip.mid(at + 46, nameLength);
        const qsizetype local = le(zip, at + 42, 4);
        at += 46 + nameLength + le(zip, at + 30, 2) + le(zip, at + 32, 2);
        if (local + 30 > endRecord || !zip.mid(local, 4).startsWith("PK\x03\x04")) {
            return QString::fromUtf8(name) + u" 不完整"_s;
        }
        const qsizetype data = local + 30 + le(zip, local + 26, 2) + le(zip, local + 28, 2);
        if (data + packed > endRecord) return QString::fromUtf8(name) + u" 不完整"_s;
        const QByteArray stored = zip.mid(data, packed);
        const std::optional<QByteArray> part =
            method == 0 ? std::optional<QByteArray>(stored) : method == 8 ? inflated(stored, size) : std::nullopt;
        if (!part || quint32(part->size()) != size ||
            crc32(0, reinterpret_cast<const Bytef*>(part->constData()), uInt(part->size())) != crc) {
            return QString::fromUtf8(name) + u" 不完整"_s;
        }
        if (name.endsWith(".xml") || name.endsWith(".rels")) {
            if (!closesItsRoot(*part)) return QString::fromUtf8(name) + u" 不完整"_s;
        }
    }
    return {};
}

}  // namespace slp::sheet
