// The store in one process: file names, case and blanks kept, corrupt files kept aside, failures reported.
#include "settings/store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include "basic/clock.h"
#include "basic/error.h"
#include "settings_test_support.h"

using namespace Qt::StringLiterals;
using namespace slp::settings;
using namespace slp::settings::testing;

namespace {

class SettingsStore : public ::testing::Test {
  protected:
    QTemporaryDir home;
    QString folder = home.path() + u"/Sl_PAYPRN"_s;
    slp::FixedClock clock{QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))};
    Store store{folder, clock};
};

TEST_F(SettingsStore, ApplicationNamesAndTheirFiles) {
    EXPECT_EQ(appUnitGZGL(u"0101"_s), u"0101GZGL"_s);
    EXPECT_EQ(appUnitGZ(u"0101"_s), u"0101GZ"_s);
    EXPECT_EQ(appUnitGZGL(QString()), u"GZGL"_s);
    EXPECT_EQ(appUnitGZ(QString()), u"GZ"_s);
    EXPECT_EQ(appComponent(), u"Sl_PAYPRN"_s);
    EXPECT_EQ(fileNameFor(u"0101GZGL"_s), u"0101GZGL.ini"_s);
    EXPECT_EQ(fileNameFor(u"0101GZ"_s), u"0101GZ.ini"_s);
    EXPECT_EQ(fileNameFor(u"Sl_PAYPRN"_s), u"Sl_PAYPRN.ini"_s);
    EXPECT_EQ(fileNameFor(u"GZGL"_s), u"GZGL.ini"_s);
    EXPECT_EQ(fileNameFor(u"单位GZ"_s), u"单位GZ.ini"_s);
    EXPECT_EQ(store.filePath(u"0101GZ"_s), folder + u"/0101GZ.ini"_s);
}

TEST_F(SettingsStore, DefaultFolderFollowsXdgConfigHome) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/somewhere");
    EXPECT_EQ(defaultFolder(), u"/tmp/somewhere/Sl_PAYPRN"_s);
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(defaultFolder(), QDir::homePath() + u"/.config/Sl_PAYPRN"_s);
    qputenv("XDG_CONFIG_HOME", "relative/path");
    EXPECT_EQ(defaultFolder(), QDir::homePath() + u"/.config/Sl_PAYPRN"_s);
    if (saved.isNull()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", saved);
    }
}

TEST_F(SettingsStore, UnsafeApplicationNamesGetSafeDistinctFiles) {
    const QStringList apps = {u"a/bGZ"_s,
                              u"a%2FbGZ"_s,
                              u"a_bGZ"_s,
                              u"a\\bGZ"_s,
                              u".GZ"_s,
                              u"..GZ"_s,
                              u"/GZ"_s,
                              u"%GZ"_s,
                              u""_s,
                              u"%"_s,
                              u"a:b*c?GZ"_s,
                              u"nl\nGZ"_s,
                              QString(QChar(0xD800)) + u"GZ"_s,
                              QString(QChar(0xDC00)) + u"GZ"_s,
                              QString(300, u'单') + u"GZ"_s,
                              QString(300, u'单') + u"GZGL"_s,
                              QString(300, u'x') + u"GZ"_s,
                              u"~GZ"_s};
    QSet<QString> names;
    for (const QString& app : apps) {
        const QString name = fileNameFor(app);
        names.insert(name);
        EXPECT_FALSE(name.contains(u'/')) << name.toStdString();
        EXPECT_FALSE(name.startsWith(u'.')) << name.toStdString();
        EXPECT_TRUE(name.endsWith(u".ini"_s));
        EXPECT_LE(name.toUtf8().size(), 255) << name.toStdString();
        store.write(app, u"s"_s, u"k"_s, app);
    }
    EXPECT_EQ(names.size(), apps.size());
    // Every file sits directly in the folder, and each application reads back its own value.
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(),
              apps.size());
    for (const QString& app : apps) EXPECT_EQ(store.read(app, u"s"_s, u"k"_s, u"?"_s), app);
}

