// The file command of the card export card: the save dialog, the writers' bytes, the settings it keeps,
// the question before a file whose figures do not add up, and every way it ends without a file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/card_export/card_export.h"
#include "basic/error.h"
#include "basic/scripted_prompts.h"
#include "card_test_database.h"
#include "export/bank_card_writers.h"
#include "settings/keys.h"

using namespace Qt::StringLiterals;
using slp::MessageAnswer;
using slp::MessageIcon;
using slp::ScriptedPrompts;
using slp::card::CardExport;
using namespace slp::test;
namespace key = slp::settings::key;
namespace bank = slp::bank;

namespace {

const QString kDefaultFolder = u"/home/clerk/文档"_s;

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class CardSaveTest : public ::testing::Test {
  protected:
    explicit CardSaveTest(bool oddAmount = false)
        : data(40, oddAmount), host(demoHost(data.database())), store(storeDir.path()) {
        data.keepCardNumbersTo(8);  // numbers every format holds (the 邮政卡 keeps 8 characters)
        card = std::make_unique<CardExport>(host, store, kDefaultFolder);
        EXPECT_TRUE(card->open(prompts));
    }
    std::optional<QString> stored(const slp::settings::KeyDef& k) const {
        const slp::settings::Store other(storeDir.path());
        const auto s = slp::settings::resolve(k, host.unitCode);
        return other.find(s.app, s.section, s.key);
    }
    QString out(const QString& name) const { return outDir.filePath(name); }
    QList<ScriptedPrompts::Asked> asked(ScriptedPrompts::Asked::Kind kind) const {
        QList<ScriptedPrompts::Asked> list;
        for (const auto& a : prompts.asked) {
            if (a.kind == kind) list << a;
        }
        return list;
    }
    // The messages that are no question: warnings and errors.
    QList<ScriptedPrompts::Asked> warnings() const {
        QList<ScriptedPrompts::Asked> list;
        for (const auto& a : asked(ScriptedPrompts::Asked::Message)) {
            if (a.icon != MessageIcon::Question) list << a;
        }
        return list;
    }
    // Chooses the type, opens the file menu and runs its first item with `path` chosen in the dialog.
    void save(const QString& type, std::optional<QString> path) {
        card->chooseCardType(type);
        card->prepareFileMenu();
        prompts.answerSave(std::move(path));
        EXPECT_FALSE(card->run(slp::card::FileCommand::SaveCardFile, prompts));
    }

    CardDatabase data;
    slp::HostContext host;
    QTemporaryDir storeDir;
    QTemporaryDir outDir;
    slp::settings::Store store;
    ScriptedPrompts prompts;
    std::unique_ptr<CardExport> card;
};

class CardSaveOddAmount : public CardSaveTest {
  protected:
    CardSaveOddAmount() : CardSaveTest(true) {}
};

// The bytes the bank writer makes of the card's present input.
QByteArray writerBytes(bank::CardFormat format, const bank::CardFileInput& input) {
    ScriptedPrompts quiet;
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

TEST_F(CardSaveTest, EveryFormatWritesTheWritersBytesAndKeepsFolderAndUnitCode) {
    card->setField(CardExport::UnitCode, u"  3301 "_s);
    const QList<std::pair<QString, QString>> types{{u"中国建设银行龙卡"_s, u"DFMX.TXT"_s},
                                                   {u"中国人民邮政储蓄卡"_s, u"SEND.TXT"_s},
                                                   {u"中国工商银行浦江卡"_s, u"SLFGTF"_s},
                                                   {u"中国工商银行牡丹卡"_s, u"SLFGTFC"_s}};
    QString startFolder = kDefaultFolder;
    for (const auto& [type, defaultName] : types) {
        SCOPED_TRACE(type.toStdString());
        prompts.asked.clear();
        const QString path = out(defaultName);
        save(type, path);
        const auto dialogs = asked(ScriptedPrompts::Asked::Save);
        ASSERT_EQ(dialogs.size(), 1);
        EXPECT_EQ(dialogs[0].defaultText, startFolder + u'/' + defaultName);  // folder and proposed name
        EXPECT_TRUE(warnings().isEmpty());                                    // at most the check's question
        const auto format = bank::cardFormatForType(type);
        ASSERT_TRUE(format.has_value());
        const QByteArray bytes = fileBytes(path);
        EXPECT_FALSE(bytes.isEmpty());
        EXPECT_EQ(bytes, writerBytes(*format, card->cardFileInput()));
        EXPECT_EQ(card->statusText(2), u"工资卡输出完毕!"_s);
        EXPECT_EQ(card->cardFilePath(), path);
        EXPECT_EQ(card->cardFileTitle(), defaultName);
        EXPECT_EQ(stored(key::CardFileFolder), QDir(outDir.path()).absolutePath());
        EXPECT_EQ(stored(key::CardUnitCode), u"3301"_s);   // without its blanks
        startFolder = QDir(outDir.path()).absolutePath();  // the next dialog starts where this one ended
    }
    // The 龙卡 lines hold the grid's rows in grid order.
    const QList<QByteArray> lines = fileBytes(out(u"DFMX.TXT"_s)).split('\n');
    EXPECT_EQ(lines.size(), data.expectedCount() + 1);  // CR LF after every line, the last included
}

TEST_F(CardSaveTest, CardNumbersAFileWouldCutAreRefusedBeforeAFileIsAskedFor) {
    // 19-digit card numbers, as the demo has, do not fit the card field of these formats: the clerk is
    // told which, no file is asked for and nothing is written. (The 龙卡 writes them whole.)
    data.db().executeNative(
        u"UPDATE \"12个人信息\" SET \"信用卡号\" = \"信用卡号\" || '95588012345' "
        u"WHERE length(\"信用卡号\") = 8"_s);
    ASSERT_TRUE(card->open(prompts));
    for (const QString& type : {u"中国农业银行白玉兰卡"_s, u"中国人民邮政储蓄卡"_s, u"中国工商银行牡丹卡"_s,
                                u"中国工商银行浦江卡"_s}) {
        SCOPED_TRACE(type.toStdString());
        prompts.asked.clear();
        card->chooseCardType(type);
        card->prepareFileMenu();
        EXPECT_FALSE(card->run(slp::card::FileCommand::SaveCardFile, prompts));
        ASSERT_EQ(warnings().size(), 1);
        EXPECT_EQ(warnings()[0].title, u"错误号:5"_s);
        EXPECT_TRUE(warnings()[0].text.contains(u"卡号栏"_s)) << warnings()[0].text.toStdString();
        EXPECT_TRUE(asked(ScriptedPrompts::Asked::Save).isEmpty());
        EXPECT_NE(card->statusText(2), u"工资卡输出完毕!"_s);
        EXPECT_FALSE(QFile::exists(out(u"CARD.DAT"_s)));
    }

    // With card numbers of 16 digits the file is the writer's.
    data.db().executeNative(u"UPDATE \"12个人信息\" SET \"信用卡号\" = substr(\"信用卡号\", 1, 16)"_s);
    ASSERT_TRUE(card->open(prompts));
    prompts.asked.clear();
    save(u"中国农业银行白玉兰卡"_s, out(u"DFG2.DAT"_s));
    EXPECT_TRUE(warnings().isEmpty());
    EXPECT_EQ(card->statusText(2), u"工资卡输出完毕!"_s);
    const QByteArray bytes = fileBytes(out(u"DFG2.DAT"_s));
    EXPECT_EQ(bytes, bank::BaiyulanCardBytes(card->cardFileInput()));
    EXPECT_EQ(bytes.count('\n'), data.expectedCount() + 1);  // the header and one line a card holder
}

TEST_F(CardSaveTest, ANameWithOneBlankIsWrittenWithoutAQuestionAndKeepsItsLineLength) {
    // The demo always has "王 芳": the file is written at once and her line has the format's length.
    const struct {
        const char16_t* type;
        const char* file;
        qsizetype lineBytes;
        QByteArray nameField;
    } cases[] = {
        {u"中国农业银行白玉兰卡", "DFG2.DAT", 100, QByteArray("\xcd\xf5 \xb7\xbc") + QByteArray(7, ' ')},
        {u"中国人民邮政储蓄卡", "SEND.TXT", 50, QByteArray("\xcd\xf5 \xb7\xbc") + QByteArray(5, ' ')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        prompts.asked.clear();
        save(QString::fromUtf16(c.type), out(QString::fromLatin1(c.file)));
        // The test month has card numbers worth a question; none of the questions is about a name.
        for (const auto& a : asked(ScriptedPrompts::Asked::Message)) {
            EXPECT_FALSE(a.text.contains(u"姓名"_s)) << a.text.toStdString();
            EXPECT_FALSE(a.text.contains(u"错位"_s)) << a.text.toStdString();
        }
        const QList<QByteArray> lines = fileBytes(out(QString::fromLatin1(c.file))).split('\n');
        int withName = 0;
        for (const QByteArray& line : lines.mid(c.lineBytes == 100 ? 1 : 0)) {
            if (line.isEmpty()) continue;
            EXPECT_EQ(line.size(), c.lineBytes + 1) << line.constData();  // and the CR
            if (line.contains(c.nameField)) ++withName;
        }
        EXPECT_EQ(withName, 1);
    }
}

TEST_F(CardSaveTest, EditedFieldsGoIntoTheHeaderAfterTheClerkAgrees) {
    const QString count = card->field(CardExport::HeadCount);
    card->setField(CardExport::UnitCode, u"330100"_s);
    card->setField(CardExport::CreditDate, u"2000-04-28"_s);
    card->setField(CardExport::HeadCount, u"5"_s);
    prompts.answerMessage(MessageAnswer::Yes);
    save(u"中国工商银行牡丹卡"_s, out(u"SLFGTFC"_s));
    const auto questions = asked(ScriptedPrompts::Asked::Message);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0].icon, MessageIcon::Question);
    EXPECT_EQ(questions[0].title, u"工资卡输出"_s);
    EXPECT_TRUE(questions[0].text.contains(u"入卡人数为5"_s)) << questions[0].text.toStdString();
    EXPECT_TRUE(questions[0].text.contains(count)) << questions[0].text.toStdString();
    const QByteArray bytes = fileBytes(out(u"SLFGTFC"_s));
    EXPECT_TRUE(bytes.startsWith("F 330100  20000428 00005 ")) << bytes.left(40).constData();
    EXPECT_EQ(bytes, bank::MudanCardBytes(card->cardFileInput()));
}

TEST_F(CardSaveTest, AnEditedTotalTheClerkRefusesWritesNothing) {
    const QString total = card->field(CardExport::TotalAmount);
    card->setField(CardExport::TotalAmount, u"1.00"_s);
    prompts.answerMessage(MessageAnswer::No);
    const QString before = card->statusText(2);
    save(u"中国农业银行白玉兰卡"_s, out(u"DFG2.DAT"_s));
    const auto questions = asked(ScriptedPrompts::Asked::Message);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].text.contains(u"入卡金额为1.00"_s)) << questions[0].text.toStdString();
    EXPECT_TRUE(questions[0].text.contains(total)) << questions[0].text.toStdString();
    EXPECT_TRUE(asked(ScriptedPrompts::Asked::Save).isEmpty());  // no dialog after "No"
    EXPECT_FALSE(QFile::exists(out(u"DFG2.DAT"_s)));
    EXPECT_EQ(card->statusText(2), before);
    EXPECT_FALSE(stored(key::CardUnitCode).has_value());
    EXPECT_FALSE(stored(key::CardFileFolder).has_value());
}

