// The print commands under a settings file a person edited: a bad line is skipped and said with the
// file and its number while the remembered paper still holds; a row height or line count that would
// lose rows stops the print with the reason.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "slpayprn_cli.h"

using namespace Qt::StringLiterals;

namespace {

QString settingsFile(const QTemporaryDir& home) {
    return home.filePath(u"config/Sl_PAYPRN/Sl_PAYPRN.ini"_s);
}

void putSettings(const QTemporaryDir& home, const QByteArray& bytes) {
    QDir().mkpath(home.filePath(u"config/Sl_PAYPRN"_s));
    QFile f(settingsFile(home));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray contentsOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(SettingsFaults, ABadLineIsSaidAndTheRememberedPaperStillHolds) {
    const struct {
        QByteArray badLine;
        QString reason;
    } cases[] = {
        {"a line without an equals sign", u"既不是“[节名]”也不是“键=值”"_s},
        {"[Bad\\q]", u"节名无法识别，此节的设置都被跳过"_s},
        {"Folder=\xff\xfe", u"不是有效的UTF-8文本"_s},
    };
    for (const auto& c : cases) {
        QTemporaryDir home;
        // Lower-case words as a person types them; the bad line after them, then the orientation.
        putSettings(home, "[PdfPrinter]\nPaper=a3\n" + c.badLine + "\n[PdfPrinter]\nOrientation=landscape\n");
        const QString out = home.filePath(u"t.pdf"_s);
        const slp_test::CliResult r =
            slp_test::runSlpayprn({u"print"_s, u"wage-table"_s, u"--one-file"_s, out}, home.path());
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(u"设置文件“"_s + settingsFile(home) + u"”第3行无法识别（"_s + c.reason +
                                   u"），已跳过"_s))
            << r.err.toStdString();
        EXPECT_TRUE(contentsOf(out).contains("/MediaBox[0 0 1191 842]")) << c.badLine.constData();
    }
}

TEST(SettingsFaults, ALayoutThatWouldLoseRowsIsRefused) {
    const struct {
        QByteArray line;
        QString message;
    } cases[] = {
        {"每行行高=0", u"每行行高为0，必须大于0"_s},
        {"每行行高=-360", u"每行行高为-360，必须大于0"_s},
        {"每页行数=0", u"每页行数为0，必须大于0"_s},
        {"每页行数=32767", u"大于你所设置的打印纸张高度!"_s},
    };
    for (const auto& c : cases) {
        QTemporaryDir home;
        putSettings(home, "[打印设置]\n" + c.line + "\n");
        const slp_test::CliResult r = slp_test::runSlpayprn(
            {u"print"_s, u"wage-table"_s, u"--pdf-dir"_s, home.filePath(u"out"_s)}, home.path());
        EXPECT_EQ(r.code, 1) << c.line.constData();
        EXPECT_TRUE(r.err.contains(c.message)) << c.line.constData() << ": " << r.err.toStdString();
        EXPECT_TRUE(QDir(home.filePath(u"out"_s)).entryList(QDir::Files | QDir::Hidden).isEmpty())
            << c.line.constData();
    }
}

}  // namespace