TEST_F(SettingsStore, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(store.read(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"1"_s), u"1"_s);
    EXPECT_FALSE(QFileInfo::exists(folder));  // reading creates nothing
    store.write(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"0"_s);
    EXPECT_EQ(store.read(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"1"_s), u"0"_s);
    EXPECT_EQ(store.read(u"0101GZ"_s, u"打印"_s, u"其他"_s, u"d"_s), u"d"_s);
    EXPECT_EQ(store.read(u"0101GZ"_s, u"其他"_s, u"显示零"_s, u"d"_s), u"d"_s);
    EXPECT_FALSE(store.find(u"0101GZ"_s, u"打印"_s, u"其他"_s).has_value());
    // An empty stored value is a value, not a missing key.
    store.write(u"0101GZ"_s, u"工资卡"_s, u"单位代码"_s, QString());
    EXPECT_EQ(store.read(u"0101GZ"_s, u"工资卡"_s, u"单位代码"_s, u"d"_s), QString());
}

TEST_F(SettingsStore, AKeyWithALeadingBlankIsItsOwnKey) {
    store.write(u"0101GZ"_s, u"打印设置"_s, u" 行高"_s, u"400"_s);
    EXPECT_EQ(store.read(u"0101GZ"_s, u"打印设置"_s, u"行高"_s, u"none"_s), u"none"_s);
    store.write(u"0101GZ"_s, u"打印设置"_s, u"行高"_s, u"500"_s);
    store.write(u"0101GZ"_s, u"打印设置"_s, u"行高 "_s, u"600"_s);
    Store other(folder);
    EXPECT_EQ(other.read(u"0101GZ"_s, u"打印设置"_s, u" 行高"_s, u"?"_s), u"400"_s);
    EXPECT_EQ(other.read(u"0101GZ"_s, u"打印设置"_s, u"行高"_s, u"?"_s), u"500"_s);
    EXPECT_EQ(other.read(u"0101GZ"_s, u"打印设置"_s, u"行高 "_s, u"?"_s), u"600"_s);
}

TEST_F(SettingsStore, SectionsAndKeysKeepTheirCase) {
    store.write(u"Sl_PAYPRN"_s, u"班组签收联SETTINGS"_s, u"IMAGELEFT"_s, u"1200"_s);
    store.write(u"Sl_PAYPRN"_s, u"班组签收联Settings"_s, u"IMAGELEFT"_s, u"3400"_s);
    store.write(u"Sl_PAYPRN"_s, u"班组签收联SETTINGS"_s, u"imageleft"_s, u"5600"_s);
    EXPECT_EQ(store.read(u"Sl_PAYPRN"_s, u"班组签收联SETTINGS"_s, u"IMAGELEFT"_s, u"0"_s), u"1200"_s);
    EXPECT_EQ(store.read(u"Sl_PAYPRN"_s, u"班组签收联Settings"_s, u"IMAGELEFT"_s, u"0"_s), u"3400"_s);
    EXPECT_EQ(store.read(u"Sl_PAYPRN"_s, u"班组签收联SETTINGS"_s, u"imageleft"_s, u"0"_s), u"5600"_s);
    EXPECT_EQ(store.read(u"Sl_PAYPRN"_s, u"班组签收联settings"_s, u"IMAGELEFT"_s, u"0"_s), u"0"_s);
    // Two application names that differ in case are two files.
    store.write(u"abGZ"_s, u"s"_s, u"k"_s, u"lower"_s);
    store.write(u"ABGZ"_s, u"s"_s, u"k"_s, u"upper"_s);
    EXPECT_EQ(store.read(u"abGZ"_s, u"s"_s, u"k"_s, u"?"_s), u"lower"_s);
}

