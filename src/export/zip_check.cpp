#include "export/zip_check.h"

#include <zlib.h>

#include <QByteArray>
#include <QFile>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace slp::sheet {

namespace {

quint64 le(const QByteArray& b, qsizetype at, int bytes) {
    quint64 v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | uchar(b[at + i]);
    return v;
}

constexpr quint64 kInZip64 = 0xFFFFFFFFu;  // a 32-bit field whose value is in the zip64 record

// The central directory entry's sizes and local header offset that did not fit 32 bits, from its zip64
// extra field (in that order, each only when its own field says so); false when the field is missing.
bool readZip64Extra(const QByteArray& extra, quint64& size, quint64& packed, quint64& local) {
    for (qsizetype at = 0; at + 4 <= extra.size();) {
        const quint64 id = le(extra, at, 2);
        const qsizetype length = qsizetype(le(extra, at + 2, 2));
        if (at + 4 + length > extra.size()) return false;
        if (id == 0x0001) {
            qsizetype field = at + 4;
            for (quint64* value : {&size, &packed, &local}) {
                if (*value != kInZip64) continue;
                if (field + 8 > at + 4 + length) return false;
                *value = le(extra, field, 8);
                field += 8;
            }
            return true;
        }
        at += 4 + length;
    }
    return false;
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
    qint64 endRecord = fileSize - 22;
    quint64 entries = le(end, 10, 2);
    quint64 directory = le(end, 16, 4);
    quint64 directorySize = le(end, 12, 4);
    if (entries == 0xFFFF || directory == kInZip64 || directorySize == kInZip64) {
        // A zip64 archive: its locator just before the end record points at the zip64 end record.
        if (endRecord < 20 + 56 || !file.seek(endRecord - 20)) return u"没有结束记录"_s;
        const QByteArray locator = file.read(20);
        if (locator.size() != 20 || !locator.startsWith("PK\x06\x07")) return u"没有结束记录"_s;
        const quint64 zip64End = le(locator, 8, 8);
        if (zip64End + 56 > quint64(endRecord - 20) || !file.seek(qint64(zip64End))) return u"没有结束记录"_s;
        const QByteArray end64 = file.read(56);
        if (end64.size() != 56 || !end64.startsWith("PK\x06\x06")) return u"没有结束记录"_s;
        endRecord = qint64(zip64End);
        entries = le(end64, 32, 8);
        directorySize = le(end64, 40, 8);
        directory = le(end64, 48, 8);
    }
    if (directory + directorySize > quint64(endRecord) || !file.seek(qint64(directory)))
        return u"目录不完整"_s;
    const QByteArray list = file.read(qint64(directorySize));
    qsizetype at = 0;
    for (quint64 n = 0; n < entries; ++n) {
        if (at + 46 > list.size() || !list.mid(at, 4).startsWith("PK\x01\x02")) return u"目录不完整"_s;
        const quint64 method = le(list, at + 10, 2);
        const quint64 crc = le(list, at + 16, 4);
        quint64 packed = le(list, at + 20, 4);
        quint64 size = le(list, at + 24, 4);
        const qsizetype nameLength = qsizetype(le(list, at + 28, 2));
        const qsizetype extraLength = qsizetype(le(list, at + 30, 2));
        const QByteArray name = list.mid(at + 46, nameLength);
        const QByteArray extra = list.mid(at + 46 + nameLength, extraLength);
        quint64 local = le(list, at + 42, 4);
        at += 46 + nameLength + extraLength + qsizetype(le(list, at + 32, 2));
        const QString fault = QString::fromUtf8(name) + u" 不完整"_s;
        if ((size == kInZip64 || packed == kInZip64 || local == kInZip64) &&
            !readZip64Extra(extra, size, packed, local)) {
            return fault;
        }
        if (local + 30 > quint64(endRecord) || !file.seek(qint64(local))) return fault;
        const QByteArray header = file.read(30);
        if (header.size() != 30 || !header.startsWith("PK\x03\x04")) return fault;
        const quint64 data = local + 30 + le(header, 26, 2) + le(header, 28, 2);
        if (data + packed > quint64(endRecord) || (method != 0 && method != 8) || !file.seek(qint64(data))) {
            return fault;
        }
        PartReading part;
        if (!readPart(file, qint64(packed), method == 8, part) || quint64(part.size) != size ||
            part.crc != crc) {
            return fault;
        }
        if ((name.endsWith(".xml") || name.endsWith(".rels")) && !closesItsRoot(part.head, part.tail)) {
            return fault;
        }
    }
    return {};
}

}  // namespace slp::sheet
