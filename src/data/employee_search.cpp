#include "data/employee_search.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace slp::data {

namespace {

QString withoutBlanks(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c != u' ' && c != u'\u3000' && c != u'\t') out += c;
    }
    return out;
}

bool allDigits(QStringView text) {
    if (text.isEmpty()) return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') return false;
    }
    return true;
}

QStringView withoutLeadingZeros(QStringView digits) {
    qsizetype i = 0;
    while (i + 1 < digits.size() && digits[i] == u'0') ++i;
    return digits.sliced(i);
}

bool sameNumber(QStringView stored, QStringView typed) {
    stored = stored.trimmed();
    typed = typed.trimmed();
    if (stored == typed) return true;
    return allDigits(stored) && allDigits(typed) && withoutLeadingZeros(stored) == withoutLeadingZeros(typed);
}

}  // namespace

EmployeeColumns employeeColumns(const WageGrid& grid) {
    EmployeeColumns c;
    if (grid.rows() < 1) return c;
    for (int col = 0; col < grid.cols(); ++col) {
        const QStringView caption = grid.textView(0, col).trimmed();
        if (c.number < 0 && caption == u"工号") c.number = col;
        if (c.name < 0 && caption == u"姓名") c.name = col;
    }
    return c;
}

QList<int> rowsOfEmployee(const WageGrid& grid, const QString& key, int firstRow, int lastRow) {
    QList<int> rows;
    const QString typed = key.trimmed();
    if (typed.isEmpty()) return rows;
    const EmployeeColumns c = employeeColumns(grid);
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, grid.rows() - 1);
    if (c.number >= 0) {
        for (int r = firstRow; r <= lastRow; ++r) {
            if (sameNumber(grid.textView(r, c.number), typed)) rows << r;
        }
    }
    if (rows.isEmpty() && c.name >= 0) {
        const QString name = withoutBlanks(typed);
        for (int r = firstRow; r <= lastRow; ++r) {
            if (withoutBlanks(grid.textView(r, c.name)) == name) rows << r;
        }
    }
    return rows;
}

int nextRowOfEmployee(const WageGrid& grid, const QString& key, int firstRow, int lastRow, int after) {
    const QList<int> rows = rowsOfEmployee(grid, key, firstRow, lastRow);
    if (rows.isEmpty()) return -1;
    for (const int r : rows) {
        if (r > after) return r;
    }
    return rows.front();
}

}  // namespace slp::data
