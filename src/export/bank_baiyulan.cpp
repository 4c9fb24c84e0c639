// 中国农业银行白玉兰卡: a header of unit code, total, head count, unit name and date, then one 100-byte
// line per employee, the name filling its 12 bytes whatever characters and blanks it holds.
#include "export/bank_card_writers.h"
#include "export/card_checks.h"
#include "export/card_fields.h"
#include "export/card_save.h"

using namespace Qt::StringLiterals;

namespace slp::bank {

namespace {

constexpr qsizetype kUnitNameChars = 16;  // at most 32 bytes: two a character at the most
constexpr qsizetype kUnitNameBytes = 32;
constexpr qsizetype kNameBytes = 12;
constexpr qsizetype kCardChars = 18;

}  // namespace

QByteArray BaiyulanCardBytes(const CardFileInput& input) {
    CardFileBuilder file;

    file.put(trimBlanks(input.unitCode), FieldRef::header(u"单位代码"_s));
    const FieldRef total = FieldRef::header(u"入卡金额"_s);
    const FieldRef count = FieldRef::header(u"入卡人数"_s);
    file.putAscii(headerDigits(fenOfAmount(input.totalAmount, total), 13, input.totalAmount, total));
    file.putAscii(headerDigits(formatCount(input.headCount, u"00000", count), 5, input.headCount, count));
    // A longer unit name is cut to its first 16 characters; the field is always its 32 bytes.
    const QString unitName = characterCount(input.unitName) < kUnitNameChars
                                 ? input.unitName
                                 : leftChars(input.unitName, kUnitNameChars);
    file.putInField(unitName, kUnitNameBytes, FieldRef::header(u"单位名称"_s), u"32字节"_s);
    file.put(formatCreditDate(trimBlanks(input.creditDate)), FieldRef::header(u"进卡日期"_s));
    file.putBlanks(10);
    file.endLine();

    // The header's own faults first, then every card number the field would cut, before any row.
    RefuseCutCardNumbers(input, CardFormat::Baiyulan);
    for (qsizetype i = 0; i < input.rows.size(); ++i) {
        const CardRowView row = input.rows[i];
        const int number = static_cast<int>(i + 1);
        const FieldRef name = FieldRef::cell(u"姓名"_s, number, row.name);
        const FieldRef card = FieldRef::cell(u"卡号"_s, number, row.name);

        file.putZeroPadded(number, 4);
        file.putInField(row.name, kNameBytes, name, u"12字节"_s);
        file.putZeroPadded(fenOfAmount(row.amount, FieldRef::cell(u"金额"_s, number, row.name)), 13);
        const qsizetype cardSpare = kCardChars - characterCount(row.cardNumber);
        requireRoom(cardSpare, row.cardNumber, card, u"18个字符"_s);
        if (isPrintableAscii(row.cardNumber)) {
            file.put(row.cardNumber, card);  // padded in place: it cannot fail
            file.putBlanks(cardSpare);
        } else {
            file.put(padRight(row.cardNumber, kCardChars), card);
        }
        file.putBlanks(53);
        file.endLine();
    }
    return file.bytes();
}

void WriteBaiyulanCardFile(const CardFileInput& input, QIODevice& out) {
    WriteCardBytes(out, BaiyulanCardBytes(input));
}

void WriteBaiyulanCardFile(const CardFileInput& input, const QString& path) {
    SaveCardFile(path, BaiyulanCardBytes(input));
}

}  // namespace slp::bank
