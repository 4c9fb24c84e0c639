// A separate process that reads or writes settings, so the tests can check that values survive a
// restart. The store folder comes from XDG_CONFIG_HOME. Every text argument and every printed text is
// hex of its UTF-16 code units, so any string (blanks, line feeds, lone surrogates) crosses intact.
//
//   settings_probe read <app> <section> <key> <default>      prints the stored text or the default
//   settings_probe write <app> <section> <key> <value>
//   settings_probe key-read <row> <unit> <variable>           typed read of a key table row, printed in its
//                                                             written form ("24", "True", "是", "-1", ...)
//   settings_probe key-write <row> <unit> <variable> <value>  typed write; <value> in the written form
//   settings_probe write-many <app> <section> <prefix> <n>   writes keys prefix0..prefix<n-1> = 0..n-1
// Exit 0 on success; on an slp::Error exit 2 and print "ERR <number> <hex description>".
#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstring>

#include "basic/conversions.h"
#include "basic/error.h"
#include "settings/keys.h"
#include "settings/store.h"

using namespace Qt::StringLiterals;
using namespace slp::settings;

namespace {

QString fromHex(const char* arg) {
    const QByteArray bytes = QByteArray::fromHex(QByteArray(arg));
    QString out;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        out += QChar(char16_t((uchar(bytes[i]) << 8) | uchar(bytes[i + 1])));
    }
    return out;
}

void printHex(const QString& text) {
    QByteArray bytes;
    for (const QChar c : text) {
        bytes.append(char(c.unicode() >> 8));
        bytes.append(char(c.unicode() & 0xff));
    }
    std::fputs(bytes.toHex().constData(), stdout);
}

const KeyDef& row(const char* arg) {
    const auto table = keyTable();
    const size_t index = std::strtoul(arg, nullptr, 10);
    if (index >= table.size()) throw slp::Error(0, u"no such row"_s);
    return table[index];
}

bool boolFrom(const QString& text) {
    return text == u"True"_s || text == u"是"_s || text == u"-1"_s;
}

int run(int argc, char** argv) {
    const QByteArray command = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    Store store;
    if (command == "read" && argc == 6) {
        printHex(store.read(fromHex(argv[2]), fromHex(argv[3]), fromHex(argv[4]), fromHex(argv[5])));
        return 0;
    }
    if (command == "write" && argc == 6) {
        store.write(fromHex(argv[2]), fromHex(argv[3]), fromHex(argv[4]), fromHex(argv[5]));
        return 0;
    }
    if (command == "write-many" && argc == 6) {
        const QString prefix = fromHex(argv[4]);
        const int n = std::atoi(argv[5]);
        for (int i = 0; i < n; ++i) {
            store.write(fromHex(argv[2]), fromHex(argv[3]), prefix + QString::number(i), QString::number(i));
        }
        return 0;
    }
    if (command == "key-read" && argc == 5) {
        const KeyDef& def = row(argv[2]);
        const Setting s = resolve(def, fromHex(argv[3]), fromHex(argv[4]));
        switch (def.kind) {
            case ValueKind::Integer16:
                printHex(QString::number(readInt16(store, s)));
                break;
            case ValueKind::Single:
                printHex(slp::plainNumber(readSingle(store, s)));
                break;
            case ValueKind::Text:
                printHex(readText(store, s));
                break;
            case ValueKind::TrueFalse:
                printHex(slp::boolText(readTrueFalse(store, s)));
                break;
            case ValueKind::YesNo:
                printHex(slp::yesNoText(readYesNo(store, s)));
                break;
            case ValueKind::Flag16:
                printHex(slp::flagText(readFlag(store, s)));
                break;
        }
        return 0;
    }
    if (command == "key-write" && argc == 6) {
        const KeyDef& def = row(argv[2]);
        const Setting s = resolve(def, fromHex(argv[3]), fromHex(argv[4]));
        const QString value = fromHex(argv[5]);
        switch (def.kind) {
            case ValueKind::Integer16:
                writeInt16(store, s, int16_t(value.toShort()));
                break;
            case ValueKind::Single:
                writeSingle(store, s, value.toFloat());
                break;
            case ValueKind::Text:
                writeText(store, s, value);
                break;
            case ValueKind::TrueFalse:
                writeTrueFalse(store, s, boolFrom(value));
                break;
            case ValueKind::YesNo:
                writeYesNo(store, s, boolFrom(value));
                break;
            case ValueKind::Flag16:
                writeFlag(store, s, boolFrom(value));
                break;
        }
        return 0;
    }
    std::fputs("usage: settings_probe read|write|key-read|key-write|write-many ...\n", stderr);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const slp::Error& e) {
        std::printf("ERR %d ", e.number());
        printHex(e.description());
        return 2;
    }
}
