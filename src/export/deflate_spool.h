#pragma once
// The sheet's XML deflated as it is made, into a temporary file without a name (it is gone with the
// process however that ends), until the package around it can be written: the sheet's first element
// names its used range, known only once the last row is in. Deflating runs on a thread of its own
// while the caller makes the next rows; memory stays at a few buffers however large the sheet.
#include <QString>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "export/sheet_xml.h"
#include "export/zip_writer.h"

namespace slp::sheet {

class DeflateSpool {
  public:
    // The temporary file in `folder`. Throws FileWriteError.
    explicit DeflateSpool(const QString& folder);
    // Stops the thread; the file goes.
    ~DeflateSpool();
    DeflateSpool(const DeflateSpool&) = delete;
    DeflateSpool& operator=(const DeflateSpool&) = delete;

    // Takes the bytes of `xml` to deflate and leaves it empty. Throws FileWriteError when an earlier
    // piece could not be written.
    void add(ByteBuffer& xml);
    // Ends the raw deflate stream (its final block). Throws FileWriteError.
    void finish();

    // Once finished: the inflated bytes' CRC-32 and size, and the deflated size.
    quint32 crc() const { return crc_; }
    quint64 size() const { return size_; }
    quint64 packed() const { return packed_; }
    // Once finished: the deflated bytes handed to `sink` in order. Throws FileWriteError.
    void copyTo(const ByteSink& sink) const;

  private:
    void run();
    void deflatePiece(const ByteBuffer& xml, int flush);
    void throwIfFailed();

    int fd_ = -1;
    struct Stream;
    Stream* stream_ = nullptr;  // zlib's state, touched by the thread until it ends
    quint32 crc_ = 0;
    quint64 size_ = 0;
    quint64 packed_ = 0;
    int error_ = 0;  // errno of a failed write

    std::mutex mutex_;
    std::condition_variable changed_;
    ByteBuffer pending_;  // handed over, not yet taken by the thread
    bool hasPending_ = false;
    bool closing_ = false;
    std::thread thread_;
};

}  // namespace slp::sheet
