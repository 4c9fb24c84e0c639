#include "data/jet/translate.h"

#include "data/jet/parser.h"
#include "data/jet/sqlite_emitter.h"

using namespace Qt::StringLiterals;

namespace slp::jet {

SyntaxError::SyntaxError(int position, const QString& token, const QString& message)
    : slp::Error(errnum::Database,
                 u"查询语句有语法错误：第 %1 个字符“%2”处，%3"_s.arg(position).arg(token, message)),
      position_(position),
      token_(token) {}

QString translate(QStringView hostQuery, Dialect dialect) {
    const Statement statement = parse(hostQuery);
    switch (dialect) {
        case Dialect::SQLite:
            return emitSqlite(statement, hostQuery);
        case Dialect::PostgreSQL:
            break;
    }
    throw slp::Error(errnum::Database, u"查询语句的转换尚不支持此数据库"_s);
}

}  // namespace slp::jet
