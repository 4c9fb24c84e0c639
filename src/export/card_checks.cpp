#include "export/card_checks.h"

#include <optional>

#include "basic/conversions.h"
#include "basic/error.h"
#include "export/card_fields.h"

using namespace Qt::StringLiterals;

namespace slp::bank {

namespace {

std::optional<qint64> fenValue(const QString& fenDigits) {
    bool ok = false;
    const qint64 v = fenDigits.toLongLong(&ok);
    return ok ? std::optional<qint64>(v) : std::nullopt;
}

QString yuanText(qint64 fen) {
    return QString::number(fen / 100) + u'.' + QString::number(fen % 100).rightJustified(2, u'0');
}

bool allDigits(QStringView text) {
    if (text.isEmpty()) return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') return false;
    }
    return true;
}

bool hasHeader(CardFormat format) {
    return format == CardFormat::Mudan || format == CardFormat::Pujiang || format == CardFormat::Baiyulan;
}

class Checker {
  public:
    Checker(const CardFileInput& input, CardFormat format) : input_(input), format_(format) {}

    QStringList run() {
        if (hasHeader(format_)) {
            checkHeadCount();
            checkTotal();
            checkDate();
        }
        checkAmounts();
        checkCardNumbers();
        if (format_ == CardFormat::Long) checkNameCommas();
        if ((format_ == CardFormat::Mudan || format_ == CardFormat::Pujiang) &&
            trimBlanks(input_.unitCode).isEmpty()) {
            warnings_ << u"单位代码为空，文件表头的单位代码将是空白"_s;
        }
        return warnings_;
    }

  private:
    FieldRef cell(const QString& label, qsizetype i) const {
        return FieldRef::cell(label, static_cast<int>(i + 1), input_.rows[i].name);
    }

    void checkHeadCount() {
        const QString typed = trimBlanks(input_.headCount);
        if (!isNumericText(typed)) {
            warnings_ << u"入卡人数"_s + quoted(typed) + u"不是数字"_s;
        } else if (leadingValue(typed) != static_cast<double>(input_.rows.size())) {
            warnings_ << u"入卡人数为%1，而明细共有%2人"_s.arg(typed, QString::number(input_.rows.size()));
        }
    }

    // The grid's total in fen, nullopt when an amount is no number or the sum leaves the range.
    std::optional<qint64> gridTotal() const {
        qint64 total = 0;
        for (qsizetype i = 0; i < input_.rows.size(); ++i) {
            try {
                const auto fen = fenValue(fenOfAmount(input_.rows[i].amount, cell(u"金额"_s, i)));
                if (!fen || __builtin_add_overflow(total, *fen, &total)) return std::nullopt;
            } catch (const Error&) {
                return std::nullopt;
            }
        }
        return total;
    }

    void checkTotal() {
        const FieldRef where = FieldRef::header(u"入卡金额"_s);
        const QString typed = trimBlanks(input_.totalAmount);
        std::optional<qint64> header;
        try {
            header = fenValue(format_ == CardFormat::Baiyulan ? fenOfAmount(typed, where)
                                                              : fenOfLeadingValue(typed, where));
        } catch (const Error&) {
            warnings_ << u"入卡金额"_s + quoted(typed) + u"不是有效的金额"_s;
            return;
        }
        if (format_ != CardFormat::Baiyulan && !isNumericText(typed)) {
            warnings_ << u"入卡金额"_s + quoted(typed) + u"不是数字，将按其开头的数值写入"_s;
        }
        const auto grid = gridTotal();
        if (header && grid && *header != *grid) {
            warnings_ << u"入卡金额为%1，而明细合计为%2元"_s.arg(typed, yuanText(*grid));
        }
    }

    void checkDate() {
        const QString typed = trimBlanks(input_.creditDate);
        if (!parseDate(typed)) warnings_ << u"进卡日期"_s + quoted(typed) + u"不是日期，将原样写入文件"_s;
    }

    void checkAmounts() {
        for (qsizetype i = 0; i < input_.rows.size(); ++i) {
            const QStringView amount = input_.rows[i].amount;
            if (!isPlainDecimal(amount) && !isNumericText(amount))
                warnings_ << cell(u"金额"_s, i).describe() + quoted(amount) + u"不是数字"_s;
        }
    }

    void checkCardNumbers() {
        const bool trimmed = format_ != CardFormat::Baiyulan && format_ != CardFormat::PostSavings;
        for (qsizetype i = 0; i < input_.rows.size(); ++i) {
            const QStringView stored = input_.rows[i].cardNumber;
            if (!allDigits(trimmed ? withoutBlanks(stored) : QStringView(stored))) {
                warnings_ << cell(u"卡号"_s, i).describe() + quoted(stored) + u"不全是数字"_s;
            }
        }
    }

    void checkNameCommas() {
        for (qsizetype i = 0; i < input_.rows.size(); ++i) {
            const QStringView name = input_.rows[i].name;
            if (name.contains(u',')) {
                warnings_ << cell(u"姓名"_s, i).describe() + quoted(name) + u"含有逗号，与文件的分隔符相同"_s;
            }
        }
    }

    const CardFileInput& input_;
    CardFormat format_;
    QStringList warnings_;
};

}  // namespace

QStringList CheckCardFileInput(const CardFileInput& input, CardFormat format) {
    return Checker(input, format).run();
}

namespace {

// The characters of a card number the format's field keeps; 0 for a field without a limit.
qsizetype cardFieldChars(CardFormat format) {
    switch (format) {
        case CardFormat::Mudan:
        case CardFormat::Pujiang:
            return 12;
        case CardFormat::Baiyulan:
            return 18;
        case CardFormat::PostSavings:
            return 8;
        case CardFormat::Long:
            return 0;
    }
    return 0;
}

}  // namespace

QStringList CutCardNumbers(const CardFileInput& input, CardFormat format) {
    const qsizetype field = cardFieldChars(format);
    QStringList cut;
    if (field == 0) return cut;
    // The 牡丹卡 and 浦江卡 write the number without its blanks; the others as stored.
    const bool withoutSpaces = format == CardFormat::Mudan || format == CardFormat::Pujiang;
    for (qsizetype i = 0; i < input.rows.size(); ++i) {
        const CardRowView row = input.rows[i];
        const QStringView card = withoutSpaces ? withoutBlanks(row.cardNumber) : row.cardNumber;
        const qsizetype n = characterCount(card);
        if (n <= field || (withoutSpaces && n == 16)) continue;
        cut << FieldRef::cell(u"卡号"_s, static_cast<int>(i + 1), row.name).describe() + quoted(card) +
                   u"（%1位）"_s.arg(n);
    }
    return cut;
}

void RefuseCutCardNumbers(const CardFileInput& input, CardFormat format) {
    const QStringList cut = CutCardNumbers(input, format);
    if (cut.isEmpty()) return;
    constexpr qsizetype kNamed = 10;
    QString text =
        u"以下卡号长于文件的卡号栏（%1位），写入会截断卡号，工资将转入别人的账户。文件没有写出，"
        u"请核对卡号：\n"_s.arg(cardFieldChars(format)) +
        cut.mid(0, kNamed).join(u'\n');
    if (cut.size() > kNamed) text += u"\n……共%1人"_s.arg(cut.size());
    throw Error(carderr::InvalidArgument, text);
}

}  // namespace slp::bank
