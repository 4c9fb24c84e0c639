#include "data/schema.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace slp::data {

QString quoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(u'"', u"\"\""_s);
    return u'"' + quoted + u'"';
}

namespace {

QString columnDefinition(const FieldDef& f, jet::Dialect dialect) {
    const QString q = quoteIdentifier(f.name);
    const bool pg = dialect == jet::Dialect::PostgreSQL;
    switch (f.type) {
        case FieldType::Text:
            if (f.size > 0) {
                return q + u" VARCHAR("_s + QString::number(f.size) + u") CHECK (length("_s + q + u") <= "_s +
                       QString::number(f.size) + u')';
            }
            return q + u" TEXT"_s;
        case FieldType::Integer:
            return q + u" SMALLINT CHECK ("_s + q + u" BETWEEN -32768 AND 32767)"_s;
        case FieldType::Long:
            return q + u" INTEGER CHECK ("_s + q + u" BETWEEN -2147483648 AND 2147483647)"_s;
        case FieldType::Single:
            return q + (pg ? u" REAL"_s : u" FLOAT"_s);
        case FieldType::Double:
            return q + (pg ? u" DOUBLE PRECISION"_s : u" DOUBLE"_s);
        case FieldType::Boolean:
            return q + u" BOOLEAN CHECK ("_s + q + u" IN (0, -1))"_s;
        case FieldType::Other:
            return q + u' ' + (f.declaredType.isEmpty() ? u"TEXT"_s : f.declaredType);
    }
    return q;
}

}  // namespace

QString createTableStatement(const TableDef& table, jet::Dialect dialect) {
    QStringList columns;
    for (const FieldDef& f : table.fields) {
        // The host's -1 / 0 are kept as a small integer of the component's own type on PostgreSQL, so
        // the field reads back as a boolean.
        if (dialect == jet::Dialect::PostgreSQL && f.type == FieldType::Boolean) {
            columns << quoteIdentifier(f.name) + u" sl_payprn.yes_no"_s;
            continue;
        }
        columns << columnDefinition(f, dialect);
    }
    return u"CREATE TABLE "_s + quoteIdentifier(table.name) + u" ("_s + columns.join(u", "_s) + u')';
}

FieldDef fieldFromDeclaredType(const QString& name, const QString& declaredType) {
    FieldDef f;
    f.name = name;
    f.declaredType = declaredType;
    const QString t = declaredType.trimmed().toUpper();
    static const QRegularExpression sized(
        uR"(^(?:VARCHAR|CHARACTER VARYING|CHAR|NVARCHAR)\s*\(\s*(\d+)\s*\)$)"_s);
    if (const auto m = sized.match(t); m.hasMatch()) {
        f.type = FieldType::Text;
        f.size = m.captured(1).toInt();
    } else if (t == u"TEXT" || t == u"VARCHAR" || t == u"MEMO" || t == u"CHARACTER VARYING") {
        f.type = FieldType::Text;
    } else if (t == u"SMALLINT" || t == u"INT2") {
        f.type = FieldType::Integer;
    } else if (t == u"INTEGER" || t == u"INT" || t == u"INT4" || t == u"LONG") {
        f.type = FieldType::Long;
    } else if (t == u"FLOAT" || t == u"SINGLE" || t == u"REAL" || t == u"FLOAT4") {
        f.type = FieldType::Single;
    } else if (t == u"DOUBLE" || t == u"DOUBLE PRECISION" || t == u"FLOAT8") {
        f.type = FieldType::Double;
    } else if (t == u"BOOLEAN" || t == u"BOOL" || t == u"BIT") {
        f.type = FieldType::Boolean;
    } else {
        f.type = FieldType::Other;
    }
    return f;
}

}  // namespace slp::data
