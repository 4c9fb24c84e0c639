// Every format, byte for byte, against the hand-written golden files: through a device and through a
// file on disk.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "basic/scripted_prompts.h"
#include "card_grids.h"
#include "export/bank_card_writers.h"
#include "golden.h"

using namespace Qt::StringLiterals;
using namespace slp::bank;
using namespace slp::bank::test;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll();
}

QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (QByteArray& l : lines) {
        if (l.endsWith('\r')) l.chop(1);
    }
    return lines;
}

class GoldenFiles : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QStringList filesInFolder() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden); }

    // Writes through a device and through a path, and compares both with the golden file.
    template <typename WriteToDevice, typename WriteToPath>
    void expectGolden(const QString& golden, const QString& fileName, WriteToDevice toDevice,
                      WriteToPath toPath) {
        const QByteArray expected = goldenBytes(golden);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        toDevice(buffer);
        EXPECT_EQ(showBytes(buffer.data()), showBytes(expected)) << "device, " << golden.toStdString();

        toPath(path(fileName));
        EXPECT_EQ(showBytes(readAll(path(fileName))), showBytes(expected))
            << "file, " << golden.toStdString();
        EXPECT_EQ(filesInFolder(), QStringList{fileName}) << "no temporary file stays behind";
    }

    QTemporaryDir dir_;
};

TEST_F(GoldenFiles, MudanAndPujiangWriteTheSameBytes) {
    const CardFileInput in = fiveEmployees();
    expectGolden(
        u"mudan.golden"_s, u"SLFGTFC"_s, [&](QIODevice& d) { WriteMudanCardFile(in, d); },
        [&](const QString& p) { WriteMudanCardFile(in, p); });
    expectGolden(
        u"mudan.golden"_s, u"SLFGTF"_s, [&](QIODevice& d) { WritePujiangCardFile(in, d); },
        [&](const QString& p) {
            QFile::remove(path(u"SLFGTFC"_s));
            WritePujiangCardFile(in, p);
        });
}

TEST_F(GoldenFiles, MudanAndPujiangOfAnEmptyGridHoldTheHeaderOnly) {
    const CardFileInput in = emptyGrid();
    expectGolden(
        u"mudan_empty.golden"_s, u"SLFGTFC"_s, [&](QIODevice& d) { WriteMudanCardFile(in, d); },
        [&](const QString& p) { WriteMudanCardFile(in, p); });
    EXPECT_EQ(PujiangCardBytes(in), goldenBytes(u"mudan_empty.golden"_s));
}

TEST_F(GoldenFiles, Baiyulan) {
    const CardFileInput in = fiveEmployeesBaiyulan();
    expectGolden(
        u"baiyulan.golden"_s, u"DFG2.DAT"_s, [&](QIODevice& d) { WriteBaiyulanCardFile(in, d); },
        [&](const QString& p) { WriteBaiyulanCardFile(in, p); });
}

TEST_F(GoldenFiles, BaiyulanOfAnEmptyGridHoldsTheHeaderWithAWholeSixteenCharacterUnitName) {
    const CardFileInput in = emptyGrid();
    expectGolden(
        u"baiyulan_empty.golden"_s, u"DFG2.DAT"_s, [&](QIODevice& d) { WriteBaiyulanCardFile(in, d); },
        [&](const QString& p) { WriteBaiyulanCardFile(in, p); });
}

TEST_F(GoldenFiles, Long) {
    const CardFileInput in = fiveEmployeesLong();
    expectGolden(
        u"long.golden"_s, u"DFMX.TXT"_s, [&](QIODevice& d) { WriteLongCardFile(in, d); },
        [&](const QString& p) { WriteLongCardFile(in, p); });
}

TEST_F(GoldenFiles, PostSavingsWarnsOnceForTheFourteenDigitAmountAndWritesItWhole) {
    const CardFileInput in = fiveEmployeesPost();
    slp::ScriptedPrompts prompts;
    expectGolden(
        u"post_savings.golden"_s, u"SEND.TXT"_s,
        [&](QIODevice& d) { WritePostSavingsCardFile(in, prompts, d); },
        [&](const QString& p) { WritePostSavingsCardFile(in, prompts, p); });

    ASSERT_EQ(prompts.asked.size(), 2) << "one warning for each of the two writes";
    for (const auto& asked : prompts.asked) {
        EXPECT_EQ(asked.kind, slp::ScriptedPrompts::Asked::Message);
        EXPECT_EQ(asked.title, u"信息"_s);
        EXPECT_EQ(asked.text, u"邮政卡金额长度大于12位\r\n姓名:李  四金额:123456789012.34"_s);
        EXPECT_EQ(asked.icon, slp::MessageIcon::Warning);
    }
}