TEST_F(SettingsStore, BadLinesAreSkippedAndSaidTheRestIsKeptAndTheFileIsKeptAsideOnWrite) {
    QStringList said;
    slp::settings::setSkippedLineReporter([&](const QString& message) { said << message; });
    store.write(u"0101GZGL"_s, u"汇总表设置"_s, u"每行列数"_s, u"20"_s);
    store.write(u"Sl_PAYPRN"_s, u"打印设置"_s, u"每页行数"_s, u"30"_s);
    const QByteArray gzgl = fileBytes(store.filePath(u"0101GZGL"_s));
    const QByteArray component = fileBytes(store.filePath(u"Sl_PAYPRN"_s));
    const QString path = store.filePath(u"0101GZ"_s);
    const QByteArray garbage =
        "[打印]\n显示零=0\nthis line has no equals "
        "sign\n\xff\xfe\n[Bad\\q]\n显示零=5\n[PdfPrinter]\nPaper=A3\n";
    putFile(path, garbage);

    EXPECT_EQ(store.read(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"1"_s), u"0"_s);
    EXPECT_EQ(store.read(u"0101GZ"_s, u"PdfPrinter"_s, u"Paper"_s, u"A4"_s), u"A3"_s);
    EXPECT_EQ(fileBytes(path), garbage);  // reading changes nothing
    // Each line once, with the file and its number, however often the file is read.
    ASSERT_EQ(said.size(), 3) << said.join(u'\n').toStdString();
    EXPECT_EQ(said[0], u"设置文件“"_s + path + u"”第3行无法识别（既不是“[节名]”也不是“键=值”），已跳过"_s);
    EXPECT_EQ(said[1], u"设置文件“"_s + path + u"”第4行无法识别（不是有效的UTF-8文本），已跳过"_s);
    EXPECT_EQ(said[2],
              u"设置文件“"_s + path + u"”第5行无法识别（节名无法识别，此节的设置都被跳过），已跳过"_s);

    store.write(u"0101GZ"_s, u"打印设置"_s, u" 行高"_s, u"400"_s);
    const QString aside = path + u".corrupt-20260102-030405"_s;
    EXPECT_EQ(fileBytes(aside), garbage);
    EXPECT_EQ(store.read(u"0101GZ"_s, u"打印设置"_s, u" 行高"_s, u"360"_s), u"400"_s);
    EXPECT_EQ(store.read(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"1"_s), u"0"_s);
    EXPECT_EQ(store.read(u"0101GZ"_s, u"PdfPrinter"_s, u"Paper"_s, u"A4"_s), u"A3"_s);
    EXPECT_EQ(fileBytes(store.filePath(u"0101GZGL"_s)), gzgl);
    EXPECT_EQ(fileBytes(store.filePath(u"Sl_PAYPRN"_s)), component);
    EXPECT_EQ(said.size(), 3);  // the file written holds only good lines

    // A second such file in the same second does not replace the first one kept aside.
    putFile(path, "not a settings file");
    store.write(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"0"_s);
    EXPECT_EQ(fileBytes(aside), garbage);
    EXPECT_EQ(fileBytes(aside + u"-2"_s), QByteArray("not a settings file"));
    EXPECT_EQ(store.read(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"1"_s), u"0"_s);
    slp::settings::setSkippedLineReporter({});
}

TEST_F(SettingsStore, AnUnwritableFolderIsReportedAndNothingIsLost) {
    // The folder's place is taken by a plain file: the folder cannot be made.
    QTemporaryDir other;
    putFile(other.path() + u"/Sl_PAYPRN"_s, "a file, not a folder");
    Store blocked(other.path() + u"/Sl_PAYPRN"_s);
    EXPECT_EQ(blocked.read(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"1"_s), u"1"_s);
    try {
        blocked.write(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"0"_s);
        ADD_FAILURE() << "no error reported";
    } catch (const slp::Error& e) {
        EXPECT_NE(e.number(), 0);
        EXPECT_TRUE(e.description().contains(other.path())) << e.description().toStdString();
    }
    EXPECT_EQ(fileBytes(other.path() + u"/Sl_PAYPRN"_s), QByteArray("a file, not a folder"));
}

TEST_F(SettingsStore, AFileThatCannotBeReplacedIsReported) {
    store.write(u"Sl_PAYPRN"_s, u"s"_s, u"k"_s, u"v"_s);
    // A folder where the settings file should be: it can be neither read nor replaced.
    ASSERT_TRUE(QDir().mkpath(store.filePath(u"0101GZ"_s)));
    EXPECT_EQ(store.read(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"1"_s), u"1"_s);
    EXPECT_THROW(store.write(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"0"_s), slp::Error);
    EXPECT_TRUE(QFileInfo(store.filePath(u"0101GZ"_s)).isDir());
    EXPECT_EQ(store.read(u"Sl_PAYPRN"_s, u"s"_s, u"k"_s, u"?"_s), u"v"_s);
}

