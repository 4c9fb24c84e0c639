// Every print on a machine whose font system finds no font at all: the face is named, the status is 1
// and the output folder holds nothing, not even a temporary file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "slpayprn_cli.h"

using namespace Qt::StringLiterals;

namespace {

struct Outcome {
    int code = -1;
    QString err;
};

Outcome runWithoutFonts(const QTemporaryDir& home, const QStringList& args) {
    // A configuration without a font folder: fontconfig knows no font.
    const QString config = home.filePath(u"fonts.conf"_s);
    QFile f(config);
    if (f.open(QIODevice::WriteOnly)) {
        f.write("<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" +
                QFile::encodeName(home.filePath(u"fc"_s)) + "</cachedir></fontconfig>\n");
        f.close();
    }
    QProcess p;
    QProcessEnvironment env = slp_test::cliEnvironment(home.path());
    env.insert(u"FONTCONFIG_FILE"_s, config);
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(QStringLiteral(SLP_BIN_DIR "/slpayprn"), args);
    if (!p.waitForFinished(120000)) p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardError())};
}

TEST(NoFont, EveryPrintNamesTheFaceAndLeavesNothing) {
    QTemporaryDir home;
    // The demo month, made with the fonts at hand (making it prints nothing).
    ASSERT_EQ(slp_test::runSlpayprn({u"layout"_s, u"save"_s}, home.path()).code, 0);
    const QStringList cases[] = {
        {u"print"_s, u"wage-table"_s, u"--pdf-dir"_s, u"D"_s},
        {u"print"_s, u"slips"_s, u"--pdf-dir"_s, u"D"_s},
        {u"print"_s, u"summary"_s, u"--pdf-dir"_s, u"D"_s},
        {u"print"_s, u"strips"_s, u"--pdf-dir"_s, u"D"_s, u"--first"_s, u"1"_s, u"--last"_s, u"3"_s},
        {u"print"_s, u"slips"_s, u"--per-employee"_s, u"D"_s},
        {u"print"_s, u"wage-table"_s, u"--one-file"_s, u"D/all.pdf"_s},
        {u"print"_s, u"payment"_s, u"--pdf-dir"_s, u"D"_s},
        {u"print"_s, u"special"_s, u"--pdf-dir"_s, u"D"_s, u"--sheet-width"_s, u"10"_s, u"--sheet-height"_s,
         u"10"_s},
    };
    for (const QStringList& c : cases) {
        QTemporaryDir out;
        QStringList args;
        for (QString a : c) args << a.replace(u"D"_s, out.path());
        const Outcome r = runWithoutFonts(home, args);
        const std::string name = c.join(u' ').toStdString();
        EXPECT_EQ(r.code, 1) << name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(u"无法使用字体“宋体”"_s)) << name << ": " << r.err.toStdString();
        EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList())
            << name;
    }
}

}  // namespace
