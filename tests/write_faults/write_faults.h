#pragma once
// Faults a writer meets on a real system, made on purpose: a file-size limit in a child process
// (RLIMIT_FSIZE with SIGXFSZ ignored, so a write fails with EFBIG), and a full disk (a small tmpfs,
// mounted when the tests run as root).
#include <QByteArray>
#include <QString>
#include <functional>

namespace slp::test {

// What a child reported: its exit status (-1 when it died of a signal) and the text it wrote.
struct ChildOutcome {
    int status = -1;
    QString message;
};

// Runs `body` in a child process whose files may not grow past `limitBytes`; the child exits with
// body's result and hands back the text body put into `message`.
ChildOutcome runWithFileSizeLimit(qint64 limitBytes, const std::function<int(QString& message)>& body);

// A tmpfs of `bytes` mounted on a new temporary folder; mounted() is false when the system refused
// (not root, no mount namespace), and why() says why.
class SmallDisk {
  public:
    explicit SmallDisk(qint64 bytes);
    ~SmallDisk();
    bool mounted() const { return mounted_; }
    const QString& why() const { return why_; }
    const QString& path() const { return path_; }

  private:
    QString path_;
    QString why_;
    bool mounted_ = false;
};

// The folder's entries, hidden ones too (a temporary file left behind shows here).
QStringList entriesOf(const QString& folder);
QByteArray contentsOf(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

}  // namespace slp::test