TEST_F(GoldenFiles, LongAndPostSavingsOfAnEmptyGridAreEmptyFiles) {
    const CardFileInput in = emptyGrid();
    slp::ScriptedPrompts prompts;
    WriteLongCardFile(in, path(u"DFMX.TXT"_s));
    WritePostSavingsCardFile(in, prompts, path(u"SEND.TXT"_s));
    for (const QString& name : {u"DFMX.TXT"_s, u"SEND.TXT"_s}) {
        ASSERT_TRUE(QFile::exists(path(name))) << name.toStdString();
        EXPECT_EQ(QFileInfo(path(name)).size(), 0) << name.toStdString();
    }
    EXPECT_TRUE(prompts.asked.isEmpty());
}

TEST_F(GoldenFiles, AnExistingFileIsReplacedWhole) {
    QFile old(path(u"DFMX.TXT"_s));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4096, 'x'));
    old.close();
    WriteLongCardFile(fiveEmployeesLong(), path(u"DFMX.TXT"_s));
    EXPECT_EQ(readAll(path(u"DFMX.TXT"_s)), goldenBytes(u"long.golden"_s));
}

// Names of letters, of one blank or of mixed characters, and a unit name with letters: every line keeps
// its layout's length, so the card number and amount stand where the bank reads them.
TEST(FixedWidthLines, NamesAndUnitNamesOfAnyCharactersKeepTheLineLength) {
    CardFileInput baiyulan = fiveEmployeesBaiyulan();
    baiyulan.unitName = u"ABC公司"_s;
    baiyulan.rows.setName(0, u"王 芳");
    baiyulan.rows.setName(1, u"Jonathan");
    baiyulan.rows.setName(4, u"Li Na 李");
    const auto lines = linesOf(BaiyulanCardBytes(baiyulan));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0].mid(6 + 13 + 5, 32), QByteArray("ABC\xb9\xab\xcb\xbe") + QByteArray(25, ' '));
    EXPECT_EQ(lines[0].size(), 6 + 13 + 5 + 32 + 8 + 10);
    for (int i = 1; i < 6; ++i) EXPECT_EQ(lines[i].size(), 100) << i;
    EXPECT_EQ(lines[1].mid(4, 12 + 13),
              QByteArray("\xcd\xf5 \xb7\xbc") + QByteArray(7, ' ') + "0000000123456");
    EXPECT_EQ(lines[2].mid(4, 12), QByteArray("Jonathan    "));

    slp::ScriptedPrompts prompts;
    CardFileInput post = fiveEmployeesPost();
    post.rows.setName(0, u"王 芳");
    post.rows.setName(1, u"Tom");
    post.rows.setAmount(3, u"12.30");
    const auto postLines = linesOf(PostSavingsCardBytes(post, prompts));
    ASSERT_EQ(postLines.size(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(postLines[i].size(), 50) << i;
    EXPECT_EQ(postLines[0].mid(5, 10 + 8), QByteArray("\xcd\xf5 \xb7\xbc") + QByteArray(5, ' ') + "1234567 ");
    EXPECT_EQ(postLines[1].mid(5, 10), QByteArray("Tom       "));
}

// The golden files themselves, measured: the widths of the layouts hold line by line.
TEST(GoldenFileWidths, FixedWidthLinesHaveTheirLayoutsLength) {
    const auto mudan = linesOf(goldenBytes(u"mudan.golden"_s));
    ASSERT_EQ(mudan.size(), 6);
    EXPECT_EQ(mudan[0].size(), 38);
    for (int i : {1, 2, 4, 5}) EXPECT_EQ(mudan[i].size(), 20) << i;
    EXPECT_EQ(mudan[3].size(), 21) << "100000.00 yuan has 8 digits of fen";

    const auto baiyulan = linesOf(goldenBytes(u"baiyulan.golden"_s));
    ASSERT_EQ(baiyulan.size(), 6);
    EXPECT_EQ(baiyulan[0].size(), 6 + 13 + 5 + 32 + 8 + 10);
    for (int i : {1, 2, 3, 4, 5}) EXPECT_EQ(baiyulan[i].size(), 100) << i;
    EXPECT_EQ(linesOf(goldenBytes(u"baiyulan_empty.golden"_s)).value(0).size(), 5 + 13 + 5 + 32 + 8 + 10);

    const auto post = linesOf(goldenBytes(u"post_savings.golden"_s));
    ASSERT_EQ(post.size(), 5);
    for (int i : {0, 1, 2, 4}) EXPECT_EQ(post[i].size(), 50) << i;
    EXPECT_EQ(post[3].size(), 52) << "14 digits of fen instead of 12";

    for (const auto& name :
         {u"mudan.golden"_s, u"baiyulan.golden"_s, u"long.golden"_s, u"post_savings.golden"_s}) {
        const QByteArray bytes = goldenBytes(name);
        EXPECT_TRUE(bytes.endsWith("\r\n")) << name.toStdString();
        EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n')) << name.toStdString();
    }
}

}  // namespace
