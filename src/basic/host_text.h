#pragma once
// Texts the host hands over (the work month, the unit's code and name) and names from its database
// (wage items) as they are checked where they enter and put into queries, where no text may change
// the statement it goes into.
#include <QString>
#include <QStringView>

namespace slp {

// A work month as the host sends it: four digits, "-" and one or two digits ("2000-04", "2000-4").
bool isWorkMonthText(QStringView text);

// A control character: below U+0020, or U+007F.
inline bool isControlCharacter(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

// Index of the first control character, or -1.
qsizetype firstControlCharacter(QStringView text);

// The text with every control character shown as \xHH ("张\x00三"), for a message that names it.
QString visibleControls(QStringView text);

// A text literal for a query: in single quotes, each quote in the text doubled.
QString sqlTextLiteral(QStringView text);

// A name between brackets, each "]" in it doubled (the query translator reads "]]" as one "]").
QString sqlBracketed(QStringView name);

// A column alias: the name as it is when it is a plain name (letters, digits and "_", not beginning
// with a digit), else bracketed as above; either way the result column is called `name`.
QString sqlAlias(QStringView name);

}  // namespace slp
