#include "export/deflate_spool.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <new>

#include "basic/file_replace.h"

namespace slp::sheet {

namespace {

constexpr std::size_t kOutChunk = 256 * 1024;

// A file without a name in `folder`: O_TMPFILE where the file system has it, else one made and unlinked.
int namelessFile(const QString& folder) {
    const QByteArray dir = QFile::encodeName(folder);
    int fd = ::open(dir.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) return fd;
    QByteArray name = dir + "/slp-sheet-XXXXXX";
    fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0) ::unlink(name.constData());
    return fd;
}

}  // namespace

struct DeflateSpool::Stream {
    z_stream z{};
    ByteBuffer out;
};

DeflateSpool::DeflateSpool(const QString& folder) {
    fd_ = namelessFile(folder);
    if (fd_ < 0) {
        const int error = errno;
        throw FileWriteError(error, systemReason(error));
    }
    stream_ = new Stream;
    if (deflateInit2(&stream_->z, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        delete stream_;
        ::close(fd_);
        throw std::bad_alloc();
    }
    crc_ = quint32(crc32(0, nullptr, 0));
    try {
        thread_ = std::thread([this] { run(); });
    } catch (...) {
        deflateEnd(&stream_->z);
        delete stream_;
        ::close(fd_);
        throw;
    }
}

DeflateSpool::~DeflateSpool() {
    if (thread_.joinable()) {
        {
            const std::lock_guard lock(mutex_);
            closing_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    deflateEnd(&stream_->z);
    delete stream_;
    ::close(fd_);
}

void DeflateSpool::add(ByteBuffer& xml) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !hasPending_; });
    if (error_ != 0) {
        lock.unlock();
        throwIfFailed();
    }
    std::swap(pending_, xml);
    xml.clear();
    hasPending_ = true;
    lock.unlock();
    changed_.notify_all();
}

void DeflateSpool::run() {
    ByteBuffer working;
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return hasPending_ || closing_; });
        if (!hasPending_) return;  // closing, everything taken
        std::swap(working, pending_);
        hasPending_ = false;
        const bool failed = error_ != 0;
        lock.unlock();
        changed_.notify_all();
        if (!failed) deflatePiece(working, Z_NO_FLUSH);
        working.clear();
        lock.lock();
    }
}

void DeflateSpool::deflatePiece(const ByteBuffer& xml, int flush) {
    z_stream& z = stream_->z;
    if (!xml.empty()) crc_ = quint32(crc32_z(crc_, reinterpret_cast<const Bytef*>(xml.data()), xml.size()));
    size_ += xml.size();
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(xml.data()));
    z.avail_in = uInt(xml.size());
    int rc = Z_OK;
    do {
        char* out = stream_->out.room(kOutChunk);
        z.next_out = reinterpret_cast<Bytef*>(out);
        z.avail_out = uInt(kOutChunk);
        rc = deflate(&z, flush);
        const std::size_t made = kOutChunk - z.avail_out;
        if (made > 0 && !writeAll(fd_, QByteArrayView(out, qsizetype(made)))) {
            const std::lock_guard lock(mutex_);
            error_ = errno != 0 ? errno : EIO;
            return;
        }
        packed_ += made;
    } while (z.avail_out == 0 || (flush == Z_FINISH && rc == Z_OK));
}

void DeflateSpool::finish() {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    thread_.join();
    throwIfFailed();
    deflatePiece(ByteBuffer(), Z_FINISH);
    throwIfFailed();
}

void DeflateSpool::throwIfFailed() {
    if (error_ != 0) throw FileWriteError(error_, systemReason(error_));
}

void DeflateSpool::copyTo(const ByteSink& sink) const {
    constexpr qsizetype kChunk = 1024 * 1024;
    QByteArray chunk(kChunk, Qt::Uninitialized);
    for (quint64 at = 0; at < packed_;) {
        const ssize_t n =
            ::pread(fd_, chunk.data(), std::size_t(std::min<quint64>(kChunk, packed_ - at)), off_t(at));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            throw FileWriteError(error, systemReason(error));
        }
        sink(QByteArrayView(chunk.constData(), n));
        at += quint64(n);
    }
}

}  // namespace slp::sheet