TEST_F(CardSaveTest, CardNumbersThatAreNotAllDigitsAreListed) {
    card->chooseCardType(u"中国建设银行龙卡"_s);
    const QStringList warnings = card->checkBeforeWriting();
    ASSERT_FALSE(warnings.isEmpty());
    EXPECT_TRUE(warnings.join(u'\n').contains(u"12-34"_s)) << warnings.join(u'\n').toStdString();
    EXPECT_FALSE(warnings.join(u'\n').contains(u"入卡人数"_s));  // the 龙卡 has no header to check
    // Unchanged fields and a format without a layout give nothing to check.
    card->chooseCardType(u"中国银行长城卡"_s);
    EXPECT_TRUE(card->checkBeforeWriting().isEmpty());
}

TEST_F(CardSaveTest, TheGreatWallCardSaysThereIsNoLayoutBeforeAskingForAFile) {
    card->setField(CardExport::UnitCode, u" 77 "_s);
    card->chooseCardType(u"中国银行长城卡"_s);
    card->prepareFileMenu();
    const QString before = card->statusText(2);
    EXPECT_FALSE(card->run(slp::card::FileCommand::SaveCardFile, prompts));
    EXPECT_TRUE(asked(ScriptedPrompts::Asked::Save).isEmpty());
    const auto messages = asked(ScriptedPrompts::Asked::Message);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, u"目前尚无此工资卡格式!"_s);
    EXPECT_EQ(messages[0].title, u"工资卡输出"_s);
    EXPECT_EQ(messages[0].icon, MessageIcon::Warning);
    // Nothing was written, so nothing is reported done and nothing remembered.
    EXPECT_EQ(card->statusText(2), before);
    EXPECT_NE(card->statusText(2), u"工资卡输出完毕!"_s);
    EXPECT_FALSE(stored(key::CardUnitCode).has_value());
    EXPECT_TRUE(QDir(outDir.path()).isEmpty());
}

