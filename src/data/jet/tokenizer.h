#pragma once
// Splits a query text of the host engine's dialect into tokens.
#include <QString>
#include <QStringView>
#include <vector>

namespace slp::jet {

enum class TokenKind {
    Word,       // a bare name or keyword: letters, digits, '_' and any other non-ASCII character
    Bracketed,  // a name in square brackets; value without brackets, "]]" undone, trailing blanks dropped
    Number,     // digits with an optional fraction and exponent
    String,     // a quoted text; value without quotes, doubled quotes undone
    Symbol,     // , ( ) . ! * + - / & = < > <= >= <> ;
    End,
};

struct Token {
    TokenKind kind = TokenKind::End;
    QString value;     // see TokenKind
    QString raw;       // the token exactly as written
    int position = 0;  // 0-based index of its first character in the query text

    bool isSymbol(QStringView s) const { return kind == TokenKind::Symbol && value == s; }
    // Keywords are bare words compared without regard to case.
    bool isKeyword(QStringView k) const {
        return kind == TokenKind::Word && value.compare(k, Qt::CaseInsensitive) == 0;
    }
};

// The tokens of the text, ending with one End token. Throws SyntaxError for a character that
// starts no token, an unterminated quote or bracket, or an empty bracketed name.
std::vector<Token> tokenize(QStringView text);

// 1-based position of the character at the 0-based UTF-16 index, counting a surrogate pair once.
int characterPosition(QStringView text, int index);

}  // namespace slp::jet
