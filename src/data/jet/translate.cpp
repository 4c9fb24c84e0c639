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

}  // namespace slp::jet
