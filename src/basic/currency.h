#pragma once
// Amounts added the way the host adds currency: fixed point with four decimal places
// in a 64-bit integer, so the total is exactly the sum of the shown amounts, whatever their count.
#include <QString>
#include <QStringView>
#include <cstdint>

namespace slp {

// Ten-thousandths of a yuan.
using CurrencyUnits = int64_t;
inline constexpr CurrencyUnits kUnitsPerYuan = 10000;

// The numeric value of a shown amount in currency units: a plain decimal text ("1234.50", "-0.5",
// " 12 ") is read exactly, digits beyond the fourth decimal rounded half to even; any other text by its
// leading numeric value ("12abc" is 12, "abc" is 0). Throws slp::OverflowError beyond the currency range.
CurrencyUnits currencyUnits(QStringView text);

// The amount written with two decimals, halves away from zero ("1234.50", "0.00", "-3.10").
QString currencyText(CurrencyUnits units);

// A running total. add() throws slp::OverflowError when the total leaves the currency range.
class CurrencyTotal {
  public:
    void add(CurrencyUnits units);
    CurrencyUnits units() const { return units_; }
    QString text() const { return currencyText(units_); }

  private:
    CurrencyUnits units_ = 0;
};

}  // namespace slp
