#pragma once
// Amounts formatted with an item's format, fast enough for a month of a large unit: the same text as
// slp::formatNumber (half away from zero on the value's shortest decimal text), written into a small
// buffer instead of allocated strings for the item formats "0", "0.0" and "0.00". Other formats, and
// values the quick path does not cover, go through slp::formatNumber itself.
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <array>

namespace slp::data {

class AmountFormat {
  public:
    // Room for any text the quick path writes.
    using Buffer = std::array<char16_t, 48>;

    explicit AmountFormat(const QString& pattern);

    const QString& pattern() const { return pattern_; }
    // The formatted text; it lives in `buffer` or in `spill` (for values off the quick path) until either
    // is next used.
    QStringView format(double value, Buffer& buffer, QString& spill) const;
    QString format(double value) const;
    // The same text for `value` read from `text`, the stored text it came from (UTF-8 bytes; empty when
    // it was no text). A plain decimal of at most 15 digits and no more decimals than the format shows
    // ("1200.5", "-37") is the text itself padded with zeros, without taking the value apart; any other
    // text gives format(value, buffer, spill).
    QStringView format(double value, QByteArrayView text, Buffer& buffer, QString& spill) const;

  private:
    QString pattern_;
    int decimals_ = -1;  // 0, 1 or 2 on the quick path, -1 otherwise
    QString zero_;       // the texts of 0 and -0, worked out once
    QString negativeZero_;
};

}  // namespace slp::data
