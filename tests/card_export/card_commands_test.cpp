// The command line of the card export, run as its own process: the file it writes is the file the
// window writes with the same fields, the grid as text, and every failure ends with status 1 and no file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "app/card_export/card_export.h"
#include "basic/scripted_prompts.h"
#include "card_test_database.h"
#include "data/wage_grid.h"
#include "export/bank_card_writers.h"
#include "settings/keys.h"

using namespace Qt::StringLiterals;
using slp::card::CardExport;
using namespace slp::test;
namespace key = slp::settings::key;
namespace bank = slp::bank;

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

class CardCommandsTest : public ::testing::Test {
  protected:
    CardCommandsTest()
        : data(25), host(demoHost(data.database())), store(configDir.filePath(u"Sl_PAYPRN"_s)) {
        data.keepCardNumbersTo(8);  // numbers every format holds (the 邮政卡 keeps 8 characters)
        slp::settings::writeText(store, slp::settings::resolve(key::CardUnitCode, u"0101"_s), u"330100"_s);
        slp::settings::writeText(store, slp::settings::resolve(key::CardUnitCode, u"0202"_s), u"440200"_s);
    }

    Outcome run(QStringList args) const {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_CONFIG_HOME"_s, configDir.path());
        env.insert(u"XDG_DATA_HOME"_s, configDir.path());
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        p.setProcessEnvironment(env);
        args.prepend(data.path());
        args.prepend(u"--db"_s);
        p.start(QStringLiteral(SLP_BIN_DIR "/slpayprn"), args);
        if (!p.waitForFinished(120000)) return {};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    QString out(const QString& name) const { return outDir.filePath(name); }
    static QByteArray fileBytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The window's logic on the same data and settings, opened as the window opens.
    std::unique_ptr<CardExport> openCardExport() {
        auto card = std::make_unique<CardExport>(host, store, QString());
        EXPECT_TRUE(card->open(prompts));
        return card;
    }

    CardDatabase data;
    slp::HostContext host;
    QTemporaryDir configDir;
    QTemporaryDir outDir;
    slp::settings::Store store;
    slp::ScriptedPrompts prompts;
};

QByteArray writerBytes(bank::CardFormat format, const bank::CardFileInput& input) {
    slp::ScriptedPrompts quiet;
    switch (format) {
        case bank::CardFormat::Mudan:
            return bank::MudanCardBytes(input);
        case bank::CardFormat::Pujiang:
            return bank::PujiangCardBytes(input);
        case bank::CardFormat::Baiyulan:
            return bank::BaiyulanCardBytes(input);
        case bank::CardFormat::Long:
            return bank::LongCardBytes(input);
        case bank::CardFormat::PostSavings:
            return bank::PostSavingsCardBytes(input, quiet);
    }
    return {};
}

TEST_F(CardCommandsTest, WritesTheFileTheWindowWrites) {
    auto card = openCardExport();
    for (const QString& type :
         {u"中国建设银行龙卡"_s, u"中国人民邮政储蓄卡"_s, u"中国工商银行浦江卡"_s, u"中国工商银行牡丹卡"_s}) {
        SCOPED_TRACE(type.toStdString());
        const QString path = out(type + u".txt"_s);
        const Outcome r = run({u"card"_s, u"--type"_s, type, u"--out"_s, path});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        card->chooseCardType(type);
        const QByteArray expected = writerBytes(*bank::cardFormatForType(type), card->cardFileInput());
        EXPECT_EQ(fileBytes(path), expected);
        EXPECT_FALSE(expected.isEmpty());
        // The check speaks before the file is written: one card number is not all digits.
        EXPECT_TRUE(r.err.contains(u"12-34"_s)) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(u"入卡人数为:"_s + QString::number(data.expectedCount()) + u"人"_s));
    }
    // The stored unit code and the host's pay date fill the header.
    EXPECT_TRUE(fileBytes(out(u"中国工商银行牡丹卡.txt"_s)).startsWith("F 330100  20000425 "));
}

