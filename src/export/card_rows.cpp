#include <limits>

#include "basic/error.h"
#include "export/card_input.h"

using namespace Qt::StringLiterals;

namespace slp::bank {

CardRows::CardRows(std::initializer_list<CardRow> rows) {
    for (const CardRow& row : rows) append(row);
}

CardRowView CardRows::operator[](qsizetype i) const {
    const std::array<Span, 3>& f = fields_[size_t(i)];
    const QChar* texts = texts_.constData();
    return {QStringView(texts + f[0].offset, f[0].length), QStringView(texts + f[1].offset, f[1].length),
            QStringView(texts + f[2].offset, f[2].length)};
}

void CardRows::reserve(qsizetype rows, qsizetype characters) {
    fields_.reserve(fields_.size() + size_t(rows));
    texts_.reserve(texts_.size() + characters);
}

CardRows::Span CardRows::put(QStringView text) {
    const qsizetype offset = texts_.size();
    if (offset + text.size() > qsizetype(std::numeric_limits<uint32_t>::max())) {
        throw Error(errnum::Overflow, u"工资卡明细的文字太多"_s);
    }
    texts_.append(text);
    return {uint32_t(offset), uint32_t(text.size())};
}

void CardRows::append(QStringView name, QStringView cardNumber, QStringView amount) {
    // A text taken from these very rows would move when the buffer grows: such rows are copied first.
    const QChar* begin = texts_.constData();
    const auto inside = [&](QStringView t) {
        return !t.isEmpty() && t.data() >= begin && t.data() < begin + texts_.size();
    };
    if (inside(name) || inside(cardNumber) || inside(amount)) {
        append(CardRow{name.toString(), cardNumber.toString(), amount.toString()});
        return;
    }
    fields_.push_back({put(name), put(cardNumber), put(amount)});
}

void CardRows::set(qsizetype i, int field, QStringView text) {
    const QString copy = text.toString();  // the text may lie in the buffer, which may move
    fields_.at(size_t(i))[size_t(field)] = put(copy);
}

void CardRows::setName(qsizetype i, QStringView text) {
    set(i, 0, text);
}

void CardRows::setCardNumber(qsizetype i, QStringView text) {
    set(i, 1, text);
}

void CardRows::setAmount(qsizetype i, QStringView text) {
    set(i, 2, text);
}

}  // namespace slp::bank
