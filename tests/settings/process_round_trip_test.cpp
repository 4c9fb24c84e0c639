// Values written by one process are read back by another: every key of the key table, odd names, and
// several processes writing one file at the same time.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <vector>

#include "basic/conversions.h"
#include "settings/ini_document.h"
#include "settings/keys.h"
#include "settings/store.h"
#include "settings_test_support.h"

using namespace Qt::StringLiterals;
using namespace slp::settings;
using namespace slp::settings::testing;

namespace {

const QString kUnit = u"0101"_s;

// The report kind or caption a row's section is built with.
QString variableFor(const KeyDef& def) {
    switch (def.part) {
        case SectionPart::ReportKind:
            return u"工资条"_s;
        case SectionPart::WindowCaption:
            return def.after == u"SETTINGS" ? u"班组签收联"_s : u"特殊打印设置"_s;
        case SectionPart::Fixed:
            break;
    }
    return QString();
}

// A value other than the default, in the form it is written; rows get different values so a write
// that lands on the wrong key shows.
QString otherValue(const KeyDef& def, size_t row) {
    const int n = int(row);
    switch (def.kind) {
        case ValueKind::Integer16:
            return QString::number(n % 2 ? -(100 + n) : 100 + n);
        case ValueKind::Single:
            return slp::plainNumber(float(n) * 10.0f + 0.25f);
        case ValueKind::Text:
            return u" 文本%1 /\\=[];# "_s.arg(n);
        case ValueKind::TrueFalse:
            return def.defaultText == u"True" ? u"False"_s : u"True"_s;
        case ValueKind::YesNo:
            return def.defaultText == u"是" ? u"否"_s : u"是"_s;
        case ValueKind::Flag16:
            return u"0"_s;  // the only flag defaults to "1", true
    }
    return QString();
}

class SettingsProcessRoundTrip : public ::testing::Test {
  protected:
    QTemporaryDir home;
    Probe probe{home.path()};
    Store store{home.path() + u"/Sl_PAYPRN"_s};
};

TEST_F(SettingsProcessRoundTrip, EveryKeyOfTheTableSurvivesANewProcess) {
    ASSERT_TRUE(home.isValid());
    const auto table = keyTable();
    std::vector<QString> written;
    for (size_t row = 0; row < table.size(); ++row) {
        const KeyDef& def = table[row];
        const QString variable = variableFor(def);
        SCOPED_TRACE(def.key.toString().toStdString());

        // A fresh process on an empty store reads the default.
        const ProbeResult before = probe.keyRead(row, kUnit, variable);
        ASSERT_EQ(before.exitCode, 0) << before.text.toStdString();
        if (def.kind == ValueKind::Flag16) {
            EXPECT_EQ(def.defaultText, u"1");
            EXPECT_EQ(before.text, u"-1"_s);
        } else {
            EXPECT_EQ(before.text, def.defaultText.toString());
        }

        const QString value = otherValue(def, row);
        written.push_back(value);
        const ProbeResult w = probe.keyWrite(row, kUnit, variable, value);
        ASSERT_EQ(w.exitCode, 0) << w.text.toStdString();

        const ProbeResult after = probe.keyRead(row, kUnit, variable);
        ASSERT_EQ(after.exitCode, 0) << after.text.toStdString();
        EXPECT_EQ(after.text, value);

        // The text in the file is the value's written form, under readable names.
        const Setting s = resolve(def, kUnit, variable);
        EXPECT_EQ(store.find(s.app, s.section, s.key), value);
        const QByteArray bytes = fileBytes(store.filePath(s.app));
        EXPECT_TRUE(bytes.contains((u'[' + s.section + u"]\n"_s).toUtf8())) << bytes.constData();
        EXPECT_TRUE(bytes.contains((IniDocument::escapeKey(s.key) + u'=').toUtf8()));
        if (!s.key.startsWith(u' ')) {
            EXPECT_TRUE(bytes.contains((u'\n' + s.key + u'=').toUtf8()));
        }
    }

    // No write disturbed another key.
    for (size_t row = 0; row < table.size(); ++row) {
        const Setting s = resolve(table[row], kUnit, variableFor(table[row]));
        EXPECT_EQ(store.read(s.app, s.section, s.key, u"?"_s), written[row]) << s.key.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(home.path() + u"/Sl_PAYPRN/0101GZGL.ini"_s));
    EXPECT_TRUE(QFileInfo::exists(home.path() + u"/Sl_PAYPRN/0101GZ.ini"_s));
    EXPECT_TRUE(QFileInfo::exists(home.path() + u"/Sl_PAYPRN/Sl_PAYPRN.ini"_s));
}

TEST_F(SettingsProcessRoundTrip, OddNamesAndValuesCrossTheProcessBoundary) {
    const QStringList odd = {
        u" 行高"_s,
        u"行高 "_s,
        u"  "_s,
        QString(),
        u"a/b"_s,
        u"a\\b"_s,
        u"k=v"_s,
        u"[x]"_s,
        u"]"_s,
        u";comment"_s,
        u"#hash"_s,
        u"a;b#c"_s,
        u"tab\there"_s,
        u"line\nfeed"_s,
        u"cr\rlf"_s,
        u"\\s literal"_s,
        u"\\u0041"_s,
        u"全角　空格　"_s,
        u"😀 emoji"_s,
        QString(QChar(0xD800)) + u"lone"_s,
        QString(QChar(0x01)) + QChar(0x7f),
        u"班组签收联SETTINGS"_s,
    };
    const QString app = u"Sl_PAYPRN"_s;
    for (int i = 0; i < odd.size(); ++i) {
        const QString& name = odd[i];
        const QString value = name + u" value "_s + QString::number(i);
        ASSERT_EQ(probe.write(app, name, name, value).exitCode, 0) << i;
        ASSERT_EQ(probe.write(app, u"S"_s, name, name).exitCode, 0) << i;
    }
    for (int i = 0; i < odd.size(); ++i) {
        const QString& name = odd[i];
        const QString value = name + u" value "_s + QString::number(i);
        EXPECT_EQ(probe.read(app, name, name, u"missing"_s).text, value) << i;
        EXPECT_EQ(store.read(app, name, name, u"missing"_s), value) << i;
        EXPECT_EQ(store.read(app, u"S"_s, name, u"missing"_s), name) << i;
    }
    // The file is still valid UTF-8 text with one line per key.
    const QByteArray bytes = fileBytes(store.filePath(app));
    EXPECT_TRUE(IniDocument::parse(bytes).has_value());
    EXPECT_TRUE(bytes.contains("\n\\s行高="));
}

TEST_F(SettingsProcessRoundTrip, AReadSeesTheLatestWriteOfAnotherProcess) {
    const QString app = appUnitGZ(kUnit);
    for (int round = 0; round < 5; ++round) {
        // Same size, same second: nothing may be served from a stale copy.
        store.write(app, u"打印"_s, u"显示零"_s, QString::number(round % 10));
        EXPECT_EQ(probe.read(app, u"打印"_s, u"显示零"_s, u"x"_s).text, QString::number(round % 10));
        ASSERT_EQ(probe.write(app, u"打印"_s, u"显示零"_s, QString::number((round + 5) % 10)).exitCode, 0);
        EXPECT_EQ(store.read(app, u"打印"_s, u"显示零"_s, u"x"_s), QString::number((round + 5) % 10));
    }
}

TEST_F(SettingsProcessRoundTrip, WritersInSeveralProcessesDoNotLoseEachOthersKeys) {
    constexpr int kWriters = 3;
    constexpr int kKeys = 30;
    const QString app = appComponent();
    std::vector<QProcess*> running;
    for (int w = 0; w < kWriters; ++w) {
        running.push_back(probe.start(
            {u"write-many"_s, QString::fromLatin1(hex16(app)), QString::fromLatin1(hex16(u"并发"_s)),
             QString::fromLatin1(hex16(u"w%1-"_s.arg(w))), QString::number(kKeys)}));
    }
    for (QProcess* p : running) EXPECT_EQ(Probe::finish(p).exitCode, 0);
    for (int w = 0; w < kWriters; ++w) {
        for (int k = 0; k < kKeys; ++k) {
            EXPECT_EQ(store.read(app, u"并发"_s, u"w%1-%2"_s.arg(w).arg(k), u"lost"_s), QString::number(k));
        }
    }
    // The lock files are gone once the writers are done.
    EXPECT_EQ(QDir(store.folder()).entryList(QDir::Files), QStringList{u"Sl_PAYPRN.ini"_s});
}

}  // namespace
