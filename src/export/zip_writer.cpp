#include "export/zip_writer.h"

#include <zlib.h>

#include <new>
#include <stdexcept>

namespace slp::sheet {

namespace {

constexpr quint64 k32BitLimit = 0xFFFFFFFFu;
constexpr quint16 kVersion = 20;       // 2.0: deflate
constexpr quint16 kVersionZip64 = 45;  // 4.5: zip64 records
constexpr quint16 kDeflated = 8;
constexpr quint16 kDosDate = (0 << 9) | (1 << 5) | 1;  // 1980-01-01 00:00, as the library wrote
constexpr quint16 kZip64Extra = 0x0001;

// Little-endian numbers appended to a header.
struct Record {
    QByteArray bytes;
    Record& u16(quint64 v) { return put(v, 2); }
    Record& u32(quint64 v) { return put(v, 4); }
    Record& u64(quint64 v) { return put(v, 8); }
    Record& raw(const QByteArray& b) {
        bytes += b;
        return *this;
    }
    Record& put(quint64 v, int n) {
        for (int i = 0; i < n; ++i) bytes += char((v >> (8 * i)) & 0xFF);
        return *this;
    }
};

quint32 clamp32(quint64 v, bool zip64) {
    return zip64 ? quint32(k32BitLimit) : quint32(v);
}

QByteArray deflated(QByteArrayView bytes, int flush) {
    z_stream z{};
    if (deflateInit2(&z, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw std::bad_alloc();
    QByteArray out(qsizetype(deflateBound(&z, uLong(bytes.size())) + 16), Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = uInt(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int rc = deflate(&z, flush);
    out.truncate(qsizetype(z.total_out));
    deflateEnd(&z);
    if (rc != (flush == Z_FINISH ? Z_STREAM_END : Z_OK) || z.avail_in != 0) {
        throw std::logic_error("deflate did not take a whole part");
    }
    return out;
}

}  // namespace

QByteArray deflateWhole(QByteArrayView bytes) {
    return deflated(bytes, Z_FINISH);
}

QByteArray deflateOpening(QByteArrayView bytes) {
    return deflated(bytes, Z_SYNC_FLUSH);
}

ZipWriter::ZipWriter(ByteSink sink, bool alwaysZip64) : sink_(std::move(sink)), alwaysZip64_(alwaysZip64) {}

bool ZipWriter::needsZip64(const Entry& e) const {
    return alwaysZip64_ || e.size >= k32BitLimit || e.packed >= k32BitLimit || e.offset >= k32BitLimit;
}

void ZipWriter::put(QByteArrayView bytes) {
    sink_(bytes);
    offset_ += quint64(bytes.size());
}

void ZipWriter::addPart(const QByteArray& name, QByteArrayView contents) {
    const QByteArray packed = deflateWhole(contents);
    const quint32 crc = quint32(
        crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(contents.data()), uInt(contents.size())));
    addDeflatedPart(name, crc, quint64(contents.size()), quint64(packed.size()),
                    [&](const ByteSink& sink) { sink(packed); });
}

void ZipWriter::addDeflatedPart(const QByteArray& name, quint32 crc, quint64 size, quint64 packed,
                                const std::function<void(const ByteSink&)>& writePacked) {
    const Entry entry{name, crc, size, packed, offset_};
    // The local header carries the sizes in a zip64 field only when they need it; a part that starts
    // past 4 GB says so in the central directory alone.
    const bool zip64 = alwaysZip64_ || size >= k32BitLimit || packed >= k32BitLimit;
    Record header;
    header.u32(0x04034b50).u16(zip64 ? kVersionZip64 : kVersion).u16(0).u16(kDeflated).u16(0).u16(kDosDate);
    header.u32(crc).u32(clamp32(packed, zip64)).u32(clamp32(size, zip64));
    header.u16(quint64(name.size())).u16(zip64 ? 20 : 0).raw(name);
    if (zip64) header.u16(kZip64Extra).u16(16).u64(size).u64(packed);
    put(header.bytes);
    const quint64 start = offset_;
    writePacked([this](QByteArrayView bytes) { put(bytes); });
    if (offset_ - start != packed) throw std::logic_error("a part's deflated size differs from its header");
    entries_.append(entry);
}

void ZipWriter::finish() {
    const quint64 directory = offset_;
    for (const Entry& e : entries_) {
        const bool zip64 = needsZip64(e);
        Record central;
        central.u32(0x02014b50).u16(zip64 ? kVersionZip64 : kVersion).u16(zip64 ? kVersionZip64 : kVersion);
        central.u16(0).u16(kDeflated).u16(0).u16(kDosDate).u32(e.crc);
        central.u32(clamp32(e.packed, zip64)).u32(clamp32(e.size, zip64));
        central.u16(quint64(e.name.size())).u16(zip64 ? 28 : 0).u16(0).u16(0).u16(0).u32(0);
        central.u32(clamp32(e.offset, zip64)).raw(e.name);
        if (zip64) central.u16(kZip64Extra).u16(24).u64(e.size).u64(e.packed).u64(e.offset);
        put(central.bytes);
    }
    const quint64 directorySize = offset_ - directory;
    const quint64 count = quint64(entries_.size());
    const bool zip64 =
        alwaysZip64_ || directory >= k32BitLimit || directorySize >= k32BitLimit || count >= 0xFFFF;
    Record end;
    if (zip64) {
        const quint64 zip64End = offset_;
        end.u32(0x06064b50).u64(44).u16(kVersionZip64).u16(kVersionZip64).u32(0).u32(0);
        end.u64(count).u64(count).u64(directorySize).u64(directory);
        end.u32(0x07064b50).u32(0).u64(zip64End).u32(1);
    }
    end.u32(0x06054b50).u16(0).u16(0);
    end.u16(zip64 ? 0xFFFF : count).u16(zip64 ? 0xFFFF : count);
    end.u32(clamp32(directorySize, zip64)).u32(clamp32(directory, zip64)).u16(0);
    put(end.bytes);
}

}  // namespace slp::sheet
