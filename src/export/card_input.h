#pragma once
// What a bank payroll-card file is made of: the four fields of the card export window and the rows of
// its card grid, as the clerk sees them. The window and the command line fill the same record.
#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

namespace slp::bank {

// One data row of the card grid. Its "序号" is its position in the grid, counted from 1.
struct CardRow {
    QString name;        // "姓名", as shown
    QString cardNumber;  // "卡号", as stored (not trimmed)
    QString amount;      // "金额", as shown (two decimals)
};

// A row as CardRows holds it: views valid until the rows next change.
struct CardRowView {
    QStringView name;
    QStringView cardNumber;
    QStringView amount;
};

// The data rows of a card file, their texts one after another in one buffer: a month of 100,000 card
// holders is a few megabytes and no string of its own a text.
class CardRows {
  public:
    CardRows() = default;
    CardRows(std::initializer_list<CardRow> rows);

    qsizetype size() const { return qsizetype(fields_.size()); }
    // Row i (0 <= i < size()).
    CardRowView operator[](qsizetype i) const;

    // Room for `rows` more rows of `characters` characters in all.
    void reserve(qsizetype rows, qsizetype characters);
    void append(QStringView name, QStringView cardNumber, QStringView amount);
    void append(const CardRow& row) { append(row.name, row.cardNumber, row.amount); }
    // A text of row i replaced.
    void setName(qsizetype i, QStringView text);
    void setCardNumber(qsizetype i, QStringView text);
    void setAmount(qsizetype i, QStringView text);
    void removeLast() { fields_.pop_back(); }

    class const_iterator {
      public:
        const_iterator(const CardRows* rows, qsizetype i) : rows_(rows), i_(i) {}
        CardRowView operator*() const { return (*rows_)[i_]; }
        const_iterator& operator++() {
            ++i_;
            return *this;
        }
        bool operator!=(const const_iterator& other) const { return i_ != other.i_; }

      private:
        const CardRows* rows_;
        qsizetype i_;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

  private:
    struct Span {
        uint32_t offset = 0;
        uint32_t length = 0;
    };
    Span put(QStringView text);
    void set(qsizetype i, int field, QStringView text);

    QString texts_;
    std::vector<std::array<Span, 3>> fields_;  // name, card number, amount
};

struct CardFileInput {
    QString unitCode;     // "单位代码：" field; the post-office number for the postal savings card
    QString creditDate;   // "进卡日期：" field
    QString headCount;    // "入卡人数：" field
    QString totalAmount;  // "入卡金额：" field
    QString unitName;     // the employer unit's name given by the host
    CardRows rows;        // in grid order
};

// The card products that have a file layout. "中国银行长城卡" has none.
enum class CardFormat { Mudan, Pujiang, Baiyulan, Long, PostSavings };

// The format of a card type as the window's list names it ("中国工商银行牡丹卡", ...); nullopt for
// "中国银行长城卡" and for any other text.
std::optional<CardFormat> cardFormatForType(QStringView cardType);

}  // namespace slp::bank
