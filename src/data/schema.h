#pragma once
// Table definitions: the typed fields a table is created with and listed by.
#include <QList>
#include <QString>

#include "data/jet/translate.h"

namespace slp::data {

enum class FieldType {
    Text,     // text; size > 0 limits its length in characters
    Integer,  // 16-bit whole number
    Long,     // 32-bit whole number
    Single,   // single-precision number
    Double,   // double-precision number
    Boolean,  // stored as -1 (true) or 0 (false)
    Other     // a type this layer does not create; see FieldDef::declaredType
};

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;          // maximum length of a Text field in characters, 0 for no limit
    QString declaredType;  // the engine's spelling, filled when tables are listed

    friend bool operator==(const FieldDef& a, const FieldDef& b) {
        return a.name == b.name && a.type == b.type && a.size == b.size;
    }
};

struct TableDef {
    QString name;
    QList<FieldDef> fields;
};

// An identifier quoted for the engine ("name", inner quotes doubled).
QString quoteIdentifier(const QString& name);

// The statement that creates the table in the engine's dialect. Sizes and 16-bit ranges are enforced by
// CHECK constraints, so a text longer than its field or a number outside its range is refused on storing.
QString createTableStatement(const TableDef& table, jet::Dialect dialect);

// Reads a declared column type back into a field (the inverse of createTableStatement for the types it
// writes; "TEXT" and other text types give an unlimited Text, unknown names give Other).
FieldDef fieldFromDeclaredType(const QString& name, const QString& declaredType);

}  // namespace slp::data
