#include "data/jet/translate.h"

#include "data/jet/emitter.h"
#include "data/jet/parser.h"

using namespace Qt::StringLiterals;

namespace slp::jet {

SyntaxError::SyntaxError(int position, const QString& token, const QString& message)
    : slp::Error(errnum::Database,
                 u"查询语句有语法错误：第 %1 个字符“%2”处，%3"_s.arg(position).arg(token, message)),
      position_(position),
      token_(token) {}

QString catalogueKey(QStringView name) {
    return name.toString().toCaseFolded();
}

QString translate(QStringView hostQuery, Dialect dialect, const Catalogue* catalogue) {
    const Statement statement = parse(hostQuery);
    if (dialect == Dialect::PostgreSQL) return emitPostgres(statement, hostQuery, catalogue);
    return emitSqlite(statement, hostQuery);
}

QString bracketedNameAt(QStringView query, int position) {
    // The UTF-16 index of the character at `position`.
    qsizetype at = 0;
    for (int p = 1; p < position && at < query.size(); ++p) {
        at +=
            (query[at].isHighSurrogate() && at + 1 < query.size() && query[at + 1].isLowSurrogate()) ? 2 : 1;
    }
    QString last;
    bool inQuote = false;
    for (qsizetype i = 0; i < query.size() && i <= at; ++i) {
        const QChar c = query[i];
        if (c == u'\'') inQuote = !inQuote;
        if (inQuote) continue;
        if (c == u',') last.clear();
        if (c != u'[') continue;
        QString name;
        qsizetype j = i + 1;
        for (; j < query.size(); ++j) {
            if (query[j] != u']') {
                name += query[j];
            } else if (j + 1 < query.size() && query[j + 1] == u']') {
                name += u']';
                ++j;
            } else {
                break;
            }
        }
        last = name.trimmed();
        if (at <= j) return last;  // the position lies inside these brackets
        i = j;
    }
    return last;
}

}  // namespace slp::jet
