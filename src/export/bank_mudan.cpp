// 中国工商银行牡丹卡 and 中国工商银行浦江卡: a 38-character header line, then one line of card number and
// fen amount per employee.
#include "basic/conversions.h"
#include "export/bank_card_writers.h"
#include "export/card_checks.h"
#include "export/card_fields.h"
#include "export/card_save.h"

using namespace Qt::StringLiterals;

namespace slp::bank {

namespace {

// The bank keeps 12 characters of a card number. Of a 16-character number it drops characters 2 to 5.
QString fitCardNumber(const QString& card) {
    const qsizetype n = characterCount(card);
    if (n == 16) return leftChars(card, 1) + card.sliced(leftChars(card, 5).size());
    if (n >= 12) return leftChars(card, 12);
    return padRight(card, 12);
}

// fitCardNumber() written piece by piece, for a trimmed number of printable ASCII.
void putAsciiCardNumber(CardFileBuilder& file, QStringView card, const FieldRef& where) {
    if (card.size() == 16) {
        file.put(card.first(1), where);
        file.put(card.sliced(5), where);
    } else if (card.size() >= 12) {
        file.put(card.first(12), where);
    } else {
        file.put(card, where);
        file.putBlanks(12 - card.size());
    }
}

QByteArray icbcCardBytes(const CardFileInput& input) {
    CardFileBuilder file;

    file.putAscii(u"F ");
    file.put(leftChars(padRight(trimBlanks(input.unitCode), 7), 7), FieldRef::header(u"单位代码"_s));
    file.putBlanks(1);
    file.put(formatCreditDate(trimBlanks(input.creditDate)), FieldRef::header(u"进卡日期"_s));
    file.putBlanks(1);
    const FieldRef count = FieldRef::header(u"入卡人数"_s);
    file.putAscii(
        headerDigits(formatCount(trimBlanks(input.headCount), u"00000", count), 5, input.headCount, count));
    file.putBlanks(1);
    // The header total is read by its leading number: a text without one counts as 0.
    const FieldRef total = FieldRef::header(u"入卡金额"_s);
    file.putAscii(headerDigits(fenOfLeadingValue(input.totalAmount, total), 11, input.totalAmount, total));
    file.putAscii(u" 0");
    file.endLine();

    // The header's own faults first, then every card number the field would cut, before any row.
    RefuseCutCardNumbers(input, CardFormat::Mudan);
    for (qsizetype i = 0; i < input.rows.size(); ++i) {
        const CardRowView row = input.rows[i];
        const int number = static_cast<int>(i + 1);
        const FieldRef cardRef = FieldRef::cell(u"卡号"_s, number, row.name);
        const QStringView card = withoutBlanks(row.cardNumber);
        if (isPrintableAscii(card)) {
            putAsciiCardNumber(file, card, cardRef);
        } else {
            file.put(fitCardNumber(card.toString()), cardRef);
        }
        file.putBlanks(1);
        file.putZeroPadded(fenOfAmount(row.amount, FieldRef::cell(u"金额"_s, number, row.name)), 7);
        file.endLine();
    }
    return file.bytes();
}

}  // namespace

QByteArray MudanCardBytes(const CardFileInput& input) {
    return icbcCardBytes(input);
}

void WriteMudanCardFile(const CardFileInput& input, QIODevice& out) {
    WriteCardBytes(out, MudanCardBytes(input));
}

void WriteMudanCardFile(const CardFileInput& input, const QString& path) {
    SaveCardFile(path, MudanCardBytes(input));
}

QByteArray PujiangCardBytes(const CardFileInput& input) {
    return icbcCardBytes(input);
}

void WritePujiangCardFile(const CardFileInput& input, QIODevice& out) {
    WriteCardBytes(out, PujiangCardBytes(input));
}

void WritePujiangCardFile(const CardFileInput& input, const QString& path) {
    SaveCardFile(path, PujiangCardBytes(input));
}

}  // namespace slp::bank
