#include "data/database.h"

#include <sqlite3.h>

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>
#include <QUuid>
#include <algorithm>

#include "data/engine_message.h"
#include "data/sqlite_statement.h"

using namespace Qt::StringLiterals;

namespace slp::data {

namespace {

struct ParsedConnection {
    QString driver;
    jet::Dialect dialect = jet::Dialect::SQLite;
    QString path;  // SQLite file
    // Server: what the URL names; anything it leaves out comes from libpq's environment variables
    // (PGHOST, PGPORT, PGUSER, PGPASSWORD, PGDATABASE) and defaults.
    QString host, user, password, database;
    int port = -1;
    QStringList options;  // further libpq parameters given as ?name=value
};

// postgresql://[user[:password]@][host][:port][/database][?name=value&…]; a host that is a folder (a
// Unix socket's) goes in ?host=/path, as libpq takes it.
bool parseServerUrl(const QString& text, ParsedConnection& p) {
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid()) return false;
    p.host = url.host();
    p.port = url.port();
    p.user = url.userName();
    p.password = url.password();
    p.database = url.path().mid(1);
    bool timeoutGiven = false;
    for (const auto& [name, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        if (name == u"host") {
            p.host = value;
        } else if (name == u"port") {
            bool ok = false;
            p.port = value.toInt(&ok);
            if (!ok) return false;
        } else if (name == u"user") {
            p.user = value;
        } else if (name == u"password") {
            p.password = value;
        } else if (name == u"dbname") {
            p.database = value;
        } else {
            QString quoted = value;
            quoted.replace(u"\\"_s, u"\\\\"_s).replace(u"'"_s, u"\\'"_s);
            p.options << name + u"='"_s + quoted + u'\'';
            timeoutGiven = timeoutGiven || name == u"connect_timeout";
        }
    }
    // A server that takes the connection and never answers would keep the clerk waiting for ever.
    if (!timeoutGiven && qEnvironmentVariableIsEmpty("PGCONNECT_TIMEOUT")) {
        p.options << u"connect_timeout='"_s + QString::number(kDefaultConnectTimeoutSeconds) + u'\'';
    }
    return true;
}

ParsedConnection parseConnection(const QString& text) {
    ParsedConnection p;
    if (text.startsWith(u"sqlite:"_s, Qt::CaseInsensitive)) {
        p.driver = u"QSQLITE"_s;
        p.path = text.mid(7);
        if (!p.path.isEmpty()) return p;
    } else if (text.startsWith(u"postgresql://"_s, Qt::CaseInsensitive) ||
               text.startsWith(u"postgres://"_s, Qt::CaseInsensitive)) {
        p.driver = u"QPSQL"_s;
        p.dialect = jet::Dialect::PostgreSQL;
        if (parseServerUrl(text, p)) return p;
    }
    throw DatabaseError(errnum::Database, u"无法识别的数据库连接: "_s + connectionWithoutPassword(text));
}

}  // namespace

QString connectionWithoutPassword(const QString& connection) {
    const qsizetype scheme = connection.indexOf(u"://"_s);
    if (scheme < 0) return connection;
    QString shown = connection;
    // The user information ends at the last "@" before the query: a password may hold "/" or "@".
    const qsizetype start = scheme + 3;
    qsizetype end = shown.size();
    for (const QChar c : {u'?', u'#'}) {
        const qsizetype at = shown.indexOf(c, start);
        if (at >= 0) end = std::min(end, at);
    }
    const qsizetype atSign = end > start ? shown.lastIndexOf(u'@', end - 1) : -1;
    if (atSign >= start) {
        const qsizetype colon = shown.indexOf(u':', start);
        if (colon >= 0 && colon < atSign) shown.replace(colon + 1, atSign - colon - 1, u"***"_s);
    }
    static const QRegularExpression passwordItem(u"([?&]password=)[^&#]*"_s,
                                                 QRegularExpression::CaseInsensitiveOption);
    shown.replace(passwordItem, u"\\1***"_s);
    return shown;
}

Database::Database(const QString& connection) : Database(connection, Options()) {}

Database::Database(const QString& connection, Options options) : connection_(connection) {
    const ParsedConnection parsed = parseConnection(connection);
    dialect_ = parsed.dialect;
    if (!QSqlDatabase::isDriverAvailable(parsed.driver)) {
        throw DatabaseError(errnum::Database, u"数据库驱动程序 "_s + parsed.driver + u" 不可用。"_s);
    }
    if (parsed.driver == u"QSQLITE" && parsed.path != u":memory:" && !options.createIfMissing &&
        !QFileInfo::exists(parsed.path)) {
        throw DatabaseError(dberr::FileNotFound, u"找不到文件 '"_s + parsed.path + u"'。"_s);
    }
    sqlite3* sqlite = nullptr;
    connectionName_ = u"slp-data-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(parsed.driver, connectionName_);
        if (parsed.driver == u"QSQLITE") {
            db.setDatabaseName(parsed.path);
        } else {
            db.setHostName(parsed.host);
            db.setPort(parsed.port);
            db.setUserName(parsed.user);
            db.setPassword(parsed.password);
            db.setDatabaseName(parsed.database);
            db.setConnectOptions(parsed.options.join(u';'));
        }
        if (!db.open()) {
            const QString message = engineMessageInChinese(db.lastError().text());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connectionName_);
            throw DatabaseError(errnum::Database, message);
        }
        const QVariant handle = db.driver()->handle();
        if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
            sqlite = *static_cast<sqlite3* const*>(handle.constData());
        }
    }
    if (!options.genericQtSql) sqlite_ = sqlite;
    try {
        if (sqlite) {
            // A double-quoted name that matches no column must be an error, not the text of that name:
            // a wage item without its column would otherwise read as its own name in every row.
            sqlite3_db_config(sqlite, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
            sqlite3_db_config(sqlite, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
            // A file that is not a database opens fine and fails at its first read: find out now.
            executeNative(u"SELECT count(*) FROM sqlite_master"_s);
            const int rc = jet::registerSqliteHelpers(sqlite);
            if (rc != SQLITE_OK) {
                throw DatabaseError(errnum::Database,
                                    u"无法注册查询辅助函数: "_s + QString::fromUtf8(sqlite3_errstr(rc)),
                                    QString(), QString(), rc);
            }
        }
        if (dialect_ == jet::Dialect::PostgreSQL) installPostgresHelpers();
    } catch (...) {
        sqlite_ = nullptr;
        {
            QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(connectionName_);
        throw;
    }
}

Database::~Database() {
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

QSqlDatabase Database::qtDatabase() const {
    return QSqlDatabase::database(connectionName_, false);
}

void Database::throwQtError(const QString& what, const QString& query, const QString& engineQuery) const {
    throw DatabaseError(errnum::Database, engineMessageInChinese(what), query, engineQuery);
}

void Database::installPostgresHelpers() {
    ResultSet installed = openNative(jet::postgresHelpersCheck());
    if (installed.recordCount() == 1 && installed.value(0).toBool()) return;
    Transaction transaction(*this);
    for (const QString& statement : jet::postgresHelperStatements()) executeNative(statement);
    transaction.commit();
}

const jet::Catalogue* Database::catalogue() const {
    if (dialect_ != jet::Dialect::PostgreSQL) return nullptr;
    if (catalogueStale_) {
        // Read through the Qt connection directly: this runs inside the const translate().
        QSqlQuery q(qtDatabase());
        q.setForwardOnly(true);
        const QString text =
            u"SELECT table_name, column_name, data_type FROM information_schema.columns "
            "WHERE table_schema = current_schema() ORDER BY table_name, ordinal_position"_s;
        if (!q.exec(text)) throwQtError(q.lastError().text(), text, text);
        jet::Catalogue catalogue;
        static const QStringList numberTypes = {u"smallint"_s, u"integer"_s,          u"bigint"_s,
                                                u"real"_s,     u"double precision"_s, u"numeric"_s};
        while (q.next()) {
            const QString table = q.value(0).toString();
            jet::CatalogueTable& entry = catalogue[jet::catalogueKey(table)];
            entry.name = table;
            const QString column = q.value(1).toString();
            const bool number = numberTypes.contains(q.value(2).toString());
            entry.columns.insert(jet::catalogueKey(column),
                                 {column, number ? jet::ColumnKind::Number : jet::ColumnKind::Text});
        }
        catalogue_ = std::move(catalogue);
        catalogueStale_ = false;
    }
    return &catalogue_;
}

QString Database::translate(const QString& hostQuery) const {
    try {
        return jet::translate(hostQuery, dialect_, catalogue());
    } catch (const jet::SyntaxError& e) {
        const QString name = jet::bracketedNameAt(hostQuery, e.position());
        throw DatabaseError(
            e.number(), name.isEmpty() ? e.description() : e.description() + u"（涉及“"_s + name + u"”）"_s,
            hostQuery);
    }
}

ResultSet Database::open(const QString& hostQuery) {
    const QString engineQuery = translate(hostQuery);
    if (sqlite_) {
        SqliteStatement statement(sqlite_, engineQuery, hostQuery);
        return ResultSet::fromSqlite(statement.get(), hostQuery, engineQuery, rowsRead_);
    }
    QSqlQuery q(qtDatabase());
    q.setForwardOnly(true);
    if (!q.exec(engineQuery)) throwQtError(q.lastError().text(), hostQuery, engineQuery);
    return ResultSet::fromQtQuery(q, hostQuery, engineQuery, rowsRead_);
}

int Database::openInChunks(const QString& hostQuery, int rowsPerChunk,
                           const std::function<void(ResultSet&)>& chunk) {
    if (!sqlite_) {
        ResultSet all = open(hostQuery);
        const int rows = all.recordCount();
        if (rows > 0) chunk(all);
        return rows;
    }
    const QString engineQuery = translate(hostQuery);
    SqliteStatement statement(sqlite_, engineQuery, hostQuery);
    int rows = 0;
    for (bool done = false; !done;) {
        ResultSet part = ResultSet::nextSqliteChunk(statement.get(), hostQuery, engineQuery,
                                                    std::max(rowsPerChunk, 1), done, rows, rowsRead_);
        const int n = part.recordCount();
        if (n == 0) break;
        rows += n;
        chunk(part);
    }
    return rows;
}

ResultSet Database::openNative(const QString& engineQuery) {
    if (sqlite_) {
        SqliteStatement statement(sqlite_, engineQuery, engineQuery);
        return ResultSet::fromSqlite(statement.get(), engineQuery, engineQuery, rowsRead_);
    }
    QSqlQuery q(qtDatabase());
    q.setForwardOnly(true);
    if (!q.exec(engineQuery)) throwQtError(q.lastError().text(), engineQuery, engineQuery);
    return ResultSet::fromQtQuery(q, engineQuery, engineQuery, rowsRead_);
}

namespace {

int64_t runSqlite(sqlite3* db, const QString& text, const QString& query) {
    const QByteArray utf8 = text.toUtf8();
    const char* next = utf8.constData();
    const char* end = next + utf8.size();
    int64_t changed = 0;
    while (next < end) {
        SqliteStatement statement(db, next, int(end - next), &next, query, text);
        if (!statement.get()) continue;  // blanks or a comment only
        statement.runToEnd();
        changed = sqlite3_changes64(db);
    }
    return changed;
}

}  // namespace

int64_t Database::execute(const QString& hostStatement) {
    const QString engineStatement = translate(hostStatement);
    if (sqlite_) {
        SqliteStatement statement(sqlite_, engineStatement, hostStatement, engineStatement);
        statement.runToEnd();
        return sqlite3_changes64(sqlite_);
    }
    QSqlQuery q(qtDatabase());
    if (!q.exec(engineStatement)) throwQtError(q.lastError().text(), hostStatement, engineStatement);
    return q.numRowsAffected();
}

int64_t Database::executeNative(const QString& engineStatement) {
    if (sqlite_) return runSqlite(sqlite_, engineStatement, engineStatement);
    catalogueStale_ = true;  // the statement may have made or changed a table
    QSqlQuery q(qtDatabase());
    if (!q.exec(engineStatement)) throwQtError(q.lastError().text(), engineStatement, engineStatement);
    return q.numRowsAffected();
}

namespace {

// A text as an SQL string literal.
QString quoteText(const QString& text) {
    QString quoted = text;
    quoted.replace(u'\'', u"''"_s);
    return u'\'' + quoted + u'\'';
}

}  // namespace

QList<TableDef> Database::tables() {
    // Read from the engine's catalogue through ordinary queries, so both reading paths list the same.
    const bool pg = dialect_ == jet::Dialect::PostgreSQL;
    ResultSet names = openNative(
        pg ? u"SELECT table_name FROM information_schema.tables WHERE table_schema = current_schema() "
             "AND table_type = 'BASE TABLE' ORDER BY table_name"_s
           : u"SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE "
             u"'\\' "
             "ORDER BY rowid"_s);
    QList<TableDef> result;
    for (int i = 0; i < names.recordCount(); ++i) {
        names.setAbsolutePosition(i);
        TableDef table;
        table.name = names.text(0);
        ResultSet columns = openNative(
            pg ? u"SELECT column_name, CASE WHEN domain_schema = 'sl_payprn' AND domain_name = 'yes_no' "
                 "THEN 'BOOLEAN' ELSE data_type END, character_maximum_length FROM "
                 "information_schema.columns "
                 "WHERE table_schema = current_schema() AND table_name = "_s +
                     quoteText(table.name) + u" ORDER BY ordinal_position"_s
               : u"SELECT name, type FROM pragma_table_info("_s + quoteText(table.name) +
                     u") ORDER BY cid"_s);
        for (int c = 0; c < columns.recordCount(); ++c) {
            columns.setAbsolutePosition(c);
            QString declared = columns.text(1);
            if (pg && !columns.isNull(2)) declared += u'(' + columns.text(2) + u')';
            table.fields << fieldFromDeclaredType(columns.text(0), declared);
        }
        result << table;
    }
    return result;
}

bool Database::hasTable(const QString& name) {
    for (const TableDef& t : tables()) {
        if (t.name == name) return true;
    }
    return false;
}

void Database::createTable(const TableDef& table) {
    executeNative(createTableStatement(table, dialect_));
}

void Database::addRow(const QString& table, const FieldValues& values) {
    QStringList columns;
    QList<Value> row;
    for (const auto& [name, value] : values) {
        columns << name;
        row << value;
    }
    if (columns.isEmpty()) {
        executeNative(u"INSERT INTO "_s + quoteIdentifier(table) + u" DEFAULT VALUES"_s);
        return;
    }
    RowWriter writer(*this, table, columns);
    writer.add(row);
}

int64_t Database::updateRows(const QString& table, const FieldValues& values, const FieldValues& where) {
    if (values.isEmpty()) return 0;
    // SQLite takes numbered parameters, Qt's drivers plain "?" in order.
    int n = 0;
    const auto param = [&] { return sqlite_ ? u'?' + QString::number(++n) : u"?"_s; };
    QStringList sets;
    QStringList conditions;
    for (const auto& v : values) sets << quoteIdentifier(v.first) + u" = "_s + param();
    const QString same = dialect_ == jet::Dialect::PostgreSQL ? u" IS NOT DISTINCT FROM "_s : u" IS "_s;
    for (const auto& w : where) conditions << quoteIdentifier(w.first) + same + param();
    QString text = u"UPDATE "_s + quoteIdentifier(table) + u" SET "_s + sets.join(u", "_s);
    if (!conditions.isEmpty()) text += u" WHERE "_s + conditions.join(u" AND "_s);

    QList<Value> params;
    for (const auto& v : values) params << v.second;
    for (const auto& w : where) params << w.second;
    if (sqlite_) {
        SqliteStatement statement(sqlite_, text, text);
        for (int i = 0; i < params.size(); ++i) statement.bind(i + 1, params[i]);
        statement.runToEnd();
        return sqlite3_changes64(sqlite_);
    }
    QSqlQuery q(qtDatabase());
    if (!q.prepare(text)) throwQtError(q.lastError().text(), text, text);
    for (const Value& p : params) q.addBindValue(p.toVariant());
    if (!q.exec()) throwQtError(q.lastError().text(), text, text);
    return q.numRowsAffected();
}

void Database::beginTransaction() {
    QSqlDatabase db = qtDatabase();
    if (!db.transaction()) throwQtError(db.lastError().text(), u"BEGIN"_s, u"BEGIN"_s);
}

void Database::commit() {
    QSqlDatabase db = qtDatabase();
    if (!db.commit()) throwQtError(db.lastError().text(), u"COMMIT"_s, u"COMMIT"_s);
}

void Database::rollback() {
    QSqlDatabase db = qtDatabase();
    if (!db.rollback()) throwQtError(db.lastError().text(), u"ROLLBACK"_s, u"ROLLBACK"_s);
}

Transaction::Transaction(Database& database) : database_(database) {
    database_.beginTransaction();
}

Transaction::~Transaction() {
    if (done_) return;
    try {
        database_.rollback();
    } catch (const DatabaseError&) {
        // The engine already ended the transaction (for example after a failed commit): nothing to undo.
    }
}

void Transaction::commit() {
    database_.commit();
    done_ = true;
}

}  // namespace slp::data
