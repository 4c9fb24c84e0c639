#pragma once
// The temporary files this process has under way, removed when SIGINT, SIGTERM or SIGHUP ends it: a
// clerk who interrupts a long print or export leaves nothing behind, and the files replaced stay as
// they were. The handler is put in place for a signal only where the signal does what it does by
// default (a host's own handler stays); it removes the files with async-signal-safe calls only, then
// lets the signal end the process as it would have.
#include <QByteArray>

namespace slp {

// Counts a file as under way until untrackTemporary; the number it returns goes to untrackTemporary
// (-1 when the registry is full or the path too long: the file is then not removed on a signal).
int trackTemporary(const QByteArray& path);
// The file is no longer under way (renamed into place, or removed). Does nothing for -1.
void untrackTemporary(int slot);

// Holds a file under way for its lifetime.
class TrackedTemporary {
  public:
    TrackedTemporary() = default;
    explicit TrackedTemporary(const QByteArray& path) : slot_(trackTemporary(path)) {}
    ~TrackedTemporary() { release(); }
    TrackedTemporary(const TrackedTemporary&) = delete;
    TrackedTemporary& operator=(const TrackedTemporary&) = delete;
    TrackedTemporary(TrackedTemporary&& other) noexcept : slot_(other.slot_) { other.slot_ = -1; }
    TrackedTemporary& operator=(TrackedTemporary&& other) noexcept {
        if (this != &other) {
            release();
            slot_ = other.slot_;
            other.slot_ = -1;
        }
        return *this;
    }
    void release() {
        untrackTemporary(slot_);
        slot_ = -1;
    }

  private:
    int slot_ = -1;
};

}  // namespace slp
