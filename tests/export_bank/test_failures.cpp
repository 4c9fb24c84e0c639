// Inputs that cannot be written and places that cannot be written to: a named error, no file left
// behind, and an existing file of that name untouched.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "basic/error.h"
#include "basic/scripted_prompts.h"
#include "card_grids.h"
#include "export/bank_card_writers.h"

using namespace Qt::StringLiterals;
using namespace slp::bank;
using namespace slp::bank::test;

namespace {

const QByteArray kOldContent = "an older card file\r\n";

class Failures : public ::testing::Test {
  protected:
    void SetUp() override {
        target_ = dir_.filePath(u"CARD.TXT"_s);
        QFile f(target_);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kOldContent);
    }

    // Runs the write, expects slp::Error with `number` whose text holds every piece, then checks that
    // the folder holds the old file alone, unchanged.
    void expectRefused(const std::function<void(const QString&)>& write, int number,
                       const QStringList& pieces) {
        try {
            write(target_);
            ADD_FAILURE() << "no error";
        } catch (const slp::Error& e) {
            EXPECT_EQ(e.number(), number) << e.description().toStdString();
            for (const QString& piece : pieces) {
                EXPECT_TRUE(e.description().contains(piece))
                    << e.description().toStdString() << " lacks " << piece.toStdString();
            }
        }
        EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"CARD.TXT"_s});
        QFile f(target_);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), kOldContent);
    }

    QTemporaryDir dir_;
    QString target_;
    slp::ScriptedPrompts prompts_;
};

CardFileInput withRow(CardFileInput in, qsizetype index, const CardRow& row) {
    in.rows.setName(index, row.name);
    in.rows.setCardNumber(index, row.cardNumber);
    in.rows.setAmount(index, row.amount);
    return in;
}

TEST_F(Failures, ACharacterOutsideGbkNamesTheEmployeeAndTheCharacter) {
    const CardRow rare{u"刘䶮"_s, u"12345678"_s, u"10.00"_s};
    const CardRow emoji{u"张😀"_s, u"1234567890"_s, u"10.00"_s};

    expectRefused(
        [&](const QString& p) { WriteBaiyulanCardFile(withRow(fiveEmployeesBaiyulan(), 1, rare), p); }, 5,
        {u"第2行"_s, u"刘䶮"_s, u"“䶮”"_s, u"U+4DAE"_s});
    expectRefused([&](const QString& p) { WriteLongCardFile(withRow(fiveEmployees(), 4, emoji), p); }, 5,
                  {u"第5行"_s, u"张😀"_s, u"“😀”"_s, u"U+1F600"_s});
    expectRefused(
        [&](const QString& p) {
            WritePostSavingsCardFile(withRow(fiveEmployeesPost(), 0, rare), prompts_, p);
        },
        5, {u"第1行"_s, u"刘䶮"_s, u"U+4DAE"_s});
    expectRefused(
        [&](const QString& p) {
            WriteMudanCardFile(withRow(fiveEmployees(), 2, {u"王五"_s, u"6222😀"_s, u"1.00"_s}), p);
        },
        5, {u"第3行（王五）的卡号"_s, u"U+1F600"_s});

    CardFileInput unit = fiveEmployeesBaiyulan();
    unit.unitName = u"刘䶮软件公司"_s;
    expectRefused([&](const QString& p) { WriteBaiyulanCardFile(unit, p); }, 5, {u"单位名称"_s, u"U+4DAE"_s});
}

TEST_F(Failures, ANameOrCardNumberTooLongForItsFieldNamesTheRow) {
    const CardRow sevenCharacters{u"爱新觉罗溥仪觉"_s, u"1234567890"_s, u"10.00"_s};
    expectRefused(
        [&](const QString& p) {
            WriteBaiyulanCardFile(withRow(fiveEmployeesBaiyulan(), 3, sevenCharacters), p);
        },
        5, {u"第4行"_s, u"姓名"_s, u"爱新觉罗溥仪觉"_s, u"12字节"_s});

    const CardRow sixCharacters{u"爱新觉罗溥仪"_s, u"12345678"_s, u"10.00"_s};
    expectRefused(
        [&](const QString& p) {
            WritePostSavingsCardFile(withRow(fiveEmployeesPost(), 1, sixCharacters), prompts_, p);
        },
        5, {u"第2行"_s, u"姓名"_s, u"10字节"_s});

    const CardRow nineteenDigits{u"张三"_s, u"9558801234567890123"_s, u"10.00"_s};
    expectRefused(
        [&](const QString& p) {
            WriteBaiyulanCardFile(withRow(fiveEmployeesBaiyulan(), 0, nineteenDigits), p);
        },
        5, {u"第1行（张三）的卡号"_s, u"9558801234567890123"_s, u"卡号栏（18位）"_s});
}

