// RowWriter: many rows into one table through one prepared statement.
#include <QSqlError>
#include <QSqlQuery>
#include <optional>

#include "data/database.h"
#include "data/sqlite_statement.h"

using namespace Qt::StringLiterals;

namespace slp::data {

struct RowWriter::Impl {
    std::optional<SqliteStatement> sqlite;
    std::optional<QSqlQuery> qt;
};

RowWriter::RowWriter(Database& database, const QString& table, const QStringList& columns)
    : database_(database), columns_(int(columns.size())), impl_(std::make_unique<Impl>()) {
    if (columns.isEmpty()) {
        throw DatabaseError(errnum::Database, u"没有要写入的字段。"_s, table);
    }
    QStringList names;
    QStringList params;
    for (int i = 0; i < columns_; ++i) {
        names << quoteIdentifier(columns[i]);
        params << (database.sqlite_ ? u'?' + QString::number(i + 1) : u"?"_s);
    }
    statement_ = u"INSERT INTO "_s + quoteIdentifier(table) + u" ("_s + names.join(u", "_s) +
                 u") VALUES ("_s + params.join(u", "_s) + u')';
    if (database.sqlite_) {
        impl_->sqlite.emplace(database.sqlite_, statement_, statement_);
    } else {
        impl_->qt.emplace(database.qtDatabase());
        if (!impl_->qt->prepare(statement_)) {
            database.throwQtError(impl_->qt->lastError().text(), statement_, statement_);
        }
    }
}

RowWriter::~RowWriter() = default;

void RowWriter::add(const QList<Value>& values) {
    if (values.size() != columns_) {
        throw DatabaseError(errnum::Database,
                            u"字段数目不符: 需要 "_s + QString::number(columns_) + u" 个值,得到 "_s +
                                QString::number(values.size()) + u" 个。"_s,
                            statement_);
    }
    if (impl_->sqlite) {
        SqliteStatement& s = *impl_->sqlite;
        s.reset();
        for (int i = 0; i < columns_; ++i) s.bind(i + 1, values[i]);
        s.runToEnd();
    } else {
        QSqlQuery& q = *impl_->qt;
        for (int i = 0; i < columns_; ++i) q.bindValue(i, values[i].toVariant());
        if (!q.exec()) database_.throwQtError(q.lastError().text(), statement_, statement_);
    }
    ++added_;
}

}  // namespace slp::data
