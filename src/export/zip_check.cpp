#include "export/zip_check.h"

#include <zlib.h>

#include <QByteArray>
#include <QFile>
#include <algorithm>

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

bool closesItsRoot(const QByteArray& head, const QByteArray& tail) {
    const QByteArray root = rootName(head);
    if (root.isEmpty()) return false;
    const QByteArray body = tail.trimmed();
    return body.endsWith("</" + root + '>') || (body.endsWith("/>") && head.count('<') <= 2);
}

// One part read through: its size and CRC as it inflates, its first and last bytes kept. The part is
// never held whole, so a sheet of any size is checked in constant memory.
struct PartReading {
    qint64 size = 0;
    uLong crc = crc32(0, nullptr, 0);
    QByteArray head;
    QByteArray tail;

    void take(const char* bytes, qsizetype n) {
        size += n;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes), uInt(n));
        if (head.size() < kKept) head.append(bytes, std::min(n, kKept - head.size()));
        tail.append(bytes, n);
        if (tail.size() > 2 * kKept) tail.remove(0, tail.size() - kKept);
    }
    static constexpr qsizetype kKept = 4096;
};

// Reads `packed` bytes of the part from the file's current place, inflating them when `deflated`.
bool readPart(QFile& file, qint64 packed, bool deflated, PartReading& part) {
    constexpr qint64 kChunk = 64 * 1024;
    QByteArray in;
    QByteArray out(kChunk, Qt::Uninitialized);
    z_stream z{};
    if (deflated && inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
    int rc = Z_OK;
    for (qint64 left = packed; left > 0 || (deflated && rc == Z_OK && z.avail_in > 0);) {
        if (left > 0) {
            in = file.read(std::min(left, kChunk));
            if (in.isEmpty()) break;
            left -= in.size();
        }
        if (!deflated) {
            part.take(in.constData(), in.size());
            continue;
        }
        z.next_in = reinterpret_cast<Bytef*>(in.data());
        z.avail_in = uInt(in.size());
        do {
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = uInt(out.size());
            rc = inflate(&z, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END) break;
            part.take(out.constData(), out.size() - z.avail_out);
        } while (z.avail_out == 0 && rc == Z_OK);
        if (rc != Z_OK) break;
    }
    if (deflated) inflateEnd(&z);
    return !deflated || rc == Z_STREAM_END;
}

}  // namespace

QString incompletePart(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return u"无法读回"_s;
    const qint64 fileSize = file.size();
    if (fileSize < 22 || !file.seek(fileSize - 22)) return u"没有结束记录"_s;
    const QByteArray end = file.read(22);
    if (end.size() != 22 || !end.startsWith("PK\x05\x06") || le(end, 20, 2) != 0) return u"没有结束记录"_s;
    const qint64 endRecord = fileSize - 22;
    const quint32 entries = le(end, 10, 2);
    const qint64 directory = le(end, 16, 4);
    const qint64 directorySize = le(end, 12, 4);
    if (directory + directorySize > endRecord || !file.seek(directory)) return u"目录不完整"_s;
    const QByteArray list = file.read(directorySize);
    qsizetype at = 0;
    for (quint32 n = 0; n < entries; ++n) {
        if (at + 46 > list.size() || !list.mid(at, 4).startsWith("PK\x01\x02")) return u"目录不完整"_s;
        const quint32 method = le(list, at + 10, 2);
        const quint32 crc = le(list, at + 16, 4);
        const qint64 packed = le(list, at + 20, 4);
        const qint64 size = le(list, at + 24, 4);
        const quint32 nameLength = le(list, at + 28, 2);
        const QByteArray name = list.mid(at + 46, nameLength);
        const qint64 local = le(list, at + 42, 4);
        at += 46 + nameLength + le(list, at + 30, 2) + le(list, at + 32, 2);
        const QString fault = QString::fromUtf8(name) + u" 不完整"_s;
        if (local + 30 > endRecord || !file.seek(local)) return fault;
        const QByteArray header = file.read(30);
        if (header.size() != 30 || !header.startsWith("PK\x03\x04")) return fault;
        const qint64 data = local + 30 + le(header, 26, 2) + le(header, 28, 2);
        if (data + packed > endRecord || (method != 0 && method != 8) || !file.seek(data)) return fault;
        PartReading part;
        if (!readPart(file, packed, method == 8, part) || part.size != size || part.crc != crc) return fault;
        if ((name.endsWith(".xml") || name.endsWith(".rels")) && !closesItsRoot(part.head, part.tail)) {
            return fault;
        }
    }
    return {};
}

}  // namespace slp::sheet