TEST_F(CardSaveTest, CancellingTheDialogEndsSilently) {
    const QString before = card->statusText(2);
    save(u"中国建设银行龙卡"_s, std::nullopt);
    EXPECT_EQ(prompts.asked.size(), asked(ScriptedPrompts::Asked::Save).size() + 1);  // the check's question
    EXPECT_EQ(asked(ScriptedPrompts::Asked::Save).size(), 1);
    EXPECT_EQ(card->statusText(2), before);
    EXPECT_TRUE(QDir(outDir.path()).isEmpty());
    EXPECT_FALSE(stored(key::CardFileFolder).has_value());
    EXPECT_FALSE(stored(key::CardUnitCode).has_value());
}

TEST_F(CardSaveTest, AFolderThatDoesNotExistIsReportedWithItsNumber) {
    const QString before = card->statusText(2);
    const QString path = out(u"没有/SLFGTF"_s);
    save(u"中国工商银行浦江卡"_s, path);
    const auto messages = warnings();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].title, u"错误号:76"_s);
    EXPECT_EQ(messages[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(messages[0].text.contains(u"没有"_s)) << messages[0].text.toStdString();
    EXPECT_TRUE(QDir(outDir.path()).isEmpty());
    EXPECT_EQ(card->statusText(2), before);
    EXPECT_EQ(stored(key::CardFileFolder),
              QDir(outDir.path()).absoluteFilePath(u"没有"_s));  // kept before writing
    EXPECT_FALSE(stored(key::CardUnitCode).has_value());         // not reached
}

TEST_F(CardSaveTest, AnExistingFileIsReplacedWhole) {
    QFile old(out(u"DFMX.TXT"_s));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x'));
    old.close();
    save(u"中国建设银行龙卡"_s, out(u"DFMX.TXT"_s));
    EXPECT_EQ(fileBytes(out(u"DFMX.TXT"_s)), bank::LongCardBytes(card->cardFileInput()));
    EXPECT_EQ(QDir(outDir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(CardSaveOddAmount, AnAmountNoFormatCanWriteIsRefusedAndLeavesNoFile) {
    save(u"中国工商银行牡丹卡"_s, out(u"SLFGTFC"_s));
    const auto messages = asked(ScriptedPrompts::Asked::Message);
    ASSERT_EQ(messages.size(), 2);  // the check names it, then the writer refuses it
    EXPECT_TRUE(messages[0].text.contains(u"12abc"_s)) << messages[0].text.toStdString();
    EXPECT_EQ(messages[1].title, u"错误号:13"_s);
    EXPECT_TRUE(messages[1].text.contains(u"12abc"_s)) << messages[1].text.toStdString();
    EXPECT_FALSE(QFile::exists(out(u"SLFGTFC"_s)));
    EXPECT_NE(card->statusText(2), u"工资卡输出完毕!"_s);
}

}  // namespace
