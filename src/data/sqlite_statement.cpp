#include "data/sqlite_statement.h"

#include "data/engine_message.h"

using namespace Qt::StringLiterals;

namespace slp::data {

SqliteStatement::SqliteStatement(sqlite3* db, const QString& text, const QString& query,
                                 const QString& engineQuery)
    : db_(db), query_(query), engineQuery_(engineQuery.isEmpty() ? text : engineQuery) {
    const QByteArray utf8 = text.toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &statement_, &tail);
    if (rc != SQLITE_OK) fail(rc);
    if (!statement_) {
        throw DatabaseError(errnum::Database, u"查询文本是空的。"_s, query_, engineQuery_);
    }
    for (; tail && *tail; ++tail) {
        if (*tail != ' ' && *tail != '\t' && *tail != '\n' && *tail != '\r' && *tail != ';') {
            sqlite3_finalize(statement_);
            statement_ = nullptr;
            throw DatabaseError(errnum::Database, u"查询文本中有多条语句。"_s, query_, engineQuery_);
        }
    }
}

SqliteStatement::SqliteStatement(sqlite3* db, const char* utf8, int size, const char** tail,
                                 const QString& query, const QString& engineQuery)
    : db_(db), query_(query), engineQuery_(engineQuery) {
    const int rc = sqlite3_prepare_v2(db, utf8, size, &statement_, tail);
    if (rc != SQLITE_OK) fail(rc);
}

void SqliteStatement::fail(int rc) const {
    const int code = sqlite3_extended_errcode(db_);
    QString message = QString::fromUtf8(sqlite3_errmsg(db_));
    if (message.isEmpty()) message = QString::fromUtf8(sqlite3_errstr(rc));
    throw DatabaseError(errnum::Database, engineMessageInChinese(message), query_, engineQuery_,
                        code ? code : rc);
}

void SqliteStatement::bind(int index, const Value& value) {
    int rc = SQLITE_OK;
    switch (value.type()) {
        case Value::Type::Null:
            rc = sqlite3_bind_null(statement_, index);
            break;
        case Value::Type::Integer:
            rc = sqlite3_bind_int64(statement_, index, value.toInt64());
            break;
        case Value::Type::Real:
            rc = sqlite3_bind_double(statement_, index, value.toDouble());
            break;
        case Value::Type::Text: {
            const QString& text = value.textValue();
            rc = sqlite3_bind_text16(statement_, index, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
            break;
        }
        case Value::Type::Blob: {
            const QByteArray& bytes = value.blobValue();
            rc = sqlite3_bind_blob(statement_, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
    }
    if (rc != SQLITE_OK) fail(rc);
}

void SqliteStatement::runToEnd() {
    for (;;) {
        const int rc = sqlite3_step(statement_);
        if (rc == SQLITE_DONE) return;
        if (rc != SQLITE_ROW) fail(rc);
    }
}

void SqliteStatement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

}  // namespace slp::data
