// 中国人民邮政储蓄卡: no header; one 50-byte line per employee (the name filling its 10 bytes) with
// the post-office number at its end.
#include <algorithm>

#include "basic/host_text.h"
#include "export/bank_card_writers.h"
#include "export/card_checks.h"
#include "export/card_fields.h"
#include "export/card_save.h"

using namespace Qt::StringLiterals;

namespace slp::bank {

namespace {

constexpr qsizetype kNameBytes = 10;
constexpr qsizetype kCardChars = 8;
constexpr qsizetype kAmountDigits = 12;
constexpr qsizetype kOfficeChars = 7;

QString fitPostOffice(const QString& office) {
    const qsizetype n = characterCount(office);
    return n >= kOfficeChars ? leftChars(office, kOfficeChars) : office + QString(kOfficeChars - n, u'0');
}

}  // namespace

QByteArray PostSavingsCardBytes(const CardFileInput& input, Prompts& prompts) {
    RefuseCutCardNumbers(input, CardFormat::PostSavings);
    CardFileBuilder file;
    const QString office = fitPostOffice(trimBlanks(input.unitCode));
    const FieldRef officeRef = FieldRef::header(u"邮局局号"_s);

    for (qsizetype i = 0; i < input.rows.size(); ++i) {
        const CardRowView row = input.rows[i];
        const int number = static_cast<int>(i + 1);
        const FieldRef name = FieldRef::cell(u"姓名"_s, number, row.name);

        file.putZeroPadded(number, 5);
        file.putInField(row.name, kNameBytes, name, u"10字节"_s);
        const FieldRef cardRef = FieldRef::cell(u"卡号"_s, number, row.name);
        if (isPrintableAscii(row.cardNumber)) {
            // Cut or padded in place: the same bytes as the fitted text, which cannot fail.
            const QStringView card = row.cardNumber;
            file.put(card.first(std::min(card.size(), kCardChars)), cardRef);
            if (card.size() < kCardChars) file.putBlanks(kCardChars - card.size());
        } else {
            const QString card = characterCount(row.cardNumber) >= kCardChars
                                     ? leftChars(row.cardNumber, kCardChars)
                                     : padRight(row.cardNumber, kCardChars);
            file.put(card, cardRef);
        }

        const QString fen = fenOfAmount(row.amount, FieldRef::cell(u"金额"_s, number, row.name));
        if (fen.size() > kAmountDigits) {
            prompts.messageBox(u"邮政卡金额长度大于12位\r\n姓名:"_s + visibleControls(row.name) + u"金额:"_s +
                                   visibleControls(row.amount),
                               u"信息"_s, MessageIcon::Warning, MessageButtons::Ok);
        }
        file.putZeroPadded(fen, kAmountDigits);
        file.putAscii(u"00000000");
        file.put(office, officeRef);
        file.endLine();
    }
    return file.bytes();
}

void WritePostSavingsCardFile(const CardFileInput& input, Prompts& prompts, QIODevice& out) {
    WriteCardBytes(out, PostSavingsCardBytes(input, prompts));
}

void WritePostSavingsCardFile(const CardFileInput& input, Prompts& prompts, const QString& path) {
    SaveCardFile(path, PostSavingsCardBytes(input, prompts));
}

}  // namespace slp::bank
