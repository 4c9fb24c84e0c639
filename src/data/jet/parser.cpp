#include "data/jet/parser.h"

#include <algorithm>
#include <array>

#include "data/jet/tokenizer.h"
#include "data/jet/translate.h"

using namespace Qt::StringLiterals;

namespace slp::jet {

bool isComparison(BinaryOp op) {
    switch (op) {
        case BinaryOp::Equal:
        case BinaryOp::NotEqual:
        case BinaryOp::Less:
        case BinaryOp::Greater:
        case BinaryOp::LessEqual:
        case BinaryOp::GreaterEqual:
            return true;
        default:
            return false;
    }
}

bool isAggregateName(const QString& lowerName) {
    return lowerName == u"count"_s || lowerName == u"sum"_s;
}

namespace {

// Words that never stand for a bare name.
constexpr std::array reservedWords = {
    u"select",  u"from",   u"where", u"group",    u"order",     u"by",     u"having",     u"as",
    u"on",      u"inner",  u"left",  u"right",    u"outer",     u"join",   u"and",        u"or",
    u"not",     u"is",     u"null",  u"distinct", u"delete",    u"asc",    u"desc",       u"like",
    u"between", u"in",     u"union", u"top",      u"insert",    u"update", u"into",       u"values",
    u"set",     u"create", u"table", u"all",      u"exists",    u"full",   u"cross",      u"mod",
    u"xor",     u"eqv",    u"imp",   u"with",     u"transform", u"pivot",  u"parameters",
};

bool isReserved(const Token& t) {
    if (t.kind != TokenKind::Word) return false;
    for (const char16_t* w : reservedWords) {
        if (t.value.compare(QStringView(w), Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

struct FunctionInfo {
    const char16_t* name;
    int arguments;
};

constexpr std::array functions = {
    FunctionInfo{u"val", 1},   FunctionInfo{u"left", 2}, FunctionInfo{u"len", 1},
    FunctionInfo{u"count", 1}, FunctionInfo{u"sum", 1},
};

const FunctionInfo* findFunction(const QString& name) {
    for (const FunctionInfo& f : functions) {
        if (name.compare(QStringView(f.name), Qt::CaseInsensitive) == 0) return &f;
    }
    return nullptr;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Two expressions that the engine treats as the same: names compare without regard to case.
bool sameExpr(const Expr& a, const Expr& b) {
    if (a.kind != b.kind || a.args.size() != b.args.size()) return false;
    switch (a.kind) {
        case ExprKind::Column:
            if (!sameName(a.qualifier, b.qualifier) || !sameName(a.name, b.name)) return false;
            break;
        case ExprKind::Number:
        case ExprKind::Text:
        case ExprKind::Call:
            if (a.text != b.text) return false;
            break;
        case ExprKind::Binary:
            if (a.op != b.op) return false;
            break;
        case ExprKind::IsNull:
            if (a.negated != b.negated) return false;
            break;
        default:
            break;
    }
    for (size_t i = 0; i < a.args.size(); ++i) {
        if (!sameExpr(*a.args[i], *b.args[i])) return false;
    }
    return true;
}

bool isAggregate(const Expr& e) {
    return e.kind == ExprKind::Call && isAggregateName(e.text);
}

const Expr* findAggregate(const Expr& e) {
    if (isAggregate(e)) return &e;
    for (const ExprPtr& a : e.args) {
        if (const Expr* found = findAggregate(*a)) return found;
    }
    return nullptr;
}

class Parser {
  public:
    explicit Parser(QStringView text) : text_(text), tokens_(tokenize(text)) {}

    Statement statement() {
        Statement s;
        if (peek().isKeyword(u"select")) {
            s.select = select();
        } else if (peek().isKeyword(u"delete")) {
            s.isDelete = true;
            s.deletion = deletion();
        } else {
            fail(peek(), u"语句应以 SELECT 或 DELETE 开始"_s);
        }
        if (peek().isSymbol(u";")) advance();
        if (peek().kind != TokenKind::End) fail(peek(), u"语句在此处应当结束"_s);
        return s;
    }

  private:
    [[noreturn]] void fail(const Token& t, const QString& message) const {
        const QString token = t.kind == TokenKind::End ? QString() : t.raw;
        throw SyntaxError(characterPosition(text_, t.position), token, message);
    }
    [[noreturn]] void fail(const Expr& e, const QString& message) const {
        throw SyntaxError(characterPosition(text_, e.position), e.token, message);
    }

    const Token& peek(int ahead = 0) const {
        const size_t i = std::min(index_ + size_t(ahead), tokens_.size() - 1);
        return tokens_[i];
    }
    const Token& advance() {
        const Token& t = tokens_[index_];
        if (index_ + 1 < tokens_.size()) ++index_;
        return t;
    }
    void expectKeyword(QStringView k) {
        if (!peek().isKeyword(k)) fail(peek(), u"此处应为 "_s + k.toString().toUpper());
        advance();
    }
    void expectSymbol(QStringView s) {
        if (!peek().isSymbol(s)) fail(peek(), u"此处应为 "_s + s.toString());
        advance();
    }
    bool acceptKeyword(QStringView k) {
        if (!peek().isKeyword(k)) return false;
        advance();
        return true;
    }

    bool isName(const Token& t) const {
        return t.kind == TokenKind::Bracketed || (t.kind == TokenKind::Word && !isReserved(t));
    }
    QString name(const QString& what) {
        if (!isName(peek())) fail(peek(), u"此处应为"_s + what);
        return advance().value;
    }

    // ---- statements

    SelectStatement select() {
        SelectStatement s;
        expectKeyword(u"select");
        if (acceptKeyword(u"distinct")) s.distinct = true;
        do {
            s.items.push_back(selectItem());
        } while (peek().isSymbol(u",") && (advance(), true));
        expectKeyword(u"from");
        s.from = source();
        if (acceptKeyword(u"where")) s.where = condition(u"WHERE"_s);
        if (acceptKeyword(u"group")) {
            expectKeyword(u"by");
            do {
                s.groupBy.push_back(condition(u"GROUP BY"_s));
            } while (peek().isSymbol(u",") && (advance(), true));
        }
        if (acceptKeyword(u"having")) s.having = expression();
        if (acceptKeyword(u"order")) {
            expectKeyword(u"by");
            do {
                OrderKey key;
                key.expr = expression();
                if (acceptKeyword(u"desc")) {
                    key.descending = true;
                } else {
                    acceptKeyword(u"asc");
                }
                s.orderBy.push_back(std::move(key));
            } while (peek().isSymbol(u",") && (advance(), true));
        }
        checkAggregates(s);
        return s;
    }

    SelectItem selectItem() {
        SelectItem item;
        item.position = peek().position;
        if (peek().isSymbol(u"*")) {
            advance();
            item.star = true;
            return item;
        }
        if (isName(peek()) && (peek(1).isSymbol(u".") || peek(1).isSymbol(u"!")) && peek(2).isSymbol(u"*")) {
            item.star = true;
            item.starQualifier = advance().value;
            advance();
            advance();
            return item;
        }
        item.expr = expression();
        if (acceptKeyword(u"as")) item.alias = name(u"别名"_s);
        return item;
    }

    DeleteStatement deletion() {
        DeleteStatement d;
        expectKeyword(u"delete");
        if (peek().isSymbol(u"*")) {
            advance();
        } else if (isName(peek()) && (peek(1).isSymbol(u".") || peek(1).isSymbol(u"!")) &&
                   peek(2).isSymbol(u"*")) {
            advance();  // delete t.* from t
            advance();
            advance();
        }
        expectKeyword(u"from");
        d.table = tableRef();
        if (acceptKeyword(u"where")) d.where = condition(u"WHERE"_s);
        return d;
    }

    // ---- FROM

    std::unique_ptr<Source> source() {
        std::unique_ptr<Source> left = sourcePrimary();
        while (true) {
            JoinKind kind;
            if (peek().isKeyword(u"inner")) {
                kind = JoinKind::Inner;
            } else if (peek().isKeyword(u"left")) {
                kind = JoinKind::Left;
            } else if (peek().isSymbol(u",")) {
                fail(peek(), u"多个表请用 INNER JOIN 连接"_s);
            } else {
                break;
            }
            if (++joins_ > maxJoins) fail(peek(), u"连接的表过多"_s);
            advance();
            if (kind == JoinKind::Left) acceptKeyword(u"outer");
            expectKeyword(u"join");
            auto join = std::make_unique<Source>();
            join->isJoin = true;
            join->joinKind = kind;
            join->left = std::move(left);
            join->right = sourcePrimary();
            expectKeyword(u"on");
            join->on = condition(u"ON"_s);
            left = std::move(join);
        }
        return left;
    }

    std::unique_ptr<Source> sourcePrimary() {
        const Nesting nesting(*this, peek());
        if (peek().isSymbol(u"(")) {
            advance();
            std::unique_ptr<Source> inner = source();
            expectSymbol(u")");
            return inner;
        }
        auto s = std::make_unique<Source>();
        s->table = tableRef();
        return s;
    }

    TableRef tableRef() {
        TableRef t;
        t.position = peek().position;
        t.name = name(u"表名"_s);
        if (acceptKeyword(u"as")) {
            t.alias = name(u"表的别名"_s);
        } else if (isName(peek())) {
            t.alias = advance().value;
        }
        return t;
    }

    // ---- expressions

    // An expression of a clause where aggregates are not allowed.
    ExprPtr condition(const QString& clause) {
        ExprPtr e = expression();
        if (const Expr* agg = findAggregate(*e)) fail(*agg, clause + u" 子句中不能使用聚合函数"_s);
        return e;
    }

    // Counts the levels of parentheses (and of FROM sources) open while parsing.
    class Nesting {
      public:
        Nesting(Parser& p, const Token& at) : p_(p) {
            if (++p_.nesting_ > maxNesting) p_.fail(at, u"嵌套层次过多"_s);
        }
        ~Nesting() { --p_.nesting_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

      private:
        Parser& p_;
    };

    ExprPtr expression() {
        const Nesting nesting(*this, peek());
        return orExpr();
    }

    // Gives a node its depth from its children's; refuses trees deeper than the limit.
    ExprPtr finish(ExprPtr e) const {
        int below = 0;
        for (const ExprPtr& a : e->args) below = std::max(below, a->depth);
        e->depth = below + 1;
        if (e->depth > maxExpressionDepth) fail(*e, u"表达式过于复杂"_s);
        return e;
    }

    ExprPtr makeBinary(BinaryOp op, ExprPtr left, ExprPtr right) {
        auto e = std::make_unique<Expr>();
        e->kind = ExprKind::Binary;
        e->op = op;
        e->position = left->position;
        e->token = left->token;
        e->args.push_back(std::move(left));
        e->args.push_back(std::move(right));
        return finish(std::move(e));
    }

    ExprPtr orExpr() {
        ExprPtr e = andExpr();
        while (acceptKeyword(u"or")) e = makeBinary(BinaryOp::Or, std::move(e), andExpr());
        return e;
    }

    ExprPtr andExpr() {
        ExprPtr e = notExpr();
        while (acceptKeyword(u"and")) e = makeBinary(BinaryOp::And, std::move(e), notExpr());
        return e;
    }

    ExprPtr notExpr() {
        const Nesting nesting(*this, peek());
        if (peek().isKeyword(u"not")) {
            auto e = startNode(ExprKind::Not);
            advance();
            e->args.push_back(notExpr());
            return finish(std::move(e));
        }
        return comparison();
    }

    ExprPtr comparison() {
        ExprPtr e = concat();
        while (true) {
            const Token& t = peek();
            BinaryOp op;
            if (t.isSymbol(u"=")) {
                op = BinaryOp::Equal;
            } else if (t.isSymbol(u"<>")) {
                op = BinaryOp::NotEqual;
            } else if (t.isSymbol(u"<")) {
                op = BinaryOp::Less;
            } else if (t.isSymbol(u">")) {
                op = BinaryOp::Greater;
            } else if (t.isSymbol(u"<=")) {
                op = BinaryOp::LessEqual;
            } else if (t.isSymbol(u">=")) {
                op = BinaryOp::GreaterEqual;
            } else if (t.isKeyword(u"is")) {
                advance();
                auto n = std::make_unique<Expr>();
                n->kind = ExprKind::IsNull;
                n->position = e->position;
                n->token = e->token;
                n->negated = acceptKeyword(u"not");
                expectKeyword(u"null");
                n->args.push_back(std::move(e));
                e = finish(std::move(n));
                continue;
            } else if (t.isKeyword(u"like") || t.isKeyword(u"between") || t.isKeyword(u"in") ||
                       (t.isKeyword(u"not") && (peek(1).isKeyword(u"like") || peek(1).isKeyword(u"between") ||
                                                peek(1).isKeyword(u"in")))) {
                fail(t, u"不支持此运算"_s);
            } else {
                break;
            }
            advance();
            e = makeBinary(op, std::move(e), concat());
        }
        return e;
    }

    ExprPtr concat() {
        ExprPtr e = additive();
        while (peek().isSymbol(u"&")) {
            advance();
            e = makeBinary(BinaryOp::Concat, std::move(e), additive());
        }
        return e;
    }

    ExprPtr additive() {
        ExprPtr e = multiplicative();
        while (peek().isSymbol(u"+") || peek().isSymbol(u"-")) {
            const BinaryOp op = advance().value == u"+"_s ? BinaryOp::Add : BinaryOp::Subtract;
            e = makeBinary(op, std::move(e), multiplicative());
        }
        return e;
    }

    ExprPtr multiplicative() {
        ExprPtr e = unary();
        while (peek().isSymbol(u"*") || peek().isSymbol(u"/")) {
            const BinaryOp op = advance().value == u"*"_s ? BinaryOp::Multiply : BinaryOp::Divide;
            e = makeBinary(op, std::move(e), unary());
        }
        return e;
    }

    ExprPtr unary() {
        const Nesting nesting(*this, peek());
        if (peek().isSymbol(u"+")) {
            advance();
            return unary();
        }
        if (peek().isSymbol(u"-")) {
            auto e = startNode(ExprKind::Negate);
            advance();
            e->args.push_back(unary());
            return finish(std::move(e));
        }
        return primary();
    }

    ExprPtr startNode(ExprKind kind) const {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->position = peek().position;
        e->token = peek().raw;
        return e;
    }

    ExprPtr primary() {
        const Token& t = peek();
        switch (t.kind) {
            case TokenKind::Number: {
                auto e = startNode(ExprKind::Number);
                e->text = advance().value;
                return e;
            }
            case TokenKind::String: {
                auto e = startNode(ExprKind::Text);
                e->text = advance().value;
                return e;
            }
            case TokenKind::Symbol:
                if (t.isSymbol(u"(")) {
                    advance();
                    ExprPtr inner = expression();
                    expectSymbol(u")");
                    return inner;
                }
                fail(t, u"此处应为表达式"_s);
            case TokenKind::End:
                fail(t, u"语句不完整"_s);
            case TokenKind::Word:
                if (peek(1).isSymbol(u"(")) return call();
                if (t.isKeyword(u"null")) {
                    auto e = startNode(ExprKind::Null);
                    advance();
                    return e;
                }
                [[fallthrough]];
            case TokenKind::Bracketed:
                return column();
        }
        fail(t, u"此处应为表达式"_s);
    }

    ExprPtr column() {
        if (!isName(peek())) fail(peek(), u"此处应为名称"_s);
        auto e = startNode(ExprKind::Column);
        e->name = advance().value;
        if (peek().isSymbol(u".") || peek().isSymbol(u"!")) {
            advance();
            if (!isName(peek())) fail(peek(), u"此处应为字段名"_s);
            e->qualifier = e->name;
            e->name = advance().value;
        }
        return e;
    }

    ExprPtr call() {
        const Token& nameToken = peek();
        const FunctionInfo* f = findFunction(nameToken.value);
        if (!f) fail(nameToken, u"未知的函数"_s);
        auto e = startNode(ExprKind::Call);
        e->text = advance().value.toLower();
        expectSymbol(u"(");
        if (e->text == u"count"_s && peek().isSymbol(u"*")) {
            auto star = startNode(ExprKind::Star);
            advance();
            e->args.push_back(std::move(star));
        } else if (!peek().isSymbol(u")")) {
            e->args.push_back(expression());
            while (peek().isSymbol(u",")) {
                advance();
                e->args.push_back(expression());
            }
        }
        if (int(e->args.size()) != f->arguments)
            fail(peek(), u"函数 "_s + nameToken.raw + u" 的参数个数不对"_s);
        expectSymbol(u")");
        if (isAggregateName(e->text)) {
            if (const Expr* inner = findAggregate(*e->args[0])) fail(*inner, u"聚合函数不能嵌套"_s);
        }
        return finish(std::move(e));
    }

    // ---- aggregate queries: every column outside an aggregate must be one of the groups

    void checkAggregates(const SelectStatement& s) const {
        bool aggregated = !s.groupBy.empty() || s.having;
        for (const SelectItem& item : s.items) {
            if (item.expr && findAggregate(*item.expr)) aggregated = true;
        }
        for (const OrderKey& key : s.orderBy) {
            if (findAggregate(*key.expr)) aggregated = true;
        }
        if (!aggregated) return;
        for (const SelectItem& item : s.items) {
            if (item.star) {
                throw SyntaxError(characterPosition(text_, item.position), u"*"_s, u"聚合查询中不能使用 *"_s);
            }
            checkGrouped(*item.expr, s.groupBy);
        }
        if (s.having) checkGrouped(*s.having, s.groupBy);
        for (const OrderKey& key : s.orderBy) checkGrouped(*key.expr, s.groupBy);
    }

    void checkGrouped(const Expr& e, const std::vector<ExprPtr>& groups) const {
        for (const ExprPtr& g : groups) {
            if (sameExpr(e, *g)) return;
        }
        if (isAggregate(e)) return;
        if (e.kind == ExprKind::Column) fail(e, u"字段不是聚合函数或分组的一部分"_s);
        for (const ExprPtr& a : e.args) checkGrouped(*a, groups);
    }

    QStringView text_;
    std::vector<Token> tokens_;
    size_t index_ = 0;
    int nesting_ = 0;
    int joins_ = 0;
};

}  // namespace

Statement parse(QStringView text) {
    return Parser(text).statement();
}

}  // namespace slp::jet
