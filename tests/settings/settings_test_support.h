#pragma once
// Shared pieces of the settings tests: a private configuration folder and the probe process.
#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace slp::settings::testing {

inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void putFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

// Hex of a text's UTF-16 code units: how the probe takes and gives texts.
inline QByteArray hex16(const QString& text) {
    QByteArray bytes;
    for (const QChar c : text) {
        bytes.append(char(c.unicode() >> 8));
        bytes.append(char(c.unicode() & 0xff));
    }
    return bytes.toHex();
}

inline QString unhex16(const QByteArray& hex) {
    const QByteArray bytes = QByteArray::fromHex(hex);
    QString out;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        out += QChar(char16_t((uchar(bytes[i]) << 8) | uchar(bytes[i + 1])));
    }
    return out;
}

struct ProbeResult {
    int exitCode = -1;
    QString text;         // what the probe printed (decoded), or the error description
    int errorNumber = 0;  // the slp::Error number when exitCode is 2
};

// Runs tests/settings/settings_probe with XDG_CONFIG_HOME pointing at `configHome`.
class Probe {
  public:
    explicit Probe(QString configHome) : configHome_(std::move(configHome)) {}

    QProcess* start(const QStringList& args) const {
        auto* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome_);
        p->setProcessEnvironment(env);
        p->start(QStringLiteral(SLP_BIN_DIR "/settings_probe"), args);
        return p;
    }

    static ProbeResult finish(QProcess* p) {
        ProbeResult r;
        if (p->waitForFinished(30000) && p->exitStatus() == QProcess::NormalExit) {
            r.exitCode = p->exitCode();
            const QByteArray out = p->readAllStandardOutput().trimmed();
            if (r.exitCode == 2 && out.startsWith("ERR ")) {
                const QList<QByteArray> parts = out.split(' ');
                r.errorNumber = parts.value(1).toInt();
                r.text = unhex16(parts.value(2));
            } else {
                r.text = unhex16(out);
            }
        }
        delete p;
        return r;
    }

    ProbeResult run(const QStringList& args) const { return finish(start(args)); }

    ProbeResult read(const QString& app, const QString& section, const QString& key,
                     const QString& def) const {
        return run({QStringLiteral("read"), h(app), h(section), h(key), h(def)});
    }
    ProbeResult write(const QString& app, const QString& section, const QString& key,
                      const QString& value) const {
        return run({QStringLiteral("write"), h(app), h(section), h(key), h(value)});
    }
    ProbeResult keyRead(size_t row, const QString& unit, const QString& variable) const {
        return run({QStringLiteral("key-read"), QString::number(row), h(unit), h(variable)});
    }
    ProbeResult keyWrite(size_t row, const QString& unit, const QString& variable,
                         const QString& value) const {
        return run({QStringLiteral("key-write"), QString::number(row), h(unit), h(variable), h(value)});
    }

  private:
    static QString h(const QString& text) { return QString::fromLatin1(hex16(text)); }
    QString configHome_;
};

}  // namespace slp::settings::testing