TEST_F(Failures, AmountsAndCountsThatAreNoNumberNameTheirField) {
    const CardRow noAmount{u"张三"_s, u"1234567890"_s, u"abc"_s};
    expectRefused([&](const QString& p) { WriteMudanCardFile(withRow(fiveEmployees(), 0, noAmount), p); },
                  slp::errnum::TypeMismatch, {u"第1行（张三）的金额“abc”不是数字"_s});
    const CardRow emptyAmount{u"张三"_s, u"1234567890"_s, u""_s};
    expectRefused([&](const QString& p) { WriteLongCardFile(withRow(fiveEmployees(), 1, emptyAmount), p); },
                  slp::errnum::TypeMismatch, {u"第2行（张三）的金额“”不是数字"_s});

    CardFileInput total = fiveEmployeesBaiyulan();
    total.totalAmount = u"一万"_s;
    expectRefused([&](const QString& p) { WriteBaiyulanCardFile(total, p); }, slp::errnum::TypeMismatch,
                  {u"入卡金额“一万”不是数字"_s});

    CardFileInput count = fiveEmployees();
    count.headCount = u"五人"_s;
    expectRefused([&](const QString& p) { WritePujiangCardFile(count, p); }, slp::errnum::TypeMismatch,
                  {u"入卡人数“五人”不是数字"_s});
    count = fiveEmployeesBaiyulan();
    count.headCount = u""_s;
    expectRefused([&](const QString& p) { WriteBaiyulanCardFile(count, p); }, slp::errnum::TypeMismatch,
                  {u"入卡人数"_s});
}

TEST_F(Failures, NegativeFiguresAndLineBreaksWouldMisalignTheLine) {
    const CardRow negative{u"张三"_s, u"1234567890"_s, u"-1.00"_s};
    expectRefused([&](const QString& p) { WriteMudanCardFile(withRow(fiveEmployees(), 0, negative), p); }, 5,
                  {u"第1行（张三）的金额“-1.00”不能为负数"_s});
    CardFileInput count = fiveEmployees();
    count.headCount = u"-5"_s;
    expectRefused([&](const QString& p) { WriteMudanCardFile(count, p); }, 5, {u"入卡人数“-5”不能为负数"_s});
    CardFileInput total = fiveEmployees();
    total.totalAmount = u"-101254.91"_s;
    expectRefused([&](const QString& p) { WriteMudanCardFile(total, p); }, 5,
                  {u"入卡金额"_s, u"不能为负数"_s});

    const CardRow lineBreak{u"张\n三"_s, u"1234567890"_s, u"1.00"_s};
    expectRefused([&](const QString& p) { WriteLongCardFile(withRow(fiveEmployees(), 0, lineBreak), p); }, 5,
                  {u"第1行"_s, u"换行"_s});
}

TEST_F(Failures, APostalWarningFollowedByAFailureLeavesNoFile) {
    CardFileInput in = fiveEmployeesPost();
    in.rows.setName(4, u"刘䶮");  // after the 14-digit amount of row 4
    expectRefused([&](const QString& p) { WritePostSavingsCardFile(in, prompts_, p); }, 5, {u"第5行"_s});
    EXPECT_EQ(prompts_.asked.size(), 1);
}