TEST_F(SettingsStore, AReadOnlyFolderIsReported) {
    store.write(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"-1"_s);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool enforced = access(QFile::encodeName(folder).constData(), W_OK) != 0;
    if (enforced) {
        EXPECT_THROW(store.write(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"0"_s), slp::Error);
        EXPECT_EQ(store.read(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"1"_s), u"-1"_s);
    }
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!enforced) GTEST_SKIP() << "permissions are not enforced for this user";
}

TEST_F(SettingsStore, WritesReplaceTheFileAtomically) {
    store.write(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"-1"_s);
    const QString path = store.filePath(u"0101GZ"_s);
    const QByteArray before = fileBytes(path);
    // A second name for the old file: a write in place would change it, a rename leaves it alone.
    const QString second = home.path() + u"/old-link"_s;
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(second).constData()), 0);
    store.write(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"0"_s);
    EXPECT_EQ(fileBytes(second), before);
    EXPECT_NE(fileBytes(path), before);
    // Nothing is left beside the file: no temporary copy, no lock file.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"0101GZ.ini"_s});
    EXPECT_EQ(store.read(u"0101GZ"_s, u"打印"_s, u"显示零"_s, u"1"_s), u"0"_s);
}

}  // namespace

namespace {

void replaceByHand(const QString& path, const QByteArray& bytes, bool inPlace) {
    if (inPlace) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.write(bytes);
        return;
    }
    QFile file(path + u".new"_s);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    ASSERT_EQ(::rename(QFile::encodeName(path + u".new"_s).constData(), QFile::encodeName(path).constData()),
              0);
}

// A file parsed once is parsed again whenever it changes, by another process's rename or by an editor
// writing in place, even at the same size within the same second.
TEST_F(SettingsStore, AChangedFileIsReadAgainEvenAtTheSameSize) {
    store.write(u"0101GZ"_s, u"s"_s, u"k"_s, u"1"_s);
    const QString path = store.filePath(u"0101GZ"_s);
    for (const bool inPlace : {false, true, false, true}) {
        const QString before = store.read(u"0101GZ"_s, u"s"_s, u"k"_s, u"?"_s);
        const QString after = before == u"1"_s ? u"2"_s : u"1"_s;
        replaceByHand(path, "[s]\nk=" + after.toUtf8() + "\n", inPlace);
        EXPECT_EQ(store.read(u"0101GZ"_s, u"s"_s, u"k"_s, u"?"_s), after) << inPlace;
        EXPECT_EQ(Store(folder).read(u"0101GZ"_s, u"s"_s, u"k"_s, u"?"_s), after) << inPlace;
    }
}

TEST_F(SettingsStore, AReadSnapshotKeepsOneVersionOfEachFileUntilItEnds) {
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = store.filePath(u"0101GZ"_s);
    const auto k = [&](const QString& key) { return store.read(u"0101GZ"_s, u"s"_s, key, u"?"_s); };
    {
        const ReadSnapshot snapshot;
        EXPECT_EQ(k(u"k"_s), u"?"_s);  // missing when first read
        replaceByHand(path, "[s]\nk=changed\n", false);
        EXPECT_EQ(k(u"k"_s), u"?"_s);
        {
            const ReadSnapshot inner;  // served by the outer one
            EXPECT_EQ(k(u"k"_s), u"?"_s);
        }
        EXPECT_EQ(k(u"k"_s), u"?"_s);
        // A write of its own thread is seen, with what the file held by then.
        store.write(u"0101GZ"_s, u"s"_s, u"mine"_s, u"1"_s);
        EXPECT_EQ(k(u"mine"_s), u"1"_s);
        EXPECT_EQ(k(u"k"_s), u"changed"_s);
        replaceByHand(path, "[s]\nk=again\n", false);
        EXPECT_EQ(k(u"k"_s), u"changed"_s);
    }
    EXPECT_EQ(k(u"k"_s), u"again"_s);
    EXPECT_EQ(k(u"mine"_s), u"?"_s);
}

}  // namespace
