// 中国建设银行龙卡: no header; per employee the card number right-aligned in 16 characters (a longer
// one whole), the name and the amount as shown, separated by two commas.
#include <algorithm>

#include "basic/conversions.h"
#include "export/bank_card_writers.h"
#include "export/card_fields.h"
#include "export/card_save.h"

using namespace Qt::StringLiterals;

namespace slp::bank {

namespace {

constexpr qsizetype kCardChars = 16;

}  // namespace

QByteArray LongCardBytes(const CardFileInput& input) {
    CardFileBuilder file;
    for (qsizetype i = 0; i < input.rows.size(); ++i) {
        const CardRowView row = input.rows[i];
        const int number = static_cast<int>(i + 1);
        const FieldRef amount = FieldRef::cell(u"金额"_s, number, row.name);
        // The amount is written as shown, but the bank reads it as a number: anything but plain digits
        // goes through the reading that refuses a text that is no number, negative or out of range.
        if (!isPlainDecimal(row.amount)) (void)fenOfAmount(row.amount, amount);

        const FieldRef cardRef = FieldRef::cell(u"卡号"_s, number, row.name);
        const QStringView card = withoutBlanks(row.cardNumber);
        // Right-aligned in 16 characters; a longer number (19-digit cards) is written whole, never cut:
        // the fields are separated by commas, and a cut number would pay another account.
        if (isPrintableAscii(card)) {
            if (card.size() < kCardChars) file.putBlanks(kCardChars - card.size());
            file.put(card, cardRef);
        } else {
            file.put(padLeft(card, kCardChars), cardRef);
        }
        file.putAscii(u",,");
        file.put(row.name, FieldRef::cell(u"姓名"_s, number, row.name));
        file.putAscii(u",,");
        file.put(row.amount, amount);
        file.endLine();
    }
    return file.bytes();
}

void WriteLongCardFile(const CardFileInput& input, QIODevice& out) {
    WriteCardBytes(out, LongCardBytes(input));
}

void WriteLongCardFile(const CardFileInput& input, const QString& path) {
    SaveCardFile(path, LongCardBytes(input));
}

}  // namespace slp::bank