TEST_F(CardCommandsTest, FieldValuesAndOrderCanBeGiven) {
    const QString path = out(u"SLFGTFC"_s);
    const Outcome r = run({u"card"_s, u"--type"_s, u"中国工商银行牡丹卡"_s, u"--out"_s, path, u"--sort"_s,
                           u"卡号"_s, u"--unit-code"_s, u"4401"_s, u"--date"_s, u"2000-05-01"_s, u"--count"_s,
                           u"7"_s, u"--total"_s, u"12.34"_s});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u"入卡人数为7"_s)) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u"入卡金额为12.34"_s)) << r.err.toStdString();
    auto card = openCardExport();
    ASSERT_TRUE(card->sortBy(slp::card::SortOrder::ByCardNumber, prompts));
    card->chooseCardType(u"中国工商银行牡丹卡"_s);
    card->setField(CardExport::UnitCode, u"4401"_s);
    card->setField(CardExport::CreditDate, u"2000-05-01"_s);
    card->setField(CardExport::HeadCount, u"7"_s);
    card->setField(CardExport::TotalAmount, u"12.34"_s);
    const QByteArray bytes = fileBytes(path);
    EXPECT_EQ(bytes, bank::MudanCardBytes(card->cardFileInput()));
    EXPECT_TRUE(bytes.startsWith("F 4401    20000501 00007 00000001234 0\r\n")) << bytes.left(40).constData();
}

TEST_F(CardCommandsTest, GlobalOptionsChooseUnitAndPayDay) {
    const QString path = out(u"SLFGTF"_s);
    const Outcome r = run({u"--unit"_s, u"0202"_s, u"--payday"_s, u"28"_s, u"card"_s, u"--type"_s,
                           u"中国工商银行浦江卡"_s, u"--out"_s, path});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(fileBytes(path).startsWith("F 440200  20000428 ")) << fileBytes(path).left(30).constData();
}

TEST_F(CardCommandsTest, GridCardPrintsTheGridAsTabSeparatedLines) {
    const Outcome r = run({u"grid"_s, u"card"_s, u"--sort"_s, u"姓名"_s});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    auto card = openCardExport();
    ASSERT_TRUE(card->sortBy(slp::card::SortOrder::ByName, prompts));
    QStringList expected;
    const slp::data::WageGrid& g = card->grid();
    for (int row = 0; row < g.rows(); ++row) {
        QStringList cells;
        for (int c = 0; c < g.cols(); ++c) cells << g.text(row, c);
        expected << cells.join(u'\t');
    }
    QStringList lines = r.out.split(u'\n');
    ASSERT_EQ(lines.takeLast(), QString());  // every line ends with a line feed
    EXPECT_EQ(lines.first(), u"序号\t姓名\t卡号\t金额"_s);
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(lines.size(), data.expectedCount() + 1);
}

TEST_F(CardCommandsTest, FailuresEndWithStatusOneAndNoFile) {
    data.db().executeNative(
        u"UPDATE \"12个人信息\" SET \"信用卡号\" = \"信用卡号\" || '95588012345' "
        u"WHERE length(\"信用卡号\") = 8"_s);
    struct Case {
        QStringList args;
        QString message;
    };
    const QString path = out(u"x.txt"_s);
    const QList<Case> cases{
        {{u"card"_s, u"--type"_s, u"中国银行长城卡"_s, u"--out"_s, path}, u"目前尚无此工资卡格式!"_s},
        {{u"card"_s, u"--type"_s, u"某某卡"_s, u"--out"_s, path}, u"未知文件格式!"_s},
        {{u"card"_s, u"--type"_s, u"中国建设银行龙卡"_s, u"--out"_s, out(u"没有/x.txt"_s)}, u"错误号:76"_s},
        // 19-digit card numbers, as the demo has, do not fit the 18 characters of the 白玉兰卡's card field
        // nor the 8 of the 邮政卡's: every such employee is named and nothing is written.
        {{u"card"_s, u"--type"_s, u"中国农业银行白玉兰卡"_s, u"--out"_s, path}, u"卡号栏（18位）"_s},
        {{u"card"_s, u"--type"_s, u"中国人民邮政储蓄卡"_s, u"--out"_s, path}, u"（19位）"_s},
        {{u"--month"_s, u"2000-05"_s, u"card"_s, u"--type"_s, u"中国建设银行龙卡"_s, u"--out"_s, path},
         u"本月公式未设置!"_s},
        {{u"--month"_s, u"2000-05"_s, u"grid"_s, u"card"_s}, u"本月公式未设置!"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_TRUE(QDir(outDir.path()).isEmpty());
    }
}

TEST_F(CardCommandsTest, AWrongCommandLineIsAUsageError) {
    for (const QStringList& args : {QStringList{u"card"_s, u"--type"_s, u"中国建设银行龙卡"_s},
                                    QStringList{u"card"_s, u"--out"_s, out(u"x"_s)},
                                    QStringList{u"grid"_s, u"card"_s, u"--sort"_s, u"职号"_s}}) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_TRUE(QDir(outDir.path()).isEmpty());
}

}  // namespace
