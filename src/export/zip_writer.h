#pragma once
// A zip archive written front to back (an .xlsx package is one): each part's local header with its
// sizes and CRC, then its raw deflate bytes, and at the end the central directory. A part's sizes are
// known before it is written (small parts are deflated whole in memory, the sheet is spooled first), so
// no data descriptors are needed. Zip64 records are written for a part or an archive past 4 GB.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <functional>

namespace slp::sheet {

// Takes the archive's bytes in order (a file being written); throws when it cannot.
using ByteSink = std::function<void(QByteArrayView bytes)>;

// Raw deflate (no zlib header) at level 1 of the whole of `bytes`.
QByteArray deflateWhole(QByteArrayView bytes);
// The same, but left open for another raw deflate stream to follow it in the same part: no final block,
// ending on a byte boundary (an empty stored block), so the two inflate as one.
QByteArray deflateOpening(QByteArrayView bytes);

class ZipWriter {
  public:
    // `alwaysZip64`: zip64 records for every part and the end, however small (for tests of readers).
    explicit ZipWriter(ByteSink sink, bool alwaysZip64 = false);

    // A part stored deflated at level 1.
    void addPart(const QByteArray& name, QByteArrayView contents);
    // A part whose raw deflate bytes the caller has: `size` bytes inflated with `crc`, `packed` deflated,
    // handed to the sink by `writePacked` (exactly `packed` of them, or std::logic_error).
    void addDeflatedPart(const QByteArray& name, quint32 crc, quint64 size, quint64 packed,
                         const std::function<void(const ByteSink&)>& writePacked);
    // The central directory and the end records; nothing may be added after.
    void finish();

    // Bytes handed to the sink so far.
    quint64 written() const { return offset_; }

  private:
    struct Entry {
        QByteArray name;
        quint32 crc;
        quint64 size;
        quint64 packed;
        quint64 offset;
    };
    bool needsZip64(const Entry& e) const;
    void put(QByteArrayView bytes);

    ByteSink sink_;
    bool alwaysZip64_;
    quint64 offset_ = 0;
    QList<Entry> entries_;
};

}  // namespace slp::sheet