TEST_F(Failures, PlacesThatCannotBeWrittenAreNamed) {
    const CardFileInput in = fiveEmployees();
    const QString missing = dir_.filePath(u"no_such_folder/SLFGTFC"_s);
    expectRefused([&](const QString&) { WriteMudanCardFile(in, missing); }, slp::errnum::PathNotFound,
                  {missing});

    const QString folder = dir_.filePath(u"a_folder"_s);
    ASSERT_TRUE(QDir().mkdir(folder));
    try {
        WriteLongCardFile(in, folder);
        ADD_FAILURE() << "a folder was written over";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), 75);
        EXPECT_TRUE(e.description().contains(folder));
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());
    ASSERT_TRUE(QDir().rmdir(folder));

    // A file marked read-only keeps its content.
    ASSERT_TRUE(QFile::setPermissions(target_, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    expectRefused([&](const QString& p) { WriteLongCardFile(in, p); }, slp::errnum::PermissionDenied,
                  {target_});
    ASSERT_TRUE(QFile::setPermissions(target_, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
}

TEST_F(Failures, AnUnwritableFolderIsNamedAndItsFileKept) {
    const CardFileInput in = fiveEmployees();
    if (geteuid() == 0) {
        // The superuser writes into any folder of an ordinary file system; the kernel's own is read-only.
        const QString path = u"/sys/SLFGTFC"_s;
        try {
            WriteMudanCardFile(in, path);
            ADD_FAILURE() << "no error";
        } catch (const slp::Error& e) {
            EXPECT_EQ(e.number(), slp::errnum::PermissionDenied);
            EXPECT_TRUE(e.description().contains(path)) << e.description().toStdString();
        }
        EXPECT_FALSE(QFile::exists(path));
        return;
    }
    ASSERT_TRUE(QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    expectRefused([&](const QString& p) { WriteMudanCardFile(in, p); }, slp::errnum::PermissionDenied,
                  {target_});
    QFile::setPermissions(dir_.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(DeviceFailures, ADeviceThatIsNotOpenIsAnError) {
    QBuffer closed;
    try {
        WriteLongCardFile(fiveEmployees(), closed);
        ADD_FAILURE() << "no error";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), slp::errnum::DeviceIo);
    }
    // A refused input leaves the device untouched.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    CardFileInput in = fiveEmployees();
    in.rows.setAmount(in.rows.size() - 1, u"x");
    EXPECT_THROW(WriteMudanCardFile(in, buffer), slp::ConversionError);
    EXPECT_TRUE(buffer.data().isEmpty());
}

}  // namespace

namespace {

// Control characters in a field are refused like line breaks, naming the row and showing the
// character: in the names of the layouts that write names, in the card numbers of those that do not;
// the unit name in 白玉兰's header likewise.
TEST_F(Failures, ControlCharactersAreRefusedAndShown) {
    const struct {
        CardFormat format;
        CardFileInput input;
        bool name;  // the name is written (else the card number carries the character)
    } formats[] = {{CardFormat::Mudan, fiveEmployees(), false},
                   {CardFormat::Pujiang, fiveEmployees(), false},
                   {CardFormat::Long, fiveEmployees(), true},
                   {CardFormat::Baiyulan, fiveEmployeesBaiyulan(), true},
                   {CardFormat::PostSavings, fiveEmployeesPost(), true}};
    const struct {
        QChar character;
        QString shown;
    } controls[] = {
        {QChar(0), u"\\x00"_s}, {QChar(9), u"\\x09"_s}, {QChar(0x1F), u"\\x1F"_s}, {QChar(0x7F), u"\\x7F"_s}};
    for (const auto& f : formats) {
        for (const auto& c : controls) {
            CardFileInput in = f.input;
            QStringList pieces{u"第2行"_s, u"含有控制字符"_s + c.shown};
            if (f.name) {
                in.rows.setName(1, u"张"_s + c.character + u"三"_s);
                pieces << u"（张"_s + c.shown + u"三）的姓名"_s;
            } else {
                in.rows.setCardNumber(1, u"1234"_s + c.character + u"5678"_s);
                pieces << u"的卡号“1234"_s + c.shown + u"5678"_s;
            }
            SCOPED_TRACE(int(f.format));
            expectRefused([&](const QString& p) { WriteBankCardFile(f.format, in, prompts_, p); }, 5, pieces);
        }
    }
    CardFileInput header = fiveEmployeesBaiyulan();
    header.unitName = u"朔岚\t软件"_s;
    expectRefused([&](const QString& p) { WriteBankCardFile(CardFormat::Baiyulan, header, prompts_, p); }, 5,
                  {u"单位名称“朔岚\\x09软件”含有控制字符\\x09"_s});
}

}  // namespace
