#include "app/department_summary/summary_totals.h"

#include "basic/conversions.h"
#include "basic/error.h"

using namespace Qt::StringLiterals;

namespace slp::windows::summary {

namespace {

uint64_t magnitude(CurrencyUnits units) {
    return units < 0 ? uint64_t(0) - uint64_t(units) : uint64_t(units);
}

// Decimal places of the fixed formats, -1 for any other pattern.
int fixedDecimals(QStringView pattern) {
    if (pattern == u"0") return 0;
    if (pattern == u"0.0") return 1;
    if (pattern == u"0.00") return 2;
    return -1;
}

QString withSign(bool negative, const QString& digits) {
    return negative ? u'-' + digits : digits;
}

}  // namespace

CurrencyUnits columnTotal(const data::WageGrid& grid, int col) {
    CurrencyUnits total = 0;
    for (int r = 1; r <= grid.rows() - 2; ++r) {
        if (__builtin_add_overflow(total, currencyUnits(grid.textView(r, col)), &total)) {
            throw OverflowError(u"第"_s + QString::number(col) + u"列的合计超出货币数值的范围"_s);
        }
    }
    return total;
}

QString formatUnits(CurrencyUnits units, QStringView pattern) {
    const uint64_t m = magnitude(units);
    const uint64_t perYuan = uint64_t(kUnitsPerYuan);
    if (pattern.isEmpty()) {
        QString text = QString::number(m / perYuan);
        QString fraction = QString::number(m % perYuan).rightJustified(4, u'0');
        while (fraction.endsWith(u'0')) fraction.chop(1);
        if (!fraction.isEmpty()) text += u'.' + fraction;
        return withSign(units < 0, text);
    }
    const int decimals = fixedDecimals(pattern);
    if (decimals < 0) return formatNumber(double(units) / double(kUnitsPerYuan), pattern);
    uint64_t step = 1;
    for (int i = decimals; i < 4; ++i) step *= 10;
    uint64_t rounded = m / step;
    if ((m % step) * 2 >= step) ++rounded;  // halves away from zero
    uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    QString text = QString::number(rounded / scale);
    if (decimals > 0) text += u'.' + QString::number(rounded % scale).rightJustified(decimals, u'0');
    return withSign(units < 0 && rounded != 0, text);
}

QString headCountTotal(CurrencyUnits units) {
    return u"共"_s + QString::number(units / kUnitsPerYuan) + u"人"_s;
}

}  // namespace slp::windows::summary
