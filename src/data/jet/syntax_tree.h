#pragma once
// The syntax tree of a query text in the host engine's dialect. Names are kept as written, without
// their brackets; every node remembers where it began so later checks can point at it.
#include <QString>
#include <memory>
#include <vector>

namespace slp::jet {

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

enum class ExprKind {
    Column,  // [qualifier.]name
    Number,  // text holds the literal as written
    Text,    // text holds the value (quotes removed, doubled quotes undone)
    Null,
    Star,    // the * of count(*)
    Not,     // args[0]
    Negate,  // args[0]
    Binary,  // args[0] op args[1]
    IsNull,  // args[0] is [not] null
    Call,    // text holds the function name in lower case
};

enum class BinaryOp {
    Or,
    And,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    Concat,
    Add,
    Subtract,
    Multiply,
    Divide
};

struct Expr {
    ExprKind kind = ExprKind::Null;
    int position = 0;  // 0-based index into the query text of the node's first token
    QString token;     // the first token as written, for messages
    QString text;
    QString qualifier;  // Column: table or alias, empty when unqualified
    QString name;       // Column: the column name
    BinaryOp op = BinaryOp::Or;
    bool negated = false;  // IsNull: "is not null"
    int depth = 1;         // levels of the tree below and including this node
    std::vector<ExprPtr> args;
};

// Deepest expression tree and deepest nesting of parentheses a query may have; deeper texts are
// refused so that no text can exhaust the stack.
inline constexpr int maxExpressionDepth = 200;
inline constexpr int maxNesting = 300;
// Most tables one query may join (SQLite takes up to 64).
inline constexpr int maxJoins = 32;

bool isComparison(BinaryOp op);
bool isAggregateName(const QString& lowerName);

struct SelectItem {
    ExprPtr expr;  // null for * and qualifier.*
    bool star = false;
    QString starQualifier;  // qualifier of qualifier.*, empty for a plain *
    QString alias;          // as written after AS, empty when none
    int position = 0;
};

struct TableRef {
    QString name;
    QString alias;
    int position = 0;
};

enum class JoinKind { Inner, Left };

// A FROM source: one table, or a join of two sources.
struct Source {
    bool isJoin = false;
    TableRef table;
    JoinKind joinKind = JoinKind::Inner;
    std::unique_ptr<Source> left;
    std::unique_ptr<Source> right;
    ExprPtr on;
};

struct OrderKey {
    ExprPtr expr;
    bool descending = false;
};

struct SelectStatement {
    bool distinct = false;
    std::vector<SelectItem> items;
    std::unique_ptr<Source> from;
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
    std::vector<OrderKey> orderBy;
};

struct DeleteStatement {
    TableRef table;
    ExprPtr where;
};

struct Statement {
    bool isDelete = false;
    SelectStatement select;
    DeleteStatement deletion;
};

}  // namespace slp::jet
